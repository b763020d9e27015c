# tamvek-modflow: the recharge package of a groundwater model from years of
# tamvek's monthly arrays.
file(GLOB tamvek_modflow_sources CONFIGURE_DEPENDS src/modflow/*.cpp)
if(tamvek_modflow_sources)
  # The program's own code is no part of tamvek's library, which globs all of src/.
  get_target_property(tamvek_core_sources tamvek_core SOURCES)
  list(FILTER tamvek_core_sources EXCLUDE REGEX "/src/modflow/.*\\.cpp$")
  set_property(TARGET tamvek_core PROPERTY SOURCES ${tamvek_core_sources})

  add_executable(tamvek-modflow ${tamvek_modflow_sources})
  target_link_libraries(tamvek-modflow PRIVATE tamvek_results)
  target_compile_definitions(tamvek-modflow PRIVATE TAMVEK_VERSION="${PROJECT_VERSION}")
  set_target_properties(tamvek-modflow PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endif()
