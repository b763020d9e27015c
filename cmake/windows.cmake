# What only the Windows build needs.
if(NOT WIN32)
  return()
endif()

# The C and C++ runtimes and the thread library linked into each program, so
# that it runs on a Windows machine with nothing else installed.
if(MINGW)
  add_link_options(-static)
endif()

# Debian's GoogleTest libraries are Linux ones; a cross build compiles its own
# from the sources Debian's googletest package installs, without the project's
# warning options, which are not GoogleTest's.
set(tamvek_gtest_sources /usr/src/googletest/googletest)
if(CMAKE_CROSSCOMPILING AND NOT TAMVEK_FUZZ AND NOT TARGET GTest::gtest
   AND EXISTS ${tamvek_gtest_sources}/CMakeLists.txt)
  add_subdirectory(${tamvek_gtest_sources} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set_target_properties(gtest gtest_main PROPERTIES COMPILE_OPTIONS "")
endif()

# The cross-built suite runs under Wine, whose start takes far longer than most
# tests: one CTest test a test suite (found in the sources) instead of one a test.
function(tamvek_add_windows_test_groups target)
  file(GLOB_RECURSE sources ${CMAKE_SOURCE_DIR}/tests/*_test.cpp)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${sources})
  set(suites)
  foreach(source ${sources})
    file(STRINGS ${source} declarations REGEX "^TEST(_F)?\\([A-Za-z0-9_]+,")
    foreach(declaration ${declarations})
      string(REGEX REPLACE "^TEST(_F)?\\(([A-Za-z0-9_]+),.*" "\\2" suite "${declaration}")
      list(APPEND suites ${suite})
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES suites)
  foreach(suite ${suites})
    add_test(NAME ${suite} COMMAND ${target} --gtest_filter=${suite}.*)
    set_tests_properties(${suite} PROPERTIES ENVIRONMENT WINEDEBUG=-all)
  endforeach()
endfunction()
