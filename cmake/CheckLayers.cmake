# The layering check, run by CTest:
#   cmake -DSOURCE_DIR=<src> -DMANIFEST=<VeskLayers.cmake> -P CheckLayers.cmake
# For every folder under src/ that builds a library or a program:
# - the layers it builds on sit lower in the layer order;
# - each of its includes of another folder names one of those layers;
# - each of those layers is included somewhere in the folder (no unused dependency).
# Sub-folders are layers of their own: platform/simulated is not part of platform.

cmake_minimum_required(VERSION 3.25)
include(${MANIFEST})

set(problems)
foreach(folder IN LISTS VESK_LAYER_FOLDERS)
  list(FIND VESK_LAYER_FOLDERS ${folder} position)
  set(uses ${VESK_LAYER_USES_${folder}})
  foreach(layer IN LISTS uses)
    list(FIND VESK_LAYER_FOLDERS ${layer} layer_position)
    if(layer_position GREATER_EQUAL position)
      list(APPEND problems "${folder} builds on ${layer}, which is not a lower layer")
    endif()
  endforeach()

  set(included)
  file(GLOB files ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(file IN LISTS files)
    file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" header "${line}")
      get_filename_component(header_folder "${header}" DIRECTORY)
      if(header_folder STREQUAL "" OR header_folder STREQUAL folder)
        continue()
      endif()
      file(RELATIVE_PATH name ${SOURCE_DIR} ${file})
      if(header_folder IN_LIST uses)
        list(APPEND included ${header_folder})
      else()
        list(APPEND problems "src/${name} includes \"${header}\", but ${folder} does not build on ${header_folder}")
      endif()
    endforeach()
  endforeach()

  foreach(layer IN LISTS uses)
    if(NOT layer IN_LIST included)
      list(APPEND problems "${folder} builds on ${layer} but includes nothing of it")
    endif()
  endforeach()
endforeach()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "Layering problems:\n  ${text}")
endif()
list(LENGTH VESK_LAYER_FOLDERS count)
message(STATUS "Layering: ${count} folders, every include within its layers")
