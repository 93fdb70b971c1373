# Helpers shared by every subsystem's CMakeLists.txt.

set(VESK_WARNINGS -Wall -Wextra -Werror)

# vesk_subsystem(<name> [ONLY <types>...] [EXCEPT <types>...] [DEPS <targets>...])
# Builds the static library vesk_<name> from the .cpp/.h pairs in the current
# source folder: all of them, only the named types, or all but the named types.
function(vesk_subsystem name)
  cmake_parse_arguments(ARG "" "" "ONLY;EXCEPT;DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(ARG_ONLY OR ARG_EXCEPT)
    set(kept)
    foreach(source IN LISTS sources)
      get_filename_component(type ${source} NAME_WE)
      if(ARG_ONLY AND NOT type IN_LIST ARG_ONLY)
        continue()
      endif()
      if(type IN_LIST ARG_EXCEPT)
        continue()
      endif()
      list(APPEND kept ${source})
    endforeach()
    set(sources ${kept})
  endif()
  add_library(vesk_${name} STATIC ${sources})
  target_include_directories(vesk_${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_compile_options(vesk_${name} PRIVATE ${VESK_WARNINGS})
  target_link_libraries(vesk_${name} PUBLIC ${ARG_DEPS})
endfunction()

# vesk_tests(<name> [DEPS <targets>...])
# Builds <name>_tests from every .cpp in tests/<name> and registers each test with CTest.
function(vesk_tests name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(${name}_tests ${sources})
  target_compile_options(${name}_tests PRIVATE ${VESK_WARNINGS})
  target_include_directories(${name}_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name}_tests PRIVATE vesk_test_main ${ARG_DEPS})
  gtest_discover_tests(${name}_tests
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
