# tamvek-modflow: the recharge package of a groundwater model from years of
# tamvek's monthly arrays.
file(GLOB tamvek_modflow_sources CONFIGURE_DEPENDS src/modflow/*.cpp)
if(tamvek_modflow_sources)
  add_executable(tamvek-modflow ${tamvek_modflow_sources})
  target_link_libraries(tamvek-modflow PRIVATE tamvek_results)
  target_compile_definitions(tamvek-modflow PRIVATE TAMVEK_VERSION="${PROJECT_VERSION}")
  set_target_properties(tamvek-modflow PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endif()

# The packages read back by flopy, the field's reader of MODFLOW input, after
# tamvek has run three generated years (Linux, with a Python that has numpy).
# Called by cmake/tests.cmake once testing is on.
function(tamvek_add_modflow_tests)
  if(CMAKE_CROSSCOMPILING OR WIN32)
    return()
  endif()
  set(TAMVEK_FLOPY_ARCHIVE "" CACHE FILEPATH "flopy's source archive, for tests where flopy is not installed")
  set(archive ${TAMVEK_FLOPY_ARCHIVE})
  if(NOT archive)
    file(GLOB archive ${CMAKE_CURRENT_SOURCE_DIR}/tests/vendor/flopy-*.tar.xz)
  endif()
  add_test(NAME Modflow.FlopyReadsConservedPackages
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/modflow/flopy_test.sh ${CMAKE_BINARY_DIR}
                   ${CMAKE_BINARY_DIR}/modflow-flopy "${archive}")
  set_tests_properties(Modflow.FlopyReadsConservedPackages PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 600)
  # A model folder moved with its copied arrays, and --verify of the arrays named.
  add_test(NAME Modflow.FlopyReadsAMovedModel
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/modflow/flopy_test.sh ${CMAKE_BINARY_DIR}
                   ${CMAKE_BINARY_DIR}/modflow-travel "${archive}" flopy_travel_test.py)
  set_tests_properties(Modflow.FlopyReadsAMovedModel PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 600)
endfunction()
