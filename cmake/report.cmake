# tamvek-report: a finished year's results as a map page and GIS grids.
file(GLOB_RECURSE tamvek_report_sources CONFIGURE_DEPENDS src/report/*.cpp)
if(tamvek_report_sources)
  # The page template is built into the program as one raw string literal, so
  # that the program needs nothing from the repository at run time. Configuring
  # again whenever the template changes keeps the built-in copy current.
  set(tamvek_page ${CMAKE_CURRENT_SOURCE_DIR}/src/report/page.html)
  set(tamvek_page_source ${CMAKE_CURRENT_BINARY_DIR}/generated/report_page_template.cpp)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${tamvek_page})
  file(READ ${tamvek_page} tamvek_page_text)
  set(tamvek_page_end ")tamvek_page")
  string(FIND "${tamvek_page_text}" "${tamvek_page_end}\"" tamvek_page_end_at)
  if(NOT tamvek_page_end_at EQUAL -1)
    message(FATAL_ERROR "${tamvek_page} holds ${tamvek_page_end}\", which would end the string "
                        "literal it is built into")
  endif()
  string(REGEX MATCHALL "/\\*@TAMVEK_REPORT_DATA@\\*/null" tamvek_page_markers "${tamvek_page_text}")
  list(LENGTH tamvek_page_markers tamvek_page_marker_count)
  if(NOT tamvek_page_marker_count EQUAL 1)
    message(FATAL_ERROR "${tamvek_page} must hold /*@TAMVEK_REPORT_DATA@*/null exactly once, "
                        "where the report puts its data (it holds it ${tamvek_page_marker_count} times)")
  endif()
  file(WRITE ${tamvek_page_source}.new
       "// Made from src/report/page.html by cmake/report.cmake.\n"
       "#include \"report/page_template.hpp\"\n\n"
       "namespace tamvek::report {\nnamespace {\n"
       "constexpr char page_text[] = R\"tamvek_page(${tamvek_page_text}${tamvek_page_end}\";\n"
       "}  // namespace\n\n"
       "const std::string_view page_template(page_text, sizeof page_text - 1);\n\n"
       "}  // namespace tamvek::report\n")
  file(COPY_FILE ${tamvek_page_source}.new ${tamvek_page_source} ONLY_IF_DIFFERENT)
  file(REMOVE ${tamvek_page_source}.new)
  # The page is far longer than the shortest literal every compiler must take;
  # GCC and clang take it.
  set_source_files_properties(${tamvek_page_source} PROPERTIES COMPILE_OPTIONS
                              "$<$<CXX_COMPILER_ID:GNU,Clang>:-Wno-overlength-strings>")

  add_executable(tamvek-report ${tamvek_report_sources} ${tamvek_page_source})
  target_link_libraries(tamvek-report PRIVATE tamvek_results)
  target_compile_definitions(tamvek-report PRIVATE TAMVEK_VERSION="${PROJECT_VERSION}")
  set_target_properties(tamvek-report PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endif()
