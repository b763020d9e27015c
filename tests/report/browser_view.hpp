#pragma once

// A page opened from disk in Debian's headless Chromium, as a user opens it.

#include <cstdio>
#include <stdexcept>
#include <string>

#include "support/png_image.hpp"
#include "support/scratch.hpp"

namespace tamvek::testing {

inline constexpr const char* browser = "/usr/bin/chromium-headless-shell";

inline std::string quoted(const std::string& text) { return "'" + text + "'"; }

// What the browser made of a page: its document after the script ran, and a screenshot.
struct BrowserView {
  std::string dom;
  PngImage picture;
};

inline BrowserView open_in_browser(const std::string& page, const std::string& fragment, bool screenshot = true,
                                   const std::string& window = "1100,800") {
  ScratchDir profile;
  const std::string picture = profile.file("screenshot.png");
  const std::string command = std::string(browser) +
      " --no-sandbox --disable-gpu --no-first-run --disable-background-networking --disable-component-update"
      " --disable-sync --hide-scrollbars --window-size=" + window + " --virtual-time-budget=10000 --user-data-dir=" +
      quoted(profile.file("profile")) + " --dump-dom" + (screenshot ? " --screenshot=" + quoted(picture) : "") +
      " " + quoted("file://" + page + fragment) + " 2>/dev/null";
  BrowserView view;
  FILE* output = popen(command.c_str(), "r");
  if (output == nullptr) throw std::runtime_error("cannot start " + command);
  char buffer[65536];
  for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, output)) > 0;) view.dom.append(buffer, n);
  pclose(output);
  if (screenshot) view.picture = read_png(picture);
  return view;
}

// The value of an attribute of the first element whose start tag begins with `tag`.
inline std::string attribute(const std::string& dom, const std::string& tag, const std::string& name) {
  const std::size_t start = dom.find(tag);
  if (start == std::string::npos) return "(no " + tag + ")";
  const std::string element = dom.substr(start, dom.find('>', start) - start);
  const std::size_t at = element.find(" " + name + "=\"");
  if (at == std::string::npos) return "(no " + name + ")";
  const std::size_t from = at + name.size() + 3;
  return element.substr(from, element.find('"', from) - from);
}

}  // namespace tamvek::testing
