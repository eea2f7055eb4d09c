#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

#include "TypingSettings.h"
#include "bad_files.h"
#include "small_disk.h"
#include "test_files.h"

namespace {
const QSize kScreen(1920, 1080);

void VerifyStartDefaults(const TTypingSettings& s, bool submitWords) {
  QCOMPARE(s.Left, 1920 - 450);
  QCOMPARE(s.Top, 1080 - 375);
  QCOMPARE(s.Width, 450);
  QCOMPARE(s.Height, 350);
  QCOMPARE(s.FontSize, QStringLiteral("18"));
  QCOMPARE(s.SubmitWords, submitWords);
  QVERIFY(s.AutoSuggest);
  QCOMPARE(s.FontMapName, QStringLiteral("Sinhala"));
}
}  // namespace

class SettingsTest : public QObject {
  Q_OBJECT
 private slots:
  void init() {
    dir_.reset(new QTemporaryDir);
    QVERIFY(dir_->isValid());
  }

  void missingFileGivesEveryDefault() {
    const TTypingSettings s = TTypingSettingsFile(dir_->path()).Read(kScreen);
    QVERIFY(s.RestoreLastState);
    VerifyStartDefaults(s, false);
    QCOMPARE(s.EnglishFont, QStringLiteral("Times New Roman"));
    QVERIFY(!QFile::exists(IniPath()));
  }

  void storedValuesAreRead() {
    QVERIFY(WriteFile(IniPath(),
              "[params]\nrestore_last_state=1\nfont_size=24\nenglish_font=Arial\n"
              "tsubmit_words=1\nauto_suggest=0\nfont_map=Abhaya\n"
              "[bounds]\ntleft=10\nttop=20\ntwidth=300\ntheight=200\n"));
    const TTypingSettings s = TTypingSettingsFile(dir_->path() + '/').Read(kScreen);
    QVERIFY(s.RestoreLastState);
    QCOMPARE(QRect(s.Left, s.Top, s.Width, s.Height), QRect(10, 20, 300, 200));
    QCOMPARE(s.FontSize, QStringLiteral("24"));
    QCOMPARE(s.EnglishFont, QStringLiteral("Arial"));
    QVERIFY(s.SubmitWords);
    QVERIFY(!s.AutoSuggest);
    QCOMPARE(s.FontMapName, QStringLiteral("Abhaya"));
  }

  void defaultsBranchReadsOnlyTheEnglishFont() {
    QVERIFY(WriteFile(IniPath(),
              "[params]\nrestore_last_state=0\nfont_size=24\nenglish_font=Arial\n"
              "tsubmit_words=0\nauto_suggest=0\nfont_map=Abhaya\n"
              "[bounds]\ntleft=10\nttop=20\ntwidth=300\ntheight=200\n"));
    const TTypingSettings s = TTypingSettingsFile(dir_->path()).Read(kScreen);
    QVERIFY(!s.RestoreLastState);
    VerifyStartDefaults(s, true);  // both check boxes ticked in this branch
    QCOMPARE(s.EnglishFont, QStringLiteral("Arial"));
  }

  void badValuesReadAsTheirDefaults() {
    // Booleans are any integer, 0 being false; other text is no value.
    QVERIFY(WriteFile(IniPath(),
              "[params]\nrestore_last_state=7\ntsubmit_words=-1\nauto_suggest=yes\n"
              "english_font=Foo, Bar\n"
              "[bounds]\ntleft=left\nttop=\ntwidth=12.5\ntheight= 90 \n"));
    const TTypingSettings s = TTypingSettingsFile(dir_->path()).Read(kScreen);
    QVERIFY(s.RestoreLastState);
    QVERIFY(s.SubmitWords);
    QVERIFY(s.AutoSuggest);
    QCOMPARE(s.Left, 1470);
    QCOMPARE(s.Top, 705);
    QCOMPARE(s.Width, 450);
    QCOMPARE(s.Height, 90);
    QCOMPARE(s.EnglishFont, QStringLiteral("Foo, Bar"));

    QVERIFY(WriteFile(IniPath(), "[params]\nrestore_last_state=no\n"));
    QVERIFY(TTypingSettingsFile(dir_->path()).Read(kScreen).RestoreLastState);
  }

  void brokenFileGivesDefaultsAndIsReplacedOnWrite() {
    QVERIFY(WriteFile(IniPath(), QByteArray("\xff\xfe[par\0ams\n=\n\"tleft=\n[[[\n\x01\x02\x03", 26)));
    const TTypingSettingsFile file(dir_->path());
    TTypingSettings s = file.Read(kScreen);
    VerifyStartDefaults(s, false);
    s.FontMapName = QStringLiteral("Abhaya");
    QVERIFY(file.Write(s));
    QCOMPARE(file.Read(kScreen).FontMapName, QStringLiteral("Abhaya"));
  }

  void writeKeepsOtherKeysAndWritesBooleansAsDigits() {
    QVERIFY(WriteFile(IniPath(),
              "[params]\nauto_save=1\nsave_interval=5\nwindow_state=2\nfont_size=16\n"
              "[bounds]\nleft=50\nwidth=750\n"));
    const TTypingSettingsFile file(dir_->path());
    TTypingSettings s;
    s.RestoreLastState = false;
    s.Left = -5;
    s.Top = 40;
    s.Width = 500;
    s.Height = 320;
    s.FontSize = QStringLiteral("big");  // no number: written back as it is
    s.EnglishFont = QStringLiteral("Noto Serif");
    s.SubmitWords = true;
    s.AutoSuggest = false;
    s.FontMapName = QStringLiteral("My map");
    QVERIFY(file.Write(s));

    const QByteArray text = ReadFile(IniPath());
    for (const char* line : {"restore_last_state=0", "tsubmit_words=1", "auto_suggest=0", "tleft=-5",
                             "ttop=40", "twidth=500", "theight=320", "font_size=big",
                             "font_map=My map", "english_font=Noto Serif", "auto_save=1",
                             "save_interval=5", "window_state=2", "left=50", "width=750"})
      QVERIFY2(text.contains(QByteArray(line) + '\n'), line);
  }

