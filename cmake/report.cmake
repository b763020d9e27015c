# tamvek-report: a finished year's results as a map page and GIS grids, and a
# series of years as a ledger and a page.

# Builds the page template src/report/<file> into the program as one raw string
# literal, std::string_view tamvek::report::<variable>, so that the program
# needs nothing from the repository at run time. Configuring again whenever the
# template changes keeps the built-in copy current. Appends the source made to
# the list named by `sources`.
function(tamvek_report_template file variable sources)
  set(page ${CMAKE_CURRENT_SOURCE_DIR}/src/report/${file})
  set(source ${CMAKE_CURRENT_BINARY_DIR}/generated/report_${variable}.cpp)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${page})
  file(READ ${page} text)
  set(end ")tamvek_page")
  string(FIND "${text}" "${end}\"" end_at)
  if(NOT end_at EQUAL -1)
    message(FATAL_ERROR "${page} holds ${end}\", which would end the string literal it is built into")
  endif()
  string(REGEX MATCHALL "/\\*@TAMVEK_REPORT_DATA@\\*/null" markers "${text}")
  list(LENGTH markers marker_count)
  if(NOT marker_count EQUAL 1)
    message(FATAL_ERROR "${page} must hold /*@TAMVEK_REPORT_DATA@*/null exactly once, "
                        "where the report puts its data (it holds it ${marker_count} times)")
  endif()
  file(WRITE ${source}.new
       "// Made from src/report/${file} by cmake/report.cmake.\n"
       "#include \"report/page_template.hpp\"\n\n"
       "namespace tamvek::report {\nnamespace {\n"
       "constexpr char page_text[] = R\"tamvek_page(${text}${end}\";\n"
       "}  // namespace\n\n"
       "const std::string_view ${variable}(page_text, sizeof page_text - 1);\n\n"
       "}  // namespace tamvek::report\n")
  file(COPY_FILE ${source}.new ${source} ONLY_IF_DIFFERENT)
  file(REMOVE ${source}.new)
  # The page is far longer than the shortest literal every compiler must take;
  # GCC and clang take it.
  set_source_files_properties(${source} PROPERTIES COMPILE_OPTIONS
                              "$<$<CXX_COMPILER_ID:GNU,Clang>:-Wno-overlength-strings>")
  set(${sources} ${${sources}} ${source} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE tamvek_report_sources CONFIGURE_DEPENDS src/report/*.cpp)
if(tamvek_report_sources)
  tamvek_report_template(page.html page_template tamvek_report_sources)
  tamvek_report_template(series.html series_page_template tamvek_report_sources)

  add_executable(tamvek-report ${tamvek_report_sources})
  target_link_libraries(tamvek-report PRIVATE tamvek_results)
  target_compile_definitions(tamvek-report PRIVATE TAMVEK_VERSION="${PROJECT_VERSION}")
  set_target_properties(tamvek-report PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endif()
