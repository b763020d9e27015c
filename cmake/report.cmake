# tamvek-report: a finished year's results as a map page and GIS grids.
file(GLOB_RECURSE tamvek_report_sources CONFIGURE_DEPENDS src/report/*.cpp)
if(tamvek_report_sources)
  add_executable(tamvek-report ${tamvek_report_sources})
  target_link_libraries(tamvek-report PRIVATE tamvek_core)
  set_target_properties(tamvek-report PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endif()
