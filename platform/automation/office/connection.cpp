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

Connection::Connection(const Settings& settings) : settings_(settings) {}

Connection::~Connection() { DropBridge(); }

// A call still waiting on a hung office keeps its bridge; it ends when the
// office answers or goes away.
void Connection::DropBridge() {
  Reference<css::lang::XComponent> bridge;
  {
    std::lock_guard lock(mutex_);
    bridge = std::move(bridge_);
    bridge_.clear();
    desktop_.clear();
  }
  if (!bridge.is() || state_ == State::Unlinked) return;
  try {
    bridge->dispose();
  } catch (const css::uno::Exception&) {
  }
}

bool Connection::Link() {
  Reference<css::uno::XComponentContext> local;
  try {
    local = LocalContext();
  } catch (const css::uno::Exception& e) {
    RaiseFrom(e);
  } catch (const cppu::BootstrapException& e) {
    throw EOleError(Utf8(e.getMessage()));
  }
  Reference<css::bridge::XBridge> bridge;
  try {
    Reference<css::connection::XConnection> pipe =
        css::connection::Connector::create(local)->connect(PipeDescription(settings_));
    bridge = css::bridge::BridgeFactory::create(local)->createBridge("", "urp", pipe, nullptr);
  } catch (const css::connection::NoConnectException&) {
    return false;
  } catch (const css::uno::Exception& e) {
    RaiseFrom(e);
  }
  DropBridge();
  {
    std::lock_guard lock(mutex_);
    bridge_.set(bridge, css::uno::UNO_QUERY_THROW);
  }
  state_ = State::Live;
  try {
    auto desktop = Call([bridge] {
      Reference<css::uno::XComponentContext> remote(bridge->getInstance("StarOffice.ComponentContext"),
                                                    css::uno::UNO_QUERY_THROW);
      return css::frame::Desktop::create(remote);
    });
    std::lock_guard lock(mutex_);
    desktop_ = desktop;
  } catch (const EOleError&) {
    if (state_ == State::Live) state_ = State::Unlinked;
    throw;
  }
  return true;
}

std::shared_ptr<Connection> Connection::Open(const Settings& settings) {
  std::shared_ptr<Connection> c(new Connection(settings));
  if (c->Link()) return c;
  const std::string command = settings.startCommand + " --accept=" + Utf8(PipeDescription(settings)) + ";urp;";
  process::Process started = process::Process::Start(command, "", false);
  if (!started.Valid()) throw EOleError("Server execution failed");
  // A starting office may take the pipe before it answers on it.
  const auto until = std::chrono::steady_clock::now() + settings.startWait;
  std::string failure = "Server execution failed";
  while (std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    try {
      if (c->Link()) return c;
    } catch (const EOleError& e) {
      failure = e.what();
    }
  }
  throw EOleError(failure);
}

}  // namespace automation::office
