#pragma once

#include <string>
#include <string_view>

namespace tamvek::report {

// Appends a JSON string of `text`, safe inside a <script> element: "<" and
// every byte outside printable ASCII are \u escapes (a byte above 127 stands
// for the character of its own number), so the page never depends on the
// bytes of a year or a file name.
void append_json_string(std::string& out, std::string_view text);


}  // namespace tamvek::report
