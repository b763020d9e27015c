# Installs the build into a fresh prefix and runs the installed program on the
# installed example data. Its exit status, both console streams and every
# output file must be those of the build's own program on the repository's
# example data.
#
#   cmake -DBUILD_DIR=B -DSOURCE_DIR=S -DPROGRAM=B/tamvek -DSCRATCH=DIR -P installed_example_test.cmake
set(year 2010)
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH})
set(prefix ${SCRATCH}/prefix)
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install ${BUILD_DIR} --prefix ${prefix} failed: ${status}")
endif()

set(docdir ${prefix}/share/doc/tamvek)
if(NOT EXISTS ${docdir}/README.md)
  message(FATAL_ERROR "no README in ${docdir}")
endif()

file(WRITE ${SCRATCH}/answer "go\n")

# Runs `program` on a copy of the yearly files of `examples` in a working
# directory of its own; the status and console streams go to run_<name>_*.
function(run_example name program examples)
  set(work ${SCRATCH}/${name})
  file(MAKE_DIRECTORY ${work}/out)
  file(COPY ${examples}/work/ DESTINATION ${work})
  execute_process(COMMAND ${CMAKE_COMMAND} -E env TAMVEK_ROOT=${examples}/root ${program} ${year}
                  WORKING_DIRECTORY ${work} INPUT_FILE ${SCRATCH}/answer
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
  set(run_${name}_status "${status}" PARENT_SCOPE)
  set(run_${name}_out "${out}" PARENT_SCOPE)
  set(run_${name}_err "${err}" PARENT_SCOPE)
endfunction()

run_example(installed ${prefix}/bin/tamvek ${docdir}/examples)
run_example(built ${PROGRAM} ${SOURCE_DIR}/examples)

if(NOT run_built_status EQUAL 0 OR NOT EXISTS ${SCRATCH}/built/out/check${year}.out)
  message(FATAL_ERROR "the build's program did not finish the example: ${run_built_status}\n"
          "${run_built_err}")
endif()
foreach(stream status out err)
  if(NOT run_installed_${stream} STREQUAL run_built_${stream})
    message(FATAL_ERROR "the installed program's ${stream} differs:\n${run_installed_${stream}}\n"
            "the build's:\n${run_built_${stream}}")
  endif()
endforeach()

file(GLOB built_files RELATIVE ${SCRATCH}/built/out ${SCRATCH}/built/out/*)
foreach(name ${built_files})
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files
                  ${SCRATCH}/installed/out/${name} ${SCRATCH}/built/out/${name}
                  RESULT_VARIABLE differ)
  if(differ)
    message(FATAL_ERROR "out/${name} differs between the installed and the built program")
  endif()
endforeach()
file(REMOVE_RECURSE ${SCRATCH})
