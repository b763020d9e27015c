# The labels of the slow and the external tests, by test name, in one place:
#   ctest -L slow                      the slow ones only
#   ctest -LE 'slow|browser|wine'      everything else, the quick check
# Every external test is slow as well; `python` marks those that need Python
# (flopy), `browser` those that need the headless browser.
# Each rule is label=pattern, a regular expression matched against a test's
# name (GoogleTest's Suite.Test; in the Windows build, which runs a suite as
# one test, the suite's name). A test may take several labels.
set(tamvek_test_labels
  "slow=^ListReadTest(\\.(ShortIntegersOfEveryShape|RecordsOfEveryLength|PlainValuesReadAlikeWhateverTheSeparators|ArbitraryBytes))?$"
  "slow=^NumberFormatListReal(\\.MatchesExactReferenceOnRandomBits)?$"
  "slow=^Scale(\\.|$)"
  "slow=^ReportPage(\\.|$)"
  "browser=^ReportPage(\\.|$)"
  "slow=^SeriesPage(\\.|$)"
  "browser=^SeriesPage(\\.|$)"
  "slow=^Modflow\\.FlopyReadsConservedPackages$"
  "python=^Modflow\\.FlopyReadsConservedPackages$"
  "python=^Modflow\\.RegridOverlapsMatchShapely$"
  "slow=^Modflow\\.FlopyReadsAMovedModel$"
  "python=^Modflow\\.FlopyReadsAMovedModel$"
  "slow=^Modflow\\.FlopyReadsRegriddedPackages$"
  "python=^Modflow\\.FlopyReadsRegriddedPackages$"
)

# The labels a test name takes by the rules, into `out`.
function(tamvek_labels_of name out)
  set(labels)
  foreach(rule IN LISTS tamvek_test_labels)
    string(REGEX MATCH "^([a-z]+)=(.*)$" matched "${rule}")
    set(label ${CMAKE_MATCH_1})
    if(name MATCHES "${CMAKE_MATCH_2}")
      list(APPEND labels ${label})
    endif()
  endforeach()
  set(${out} ${labels} PARENT_SCOPE)
endfunction()

# Labels the tests added so far in this directory, and has CTest label those
# that GoogleTest lists when the tests run (their names are not known before).
# Every test of the Windows build runs under Wine.
function(tamvek_label_tests)
  get_property(tests DIRECTORY PROPERTY TESTS)
  foreach(test IN LISTS tests)
    tamvek_labels_of(${test} labels)
    if(WIN32 AND CMAKE_CROSSCOMPILING)
      list(APPEND labels wine)
    endif()
    if(labels)
      set_tests_properties(${test} PROPERTIES LABELS "${labels}")
    endif()
  endforeach()
  set(script ${CMAKE_BINARY_DIR}/tamvek_test_labels.cmake)
  file(WRITE ${script} "# Made by cmake/test_labels.cmake: labels for the tests GoogleTest listed.
set(tamvek_test_labels [==[${tamvek_test_labels}]==])
foreach(test IN LISTS tamvek_tests_TESTS)
  set(labels)
  foreach(rule IN LISTS tamvek_test_labels)
    string(REGEX MATCH \"^([a-z]+)=(.*)$\" matched \"\${rule}\")
    set(label \${CMAKE_MATCH_1})
    if(test MATCHES \"\${CMAKE_MATCH_2}\")
      list(APPEND labels \${label})
    endif()
  endforeach()
  if(labels)
    set_tests_properties(\${test} PROPERTIES LABELS \"\${labels}\")
  endif()
endforeach()
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
endfunction()
