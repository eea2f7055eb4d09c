#include "connection.h"

#include "process.h"

#include <com/sun/star/bridge/BridgeFactory.hpp>
#include <com/sun/star/bridge/XBridge.hpp>
#include <com/sun/star/connection/Connector.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/lang/XEventListener.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <cppuhelper/implbase1.hxx>
#include <rtl/bootstrap.hxx>

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <tuple>

namespace automation::office {

using rtl::OUString;

// --- connection -----------------------------------------------------------------

namespace {

// The component context of this process: just enough of UNO to build a
// bridge, read from the office's own bootstrap files and type libraries.
// Made once and kept for the life of the process.
Reference<css::uno::XComponentContext> LocalContext() {
  static const Reference<css::uno::XComponentContext> context = [] {
    // The bridges write to the office's pipe with plain sends: a write to an
    // office that has just quit would end this process with SIGPIPE, and the
    // text typed with it. Unless the program handles the signal itself, the
    // write fails instead and the call reports it.
    struct sigaction current {};
    if (::sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL &&
        !(current.sa_flags & SA_SIGINFO))
      ::signal(SIGPIPE, SIG_IGN);
    const OUString program = OUString::fromUtf8(VARUNEL_OFFICE_PROGRAM);
    rtl::Bootstrap::set("URE_BOOTSTRAP", "vnd.sun.star.pathname:" + program + "/fundamentalrc");
    return cppu::defaultBootstrap_InitialComponentContext("file://" + program + "/unorc");
  }();
  return context;
}

OUString PipeDescription(const Settings& settings) {
  return "pipe,name=" + OUString::fromUtf8(rtl::OString(settings.pipeName.c_str()));
}

// The office's pipe is a socket in the shared temporary folder, named after
// the user's id and the pipe's name. Any user may make a socket of that name
// first; linking to it would send the text to them. Raises unless the
// socket is this user's; with `linked` false, none at all is fine too
// (nothing answers yet, or the office we start makes it).
std::string PipePath(const Settings& settings) {
  const std::string folder = ::access("/tmp", W_OK) == 0 ? "/tmp" : "/var/tmp";
  return folder + "/OSL_PIPE_" + std::to_string(::getuid()) + "_" + settings.pipeName;
}

void CheckPipeIsOurs(const Settings& settings, bool linked) {
  const uid_t user = ::getuid();
  const std::string socket = PipePath(settings);
  struct stat st {};
  if (::lstat(socket.c_str(), &st) != 0) {
    if (linked) throw EOleError("The office's pipe " + socket + " went away; it is not used.");
    return;
  }
  if (!S_ISSOCK(st.st_mode))
    throw EOleError("The office's pipe " + socket + " is not a socket; it is not used.");
  if (st.st_uid != user)
    throw EOleError("The office's pipe " + socket + " belongs to user " + std::to_string(st.st_uid) +
                    ", not to this user (" + std::to_string(user) + "); it is not used.");
}

// Marks the link gone when the office closes its bridge.
class GoneListener : public cppu::WeakImplHelper1<css::lang::XEventListener> {
 public:
  explicit GoneListener(std::shared_ptr<std::atomic<bool>> gone) : gone_(std::move(gone)) {}
  void SAL_CALL disposing(const css::lang::EventObject&) override { gone_->store(true); }

 private:
  std::shared_ptr<std::atomic<bool>> gone_;
};

// The processor time used so far by the live processes of a process group,
// and by the children they have waited for, in clock ticks.
unsigned long long GroupProcessorTime(pid_t group) {
  unsigned long long ticks = 0;
  DIR* proc = ::opendir("/proc");
  if (!proc) return 0;
  while (const dirent* entry = ::readdir(proc)) {
    if (entry->d_name[0] < '1' || entry->d_name[0] > '9') continue;
    const std::string file = std::string("/proc/") + entry->d_name + "/stat";
    FILE* stat = std::fopen(file.c_str(), "r");
    if (!stat) continue;  // ended meanwhile
    char line[1024];
    const size_t length = std::fread(line, 1, sizeof line - 1, stat);
    std::fclose(stat);
    line[length] = '\0';
    // The program's name, in parentheses, may hold anything; the fields after it do not.
    const char* fields = std::strrchr(line, ')');
    long long pgrp = 0;
    unsigned long long user = 0, system = 0, childUser = 0, childSystem = 0;
    if (fields && std::sscanf(fields + 1, " %*c %*d %lld %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu %llu %llu", &pgrp,
                              &user, &system, &childUser, &childSystem) == 5 &&
        pgrp == group)
      ticks += user + system + childUser + childSystem;
  }
  ::closedir(proc);
  return ticks;
}

// Whether an office started here is still on its way up: tells whether its
// process group has used processor time lately.
class Starting {
 public:
  explicit Starting(pid_t group) : group_(group), used_(GroupProcessorTime(group)) {}
  bool Working() {
    const auto now = std::chrono::steady_clock::now();
    if (const unsigned long long used = GroupProcessorTime(group_); used != used_) {
      used_ = used;
      lastWork_ = now;
    }
    return now - lastWork_ < kQuiet;
  }

