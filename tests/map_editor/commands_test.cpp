// The font-map editor's commands (Smart Map, the cell menu, new maps, the
// HTML chart) on a grid of 110 by 40 real tiles.
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

#include "CellCommands.h"
#include "CellGrid.h"
#include "CharView.h"
#include "ExportText.h"
#include "HtmlChart.h"
#include "NewMap.h"
#include "SmartMap.h"
#include "VarunelComms.h"
#include "dialogs.h"
#include "test_files.h"

namespace {

struct Content {
  QString key, codes, caption;
  bool operator==(const Content&) const = default;
};

class TestGrid : public TCellGrid {
 public:
  TestGrid() {
    for (int r = 0; r < RowCount; ++r)
      for (int c = 0; c < ColCount; ++c) {
        auto* cell = new TTntCharView(&owner_);
        cell->RowIndex = r;
        cell->ColumnIndex = c;
        cells_.push_back(cell);
      }
  }
  TTntCharView* GetCell(int row, int col) const override {
    if (row < 0 || row >= RowCount || col < 0 || col >= ColCount) return nullptr;
    return cells_[static_cast<std::size_t>(row * ColCount + col)];
  }
  TTntCharView* CurrentCell() const override { return current_; }

  void Select(int row, int col) { current_ = GetCell(row, col); }
  void Set(int row, int col, const QString& key, const QString& codes, const QString& caption) {
    TTntCharView* cell = GetCell(row, col);
    cell->CharInEnglish = key;
    cell->CharInFont = codes;
    cell->SetCaption(caption);
  }
  void Set(int row, int col, const QString& key, const QString& codes) { Set(row, col, key, codes, codes); }
  Content At(int row, int col) const {
    const TTntCharView* cell = GetCell(row, col);
    return {cell->CharInEnglish, cell->CharInFont, cell->Caption()};
  }
  // Every cell holds values naming its position; captions differ from codes.
  void FillDistinct() {
    for (int r = 0; r < RowCount; ++r)
      for (int c = 0; c < ColCount; ++c) Set(r, c, Name("k", r, c), Name("f", r, c), Name("c", r, c));
  }
  static QString Name(const char* kind, int r, int c) {
    return QString::fromLatin1(kind) + QString::number(r) + u'.' + QString::number(c);
  }
  std::vector<Content> Snapshot() const {
    std::vector<Content> all;
    for (const TTntCharView* cell : cells_) all.push_back({cell->CharInEnglish, cell->CharInFont, cell->Caption()});
    return all;
  }

 private:
  QWidget owner_;
  std::vector<TTntCharView*> cells_;
  TTntCharView* current_ = nullptr;
};

QString ReadUtf16(const QString& path) {
  const QByteArray bytes = ReadFile(path);
  if (!bytes.startsWith("\xFF\xFE")) return QString();
  QStringDecoder decode(QStringDecoder::Utf16LE);
  return decode(bytes.mid(2));
}

// The text of every table cell of an HTML page, row by row, as Qt's HTML
// reader sees it.
std::vector<QStringList> TableCells(const QString& html) {
  QTextDocument doc;
  doc.setHtml(html);
  std::vector<QStringList> rows;
  for (QTextFrame* frame : doc.rootFrame()->childFrames()) {
    auto* table = qobject_cast<QTextTable*>(frame);
    if (!table) continue;
    for (int r = 0; r < table->rows(); ++r) {
      QStringList row;
      for (int c = 0; c < table->columns(); ++c) {
        QTextCursor cursor = table->cellAt(r, c).firstCursorPosition();
        cursor.setPosition(table->cellAt(r, c).lastCursorPosition().position(), QTextCursor::KeepAnchor);
        row << cursor.selectedText();
      }
      rows.push_back(row);
    }
  }
  return rows;
}

}  // namespace

class MapEditorCommandsTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TestGrid> grid;
  std::unique_ptr<dialogs::Script> script;

 private slots:
  void init() {
    grid = std::make_unique<TestGrid>();
    script = std::make_unique<dialogs::Script>();
  }
  void cleanup() {
    script.reset();
    grid.reset();
  }

  // --- Smart Map -------------------------------------------------------------

  void smartMapPutsEachBaseIntoTheTemplates() {
    grid->Set(0, 0, "#", "#");
    grid->Set(0, 3, "#aa", "#A");           // the worked example
    grid->Set(0, 4, "", "#I");              // no key: the target's codes stay
    grid->Set(0, 5, "#u", "");              // no codes: the target's go
    grid->Set(0, 6, "xy", "XY");            // no placeholder: copied as it is
    grid->Set(0, 7, "#e#", "#E#");          // placeholder twice: the first only
    grid->Set(5, 0, "g", "G");
    grid->Set(5, 4, "old", "OLD", "legend");
    grid->Set(5, 5, "old", "OLD");
    grid->Set(6, 0, "", "K");               // a base without a key
    grid->Set(6, 3, "keep", "KEEP");
    grid->Set(7, 0, "m", "");               // a base without codes
    script->answers.push_back(dialogs::Yes);
    QVERIFY(smartmap::Run(nullptr, *grid, smartmap::Range::AllRows));
    QCOMPARE(script->messages(), QStringList{QString::fromLatin1(smartmap::kConfirmText)});
    QCOMPARE(script->asked.front().icon, dialogs::Icon::Question);
    QCOMPARE(grid->At(5, 3), (Content{"gaa", "GA", "GA"}));
    QCOMPARE(grid->At(5, 4), (Content{"", "OLD", "OLD"}));
    QCOMPARE(grid->At(5, 5), (Content{"gu", "", ""}));
    QCOMPARE(grid->At(5, 6), (Content{"xy", "XY", "XY"}));
    QCOMPARE(grid->At(5, 7), (Content{"ge#", "GE#", "GE#"}));
    QCOMPARE(grid->At(5, 1), (Content{"", "", ""}));
    QCOMPARE(grid->At(6, 3), (Content{"keep", "KEEP", "KEEP"}));
    QCOMPARE(grid->At(7, 3), (Content{"", "", ""}));
    QCOMPARE(grid->At(0, 3), (Content{"#aa", "#A", "#A"}));
    QCOMPARE(grid->At(5, 0), (Content{"g", "G", "G"}));
  }

  void smartMapWithAnEmptyPlaceholderCopiesTheTemplates() {
    grid->Set(0, 2, "#i", "#I");
    grid->Set(9, 0, "k", "K");
    script->answers.push_back(dialogs::Yes);
    smartmap::Run(nullptr, *grid, smartmap::Range::AllRows);
    QCOMPARE(grid->At(9, 2), (Content{"#i", "#I", "#I"}));
  }

  void smartMapRangesFollowTheCurrentCell() {
    grid->Set(0, 0, "#", "#");
    for (int c = 1; c < TCellGrid::ColCount; ++c) grid->Set(0, c, "#" + QString::number(c), "#");
    for (int r = 1; r < TCellGrid::RowCount; ++r) grid->Set(r, 0, "b" + QString::number(r), "B");
    const auto before = grid->Snapshot();
    const auto generated = [&](smartmap::Range range) {
      smartmap::Generate(*grid, range);
      std::vector<std::pair<int, int>> changed;
      const auto after = grid->Snapshot();
      for (std::size_t i = 0; i < after.size(); ++i)
        if (!(after[i] == before[i]))
          changed.emplace_back(static_cast<int>(i) / TCellGrid::ColCount, static_cast<int>(i) % TCellGrid::ColCount);
      for (int r = 1; r < TCellGrid::RowCount; ++r)
        for (int c = 1; c < TCellGrid::ColCount; ++c) grid->Set(r, c, "", "");
      return changed;
    };
    using Cells = std::vector<std::pair<int, int>>;
    // No current cell, or one in the wrong header: nothing.
    QCOMPARE(generated(smartmap::Range::SelectedRow), Cells{});
    QCOMPARE(generated(smartmap::Range::SelectedColumn), Cells{});
    grid->Select(0, 5);
    QCOMPARE(generated(smartmap::Range::SelectedRow), Cells{});
    grid->Select(8, 0);
    QCOMPARE(generated(smartmap::Range::SelectedColumn), Cells{});
    // A base cell generates its row, a template its column.
    Cells row8, column5;
    for (int c = 1; c < TCellGrid::ColCount; ++c) row8.emplace_back(8, c);
    for (int r = 1; r < TCellGrid::RowCount; ++r) column5.emplace_back(r, 5);
    QCOMPARE(generated(smartmap::Range::SelectedRow), row8);
    grid->Select(0, 5);
    QCOMPARE(generated(smartmap::Range::SelectedColumn), column5);
    QCOMPARE(generated(smartmap::Range::AllRows).size(), std::size_t{109 * 39});
    QCOMPARE(grid->At(8, 5).key, QString());
  }

  void answeringNoLeavesTheGridAsItWas() {
    grid->Set(0, 0, "#", "#");
    grid->Set(0, 1, "#a", "#A");
    grid->Set(1, 0, "k", "K");
    const auto before = grid->Snapshot();
    script->answers.push_back(dialogs::No);
    QVERIFY(!smartmap::Run(nullptr, *grid, smartmap::Range::AllRows));
    QVERIFY(grid->Snapshot() == before);
  }

  // --- the cell menu ---------------------------------------------------------

  void theMenuOffersItsItemsInOrder() {
    QMenu mnuTools;
    cellcommands::TCellMenu menu(&mnuTools);
    QStringList shown;
    for (const QAction* a : menu.mnuTools->actions())
      shown << (a->isSeparator() ? a->objectName() + ":-" : a->objectName() + ":" + a->text());
    QCOMPARE(shown, (QStringList{"CopyContent1:Copy Content", "PasteContent1:Paste Content", "N5:-",
                                 "CopyPattern1:Copy Pattern", "PastePattern1:Paste Pattern", "N1:-",
                                 "miClearCell:Clear Cell", "ClearColumn1:Clear Column", "ClearRow1:Clear Row",
                                 "ClearContenttoright1:Clear Content to bottom, right", "N2:-",
                                 "InsertCell1:Insert Cell After", "InsertColumnRight1:Insert Column Right",
                                 "InsertRow1:Insert Row Below", "N3:-", "DeleteCell1:Delete Cell",
                                 "DeleteColumn1:Delete Column", "DeleteRow1:Delete Row", "N4:-", "miCancel:Cancel"}));
    const auto enabled = [&] {
      QStringList on;
      for (const QAction* a : menu.mnuTools->actions())
        if (!a->isSeparator() && a->isEnabled()) on << a->objectName();
      return on;
    };
    menu.EnableItems(true, cellcommands::kClipNone);
    QVERIFY(!enabled().contains("PasteContent1") && !enabled().contains("PastePattern1"));
    QCOMPARE(enabled().size(), 13);
    menu.EnableItems(true, cellcommands::kClipContent);
    QVERIFY(enabled().contains("PasteContent1") && !enabled().contains("PastePattern1"));
    menu.EnableItems(true, cellcommands::kClipPattern);
    QVERIFY(!enabled().contains("PasteContent1") && enabled().contains("PastePattern1"));
    menu.EnableItems(false, cellcommands::kClipPattern);
    QCOMPARE(enabled(), QStringList{"miCancel"});
  }

  void pasteContentReadsTheSourceWhenItRuns() {
    grid->Set(3, 4, "ka", "K", "legend");
    grid->Select(3, 4);
    QVERIFY(cellcommands::PasteContent(*grid, 3, 4));  // onto itself
    QCOMPARE(grid->At(3, 4), (Content{"ka", "K", "K"}));
    grid->Set(3, 4, "kaa", "KA");                       // edited after the copy
    grid->Select(0, 7);                                 // a header: codes, no legend
    grid->GetCell(0, 7)->SetCaption("legend");
    QVERIFY(cellcommands::PasteContent(*grid, 3, 4));
    QCOMPARE(grid->At(0, 7), (Content{"kaa", "KA", "KA"}));
    QVERIFY(!cellcommands::PasteContent(*grid, 110, 0));  // no source
    grid->Select(-1, -1);
    QVERIFY(!cellcommands::PasteContent(*grid, 3, 4));  // no current cell
  }

  void pastePatternExchangesTheBase() {
    grid->Set(0, 0, "#", "#");
    grid->Set(0, 2, "#a#", "#A#");
    grid->Set(2, 0, "k", "K");
    grid->Set(2, 3, "kaka", "KAK");  // the base twice in both codes
    grid->Set(4, 0, "m", "M");
    grid->Select(4, 3);
    QVERIFY(cellcommands::PastePattern(*grid, 2, 3));
    QCOMPARE(grid->At(4, 3), (Content{"mama", "MAK", "MAK"}));
    grid->Select(2, 9);  // the source's own row: the source as it is
    QVERIFY(cellcommands::PastePattern(*grid, 2, 3));
    QCOMPARE(grid->At(2, 9), (Content{"kaka", "KAK", "KAK"}));
    grid->Select(4, 2);  // a template's base is the placeholder
    QVERIFY(cellcommands::PastePattern(*grid, 0, 2));
    QCOMPARE(grid->At(4, 2), (Content{"mam", "MA#", "MA#"}));
    grid->Set(7, 3, "x#k", "X#K");  // a source whose base is empty: taken unchanged
    QVERIFY(cellcommands::PastePattern(*grid, 7, 3));
    QCOMPARE(grid->At(4, 2), (Content{"x#k", "X#K", "X#K"}));
    grid->Select(4, 0);  // onto a header: its codes as caption
    QVERIFY(cellcommands::PastePattern(*grid, 2, 3));
    QCOMPARE(grid->At(4, 0), (Content{"mama", "MAK", "MAK"}));
  }

  void clearingEmptiesItsBlockOnly() {
    struct Case {
      std::function<void(const TCellGrid&)> command;
      std::function<bool(int r, int c)> emptied;  // around the current cell (40, 10)
    };
    const std::vector<Case> cases{
        {cellcommands::ClearCell, [](int r, int c) { return r == 40 && c == 10; }},
        {cellcommands::ClearRow, [](int r, int c) { return r == 40 && c > 10; }},
        {cellcommands::ClearColumn, [](int r, int c) { return r > 40 && c == 10; }},
        {cellcommands::ClearToBottomRight, [](int r, int c) { return r > 40 && c > 10; }},
    };
    for (const Case& k : cases) {
      grid->FillDistinct();
      grid->Select(40, 10);
      k.command(*grid);
      for (int r = 0; r < TCellGrid::RowCount; ++r)
        for (int c = 0; c < TCellGrid::ColCount; ++c) {
          const Content expected = k.emptied(r, c) ? Content{}
                                                   : Content{TestGrid::Name("k", r, c), TestGrid::Name("f", r, c),
                                                             TestGrid::Name("c", r, c)};
          if (!(grid->At(r, c) == expected)) QFAIL(qPrintable(QString("cell %1,%2").arg(r).arg(c)));
        }
    }
  }

  // Each shifting command, from current cells at and near the edges, against
  // where the table of the commands says every cell's content ends up.
  void insertingAndDeletingMoveTheirBlock() {
    // The source of each cell after the command, or (-1, -1) for an emptied
    // cell; the command's position is (R, C).
    using Source = std::function<std::pair<int, int>(int R, int C, int r, int c)>;
    struct Case {
      const char* name;
      std::function<void(const TCellGrid&)> command;
      bool (*runs)(int R, int C);
      Source source;
    };
    constexpr int kRow = 109, kCol = 39;
    const std::vector<Case> cases{
        {"InsertCellAfter", cellcommands::InsertCellAfter, [](int, int C) { return C <= 37; },
         [](int R, int C, int r, int c) -> std::pair<int, int> {
           if (r != R || c <= C) return {r, c};
           return c == C + 1 ? std::pair{-1, -1} : std::pair{r, c - 1};
         }},
        {"DeleteCell", cellcommands::DeleteCell, [](int, int C) { return C <= 38; },
         [](int R, int C, int r, int c) -> std::pair<int, int> {
           if (r != R || c < C) return {r, c};
           return c == kCol ? std::pair{-1, -1} : std::pair{r, c + 1};
         }},
        {"InsertRowBelow", cellcommands::InsertRowBelow, [](int R, int) { return R <= 107; },
         [](int R, int C, int r, int c) -> std::pair<int, int> {
           if (r <= R || c < C) return {r, c};
           return r == R + 1 ? std::pair{-1, -1} : std::pair{r - 1, c};
         }},
        {"DeleteRow", cellcommands::DeleteRow, [](int R, int) { return R <= 108; },
         [](int R, int C, int r, int c) -> std::pair<int, int> {
           if (r < R || c < C) return {r, c};
           return r == kRow ? std::pair{-1, -1} : std::pair{r + 1, c};
         }},
        {"InsertColumnRight", cellcommands::InsertColumnRight, [](int, int C) { return C <= 37; },
         [](int R, int C, int r, int c) -> std::pair<int, int> {
           if (r < R || c <= C) return {r, c};
           return c == C + 1 ? std::pair{-1, -1} : std::pair{r, c - 1};
         }},
        {"DeleteColumn", cellcommands::DeleteColumn, [](int, int C) { return C <= 38; },
         [](int R, int C, int r, int c) -> std::pair<int, int> {
           if (r < R || c < C) return {r, c};
           return c == kCol ? std::pair{-1, -1} : std::pair{r, c + 1};
         }},
    };
    for (const Case& k : cases)
      for (int R : {0, 1, 54, 107, 108, 109})
        for (int C : {0, 1, 20, 37, 38, 39}) {
          grid->FillDistinct();
          grid->Select(R, C);
          k.command(*grid);
          QCOMPARE(grid->CurrentCell(), grid->GetCell(R, C));
          for (int r = 0; r < TCellGrid::RowCount; ++r)
            for (int c = 0; c < TCellGrid::ColCount; ++c) {
              const auto [sr, sc] = k.runs(R, C) ? k.source(R, C, r, c) : std::pair{r, c};
              const Content expected = sr < 0 ? Content{}
                                              : Content{TestGrid::Name("k", sr, sc), TestGrid::Name("f", sr, sc),
                                                        TestGrid::Name("c", sr, sc)};
              if (!(grid->At(r, c) == expected))
                QFAIL(qPrintable(QString("%1 at %2,%3: cell %4,%5 holds %6")
                                     .arg(k.name).arg(R).arg(C).arg(r).arg(c).arg(grid->At(r, c).key)));
            }
        }
  }

  void commandsWithoutACurrentCellChangeNothing() {
    grid->FillDistinct();
    const auto before = grid->Snapshot();
    for (auto* command : {cellcommands::ClearCell, cellcommands::ClearRow, cellcommands::ClearColumn,
                          cellcommands::ClearToBottomRight, cellcommands::InsertCellAfter, cellcommands::DeleteCell,
                          cellcommands::InsertRowBelow, cellcommands::DeleteRow, cellcommands::InsertColumnRight,
                          cellcommands::DeleteColumn})
      command(*grid);
    QVERIFY(!cellcommands::PastePattern(*grid, 1, 1));
    QVERIFY(grid->Snapshot() == before);
  }

  // --- new maps --------------------------------------------------------------

  void newMapNamesAreCheckedInOrder() {
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    QVERIFY(WriteFile(folder + "Taken.fmp", "x"));
    QVERIFY(WriteFile(folder + "Odd?.fmp", "x"));
    // The name returned, the messages shown, and what the input box asked.
    using Result = std::pair<QString, QStringList>;
    const auto ask = [&](const QString& typed, const newmap::TNameQuery& query) {
      script->asked.clear();
      script->inputs.push_back(typed);
      const QString name = newmap::AskNewMapName(nullptr, folder, query);
      const dialogs::Asked input = script->asked.front();
      return Result{name, script->messages() << input.caption + "|" + input.text};
    };
    for (const auto& query : {newmap::NewMapQuery(), newmap::CopyMapQuery()}) {
      const QString asked = query.title + "|" + query.prompt;
      const QStringList taken{newmap::kExistsMessage, asked};
      QCOMPARE(ask(QString(), query), (Result{QString(), {asked}}));  // Cancel
      QCOMPARE(ask("", query), (Result{QString(), {asked}}));
      QCOMPARE(ask("Taken", query), (Result{QString(), taken}));
      QCOMPARE(ask("tAKEN", query), (Result{QString(), taken}));  // the reader finds it whatever the case
      QCOMPARE(ask("Odd?", query), (Result{QString(), taken}));   // taken before invalid
      for (const char* bad : {"a\\b", "a/b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b", "a`b"})
        QCOMPARE(ask(bad, query), (Result{QString(), {query.invalidMessage, asked}}));
      QCOMPARE(ask(QString::fromUtf16(u"\u0DC3\u0DD2\u0D82"), query), (Result{QString(), {query.invalidMessage, asked}}));
      QCOMPARE(ask(" New map ", query), (Result{" New map ", {asked}}));
    }
    QCOMPARE(newmap::NewMapQuery(), (newmap::TNameQuery{"Create Character Map", "New Character Map name:",
                                                         "Invalid character Map Name."}));
    QCOMPARE(newmap::CopyMapQuery(), (newmap::TNameQuery{"Copy Current Character Map", "New Character Map Name:",
                                                          "Invalid Character Map Name."}));
    script->inputs.push_back("a?b");
    newmap::AskNewMapName(nullptr, folder, newmap::NewMapQuery());
    QCOMPARE(script->asked.back().icon, dialogs::Icon::Error);
  }

  void aNewMapIsSixLinesWithTheDefaultFace() {
    const std::string bytes = newmap::NewMapBytes();
    QStringDecoder decode(QStringDecoder::Utf16);
    QCOMPARE(decode(QByteArray::fromStdString(bytes)), QString("[font]\r\nNoto Sans Sinhala\r\n\r\n[map_layout]\r\n\r\n\r\n"));
    TCharCollection map;
    map.LoadFromBytes(bytes, false);
    QCOMPARE(map.Count(), 0);
    QVERIFY(map.FontName == u"Noto Sans Sinhala" && map.MapLayout.empty());
  }

  // --- the HTML chart --------------------------------------------------------

  void theChartHasHeadTailAndFourLinesPerBase() {
    QTemporaryDir dir;
    grid->Set(0, 1, "#a", "#A");  // templates are never exported
    grid->Set(3, 0, "k", "K");
    grid->Set(3, 1, "ka", "KA");
    grid->Set(3, 39, "kz", "");
    grid->Set(5, 0, "m", "");     // a base without codes
    grid->Set(6, 0, "", "N");     // a base without a key
    grid->Set(9, 0, "t", "T");
    exporttext::TSaveDialog dialog;
    script->saveNames.push_back(dir.filePath("chart"));
    QVERIFY(htmlchart::Export(nullptr, dialog, *grid, "Face"));
    QCOMPARE(script->asked.front().text, QString("HTML File (*.htm);;MS Excel Woorkbook (*.xls);;All Files (*.*)"));
    const QStringList lines = ReadUtf16(dir.filePath("chart.htm")).split("\r\n");
    QCOMPARE(lines.size(), 16 + 4 * 2 + 1);  // the last line ends with CR LF too
    QCOMPARE(lines.mid(0, 13),
             (QStringList{"<html>", "<head>", "<title>Face Character Map</title>",
                          "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-16\">",
                          "<style type=\"text/css\">", "<!--", ".sinFont {font-family: \"Face\"}",
                          ".engFont {font-family: \"Tahoma\", Times, serif}", "-->", "</style>", "</head>", "<body>",
                          "<table border=1>"}));
    QCOMPARE(lines.mid(21), (QStringList{"</table>", "</body>", "</html>", ""}));
    QString sin = "<tr><td class=\"sinFont\">KA</td>", eng = "<tr><td class=\"engFont\">ka</td>";
    for (int c = 2; c < 39; ++c) sin += "<td class=\"sinFont\"></td>", eng += "<td class=\"engFont\"></td>";
    sin += "<td class=\"sinFont\"></td>";
    eng += "<td class=\"engFont\">kz</td>";
    QCOMPARE(lines.mid(13, 4), (QStringList{sin, "</tr>", eng, "</tr>"}));
    QVERIFY(lines[17].startsWith("<tr><td class=\"sinFont\"></td>"));  // row 9
  }

  void theChartDialogStartsAtTheFaceAndAnyNameGetsHtml() {
    QTemporaryDir dir;
    exporttext::TSaveDialog dialog;
    QVERIFY(!htmlchart::Export(nullptr, dialog, *grid, ""));  // cancelled: nothing written
    QCOMPARE(dialog.FileName, QString("CharacterMap.htm"));
    QCOMPARE(script->asked.front().caption, QString("htm"));
    QVERIFY(QDir(dir.path()).isEmpty());
    grid->Set(1, 0, "k", "K");
    script->saveNames.push_back(dir.filePath("book.xls"));
    htmlchart::Export(nullptr, dialog, *grid, "");
    const QStringList first = ReadUtf16(dir.filePath("book.xls")).split("\r\n");
    QCOMPARE(first.size(), 16 + 4 + 1);
    QCOMPARE(first[2], QString("<title> Character Map</title>"));
    grid->Set(1, 0, "", "");
    script->saveNames.push_back(dir.filePath("book.xls"));  // again: replaced without a question
    htmlchart::Export(nullptr, dialog, *grid, "");
    QCOMPARE(ReadUtf16(dir.filePath("book.xls")).split("\r\n").size(), 16 + 1);
    QCOMPARE(script->messages(), QStringList{});
  }

  // Whatever the cells hold (Sinhala letters, "<", ">", "&", quotes), an HTML
  // reader finds exactly each cell's own text in its table cell.
  void everyChartCellShowsExactlyItsText() {
    QTemporaryDir dir;
    const QString alphabet = QString::fromUtf16(u"ab&<>\"';=#\u0D9A\u0DCF\u0DCA\u200D\u00E4");
    auto* random = QRandomGenerator::global();
    const auto text = [&] {
      QString t;
      for (int n = static_cast<int>(random->bounded(5)); n > 0; --n)
        t += alphabet[static_cast<int>(random->bounded(alphabet.size()))];
      t.replace("&", random->bounded(2) ? "&amp;" : "&");  // a literal reference stays literal
      return t;
    };
    std::vector<int> exported;
    for (int r = 1; r < TCellGrid::RowCount; r += 3) {
      grid->Set(r, 0, "b" + text(), "B" + text());
      exported.push_back(r);
      for (int c = 1; c < TCellGrid::ColCount; ++c) grid->Set(r, c, text(), text());
    }
    exporttext::TSaveDialog dialog;
    script->saveNames.push_back(dir.filePath("chart.htm"));
    htmlchart::Export(nullptr, dialog, *grid, "A&B <Face>");
    const QString html = ReadUtf16(dir.filePath("chart.htm"));
    QVERIFY(html.contains("<title>A&amp;B &lt;Face&gt; Character Map</title>"));
    const auto rows = TableCells(html);
    QCOMPARE(rows.size(), exported.size() * 2);
    for (std::size_t i = 0; i < exported.size(); ++i)
      for (int c = 1; c < TCellGrid::ColCount; ++c) {
        QCOMPARE(rows[2 * i].value(c - 1), grid->At(exported[i], c).codes);
        QCOMPARE(rows[2 * i + 1].value(c - 1), grid->At(exported[i], c).key);
      }
  }

  // Whatever the map's font name holds, it stays a CSS string inside the
  // style block and text inside the title: the chart keeps its lines, no
  // markup of the name runs, and the name reads back whole.
  void theFontNameNeverRunsAsMarkup() {
    QTemporaryDir dir;
    grid->Set(1, 0, "k", "K");
    const QString alphabet = QString::fromUtf16(u"aZ \"'\\<>/&;{}:-!\r\n\t\u0D9A\u00E4");
    // The rule's string: no character that could end it or the block, only
    // hexadecimal escapes in their stead.
    const QRegularExpression rule("^\\.sinFont \\{font-family: \"((?:[^\"'\\\\<>&\\x00-\\x1f\\x7f]|\\\\[0-9a-f]{1,6} )*)\"\\}$");
    const QRegularExpression escape("\\\\([0-9a-f]{1,6}) ");
    auto* random = QRandomGenerator::global();
    QStringList names{"X\"}</style><script>alert(1)</script><style>{\"", "\\\"", "</STYLE >", ""};
    for (int i = 0; i < 200; ++i) {
      QString name;
      for (int n = static_cast<int>(random->bounded(12)); n > 0; --n)
        name += alphabet[static_cast<int>(random->bounded(alphabet.size()))];
      names << name;
    }
    for (const QString& name : names) {
      exporttext::TSaveDialog dialog;
      script->saveNames.push_back(dir.filePath("chart.htm"));
      QVERIFY(htmlchart::Export(nullptr, dialog, *grid, name));
      const QString html = ReadUtf16(dir.filePath("chart.htm"));
      const QStringList lines = html.split("\r\n");
      QCOMPARE(lines.size(), 16 + 4 + 1);
      QVERIFY(!html.contains("<script", Qt::CaseInsensitive));
      QCOMPARE(html.count("</style>", Qt::CaseInsensitive), 1);
      const QRegularExpressionMatch rule7 = rule.match(lines[6]);
      QVERIFY2(rule7.hasMatch(), qPrintable(lines[6]));
      QString read = rule7.captured(1);
      for (auto m = escape.match(read); m.hasMatch(); m = escape.match(read, m.capturedStart() + 1))
        read.replace(m.capturedStart(), m.capturedLength(), QChar(m.captured(1).toUShort(nullptr, 16)));
      QCOMPARE(read, name);
      QTextDocument doc;
      doc.setHtml(html);
      QCOMPARE(doc.metaInformation(QTextDocument::DocumentTitle).simplified(),
               (name + " Character Map").simplified());
      QCOMPARE(TableCells(html).size(), std::size_t(2));
    }
  }

  void aChartThatCannotBeWrittenIsAnError() {
    exporttext::TSaveDialog dialog;
    script->saveNames.push_back("/nonexistent-folder/chart.htm");
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, htmlchart::Export(nullptr, dialog, *grid, "Face"));
  }
};

QTEST_MAIN(MapEditorCommandsTest)
#include "commands_test.moc"
