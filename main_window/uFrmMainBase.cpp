#include "uFrmMainBase.h"

#include "QtCodepage.h"

#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "CharView.h"
#include "RunApp.h"
#include "WorkingCtrls.h"
#include "codepage.h"
#include "dialogs.h"
#include "OuterBounds.h"
#include "log.h"
#include "registry.h"
#include "uFrmMainBaseMemo.h"

namespace {

constexpr int kTileWidth = 44;
constexpr int kTileHeight = 27;
// Where the tiles the strip does not need wait: above and left of its content,
// so that they neither show nor widen it.
constexpr QPoint kParked(-1000, -1000);

std::string Narrow(const QString& s) { return codepage::NarrowQ(s); }
QString Widen(std::string_view s) { return codepage::WidenQ(s); }

}  // namespace

quint16 VirtualKeyOf(const QKeyEvent* event) {
  const int key = event->key();
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Space)
    return static_cast<quint16>(key);
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Escape: return 27;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Delete: return 46;
    default: return 0;
  }
}

TShiftState ShiftStateOf(const QKeyEvent* event) {
  const Qt::KeyboardModifiers m = event->modifiers();
  return {m.testFlag(Qt::ShiftModifier), m.testFlag(Qt::AltModifier), m.testFlag(Qt::ControlModifier)};
}

TfrmMainBase::TfrmMainBase(QWidget* parent) : QMainWindow(parent), FOuterBounds(new TOuterBounds(this)) {
  RunApp1 = new TRunApp(this);
  RunApp1->setObjectName("RunApp1");
  memSinhala = new TMemo(this, false);
  memSinhala->setObjectName("memSinhala");
  memSinhala->setReadOnly(true);
  // Read-only to typing, but the text can still be selected and copied from
  // the keyboard as in any read-only edit control.
  memSinhala->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  memSinhala->setUndoRedoEnabled(false);
  QPalette face = memSinhala->palette();
  face.setColor(QPalette::Base, face.color(QPalette::Button));
  memSinhala->setPalette(face);
  memSinhala->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memSinhala->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memSinhala->setToolTip("Sinhala/ English script display  pane.");

  memEnglish = new TMemo(this, true);
  memEnglish->setObjectName("memEnglish");
  memEnglish->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memEnglish->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QFont typingFont("Tahoma");
  typingFont.setPixelSize(13);
  memEnglish->setFont(typingFont);
  memEnglish->setToolTip(
      "Sinhala/ English typing pane. To toggle between Sinhala and English use CRTL+S and CTRL+E respectively .");

  pnlSuggest = new QWidget(this);
  pnlSuggest->setObjectName("pnlSuggest");
  ToolBar3 = new QWidget(pnlSuggest);
  ToolBar3->setObjectName("ToolBar3");
  ToolBar3->setFixedHeight(24);
  Label1 = new QLabel("  Search: ", ToolBar3);
  Label1->setObjectName("Label1");
  QFont bold = Label1->font();
  bold.setBold(true);
  Label1->setFont(bold);
  txtEnglish = new QLineEdit(ToolBar3);
  txtEnglish->setObjectName("txtEnglish");
  // At most six characters typed; the program may put in longer keys.
  txtEnglish->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral(".{0,6}")), txtEnglish));
  txtEnglish->setFixedWidth(60);
  Label2 = new QLabel("  ", ToolBar3);
  Label2->setObjectName("Label2");
  chkSubmitWords = new QCheckBox("Submit Words", ToolBar3);
  chkSubmitWords->setObjectName("chkSubmitWords");
  chkSuggest = new QCheckBox("Auto suggest  ", ToolBar3);
  chkSuggest->setObjectName("chkSuggest");
  chkSuggest->setChecked(true);
  auto* bar = new QHBoxLayout(ToolBar3);
  bar->setContentsMargins(0, 0, 0, 0);
  bar->setSpacing(2);
  for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(txtEnglish),
                     static_cast<QWidget*>(Label2), static_cast<QWidget*>(chkSubmitWords),
                     static_cast<QWidget*>(chkSuggest)})
    bar->addWidget(w);
  bar->addStretch(1);

  ScrollBox1 = new TorviScrollBox(pnlSuggest);
  ScrollBox1->setObjectName("ScrollBox1");
  ScrollBox1->setBackgroundRole(QPalette::Button);
  ScrollBox1->viewport()->setBackgroundRole(QPalette::Button);
  ScrollBox1->Content()->setBackgroundRole(QPalette::Button);
  ScrollBox1->Content()->setAutoFillBackground(true);
  QFont stripFont("Tahoma");
  stripFont.setPixelSize(24);
  ScrollBox1->setFont(stripFont);
  ScrollBox1->setToolTip("Sinhala character suggestions pane.");
  auto* panel = new QVBoxLayout(pnlSuggest);
  panel->setContentsMargins(0, 0, 0, 0);
  panel->setSpacing(0);
  panel->addWidget(ToolBar3);
  panel->addWidget(ScrollBox1, 1);

  tmrSuggest = new QTimer(this);
  tmrSuggest->setObjectName("tmrSuggest");
  tmrSuggest->setInterval(10);

  connect(memEnglish, &QPlainTextEdit::textChanged, this, [this] { memEnglishChange(memEnglish); });
  connect(memEnglish, &TMemo::KeyUp, this, [this](QKeyEvent* e) {
    quint16 key = VirtualKeyOf(e);
    memEnglishKeyUp(memEnglish, key, ShiftStateOf(e));
  });
  connect(memSinhala, &QPlainTextEdit::textChanged, this, [this] { memSinhalaChange(memSinhala); });
  connect(memSinhala, &TMemo::Enter, this, [this] { memSinhalaEnter(memSinhala); });
  connect(memSinhala, &TMemo::Exit, this, [this] { memSinhalaExit(memSinhala); });
  connect(tmrSuggest, &QTimer::timeout, this, [this] { tmrSuggestTimer(tmrSuggest); });
  connect(txtEnglish, &QLineEdit::textChanged, this, [this] { txtEnglishChange(txtEnglish); });
  connect(chkSuggest, &QCheckBox::clicked, this, [this] { chkSuggestClick(chkSuggest); });
  connect(ScrollBox1, &TorviScrollBox::DblClick, this, [this] { ScrollBox1DblClick(ScrollBox1); });

  // One refresh runs shortly after the window exists.
  tmrSuggest->start();
}

