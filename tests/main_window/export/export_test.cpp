#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <random>

#include "ExportText.h"
#include "dialogs.h"
#include "inprocess.h"
#include "rtf_reader.h"
#include "small_disk.h"
#include "test_files.h"

namespace {

using namespace exporttext;
using automation::EOleError;
namespace inprocess = automation::inprocess;

const QString kFont = QStringLiteral("Noto Sans Sinhala");
const QString kSinhala = QStringLiteral(u"\u0D9A\u0DB8\u0DBD");  // three characters the code page lacks

DisplayText Display(const QStringList& lines) { return {lines, QStringLiteral("FMAbhaya"), 14, kFont}; }

int NonWhitePixels(const QImage& image, const QRect& area) {
  int count = 0;
  const QRect r = area.intersected(image.rect());
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) count += image.pixel(x, y) != qRgb(255, 255, 255);
  return count;
}

class ExportTest : public ::testing::Test {
 protected:
  void SetUp() override { automation::ResetServers(); }
  void TearDown() override { automation::ResetServers(); }

  // The next document the server starts.
  std::shared_ptr<inprocess::Document> NextDocument() {
    auto document = std::make_shared<inprocess::Document>();
    automation::SetStarter<automation::WordDocument>([document] { return document; });
    return document;
  }

  QTemporaryDir dir;
  dialogs::Script script;
  automation::TWordDocument word;
  TSaveDialog dialog;

  QString Path(const QString& name) const { return dir.filePath(name); }

  // Runs the export command with the save dialog answering `name`.
  void ExportAs(const QString& name, const QStringList& lines = {QStringLiteral("l=uq"), kSinhala}) {
    script.saveNames.push_back(name);
    Export(nullptr, dialog, Display(lines), word);
  }

  static QByteArray FormatOf(const QString& path) { return QImageReader(path).format(); }
};

TEST_F(ExportTest, KindOfFileNameLooksAtTheLastFourCharactersOnly) {
  EXPECT_EQ(KindOfFileName(QStringLiteral(".bMp")), ExportKind::Bitmap);
  EXPECT_EQ(KindOfFileName(QStringLiteral("x.docx")), ExportKind::Jpeg);
  EXPECT_EQ(KindOfFileName(QStringLiteral("bmp")), ExportKind::Jpeg);
}

TEST_F(ExportTest, BitmapIs24BitAndHoldsTheRenderedPicture) {
  const QString path = Path(QStringLiteral("p.bmp"));
  ExportBitmap(nullptr, path, Display({QStringLiteral("l=uq"), QString()}));
  const QByteArray bytes = ReadFile(path);
  ASSERT_GT(bytes.size(), 30);
  EXPECT_EQ(bytes.left(2), "BM");
  EXPECT_EQ(static_cast<unsigned char>(bytes[28]) | static_cast<unsigned char>(bytes[29]) << 8, 24);
  const QImage read = QImageReader(path).read();
  const QImage rendered = RenderToBitmap({QStringLiteral("l=uq"), QString()}, kFont, 14);
  EXPECT_EQ(read.size(), rendered.size());
  EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), rendered.convertToFormat(QImage::Format_RGB32));
}

TEST_F(ExportTest, JpegDecodesToThePictureSize) {
  const QString path = Path(QStringLiteral("p.jpg"));
  ExportJpeg(nullptr, path, Display({kSinhala}));
  const QImage read = QImageReader(path).read();
  EXPECT_EQ(read.size(), RenderToBitmap({kSinhala}, kFont, 14).size());
  EXPECT_GT(NonWhitePixels(read, read.rect()), 0);
}

TEST_F(ExportTest, BlankPictureForAnUnwritableTargetShowsTheErrorMessage) {
  ASSERT_TRUE(WriteFile(Path(QStringLiteral("plain")), {}));
  const QString base = Path(QStringLiteral("plain/"));  // a folder that is a regular file
  ExportJpeg(nullptr, base + QStringLiteral("y.jpg"), Display({QString()}));
  ExportBitmap(nullptr, base + QStringLiteral("y.bmp"), Display({QString()}));
  const QString why = QStringLiteral("Not a directory");
  EXPECT_EQ(script.messages(), QStringList({ErrorMessage(base + QStringLiteral("y.jpg"), why),
                                            ErrorMessage(base + QStringLiteral("y.bmp"), why)}));
}

