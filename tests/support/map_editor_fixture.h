// The font-map editor tests' common ground: a temporary program folder with
// its "layouts" folder, a dialog script, the main window the editor belongs
// to, and the editor itself. Open() in a test's init, Close() in its cleanup.
#pragma once

#include <QDir>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "CharView.h"
#include "VarunelComms.h"
#include "dialogs.h"
#include "test_files.h"
#include "uFrmFontMapping.h"
#include "uFrmMainBase.h"

// The message for a layout that is missing or broken.
inline const QString kLayoutError = "Error loading Layout information. Layout not found or currupted.";

// Keys and codes that tell their place: "k3" and "F3" for base 3, "k3_2"
// and "F3_2" for its combination 2.
inline QString Key(int r, int c) { return c == 0 ? QString("k%1").arg(r) : QString("k%1_%2").arg(r).arg(c); }
inline QString Code(int r, int c) { return c == 0 ? QString("F%1").arg(r) : QString("F%1_%2").arg(r).arg(c); }

// A map of `items` items (item 0 the templates), item r holding `combos(r)`
// combinations, every key and code telling its place.
inline void WriteGridMap(const QString& folder, const QString& name, int items, int (*combos)(int),
                         const std::string& layout = "Grid", const std::u16string& font = u"GridFont") {
  TCharCollection map;
  map.FontName = font;
  map.MapLayout = layout;
  for (int r = 0; r < items; ++r) {
    TCharItem& item = map.Add();
    item.CharInEnglish = Key(r, 0).toStdU16String();
    item.CharInFont = Code(r, 0).toStdU16String();
    for (int c = 1; c <= combos(r); ++c) {
      TCharItem& comb = item.Combinations().Add();
      comb.CharInEnglish = Key(r, c).toStdU16String();
      comb.CharInFont = Code(r, c).toStdU16String();
    }
  }
  map.SaveToFile((folder + name + ".fmp").toStdU16String());
}

struct TMapEditorFixture {
  std::unique_ptr<QTemporaryDir> dir;
  std::unique_ptr<dialogs::Script> script;
  std::unique_ptr<TfrmMainBase> main;
  std::unique_ptr<TfrmFontMapping> w;

  // The folder and the main window; the editor is made by each test.
  void Open() {
    dir = std::make_unique<QTemporaryDir>();
    QDir(dir->path()).mkdir("layouts");
    TfrmMainBase::SetAppFolder(dir->path());
    script = std::make_unique<dialogs::Script>();
    main = std::make_unique<TfrmMainBase>();
  }
  void Close() {
    w.reset();
    main.reset();
    script.reset();
    TfrmMainBase::SetAppFolder(QString());
    dir.reset();
  }

  QString Folder() const { return dir->path() + "/"; }
  TTntCharView* Cell(int r, int c) const { return w->GetCell(r, c); }

  // The lines of a text file as the system writes them (UTF-16 with its
  // mark, CR LF after every line).
  static QStringList Lines(const QString& path) {
    QStringDecoder decode(QStringDecoder::Utf16);
    QStringList lines = QString(decode(ReadFile(path))).split("\r\n");
    lines.removeLast();  // after the last line end
    return lines;
  }
};
