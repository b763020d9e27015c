#include "report/page_template.hpp"

#include <stdexcept>

namespace tamvek::report {

std::string page_leaf(std::string_view years) {
  return "report" + std::string(years) + ".html";
}

std::string filled_page(std::string_view page, std::string_view data) {
  const std::size_t at = page.find(page_data_marker);
  if (at == std::string_view::npos ||
      page.find(page_data_marker, at + page_data_marker.size()) != std::string_view::npos)
    throw std::logic_error("the page template must hold its data marker exactly once");
  std::string filled;
  filled.reserve(page.size() + data.size());
  filled.append(page.substr(0, at)).append(data).append(page.substr(at + page_data_marker.size()));
  return filled;
}

}  // namespace tamvek::report
