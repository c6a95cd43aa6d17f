#include "compiler/Object_stream.h"
#include "compiler/String_list.h"
#include "platform/save_checks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "compiler/Classes_base.h"
#include "compiler/Classes_literal.h"
#include "compiler/Classes_parser_objects.h"
#include "compiler/Classes_types.h"
#include "library_fixture.h"

namespace zantrope {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

Bytes str(const std::string& s) {
  const auto n = std::uint32_t(s.size() + 1);
  Bytes out = {std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(n >> 16), std::uint8_t(n >> 24)};
  out.insert(out.end(), s.begin(), s.end());
  out.push_back(0);
  return out;
}

Bytes u32(std::uint32_t n) {
  return {std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(n >> 16), std::uint8_t(n >> 24)};
}

Bytes f64(double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, 8);
  Bytes out;
  for (int i = 0; i < 8; ++i) out.push_back(std::uint8_t(bits >> (8 * i)));
  return out;
}

class ObjectStream : public testing::LibraryFixture {};

TEST_F(ObjectStream, StreamStrings) {
  t_memory_stream stream;
  write_stream_string("", stream);
  write_stream_string("abc", stream);
  EXPECT_EQ(stream.bytes(), (Bytes{1, 0, 0, 0, 0, 4, 0, 0, 0, 'a', 'b', 'c', 0}));

  stream.seek(0);
  std::string text = "old";
  read_stream_string(text, stream);
  EXPECT_EQ(text, "");
  read_stream_string(text, stream);
  EXPECT_EQ(text, "abc");
  EXPECT_EQ(stream.remaining(), 0u);
}

TEST_F(ObjectStream, MemoryStreamOverwritesAndGrowsInPlace) {
  t_memory_stream stream(Bytes{1, 2, 3});
  stream.seek(1);
  write_stream_string(std::string_view(), stream);  // an empty text with no characters at all
  EXPECT_EQ(stream.bytes(), (Bytes{1, 1, 0, 0, 0, 0}));
  stream.seek(0);
  stream.write_bytes(nullptr, 0);
  stream.write_u8(9);
  EXPECT_EQ(stream.bytes(), (Bytes{9, 1, 0, 0, 0, 0}));
  EXPECT_EQ(stream.position(), 1u);
}

TEST_F(ObjectStream, StreamStringsFromOddOrHostileBytes) {
  struct Case {
    Bytes bytes;
    const char* text;  // null: the read fails
  } cases[] = {
      {{3, 0, 0, 0, 'a', 'b', 'c'}, "abc"},           // no terminator
      {{4, 0, 0, 0, 'a', 0, 'b', 0}, "a"},            // ends at the first zero
      {{0, 0, 0, 0}, ""},                             // no bytes at all
      {{0xff, 0xff, 0xff, 0x7f, 'a', 'b', 0}, nullptr},  // far more than the stream holds
      {{0xff, 0xff, 0xff, 0xff, 'a'}, nullptr},       // negative
      {{5, 0, 0, 0, 'a', 'b'}, nullptr},              // cut short
      {{5, 0}, nullptr},                              // length cut short
  };
  for (const Case& c : cases) {
    t_memory_stream stream(c.bytes);
    std::string text;
    if (c.text) {
      read_stream_string(text, stream);
      EXPECT_EQ(text, c.text);
    } else {
      EXPECT_THROW(read_stream_string(text, stream), stream_error);
    }
  }
}

// One streamable class as the factory makes it, how a test fills it, and
// the bytes of its body in an object list.
struct Streamable {
  std::uint8_t id;
  std::function<void(t_base_item&)> fill;
  Bytes body;
};

