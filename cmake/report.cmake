# tamvek-report: a finished year's results as a map page and GIS grids, and a
# series of years as a ledger and a page.

# Puts the file src/report/<shared> into the page text held in the variable
# `text_name`, in place of the one line `marker` that links to it, between
# `open` and `close`: the style and the script both pages share stay one file
# each, the template opens in a browser as it stands, and the page written
# still fetches nothing.
function(tamvek_report_splice page text_name marker shared open close)
  set(piece_file ${CMAKE_CURRENT_SOURCE_DIR}/src/report/${shared})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${piece_file})
  file(READ ${piece_file} piece)
  string(TOLOWER "${piece}" lower_piece)
  string(FIND "${lower_piece}" "${close}" close_at)
  if(NOT close_at EQUAL -1)
    message(FATAL_ERROR "${piece_file} holds ${close}, which would end the element it is built into")
  endif()
  set(text "${${text_name}}")
  string(REPLACE "${marker}" "" without "${text}")
  string(LENGTH "${text}" text_length)
  string(LENGTH "${without}" without_length)
  string(LENGTH "${marker}" marker_length)
  math(EXPR marker_count "(${text_length} - ${without_length}) / ${marker_length}")
  if(NOT marker_count EQUAL 1)
    message(FATAL_ERROR "${page} must hold ${marker} exactly once, where ${shared} "
                        "is built in (it holds it ${marker_count} times)")
  endif()
  string(REPLACE "${marker}" "${open}\n${piece}${close}>" text "${text}")
  set(${text_name} "${text}" PARENT_SCOPE)
endfunction()

# Builds the page template src/report/<file>, with the style and the script
# both pages share put in, into the program as one raw string literal,
# std::string_view tamvek::report::<variable>, so that the program needs
# nothing from the repository at run time. Configuring again whenever the
# template or a shared file changes keeps the built-in copy current. Appends
# the source made to the list named by `sources`.
function(tamvek_report_template file variable sources)
  set(page ${CMAKE_CURRENT_SOURCE_DIR}/src/report/${file})
  set(source ${CMAKE_CURRENT_BINARY_DIR}/generated/report_${variable}.cpp)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${page})
  file(READ ${page} text)
  tamvek_report_splice(${page} text "<link rel=\"stylesheet\" href=\"report_style.css\">"
                       report_style.css "<style>" "</style")
  tamvek_report_splice(${page} text "<script src=\"report_script.js\"></script>"
                       report_script.js "<script>" "</script")
  set(end ")tamvek_page")
  string(FIND "${text}" "${end}\"" end_at)
  if(NOT end_at EQUAL -1)
    message(FATAL_ERROR "${page} holds ${end}\", which would end the string literal it is built into")
  endif()
  string(REGEX MATCHALL "/\\*@TAMVEK_REPORT_DATA@\\*/null" markers "${text}")
  list(LENGTH markers marker_count)
  if(NOT marker_count EQUAL 1)
    message(FATAL_ERROR "${page}, with the shared style and script put in, must hold "
                        "/*@TAMVEK_REPORT_DATA@*/null exactly once, where the report puts its data "
                        "(it holds it ${marker_count} times)")
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
