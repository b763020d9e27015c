#pragma once

#include <string>
#include <string_view>

namespace tamvek::report {

// Appends a JSON string of `text`, safe inside a <script> element: "<" and
// every byte outside printable ASCII are \u escapes (a byte above 127 stands
// for the character of its own number), so the page never depends on the
// bytes of a year or a file name.
void append_json_string(std::string& out, std::string_view text);

// A writer of the page's one JSON object: values in order, commas where they
// belong. A key is followed by exactly one value.
class Json {
 public:
  std::string text;

  void open(char bracket) {
    separate();
    text += bracket;
    first_ = true;
  }
  void close(char bracket) {
    text += bracket;
    first_ = false;
  }
  void key(std::string_view name) {
    separate();
    append_json_string(text, name);
    text += ':';
    first_ = true;
  }
  void string(std::string_view value) {
    separate();
    append_json_string(text, value);
  }
  void number(std::string_view digits) {
    separate();
    text += digits;
  }
  template <class Integer>
  void integer(Integer value) {
    number(std::to_string(value));
  }

 private:
  void separate() {
    if (!first_) text += ',';
    first_ = false;
  }
  bool first_ = true;
};

}  // namespace tamvek::report
