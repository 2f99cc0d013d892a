# pallqa_link_resources(): a `resources` link to the source tree's resources in
# the current build folder, so the programs built there find them beside
# themselves, as an installed program finds its copy under its prefix. No
# program knows the source tree's path.
function(pallqa_link_resources)
  file(CREATE_LINK "${PALLQA_RESOURCES_DIR}" "${CMAKE_CURRENT_BINARY_DIR}/resources" SYMBOLIC COPY_ON_ERROR)
endfunction()
