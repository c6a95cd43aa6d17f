#include "pakro/shell/output_commands.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace pakro {

std::string OutputBaseName(std::string_view caption) {
  const std::size_t slash = caption.find_last_of('/');
  const std::size_t partStart = slash == std::string_view::npos ? 0 : slash + 1;
  const std::size_t dot = caption.find('.', partStart);
  return std::string(caption.substr(0, dot));
}

std::string CatalogCompilerDir(const std::string& exeDir) { return exeDir + "CLCC"; }

namespace {

// The path of the batch file as the child sees it from its working directory.
std::string PathFrom(const std::string& directory, const std::string& file) {
  if (!file.empty() && file.front() == '/') return file;
  if (directory.empty()) return file;
  return directory.back() == '/' ? directory + file : directory + "/" + file;
}

}  // namespace

int RunAndWait(const std::string& batchFile, const std::vector<std::string>& arguments,
               const std::string& workingDirectory) {
  // The shell would start and fail on a missing script: it counts as not started.
  if (batchFile.empty() || ::access(PathFrom(workingDirectory, batchFile).c_str(), R_OK) != 0) return -1;

  // Everything the child needs is made before the fork: it only changes its
  // directory and replaces itself.
  std::vector<std::string> words{"sh", batchFile};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const char* directory = workingDirectory.empty() ? nullptr : workingDirectory.c_str();

  // A pipe that closes on exec tells whether the child got as far as the shell.
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return -1;
  const pid_t pid = ::fork();
  if (pid < 0) {
    ::close(report[0]);
    ::close(report[1]);
    return -1;
  }
  if (pid == 0) {
    ::close(report[0]);
    // The batch file inherits none of this program's open files.
    ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
    if (directory == nullptr || ::chdir(directory) == 0) ::execv("/bin/sh", argv.data());
    const int error = errno;
    [[maybe_unused]] ssize_t ignored = ::write(report[1], &error, sizeof error);
    ::_exit(127);
  }
  ::close(report[1]);
  int childError = 0;
  ssize_t got;
  do {
    got = ::read(report[0], &childError, sizeof childError);
  } while (got < 0 && errno == EINTR);
  ::close(report[0]);

  int status = 0;
  pid_t waited;
  do {
    waited = ::waitpid(pid, &status, 0);
  } while (waited < 0 && errno == EINTR);
  if (got > 0 || waited < 0) return -1;
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

}  // namespace pakro
