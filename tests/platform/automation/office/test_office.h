// A headless LibreOffice for the tests: started with a profile of its own
// in a temporary folder, listening on a pipe named after the test process,
// and stopped again when the object goes. Plus what the tests read back.
#pragma once

#include "connection.h"
#include "office.h"
#include "plugin.h"
#include "process.h"
#include "temp_dir.h"
#include "wait_until.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/lang/Locale.hpp>

#include <dlfcn.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <signal.h>
#include <string>
#include <thread>

// The office layer's servers from its library, the one the servers under
// test come from: the tests read the office back through its connections.
inline const automation::office::Servers& Layer() {
  static const automation::office::Servers* servers = [] {
    using automation::office::LayerEntry;
    void* library = ::dlopen(VARUNEL_OFFICE_LAYER_FILE, RTLD_NOW | RTLD_LOCAL);
    auto entry = library ? static_cast<const LayerEntry*>(::dlsym(library, automation::office::kLayerEntry)) : nullptr;
    return entry ? entry->servers : nullptr;
  }();
  if (!servers) std::abort();
  return *servers;
}

struct TestOffice {
  testutil::TempDir profile;
  process::Process office;
  automation::office::Settings settings;
  std::shared_ptr<automation::office::Connection> connection;
  std::string failure;  // why the office could not be reached

  static bool Installed() { return std::system("command -v soffice > /dev/null 2>&1") == 0; }

  TestOffice() {
    using namespace std::chrono_literals;
    settings.pipeName = "varunel_office_test_" + std::to_string(::getpid());
    const std::string command = "soffice --headless --invisible --nologo --norestore --nodefault "
                                "-env:UserInstallation=file://" + profile.path.string();
    settings.startCommand = command;
    settings.callWait = 10s;
    settings.layer = VARUNEL_OFFICE_LAYER_FILE;
    // Started here, so that it can be stopped. Through a shell only to leave
    // the tests' output alone: an office that outlives a crashed test must
    // not hold the test runner's pipes open.
    office = process::Process::Start("/bin/sh -c 'exec " + command + " \"--accept=pipe,name=" + settings.pipeName +
                                         ";urp;\" < /dev/null > /dev/null 2>&1'",
                                     "", false);
    if (!office.Valid()) {
      failure = "soffice did not start";
      return;
    }
    // The backend's own wait for a starting office, with nothing to start.
    automation::office::Settings waitOnly = settings;
    waitOnly.startCommand = "true";
    waitOnly.startWait = 60s;
    try {
      connection = Layer().connect(waitOnly);
    } catch (const automation::EOleError& e) {
      failure = std::string("the office did not answer: ") + e.what();
    }
  }

  ~TestOffice() {
    if (connection) {
      try {
        connection->Call([&] { connection->Desktop()->terminate(); });
      } catch (const automation::EOleError&) {
      }
      connection.reset();
    }
    if (!testutil::WaitUntil([&] { return !office.Running(); }, std::chrono::seconds(10)))
      std::fprintf(stderr, "the office did not end when told to; it is killed\n");
    office.Terminate();
  }

  // Stops the office's processes (as a stall of the office would) and
  // returns once all of them have stopped; false when they did not in time.
  bool Stop() {
    if (::kill(-static_cast<pid_t>(office.Id()), SIGSTOP) != 0) return false;
    return testutil::WaitUntil([&] { return AllStopped(); }, std::chrono::seconds(10));
  }
  void Resume() { ::kill(-static_cast<pid_t>(office.Id()), SIGCONT); }

  // Whether every process of the office's group is stopped.
  bool AllStopped() const {
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
      std::ifstream stat(entry.path() / "stat");
      std::string line;
      if (!std::getline(stat, line) || line.rfind(')') == std::string::npos) continue;
      char state = 0;
      long long parent = 0, group = 0;
      if (std::sscanf(line.c_str() + line.rfind(')') + 1, " %c %lld %lld", &state, &parent, &group) == 3 &&
          group == office.Id() && state != 'T')
        return false;
    }
    return true;
  }

  template <class F>
  auto Call(F&& f) -> decltype(f()) {
    return connection->Call(std::forward<F>(f));
  }

  // A hidden document, or one with a view as the user's has (only that
  // view edits text boxes); call inside Call.
  com::sun::star::uno::Reference<com::sun::star::uno::XInterface> Load(const rtl::OUString& url, bool shown = false) {
    namespace css = com::sun::star;
    css::uno::Sequence<css::beans::PropertyValue> hidden(1);
    hidden.getArray()[0].Name = "Hidden";
    hidden.getArray()[0].Value <<= !shown;
    css::uno::Reference<css::frame::XComponentLoader> loader(connection->Desktop(), css::uno::UNO_QUERY_THROW);
    return css::uno::Reference<css::uno::XInterface>(loader->loadComponentFromURL(url, "_blank", 0, hidden),
                                                     css::uno::UNO_QUERY_THROW);
  }
};

// Face and size of a piece of text, for Western and for complex script,
// and the complex script's language.
struct TextStyle {
  std::u16string face, complexFace;
  float height = 0, complexHeight = 0;
  std::u16string complexLanguage;
  bool operator==(const TextStyle&) const = default;
};

inline void PrintTo(const TextStyle& style, std::ostream* out) {
  auto utf8 = [](const std::u16string& text) {
    return automation::office::Utf8(automation::office::ToOUString(text));
  };
  *out << utf8(style.face) << " " << style.height << " pt, complex " << utf8(style.complexFace) << " "
       << style.complexHeight << " pt " << utf8(style.complexLanguage);
}

// Call inside TestOffice::Call.
inline TextStyle StyleOf(const com::sun::star::uno::Reference<com::sun::star::uno::XInterface>& text) {
  namespace css = com::sun::star;
  css::uno::Reference<css::beans::XPropertySet> p(text, css::uno::UNO_QUERY_THROW);
  using automation::office::ToU16;
  const auto locale = p->getPropertyValue("CharLocaleComplex").get<css::lang::Locale>();
  return {ToU16(p->getPropertyValue("CharFontName").get<rtl::OUString>()),
          ToU16(p->getPropertyValue("CharFontNameComplex").get<rtl::OUString>()),
          p->getPropertyValue("CharHeight").get<float>(), p->getPropertyValue("CharHeightComplex").get<float>(),
          ToU16(locale.Language + "-" + locale.Country)};
}

inline const TextStyle kMapStyle{u"Noto Sans Sinhala", u"Noto Sans Sinhala", 14, 14, u"si-LK"};
