// Calls every export through its prototype in trovanix.h and checks its fixed
// answers against the table: each out variable sits between guard bytes, each
// 32-bit argument points at a guarded variable the export must leave alone,
// and the result is compared. Every export is called with several sets of
// arguments, since no answer may depend on them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <deque>
#include <limits>
#include <map>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

#include "export_table.h"

using namespace trovanix_test;

namespace {

template <class T>
struct KindOf;
template <>
struct KindOf<trovanix_word> : std::integral_constant<Kind, Kind::Word> {};
template <>
struct KindOf<uint8_t> : std::integral_constant<Kind, Kind::U8> {};
template <>
struct KindOf<uint16_t> : std::integral_constant<Kind, Kind::U16> {};
template <>
struct KindOf<uint32_t> : std::integral_constant<Kind, Kind::U32> {};
template <>
struct KindOf<double> : std::integral_constant<Kind, Kind::Double> {};
template <>
struct KindOf<platform_string> : std::integral_constant<Kind, Kind::String> {};
template <>
struct KindOf<trovanix_status> : std::integral_constant<Kind, Kind::Status> {};

constexpr unsigned char kGuard = 0xA5;
constexpr size_t kPad = 16;
constexpr int kVariants = 3;

// A variable between guard bytes. Everything starts as guard bytes (an out
// string starts holding a string of the test's own).
struct Cell {
  alignas(16) unsigned char bytes[kPad + 16 + kPad];
  const Value* entry = nullptr;  // the out argument, or null for a variable only pointed at
  size_t width = 0;
  Cell() { std::memset(bytes, kGuard, sizeof bytes); }
  void* slot() { return bytes + kPad; }
};

// The variables and strings of one call.
class CallFrame {
 public:
  explicit CallFrame(const Export& e) : export_(e), liveBefore_(platform_strings_live()) {}
  ~CallFrame() {
    for (platform_string s : borrowed_) {
      EXPECT_EQ(platform_string_refs(s), 1) << export_.name << " kept or dropped a reference to its argument";
      platform_string_release(s);
    }
    EXPECT_EQ(platform_strings_live(), liveBefore_) << export_.name << " leaked or freed a string";
  }

  const Value& argument(size_t i) const {
    static const Value none;
    return i < export_.arguments.size() ? export_.arguments[i] : none;
  }

  Cell& cell(const Value* entry, size_t width) {
    Cell& c = cells_.emplace_back();
    c.entry = entry;
    c.width = width;
    return c;
  }
  platform_string borrowedString() {
    borrowed_.push_back(platform_string_new("probe", 5));
    return borrowed_.back();
  }

  template <class T>
  T make(size_t index, int variant) {
    const Value& entry = argument(index);
    if constexpr (std::is_pointer_v<T> && !std::is_same_v<T, platform_string>) {
      using Target = std::remove_pointer_t<T>;
      EXPECT_TRUE(entry.out && entry.kind == KindOf<Target>::value)
          << export_.name << ": argument " << index + 1 << " is an out variable in the header only";
      if (variant == 1) return nullptr;  // a null out-reference is skipped
      Cell& c = cell(&entry, sizeof(Target));
      if constexpr (std::is_same_v<Target, platform_string>) {
        const platform_string held = platform_string_new("held", 4);
        std::memcpy(c.slot(), &held, sizeof held);
      }
      return reinterpret_cast<T>(c.slot());
    } else {
      EXPECT_TRUE(!entry.out && entry.kind == KindOf<T>::value)
          << export_.name << ": argument " << index + 1 << " differs between table and header";
      if constexpr (std::is_same_v<T, trovanix_word>) {
        if (variant == 0) return reinterpret_cast<trovanix_word>(cell(nullptr, 0).slot());
        return variant == 1 ? 0 : std::numeric_limits<trovanix_word>::max();
      } else if constexpr (std::is_same_v<T, platform_string>) {
        return variant == 1 ? nullptr : borrowedString();
      } else if constexpr (std::is_same_v<T, double>) {
        const double values[] = {1.5, 0.0, std::numeric_limits<double>::quiet_NaN()};
        return values[variant];
      } else {
        const T values[] = {2, 0, std::numeric_limits<T>::max()};
        return values[variant];
      }
    }
  }

  // The out variables hold their fixed values and no guard byte changed.
  void checkCells() {
    for (Cell& c : cells_) {
      for (size_t i = 0; i < sizeof c.bytes; ++i) {
        const bool inSlot = c.entry && i >= kPad && i < kPad + c.width;
        if (!inSlot && c.bytes[i] != kGuard) {
          ADD_FAILURE() << export_.name << " wrote beside "
                        << (c.entry ? "an out variable" : "a 32-bit argument") << " (byte " << i << ")";
          break;
        }
      }
      if (c.entry) checkOut(*c.entry, c.slot());
    }
  }

