// Time from an Enter (or an export) that finds no office running until the
// office it starts answers, when the office starts for the first time with
// a new profile (as for a new user: it sets the profile up, then starts
// once more), and until its first new document is open. With `offices`
// above 1 that many start at once, as on a busy machine.
//   office_cold_start_bench [offices]
#include "office.h"
#include "test_office.h"

#include <com/sun/star/util/XCloseable.hpp>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace css = com::sun::star;
using Seconds = std::chrono::duration<double>;

struct Start {
  double answered = -1, documentOpen = -1;
  std::string failure;
};

Start ColdStart(int n) {
  testutil::TempDir profile;
  automation::office::Settings settings;
  settings.pipeName = "varunel_cold_start_" + std::to_string(::getpid()) + "_" + std::to_string(n);
  // The start command of the programs, on a profile not made yet.
  settings.startCommand += " -env:UserInstallation=file://" + profile.path.string();
  Start start;
  const auto pressed = std::chrono::steady_clock::now();
  std::shared_ptr<automation::office::Connection> office;
  try {
    office = Layer().connect(settings);
    start.answered = Seconds(std::chrono::steady_clock::now() - pressed).count();
    office->Call([&] {
      css::uno::Sequence<css::beans::PropertyValue> hidden(1);
      hidden.getArray()[0].Name = "Hidden";
      hidden.getArray()[0].Value <<= true;
      css::uno::Reference<css::util::XCloseable>(
          css::uno::Reference<css::frame::XComponentLoader>(office->Desktop(), css::uno::UNO_QUERY_THROW)
              ->loadComponentFromURL("private:factory/swriter", "_blank", 0, hidden),
          css::uno::UNO_QUERY_THROW)
          ->close(true);
    });
    start.documentOpen = Seconds(std::chrono::steady_clock::now() - pressed).count();
  } catch (const automation::EOleError& e) {
    start.failure = e.what();
  }
  // Whatever came up is closed again; one still starting then is no longer waited for.
  try {
    if (!office) office = Layer().connect(settings);
    office->Call([&] { office->Desktop()->terminate(); });
  } catch (const automation::EOleError&) {
  }
  return start;
}

}  // namespace

int main(int argc, char** argv) {
  const int offices = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 1;
  std::vector<Start> starts(static_cast<size_t>(offices));
  std::vector<std::thread> threads;
  for (int i = 0; i < offices; ++i) threads.emplace_back([&starts, i] { starts[static_cast<size_t>(i)] = ColdStart(i); });
  for (auto& t : threads) t.join();
  int failed = 0;
  for (const Start& s : starts) {
    if (!s.failure.empty()) {
      std::printf("not reached: %s\n", s.failure.c_str());
      ++failed;
    } else {
      std::printf("answered after %5.1f s, first document open after %5.1f s\n", s.answered, s.documentOpen);
    }
  }
  return failed == 0 ? 0 : 1;
}
