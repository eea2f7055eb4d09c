// One connection to the office over UNO: a bridge through the named pipe,
// the office's desktop, and calls bounded in time.
#pragma once

#include "automation.h"
#include "office.h"

#include <com/sun/star/connection/XConnection.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/uno/Exception.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include <chrono>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace automation::office {

namespace css = com::sun::star;
using css::uno::Reference;

std::string Utf8(const rtl::OUString& text);
rtl::OUString ToOUString(const std::u16string& text);
std::u16string ToU16(const rtl::OUString& text);

class Connection {
 public:
  // Connects through the settings' pipe; when nothing answers, starts the
  // office with the pipe's --accept argument and tries again until the
  // start wait is over. Raises EOleError when the office cannot be reached.
  static std::shared_ptr<Connection> Open(const Settings& settings);
  ~Connection();  // drops the bridge; the office goes on
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Runs `call` (UNO calls into the office) on a thread of its own and
  // waits for it the call wait at most; `call` must own what it uses (it
  // may outlive the wait). Office exceptions become EOleError with their
  // message. A call that does not return in time is left behind with its
  // bridge, and the next call links to the office anew, through the pipe
  // only. Once the office has closed the connection stays dead, as one to a
  // closed application does.
  template <class F>
  auto Call(F call) -> decltype(call());

  Reference<css::frame::XDesktop2> Desktop() const {
    std::lock_guard lock(mutex_);
    return desktop_;
  }

 private:
  explicit Connection(const Settings& settings);
  // Builds the bridge through the pipe; false when nothing answers on it.
  bool Link();
  void DropBridge();

  enum class State { Live, Unlinked, Closed };
  Settings settings_;
  State state_ = State::Unlinked;
  mutable std::mutex mutex_;  // calls read the desktop on their own threads
  Reference<css::lang::XComponent> bridge_;
  Reference<css::frame::XDesktop2> desktop_;
};

[[noreturn]] void RaiseFrom(const css::uno::Exception& e);

template <class F>
auto Connection::Call(F call) -> decltype(call()) {
  using Result = decltype(call());
  if (state_ == State::Closed) throw EOleError("The office has closed.");
  if (state_ == State::Unlinked && !Link()) throw EOleError("The office does not answer.");
  auto task = std::make_shared<std::packaged_task<Result()>>(std::move(call));
  std::future<Result> result = task->get_future();
  std::thread([task] { (*task)(); }).detach();
  if (result.wait_for(settings_.callWait) != std::future_status::ready) {
    state_ = State::Unlinked;
    DropBridge();
    throw EOleError("The office did not answer in time.");
  }
  try {
    return result.get();
  } catch (const css::lang::DisposedException&) {
    state_ = State::Closed;
    throw EOleError("The office has closed.");
  } catch (const css::uno::Exception& e) {
    RaiseFrom(e);
  }
}

}  // namespace automation::office