TEST_F(ObjectStream, EveryFactoryClassRoundTripsByteExact) {
  const std::vector<Streamable> cases = {
      {5, nullptr, {}},
      {6, nullptr, {}},
      {7, nullptr, {}},
      // Scalar descriptors stand in a list by their class id alone: their
      // data go through write_data/read_data, never into the list.
      {8, nullptr, {}},
      {8, [](t_base_item& o) { static_cast<t_type_char&>(o).set_data_raw("Z", 1); }, {}},
      {9, nullptr, {}},
      {10, nullptr, {}},
      {10, [](t_base_item& o) { static_cast<t_type_character_literal&>(o).set_data_raw("'q'", 4); },
       {}},
      {13, nullptr, {}},
      {13,
       [](t_base_item& o) {
         static_cast<t_type_enumeration&>(o).add_literal(std::make_unique<t_type_char>('1'));
       },
       {}},
      {11, nullptr, cat({f64(1.0), f64(1.0), {0, 0}})},
      {15, nullptr, {}},
      {39, nullptr, {}},
      {54, nullptr, {}},
      {58, nullptr, str("")},
      {58, [](t_base_item& o) { static_cast<t_name_simple&>(o).set_text("clk"); }, str("clk")},
      {100, nullptr, {}},
      {103, nullptr, {}},
  };
  for (const Streamable& c : cases) {
    SCOPED_TRACE(int(c.id));
    std::unique_ptr<t_base_item> object = make_object(c.id);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->class_id(), c.id);
    if (c.fill) c.fill(*object);

    t_base_list_storage list;
    list.add(object.get());
    t_memory_stream stream;
    list.write(stream);
    const Bytes expected = cat({u32(1), {c.id}, c.body});
    EXPECT_EQ(stream.bytes(), expected);

    stream.seek(0);
    t_base_list_storage back;
    back.read(stream);
    EXPECT_EQ(stream.remaining(), 0u);
    ASSERT_EQ(back.count(), 1);
    EXPECT_EQ(back.get(0)->class_id(), c.id);
    t_memory_stream again;
    back.write(again);
    EXPECT_EQ(again.bytes(), expected);
    back.delete_items();
  }
  EXPECT_EQ(abort_flag, 0);
  EXPECT_TRUE(shown_.texts.empty());
}

TEST_F(ObjectStream, NestedListWritesOnlyItsClassId) {
  t_name_simple a("a");
  t_base_list_storage inner;
  inner.add(&a);
  t_base_list_storage outer;
  outer.add(&inner);
  t_memory_stream stream;
  outer.write(stream);
  EXPECT_EQ(stream.bytes(), cat({u32(1), {4}}));
}

TEST_F(ObjectStream, RangeKeepsBoundsAndDirection) {
  t_type_range range(7.0, -2.5, kDirectionDownto);
  t_memory_stream stream;
  range.write(stream);
  EXPECT_EQ(stream.bytes(), cat({f64(7.0), f64(-2.5), {0x15, 0x01}}));
  stream.seek(0);
  auto back = make_object(11);
  back->read(stream);
  const auto& r = static_cast<const t_type_range&>(*back);
  EXPECT_EQ(r.left(), 7.0);
  EXPECT_EQ(r.right(), -2.5);
  EXPECT_EQ(r.direction(), kDirectionDownto);
}

TEST_F(ObjectStream, CharacterLiteralDescriptorKeepsItsText) {
  t_type_character_literal literal("'a'");
  t_memory_stream stream;
  literal.write_data(stream);
  EXPECT_EQ(stream.bytes(), (Bytes{10, 4, 0, 0, 0, '\'', 'a', '\'', 0}));
  stream.seek(0);
  t_type_character_literal back;
  back.read_data(stream);
  EXPECT_EQ(back.text(), "'a'");
  EXPECT_EQ(back.size(), 4u);
}

TEST_F(ObjectStream, CharacterLiteralDataFilledToTheEndStillEndsItsText) {
  t_type_character_literal literal("'a'");
  literal.set_data_raw(nullptr, 0);  // nothing to copy
  EXPECT_EQ(literal.text(), "'a'");
  literal.set_data_raw("abcd", 4);  // overwrites the terminating zero
  EXPECT_EQ(literal.text(), "abcd");
  EXPECT_EQ(literal.size(), 5u);
  t_memory_stream stream;
  literal.write_data(stream);
  EXPECT_EQ(stream.bytes(), (Bytes{10, 5, 0, 0, 0, 'a', 'b', 'c', 'd', 0}));
  stream.seek(0);
  t_type_character_literal back;
  back.read_data(stream);
  EXPECT_EQ(back.text(), "abcd");
}

TEST_F(ObjectStream, DescriptorDataLargerThanItsBufferIsRefused) {
  t_memory_stream stream(cat({{8}, u32(1000), Bytes(1000, 'x')}));
  t_type_char descriptor;
  EXPECT_THROW(descriptor.read_data(stream), stream_error);
  EXPECT_EQ(descriptor.character(), '0');
}

std::unique_ptr<t_interf_element> port(const std::string& name, const std::string& type,
                                       bool constrained) {
  auto identifiers = std::make_unique<t_base_list_storage>();
  identifiers->add(new t_name_simple(name));
  std::unique_ptr<t_base_list_storage> constraints;
  if (constrained) {
    constraints = std::make_unique<t_base_list_storage>();
    constraints->add(new t_type_range(7, 0, kDirectionDownto));
  }
  return std::make_unique<t_interf_element>(
      std::move(identifiers),
      std::make_unique<t_indication_subtype>(std::make_unique<t_name_simple>(type),
                                             std::move(constraints)));
}