  void writeKeepsTheFileAsItStands() {
    // Another program's lines, comments and odd lines stay; keys are found
    // without regard to case; values are the file's 8-bit text.
    const QByteArray before =
        "; both programs\r\n[Params]\r\nrecent=C:\\Users\\me\\rec.txt;b.txt\r\nno equals sign\r\n"
        "English_Font=Caf\xe9\r\nFONT_MAP=Abhaya\r\nzz_other=1\r\n\r\n[BOUNDS]\r\nTLEFT=10\r\n";
    QVERIFY(WriteFile(IniPath(), before));
    const TTypingSettingsFile file(dir_->path());
    TTypingSettings s = file.Read(kScreen);
    QCOMPARE(s.EnglishFont, QStringLiteral("Caf\u00e9"));
    QCOMPARE(s.FontMapName, QStringLiteral("Abhaya"));
    QCOMPARE(s.Left, 10);
    s.EnglishFont = QStringLiteral("\u00c9cole");
    QVERIFY(file.Write(s));
    QCOMPARE(ReadFile(IniPath()),
             QByteArray("; both programs\r\n[Params]\r\nrecent=C:\\Users\\me\\rec.txt;b.txt\r\nno equals sign\r\n"
                        "English_Font=\xc9""cole\r\nFONT_MAP=Abhaya\r\nzz_other=1\r\nrestore_last_state=1\r\n"
                        "tsubmit_words=0\r\nfont_size=18\r\nauto_suggest=1\r\n\r\n"
                        "[BOUNDS]\r\nTLEFT=10\r\nttop=705\r\ntwidth=450\r\ntheight=350\r\n"));
  }

  void unwritableFileReadsDefaultsAndWriteFails() {
    QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("settings.ini")));
    const TTypingSettingsFile file(dir_->path());
    VerifyStartDefaults(file.Read(kScreen), false);
    QVERIFY(!file.Write(TTypingSettings()));
  }

  // A FIFO would block the start, a device or a huge file would be read
  // without end: each reads as every default and is never written over.
  void settingsThatCannotBeReadAreDefaultsAndStay() {
    constexpr std::uintmax_t kHuge = 64u << 20;
    const TTypingSettingsFile file(dir_->path());
    for (const testutil::BadFile kind : testutil::EveryBadFile()) {
      QVERIFY(testutil::MakeBadFile(kind, IniPath().toStdString(), kHuge, "[bounds]\ntleft=10\n"));
      VerifyStartDefaults(file.Read(kScreen), false);
      QVERIFY2(!file.Write(TTypingSettings()), testutil::NameOf(kind));
      QVERIFY2(testutil::StillBad(kind, IniPath().toStdString(), kHuge), testutil::NameOf(kind));
    }
  }

  // On a full disk even a small settings file is not written: the write
  // says so, with the system's reason, and the old file stays whole.
  void aFullDiskKeepsTheOldSettings() {
    TSmallDisk disk(64);
    if (!disk.Mounted()) QSKIP("no small disk can be mounted here (needs root)");
    const TTypingSettingsFile file(disk.Path(QString()));
    TTypingSettings s;
    QVERIFY(file.Write(s));
    const QByteArray before = ReadFile(disk.Path("settings.ini"));
    QVERIFY(disk.Fill());
    s.FontMapName = QStringLiteral("Other");
    QString error;
    QVERIFY(!file.Write(s, &error));
    QCOMPARE(error, "Cannot write file \"" + file.FileName() + "\". No space left on device");
    QCOMPARE(ReadFile(disk.Path("settings.ini")), before);
    QCOMPARE(disk.Entries(), QStringList({".settings.ini.lock", "settings.ini"}));
  }

  void fontSizeIsAWholeNumberElse18() {
    QCOMPARE(FontSizePoints(QStringLiteral("24")), 24);
    QCOMPARE(FontSizePoints(QStringLiteral("abc")), 18);
    QCOMPARE(FontSizePoints(QStringLiteral("0")), 18);

    QPlainTextEdit pane;
    pane.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    pane.resize(300, 75);
    pane.show();
    const int chrome = pane.height() - pane.viewport()->height();
    QCOMPARE(ApplyFontSize(&pane, QStringLiteral("letters")), 18);
    QCOMPARE(pane.font().pointSize(), 18);
    QCOMPARE(pane.height(), QFontMetrics(pane.font()).height() + 5 + chrome);
    const int height18 = pane.height();
    QCOMPARE(ApplyFontSize(&pane, QStringLiteral("40")), 40);
    QCOMPARE(pane.font().pointSize(), 40);
    QVERIFY(pane.height() > height18);

    // A pane not shown yet gets the same height.
    QPlainTextEdit hidden;
    hidden.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ApplyFontSize(&hidden, QStringLiteral("40"));
    QCOMPARE(hidden.height(), pane.height());
  }

 private:
  QString IniPath() const { return dir_->filePath(QStringLiteral("settings.ini")); }
  std::unique_ptr<QTemporaryDir> dir_;
};

QTEST_MAIN(SettingsTest)
#include "settings_test.moc"
