#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>

#include "compiler/Classes_types.h"
#include "library_fixture.h"

namespace zantrope {
namespace {

using testing::RecordingMessages;

constexpr std::uint16_t kAnd = 262;
constexpr std::uint16_t kOr = 308;
constexpr std::uint16_t kEqual = 352;
constexpr std::uint16_t kNotEqual = 351;
constexpr std::uint16_t kSlash = 359;

// An identifier value as an enumeration keeps it (its text form is its
// spelling).
class identifier_value : public t_base_item {
 public:
  explicit identifier_value(std::string text) : text_(std::move(text)) {}
  std::uint8_t class_id() const override { return class_ids::alloc_type_identifier; }
  void to_text(std::string& out) const override { out = text_; }

 private:
  std::string text_;
};

std::string text_of(const std::unique_ptr<t_type_definition>& d) { return d ? d->data_to_str() : "null"; }

TEST(TypeDescriptors, PrintEveryScalarKind) {
  RecordingMessages shown;
  EXPECT_EQ(t_type_int(-7).data_to_str(), "-7");
  EXPECT_EQ(t_type_int().data_to_str(), "0");
  EXPECT_EQ(t_type_int64(std::numeric_limits<std::int64_t>::min()).data_to_str(), "-9223372036854775808");
  EXPECT_EQ(t_type_int64().data_to_str(), "0");
  EXPECT_EQ(t_type_float(2.5).data_to_str(), "2.5");
  EXPECT_EQ(t_type_float(0.1).data_to_str(), "0.1");
  EXPECT_EQ(t_type_float().data_to_str(), "0");
  EXPECT_EQ(t_type_char().data_to_str(), "'0'");
  EXPECT_EQ(t_type_char('X').data_to_str(), "'X'");
  EXPECT_EQ(t_type_bool(true).data_to_str(), "true");
  EXPECT_EQ(t_type_bool().data_to_str(), "false");
  std::string text;
  t_type_int(12).to_text(text);
  EXPECT_EQ(text, "12");

  t_type_enumeration states;
  EXPECT_EQ(states.data_to_str(), "");
  states.add_literal(std::make_unique<identifier_value>("idle"));
  states.add_literal(std::make_unique<identifier_value>("run"));
  EXPECT_EQ(states.data_to_str(), "idle");
  EXPECT_TRUE(shown.texts.empty());

  // Kinds without a text form say so and give the empty text.
  EXPECT_EQ(t_type_range(0, 7, kDirectionTo).data_to_str(), "");
  EXPECT_EQ(t_type_character_literal("ab").data_to_str(), "");
  ASSERT_EQ(shown.texts.size(), 2u);
  EXPECT_EQ(shown.texts[0], "Missing data_to_str(), calling default!");
}

TEST(TypeDescriptors, FoldEveryScalarKindAndOperator) {
  RecordingMessages shown;
  const struct {
    std::unique_ptr<t_type_definition> a, b;
    std::uint16_t op;
    const char* result;
  } rows[] = {
      // Integers: the four-valued rule, then equality as a boolean.
      {std::make_unique<t_type_int>(5), std::make_unique<t_type_int>(3), kAnd, "1"},
      {std::make_unique<t_type_int>(5), std::make_unique<t_type_int>(3), kOr, "7"},
      {std::make_unique<t_type_int>(-1), std::make_unique<t_type_int>(6), kAnd, "6"},
      {std::make_unique<t_type_int>(6), std::make_unique<t_type_int>(-2), kOr, "6"},
      {std::make_unique<t_type_int>(5), std::make_unique<t_type_int>(5), kEqual, "true"},
      {std::make_unique<t_type_int>(5), std::make_unique<t_type_int>(4), kEqual, "false"},
      {std::make_unique<t_type_int>(5), std::make_unique<t_type_int>(5), kNotEqual, "null"},
      {std::make_unique<t_type_int>(6), std::make_unique<t_type_int>(0), kSlash, "null"},
      // Booleans.
      {std::make_unique<t_type_bool>(true), std::make_unique<t_type_bool>(false), kAnd, "false"},
      {std::make_unique<t_type_bool>(true), std::make_unique<t_type_bool>(false), kOr, "true"},
      {std::make_unique<t_type_bool>(false), std::make_unique<t_type_bool>(false), kEqual, "true"},
      {std::make_unique<t_type_bool>(true), std::make_unique<t_type_bool>(false), kEqual, "false"},
      // std_logic characters.
      {std::make_unique<t_type_char>('U'), std::make_unique<t_type_char>('1'), kAnd, "'1'"},
      {std::make_unique<t_type_char>('0'), std::make_unique<t_type_char>('X'), kOr, "'0'"},
      {std::make_unique<t_type_char>('1'), std::make_unique<t_type_char>('0'), kAnd, "'0'"},
      {std::make_unique<t_type_char>('1'), std::make_unique<t_type_char>('0'), kOr, "'1'"},
      {std::make_unique<t_type_char>('U'), std::make_unique<t_type_char>('X'), kAnd, "'X'"},
      {std::make_unique<t_type_char>('Z'), std::make_unique<t_type_char>('1'), kAnd, "'1'"},
      {std::make_unique<t_type_char>('1'), std::make_unique<t_type_char>('1'), kEqual, "true"},
      {std::make_unique<t_type_char>('1'), std::make_unique<t_type_char>('U'), kEqual, "false"},
      // Kinds that do not fold, and mixed kinds, are left to run time.
      {std::make_unique<t_type_int>(1), std::make_unique<t_type_bool>(true), kAnd, "null"},
      {std::make_unique<t_type_float>(1.0), std::make_unique<t_type_float>(1.0), kEqual, "null"},
      {std::make_unique<t_type_int64>(1), std::make_unique<t_type_int64>(1), kEqual, "null"},
      {std::make_unique<t_type_range>(0, 1, kDirectionTo), std::make_unique<t_type_int>(1), kAnd, "null"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.a->data_to_str() + " " + std::to_string(r.op) + " " + r.b->data_to_str());
    const std::string before = r.a->data_to_str() + r.b->data_to_str();
    EXPECT_EQ(text_of(r.a->fold(r.op, *r.b)), r.result);
    EXPECT_EQ(r.a->data_to_str() + r.b->data_to_str(), before);  // operands unchanged
  }
  EXPECT_EQ(t_type_int(5).fold(kEqual, t_type_int(5))->class_id(), class_ids::type_bool);
  EXPECT_EQ(t_type_char('1').fold(kAnd, t_type_char('1'))->class_id(), class_ids::type_char);
}

TEST(TypeDescriptors, DataOfItemsAndEnumerations) {
  RecordingMessages shown;
  std::uint8_t id = 99;
  std::uint32_t bytes = 99;
  t_type_int number(258);
  const std::uint8_t* data = number.get_data(id, bytes);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(id, class_ids::type_int);
  EXPECT_EQ(bytes, 4u);
  EXPECT_EQ(data[0] | data[1] << 8, 258);

  t_type_enumeration empty;
  EXPECT_EQ(empty.get_data(id, bytes), nullptr);
  EXPECT_EQ(bytes, 0u);
  ASSERT_EQ(shown.texts.size(), 1u);
  EXPECT_EQ(shown.texts[0], "no item!");

  t_type_enumeration logic;
  logic.add_literal(std::make_unique<t_type_char>('U'));
  logic.add_literal(std::make_unique<t_type_char>('0'));
  data = logic.get_data(id, bytes);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(id, class_ids::type_char);
  EXPECT_EQ(bytes, 2u);
  EXPECT_EQ(char(data[0]), 'U');

  // Literals given as bytes of a kind: 1 stands for a character; kinds the
  // factory cannot make are refused.
  t_type_enumeration bits;
  const char one = '1';
  EXPECT_TRUE(bits.set_data(&one, 1, 1));
  const std::int32_t seven = 7;
  EXPECT_TRUE(bits.set_data(&seven, 4, class_ids::type_int));
  EXPECT_FALSE(bits.set_data(&seven, 4, 250));
  EXPECT_FALSE(bits.set_data(&seven, 4, class_ids::type_range));
  ASSERT_EQ(bits.count(), 2);
  EXPECT_EQ(bits.data_to_str(), "'1'");
  std::string text;
  bits.literals().get(1)->to_text(text);
  EXPECT_EQ(text, "7");
  t_type_int target;
  EXPECT_TRUE(target.set_data(&seven, 4, class_ids::type_int));
  EXPECT_EQ(target.value(), 7);

  EXPECT_EQ(t_type_range().get_data(id, bytes), nullptr);
  EXPECT_EQ(shown.texts.back(), "Missing get_data(), calling default!");
}

TEST(TypeDescriptors, EnumerationLiteralsAreFoundWithoutApostrophes) {
  t_type_enumeration e;
  e.add_literal(std::make_unique<t_type_char>('a'));  // a character literal never matches
  e.add_literal(std::make_unique<identifier_value>("a"));
  e.add_literal(std::make_unique<identifier_value>("'b'"));
  EXPECT_EQ(e.count(), 3);
  EXPECT_EQ(e.find_literal("'a'"), 1);
  EXPECT_EQ(e.find_literal("a"), 1);
  EXPECT_EQ(e.find_literal("b"), 2);
  EXPECT_EQ(e.find_literal("c"), -1);
  EXPECT_EQ(t_type_enumeration::literal_text("'x''"), "x");
}

}  // namespace
}  // namespace zantrope