std::unique_ptr<t_base_list_storage> clauses(std::initializer_list<t_clause*> list) {
  auto header = std::make_unique<t_base_list_storage>();
  for (t_clause* c : list) header->add(c);
  return header;
}

std::unique_ptr<t_base_list_storage> elements(std::unique_ptr<t_interf_element> e) {
  auto list = std::make_unique<t_base_list_storage>();
  list->add(e.release());
  return list;
}

TEST_F(ObjectStream, EntityDescriptions) {
  const Bytes port_a = cat({u32(1), {52}, u32(1), {58}, str("a"), str("bit"), {0}});
  struct Case {
    const char* what;
    std::unique_ptr<t_library_unit_entity_decl> entity;
    Bytes bytes;
  };
  std::vector<Case> cases;
  cases.push_back({"no header", std::make_unique<t_library_unit_entity_decl>("e", nullptr),
                   cat({str("e"), u32(0)})});
  cases.push_back({"one port",
                   std::make_unique<t_library_unit_entity_decl>(
                       "e", clauses({new t_port_clause(elements(port("a", "bit", false)))})),
                   cat({str("e"), port_a})});
  cases.push_back({"generic only",
                   std::make_unique<t_library_unit_entity_decl>(
                       "g", clauses({new t_generic_clause(elements(port("n", "integer", false)))})),
                   cat({str("g"), u32(0)})});
  cases.push_back(
      {"generic and port",
       std::make_unique<t_library_unit_entity_decl>(
           "e", clauses({new t_generic_clause(elements(port("n", "integer", false))),
                         new t_port_clause(elements(port("a", "bit", false)))})),
       cat({str("e"), port_a})});
  cases.push_back({"constrained port",
                   std::make_unique<t_library_unit_entity_decl>(
                       "e", clauses({new t_port_clause(elements(port("v", "bit_vector", true)))})),
                   cat({str("e"), u32(1), {52}, u32(1), {58}, str("v"), str("bit_vector"), {1},
                        u32(1), {11}, f64(7), f64(0), {0x15, 0x01}})});
  for (const Case& c : cases) {
    t_memory_stream stream;
    c.entity->write(stream);
    EXPECT_EQ(stream.bytes(), c.bytes) << c.what;
  }
}

TEST_F(ObjectStream, EntityReadStopsAtInterfaceElements) {
  t_library_unit_entity_decl entity("e", clauses({new t_port_clause(elements(port("a", "bit", false)))}));
  t_memory_stream stream;
  entity.write(stream);
  stream.seek(0);
  t_library_unit_entity_decl back("", nullptr);
  back.read(stream);
  EXPECT_EQ(back.name(), "e");
  EXPECT_EQ(abort_flag, 1);
  EXPECT_EQ(read_file("yyerror.txt"), "[Error] Unknown object class id\r\n");
}

TEST_F(ObjectStream, NodeBodies) {
  auto declarations = std::make_unique<t_base_list_storage>();
  declarations->add(new t_declaration_type("byte_t", std::make_unique<t_type_range>(0, 255, kDirectionTo)));
  t_library_unit_package_decl package("p", std::move(declarations));
  t_memory_stream stream;
  package.write_node(stream);
  EXPECT_EQ(stream.bytes(), cat({str("p"), u32(1), {39}}));
  stream.seek(0);
  t_library_unit_package_decl package_back;
  package_back.read_node(stream);
  EXPECT_EQ(package_back.name(), "p");
  ASSERT_EQ(package_back.declarations().count(), 1);
  EXPECT_EQ(package_back.declarations().get(0)->class_id(), 39);

  const auto& type = static_cast<const t_declaration_type&>(*package.declarations().get(0));
  t_memory_stream type_stream;
  type.write_node(type_stream);
  const Bytes type_bytes = cat({str("byte_t"), {11}, f64(0), f64(255), {0x4e, 0x01}});
  EXPECT_EQ(type_stream.bytes(), type_bytes);
  type_stream.seek(0);
  t_declaration_type type_back;
  type_back.read_node(type_stream);
  EXPECT_EQ(type_back.get_name(), "byte_t");
  ASSERT_NE(type_back.descriptor(), nullptr);
  EXPECT_EQ(static_cast<const t_type_range*>(type_back.descriptor())->right(), 255.0);

  auto units = std::make_unique<t_base_list_storage>();
  units->add(new t_design_unit(std::make_unique<t_library_unit_package_decl>()));
  units->add(new t_design_unit(std::make_unique<t_library_unit_entity_decl>("e", nullptr)));
  t_design_file file(std::move(units));
  t_memory_stream file_stream;
  file.write_node(file_stream);
  EXPECT_EQ(file_stream.bytes(), cat({u32(2), {103}, {103}}));

  t_memory_stream unit_stream;
  static_cast<const t_design_unit&>(*file.units().get(1)).write_node(unit_stream);
  EXPECT_EQ(unit_stream.bytes(), cat({{99}, str("e"), u32(0)}));
  t_memory_stream package_unit({100});
  t_design_unit unit_back;
  unit_back.read_node(package_unit);
  ASSERT_NE(unit_back.library_unit(), nullptr);
  EXPECT_EQ(unit_back.library_unit()->class_id(), 100);

  t_literal_character literal;
  literal.token_record().data.name = "'x'";
  t_memory_stream literal_stream;
  literal.write_node(literal_stream);
  EXPECT_EQ(literal_stream.bytes(), str("'x'"));
  EXPECT_EQ(t_design_file(nullptr).units().count(), 0);
  EXPECT_EQ(abort_flag, 0);
}

