# The program's modules: the parts only some runs need (the window, the web
# transport, the pictures), built as shared modules that the program loads
# when a run needs them, so that the console and the commands never load Qt,
# libcurl or cairo. A module holds only its own room's code (its entry point
# among it) and the outside libraries that room links; what it calls in the
# platform's other rooms is the program's own, which the program carries whole
# and exports. So there is one copy of every service, and of every object a
# checked build watches.
#
# In the build tree the modules are made in one folder, and each program
# finds them through a `modules` link beside it (pallqa_link_modules), as it
# finds its resources; installed, they are in lib/pallqa-tuner under the
# prefix, which the program finds relative to its bin folder.
set(PALLQA_MODULES_BUILD_DIR "${CMAKE_BINARY_DIR}/modules")
set(PALLQA_MODULES_INSTALL_DIR "lib/pallqa-tuner")
file(RELATIVE_PATH PALLQA_MODULES_FROM_BINDIR "${CMAKE_INSTALL_FULL_BINDIR}"
     "${CMAKE_INSTALL_PREFIX}/${PALLQA_MODULES_INSTALL_DIR}")

# pallqa_program_module(ROOM FILE)
# The module FILE.so made of the static room ROOM's objects, which are built
# position-independent for it.
function(pallqa_program_module room file)
  set(target ${room}_module)
  set_target_properties(${room} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  add_library(${target} MODULE $<TARGET_OBJECTS:${room}>)
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME "${file}"
                        LIBRARY_OUTPUT_DIRECTORY "${PALLQA_MODULES_BUILD_DIR}")
  get_target_property(libraries ${room} LINK_LIBRARIES)
  foreach(library ${libraries})
    if(library MATCHES "^platform_")
      set_property(GLOBAL APPEND PROPERTY PALLQA_MODULE_ROOMS ${library})
    else()
      target_link_libraries(${target} PRIVATE ${library})
    endif()
  endforeach()
  install(TARGETS ${target} LIBRARY DESTINATION "${PALLQA_MODULES_INSTALL_DIR}")
  set_property(GLOBAL APPEND PROPERTY PALLQA_PROGRAM_MODULES ${target})
endfunction()

# pallqa_link_modules(TARGET): the program TARGET, in the current build
# folder, finds the modules through a `modules` link beside it, is built with
# them, and carries whole, and exports, the rooms they call.
function(pallqa_link_modules target)
  file(CREATE_LINK "${PALLQA_MODULES_BUILD_DIR}" "${CMAKE_CURRENT_BINARY_DIR}/modules" SYMBOLIC COPY_ON_ERROR)
  get_property(modules GLOBAL PROPERTY PALLQA_PROGRAM_MODULES)
  get_property(rooms GLOBAL PROPERTY PALLQA_MODULE_ROOMS)
  list(REMOVE_DUPLICATES rooms)
  set(archives "")
  foreach(room ${rooms})
    string(APPEND archives ",$<TARGET_FILE:${room}>")
  endforeach()
  # Before the program's own libraries on the command line, so that every
  # member of these rooms is taken in once, whether the program calls it or not.
  target_link_options(${target} PRIVATE "LINKER:--whole-archive${archives},--no-whole-archive")
  add_dependencies(${target} ${modules} ${rooms})
  set_target_properties(${target} PROPERTIES ENABLE_EXPORTS ON)
endfunction()
