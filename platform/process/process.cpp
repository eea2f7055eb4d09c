#include "process.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace process {
namespace {

// waitpid without blocking: true when `pid` has ended (and is now reaped) or
// is no child of ours any more.
bool ReapIfEnded(int pid) {
  for (;;) {
    int status = 0;
    pid_t r = ::waitpid(pid, &status, WNOHANG);
    if (r == pid) return true;
    if (r == 0) return false;
    if (errno != EINTR) return true;  // ECHILD: reaped elsewhere
  }
}

void ReapBlocking(int pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
}

bool IsFolder(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// `folder`/`name` when `name` has no slash and names an executable file
// there; otherwise empty.
std::string InFolder(const std::string& folder, const std::string& name) {
  if (name.empty() || name.find('/') != std::string::npos || !IsFolder(folder)) return {};
  std::string path = folder;
  if (path.back() != '/') path += '/';
  path += name;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || ::access(path.c_str(), X_OK) != 0) return {};
  return path;
}

// Owns the spawn attributes and file actions for one start.
struct SpawnSetup {
  posix_spawnattr_t attr{};
  posix_spawn_file_actions_t actions{};
  SpawnSetup() {
    posix_spawnattr_init(&attr);
    posix_spawn_file_actions_init(&actions);
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;
};

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> args;
  std::string current;
  bool inWord = false;
  enum { Plain, Single, Double } mode = Plain;
  for (std::size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    switch (mode) {
      case Plain:
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
          if (inWord) args.push_back(std::move(current));
          current.clear();
          inWord = false;
        } else if (c == '\'') {
          mode = Single;
          inWord = true;
        } else if (c == '"') {
          mode = Double;
          inWord = true;
        } else if (c == '\\' && i + 1 < line.size()) {
          // A backslash before a line break joins the lines.
          if (line[++i] != '\n') current += line[i];
          inWord = true;
        } else {
          current += c;
          inWord = true;
        }
        break;
      case Single:
        if (c == '\'')
          mode = Plain;
        else
          current += c;
        break;
      case Double:
        if (c == '"') {
          mode = Plain;
        } else if (c == '\\' && i + 1 < line.size() &&
                   std::string_view("$`\"\\\n").find(line[i + 1]) != std::string_view::npos) {
          if (line[++i] != '\n') current += line[i];
        } else {
          current += c;
        }
        break;
    }
  }
  if (inWord) args.push_back(std::move(current));
  return args;
}

Process::~Process() { Release(); }

Process::Process(Process&& other) noexcept : pid_(other.pid_), ended_(other.ended_) {
  other.pid_ = 0;
  other.ended_ = false;
}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Release();
    pid_ = other.pid_;
    ended_ = other.ended_;
    other.pid_ = 0;
    other.ended_ = false;
  }
  return *this;
}

// A child still running is waited for on a thread of its own, which reaps
// it the moment it ends.
void Process::Release() {
  if (pid_ > 0 && !ended_ && !ReapIfEnded(pid_)) std::thread([pid = pid_] { ReapBlocking(pid); }).detach();
  pid_ = 0;
  ended_ = false;
}

Process Process::Start(std::string_view commandLine, const std::string& folder, bool inheritHandles) {
  std::vector<std::string> args = SplitCommandLine(commandLine);
  if (args.empty()) return {};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  SpawnSetup setup;
  // Its own process group, so that terminating it reaches what it started;
  // default signal handling and no blocked signals, whatever this program's
  // threads have set up.
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setpgroup(&setup.attr, 0);
  posix_spawnattr_setsigmask(&setup.attr, &none);
  posix_spawnattr_setsigdefault(&setup.attr, &all);
  posix_spawnattr_setflags(&setup.attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  if (IsFolder(folder)) posix_spawn_file_actions_addchdir_np(&setup.actions, folder.c_str());
  if (!inheritHandles) posix_spawn_file_actions_addclosefrom_np(&setup.actions, 3);

  // A bare name is looked for in the folder first, then along PATH.
  pid_t pid = 0;
  const std::string inFolder = InFolder(folder, args.front());
  const int failed = inFolder.empty()
                         ? ::posix_spawnp(&pid, argv[0], &setup.actions, &setup.attr, argv.data(), environ)
                         : ::posix_spawn(&pid, inFolder.c_str(), &setup.actions, &setup.attr, argv.data(), environ);
  if (failed != 0 || pid <= 0) return {};
  return Process(pid);
}

bool Process::Running() {
  if (pid_ <= 0 || ended_) return false;
  if (ReapIfEnded(pid_)) ended_ = true;
  return !ended_;
}

void Process::Terminate() {
  if (!Running()) return;
  // Not reaped yet, so the id (and its group id) still belongs to our child.
  if (::kill(-pid_, SIGKILL) != 0) ::kill(pid_, SIGKILL);
  ReapBlocking(pid_);
  ended_ = true;
}

void Process::Wait(const std::function<void()>& pump) {
  while (Running()) {
    if (pump) pump();
    timespec pause{0, 5'000'000};
    ::nanosleep(&pause, nullptr);
  }
}

}  // namespace process