TEST_F(ObjectStream, UnknownClassIdEndsTheListKeepingWhatWasRead) {
  t_memory_stream stream(cat({u32(3), {58}, str("a"), {14}, {58}, str("b")}));
  t_base_list_storage list;
  list.read(stream);
  ASSERT_EQ(list.count(), 1);
  EXPECT_EQ(list.get(0)->item_name(), "a");
  EXPECT_EQ(abort_flag, 1);
  EXPECT_EQ(read_file("yyerror.txt"), "[Error] Unknown object class id\r\n");
  ASSERT_EQ(shown_.texts.size(), 1u);
  EXPECT_EQ(shown_.texts[0], "Unknown object class id");
  EXPECT_EQ(shown_.kinds[0], platform::MessageKind::Error);
  list.delete_items();
}

TEST_F(ObjectStream, HostileListsGiveAnErrorNotAHugeAllocation) {
  {
    t_memory_stream stream(cat({u32(0xffffffff), {58}}));
    t_base_list_storage list;
    EXPECT_THROW(list.read(stream), stream_error);
    EXPECT_EQ(list.count(), 0);
  }
  {
    // The second item is cut short: the first stays for its owner to free.
    t_memory_stream stream(cat({u32(2), {58}, str("a"), {11}, {0, 0, 0}}));
    t_base_list_storage list;
    EXPECT_THROW(list.read(stream), stream_error);
    EXPECT_EQ(list.count(), 1);
    list.delete_items();
  }
  {
    t_memory_stream stream(cat({str("p"), u32(0x10000000)}));
    t_library_unit_package_decl package;
    EXPECT_THROW(package.read_node(stream), stream_error);
  }
}

// An enumeration whose one literal is an enumeration, `depth` times, the
// innermost with no literals, as a stream that gave list items a body would
// hold it.
Bytes nested_enumerations(int depth) {
  Bytes out;
  for (int i = 0; i < depth; ++i) {
    const Bytes level = cat({u32(1), {13}});
    out.insert(out.end(), level.begin(), level.end());
  }
  const Bytes innermost = u32(0);
  out.insert(out.end(), innermost.begin(), innermost.end());
  return out;
}

TEST_F(ObjectStream, EnumerationDataIsItsLiteralsByClassId) {
  t_type_enumeration enumeration;
  enumeration.add_literal(std::make_unique<t_type_char>('1'));
  auto inner = std::make_unique<t_type_enumeration>();
  inner->add_literal(std::make_unique<t_type_char>('0'));
  enumeration.add_literal(std::move(inner));
  t_memory_stream stream;
  enumeration.write_data(stream);
  EXPECT_EQ(stream.bytes(), cat({u32(2), {8}, {13}}));

  stream.seek(0);
  t_type_enumeration back;
  back.read_data(stream);
  EXPECT_EQ(stream.remaining(), 0u);
  ASSERT_EQ(back.literals().count(), 2);
  EXPECT_EQ(back.literals().get(0)->class_id(), 8);
  ASSERT_EQ(back.literals().get(1)->class_id(), 13);
  EXPECT_EQ(static_cast<const t_type_enumeration*>(back.literals().get(1))->literals().count(), 0);
  EXPECT_EQ(abort_flag, 0);
}

