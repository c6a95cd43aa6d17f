#pragma once
// A text field of fixed capacity, as the records and their files keep it:
// whatever is stored is cut to at most N bytes (the texts are code-page
// bytes, so a byte is a character).
#include <cstddef>
#include <string>
#include <string_view>

namespace pakro {

template <std::size_t N>
class ShortString {
 public:
  static constexpr std::size_t Capacity = N;

  ShortString() = default;
  ShortString(std::string_view text) : text_(text.substr(0, N)) {}  // NOLINT: cuts like an assignment
  ShortString(const char* text) : ShortString(std::string_view(text)) {}
  ShortString(const std::string& text) : ShortString(std::string_view(text)) {}

  ShortString& operator=(std::string_view text) {
    text_.assign(text.substr(0, N));
    return *this;
  }
  ShortString& operator=(const char* text) { return *this = std::string_view(text); }
  ShortString& operator=(const std::string& text) { return *this = std::string_view(text); }

  const std::string& str() const { return text_; }
  operator const std::string&() const { return text_; }
  operator std::string_view() const { return text_; }
  std::size_t size() const { return text_.size(); }
  bool empty() const { return text_.empty(); }

  friend bool operator==(const ShortString& a, std::string_view b) { return a.text_ == b; }

 private:
  std::string text_;
};

}  // namespace pakro
