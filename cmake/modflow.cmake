# tamvek-modflow: the recharge package of a groundwater model from years of
# tamvek's monthly arrays.
# Everything but the entry point is the library tamvek_modflow, which the
# tests and the fuzzing target of the model readers link too.
file(GLOB tamvek_modflow_sources CONFIGURE_DEPENDS src/modflow/*.cpp)
list(FILTER tamvek_modflow_sources EXCLUDE REGEX "/src/modflow/main\\.cpp$")
if(tamvek_modflow_sources)
  add_library(tamvek_modflow STATIC ${tamvek_modflow_sources})
  target_link_libraries(tamvek_modflow PUBLIC tamvek_results)
  target_compile_definitions(tamvek_modflow PRIVATE TAMVEK_VERSION="${PROJECT_VERSION}")
  add_executable(tamvek-modflow src/modflow/main.cpp)
  target_link_libraries(tamvek-modflow PRIVATE tamvek_modflow)
  set_target_properties(tamvek-modflow PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endif()

# The packages read back by flopy, the field's reader of MODFLOW input, after
# tamvek has run three generated years (Linux, with a Python that has numpy).
# Called by cmake/tests.cmake once testing is on.
function(tamvek_add_modflow_tests)
  target_link_libraries(tamvek_tests PRIVATE tamvek_modflow)  # the readers' own tests
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
  # --regrid onto refined, shifted, rotated, smaller, DISV and MODFLOW-2005
  # grids, every cell against shapely's overlaps.
  add_test(NAME Modflow.FlopyReadsRegriddedPackages
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/modflow/flopy_test.sh ${CMAKE_BINARY_DIR}
                   ${CMAKE_BINARY_DIR}/modflow-regrid "${archive}" flopy_regrid_test.py shapely)
  set_tests_properties(Modflow.FlopyReadsRegriddedPackages PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 900)
endfunction()

# The overlap table against an independent calculation of every overlap by
# shapely (Linux, with a Python that has it). Called by cmake/tests.cmake.
function(tamvek_add_regrid_tests)
  if(CMAKE_CROSSCOMPILING OR WIN32)
    return()
  endif()
  add_executable(overlap_table_dump tests/modflow/overlap_table_dump.cpp)
  target_link_libraries(overlap_table_dump PRIVATE tamvek_modflow)
  add_dependencies(tamvek_tests overlap_table_dump)
  add_test(NAME Modflow.RegridOverlapsMatchShapely
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/modflow/regrid_shapely_test.sh
                   $<TARGET_FILE:overlap_table_dump>)
  set_tests_properties(Modflow.RegridOverlapsMatchShapely PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)
endfunction()