TEST_F(ObjectStream, NestedEnumerationBytesReadOneLevelNotAStackOverflow) {
  // An enumeration in a list has no body, so the bytes of a deeply nested
  // one are not followed into: one item is read and the rest stays unread.
  for (const int depth : {10, 2000000}) {
    SCOPED_TRACE(depth);
    const Bytes bytes = nested_enumerations(depth);
    t_memory_stream stream(bytes);
    t_base_list_storage list;
    list.read(stream);
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(static_cast<const t_type_enumeration*>(list.get(0))->literals().count(), 0);
    EXPECT_EQ(stream.remaining(), bytes.size() - 5);
    list.delete_items();
  }
  EXPECT_EQ(abort_flag, 0);
}

TEST_F(ObjectStream, FactoryMakesOnlyStreamableClasses) {
  const std::vector<int> made = {5, 6, 7, 8, 9, 10, 11, 13, 15, 39, 54, 58, 100, 103};
  int refused = 0;
  for (int id = 0; id < 256; ++id) {
    const bool expected = std::find(made.begin(), made.end(), id) != made.end();
    abort_flag = 0;
    auto object = make_object(std::uint8_t(id));
    EXPECT_EQ(object != nullptr, expected) << id;
    EXPECT_EQ(abort_flag, expected ? 0 : 1) << id;
    if (!expected) ++refused;
  }
  EXPECT_EQ(int(shown_.texts.size()), refused);
}

TEST_F(ObjectStream, FileStreamWritesAndReadsBack) {
  const std::string path = (folder_ / "data.bin").string();
  {
    t_file_stream out(path, t_file_stream::mode::create);
    write_stream_string("abc", out);
    out.write_f64(0.5);
    out.close();
  }
  t_file_stream in(path, t_file_stream::mode::read);
  EXPECT_EQ(in.remaining(), 16u);
  std::string text;
  read_stream_string(text, in);
  EXPECT_EQ(text, "abc");
  EXPECT_EQ(in.read_f64(), 0.5);
  EXPECT_THROW(in.read_u8(), stream_error);
  EXPECT_THROW(t_file_stream((folder_ / "none" / "x").string(), t_file_stream::mode::read),
               stream_error);
  EXPECT_THROW(t_file_stream((folder_ / "none" / "x").string(), t_file_stream::mode::create),
               stream_error);
}

TEST_F(ObjectStream, FilesReplaceOnlyTheirOwnFileAndReadersRefuseHostileInput) {
  const struct {
    const char* name;
    std::function<void(const std::string&)> save;
    std::function<void(const std::string&)> load;
  } files[] = {
      {"object stream",
       [](const std::string& path) {
         t_file_stream out(path, t_file_stream::mode::create);
         write_stream_string("entity", out);
         out.close();
       },
       [](const std::string& path) { t_file_stream in(path, t_file_stream::mode::read); }},
      {"string list",
       [](const std::string& path) {
         t_string_list list;
         list.add("-- a line");
         list.save_to_file(path);
       },
       [](const std::string& path) { t_string_list().load_from_file(path); }},
  };
  for (const auto& file : files) {
    SCOPED_TRACE(file.name);
    const std::filesystem::path saves = folder_ / (std::string(file.name) + " saves");
    std::filesystem::create_directories(saves);
    platform::testing::ExpectSafeSaves(saves.string(), ".bin", file.save);
    const std::filesystem::path loads = folder_ / (std::string(file.name) + " loads");
    std::filesystem::create_directories(loads);
    platform::testing::ExpectHostileInputsRefused(loads.string(), [&](const std::string& path) {
      file.load(path);
      return true;
    });
  }
}

TEST_F(ObjectStream, CreatedFileReplacesTheTargetOnlyWhenClosed) {
  const std::string path = (folder_ / "data.bin").string();
  write_file("data.bin", "old");
  {
    t_file_stream out(path, t_file_stream::mode::create);
    write_stream_string("half", out);
    EXPECT_EQ(out.remaining(), 0u);
    EXPECT_THROW(out.read_u8(), stream_error);
    EXPECT_EQ(read_file("data.bin"), "old");
    // Given up before close: the target stays as it was.
  }
  EXPECT_EQ(read_file("data.bin"), "old");
  {
    t_file_stream out(path, t_file_stream::mode::create);
    write_stream_string("", out);
    out.close();
    out.close();
  }
  EXPECT_EQ(read_file("data.bin"), std::string("\x01\0\0\0\0", 5));
  // Nothing is left beside the target.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_),
                          std::filesystem::directory_iterator()),
            1);
}

}  // namespace
}  // namespace zantrope
