# tamvek-years: tamvek run for a range of years, as a careful operator would.
# It starts the tamvek installed beside it and needs none of tamvek's code.
file(GLOB tamvek_years_sources CONFIGURE_DEPENDS src/years/*.cpp)
if(tamvek_years_sources)
  # tamvek_core takes every source below src/ but a few; this program is not
  # part of it (its entry point would stand in for others').
  get_target_property(tamvek_core_sources tamvek_core SOURCES)
  list(FILTER tamvek_core_sources EXCLUDE REGEX "/src/years/")
  set_property(TARGET tamvek_core PROPERTY SOURCES ${tamvek_core_sources})

  add_executable(tamvek-years ${tamvek_years_sources})
  target_include_directories(tamvek-years PRIVATE src)
  target_link_libraries(tamvek-years PRIVATE Threads::Threads)
  set_target_properties(tamvek-years PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  # It runs the tamvek beside it: building one builds both.
  add_dependencies(tamvek-years tamvek)
endif()
