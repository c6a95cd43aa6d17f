#pragma once
// Hands out 32-bit handles from 1 upwards, skipping a reserved one and never
// giving one out twice; 0 once the space is used up. Not thread-safe: the
// owner keeps it under its own lock.
#include <cstdint>

namespace platform::winmsg {

class HandleCounter {
 public:
  explicit HandleCounter(std::uint32_t reserved) : reserved_(reserved) {}
  std::uint32_t next() {
    if (next_ == reserved_) ++next_;
    if (next_ > UINT32_MAX) return 0;
    return static_cast<std::uint32_t>(next_++);
  }

 private:
  std::uint64_t reserved_;
  std::uint64_t next_ = 1;
};

}  // namespace platform::winmsg
