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
#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
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

// One typing step's text on its way into a document: the whole text of the
// Enter, the kind of document, and how far it got, as its worker thread
// finds: not sent yet (or on its way), landed (the change that types it has
// come back from the office), or not landed (the step ended before that).
class Delivery {
 public:
  enum class Kind { Writer, Impress, Calc };
  Delivery(Kind kind, std::u16string text) : kind(kind), text(std::move(text)) {}
  const Kind kind;
  const std::u16string text;

  // On the worker thread. `selected`: the text is left selected, so that
  // typing it again replaces it.
  void Land(bool selected) {
    std::lock_guard lock(mutex_);
    landed_ = true;
    selected_ = selected;
  }
  bool Landed() const {
    std::lock_guard lock(mutex_);
    return landed_;
  }
  // On the worker thread, when the step has ended, however it ended.
  void Finish() {
    {
      std::lock_guard lock(mutex_);
      finished_ = true;
    }
    ended_.notify_all();
  }
  // Waits for the step's end, `wait` at most; false when it has not ended.
  bool Ended(std::chrono::milliseconds wait) {
    std::unique_lock lock(mutex_);
    return ended_.wait_for(lock, wait, [this] { return finished_; });
  }
  // Once ended: whether the text is in the document and stays there when
  // more text is typed.
  bool Typed() const {
    std::lock_guard lock(mutex_);
    return landed_ && !selected_;
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable ended_;
  bool landed_ = false, selected_ = false, finished_ = false;
};

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

  // A typing step: types `text` into a document of kind `kind` by running
  // `step(rest)` as Call runs a call, `rest` being what of `text` is still to
  // be typed. The typing step given up last on this pipe is settled first:
  // it is waited for, the call wait at most (raising while the office still
  // stalls, and keeping it for the next); when it typed into the same kind
  // of document a text that `text` begins with, only the rest is typed, and
  // nothing at all when that is empty. A step that fails is kept so.
  template <class F>
  void Type(Delivery::Kind kind, const std::u16string& text, F step);

  // Inside a call, before each change it makes to a document: raises
  // EOleError when the caller has given the call up, so that an office
  // that answers again late gets no further change from it; once a typing
  // step's text has landed, the step goes on to its end.
  static void GoOn() {
    if (delivering_ && delivering_->Landed()) return;
    if (givenUp_ && givenUp_->load()) throw EOleError("The office did not answer in time.");
  }
  // Inside a typing step, just before the change that types its text (the
  // tests stop the office here).
  static void Sending();
  // Inside a typing step, once the change that types its text has come
  // back: the text is in the document. `selected`: it is left selected.
  static void Landed(bool selected = false) {
    if (delivering_) delivering_->Land(selected);
  }
  // For the tests: what Sending() calls (null: nothing), on the step's thread.
  static void SetSendingHook(void (*hook)());

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

  // With `delivery`, a typing step's: its thread marks it ended.
  template <class F>
  static auto Bounded(std::chrono::milliseconds wait, F call, std::shared_ptr<Delivery> delivery = nullptr)
      -> decltype(call());
  // The pipe's bridge, made when there is none yet or the office has closed
  // it; null when nothing answers on the pipe.
  static std::shared_ptr<const Link> LinkTo(const Settings& settings);

  // The typing step last given up (or failed) on the pipe, kept until the
  // next one settles it: for the life of the process, as the links are,
  // since the programs drop their connections on every failure.
  static std::shared_ptr<Delivery> InDoubt(const std::string& pipe);
  static void Doubt(const std::string& pipe, std::shared_ptr<Delivery> delivery);
  // Waits for the pipe's typing step in doubt to end (raising when it does
  // not within the call wait), so that what is read next sees its text.
  static void AwaitDoubt(const Settings& settings);
  // What of `text` is still to be typed once that step has ended; none when nothing is.
  std::optional<std::u16string> Settle(Delivery::Kind kind, const std::u16string& text);

  // The running call's given-up flag and typing step (null outside them).
  static inline thread_local const std::atomic<bool>* givenUp_ = nullptr;
  static inline thread_local Delivery* delivering_ = nullptr;

  Settings settings_;
  std::shared_ptr<const Link> link_;
};

template <class F>
auto Connection::Bounded(std::chrono::milliseconds wait, F call, std::shared_ptr<Delivery> delivery)
    -> decltype(call()) {
  using Result = decltype(call());
  auto task = std::make_shared<std::packaged_task<Result()>>(std::move(call));
  auto givenUp = std::make_shared<std::atomic<bool>>(false);
  std::future<Result> result = task->get_future();
  std::thread([task, givenUp, delivery] {
    givenUp_ = givenUp.get();
    delivering_ = delivery.get();
    (*task)();
    if (delivery) delivery->Finish();
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

template <class F>
void Connection::Type(Delivery::Kind kind, const std::u16string& text, F step) {
  const std::optional<std::u16string> rest = Settle(kind, text);
  if (!rest) return;
  auto delivery = std::make_shared<Delivery>(kind, text);
  try {
    Bounded(settings_.callWait, [step = std::move(step), rest = *rest] { step(rest); }, delivery);
  } catch (...) {
    Doubt(settings_.pipeName, std::move(delivery));
    throw;
  }
}

}  // namespace automation::office