TfrmMainBase::~TfrmMainBase() { DisconnectChildren(); }

void TfrmMainBase::CreateMaps() {
  FCharMap = std::make_unique<TCharCollection>();
  {
    // No suggestion search yet: the list is made after the first load.
    const QScopedValueRollback busy(FSuggestBusy, true);
    cmbMapsChange(nullptr);
  }
  FSuggestions = std::make_unique<TCharCollection>();
}

void TfrmMainBase::DisconnectChildren() {
  // Children still raise signals (a pane losing the focus) while they are
  // destroyed, after this window's own part is gone.
  for (QObject* child : findChildren<QObject*>()) QObject::disconnect(child, nullptr, this, nullptr);
}

// --- program folder ---------------------------------------------------------

QString& TfrmMainBase::AppFolderOverride() {
  static QString folder;
  return folder;
}

QString TfrmMainBase::GetAppFolder() {
  if (!AppFolderOverride().isEmpty()) return AppFolderOverride();
  QString dir = QCoreApplication::applicationDirPath();
  if (!dir.endsWith('/')) dir += '/';
  return dir;
}

void TfrmMainBase::RegisterAppFolder() {
  if (!registry::WriteInstallPath(GetAppFolder().toStdU16String()))
    qCWarning(lcFiles) << "program folder not written to the registry hive" << registry::HiveFile().c_str();
}

