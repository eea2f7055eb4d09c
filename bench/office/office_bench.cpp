// Time per Enter of the Word target into a Writer document of 0, 100 K and
// 300 K characters, with the cursor at its end (where a typist adds text):
// the typing tool's output, one step at the view cursor; and, for
// comparison, Word's members one by one, which find places by counting the
// document's characters from its start.
#include "Output.h"
#include "dialogs.h"
#include "test_office.h"

#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextViewCursor.hpp>
#include <com/sun/star/text/XTextViewCursorSupplier.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

namespace css = com::sun::star;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

const std::u16string kWord = u"\u0d85\u0db8\u0dca\u0db8\u0dcf ";  // as the map converts "ammaa "
constexpr char16_t kFace[] = u"Noto Sans Sinhala";

struct Times {
  double median, worst;
};

Times Measure(int enters, const std::function<void()>& enter) {
  std::vector<double> ms;
  for (int i = 0; i < enters + 2; ++i) {
    const auto start = std::chrono::steady_clock::now();
    enter();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    if (i >= 2) ms.push_back(took.count());  // the first two warm the office up
  }
  std::sort(ms.begin(), ms.end());
  return {ms[ms.size() / 2], ms.back()};
}

}  // namespace

int main(int argc, char** argv) {
  const int enters = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 20;
  TestOffice office;
  if (!office.failure.empty()) {
    std::fprintf(stderr, "no office: %s\n", office.failure.c_str());
    return 1;
  }
  if (const std::string why = automation::office::UseOffice(office.settings); !why.empty()) {
    std::fprintf(stderr, "no office layer: %s\n", why.c_str());
    return 1;
  }
  dialogs::Script script;  // a failure would show its box here
  std::printf("%12s %22s %22s\n", "characters", "one step: median/worst", "members: median/worst");
  for (int characters : {0, 100'000, 300'000}) {
    Reference<css::uno::XInterface> document;
    office.Call([&] {
      document = office.Load("private:factory/swriter");
      // Paragraphs of about 80 characters, as typed text has.
      std::u16string line;
      while (line.size() < 80) line += kWord;
      rtl::OUString text;
      for (int n = 0; n < characters; n += static_cast<int>(line.size()) + 1)
        text += automation::office::ToOUString(line) + "\r";
      Reference<css::text::XTextDocument>(document, UNO_QUERY_THROW)->getText()->setString(text);
      Reference<css::text::XTextViewCursorSupplier>(
          Reference<css::frame::XModel>(document, UNO_QUERY_THROW)->getCurrentController(), UNO_QUERY_THROW)
          ->getViewCursor()
          ->gotoEnd(false);
    });
    output::Connections connections;
    const Times step = Measure(enters, [&] {
      if (!output::Submit(nullptr, output::Target::Word, connections, {kWord, kFace, "14"}, true, false, false, ""))
        std::fprintf(stderr, "the output failed\n");
    });
    const Times members = Measure(enters, [&] {
      automation::TWordApplication word;
      word.Connect();
      auto range = word.Selection()->Range();
      word.Selection()->TypeText(kWord);
      range->SetEnd(range->End() + static_cast<int>(kWord.size()));
      word.Selection()->SetRange(range->Start(), range->End());
      word.Selection()->GetFont()->SetName(kFace);
      word.Selection()->GetFont()->SetSize(14);
      word.Selection()->SetRange(range->End(), range->End());
    });
    std::printf("%12d %12.1f / %5.1f ms %12.1f / %5.1f ms\n", characters, step.median, step.worst, members.median,
                members.worst);
    office.Call([&] { Reference<css::util::XCloseable>(document, UNO_QUERY_THROW)->close(true); });
  }
  return script.messages().isEmpty() ? 0 : 1;
}
