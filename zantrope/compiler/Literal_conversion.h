#pragma once
// Values of VHDL abstract and physical literals, converted exactly and
// without regard to the process's locale.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zantrope {

// An abstract literal's value: an integer (no '.') or a real. `error` is
// empty when the text converted; otherwise it says why not and the value
// is 0.
struct t_abstract_value {
  bool is_real = false;
  std::int32_t integer = 0;
  double real = 0.0;
  std::string error;
  bool ok() const { return error.empty(); }
};

// Converts decimal and based literals (base 2 to 16, '#' or ':' as the
// delimiter) with underscores between digits and an optional exponent, as
// in 1_000, 1E9, 16#FF#E1, 2#1.1#e-2, 1.5e3.
t_abstract_value convert_abstract_literal(std::string_view text);

// Femtoseconds of one time unit ("fs" ... "hr", compared after lower
// casing); nothing for a unit that is not a time unit.
std::optional<std::int64_t> time_unit_factor(std::string_view unit);

// A time value in femtoseconds: `number` times the unit's factor, exact for
// integers. `error` is set (and the value 0) when the result is beyond a
// signed 64-bit count; a unit that is not a time unit leaves the number
// unscaled.
struct t_physical_value {
  double scaled = 0.0;
  std::int64_t femtoseconds = 0;
  std::string error;
  bool ok() const { return error.empty(); }
};
t_physical_value convert_physical_integer(std::int64_t number, std::string_view unit);
// A real: when `text` is the decimal literal the number came from, the
// femtoseconds are computed from its digits, so 0.3 ns is exactly 300000 fs.
t_physical_value convert_physical_real(double number, std::string_view unit,
                                       std::string_view text = {});

}  // namespace zantrope