void TfrmMainBase::SetAppFolder(const QString& folder) {
  QString f = folder;
  if (!f.isEmpty() && !f.endsWith('/')) f += '/';
  AppFolderOverride() = f;
}

// --- typing pane ------------------------------------------------------------

int TfrmMainBase::LineIndexAt(std::string_view text, int position) {
  int count = 0;
  for (std::size_t i = 0; i + 1 < text.size() && static_cast<int>(i + 1) < position;) {
    if (text[i] == '\r' && text[i + 1] == '\n') {
      ++count;
      i += 2;
    } else {
      ++i;
    }
  }
  return count;
}

QString TfrmMainBase::ToFont(const QString& text) const {
  return QString::fromStdU16String(FCharMap->EnglishToFont(text.toStdU16String()));
}

void TfrmMainBase::memEnglishChange(QObject*) {
  // The English mirror. Not while the display pane holds the focus: its own
  // change has just been copied into the typing pane.
  if (FEnglishMode) {
    if (!FSinhalaEditing) UpdateDisplay();
    return;
  }
  if (FUpdatingInput || FSinhalaEditing || !FCharMap) return;
  UpdateDisplay();
  RefreshCaret();
}

void TfrmMainBase::UpdateDisplay() {
  // Taken before the display is written: a change the display's own change
  // handler makes in the typing pane (the reverse conversion) stays to be
  // picked up by the next update.
  const TMemo::TChanges changes = memEnglish->TakeChanges();
  const auto convert = [this](const QString& text) { return FEnglishMode ? text : ToFont(text); };
  // Only the lines an edit touched are converted (within one line, that
  // line); edits in several places, or a display that no longer matches the
  // typing pane line for line, convert the whole text again.
  const bool modeChanged = FDisplayEnglish != FEnglishMode;
  FDisplayEnglish = FEnglishMode;
  if (changes.whole || modeChanged ||
      memSinhala->BlockCount() != memEnglish->BlockCount() - (changes.last - changes.oldLast)) {
    memSinhala->SetText(convert(memEnglish->Text()));
  } else if (changes.first >= 0) {
    QStringList lines;
    for (int i = changes.first; i <= changes.last; ++i) lines << memEnglish->Line(i);
    memSinhala->ReplaceLines(changes.first, changes.oldLast, convert(lines.join(QStringLiteral("\r\n"))));
  }
  ShowCaretInDisplay();
}

void TfrmMainBase::ShowCaretInDisplay() {
  if (!FEnglishMode && !FCharMap) return;  // nothing to convert the caret's line with
  const QTextCursor caret = memEnglish->textCursor();
  const int line = caret.blockNumber();
  const QString before = caret.block().text().left(caret.positionInBlock());
  memSinhala->ShowPosition(line, static_cast<int>(FEnglishMode ? before.size() : ToFont(before).size()));
}

void TfrmMainBase::memEnglishKeyUp(QObject*, quint16& Key, TShiftState) {
  if (FUpdatingInput || FSinhalaEditing) return;
  RefreshCaretOn(Key);
}

bool TfrmMainBase::RefreshCaretOn(quint16 key) {
  if (key != VK_REFRESH && key != VK_LEFT && key != VK_RIGHT && key != VK_UP && key != VK_DOWN) return false;
  RefreshCaret();
  return true;
}

void TfrmMainBase::RefreshCaret() {
  const int P = memEnglish->SelStart();
  FCaretLine = memEnglish->LineAt(P);
  FindSuggestions(Narrow(memEnglish->TextBefore(P, 6)), false);
}

void TfrmMainBase::tmrSuggestTimer(QObject*) {
  tmrSuggest->stop();
  memEnglishChange(nullptr);
}

void TfrmMainBase::memSinhalaEnter(QObject*) { FSinhalaEditing = true; }

void TfrmMainBase::memSinhalaExit(QObject*) { FSinhalaEditing = false; }

