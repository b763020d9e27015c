#pragma once

#include <string>
#include <string_view>

namespace tamvek::report {

// The page as src/report/page.html holds it, built into the program.
extern const std::string_view page_template;
// The series page as src/report/series.html holds it.
extern const std::string_view series_page_template;

// The text in the template that the page's data replaces: as it stands, the
// page's script sees null and says it is the template.
inline constexpr std::string_view page_data_marker = "/*@TAMVEK_REPORT_DATA@*/null";

// The page's file name without its folder out\, for a year ("2010") or a
// range of years ("2010-2012"): report2010.html.
std::string page_leaf(std::string_view years);

// The template with its one data marker replaced by `data`, a JSON object.
std::string filled_page(std::string_view page, std::string_view data);

}  // namespace tamvek::report
