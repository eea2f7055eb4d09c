#include "Output.h"

#include "codepage.h"
#include "dialogs.h"

#include <cctype>
#include <climits>
#include <stdexcept>

#include "log.h"

namespace output {

using namespace automation;

int StrToInt(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  const size_t digits = i;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) break;
  }
  if (negative) value = -value;
  if (i == digits || i != text.size() || value > INT_MAX || value < INT_MIN)
    throw std::invalid_argument("'" + text + "' is not a valid integer value");
  return static_cast<int>(value);
}

namespace {

// The request for an application that sends it in one step. A size that is
// not a whole number is left out: the output fails after the text is sent,
// as it does at the size step.
TypedText Styled(const Request& request) {
  TypedText styled{request.text, request.face, std::nullopt};
  try {
    styled.points = static_cast<float>(StrToInt(request.fontSize));
  } catch (const std::invalid_argument&) {
  }
  return styled;
}

}  // namespace

void OutputToWord(TWordApplication& word, const Request& request) {
  word.Connect();
  if (const TypedText styled = Styled(request); word.Selection()->TypeStyled(styled)) {
    if (!styled.points) StrToInt(request.fontSize);  // raises
  } else {
    auto range = word.Selection()->Range();
    word.Selection()->TypeText(request.text);
    range->SetEnd(range->End() + static_cast<int>(request.text.size()));
    word.Selection()->SetRange(range->Start(), range->End());
    word.Selection()->GetFont()->SetName(request.face);
    word.Selection()->GetFont()->SetSize(static_cast<float>(StrToInt(request.fontSize)));
    word.Selection()->SetRange(range->End(), range->End());
  }
  word.Disconnect();
}

void OutputToExcel(TExcelApplication& excel, const Request& request, bool selectNext) {
  excel.Connect();
  if (const TypedText styled = Styled(request); excel.TypeStyled(styled, selectNext)) {
    if (!styled.points) StrToInt(request.fontSize);  // raises
  } else {
    const Variant old = excel.ActiveCell()->Invoke(dispid::Value, InvokeKind::PropertyGet, {});
    excel.ActiveCell()->Invoke(dispid::Value, InvokeKind::PropertyPut, {VarAdd(old, Variant::FromText(request.text))});
    GetObject(*excel.ActiveCell(), dispid::Font)
        ->Invoke(dispid::Name, InvokeKind::PropertyPut, {Variant::FromText(request.face)});
    GetObject(*excel.ActiveCell(), dispid::Font)
        ->Invoke(dispid::Size, InvokeKind::PropertyPut, {Variant::FromInt(StrToInt(request.fontSize))});
    if (selectNext) GetObject(*excel.ActiveCell(), dispid::Next)->Invoke(dispid::Select, InvokeKind::Method, {});
  }
  excel.Disconnect();
}

void OutputToPowerPoint(TPowerPointApplication& powerPoint, const Request& request) {
  powerPoint.Connect();
  auto textRange = [&] { return powerPoint.ActiveWindow()->Selection()->TextRange(); };
  if (const TypedText styled = Styled(request); textRange()->AppendStyled(styled)) {
    if (!styled.points) StrToInt(request.fontSize);  // raises
  } else {
    const std::u16string selected = textRange()->Text();
    textRange()->SetText(selected + request.text);
    textRange()->GetFont()->SetName(request.face);
    textRange()->GetFont()->SetSize(static_cast<float>(StrToInt(request.fontSize)));
  }
  powerPoint.Disconnect();
}

void Connections::DisconnectAll() {
  WordApplication1.Disconnect();
  ExcelApplication1.Disconnect();
  PowerPointApplication1.Disconnect();
}

bool Submit(QWidget* parent, Target target, Connections& connections, const Request& request,
            bool isEnter, bool typingPaneEmpty, bool englishMode, const std::string& displayFace) {
  try {
    switch (target) {
      case Target::Word:
        OutputToWord(connections.WordApplication1, request);
        return true;
      case Target::Excel:
        OutputToExcel(connections.ExcelApplication1, request, isEnter && typingPaneEmpty);
        return true;
      case Target::PowerPoint:
        OutputToPowerPoint(connections.PowerPointApplication1, request);
        return true;
      case Target::Messenger:
        return SendToMessenger(parent, connections.messenger, codepage::Narrow(request.text), isEnter,
                               englishMode, displayFace);
    }
  } catch (const std::exception& e) {
    static constexpr const char* kNames[] = {"Word", "Excel", "PowerPoint", "Messenger"};
    qCWarning(lcOutput) << "output to" << kNames[static_cast<int>(target)] << "failed:" << e.what();
    connections.DisconnectAll();
    const char* message = target == Target::Word        ? kWordFailure
                          : target == Target::Messenger ? kMessengerFailure
                                                        : kOfficeFailure;
    dialogs::MessageBox(parent, QString::fromLatin1(message), QStringLiteral("Error"), dialogs::Icon::Error);
  }
  return false;
}

}  // namespace output