void TfrmMainBase::memSinhalaChange(QObject*) {
  if (!FSinhalaEditing) return;
  // In English typing the display holds what was typed: it is taken over
  // as it stands, never converted back.
  if (FEnglishMode) {
    memEnglish->SetText(memSinhala->Text());
    return;
  }
  if (!FCharMap) return;
  const std::u16string english = FCharMap->FontToEnglish(memSinhala->Text().toStdU16String());
  memEnglish->SetText(Widen(codepage::Narrow(english)));
}

// --- suggestion strip -------------------------------------------------------

void TfrmMainBase::FindSuggestions(const std::string& text, bool searchMode) {
  if (FSuggestBusy || FEnglishMode) return;
  const QScopedValueRollback busy(FSuggestBusy, true);
  FSelectedView = nullptr;
  if (!FSuggestions) FSuggestions = std::make_unique<TCharCollection>();
  FSuggestions->Clear();
  std::string t = text;
  if (const auto space = t.find(' '); space != std::string::npos) t.erase(0, space + 1);
  const int L = static_cast<int>(t.size());
  if (FCharMap && L > 0) {
    if (searchMode) {
      FCharMap->FindCombinations(t, FSuggestions, false);
    } else {
      for (int n = 6; n >= 1; --n)
        if (L >= n) FCharMap->FindCombinations(std::string_view(t).substr(L - n), FSuggestions, FSuggestions->Count() > 0);
    }
  }
  LayoutSuggestions(*FSuggestions);
}

std::vector<TTntCharView*> TfrmMainBase::Tiles() const {
  return {FTilePool.begin(), FTilePool.begin() + FTilesShown};
}

void TfrmMainBase::LayoutSuggestions(const TCharCollection& list) {
  // Tiles are kept from search to search, relabelled and moved: a strip of
  // a hundred tiles is rebuilt within a frame.
  const int before = FTilesShown;
  FTilesShown = 0;
  int row = 0;
  int column = 0;
  for (int i = 0; i < list.Count(); ++i) {
    AddCharView(row, column, list.Items(i));
    ++column;
  }
  // Tiles not needed now are moved out of the strip's sight rather than
  // hidden: every tile shown again would cost a round of show events (and
  // an X round trip while the pointer rests over the window).
  for (int i = FTilesShown; i < before; ++i) FTilePool[static_cast<std::size_t>(i)]->move(kParked);
  ShowTiles();
  ScrollBox1->UpdateRange();
  EnterPointedTile();
}

void TfrmMainBase::ShowTiles() {
  // Only tiles just made are hidden.
  std::vector<TTntCharView*> hidden;
  for (TTntCharView* tile : Tiles())
    if (tile->isHidden()) hidden.push_back(tile);
  if (hidden.empty()) return;
  // While the pointer rests over the window, every tile shown on its own
  // asks the X server where the pointer is; shown with the strip's content,
  // the server is asked once.
  QWidget* content = ScrollBox1->Content();
  const bool together = content->isVisible() && window()->underMouse();
  if (together) content->hide();
  for (TTntCharView* tile : hidden) tile->show();
  if (together) content->show();
}

void TfrmMainBase::EnterPointedTile() {
  if (!ScrollBox1->viewport()->underMouse()) return;
  QWidget* content = ScrollBox1->Content();
  const QPoint global = QCursor::pos();
  auto* tile = qobject_cast<TTntCharView*>(content->childAt(content->mapFromGlobal(global)));
  // A tile shown there anew has been entered already.
  if (!tile || tile == FSelectedView) return;
  const QPoint local = tile->mapFromGlobal(global);
  QEnterEvent enter(local, tile->mapTo(window(), local), global);
  QCoreApplication::sendEvent(tile, &enter);
}

