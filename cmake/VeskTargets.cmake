# Helpers shared by every subsystem's CMakeLists.txt.

set(VESK_WARNINGS -Wall -Wextra -Werror -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual)

# vesk_subsystem(<name> DEPS <targets>...)
# Builds the static library vesk_<name> from the sources of the current folder
# (a folder under src/). DEPS names the vesk_ libraries whose headers the
# folder includes, and the Qt and system libraries it uses. The library's
# include path holds the headers of its own folder and of those libraries only,
# so an include of any other layer does not compile.
function(vesk_subsystem name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(vesk_${name} STATIC ${sources})
  file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR})
  set_property(GLOBAL PROPERTY VESK_FOLDER_vesk_${name} ${folder})
  vesk_layer(${folder} vesk_${name} ${ARG_DEPS})
  target_compile_options(vesk_${name} PRIVATE ${VESK_WARNINGS})
  target_link_libraries(vesk_${name} PUBLIC ${ARG_DEPS})
  # A library that reaches Qt Gui, itself or through another library, gets the
  # precompiled header with Qt Gui's and Widgets' headers.
  set(gui FALSE)
  foreach(dep IN LISTS ARG_DEPS)
    get_property(dep_gui GLOBAL PROPERTY VESK_GUI_${dep})
    if(dep MATCHES "^Qt6::(Gui|Widgets|Svg|Multimedia)$" OR dep_gui)
      set(gui TRUE)
    endif()
  endforeach()
  set_property(GLOBAL PROPERTY VESK_GUI_vesk_${name} ${gui})
  if(gui)
    vesk_use_precompiled_headers(vesk_${name} gui)
  else()
    vesk_use_precompiled_headers(vesk_${name} core)
  endif()
endfunction()

# vesk_layer(<folder> <target> <deps>...)
# Records which layers the source folder builds on, for the layering check, and
# gives the target an include folder in the build tree with links to the
# headers of its own folder and of those layers (each folder's own headers,
# not its sub-folders).
function(vesk_layer folder target)
  set(layers)
  foreach(dep IN LISTS ARGN)
    if(dep MATCHES "^vesk_")
      get_property(dep_folder GLOBAL PROPERTY VESK_FOLDER_${dep})
      if(NOT dep_folder)
        message(FATAL_ERROR "${folder}: ${dep} must be defined before the folders that use it")
      endif()
      list(APPEND layers ${dep_folder})
    endif()
  endforeach()
  set_property(GLOBAL APPEND PROPERTY VESK_LAYER_FOLDERS ${folder})
  set_property(GLOBAL PROPERTY VESK_LAYER_USES_${folder} ${layers})

  set(include_folder ${CMAKE_BINARY_DIR}/include/${target})
  file(REMOVE_RECURSE ${include_folder})
  foreach(layer IN ITEMS ${folder} ${layers})
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${layer}/*.h)
    file(MAKE_DIRECTORY ${include_folder}/${layer})
    foreach(header IN LISTS headers)
      get_filename_component(header_name ${header} NAME)
      file(CREATE_LINK ${header} ${include_folder}/${layer}/${header_name} SYMBOLIC)
    endforeach()
  endforeach()
  target_include_directories(${target} PUBLIC ${include_folder})
endfunction()

# vesk_layering_check()
# Writes the layers in their order with what each builds on, and registers the
# CTest check that every include of every folder under src/ stays within them.
function(vesk_layering_check)
  get_property(folders GLOBAL PROPERTY VESK_LAYER_FOLDERS)
  set(manifest ${CMAKE_BINARY_DIR}/VeskLayers.cmake)
  set(text "# Written by CMake: the layers in order, lowest first, and what each builds on.\n")
  string(APPEND text "set(VESK_LAYER_FOLDERS ${folders})\n")
  foreach(folder IN LISTS folders)
    get_property(layers GLOBAL PROPERTY VESK_LAYER_USES_${folder})
    string(APPEND text "set(VESK_LAYER_USES_${folder} ${layers})\n")
  endforeach()
  file(WRITE ${manifest} "${text}")
  add_test(NAME LayeringCheck
           COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR}/src -DMANIFEST=${manifest}
                   -P ${CMAKE_SOURCE_DIR}/cmake/CheckLayers.cmake)
endfunction()

# vesk_tests(<name> [DEPS <targets>...])
# Builds <name>_tests from every .cpp in the current tests folder and registers
# each test with CTest, and the whole executable once more as
# WholeRun.<name>_tests: one process for all its tests catches a test that
# leaves something behind for the next (a window deleted later, a timer, a
# static), which a process per test hides. Tests may include any layer.
# PROPERTIES are further test properties for every test of the executable.
function(vesk_tests name)
  cmake_parse_arguments(ARG "" "" "DEPS;PROPERTIES" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(${name}_tests ${sources})
  target_compile_options(${name}_tests PRIVATE ${VESK_WARNINGS})
  target_include_directories(${name}_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name}_tests PRIVATE vesk_test_main ${ARG_DEPS})
  vesk_use_precompiled_headers(${name}_tests tests)
  gtest_discover_tests(${name}_tests
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" ${ARG_PROPERTIES})
  # Started first (the highest cost), so that the longest whole runs do not trail the suite.
  add_test(NAME WholeRun.${name}_tests COMMAND ${name}_tests)
  set_tests_properties(WholeRun.${name}_tests PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" COST 1000
                        ${ARG_PROPERTIES})
endfunction()
