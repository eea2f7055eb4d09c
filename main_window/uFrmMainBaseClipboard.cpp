// Copy, paste and clear of the panes.
#include "ClipboardText.h"
#include "uFrmMainBase.h"
#include "uFrmMainBaseMemo.h"

void TfrmMainBase::Copy1Click(QObject*) {
  clipboardtext::Copy(memEnglish->hasFocus(), memEnglish->textCursor().selectedText(), memSinhala->Text());
}

void TfrmMainBase::Paste1Click(QObject*) {
  // The display pane takes the paste although the keyboard cannot change
  // it; its change handler converts it back while FSinhalaEditing is set.
  clipboardtext::Paste(
      memEnglish->hasFocus(), FSinhalaEditing, [this](const QString& text) { memEnglish->SetSelText(text); },
      [this] { memEnglishChange(nullptr); }, [this](const QString& text) { memSinhala->SetSelText(text); });
}

void TfrmMainBase::Clear1Click(QObject*) { clipboardtext::ClearPanes(memSinhala, memEnglish); }
