// The one allocator of shared strings in a process; built as a shared library
// so that a host and every library it loads use the same code and count.
#include "platform/shared_string.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

std::atomic<long> g_live{0};

platform_string_header* headerOf(platform_string s) {
  return reinterpret_cast<platform_string_header*>(const_cast<char*>(s)) - 1;
}

}  // namespace

extern "C" {

platform_string platform_string_new(const char* text, size_t length) noexcept {
  if (length == 0 || length > std::numeric_limits<uint32_t>::max() ||
      length > std::numeric_limits<size_t>::max() - sizeof(platform_string_header) - 1)
    return nullptr;
  auto* block = static_cast<platform_string_header*>(
      std::malloc(sizeof(platform_string_header) + length + 1));
  if (!block) return nullptr;
  block->refs = 1;
  block->length = static_cast<uint32_t>(length);
  char* chars = reinterpret_cast<char*>(block + 1);
  std::memcpy(chars, text, length);
  chars[length] = '\0';
  g_live.fetch_add(1, std::memory_order_relaxed);
  return chars;
}

platform_string platform_string_add_ref(platform_string s) noexcept {
  if (s && __atomic_load_n(&headerOf(s)->refs, __ATOMIC_RELAXED) >= 0)
    __atomic_fetch_add(&headerOf(s)->refs, 1, __ATOMIC_RELAXED);
  return s;
}

void platform_string_release(platform_string s) noexcept {
  if (!s) return;
  platform_string_header* h = headerOf(s);
  if (__atomic_load_n(&h->refs, __ATOMIC_RELAXED) < 0) return;
  if (__atomic_sub_fetch(&h->refs, 1, __ATOMIC_ACQ_REL) == 0) {
    std::free(h);
    g_live.fetch_sub(1, std::memory_order_relaxed);
  }
}

int32_t platform_string_refs(platform_string s) noexcept {
  return s ? __atomic_load_n(&headerOf(s)->refs, __ATOMIC_RELAXED) : 0;
}

size_t platform_string_length(platform_string s) noexcept { return s ? headerOf(s)->length : 0; }

long platform_strings_live(void) noexcept { return g_live.load(std::memory_order_relaxed); }

}  // extern "C"
