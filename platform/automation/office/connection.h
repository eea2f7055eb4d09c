// A connection to the office over UNO: a bridge through the named pipe, the
// office's desktop, and calls bounded in time.
//
// The UNO runtime shares the proxies of an office's objects between all
// bridges of this process to that office: a second bridge hands out the
// first one's proxies, and disposing a bridge breaks them for every
// connection. So one bridge per pipe is kept for the life of the office and
// shared by the connections; it is never disposed from here, and a new one
// is made only once the office has closed it.
#pragma once

#include "automation.h"
#include "office.h"

#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/uno/Exception.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <thread>

namespace automation::office {

namespace css = com::sun::star;
using css::uno::Reference;

// Header-only, as is all but opening a connection: the tests use the office
// layer's own connections through its library.
inline std::string Utf8(const rtl::OUString& text) {
  return rtl::OUStringToOString(text, RTL_TEXTENCODING_UTF8).getStr();
}
inline rtl::OUString ToOUString(const std::u16string& text) {
  return rtl::OUString(reinterpret_cast<const sal_Unicode*>(text.data()), static_cast<sal_Int32>(text.size()));
}
inline std::u16string ToU16(const rtl::OUString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.getStr()), static_cast<size_t>(text.getLength()));
}

[[noreturn]] inline void RaiseFrom(const css::uno::Exception& e) {
  std::string message = Utf8(e.Message);
  throw EOleError(message.empty() ? std::string("The office refused the call.") : message);
}

class Connection {
 public:
  // Connects through the settings' pipe (over the bridge already there,
  // while the office keeps it open); when nothing answers, starts the
  // office with the pipe's --accept argument and tries again until the
  // start wait is over. Raises EOleError when the office cannot be reached,
  // and when the pipe is a socket that is not this user's (whoever made it
  // would receive the text).
  static std::shared_ptr<Connection> Open(const Settings& settings);

  // Runs `call` (UNO calls into the office) on a thread of its own and
  // waits for it the call wait at most; `call` must own what it uses (it
  // may outlive the wait). Office exceptions become EOleError with their
  // message. A call that does not return in time is given up: it is left
  // behind, and GoOn() stops it before its next change.
  template <class F>
  auto Call(F call) -> decltype(call()) {
    return Bounded(settings_.callWait, std::move(call));
  }

  // Inside a call, before each change it makes to a document: raises
  // EOleError when the caller has given the call up, so that an office
  // that answers again late gets no further change from it.
  static void GoOn() {
    if (givenUp_ && givenUp_->load()) throw EOleError("The office did not answer in time.");
  }

  Reference<css::frame::XDesktop2> Desktop() const { return link_->desktop; }
  // The office's component context, for its services.
  Reference<css::uno::XComponentContext> Context() const { return link_->context; }

 private:
  // The bridge through one pipe and what it reached first.
  struct Link {
    Reference<css::lang::XComponent> bridge;
    Reference<css::uno::XComponentContext> context;
    Reference<css::frame::XDesktop2> desktop;
    std::shared_ptr<std::atomic<bool>> gone;  // the office has closed the bridge
  };

  Connection(const Settings& settings, std::shared_ptr<const Link> link)
      : settings_(settings), link_(std::move(link)) {}

  template <class F>
  static auto Bounded(std::chrono::milliseconds wait, F call) -> decltype(call());
  // The pipe's bridge, made when there is none yet or the office has closed
  // it; null when nothing answers on the pipe.
  static std::shared_ptr<const Link> LinkTo(const Settings& settings);

  // The running call's given-up flag (null outside calls).
  static inline thread_local const std::atomic<bool>* givenUp_ = nullptr;

  Settings settings_;
  std::shared_ptr<const Link> link_;
};

template <class F>
auto Connection::Bounded(std::chrono::milliseconds wait, F call) -> decltype(call()) {
  using Result = decltype(call());
  auto task = std::make_shared<std::packaged_task<Result()>>(std::move(call));
  auto givenUp = std::make_shared<std::atomic<bool>>(false);
  std::future<Result> result = task->get_future();
  std::thread([task, givenUp] {
    givenUp_ = givenUp.get();
    (*task)();
  }).detach();
  if (result.wait_for(wait) != std::future_status::ready) {
    givenUp->store(true);
    throw EOleError("The office did not answer in time.");
  }
  try {
    return result.get();
  } catch (const css::uno::Exception& e) {
    RaiseFrom(e);
  }
}

}  // namespace automation::office
