// The clipboard and export commands of the main window, driven through its
// panes, the real clipboard and real files in a temporary program folder
// holding a small map of Unicode Sinhala.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

#include "CharView.h"
#include "ClipboardText.h"
#include "automation.h"
#include "inprocess.h"
#include "rtf_reader.h"
#include "window_fixture.h"

namespace {

const QString kFace = QStringLiteral("Noto Sans Sinhala");
const QString kKaa = QStringLiteral(u"\u0D9A\u0DCF");  // "kaa"
const QString kMa = QStringLiteral(u"\u0DB8");         // "ma"

// "Sinhala": k, m and a in Unicode Sinhala, drawn in Noto Sans Sinhala.
void WriteUnicodeSinhala(const QString& folder) {
  WriteMap(folder, "Sinhala", u"Noto Sans Sinhala",
           {{u"k", u"\u0D9A\u0DCA", {{u"k", u"\u0D9A\u0DCA"}, {u"ka", u"\u0D9A"}, {u"kaa", u"\u0D9A\u0DCF"}}},
            {u"m", u"\u0DB8\u0DCA", {{u"m", u"\u0DB8\u0DCA"}, {u"ma", u"\u0DB8"}, {u"maa", u"\u0DB8\u0DCF"}}},
            {u"a", u"\u0D85", {{u"a", u"\u0D85"}, {u"aa", u"\u0D86"}}}});
}

QByteArray AnsiOnClipboard() {
  return QGuiApplication::clipboard()->mimeData()->data(QString::fromLatin1(clipboardtext::kAnsiTextMime));
}

int Ink(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
  return count;
}

}  // namespace

class CommandsTest : public QObject, TWindowFixture<TfrmMainBase> {
  Q_OBJECT

  void Focus(QWidget* widget) {
    widget->setFocus();
    QTRY_VERIFY(widget->hasFocus());
  }
  QString Saved(const QString& name) const { return "The output was successfully saved to " + Path(name) + " ."; }
  QString SavedAsRichText(const QString& name) const {
    return "The output was saved as Rich Text to " + Path(name) +
           " .\nLibreOffice could not be reached to write a Word document.";
  }
  void ExportAs(const QString& name, int filter = -1) {
    script->saveNames.push_back(name);
    if (filter >= 0) script->saveFilters.push_back(filter);
    w->Export1Click(nullptr);
  }

 private slots:
  void init() {
    automation::ResetServers();
    QVERIFY(Open(WriteUnicodeSinhala));
    // A form of the panes in the order of the main windows.
    auto* form = new QWidget(w.get());
    auto* layout = new QVBoxLayout(form);
    layout->addWidget(w->memSinhala);
    layout->addWidget(w->memEnglish);
    layout->addWidget(w->pnlSuggest);
    w->setCentralWidget(form);
    QFont display = w->memSinhala->font();
    display.setPointSize(14);
    w->memSinhala->setFont(display);
    w->activateWindow();
    Focus(w->memEnglish);
  }

  void cleanup() {
    Close();
    automation::ResetServers();
  }

  // --- clipboard ------------------------------------------------------------

  void copyTakesTheTypingSelectionOrTheWholeDisplay() {
    SetTyped("kaa\r\nma");
    QCOMPARE(Display(), kKaa + "\r\n" + kMa);
    w->memEnglish->SetSelStart(0);
    w->memEnglish->SetSelLength(6);  // "kaa", the break and "m"
    w->Copy1Click(nullptr);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("kaa\r\nm"));
    QCOMPARE(AnsiOnClipboard(), QByteArray("kaa\r\nm"));

