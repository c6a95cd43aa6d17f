#pragma once
/* Reference-counted text strings that a host and the libraries it loads hand
   to each other. Every module allocates and frees them through the one
   platform_strings library, so a string made on one side may be released on
   the other, and the count of live strings is kept in one place.

   A string is a pointer to its first character; the characters end with a
   zero. The empty string is the null pointer. In front of the characters sits
   a platform_string_header with the reference count and the length. A block
   whose count is -1 is a constant: taking or dropping a reference to it does
   nothing and it is never freed. */
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#define PLATFORM_STRINGS_NOEXCEPT noexcept
#else
#define PLATFORM_STRINGS_NOEXCEPT
#endif

#define PLATFORM_STRINGS_API __attribute__((visibility("default")))

typedef const char* platform_string;

typedef struct platform_string_header {
  int32_t refs;    /* -1 for a constant */
  uint32_t length; /* characters, without the closing zero */
} platform_string_header;

/* A new string with one reference holding a copy of length characters of
   text; null (the empty string) when length is 0 or memory runs out. */
PLATFORM_STRINGS_API platform_string platform_string_new(const char* text,
                                                         size_t length) PLATFORM_STRINGS_NOEXCEPT;
/* Takes one more reference; gives s back. Null and constants are left alone. */
PLATFORM_STRINGS_API platform_string platform_string_add_ref(platform_string s) PLATFORM_STRINGS_NOEXCEPT;
/* Drops one reference and frees the string with the last. Null and constants
   are left alone. */
PLATFORM_STRINGS_API void platform_string_release(platform_string s) PLATFORM_STRINGS_NOEXCEPT;
/* References held (0 for null, -1 for a constant). */
PLATFORM_STRINGS_API int32_t platform_string_refs(platform_string s) PLATFORM_STRINGS_NOEXCEPT;
/* Characters in s (0 for null). */
PLATFORM_STRINGS_API size_t platform_string_length(platform_string s) PLATFORM_STRINGS_NOEXCEPT;
/* Strings allocated and not yet freed, in the whole process. */
PLATFORM_STRINGS_API long platform_strings_live(void) PLATFORM_STRINGS_NOEXCEPT;

#ifdef __cplusplus
}  // extern "C"

#include <string_view>
#include <utility>

namespace platform {

// A constant string laid out like an allocated one, for texts a module hands
// out without allocating: `static constinit ConstantString kText{"text"};`
template <size_t N>
struct ConstantString {
  platform_string_header header;
  char text[N];
  consteval ConstantString(const char (&s)[N]) : header{-1, N - 1}, text{} {
    for (size_t i = 0; i < N; ++i) text[i] = s[i];
  }
  platform_string get() const { return text; }
};

// Owns one reference to a shared string.
class SharedString {
 public:
  SharedString() = default;
  explicit SharedString(std::string_view text)
      : s_(platform_string_new(text.data(), text.size())) {}
  // Takes over a reference the caller already holds (a function result).
  static SharedString adopt(platform_string s) { return SharedString(s, Adopt{}); }
  // Takes a reference of its own to a string somebody else holds.
  static SharedString share(platform_string s) {
    return SharedString(platform_string_add_ref(s), Adopt{});
  }

  SharedString(const SharedString& o) : s_(platform_string_add_ref(o.s_)) {}
  SharedString(SharedString&& o) noexcept : s_(std::exchange(o.s_, nullptr)) {}
  SharedString& operator=(SharedString o) noexcept {
    std::swap(s_, o.s_);
    return *this;
  }
  ~SharedString() { platform_string_release(s_); }

  platform_string get() const { return s_; }
  // Gives up the reference to the caller.
  platform_string release() { return std::exchange(s_, nullptr); }
  std::string_view view() const {
    return s_ ? std::string_view(s_, platform_string_length(s_)) : std::string_view();
  }

 private:
  struct Adopt {};
  SharedString(platform_string s, Adopt) : s_(s) {}
  platform_string s_ = nullptr;
};

}  // namespace platform
#endif
