// One connection to the office over UNO: a bridge through the named pipe,
// the office's desktop, and the watchdog that bounds every call.
#pragma once

#include "automation.h"
#include "office.h"

#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/uno/Exception.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace automation::office {

namespace css = com::sun::star;
using css::uno::Reference;

std::string Utf8(const rtl::OUString& text);
rtl::OUString ToOUString(const std::u16string& text);
std::u16string ToU16(const rtl::OUString& text);

// Runs `expire` once a deadline passes, on a thread of its own.
class Watchdog {
 public:
  explicit Watchdog(std::function<void()> expire);
  ~Watchdog();
  void Arm(std::chrono::steady_clock::duration within);
  void Disarm();
  bool Fired() const { return fired_; }

 private:
  void Run();
  std::function<void()> expire_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<std::chrono::steady_clock::time_point> deadline_;
  bool stop_ = false;
  std::atomic<bool> fired_{false};
  std::thread thread_;
};

class Connection {
 public:
  // Connects through the settings' pipe; when nothing answers, starts the
  // office with the pipe's --accept argument and tries again until the
  // start wait is over. Raises EOleError when the office cannot be reached.
  static std::shared_ptr<Connection> Open(const Settings& settings);
  ~Connection();  // drops the bridge; the office goes on
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Runs `call` (UNO calls into the office) within the call wait. Office
  // exceptions become EOleError with their message; a call that does not
  // return in time is cut off with the connection, which stays dead.
  template <class F>
  auto Call(F&& call) -> decltype(call());

  const Reference<css::frame::XDesktop2>& Desktop() const { return desktop_; }
  const Reference<css::uno::XComponentContext>& Context() const { return remote_; }

 private:
  Connection(const Settings& settings, Reference<css::lang::XComponent> bridge);
  static std::shared_ptr<Connection> TryConnect(const Settings& settings);

  std::chrono::milliseconds callWait_;
  Reference<css::lang::XComponent> bridge_;
  Watchdog watchdog_;
  bool dead_ = false;
  Reference<css::uno::XComponentContext> remote_;
  Reference<css::frame::XDesktop2> desktop_;
};

[[noreturn]] void RaiseFrom(const css::uno::Exception& e);

template <class F>
auto Connection::Call(F&& call) -> decltype(call()) {
  if (dead_) throw EOleError("The connection to the office is lost.");
  struct Armed {
    Watchdog& w;
    ~Armed() { w.Disarm(); }
  } armed{watchdog_};
  watchdog_.Arm(callWait_);
  try {
    return call();
  } catch (const css::lang::DisposedException&) {
    dead_ = true;
    throw EOleError(watchdog_.Fired() ? "The office did not answer in time." : "The office has closed.");
  } catch (const css::uno::Exception& e) {
    RaiseFrom(e);
  }
}

}  // namespace automation::office
