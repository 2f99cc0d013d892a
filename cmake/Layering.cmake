# pallqa_include_root(TARGET PUBLIC|PRIVATE|INTERFACE PATH...)
# The layering, enforced by the compiler: no target has the source tree on its
# include path. Each PATH (a folder of the tree, or one header) gets a root of
# its own in the build tree holding links to its headers under their tree path
# (platform/core/Log.h -> <source>/platform/core/Log.h), and a folder's root
# holds only its own headers, none of its sub-folders'. A target includes the
# headers of the roots it puts on its path and of the targets it links, and no
# others: an include of a folder it may not use fails to compile.
function(pallqa_include_root target scope)
  foreach(path ${ARGN})
    string(REPLACE "/" "+" key "${path}")
    set(root "${CMAKE_BINARY_DIR}/include-roots/${key}")
    get_property(made GLOBAL PROPERTY PALLQA_INCLUDE_ROOT_${key})
    if(NOT made)
      set_property(GLOBAL PROPERTY PALLQA_INCLUDE_ROOT_${key} TRUE)
      file(REMOVE_RECURSE "${root}")
      if(IS_DIRECTORY "${CMAKE_SOURCE_DIR}/${path}")
        file(GLOB headers CONFIGURE_DEPENDS RELATIVE "${CMAKE_SOURCE_DIR}" "${CMAKE_SOURCE_DIR}/${path}/*.h")
      elseif(EXISTS "${CMAKE_SOURCE_DIR}/${path}")
        set(headers "${path}")
      else()
        message(FATAL_ERROR "pallqa_include_root(${target}): no ${path} in the source tree")
      endif()
      foreach(header ${headers})
        get_filename_component(folder "${root}/${header}" DIRECTORY)
        file(MAKE_DIRECTORY "${folder}")
        file(CREATE_LINK "${CMAKE_SOURCE_DIR}/${header}" "${root}/${header}" SYMBOLIC)
      endforeach()
      # A folder without headers still has its (empty) root.
      file(MAKE_DIRECTORY "${root}")
    endif()
    target_include_directories(${target} ${scope} "${root}")
  endforeach()
endfunction()

# pallqa_own_include_root(TARGET [PUBLIC|PRIVATE])
# The target's own folder (the current source folder) as its include root;
# PUBLIC unless said otherwise.
function(pallqa_own_include_root target)
  set(scope PUBLIC)
  if(ARGC GREATER 1)
    set(scope ${ARGV1})
  endif()
  file(RELATIVE_PATH folder "${CMAKE_SOURCE_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}")
  pallqa_include_root(${target} ${scope} "${folder}")
endfunction()

# Libraries whose headers sit on the compiler's own path, where any file could
# include them: each gets a fence, a folder in the build tree holding a header
# of the same name that stops the compile. pallqa_fence_targets() puts the
# fence on the path of every target that does not link the library itself, so
# that KISS FFT stays behind pitch/, the desktop libraries in the platform's
# desktop folders, and the parsers in the rooms that link them.
set(PALLQA_FENCES
  "kissfft::kissfft-float|kissfft/kiss_fft.h,kissfft/kiss_fftr.h"
  "PkgConfig::SNDFILE|sndfile.h,sndfile.hh"
  "PkgConfig::SOXR|soxr.h"
  "PkgConfig::PORTAUDIO|portaudio.h"
  "PkgConfig::CURL|curl/curl.h"
  "PkgConfig::CAIRO|cairo.h,cairo-svg.h"
  "CLI11::CLI11|CLI/CLI.hpp,CLI/App.hpp"
  "nlohmann_json::nlohmann_json|nlohmann/json.hpp")

# pallqa_fence_targets(): the fences on every target of the build, after all
# of them are defined. A target whose PALLQA_UNFENCED property is set (the
# layering tests' probes, which borrow another target's path) is left alone.
function(pallqa_fence_targets)
  set(folders "${CMAKE_SOURCE_DIR}")
  set(targets "")
  while(folders)
    list(POP_FRONT folders folder)
    get_property(here DIRECTORY "${folder}" PROPERTY BUILDSYSTEM_TARGETS)
    get_property(below DIRECTORY "${folder}" PROPERTY SUBDIRECTORIES)
    list(APPEND targets ${here})
    list(APPEND folders ${below})
  endwhile()
  foreach(fence ${PALLQA_FENCES})
    string(REPLACE "|" ";" fence "${fence}")
    list(GET fence 0 library)
    list(GET fence 1 headers)
    string(REPLACE "," ";" headers "${headers}")
    string(MAKE_C_IDENTIFIER "${library}" key)
    set(root "${CMAKE_BINARY_DIR}/fences/${key}")
    foreach(header ${headers})
      file(CONFIGURE OUTPUT "${root}/${header}"
           CONTENT "#error \"${header} belongs to ${library}, which this target does not link\"\n")
    endforeach()
    foreach(target ${targets})
      get_target_property(type ${target} TYPE)
      get_target_property(unfenced ${target} PALLQA_UNFENCED)
      if(type STREQUAL "INTERFACE_LIBRARY" OR type STREQUAL "UTILITY" OR unfenced)
        continue()
      endif()
      get_target_property(links ${target} LINK_LIBRARIES)
      if(NOT library IN_LIST links)
        target_include_directories(${target} BEFORE PRIVATE "${root}")
      endif()
    endforeach()
  endforeach()
endfunction()
