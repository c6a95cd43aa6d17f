#include "compiler/Classes_base.h"

#include <algorithm>
#include <string>

#include "compiler/Classes_parser_objects.h"
#include "compiler/Classes_types.h"
#include "compiler/Diagnostics.h"
#include "compiler/Object_stream.h"

namespace zantrope {

std::string upper_ascii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return out;
}

void t_base_list::remove(const t_base_item* item) {
  const auto it = std::find(items_.begin(), items_.end(), item);
  if (it != items_.end()) items_.erase(it);
}

t_base_item* t_base_list::clone() const {
  auto* copy = new t_base_list;
  for (const t_base_item* item : items_) copy->add(item ? item->clone() : nullptr);
  return copy;
}

void t_base_list::append_to(t_base_list& target) {
  if (appended_) return;
  // Appending to itself would grow the list while it is walked.
  const std::vector<t_base_item*> snapshot = items_;
  for (t_base_item* item : snapshot)
    if (item) item->append_to(target);
  appended_ = 1;
}

bool t_base_list::search_by_name(const std::string& key, std::int32_t& index) const {
  index = -1;
  const std::string wanted = upper_ascii(key);
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const t_base_item* item = items_[i];
    if (!item || !item->has_name()) {
      report_error(messages::unnamed_list_item);
      show_error_box(numbered_message(messages::unnamed_list_item));
      abort_run();
      return false;
    }
    if (upper_ascii(item->item_name()) == wanted) {
      index = std::int32_t(i);
      return true;
    }
  }
  return false;
}

bool t_base_list::find_by_name(const std::string& key, std::int32_t& index) const {
  return search_by_name(key, index);
}

bool t_base_list::find_item_by_name(const std::string& key, t_base_item*& item) const {
  std::int32_t index;
  item = search_by_name(key, index) ? items_[std::size_t(index)] : nullptr;
  return item != nullptr;
}

t_base_item* t_base_list::find_declaration(std::uint8_t id, const std::string& name) const {
  for (t_base_item* item : items_) {
    if (!item || item->class_id() != id) continue;
    const auto* declaration = dynamic_cast<const t_declaration*>(item);
    if (!declaration) continue;
    if (id == class_ids::declaration_constant) {
      const t_base_list* names = declaration->identifier_list();
      std::int32_t index;
      if (names && names->find_by_name(name, index)) return item;
      continue;
    }
    if (declaration->get_name() == name) return item;
  }
  return nullptr;
}

t_base_item* t_base_list::find_declaration_upper(std::uint8_t id, const std::string& name,
                                                 const t_base_list* arguments) const {
  const std::string wanted = upper_ascii(name);
  for (t_base_item* item : items_) {
    if (!item || item->class_id() != id) continue;
    const auto* declaration = dynamic_cast<const t_declaration*>(item);
    if (!declaration || upper_ascii(declaration->get_name()) != wanted) continue;
    if (id == class_ids::declaration_subprogram && !declaration->accepts_arguments(arguments))
      continue;
    return item;
  }
  return nullptr;
}

std::int32_t t_base_list::find_by_index_name(std::uint8_t id, const t_base_item* item) const {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i] && items_[i]->class_id() == id && items_[i] == item) return std::int32_t(i);
  return -1;
}

void t_base_list::write(t_stream& stream) const {
  stream.write_u32(std::uint32_t(items_.size()));
  for (const t_base_item* item : items_) {
    if (!item) {
      // Nothing can stand for a missing object; class id 0 is never read back.
      stream.write_u8(class_ids::base);
      continue;
    }
    stream.write_u8(item->class_id());
    // A list that is itself an item stands for itself by its class id alone.
    if (item->class_id() != class_ids::list) item->write(stream);
  }
}

namespace {
// How many object lists a stream may open inside one another. The lists the
// library writes nest a few levels at most; the limit keeps a hostile stream
// from exhausting the stack.
constexpr int kMaxListNesting = 64;
int list_nesting = 0;

class t_list_nesting {
 public:
  t_list_nesting() {
    if (list_nesting >= kMaxListNesting)
      throw stream_error("Stream read error: object lists nested more than " +
                         std::to_string(kMaxListNesting) + " deep");
    ++list_nesting;
  }
  ~t_list_nesting() { --list_nesting; }
  t_list_nesting(const t_list_nesting&) = delete;
  t_list_nesting& operator=(const t_list_nesting&) = delete;
};
}  // namespace

void t_base_list::read(t_stream& stream) {
  const t_list_nesting nesting;
  const std::uint32_t n = stream.read_u32();
  // Every item takes at least its class-id byte.
  stream.require(n, "object list");
  for (std::uint32_t i = 0; i < n; ++i) {
    std::unique_ptr<t_base_item> item = make_object(stream.read_u8());
    if (!item) return;
    item->read(stream);
    add(item.release());
  }
}

void t_base_list::delete_items() {
  for (t_base_item* item : items_) delete item;
  items_.clear();
}

std::unique_ptr<t_base_item> make_object(std::uint8_t id) {
  switch (id) {
    case class_ids::type_int: return std::make_unique<t_type_int>();
    case class_ids::type_int64: return std::make_unique<t_type_int64>();
    case class_ids::type_float: return std::make_unique<t_type_float>();
    case class_ids::type_char: return std::make_unique<t_type_char>();
    case class_ids::type_bool: return std::make_unique<t_type_bool>();
    case class_ids::type_character_literal: return std::make_unique<t_type_character_literal>();
    case class_ids::type_range: return std::make_unique<t_type_range>();
    case class_ids::type_enumeration: return std::make_unique<t_type_enumeration>();
    case class_ids::type_array_unconstrained:
      return std::make_unique<t_type_array_unconstrained>();
    case class_ids::declaration_type: return std::make_unique<t_declaration_type>();
    case class_ids::literal_character: return std::make_unique<t_literal_character>();
    case class_ids::name_simple: return std::make_unique<t_name_simple>();
    case class_ids::package_decl: return std::make_unique<t_library_unit_package_decl>();
    case class_ids::design_unit: return std::make_unique<t_design_unit>();
    default:
      report_error(messages::unknown_class_id);
      show_error_box(numbered_message(messages::unknown_class_id));
      abort_run();
      return nullptr;
  }
}

}  // namespace zantrope