// On a disk too full for the new picture, large or of a few bytes, the
// export reports the error and the previous picture stays whole, with no
// temporary file left beside it.
TEST_F(ExportTest, FullDiskKeepsThePreviousPictureWhole) {
  TSmallDisk disk(64);
  if (!disk.Mounted()) GTEST_SKIP() << "no small disk can be mounted here (needs root)";
  QStringList big;
  for (int i = 0; i < 40; ++i) big << QString(60, QChar(0x0D9A));
  const QStringList names = {QStringLiteral("p.bmp"), QStringLiteral("p.jpg")};
  const auto exportAs = [&](const QString& name, const QStringList& lines) {
    const QString target = disk.Path(name);
    name.endsWith(QStringLiteral(".bmp")) ? ExportBitmap(nullptr, target, Display(lines))
                                          : ExportJpeg(nullptr, target, Display(lines));
  };
  for (const QString& name : names) exportAs(name, {QStringLiteral("ab")});
  std::map<QString, QByteArray> before;
  for (const QString& name : names) {
    before[name] = ReadFile(disk.Path(name));
    ASSERT_FALSE(before[name].isEmpty());
    ASSERT_LT(before[name].size(), 16 * 1024);
  }
  for (const QStringList& lines : {big, QStringList{QStringLiteral("c")}}) {
    if (lines.size() == 1) {
      ASSERT_TRUE(disk.Fill());
    }
    for (const QString& name : names) {
      exportAs(name, lines);
      EXPECT_EQ(script.messages().last(), ErrorMessage(disk.Path(name), QStringLiteral("No space left on device")));
      EXPECT_EQ(ReadFile(disk.Path(name)), before[name]);
    }
  }
  EXPECT_EQ(disk.Entries(), names);
}

TEST_F(ExportTest, WordDocumentIsSavedAsRichTextWithThePanesFaceAndSize) {
  const auto document = NextDocument();
  const QString path = Path(QStringLiteral("w.Doc"));
  const QStringList lines = {kSinhala, QStringLiteral("{k}\\a")};
  ExportAs(path, lines);
  EXPECT_EQ(script.messages(), QStringList{RichTextMessage(path)});
  EXPECT_EQ(script.asked.back().caption, QStringLiteral("Information"));
  EXPECT_TRUE(document->Closed());
  EXPECT_EQ(QString::fromStdU16String(document->SavedAs()), path);
  EXPECT_FALSE(word.Connected());

  const RtfRead read = ReadRtf(ReadFile(path).toStdString());
  const std::u16string text = lines.join(QStringLiteral("\r\n")).toStdU16String();
  EXPECT_EQ(read.text, text);
  for (size_t i = 0; i < text.size(); ++i) {
    EXPECT_EQ(read.faces[i], u"FMAbhaya") << i;
    EXPECT_EQ(read.halfPoints[i], 28) << i;
  }
}

TEST_F(ExportTest, WordFailureAtAnyStepShowsTheErrorAndStillDisconnects) {
  for (const char* step : {"Content", "Range.InsertAfter", "Range", "Range.Font.Name", "Range.Font.Size", "SaveAs",
                           "Close"}) {
    const auto document = NextDocument();
    document->GetFaults().Fail(step);
    const QString path = Path(QStringLiteral("w.doc"));
    ExportWordDocument(nullptr, path, Display({QStringLiteral("a")}), word);
    EXPECT_TRUE(script.messages().last().startsWith(ErrorMessage(path) + QLatin1Char('\n'))) << step;
    EXPECT_EQ(script.asked.back().caption, QStringLiteral("Error")) << step;
    EXPECT_FALSE(word.Connected()) << step;
    EXPECT_FALSE(document->Closed()) << step;  // the failed document stays open
  }
  EXPECT_EQ(script.messages().size(), 7);
}

TEST_F(ExportTest, UnreachableDocumentServerIsLeftToTheDefaultErrorBox) {
  automation::SetStarter<automation::WordDocument>(nullptr);
  EXPECT_THROW(ExportAs(Path(QStringLiteral("w.doc"))), EOleError);
  EXPECT_TRUE(script.messages().isEmpty());
  EXPECT_FALSE(QFile::exists(Path(QStringLiteral("w.doc"))));
  EXPECT_FALSE(word.Connected());
}

