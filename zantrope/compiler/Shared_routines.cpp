#include "compiler/Shared_routines.h"

#include <cmath>
#include <limits>

#include "compiler/Classes_base.h"
#include "compiler/Classes_parser_objects.h"
#include "compiler/Classes_types.h"
#include "compiler/Globals.h"
#include "compiler/Reserved_words.h"

namespace zantrope {

namespace {

std::vector<std::int32_t> result_slots(kResultSlotCount, kEmptyResultSlot);
std::int32_t result_slot_counter = -1;

char lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool same_text_any_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

bool is_unknown(std::int32_t code) { return code == kLogicU || code == kLogicX; }

template <typename Op>
std::int32_t combine(std::int32_t a, std::int32_t b, Op op) {
  if (is_unknown(a)) return b;
  if (is_unknown(b)) return a;
  return op(a, b);
}

}  // namespace

void reset_result_slots() {
  result_slots.assign(kResultSlotCount, kEmptyResultSlot);
  result_slot_counter = -1;
}

std::int32_t next_result_slot() {
  ++result_slot_counter;
  if (std::size_t(result_slot_counter) >= result_slots.size())
    result_slots.resize(std::size_t(result_slot_counter) + 1, kEmptyResultSlot);
  return result_slot_counter;
}

std::int32_t get_result_slot(std::int32_t n) {
  if (n < 0 || std::size_t(n) >= result_slots.size()) return kEmptyResultSlot;
  return result_slots[std::size_t(n)];
}

void clear_result_slot(std::int32_t n) {
  if (n >= 0 && std::size_t(n) < result_slots.size()) result_slots[std::size_t(n)] = kEmptyResultSlot;
}

bool set_result_slot(std::int32_t value, std::int32_t n) {
  if (n < 0) return false;
  if (std::size_t(n) >= result_slots.size()) result_slots.resize(std::size_t(n) + 1, kEmptyResultSlot);
  result_slots[std::size_t(n)] = value;
  return true;
}

std::int32_t std_logic_not(std::int32_t code) {
  if (is_unknown(code)) return code;
  return code == 0 ? 1 : 0;
}

std::int32_t std_logic_and(std::int32_t a, std::int32_t b) {
  return combine(a, b, [](std::int32_t x, std::int32_t y) { return x & y; });
}
std::int32_t std_logic_or(std::int32_t a, std::int32_t b) {
  return combine(a, b, [](std::int32_t x, std::int32_t y) { return x | y; });
}
std::int32_t std_logic_xor(std::int32_t a, std::int32_t b) {
  return combine(a, b, [](std::int32_t x, std::int32_t y) { return x ^ y; });
}

std::int32_t std_logic_from_char(char c) {
  switch (c) {
    case '0': return 0;
    case '1': return 1;
    case 'X': return kLogicX;
    default: return kLogicU;
  }
}

char std_logic_to_char(std::int32_t code) {
  switch (code) {
    case 0: return '0';
    case 1: return '1';
    case kLogicX: return 'X';
    default: return 'U';
  }
}

bool is_bit_char(char c) { return c == '0' || c == '1'; }

std::int32_t bit_value(char c) {
  if (is_bit_char(c)) return c - '0';
  return std::int32_t(static_cast<unsigned char>(c));
}

std::int32_t bits_to_int(std::string_view bits) {
  std::uint32_t value = 0;
  for (char c : bits) value = value * 2u + std::uint32_t(bit_value(c));
  return std::int32_t(value);
}

void int_to_text(std::string& out, std::int32_t value) { out = std::to_string(value); }

void bool_text(std::string& out, bool value) { out = value ? "true" : "false"; }

std::string bool_text(std::uint8_t value) { return value != 0 ? "true" : "false"; }

bool parse_bool_text(std::string_view text, std::int32_t& value) {
  value = 0;
  if (text == "true") {
    value = 1;
    return true;
  }
  return text == "false";
}

std::string line_info_text(std::int32_t line) {
  return line == kNoLineInfo ? std::string("NO_LINE_INFO") : std::to_string(line);
}

bool line_changed(std::int32_t a, std::int32_t b) {
  return !(a == kNoLineInfo || b == kNoLineInfo || a == b);
}

bool operator_text(std::int32_t token, std::string& out) {
  const std::string_view word = keyword_of_token(token);
  if (!word.empty()) {
    out = word;
    return true;
  }
  switch (token) {
    case 354: out = "-"; return true;
    case 355: out = "+"; return true;
    case 360: out = "*"; return true;
    default: out.clear(); return false;
  }
}

void make_relative_path(std::string& path, std::string_view program_folder) {
  if (program_folder.empty() || program_folder.size() > path.size()) return;
  for (std::size_t at = 0; at + program_folder.size() <= path.size(); ++at) {
    if (!same_text_any_case(std::string_view(path).substr(at, program_folder.size()), program_folder))
      continue;
    std::size_t rest = at + program_folder.size();
    if (rest < path.size() && (path[rest] == '\\' || path[rest] == '/')) ++rest;
    path.erase(0, rest);
    return;
  }
}

std::string strip_file_extension(std::string_view path) {
  const auto dot = path.rfind('.');
  return std::string(dot == std::string_view::npos ? path : path.substr(0, dot));
}

void split_at_dot(std::string_view text, std::string& left, std::string& right) {
  const auto dot = text.find('.');
  if (dot == std::string_view::npos) {
    left.clear();
    right = text;
    return;
  }
  left = text.substr(0, dot);
  right = text.substr(dot + 1);
}

bool types_compatible(std::string_view a, std::string_view b, bool also_numeric) {
  const auto pair = [&](std::string_view x, std::string_view y) {
    return (same_text_any_case(a, x) && same_text_any_case(b, y)) ||
           (same_text_any_case(a, y) && same_text_any_case(b, x));
  };
  return pair("std_ulogic", "std_logic") || (also_numeric && pair("natural", "integer"));
}

std::int32_t min_int(std::int32_t a, std::int32_t b) { return a < b ? a : b; }
std::int32_t max_int(std::int32_t a, std::int32_t b) { return a > b ? a : b; }

std::int32_t type_kind_size(std::int32_t kind) {
  return kind < 0 || kind > 255 ? 0 : std::int32_t(data_size_of_class(std::uint8_t(kind)));
}

std::vector<std::uint8_t> alloc_for_type_kind(std::int32_t kind) {
  return std::vector<std::uint8_t>(std::size_t(type_kind_size(kind)), 0);
}

std::int32_t class_pair_order(std::uint8_t a, std::uint8_t b) {
  if (a == b) return 1;
  constexpr std::uint8_t pairs[2][2] = {{class_ids::alloc_type_enumeration, class_ids::alloc_type_char},
                                        {class_ids::alloc_type_array, class_ids::alloc_type_character_literal}};
  for (const auto& p : pairs) {
    if (a == p[0] && b == p[1]) return 1;
    if (a == p[1] && b == p[0]) return 2;
  }
  return -1;
}

void append_list(t_base_list& list, const t_base_list* more) {
  if (more == nullptr) return;
  for (t_base_item* item : more->items()) list.add(item);
}

void add_if_not_null(t_base_list& list, t_base_item* item) {
  if (item != nullptr) list.add(item);
}

t_library_unit* library_unit_of(t_base_item* item) {
  if (item == nullptr) return nullptr;
  if (item->class_id() == class_ids::design_unit) return static_cast<t_design_unit*>(item)->library_unit();
  const auto id = item->class_id();
  if (id == class_ids::entity_decl || id == class_ids::architecture_body || id == class_ids::package_decl)
    return static_cast<t_library_unit*>(item);
  return nullptr;
}

namespace {

template <typename Visit>
void for_each_design_file(Visit visit) {
  if (!design_file_list) return;
  for (t_base_item* item : design_file_list->items())
    if (item != nullptr && item->class_id() == class_ids::design_file)
      visit(*static_cast<t_design_file*>(item));
}

}  // namespace

t_library_unit* find_library_unit(std::string_view name, bool entity, bool first) {
  if (!design_file_list) return nullptr;
  const auto& files = design_file_list->items();
  for (auto f = files.rbegin(); f != files.rend(); ++f) {
    if (*f == nullptr || (*f)->class_id() != class_ids::design_file) continue;
    const auto& units = static_cast<t_design_file*>(*f)->units().items();
    for (auto u = units.rbegin(); u != units.rend(); ++u) {
      t_library_unit* unit = library_unit_of(*u);
      if (unit == nullptr) continue;
      if (entity && unit->class_id() == class_ids::entity_decl) {
        const auto& unit_name = static_cast<t_library_unit_entity_decl*>(unit)->name();
        if (first || name.empty() || unit_name == name) return unit;
      } else if (!entity && unit->class_id() == class_ids::architecture_body) {
        const auto& unit_name = static_cast<t_library_unit_architecture_body*>(unit)->name();
        if (first || unit_name == name) return unit;
      }
    }
  }
  return nullptr;
}

std::vector<std::string> architecture_names() {
  std::vector<std::string> lines;
  for_each_design_file([&](const t_design_file& file) {
    for (t_base_item* item : file.units().items()) {
      t_library_unit* unit = library_unit_of(item);
      if (unit != nullptr && unit->class_id() == class_ids::architecture_body)
        lines.push_back(file.library_name + "." +
                        static_cast<t_library_unit_architecture_body*>(unit)->name());
    }
  });
  return lines;
}

long double time_to_seconds(std::int64_t femtoseconds) { return (long double)femtoseconds * 1e-15L; }

std::int64_t seconds_to_time(double seconds) {
  // 1e15 less 1273/16384: the kernel's factor sits just below 10^15, so a
  // time given in seconds never lands past the step it names.
  constexpr long double kFactor = 1e15L - 1273.0L / 16384.0L;
  if (std::isnan(seconds)) return 0;
  const long double product = (long double)seconds * kFactor;
  constexpr long double kLimit = 9223372036854775808.0L;  // 2^63
  if (product >= kLimit) return std::numeric_limits<std::int64_t>::max();
  if (product <= -kLimit) return std::numeric_limits<std::int64_t>::min();
  return std::int64_t(product);
}

}  // namespace zantrope