    // Nothing selected, or the focus elsewhere: the whole display text, even
    // when part of the display pane is selected.
    w->memEnglish->SetSelLength(0);
    w->Copy1Click(nullptr);
    QCOMPARE(QGuiApplication::clipboard()->text(), kKaa + "\r\n" + kMa);
    QCOMPARE(AnsiOnClipboard(), QByteArray("??\r\n?"));
    w->memEnglish->selectAll();
    for (QWidget* other : {static_cast<QWidget*>(w->memSinhala), static_cast<QWidget*>(w->txtEnglish)}) {
      QGuiApplication::clipboard()->clear();
      Focus(other);
      w->memSinhala->SetSelStart(0);
      w->memSinhala->SetSelLength(1);
      w->Copy1Click(nullptr);
      QCOMPARE(QGuiApplication::clipboard()->text(), kKaa + "\r\n" + kMa);
    }
  }

  void pasteIntoTheTypingPaneNarrowsAndConverts() {
    SetTyped("kaa");
    w->memEnglish->SetSelStart(0);
    w->memEnglish->SetSelLength(3);
    w->Copy1Click(nullptr);
    w->Clear1Click(nullptr);
    w->Paste1Click(nullptr);
    QCOMPARE(Typed(), QString("kaa"));
    QCOMPARE(Display(), kKaa);

    // Unicode the code page lacks arrives as '?', at the caret; the pasted
    // line is converted and the suggestions follow the new caret.
    w->memEnglish->SetSelStart(1);
    QGuiApplication::clipboard()->setText(kMa + QStringLiteral(u"\u00E9m"));
    w->Paste1Click(nullptr);
    QCOMPARE(Typed(), QStringLiteral(u"k?\u00E9maa"));
    QCOMPARE(w->memEnglish->SelStart(), 4);
    QCOMPARE(Display(), QStringLiteral(u"\u0D9A\u0DCA?\u00E9\u0DB8\u0DCF"));
    QVERIFY(!w->Tiles().empty());
    QCOMPARE(w->Tiles().front()->CharInEnglish, QString("m"));

    // With only the 8-bit form on the clipboard that is widened and used.
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(clipboardtext::kAnsiTextMime), QByteArray("\r\nka\x80"));
    QGuiApplication::clipboard()->setMimeData(data);
    w->memEnglish->moveCursor(QTextCursor::End);
    w->Paste1Click(nullptr);
    QCOMPARE(Typed(), QStringLiteral(u"k?\u00E9maa\r\nka\u20AC"));
    QCOMPARE(Display(), QStringLiteral(u"\u0D9A\u0DCA?\u00E9\u0DB8\u0DCF\r\n\u0D9A\u20AC"));
  }

  void pasteIntoTheDisplayPaneConvertsBack() {
    SetTyped("kaa");
    Focus(w->memSinhala);
    w->Copy1Click(nullptr);  // the whole display text
    w->memSinhala->moveCursor(QTextCursor::End);
    w->Paste1Click(nullptr);
    QCOMPARE(Display(), kKaa + kKaa);
    QCOMPARE(Typed(), QString("kaakaa"));
    QGuiApplication::clipboard()->setText(kMa);
    w->memSinhala->SetSelStart(2);
    w->Paste1Click(nullptr);
    QCOMPARE(Display(), kKaa + kMa + kKaa);
    QCOMPARE(Typed(), QString("kaamakaa"));
    // The flag stays as it was: the display pane keeps the focus, so a
    // change of the typing pane made by the program is not converted.
    QVERIFY(w->memSinhala->hasFocus());
    QVERIFY(w->FSinhalaEditing);
    w->memEnglish->SetText("ma");
    QCOMPARE(Display(), kKaa + kMa + kKaa);
    w->memEnglish->SetText("kaamakaa");

    // From the search box the paste goes into the display pane too, over its
    // selection; the 8-bit form alone is widened.
    Focus(w->txtEnglish);
    w->memSinhala->SetSelStart(2);
    w->memSinhala->SetSelLength(1);
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(clipboardtext::kAnsiTextMime), QByteArray("x\xE9"));
    QGuiApplication::clipboard()->setMimeData(data);
    w->Paste1Click(nullptr);
    QCOMPARE(Display(), kKaa + QStringLiteral(u"x\u00E9") + kKaa);
    QCOMPARE(Typed(), QStringLiteral(u"kaax\u00E9kaa"));
    QVERIFY(w->txtEnglish->text().isEmpty());
    QVERIFY(!w->FSinhalaEditing);
  }

  void clearEmptiesThePanesAndLeavesTheTiles() {
    Focus(w->memEnglish);
    QTest::keyClicks(w->memEnglish, "ka");
    const int tiles = static_cast<int>(w->Tiles().size());
    QVERIFY(tiles > 0);
    w->Clear1Click(nullptr);
    QCOMPARE(Typed(), QString());
    QCOMPARE(Display(), QString());
    QCOMPARE(static_cast<int>(w->Tiles().size()), tiles);
    QTest::keyClicks(w->memEnglish, "m");
    QCOMPARE(Display(), QStringLiteral(u"\u0DB8\u0DCA"));
    QCOMPARE(w->Tiles().front()->CharInEnglish, QString("m"));
  }

  // --- export -----------------------------------------------------------------

  void endingChoosesTheFormatAndTheDialogKeepsTheName() {
    SetTyped("kaa\r\nma");
    const QImage picture = w->RenderToBitmap();
    QVERIFY(Ink(picture) > 0);
    ExportAs(Path("a.BMP"));
    const QImage bmp = QImageReader(Path("a.BMP")).read();
    QCOMPARE(QImageReader(Path("a.BMP")).format(), QByteArray("bmp"));
    QCOMPARE(bmp.convertToFormat(QImage::Format_RGB32), picture.convertToFormat(QImage::Format_RGB32));
    // Under "All Files" the name's ending decides; JPEG for any other.
    for (const char* name : {"b.jpeg", "c.txt", "d"}) {
      ExportAs(Path(name), 3);
      const QString written = QFileInfo::exists(Path(name)) ? Path(name) : Path(name) + ".jpg";
      QCOMPARE(QImageReader(written).format(), QByteArray("jpeg"));
      QCOMPARE(QImageReader(written).size(), picture.size());
    }
    QVERIFY(!QFileInfo::exists(Path("d")));
    QCOMPARE(w->SaveDialog1.FileName, Path("d.jpg"));
    QCOMPARE(w->SaveDialog1.Title, QString("Export As"));
    QCOMPARE(script->messages(), QStringList({Saved("a.BMP"), Saved("b.jpeg"), Saved("c.txt"), Saved("d.jpg")}));
    QCOMPARE(script->asked[0].kind, QString("save"));
    QCOMPARE(script->asked[0].text,
             QString("Word Document (*.doc);;Windows Bitmap (*.bmp);;JPEG File (*.jpg);;All Files (*.*)"));
    QCOMPARE(script->asked[0].caption, QString("jpg"));  // the default extension
    QCOMPARE(script->asked[1].caption, QString("Information"));
    QCOMPARE(script->asked[1].icon, dialogs::Icon::Information);

    // Cancelling writes nothing and keeps the name.
    const auto asked = script->asked.size();
    w->Export1Click(nullptr);
    QCOMPARE(script->asked.size(), asked + 1);
    QCOMPARE(w->SaveDialog1.FileName, Path("d.jpg"));
    QCOMPARE(w->SaveDialog1.FilterIndex, 3);
    QCOMPARE(QDir(folder->dir.path()).entryList({"*.bmp", "*.BMP", "*.jpg", "*.jpeg", "*.txt"}, QDir::Files).size(), 4);
  }

  // The filter chosen decides the format of a name without one of the
  // three endings and adds its ending; a typed ending of the three is kept.
  void theChosenFilterDecidesTheFormatAndTheEnding() {
    SetTyped("kaa\r\nma");
    const QImage picture = w->RenderToBitmap();
    struct Case {
      int filter;
      const char* typed;
      const char* written;
      const char* format;
    };
    for (const Case& c : {Case{1, "e", "e.bmp", "bmp"}, Case{1, "f.jpeg", "f.jpeg.bmp", "bmp"},
                          Case{2, "g", "g.jpg", "jpeg"}, Case{2, "h.txt", "h.txt.jpg", "jpeg"},
                          Case{2, "i.BMP", "i.BMP", "bmp"}, Case{1, "j.jpg", "j.jpg", "jpeg"}}) {
      script->asked.clear();
      ExportAs(Path(c.typed), c.filter);
      QCOMPARE(script->messages(), QStringList{Saved(c.written)});
      QCOMPARE(QImageReader(Path(c.written)).format(), QByteArray(c.format));
      QCOMPARE(QImageReader(Path(c.written)).size(), picture.size());
      QCOMPARE(w->SaveDialog1.FileName, Path(c.written));
      QCOMPARE(w->SaveDialog1.FilterIndex, c.filter);
    }
    // A file that the added ending names is replaced only when the user agrees.
    const QByteArray before = ReadFile(Path("f.jpeg.bmp"));
    script->answers.push_back(dialogs::No);
    SetTyped("ma");
    ExportAs(Path("f.jpeg"), 1);
    QCOMPARE(script->messages().last(), Path("f.jpeg.bmp") + " already exists.\nDo you want to replace it?");
    QCOMPARE(ReadFile(Path("f.jpeg.bmp")), before);
    // Word Document, the filter the dialog opens on at first, with a bare name.
    script->saveFilters.clear();
    w->SaveDialog1.FilterIndex = 0;
    ExportAs(Path("k"));
    QCOMPARE(script->messages().last(), SavedAsRichText("k.doc"));
    QVERIFY(QFileInfo::exists(Path("k.doc")));
  }

  // Without a word processor the document is written as Rich Text, and the
  // message says so.
  void wordDocumentHoldsTheTextInThePanesFaceAndSize() {
    SetTyped("kaa\r\nma");
    QCOMPARE(w->memSinhala->font().family(), kFace);
    ExportAs(Path("s.DOC"));
    QCOMPARE(script->messages(), QStringList{SavedAsRichText("s.DOC")});
    QCOMPARE(script->asked.back().caption, QString("Information"));
    QVERIFY(!w->WordDocument1.Connected());
    const RtfRead read = ReadRtf(ReadFile(Path("s.DOC")).toStdString());
    const std::u16string text = (kKaa + "\r\n" + kMa).toStdU16String();
    QCOMPARE(read.text, text);
    QCOMPARE(read.faces, std::vector<std::u16string>(text.size(), kFace.toStdU16String()));
    QCOMPARE(read.halfPoints, std::vector<int>(text.size(), 28));
    // Sinhala is a complex script: word processors take its face and size
    // from the associated ones.
    QCOMPARE(read.complexFaces, read.faces);
    QCOMPARE(read.complexHalfPoints, read.halfPoints);
    QCOMPARE(read.fontTable.size(), size_t(1));

    // A second export starts a new document: the file holds only its text.
    SetTyped("ma");
    ExportAs(Path("t.doc"));
    QCOMPARE(ReadRtf(ReadFile(Path("t.doc")).toStdString()).text, kMa.toStdU16String());

    // A document the word processor writes gives the plain success message.
    struct WordWritten : automation::inprocess::Document {
      bool SavesRichText() const override { return false; }
    };
    automation::SetStarter<automation::WordDocument>([] { return std::make_shared<WordWritten>(); });
    ExportAs(Path("u.doc"));
    QCOMPARE(script->messages().last(), Saved("u.doc"));
  }

  // An empty pane has no picture: nothing is written, and the user is told.
  void emptyPaneWritesNoPictureAndSaysSo() {
    SetTyped("");
    QVERIFY(w->RenderToBitmap().isNull());
    for (const char* name : {"e.bmp", "e.jpg"}) {
      ExportAs(Path(name));
      QVERIFY(!QFileInfo::exists(Path(name)));
    }
    QCOMPARE(script->messages(), QStringList(2, "There is no text to export."));
    QCOMPARE(script->asked.back().caption, QString("Information"));
  }

  // A line too wide for a JPEG picture is refused before it is drawn, with
  // the reason; nothing is written. (Too wide by a little, so that a picture
  // drawn by mistake stays small.)
  void aPictureTooLargeIsRefusedWithTheReason() {
    QString typed;
    for (int i = 0; i < 6000; ++i) typed += "kaa";
    SetTyped(typed);
    ExportAs(Path("wide.jpg"));
    QVERIFY(!QFileInfo::exists(Path("wide.jpg")));
    const QString message = script->messages().last();
    QVERIFY2(message.startsWith("Error saving to " + Path("wide.jpg") + ".\n"), qPrintable(message));
    QVERIFY2(message.contains("at most 65,500 pixels wide"), qPrintable(message));
    QCOMPARE(script->asked.back().caption, QString("Error"));
  }

  void unwritableTargetsReportTheError() {
    SetTyped("kaa");
    QVERIFY(WriteFile(Path("plain"), "x"));  // a regular file standing where a folder should be
    const QString base = Path("plain/");
    for (const char* name : {"x.bmp", "x.jpg", "x.doc"}) ExportAs(base + name);
    // Each names the file, and the system's reason under it.
    QCOMPARE(script->messages(), QStringList({"Error saving to " + base + "x.bmp.\nNot a directory",
                                              "Error saving to " + base + "x.jpg.\nNot a directory",
                                              "Error saving to " + base + "x.doc.\nWord cannot save this file."}));
    for (std::size_t i = 1; i < script->asked.size(); i += 2) {
      QCOMPARE(script->asked[i].caption, QString("Error"));
      QCOMPARE(script->asked[i].icon, dialogs::Icon::Error);
    }
    QVERIFY(!w->WordDocument1.Connected());
    QCOMPARE(ReadFile(Path("plain")), QByteArray("x"));
  }

  // Pictures of two and three lines in the default map at small, middle and
  // large sizes: every line keeps all the ink it has when drawn alone at the
  // same place (the other lines empty), and no ink reaches the picture's
  // edges.
  void picturesKeepEveryLinesInk() {
    QVERIFY(QFile::copy(VARUNEL_DEFAULT_MAP, Path("Default.fmp")));
    QVERIFY(w->LoadFontMap("Default"));
    const QStringList phrases = {"kuruu guuRu shrii", "laxkaava pRuthuvi", "yaeyi kiiyada vuu"};
    const auto exported = [&](const QStringList& lines) {
      SetTyped(lines.join("\r\n"));
      ExportAs(Path("lines.bmp"));
      return QImageReader(Path("lines.bmp")).read().convertToFormat(QImage::Format_RGB32);
    };
    const auto inked = [](const QImage& image, int x, int y) {
      return x < image.width() && y < image.height() && (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
    };
    for (int points : {8, 18, 72}) {
      QFont display = w->memSinhala->font();
      display.setPointSize(points);
      w->memSinhala->setFont(display);
      for (int n : {2, 3}) {
        const QStringList lines = phrases.mid(0, n);
        const QImage all = exported(lines);
        for (int i = 0; i < n; ++i) {
          QStringList alone(n);
          alone[i] = lines[i];
          const QImage one = exported(alone);
          QVERIFY(Ink(one) > 0);
          int lost = 0, edge = 0;
          for (int y = 0; y < one.height(); ++y)
            for (int x = 0; x < one.width(); ++x) {
              if (!inked(one, x, y)) continue;
              lost += !inked(all, x, y);
              edge += x == 0 || y == 0 || x == one.width() - 1 || y == one.height() - 1;
            }
          QVERIFY2(lost == 0 && edge == 0, qPrintable(QString("%1 pt, line %2 of %3: %4 pixels lost, %5 on the edge")
                                                          .arg(points).arg(i + 1).arg(n).arg(lost).arg(edge)));
        }
      }
    }
  }

  void unreachableWordGoesToTheDefaultErrorBox() {
    SetTyped("kaa");
    automation::SetStarter<automation::WordDocument>(nullptr);
    ExportAs(Path("w.doc"));
    QCOMPARE(script->asked.back().kind, QString("error"));
    QCOMPARE(script->asked.back().text, QString("Server execution failed"));
    QVERIFY(!QFileInfo::exists(Path("w.doc")));
    QVERIFY_THROWS_EXCEPTION(automation::EOleError, w->ExportWordDocument(Path("w.doc")));
  }
};

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
