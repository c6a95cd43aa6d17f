#pragma once
// Small routines that the compiler, the code generator and the simulator all
// call: numbered result slots, the std_logic code arithmetic, bit strings,
// path and name helpers, kernel time conversions and the text forms of
// lines, booleans and operators.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zantrope {

class t_base_item;
class t_base_list;
class t_library_unit;

// ---- Result slots ---------------------------------------------------------
// Generated code names slot n "res in #n". The counter restarts with every
// build, so two builds in one session number their slots alike.
inline constexpr std::int32_t kResultSlotCount = 1000;
inline constexpr std::int32_t kEmptyResultSlot = -1;

// Empties every slot and restarts the counter: the next slot given is 0.
void reset_result_slots();
// The next free slot number (0 after a reset). Past the initial table the
// table grows, so no slot number is ever out of it.
std::int32_t next_result_slot();
// A slot's value; -1 for an empty slot or a number that was never given.
std::int32_t get_result_slot(std::int32_t n);
void clear_result_slot(std::int32_t n);
// Stores a value; false (nothing written) for a negative slot number.
bool set_result_slot(std::int32_t value, std::int32_t n);

// ---- std_logic codes ------------------------------------------------------
// '0' -> 0, '1' -> 1, 'U' -> -1, 'X' -> -2.
inline constexpr std::int32_t kLogicU = -1;
inline constexpr std::int32_t kLogicX = -2;
inline constexpr std::string_view kLogicChars = "01UX";

std::int32_t std_logic_not(std::int32_t code);
// An unknown operand ('U' or 'X') gives the other operand; two known ones
// combine bitwise.
std::int32_t std_logic_and(std::int32_t a, std::int32_t b);
std::int32_t std_logic_or(std::int32_t a, std::int32_t b);
std::int32_t std_logic_xor(std::int32_t a, std::int32_t b);
// Any character outside "01UX" reads as 'U'.
std::int32_t std_logic_from_char(char c);
// 'U' for any code outside the four.
char std_logic_to_char(std::int32_t code);

// ---- Bits -----------------------------------------------------------------
bool is_bit_char(char c);
// '0' -> 0, '1' -> 1, any other character -> its code.
std::int32_t bit_value(char c);
// value := value * 2 + bit_value(c) for each character, first to last; the
// value wraps at 32 bits.
std::int32_t bits_to_int(std::string_view bits);

// ---- Text forms -----------------------------------------------------------
void int_to_text(std::string& out, std::int32_t value);
void bool_text(std::string& out, bool value);
std::string bool_text(std::uint8_t value);
// "true" -> 1, "false" -> 0; the compare is exact. Anything else gives
// false and value 0.
bool parse_bool_text(std::string_view text, std::int32_t& value);
// -3 marks an instruction without line information.
inline constexpr std::int32_t kNoLineInfo = -3;
std::string line_info_text(std::int32_t line);
// False when either line is unknown or both are the same.
bool line_changed(std::int32_t a, std::int32_t b);
// The word or sign of an operator token; false and empty for any other code.
bool operator_text(std::int32_t token, std::string& out);

// ---- Names and paths ------------------------------------------------------
// When the program folder occurs in the path (any case), the path becomes
// the part after it and the separator that follows; otherwise unchanged.
void make_relative_path(std::string& path, std::string_view program_folder);
// The text before the last '.'; the whole text when there is none.
std::string strip_file_extension(std::string_view path);
// Left: the text before the first '.', right: the text after it; without a
// '.' left is empty and right is the whole text.
void split_at_dot(std::string_view text, std::string& left, std::string& right);
// The type-name pairs that pass for one another: std_ulogic and std_logic,
// and with `also_numeric` natural and integer, in either order and any case.
bool types_compatible(std::string_view a, std::string_view b, bool also_numeric);
std::int32_t min_int(std::int32_t a, std::int32_t b);
std::int32_t max_int(std::int32_t a, std::int32_t b);

// ---- Value kinds ----------------------------------------------------------
// Bytes of one value of a descriptor kind: 5 and 13 -> 4, 6 and 7 -> 8,
// 8 -> 2, 9 -> 1, any other -> 0.
std::int32_t type_kind_size(std::int32_t kind);
// A zeroed buffer of that size (empty for a kind without data).
std::vector<std::uint8_t> alloc_for_type_kind(std::int32_t kind);
// For a class pair of a binary operation: 1 when equal or the pair is
// (enumeration, character) or (array, character literal); 2 for those two
// pairs reversed; -1 otherwise.
std::int32_t class_pair_order(std::uint8_t a, std::uint8_t b);

// ---- Lists ----------------------------------------------------------------
// Appends every item of `more` (nothing when null).
void append_list(t_base_list& list, const t_base_list* more);
void add_if_not_null(t_base_list& list, t_base_item* item);

// ---- Design files ---------------------------------------------------------
// The library unit of a design-file item (a design unit, or a unit kept
// directly); null for anything else.
t_library_unit* library_unit_of(t_base_item* item);
// Searches the loaded design files, newest first and each file's units last
// to first, for an architecture body (or with `entity` an entity
// declaration) of that name. With `first`, and for entities also when the
// name is empty, the first unit of the kind is taken whatever its name.
t_library_unit* find_library_unit(std::string_view name, bool entity, bool first);
// "library.name" of every architecture body, in file and unit order.
std::vector<std::string> architecture_names();

// ---- Kernel time ----------------------------------------------------------
// The kernel counts time in signed 64-bit femtoseconds.
long double time_to_seconds(std::int64_t femtoseconds);
// Seconds to femtoseconds, truncated toward zero, through a factor just
// below 1e15 (so 1 us gives 999999999). Values beyond the 64-bit range give
// its limits; NaN gives 0.
std::int64_t seconds_to_time(double seconds);

}  // namespace zantrope
