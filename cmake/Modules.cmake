# The program's modules: the parts only some runs need (the window, the web
# transport), built as shared modules that the program loads when a run needs
# them, so that the console and the commands never load Qt or libcurl. A
# module links the static rooms it uses, compiled as position-independent
# code; the program exports its own symbols, so the module's calls into those
# rooms reach the program's copies and the services it installed.
#
# In the build tree the modules are made in one folder, and each program
# finds them through a `modules` link beside it (pallqa_link_modules), as it
# finds its resources; installed, they are in lib/pallqa-tuner under the
# prefix, which the program finds relative to its bin folder.
set(PALLQA_MODULES_BUILD_DIR "${CMAKE_BINARY_DIR}/modules")
set(PALLQA_MODULES_INSTALL_DIR "lib/pallqa-tuner")
file(RELATIVE_PATH PALLQA_MODULES_FROM_BINDIR "${CMAKE_INSTALL_FULL_BINDIR}"
     "${CMAKE_INSTALL_PREFIX}/${PALLQA_MODULES_INSTALL_DIR}")

# pallqa_program_module(TARGET FILE SOURCES... LIBS libs...)
# The module FILE.so, built from SOURCES (its entry point) and LIBS.
function(pallqa_program_module target file)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_library(${target} MODULE ${ARG_UNPARSED_ARGUMENTS})
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME "${file}"
                        LIBRARY_OUTPUT_DIRECTORY "${PALLQA_MODULES_BUILD_DIR}")
  target_link_libraries(${target} PRIVATE ${ARG_LIBS})
  install(TARGETS ${target} LIBRARY DESTINATION "${PALLQA_MODULES_INSTALL_DIR}")
  set_property(GLOBAL APPEND PROPERTY PALLQA_PROGRAM_MODULES ${target})
endfunction()

# pallqa_link_modules(TARGET): the program TARGET, in the current build
# folder, finds the modules through a `modules` link beside it, and is built
# with them.
function(pallqa_link_modules target)
  file(CREATE_LINK "${PALLQA_MODULES_BUILD_DIR}" "${CMAKE_CURRENT_BINARY_DIR}/modules" SYMBOLIC COPY_ON_ERROR)
  get_property(modules GLOBAL PROPERTY PALLQA_PROGRAM_MODULES)
  add_dependencies(${target} ${modules})
  set_target_properties(${target} PROPERTIES ENABLE_EXPORTS ON)
endfunction()
