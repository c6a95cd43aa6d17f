// Loads a shared library the way a host does and looks up every name of its
// exports list. Exits non-zero, naming the culprit, on any failure.
#include <dlfcn.h>

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s LIBRARY EXPORTS-LIST\n", argv[0]);
    return 2;
  }
  void* lib = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (!lib) {
    std::fprintf(stderr, "dlopen failed: %s\n", dlerror());
    return 1;
  }
  std::ifstream list(argv[2]);
  if (!list) {
    std::fprintf(stderr, "cannot read %s\n", argv[2]);
    return 1;
  }
  int found = 0, missing = 0;
  std::string line;
  while (std::getline(list, line)) {
    line = line.substr(0, line.find('#'));
    const auto begin = line.find_first_not_of(" \t\r");
    if (begin == std::string::npos) continue;
    const std::string name = line.substr(begin, line.find_first_of(" \t\r", begin) - begin);
    if (dlsym(lib, name.c_str())) {
      ++found;
    } else {
      std::fprintf(stderr, "missing export: %s\n", name.c_str());
      ++missing;
    }
  }
  if (dlclose(lib) != 0) {
    std::fprintf(stderr, "dlclose failed: %s\n", dlerror());
    return 1;
  }
  std::printf("%s: loaded, %d exports found\n", argv[1], found);
  return missing == 0 ? 0 : 1;
}
