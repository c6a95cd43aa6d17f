/* A host in C: loads the zantrope library with dlopen, as the editor does,
   and drives the exports that need no compiled design. Exits 0 when every
   check holds, else names the failed check on stderr and exits 1.
   Usage: host_program LIBRARY [COMPILE-NAME] */
#include <dlfcn.h>
#include <elf.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "zantrope.h"

static int failures = 0;

static void check(int ok, const char* what) {
  if (!ok) {
    fprintf(stderr, "FAILED: %s\n", what);
    ++failures;
  }
}

static const char* const export_names[] = {
    "SetupData",     "prepare_compile",       "compile_file",        "pre_make",
    "MakeProject",   "read_in_dat_file_from_orvo", "init_watch_signals", "get_entity_info",
    "trace_into",    "trace_into_subprogram", "__trace_stop",        "step_cpu_simulation",
    "step_cpu_vhdl", "make_display_hint",     "colorize_line"};

static int is_export_name(const char* name) {
  for (size_t i = 0; i < sizeof export_names / sizeof export_names[0]; ++i)
    if (strcmp(name, export_names[i]) == 0) return 1;
  return 0;
}

/* Reads the library file's dynamic symbol table and counts the global
   symbols it defines that are not exports. */
static int foreign_exports(const char* path) {
  FILE* file = fopen(path, "rb");
  if (!file) return -1;
  fseek(file, 0, SEEK_END);
  const long size = ftell(file);
  fseek(file, 0, SEEK_SET);
  unsigned char* image = malloc((size_t)size);
  const int read_all = image && fread(image, 1, (size_t)size, file) == (size_t)size;
  fclose(file);
  if (!read_all || size < (long)sizeof(Elf64_Ehdr)) {
    free(image);
    return -1;
  }
  const Elf64_Ehdr* header = (const Elf64_Ehdr*)image;
  const Elf64_Shdr* sections = (const Elf64_Shdr*)(image + header->e_shoff);
  int foreign = 0;
  for (int i = 0; i < header->e_shnum; ++i) {
    if (sections[i].sh_type != SHT_DYNSYM) continue;
    const Elf64_Sym* symbols = (const Elf64_Sym*)(image + sections[i].sh_offset);
    const char* names = (const char*)(image + sections[sections[i].sh_link].sh_offset);
    const size_t count = sections[i].sh_size / sizeof(Elf64_Sym);
    for (size_t k = 1; k < count; ++k) {
      const int binding = ELF64_ST_BIND(symbols[k].st_info);
      if (symbols[k].st_shndx == SHN_UNDEF || (binding != STB_GLOBAL && binding != STB_WEAK))
        continue;
      const char* name = names + symbols[k].st_name;
      if (is_export_name(name)) continue;
      if (!strcmp(name, "_init") || !strcmp(name, "_fini") || !strcmp(name, "_edata") ||
          !strcmp(name, "_end") || !strcmp(name, "__bss_start"))
        continue;
      fprintf(stderr, "FAILED: also exported: %s\n", name);
      ++foreign;
    }
  }
  free(image);
  return foreign;
}

struct colour_case {
  const char* line;
  const char* expected;
};

static const struct colour_case colour_cases[] = {
    {"signal a : in bit; -- x", "\\b signal\\b0  a : \\b in\\b0  bit; \\cf7 -- x\\cf0 "},
    {"ENTITY", "\\b ENTITY\\b0 "},
    {"a > b then", "a > b then"},
    {"x1", "x1"},
    {"a -", "a -"},
    {"s <= \"{x}\";", "s <= \"\\{x\\}\";"},
    {"end; -- {c:\\x}", "\\b end\\b0 ; \\cf7 -- \\{c:\\\\x\\}\\cf0 "},
};

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: %s LIBRARY [COMPILE-NAME]\n", argv[0]);
    return 2;
  }
  void* lib = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (!lib) {
    fprintf(stderr, "dlopen: %s\n", dlerror());
    return 1;
  }
  for (size_t i = 0; i < sizeof export_names / sizeof export_names[0]; ++i)
    check(dlsym(lib, export_names[i]) != NULL, export_names[i]);

  check(foreign_exports(argv[1]) == 0, "nothing but the fifteen names is exported");

  int32_t (*setup)(void) = (int32_t(*)(void))dlsym(lib, "SetupData");
  char* (*colorize)(const char*) = (char* (*)(const char*))dlsym(lib, "colorize_line");
  void (*compile)(const char*, const char*) =
      (void (*)(const char*, const char*))dlsym(lib, "compile_file");
  void (*watch)(void) = (void (*)(void))dlsym(lib, "init_watch_signals");
  int32_t (*entity)(void**) = (int32_t(*)(void**))dlsym(lib, "get_entity_info");
  void (*stop)(void) = (void (*)(void))dlsym(lib, "__trace_stop");
  if (failures) return 1;

  /* Before SetupData the other exports do nothing, and colouring works. */
  compile("missing.vh_", "early.vhd");
  watch();
  stop();
  void* early = &failures;
  check(entity(&early) == 0 && early == NULL, "get_entity_info before SetupData");

  char* before = colorize("begin");
  check(before && strcmp(before, "\\b begin\\b0 ") == 0, "colorize_line before SetupData");
  free(before);

  check(setup() == 1, "SetupData answers 1");
  watch(); /* before any simulation: its list exists already */
  check(setup() == 1, "SetupData answers 1 again");
  watch();

  for (size_t i = 0; i < sizeof colour_cases / sizeof colour_cases[0]; ++i) {
    char* text = colorize(colour_cases[i].line);
    if (!text || strcmp(text, colour_cases[i].expected) != 0) {
      fprintf(stderr, "FAILED: colorize_line(%s) gave %s\n", colour_cases[i].line,
              text ? text : "(null)");
      ++failures;
    }
    free(text);
  }
  char* empty1 = colorize("");
  char* empty2 = colorize(NULL);
  check(empty1 && empty1[0] == '\0' && empty1 == empty2, "one constant empty text");

  if (argc > 2) compile("missing.vh_", argv[2]);

  void* data = &failures;
  check(entity(&data) == 0 && data == NULL, "get_entity_info without a design");
  stop();

  check(dlclose(lib) == 0, "dlclose");
  return failures ? 1 : 0;
}