 private:
  void checkOut(const Value& entry, const void* slot) {
    const double expected = std::stod(entry.fixed == "empty" ? "0" : entry.fixed);
    switch (entry.kind) {
      case Kind::U8:
        EXPECT_EQ(*static_cast<const uint8_t*>(slot), expected) << export_.name;
        break;
      case Kind::U16:
        EXPECT_EQ(*static_cast<const uint16_t*>(slot), expected) << export_.name;
        break;
      case Kind::U32:
        EXPECT_EQ(*static_cast<const uint32_t*>(slot), expected) << export_.name;
        break;
      case Kind::Double:
        EXPECT_EQ(*static_cast<const double*>(slot), expected) << export_.name;
        break;
      case Kind::String:
        // The string the test put there must be released (checked by the
        // live count) and the empty string stored.
        EXPECT_EQ(entry.fixed, "empty");
        EXPECT_EQ(*static_cast<const platform_string*>(slot), nullptr) << export_.name;
        break;
      default:
        ADD_FAILURE() << export_.name << ": no out variable of this kind";
    }
  }

  const Export& export_;
  const long liveBefore_;
  std::deque<Cell> cells_;
  std::vector<platform_string> borrowed_;
};

template <class R>
void checkResult(const Export& e, R result) {
  EXPECT_EQ(e.result.kind, KindOf<R>::value) << e.name << ": result differs between table and header";
  if constexpr (std::is_same_v<R, platform_string>) {
    EXPECT_EQ(std::string_view(result ? result : ""), e.result.fixed) << e.name;
    platform_string_release(result);
  } else {
    // A result the table leaves without a fixed answer is 0.
    const double expected = e.result.fixed == "unset" ? 0.0 : std::stod(e.result.fixed);
    EXPECT_EQ(result, static_cast<R>(expected)) << e.name;
  }
}

template <class R, class... A>
void callExport(R (*fn)(A...) noexcept, const Export& e, int variant) {
  SCOPED_TRACE(testing::Message() << e.name << " (" << e.ordinal << "), argument set " << variant);
  EXPECT_EQ(sizeof...(A), e.arguments.size()) << e.name << ": argument count differs between table and header";
  CallFrame frame(e);
  auto args = [&]<size_t... I>(std::index_sequence<I...>) {
    return std::tuple<A...>{frame.template make<A>(I, variant)...};
  }(std::index_sequence_for<A...>{});
  if constexpr (std::is_void_v<R>) {
    EXPECT_EQ(e.result.kind, Kind::Void) << e.name << ": result differs between table and header";
    std::apply(fn, args);
  } else {
    checkResult(e, std::apply(fn, args));
  }
  frame.checkCells();
}

using Caller = void (*)(void* symbol, const Export& e, int variant);

template <class F>
void callAs(void* symbol, const Export& e, int variant) {
  callExport(reinterpret_cast<F>(symbol), e, variant);
}

// Each export's prototype, by name, straight from the header.
const std::map<std::string, Caller>& callers() {
  static const std::map<std::string, Caller> table{
#define TROVANIX_TEST_CALLER(ordinal, name, family, result, arguments) {#name, &callAs<decltype(&name)>},
      TROVANIX_EXPORTS(TROVANIX_TEST_CALLER)
#undef TROVANIX_TEST_CALLER
  };
  return table;
}

}  // namespace

TEST(FixedAnswers, EveryExportAnswersAsTheTableSays) {
  void* lib = library();
  for (const Export& e : exportTable()) {
    void* symbol = trovanix_export_at(lib, e.ordinal);
    ASSERT_NE(symbol, nullptr) << e.name;
    const auto caller = callers().find(e.name);
    ASSERT_NE(caller, callers().end()) << e.name;
    for (int variant = 0; variant < kVariants; ++variant) caller->second(symbol, e, variant);
  }
}

// A few answers spelled out, so that a slip in the table shows here too.
TEST(FixedAnswers, InitialisationFlagsAsTheHostExpects) {
  const auto byName = [](const char* name) -> const Export& {
    for (const Export& e : exportTable())
      if (std::string_view(e.name) == name) return e;
    throw std::runtime_error(name);
  };
  EXPECT_STREQ(byName("InitDVM").argumentText, "word,u8*=1,u8*=0");
  EXPECT_STREQ(byName("InitSCP").argumentText, "u8*=1,u8*=0");
  EXPECT_STREQ(byName("InitLA").argumentText, "u8*=1,u8*=0");
  for (const char* name : {"InitSA", "InitDSG", "InitXYREC"}) EXPECT_STREQ(byName(name).argumentText, "word,u8*=0");
  EXPECT_STREQ(byName("InitHW").argumentText, "string,string,u8*=1");
  EXPECT_STREQ(byName("GetTestCardID").resultText, "u16=0");
  EXPECT_STREQ(byName("HWCanCo_operate").resultText, "u8=1");
  EXPECT_STREQ(byName("CheckHW").resultText, "u8=0");
}
