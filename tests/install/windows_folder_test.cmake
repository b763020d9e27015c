# Installs the Windows build into a fresh folder, as the .zip unpacks, and runs
# its run-example.cmd under the emulator: the example year must end with status
# 0, leave all eleven output files and show the check report.
#
#   cmake -DBUILD_DIR=B -DEMULATOR=wine -DSCRATCH=DIR -P windows_folder_test.cmake
set(folder ${SCRATCH}/folder)
file(REMOVE_RECURSE ${SCRATCH})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${folder}
                OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install ${BUILD_DIR} --prefix ${folder} failed: ${status}")
endif()

# The output is read through a pipe: a console stream that is a file already
# written to is one Wine cannot cut off.
execute_process(COMMAND ${EMULATOR} cmd /c run-example.cmd nopause WORKING_DIRECTORY ${folder}
                OUTPUT_VARIABLE shown ERROR_VARIABLE errors
                RESULT_VARIABLE status)
file(GLOB outputs ${folder}/example-run/out/*)
list(LENGTH outputs output_count)
if(NOT status EQUAL 0 OR NOT output_count EQUAL 11 OR NOT EXISTS ${folder}/README.md)
  message(FATAL_ERROR "run-example.cmd: status ${status}, ${output_count} output files\n${shown}${errors}")
endif()
file(READ ${folder}/example-run/out/check2010.out check)
string(FIND "${shown}" "${check}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "run-example.cmd did not show the check report:\n${shown}")
endif()
file(REMOVE_RECURSE ${SCRATCH})
