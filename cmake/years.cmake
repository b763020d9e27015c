# tamvek-years: tamvek run for a range of years, as a careful operator would.
# It starts the tamvek installed beside it and takes nothing of tamvek's but
# the year and the names of its files (tamvek_names).
file(GLOB tamvek_years_sources CONFIGURE_DEPENDS src/years/*.cpp)
if(tamvek_years_sources)
  # All but the entry point in a library of its own, which the tests use too.
  list(FILTER tamvek_years_sources EXCLUDE REGEX "/src/years/main\\.cpp$")
  add_library(tamvek_years STATIC ${tamvek_years_sources})
  target_include_directories(tamvek_years PUBLIC src)
  target_link_libraries(tamvek_years PUBLIC Threads::Threads tamvek_compile_options tamvek_names)
  add_executable(tamvek-years src/years/main.cpp)
  target_link_libraries(tamvek-years PRIVATE tamvek_years)
  set_target_properties(tamvek-years PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  # It runs the tamvek beside it: building one builds both.
  add_dependencies(tamvek-years tamvek)
endif()
