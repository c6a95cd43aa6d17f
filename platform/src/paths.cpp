#include "platform/paths.h"

#include <algorithm>
#include <climits>
#include <unistd.h>

namespace platform {

namespace {
std::size_t lastSeparator(std::string_view path) {
  const auto a = path.rfind('/');
  const auto b = path.rfind('\\');
  if (a == std::string_view::npos) return b;
  if (b == std::string_view::npos) return a;
  return std::max(a, b);
}
}  // namespace

std::string joinPath(std::string_view dir, std::string_view name) {
  std::string out(dir);
  std::string tail(name);
  std::replace(tail.begin(), tail.end(), '\\', kPathSeparator);
  while (!out.empty() && (out.back() == '/' || out.back() == '\\')) out.pop_back();
  std::size_t skip = 0;
  while (skip < tail.size() && tail[skip] == kPathSeparator) ++skip;
  if (!dir.empty()) out += kPathSeparator;
  out += tail.substr(skip);
  return out;
}

std::string directoryOf(std::string_view path) {
  const auto pos = lastSeparator(path);
  return pos == std::string_view::npos ? std::string() : std::string(path.substr(0, pos + 1));
}

std::string fileNameOf(std::string_view path) {
  const auto pos = lastSeparator(path);
  return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::string extensionOf(std::string_view path) {
  const std::string name = fileNameOf(path);
  const auto dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string changeExtension(std::string_view path, std::string_view ext) {
  const std::string oldExt = extensionOf(path);
  std::string out(path.substr(0, path.size() - oldExt.size()));
  out += ext;
  return out;
}

std::string executableDir() {
  char buf[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return "./";
  return directoryOf(std::string_view(buf, std::size_t(n)));
}

}  // namespace platform