TTntCharView* TfrmMainBase::NextTile() {
  const auto next = static_cast<std::size_t>(FTilesShown++);
  if (next < FTilePool.size()) {
    TTntCharView* tile = FTilePool[next];
    // A tile selected in an earlier strip: the strip's colours and font.
    if (tile->testAttribute(Qt::WA_SetPalette)) tile->setPalette(QPalette());
    if (tile->testAttribute(Qt::WA_SetFont)) tile->setFont(QFont());
    return tile;
  }
  auto* tile = new TTntCharView(ScrollBox1->Content());
  tile->hide();
  tile->setCursor(Qt::ArrowCursor);
  BindCharView(tile);
  FTilePool.push_back(tile);
  return tile;
}

TTntCharView* TfrmMainBase::AddCharView(int& row, int& column, const TCharItem& item) {
  TTntCharView* tile = NextTile();
  const QScrollBar* h = ScrollBox1->horizontalScrollBar();
  const QScrollBar* v = ScrollBox1->verticalScrollBar();
  const int hPos = h->isVisible() ? h->value() : 0;
  const int vPos = v->isVisible() ? v->value() : 0;
  int left = column * kTileWidth + 1 - hPos;
  if (left + 49 > ScrollBox1->width()) {
    column = 0;
    ++row;
    left = 1;
  }
  const int top = row * kTileHeight + 1 - vPos;
  tile->SetCaption(QString::fromStdU16String(item.CharInFont));
  // Positions above are relative to the visible area; the tiles live on the
  // scrolled content.
  tile->setGeometry(left + hPos, top + vPos, kTileWidth, kTileHeight);
  tile->RowIndex = row;
  tile->ColumnIndex = column;
  tile->CharInEnglish = QString::fromStdU16String(item.CharInEnglish);
  tile->CharInFont = QString::fromStdU16String(item.CharInFont);
  tile->Data = QString::fromStdU16String(item.Data);
  tile->IsBiggerChars = item.IsBiggerChars;
  return tile;
}

void TfrmMainBase::BindCharView(TTntCharView* tile) {
  connect(tile, &TTntCharView::MouseEnter, this, &TfrmMainBase::tntCharViewClick);
  connect(tile, &TTntCharView::Click, this, &TfrmMainBase::tntCharViewClicked);
  connect(tile, &TTntCharView::DblClick, this, &TfrmMainBase::tntCharViewDblClick);
}

void TfrmMainBase::SelectCharView(TTntCharView* tile) {
  if (tile == FSelectedView) return;
  if (FSelectedView) {
    TTntCharView* old = FSelectedView;
    QPalette pal = old->palette();
    pal.setColor(old->backgroundRole(), FSelectedViewColor);
    pal.setColor(old->foregroundRole(), FSelectedViewFontColor);
    old->setPalette(pal);
    QFont f = old->font();
    f.setPointSize(16);
    old->setFont(f);
    old->setGeometry(old->x() + 8, old->y(), kTileWidth, kTileHeight);
  }
  FSelectedView = tile;
  if (tile) {
    QPalette pal = tile->palette();
    FSelectedViewColor = pal.color(tile->backgroundRole());
    FSelectedViewFontColor = pal.color(tile->foregroundRole());
    pal.setColor(tile->backgroundRole(), pal.color(QPalette::Highlight));
    pal.setColor(tile->foregroundRole(), pal.color(QPalette::HighlightedText));
    tile->setPalette(pal);
    QFont f = tile->font();
    f.setPointSize(24);
    tile->setFont(f);
    tile->setGeometry(tile->x() - 8, tile->y(), 60, 41);
    tile->raise();
    const QScopedValueRollback updating(FUpdatingInput, true);
    txtEnglish->setText(tile->CharInEnglish);
  } else {
    const QScopedValueRollback updating(FUpdatingInput, true);
    txtEnglish->clear();
  }
}

void TfrmMainBase::tntCharViewClick(TTntCharView* Sender) {
  if (Sender) SelectCharView(Sender);
}

void TfrmMainBase::tntCharViewClicked(TTntCharView* tile) {
  tntCharViewClick(tile);
  // The click took the keyboard to the strip; the next letters belong to
  // the typing pane, caret unmoved.
  memEnglish->setFocus();
}

