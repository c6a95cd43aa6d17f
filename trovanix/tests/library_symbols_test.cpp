// The built library exports exactly the functions of the table, and the
// ordinal helper finds each of them.
#include <dlfcn.h>
#include <elf.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "export_table.h"

using namespace trovanix_test;

namespace {

struct DynamicSymbol {
  unsigned char type;
  bool operator==(const DynamicSymbol&) const = default;
};

// The symbols a 64-bit ELF shared library defines in its dynamic symbol table
// (what a loader can find), by name.
std::map<std::string, DynamicSymbol> definedDynamicSymbols(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string image{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::map<std::string, DynamicSymbol> symbols;
  if (image.size() < sizeof(Elf64_Ehdr)) {
    ADD_FAILURE() << path << " is no ELF file";
    return symbols;
  }
  const auto* data = reinterpret_cast<const unsigned char*>(image.data());
  const auto* header = reinterpret_cast<const Elf64_Ehdr*>(data);
  if (std::string_view(reinterpret_cast<const char*>(header->e_ident), 4) != ELFMAG ||
      header->e_ident[EI_CLASS] != ELFCLASS64 ||
      header->e_shoff + header->e_shnum * sizeof(Elf64_Shdr) > image.size()) {
    ADD_FAILURE() << path << " is no 64-bit ELF file";
    return symbols;
  }
  const auto* sections = reinterpret_cast<const Elf64_Shdr*>(data + header->e_shoff);
  for (int i = 0; i < header->e_shnum; ++i) {
    if (sections[i].sh_type != SHT_DYNSYM) continue;
    const Elf64_Shdr& strings = sections[sections[i].sh_link];
    const auto* syms = reinterpret_cast<const Elf64_Sym*>(data + sections[i].sh_offset);
    const size_t count = sections[i].sh_size / sizeof(Elf64_Sym);
    for (size_t s = 1; s < count; ++s) {
      if (syms[s].st_shndx == SHN_UNDEF) continue;
      const unsigned char bind = ELF64_ST_BIND(syms[s].st_info);
      if (bind != STB_GLOBAL && bind != STB_WEAK) continue;
      const char* name = reinterpret_cast<const char*>(data + strings.sh_offset + syms[s].st_name);
      symbols[name] = {static_cast<unsigned char>(ELF64_ST_TYPE(syms[s].st_info))};
    }
  }
  return symbols;
}

}  // namespace

// The table against the host's numbering: every ordinal from 1 to 275 but the
// six unassigned ones, each once, and the family sizes the host expects.
TEST(ExportTable, CoversTheHostsNumbering) {
  std::set<int> ordinals;
  std::set<std::string> names;
  std::map<std::string, int> families;
  for (const Export& e : exportTable()) {
    EXPECT_TRUE(ordinals.insert(e.ordinal).second) << "ordinal " << e.ordinal << " twice";
    EXPECT_TRUE(names.insert(e.name).second) << e.name << " twice";
    ++families[e.family];
  }
  std::set<int> unassigned;
  for (int n = 1; n <= 275; ++n)
    if (!ordinals.count(n)) unassigned.insert(n);
  EXPECT_EQ(unassigned, (std::set<int>{106, 229, 230, 231, 232, 233}));
  EXPECT_EQ(*ordinals.begin(), 1);
  EXPECT_EQ(*ordinals.rbegin(), 275);
  const std::map<std::string, int> expected{{"DVM", 15},  {"SCP", 39},       {"FG", 39},
                                            {"SA", 44},   {"LA", 40},        {"DSG", 33},
                                            {"XYREC", 16}, {"3PhaseGen", 19}, {"Relais", 6},
                                            {"DigIO", 6}, {"General", 12}};
  EXPECT_EQ(families, expected);
}

// The table and the library against the host's numbering as written down
// separately: each name at its ordinal, and no ordinal besides.
TEST(Library, EveryExportSitsAtTheHostsOrdinal) {
  std::ifstream in(TROVANIX_HOST_ORDINALS);
  ASSERT_TRUE(in) << TROVANIX_HOST_ORDINALS;
  std::map<int, std::string> host;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string name;
    int ordinal = 0;
    ASSERT_TRUE(fields >> name >> ordinal) << line;
    EXPECT_TRUE(host.emplace(ordinal, name).second) << "ordinal " << ordinal << " twice";
  }
  EXPECT_EQ(host.size(), 269u);
  std::map<int, std::string> table;
  for (const Export& e : exportTable()) table[e.ordinal] = e.name;
  EXPECT_EQ(table, host);
  void* lib = library();
  for (const auto& [ordinal, name] : host) {
    EXPECT_STREQ(trovanix_export_name(ordinal), name.c_str()) << ordinal;
    EXPECT_EQ(trovanix_export_at(lib, ordinal), dlsym(lib, name.c_str())) << name;
  }
}

TEST(Library, ExportsExactlyTheTableAsFunctions) {
  const auto symbols = definedDynamicSymbols(TROVANIX_LIBRARY);
  std::map<std::string, DynamicSymbol> expected;
  for (const Export& e : exportTable()) expected[e.name] = {STT_FUNC};
  EXPECT_EQ(symbols.size(), 269u);
  for (const auto& [name, symbol] : symbols) {
    const auto it = expected.find(name);
    if (it == expected.end())
      ADD_FAILURE() << "exported but not in the table: " << name;
    else
      EXPECT_EQ(symbol.type, STT_FUNC) << name << " is not a function";
  }
  for (const auto& [name, symbol] : expected)
    EXPECT_TRUE(symbols.count(name)) << "in the table but not exported: " << name;
}

TEST(Library, ResolvesEveryOrdinalThroughTheHelper) {
  void* lib = library();
  std::map<int, const Export*> byOrdinal;
  for (const Export& e : exportTable()) byOrdinal[e.ordinal] = &e;
  for (int ordinal = -1; ordinal <= 277; ++ordinal) {
    const auto it = byOrdinal.find(ordinal);
    void* found = trovanix_export_at(lib, ordinal);
    if (it == byOrdinal.end()) {
      EXPECT_EQ(trovanix_export_name(ordinal), nullptr) << ordinal;
      EXPECT_EQ(found, nullptr) << ordinal;
    } else {
      EXPECT_STREQ(trovanix_export_name(ordinal), it->second->name);
      ASSERT_NE(found, nullptr) << it->second->name;
      EXPECT_EQ(found, dlsym(lib, it->second->name));
      Dl_info info{};
      ASSERT_NE(dladdr(found, &info), 0);
      EXPECT_STREQ(info.dli_sname, it->second->name);
    }
  }
}