TEST_F(ExportTest, EveryExportStartsANewDocument) {
  const auto first = NextDocument();
  ExportWordDocument(nullptr, Path(QStringLiteral("1.doc")), Display({QStringLiteral("a")}), word);
  const auto second = NextDocument();
  ExportWordDocument(nullptr, Path(QStringLiteral("2.doc")), Display({QStringLiteral("b")}), word);
  EXPECT_EQ(first->Body().Text(), u"a");
  EXPECT_EQ(second->Body().Text(), u"b");
}

TEST(Render, SizesFollowTheCharacterHeight) {
  const int h = CharHeight(14);
  EXPECT_EQ(h, 19);  // 14 points at the screen's 96 pixels per inch
  EXPECT_TRUE(RenderToBitmap({}, kFont, 14).isNull());
  const QImage blank = RenderToBitmap({QString(), QString(), QString()}, kFont, 14);
  EXPECT_EQ(blank.size(), QSize(20, 3 * (19 + 6)));
  EXPECT_EQ(NonWhitePixels(blank, blank.rect()), 0);
}

// Random texts of long lines, each drawn once freely and then within limits
// set right at its picture's size: the limit it meets draws the same
// picture; one pixel less wide or high, or four bytes less, refuses it.
TEST(Render, OnlyPicturesBeyondTheLimitAreRefused) {
  const QStringList pieces = {kSinhala, QStringLiteral("l=uq "), QStringLiteral(u"\u0D9A\u0DCA\u200D\u0DBB"),
                              QStringLiteral(u"\u0DCA"), QStringLiteral("W"), QStringLiteral(u"\U0001F600")};
  std::mt19937 random(2024);
  for (int round = 0; round < 40; ++round) {
    QStringList lines(1 + static_cast<int>(random() % 3));
    for (QString& line : lines)
      for (int n = static_cast<int>(random() % 600); n > 0; --n)
        line += pieces[static_cast<qsizetype>(random() % pieces.size())];
    const QImage free = RenderToBitmap(lines, kFont, 14);
    const int side = std::max(free.width(), free.height());
    const qint64 bytes = qint64{4} * free.width() * free.height();
    EXPECT_EQ(RenderToBitmap(lines, kFont, 14, {"JPEG", side, bytes}), free) << round;
    for (const PictureLimit& below : {PictureLimit{"JPEG", side - 1, bytes}, PictureLimit{"JPEG", side, bytes - 4}})
      EXPECT_THROW(RenderToBitmap(lines, kFont, 14, below), EPictureTooLarge)
          << round << ": " << free.width() << " by " << free.height();
  }
}

TEST(Render, UnicodeLinesAreDrawnAsTheyStand) {
  const QImage sinhala = RenderToBitmap({kSinhala}, kFont, 14);
  const QImage substitute = RenderToBitmap({QStringLiteral("???")}, kFont, 14);
  EXPECT_NE(sinhala, substitute);
  EXPECT_GT(NonWhitePixels(sinhala, sinhala.rect()), 0);
}

TEST(Render, WidestLineLastWidensThePictureAndKeepsEarlierLines) {
  const QString first = QStringLiteral("l=uq");
  const QString last = QStringLiteral("l=uq l=uq l=uq l=uq");
  const QImage firstOnly = RenderToBitmap({first}, kFont, 14);
  const QImage lastOnly = RenderToBitmap({last}, kFont, 14);
  const QImage all = RenderToBitmap({first, QString(), last}, kFont, 14);
  const int h = CharHeight(14), pitch = h + h / 6;
  ASSERT_GT(lastOnly.width(), firstOnly.width());
  EXPECT_EQ(all.size(), QSize(lastOnly.width(), 3 * (h + h / 3)));

  // The first line is as it was drawn before the picture grew; right of it all is white.
  const QRect firstBand(0, 0, firstOnly.width(), pitch);
  EXPECT_EQ(all.copy(firstBand), firstOnly.copy(firstBand));
  EXPECT_GT(NonWhitePixels(all, firstBand), 0);
  EXPECT_EQ(NonWhitePixels(all, QRect(firstOnly.width(), 0, all.width(), pitch)), 0);
  // The last line is drawn two pitches down.
  EXPECT_GT(NonWhitePixels(all, QRect(0, 2 * pitch, all.width(), all.height())), 0);
  EXPECT_EQ(NonWhitePixels(all, QRect(0, 2 * pitch, all.width(), all.height())),
            NonWhitePixels(lastOnly, lastOnly.rect()));
}

}  // namespace