void TfrmMainBase::tntCharViewDblClick(TTntCharView* Sender) {
  if (!Sender) return;
  SelectCharView(Sender);
  const int n = static_cast<int>(Sender->Data.size());
  memEnglish->SetSelStart(std::max(0, memEnglish->SelStart() - n));
  memEnglish->SetSelLength(n);
  {
    const QScopedValueRollback updating(FUpdatingInput, true);
    // After "&" the key is converted on its own, not joined to what precedes.
    memEnglish->SetSelText((Sender->IsBiggerChars ? QStringLiteral("&") : QString()) + Sender->CharInEnglish);
  }
  // The caret stays right after the inserted key, and the keyboard goes back
  // to the typing pane; the strip is rebuilt by the refresh, after this
  // handler has returned.
  memEnglish->setFocus();
  tmrSuggest->start();
}

void TfrmMainBase::txtEnglishChange(QObject*) {
  if (FSuggestBusy || FUpdatingInput) return;
  FindSuggestions(Narrow(txtEnglish->text()), true);
}

void TfrmMainBase::chkSuggestClick(QObject*) {}

void TfrmMainBase::ScrollBox1DblClick(QObject*) { dialogs::MessageBox(this, "yst"); }

// --- maps -------------------------------------------------------------------

std::vector<std::string> TfrmMainBase::ListMapFiles(const QString& folder, const QString& extension) const {
  const QString path = folder.isEmpty() ? GetAppFolder() : folder;
  const QDir dir(path);
  if (!dir.exists()) throw EFolderNotFound("Folder not found: " + path.toStdString());
  std::vector<std::string> names;
  const QStringList files =
      dir.entryList({QStringLiteral("*") + extension}, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
  for (const QString& f : files) names.push_back(Narrow(f));
  return names;
}

void TfrmMainBase::FillMapList(QComboBox* combo, const QString& folder, const QString& extension) {
  const std::vector<std::string> files = ListMapFiles(folder, extension);
  const QSignalBlocker quiet(combo);
  int index = combo->currentIndex();
  combo->clear();
  for (const std::string& f : files)
    combo->addItem(QString::fromStdU16String(TCharCollection::GetMapName(codepage::Widen(f))));
  if (index < 0 || index >= combo->count()) index = 0;
  if (combo->count() > 0) combo->setCurrentIndex(index);
}

bool TfrmMainBase::LoadFontMap(const std::string& name) {
  try {
    if (!FCharMap) return false;
    FCharMap->LoadFromFile((GetAppFolder() + Widen(name) + ".fmp").toStdU16String(), true);
    const QString family = QString::fromStdU16String(FCharMap->FontName);
    // English typing keeps its own face and its mirror: the new map is for
    // the Sinhala typing to come.
    if (!FEnglishMode) {
      QFont face = memSinhala->font();
      face.setFamily(family);
      memSinhala->setFont(face);
      memEnglish->TakeChanges();
      memSinhala->SetText(ToFont(memEnglish->Text()));
      ShowCaretInDisplay();
    }
    QFont strip = ScrollBox1->font();
    strip.setFamily(family);
    ScrollBox1->setFont(strip);
    FFontMapName = codepage::Narrow(TCharCollection::GetMapName(codepage::Widen(FCharMap->FileName())));
    quint16 key = VK_REFRESH;
    memEnglishKeyUp(nullptr, key, {});
    return true;
  } catch (const std::exception& e) {
    // A map that cannot be loaded is not reported to the user.
    qCWarning(lcMaps) << "map" << Widen(name) << "not loaded:" << e.what();
    return false;
  }
}

void TfrmMainBase::cmbMapsChange(QObject*) { LoadFontMap(FFontMapName); }

void TfrmMainBase::FormClose(QObject*, bool&) {}

void TfrmMainBase::closeEvent(QCloseEvent* event) {
  bool canClose = true;
  FormClose(this, canClose);
  if (canClose)
    event->accept();
  else
    event->ignore();
}
