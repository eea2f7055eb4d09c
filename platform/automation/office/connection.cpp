#include "connection.h"

#include "process.h"

#include <com/sun/star/bridge/BridgeFactory.hpp>
#include <com/sun/star/bridge/XBridge.hpp>
#include <com/sun/star/connection/Connector.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <rtl/bootstrap.hxx>

namespace automation::office {

using rtl::OUString;

std::string Utf8(const OUString& text) { return rtl::OUStringToOString(text, RTL_TEXTENCODING_UTF8).getStr(); }

OUString ToOUString(const std::u16string& text) {
  return OUString(reinterpret_cast<const sal_Unicode*>(text.data()), static_cast<sal_Int32>(text.size()));
}

std::u16string ToU16(const OUString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.getStr()), static_cast<size_t>(text.getLength()));
}

void RaiseFrom(const css::uno::Exception& e) {
  std::string message = Utf8(e.Message);
  throw EOleError(message.empty() ? std::string("The office refused the call.") : message);
}

// --- watchdog -------------------------------------------------------------------

Watchdog::Watchdog(std::function<void()> expire) : expire_(std::move(expire)), thread_([this] { Run(); }) {}

Watchdog::~Watchdog() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void Watchdog::Arm(std::chrono::steady_clock::duration within) {
  {
    std::lock_guard lock(mutex_);
    deadline_ = std::chrono::steady_clock::now() + within;
  }
  wake_.notify_all();
}

void Watchdog::Disarm() {
  std::lock_guard lock(mutex_);
  deadline_.reset();
}

void Watchdog::Run() {
  std::unique_lock lock(mutex_);
  while (!stop_) {
    if (!deadline_) {
      wake_.wait(lock);
    } else if (std::chrono::steady_clock::now() < *deadline_) {
      wake_.wait_until(lock, *deadline_);
    } else {
      deadline_.reset();
      fired_ = true;
      lock.unlock();
      expire_();
      lock.lock();
    }
  }
}

// --- connection -----------------------------------------------------------------

namespace {

// The component context of this process: just enough of UNO to build a
// bridge, read from the office's own bootstrap files and type libraries.
// Made once and kept for the life of the process.
Reference<css::uno::XComponentContext> LocalContext() {
  static const Reference<css::uno::XComponentContext> context = [] {
    const OUString program = OUString::fromUtf8(VARUNEL_OFFICE_PROGRAM);
    rtl::Bootstrap::set("URE_BOOTSTRAP", "vnd.sun.star.pathname:" + program + "/fundamentalrc");
    return cppu::defaultBootstrap_InitialComponentContext("file://" + program + "/unorc");
  }();
  return context;
}

OUString PipeDescription(const Settings& settings) {
  return "pipe,name=" + OUString::fromUtf8(rtl::OString(settings.pipeName.c_str()));
}

}  // namespace

Connection::Connection(const Settings& settings, Reference<css::lang::XComponent> bridge)
    : callWait_(settings.callWait), bridge_(std::move(bridge)), watchdog_([this] {
        try {
          bridge_->dispose();
        } catch (const css::uno::Exception&) {
        }
      }) {}

Connection::~Connection() {
  try {
    bridge_->dispose();
  } catch (const css::uno::Exception&) {
  }
}

std::shared_ptr<Connection> Connection::TryConnect(const Settings& settings) {
  Reference<css::uno::XComponentContext> local;
  try {
    local = LocalContext();
  } catch (const css::uno::Exception& e) {
    RaiseFrom(e);
  } catch (const cppu::BootstrapException& e) {
    throw EOleError(Utf8(e.getMessage()));
  }
  Reference<css::connection::XConnection> pipe;
  try {
    pipe = css::connection::Connector::create(local)->connect(PipeDescription(settings));
  } catch (const css::connection::NoConnectException&) {
    return nullptr;
  } catch (const css::uno::Exception& e) {
    RaiseFrom(e);
  }
  Reference<css::bridge::XBridge> bridge;
  try {
    bridge = css::bridge::BridgeFactory::create(local)->createBridge("", "urp", pipe, nullptr);
  } catch (const css::uno::Exception& e) {
    RaiseFrom(e);
  }
  std::shared_ptr<Connection> c(new Connection(settings, Reference<css::lang::XComponent>(bridge, css::uno::UNO_QUERY_THROW)));
  c->Call([&] {
    c->remote_.set(bridge->getInstance("StarOffice.ComponentContext"), css::uno::UNO_QUERY_THROW);
    c->desktop_ = css::frame::Desktop::create(c->remote_);
  });
  return c;
}

std::shared_ptr<Connection> Connection::Open(const Settings& settings) {
  if (auto c = TryConnect(settings)) return c;
  const std::string command = settings.startCommand + " --accept=" + Utf8(PipeDescription(settings)) + ";urp;";
  process::Process started = process::Process::Start(command, "", false);
  if (!started.Valid()) throw EOleError("Server execution failed");
  // A starting office may take the pipe before it answers on it.
  const auto until = std::chrono::steady_clock::now() + settings.startWait;
  std::string failure = "Server execution failed";
  while (std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    try {
      if (auto c = TryConnect(settings)) return c;
    } catch (const EOleError& e) {
      failure = e.what();
    }
  }
  throw EOleError(failure);
}

}  // namespace automation::office
