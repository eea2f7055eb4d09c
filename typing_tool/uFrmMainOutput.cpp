// Output of the display text into the target chosen on the toolbar.
#include <QFont>

#include "codepage.h"
#include "QtCodepage.h"
#include "uFrmMain.h"
#include "uFrmMainBaseMemo.h"
namespace tavimo {


namespace {

// The text with the face of the typing mode and the display size.
output::Request RequestFor(const TfrmMain& form, const QString& text) {
  output::Request request;
  request.text = text.toStdU16String();
  if (form.FEnglishMode) request.face = codepage::Widen(form.FEnglishFont);
  else if (form.FCharMap) request.face = form.FCharMap->FontName;
  request.fontSize = form.FFontSize;
  return request;
}

}  // namespace

bool TfrmMain::SendToTarget(TOutputTarget target, const QString& text, bool isEnter) {
  // The messenger names the display pane's own face to the user.
  const std::string displayFace = codepage::NarrowQ(memSinhala->font().family());
  return output::Submit(this, target, FOutput, RequestFor(*this, text), isEnter,
                        memEnglish->Text().isEmpty(), FEnglishMode, displayFace);
}

void TfrmMain::DisconnectOfficeServers() { FOutput.DisconnectAll(); }

}  // namespace tavimo
