#include "export_table.h"

#include <dlfcn.h>

#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace trovanix_test {

namespace {

Kind kindOf(const std::string& type) {
  static const struct {
    const char* name;
    Kind kind;
  } kinds[] = {{"word", Kind::Word}, {"u8", Kind::U8},         {"u16", Kind::U16},
               {"u32", Kind::U32},   {"double", Kind::Double}, {"string", Kind::String},
               {"status", Kind::Status}};
  for (const auto& k : kinds)
    if (type == k.name) return k.kind;
  throw std::runtime_error("unknown type '" + type + "'");
}

Value parseResult(const std::string& text) {
  if (text == "void") return {};
  const auto eq = text.find('=');
  if (eq == std::string::npos || eq + 1 == text.size())
    throw std::runtime_error("result without a value: '" + text + "'");
  return {kindOf(text.substr(0, eq)), false, text.substr(eq + 1)};
}

std::vector<Value> parseArguments(const std::string& text) {
  std::vector<Value> values;
  if (text == "-") return values;
  std::istringstream in(text);
  std::string item;
  while (std::getline(in, item, ',')) {
    const auto star = item.find("*=");
    if (star == std::string::npos) {
      values.push_back({kindOf(item), false, {}});
    } else {
      if (star + 2 == item.size()) throw std::runtime_error("out argument without a value: '" + item + "'");
      values.push_back({kindOf(item.substr(0, star)), true, item.substr(star + 2)});
    }
  }
  return values;
}

}  // namespace

const std::vector<Export>& exportTable() {
  static const std::vector<Export> table = [] {
    std::vector<Export> rows;
#define TROVANIX_TEST_ROW(ordinal, name, family, result, arguments) \
  rows.push_back({ordinal, #name, family, result, arguments, parseResult(result), parseArguments(arguments)});
    TROVANIX_EXPORTS(TROVANIX_TEST_ROW)
#undef TROVANIX_TEST_ROW
    return rows;
  }();
  return table;
}

void* library() {
  static void* const handle = [] {
    void* h = dlopen(TROVANIX_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (!h) throw std::runtime_error(std::string("dlopen: ") + dlerror());
    return h;
  }();
  return handle;
}

}  // namespace trovanix_test