 private:
  // A start that works shows it within this time (reading the disk counts
  // for nothing, so a cold disk is given some).
  static constexpr std::chrono::seconds kQuiet{10};
  pid_t group_;
  unsigned long long used_;
  std::chrono::steady_clock::time_point lastWork_ = std::chrono::steady_clock::now();
};

std::atomic<void (*)()> sendingHook{nullptr};

}  // namespace

void Connection::Sending() {
  if (auto hook = sendingHook.load()) hook();
}

void Connection::SetSendingHook(void (*hook)()) { sendingHook.store(hook); }

namespace {

std::mutex doubtMutex;
std::map<std::string, std::shared_ptr<Delivery>>& Doubts() {
  static auto& doubts = *new std::map<std::string, std::shared_ptr<Delivery>>;
  return doubts;
}

}  // namespace

std::shared_ptr<Delivery> Connection::InDoubt(const std::string& pipe) {
  std::lock_guard lock(doubtMutex);
  auto it = Doubts().find(pipe);
  return it == Doubts().end() ? nullptr : it->second;
}

void Connection::Doubt(const std::string& pipe, std::shared_ptr<Delivery> delivery) {
  std::lock_guard lock(doubtMutex);
  Doubts()[pipe] = std::move(delivery);
}

void Connection::AwaitDoubt(const Settings& settings) {
  if (auto doubt = InDoubt(settings.pipeName); doubt && !doubt->Ended(settings.callWait))
    throw EOleError("The office did not answer in time.");
}

std::optional<std::u16string> Connection::Settle(Delivery::Kind kind, const std::u16string& text) {
  auto doubt = InDoubt(settings_.pipeName);
  if (!doubt) return text;
  if (!doubt->Ended(settings_.callWait)) throw EOleError("The office did not answer in time.");
  {
    std::lock_guard lock(doubtMutex);
    if (auto it = Doubts().find(settings_.pipeName); it != Doubts().end() && it->second == doubt) Doubts().erase(it);
  }
  if (!doubt->Typed() || doubt->kind != kind || !text.starts_with(doubt->text)) return text;
  if (text.size() == doubt->text.size()) return std::nullopt;
  return text.substr(doubt->text.size());
}

std::shared_ptr<const Connection::Link> Connection::LinkTo(const Settings& settings) {
  // One link per pipe, for the life of the process: never destroyed, as
  // releasing the office's objects while the process ends would call into
  // a bridge that is going away.
  static std::mutex mutex;
  static auto& links = *new std::map<std::string, std::shared_ptr<const Link>>;
  std::lock_guard lock(mutex);
  // A link is gone once the office has closed its bridge, and once it has
  // taken its pipe away: an office that quits does that first, and the
  // bridge tells its end a moment later, after calls already fail on it.
  struct stat pipe {};
  if (auto it = links.find(settings.pipeName);
      it != links.end() && !it->second->gone->load() && ::lstat(PipePath(settings).c_str(), &pipe) == 0)
    return it->second;

  Reference<css::uno::XComponentContext> local;
  try {
    local = LocalContext();
  } catch (const css::uno::Exception& e) {
    RaiseFrom(e);
  } catch (const cppu::BootstrapException& e) {
    throw EOleError(Utf8(e.getMessage()));
  }
  CheckPipeIsOurs(settings, false);
  Reference<css::bridge::XBridge> bridge;
  try {
    Reference<css::connection::XConnection> pipe =
        css::connection::Connector::create(local)->connect(PipeDescription(settings));
    // A socket made by someone else between the check and the connect.
    try {
      CheckPipeIsOurs(settings, true);
    } catch (const EOleError&) {
      pipe->close();
      throw;
    }
    bridge = css::bridge::BridgeFactory::create(local)->createBridge("", "urp", pipe, nullptr);
  } catch (const css::connection::NoConnectException&) {
    return nullptr;
  } catch (const css::uno::Exception& e) {
    RaiseFrom(e);
  }
  auto link = std::make_shared<Link>();
  link->gone = std::make_shared<std::atomic<bool>>(false);
  link->bridge.set(bridge, css::uno::UNO_QUERY_THROW);
  link->bridge->addEventListener(new GoneListener(link->gone));
  std::tie(link->context, link->desktop) = Bounded(settings.callWait, [bridge] {
    Reference<css::uno::XComponentContext> remote(bridge->getInstance("StarOffice.ComponentContext"),
                                                  css::uno::UNO_QUERY_THROW);
    return std::pair(remote, css::frame::Desktop::create(remote));
  });
  links[settings.pipeName] = link;
  return link;
}

std::shared_ptr<Connection> Connection::Open(const Settings& settings) {
  if (auto link = LinkTo(settings)) {
    AwaitDoubt(settings);
    return std::shared_ptr<Connection>(new Connection(settings, link));
  }
  const std::string command = settings.startCommand + " --accept=" + Utf8(PipeDescription(settings)) + ";urp;";
  process::Process started = process::Process::Start(command, "", false);
  if (!started.Valid()) throw EOleError("Server execution failed");
  // A starting office may take the pipe before it answers on it. The start
  // wait is drawn out while the office keeps working at its start: its first
  // start with a new profile sets the profile up and starts once more.
  const auto start = std::chrono::steady_clock::now();
  Starting office(static_cast<pid_t>(started.Id()));
  auto waiting = [&] {
    const bool working = office.Working();  // followed all along
    const auto waited = std::chrono::steady_clock::now() - start;
    return waited < settings.startLimit && (waited < settings.startWait || working);
  };
  std::string failure = "Server execution failed";
  while (waiting()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    CheckPipeIsOurs(settings, false);
    try {
      if (auto link = LinkTo(settings)) return std::shared_ptr<Connection>(new Connection(settings, link));
    } catch (const EOleError& e) {
      failure = e.what();
    }
  }
  throw EOleError(failure);
}

}  // namespace automation::office
