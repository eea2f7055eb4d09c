// The window tests' common ground: a temporary program folder holding small
// font maps, and the main window prepared in it as start-up does.
#pragma once

#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "dialogs.h"
#include "test_files.h"
#include "TestMaps.h"
#include "uFrmMainBase.h"
#include "uFrmMainBaseMemo.h"

// A temporary folder holding "Sinhala" and "Other", the program folder while
// the object lives.
struct TProgramFolder {
  QTemporaryDir dir;
  TProgramFolder() {
    WriteSinhala(dir.path());
    WriteOther(dir.path());
    TfrmMainBase::SetAppFolder(Folder());
  }
  ~TProgramFolder() { TfrmMainBase::SetAppFolder(QString()); }
  QString Folder() const { return dir.path() + "/"; }
  QString Path(const QString& name) const { return dir.filePath(name); }
};

// Gives `w` its map objects and first map, "Sinhala", as start-up does, shows
// it and focuses the typing pane. False when the map or the window failed.
inline bool PrepareWindow(TfrmMainBase& w) {
  w.FFontMapName = "Sinhala";
  w.CreateMaps();
  w.show();
  const bool ready = w.FCharMap->Count() > 0 && QTest::qWaitForWindowExposed(&w);
  w.memEnglish->setFocus();
  return ready;
}

// A program folder, a dialog script and a window of type W; Open() in a
// test's init, Close() in its cleanup.
template <class W>
struct TWindowFixture {
  std::unique_ptr<TProgramFolder> folder;
  std::unique_ptr<dialogs::Script> script;
  std::unique_ptr<W> w;

  // `beforeWindow` runs once the folder exists (to write maps of its own).
  bool Open(void (*beforeWindow)(const QString& folder) = nullptr) {
    folder = std::make_unique<TProgramFolder>();
    if (beforeWindow) beforeWindow(folder->dir.path());
    script = std::make_unique<dialogs::Script>();
    w = std::make_unique<W>();
    return PrepareWindow(*w);
  }
  void Close() {
    w.reset();
    script.reset();
    folder.reset();
  }

  QString Folder() const { return folder->Folder(); }
  QString Path(const QString& name) const { return folder->Path(name); }
  QString Display() const { return w->memSinhala->Text(); }
  QString Typed() const { return w->memEnglish->Text(); }
  // Puts `text` into the typing pane as the program does, the caret at its end.
  void SetTyped(const QString& text) {
    w->memEnglish->SetText(text);
    w->memEnglish->moveCursor(QTextCursor::End);
  }
  // The texts of the boxes shown with `icon`.
  QStringList Shown(dialogs::Icon icon) const {
    QStringList out;
    for (const auto& a : script->asked)
      if (a.icon == icon) out << a.text;
    return out;
  }
};
