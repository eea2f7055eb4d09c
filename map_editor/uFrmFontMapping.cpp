#include "uFrmFontMapping.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <utility>

#include "CellCommands.h"
#include "CharView.h"
#include "LayoutFile.h"
#include "QtCodepage.h"
#include "QtFiles.h"
#include "RunApp.h"
#include "WorkingCtrls.h"
#include "dialogs.h"
#include "log.h"
#include "uFrmMainBase.h"

using codepage::NarrowQ;
using codepage::WidenQ;

namespace {

// Grid geometry in the scroll box's content: cell (r,c) stands at
// (kGridLeft + kCellWidth * c, kGridTop + kCellHeight * r).
constexpr int kGridLeft = 33;
constexpr int kGridTop = 28;
constexpr int kCellWidth = 44;
constexpr int kCellHeight = 27;
// A cell is found by a point this far inside its top-left corner.
constexpr int kProbe = 5;

const QColor kSilver(0xC0, 0xC0, 0xC0);

const char* const kTemplateHint =
    "This row holds character combination template data and they will be used only when generating the map file.";
const char* const kBaseHint = "This column holds base character information only.";
const char* const kLayoutError = "Error loading Layout information. Layout not found or currupted.";
const char* const kCutWarning =
    "This map holds more base characters or combinations than the editor's grid shows. "
    "Saving it writes only what the grid shows and drops the rest.\n\nSave anyway?";

// The map combo tells when its list closes and when a key is pressed in it.
class MapCombo : public QComboBox {
 public:
  using QComboBox::QComboBox;
  std::function<void()> OnCloseUp;
  std::function<void()> OnKeyDown;

  void hidePopup() override {
    QComboBox::hidePopup();
    if (OnCloseUp) OnCloseUp();
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (OnKeyDown) OnKeyDown();
    QComboBox::keyPressEvent(event);
  }
};

QString AppFolder() { return TfrmMainBase::GetAppFolder(); }

QPushButton* Button(const QString& caption, const char* name, QWidget* parent) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->setAutoDefault(false);  // Enter in a code box locates, it presses nothing
  return b;
}

template <class W>
W* Named(W* w, const char* name) {
  w->setObjectName(name);
  return w;
}

}  // namespace

// --- the window ---------------------------------------------------------------

TfrmFontMapping::TfrmFontMapping(TfrmMainBase* owner) : QDialog(owner), FOwner(owner) {
  setObjectName("frmFontMapping");
  setWindowTitle("Configure Font Character Map ");
  setModal(true);
  setFont(QFont("Tahoma", 8));
  resize(809, 590);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(4, 2, 4, 4);
  root->setSpacing(3);

  // Toolbar with the map combo.
  CoolBar1 = Named(new QWidget(this), "CoolBar1");
  auto* coolLayout = new QHBoxLayout(CoolBar1);
  coolLayout->setContentsMargins(0, 0, 0, 0);
  ToolBar1 = Named(new QToolBar(CoolBar1), "ToolBar1");
  ToolBar1->setIconSize(QSize(16, 16));
  coolLayout->addWidget(ToolBar1);
  auto tool = [&](const char* name, int image, const char* hint) {
    auto* b = Named(new QToolButton(ToolBar1), name);
    b->setIcon(FOwner->ImageList1.Icon(image));
    b->setToolTip(hint);
    b->setAutoRaise(true);
    ToolBar1->addWidget(b);
    return b;
  };
  ToolButton4 = tool("ToolButton4", imgNewMap, "Create New Character Map...");
  ToolButton2 = tool("ToolButton2", imgSave, "Save Current Character Map");
  ToolButton6 = tool("ToolButton6", imgHtml, "Export Current Character Map to HTML.");
  ToolButton1 = ToolBar1->addSeparator();
  ToolButton1->setObjectName("ToolButton1");
  ToolButton5 = tool("ToolButton5", imgCopyMap, "Copy Current Character Map...");
  ToolButton3 = tool("ToolButton3", imgCharMap, "Windows Character Map");
  Label3 = Named(new QLabel("  Character Map  ", ToolBar1), "Label3");
  ToolBar1->addWidget(Label3);
  auto* maps = new MapCombo(ToolBar1);
  cmbMaps = Named(maps, "cmbMaps");
  cmbMaps->setFixedWidth(165);
  ToolBar1->addWidget(cmbMaps);
  root->addWidget(CoolBar1);

  // The code boxes of the current cell and the map's font.
  GroupBox1 = Named(new QGroupBox(" Character Codes", this), "GroupBox1");
  auto* codes = new QHBoxLayout(GroupBox1);
  codes->setContentsMargins(6, 2, 6, 4);
  auto labelled = [&](QLabel*& label, const char* labelName, const QString& caption, QLineEdit*& edit,
                      const char* editName, int width) {
    auto* column = new QVBoxLayout;
    column->setSpacing(1);
    label = Named(new QLabel(caption, GroupBox1), labelName);
    edit = Named(new QLineEdit(GroupBox1), editName);
    if (width > 0) edit->setFixedWidth(width);
    column->addWidget(label);
    column->addWidget(edit);
    codes->addLayout(column);
  };
  labelled(lblEdit1, "lblEdit1", " English Code", Edit1, "Edit1", 90);
  labelled(lblEdit2, "lblEdit2", "Font Code", Edit2, "Edit2", 90);
  txtFontChar = Named(new QLineEdit(GroupBox1), "txtFontChar");
  txtFontChar->setReadOnly(true);
  txtFontChar->setFixedSize(70, 47);
  txtFontChar->setAlignment(Qt::AlignCenter);
  QFont preview = txtFontChar->font();
  preview.setPixelSize(29);
  txtFontChar->setFont(preview);
  codes->addWidget(txtFontChar);
  auto* checks = new QVBoxLayout;
  chkAutoLocate = Named(new QCheckBox("Auto Locate", GroupBox1), "chkAutoLocate");
  chkAutoUpdate = Named(new QCheckBox("Auto Update", GroupBox1), "chkAutoUpdate");
  checks->addWidget(chkAutoLocate);
  checks->addWidget(chkAutoUpdate);
  codes->addLayout(checks);
  btnUpdate = Button("Update", "btnUpdate", GroupBox1);
  codes->addWidget(btnUpdate);
  codes->addSpacing(12);
  labelled(lblFontName, "lblFontName", "Font:", txtFontName, "txtFontName", 0);
  txtFontName->setReadOnly(true);
  btnFont = Button("Change...", "btnFont", GroupBox1);
  codes->addWidget(btnFont, 0, Qt::AlignBottom);
  root->addWidget(GroupBox1);

  // The grid.
  ScrollBox1 = Named(new TorviScrollBox(this), "ScrollBox1");
  ScrollBox1->setMinimumSize(200, 100);
  ScrollBox1->resize(786, 377);
  // The grid takes the keyboard by Tab only: a click on a cell leaves it
  // where it was, so that one can click a cell and type on in a code box.
  ScrollBox1->setFocusPolicy(Qt::TabFocus);
  QWidget* content = ScrollBox1->Content();
  QPalette window = content->palette();
  window.setColor(QPalette::Window, palette().color(QPalette::Base));  // clWindow
  content->setPalette(window);
  content->setAutoFillBackground(true);
  FGridFont = ScrollBox1->font();
  QFont bold = font();
  bold.setBold(true);
  lblCharacters = Named(new QLabel("C h a r a c t e r s   | V", content), "lblCharacters");
  lblCharacters->setFont(bold);
  lblCharacters->setWordWrap(true);
  lblCharacters->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  // One letter a line; taller than its place when the face needs it, so that
  // the arrow at the end shows.
  lblCharacters->setGeometry(12, 41, 7, std::max(169, lblCharacters->heightForWidth(7)));
  lblCharCombinations = Named(new QLabel("Character Combinations -->", content), "lblCharCombinations");
  lblCharCombinations->setFont(bold);
  lblCharCombinations->move(47, 5);
  lblCharCombinations->adjustSize();
  root->addWidget(ScrollBox1, 1);

  // Smart Map and the layout.
  auto* bottom = new QHBoxLayout;
  GroupBox3 = Named(new QGroupBox("Auto Create Combinations", this), "GroupBox3");
  auto* smart = new QGridLayout(GroupBox3);
  smart->setContentsMargins(6, 2, 6, 4);
  rdbAutoAllRows = Named(new QRadioButton("Create All", GroupBox3), "rdbAutoAllRows");
  rdbAutoSelectedRow = Named(new QRadioButton("Selected Row", GroupBox3), "rdbAutoSelectedRow");
  rdbAutoSelectedColumn = Named(new QRadioButton("Selected Column", GroupBox3), "rdbAutoSelectedColumn");
  rdbAutoSelectedRow->setChecked(true);
  btnSmartMap = Button("Create", "btnSmartMap", GroupBox3);
  smart->addWidget(rdbAutoAllRows, 0, 0);
  smart->addWidget(rdbAutoSelectedRow, 1, 0);
  smart->addWidget(rdbAutoSelectedColumn, 2, 0);
  smart->addWidget(btnSmartMap, 1, 1);
  bottom->addWidget(GroupBox3);

  GroupBox2 = Named(new QGroupBox(" Language Layout Settings ", this), "GroupBox2");
  auto* layout = new QGridLayout(GroupBox2);
  layout->setContentsMargins(6, 2, 6, 4);
  lblMapLayout = Named(new QLabel("Layout:", GroupBox2), "lblMapLayout");
  cmbMapLayout = Named(new QComboBox(GroupBox2), "cmbMapLayout");
  cmbMapLayout->setEditable(true);
  cmbMapLayout->setInsertPolicy(QComboBox::NoInsert);
  cmbMapLayout->setMinimumWidth(130);
  lblLayoutFont = Named(new QLabel("Layout Font:", GroupBox2), "lblLayoutFont");
  txtLayoutFont = Named(new QLineEdit(GroupBox2), "txtLayoutFont");
  txtLayoutFont->setReadOnly(true);
  Button3 = Button("Change...", "Button3", GroupBox2);
  lblLegend = Named(new QLabel("Legend:", GroupBox2), "lblLegend");
  txtLegend = Named(new QLineEdit(GroupBox2), "txtLegend");
  lblLegend->setEnabled(false);
  txtLegend->setEnabled(false);
  chkAutoSaveLayout = Named(new QCheckBox("Auto Save", GroupBox2), "chkAutoSaveLayout");
  layout->addWidget(lblMapLayout, 0, 0);
  layout->addWidget(cmbMapLayout, 0, 1);
  layout->addWidget(chkAutoSaveLayout, 0, 2);
  layout->addWidget(lblLayoutFont, 1, 0);
  layout->addWidget(txtLayoutFont, 1, 1);
  layout->addWidget(Button3, 1, 2);
  layout->addWidget(lblLegend, 2, 0);
  layout->addWidget(txtLegend, 2, 1);
  bottom->addWidget(GroupBox2, 1);
  root->addLayout(bottom);

  mnuTools = Named(new QMenu(this), "mnuTools");

  // Events.
  for (QObject* o : {static_cast<QObject*>(Edit1), static_cast<QObject*>(Edit2), static_cast<QObject*>(txtLegend)})
    o->installEventFilter(this);
  connect(ToolButton2, &QToolButton::clicked, this, [this] { btnSaveClick(); });
  connect(ToolButton3, &QToolButton::clicked, this, [this] { ToolButton3Click(); });
  connect(ToolButton4, &QToolButton::clicked, this, [this] { ToolButton4Click(); });
  connect(ToolButton5, &QToolButton::clicked, this, [this] { ToolButton5Click(); });
  connect(ToolButton6, &QToolButton::clicked, this, [this] { ToolButton6Click(); });
  maps->OnCloseUp = [this] { cmbMapsCloseUp(); };
  maps->OnKeyDown = [this] { cmbMapsKeyDown(); };
  connect(cmbMaps, &QComboBox::currentIndexChanged, this, [this] { cmbMapsChange(); });
  connect(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
  connect(Edit2, &QLineEdit::textChanged, this, [this] { Edit2Change(); });
  connect(chkAutoLocate, &QCheckBox::toggled, this, [this] { chkAutoLocateClick(); });
  connect(chkAutoUpdate, &QCheckBox::toggled, this, [this] { chkAutoUpdateClick(); });
  connect(btnUpdate, &QPushButton::clicked, this, [this] { btnUpdateClick(); });
  connect(btnFont, &QPushButton::clicked, this, [this] { btnFontClick(); });
  connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
  connect(btnSmartMap, &QPushButton::clicked, this, [this] { btnSmartMapClick(); });
  connect(mnuTools, &QMenu::aboutToShow, this, [this] { mnuToolsPopup(); });
  connect(ScrollBox1, &TorviScrollBox::KeyDown, this, [this](QKeyEvent* e) { ScrollBox1KeyDown(e); });

  FormCreate();
}

TfrmFontMapping::~TfrmFontMapping() {
  // The components outlive this part of the window: what they report while
  // they go must not reach its handlers.
  auto* maps = static_cast<MapCombo*>(cmbMaps);
  maps->OnCloseUp = nullptr;
  maps->OnKeyDown = nullptr;
  for (QObject* child : findChildren<QObject*>()) {
    QObject::disconnect(child, nullptr, this, nullptr);
    child->removeEventFilter(this);
  }
}

void TfrmFontMapping::FormCreate() {
  // The cells stand in the content's child list in row-major order, after
  // the two margin labels; the scroll range is computed once at the end.
  FCells.reserve(static_cast<std::size_t>(RowCount * ColCount));
  for (int r = 0; r < RowCount; ++r)
    for (int c = 0; c < ColCount; ++c) FCells.push_back(CreateCell(r, c));
  ScrollBox1->UpdateRange();
  FClipMode = 2;
  CreateCellMenu();
}

void TfrmFontMapping::FormClose() { FMap.reset(); }

void TfrmFontMapping::done(int result) {
  FormClose();
  QDialog::done(result);
}

void TfrmFontMapping::keyPressEvent(QKeyEvent* event) {
  // Escape does not close the editor: unsaved edits would go without a word.
  if (event->key() == Qt::Key_Escape) return event->accept();
  QDialog::keyPressEvent(event);
}

TTntCharView* TfrmFontMapping::CreateCell(int Row, int Col) {
  auto* cell = new TTntCharView(ScrollBox1->Content());
  if (Row == 0 || Col == 0) {
    SetCellColors(cell, kSilver, palette().color(QPalette::WindowText));
    cell->setToolTip(Row == 0 ? kTemplateHint : kBaseHint);
  }
  cell->setGeometry(kGridLeft + kCellWidth * Col, kGridTop + kCellHeight * Row, kCellWidth, kCellHeight);
  cell->RowIndex = Row;
  cell->ColumnIndex = Col;
  // Clicks, double-clicks and presses reach the window through its filter.
  cell->installEventFilter(this);
  return cell;
}

void TfrmFontMapping::SetCellColors(TTntCharView* cell, const QColor& background, const QColor& text) {
  QPalette p = cell->palette();
  p.setColor(QPalette::Window, background);
  p.setColor(QPalette::WindowText, text);
  cell->setPalette(p);
}

TTntCharView* TfrmFontMapping::GetCell(int row, int col) const {
  if (row < 0 || row >= RowCount || col < 0 || col >= ColCount) return nullptr;
  // The cell standing at the probe point of (row, col). Cells never move,
  // so the one created for that place is the only candidate.
  const QPoint probe(kGridLeft + kCellWidth * col + kProbe, kGridTop + kCellHeight * row + kProbe);
  TTntCharView* cell = FCells.at(static_cast<std::size_t>(row * ColCount + col));
  return cell->geometry().contains(probe) ? cell : nullptr;
}

void TfrmFontMapping::ShowMap() {
  cmbMapLayout->setCurrentText(WidenQ(FMap->MapLayout));
  txtFontName->setText(QString::fromStdU16String(FMap->FontName));
  for (int r = 0; r < RowCount; ++r) {
    const TCharItem* item = r < FMap->Count() ? &FMap->Items(r) : nullptr;
    for (int c = 0; c < ColCount; ++c) {
      const TCharItem* source = item;
      if (c > 0) source = item && item->Combinations().Count() >= c ? &item->Combinations().Items(c - 1) : nullptr;
      TTntCharView* cell = GetCell(r, c);
      if (source) {
        cell->CharInEnglish = QString::fromStdU16String(source->CharInEnglish);
        cell->CharInFont = QString::fromStdU16String(source->CharInFont);
        cell->SetCaption(cell->CharInFont);
        cell->setFont(FGridFont);
      } else {
        // An emptied cell keeps the font it had.
        cell->CharInEnglish.clear();
        cell->CharInFont.clear();
        cell->SetCaption(QString());
      }
    }
  }
}

void TfrmFontMapping::SelectCell(TTntCharView* Cell, bool LoadEdits) {
  if (FSelected) SetCellColors(FSelected, FSelColor, FSelFontColor);
  if (!Cell) {
    // The current cell stays current, without its highlight.
    if (LoadEdits) {
      Edit1->clear();
      Edit2->clear();
    }
    txtLegend->clear();
    txtLegend->setEnabled(false);
    lblLegend->setEnabled(false);
    return;
  }
  FSelected = Cell;
  FSelColor = Cell->palette().color(QPalette::Window);
  FSelFontColor = Cell->palette().color(QPalette::WindowText);
  SetCellColors(Cell, palette().color(QPalette::Highlight), palette().color(QPalette::HighlightedText));
  if (LoadEdits) {
    Edit1->setText(Cell->CharInEnglish);
    Edit2->setText(Cell->CharInFont);
  }
  const bool header = Cell->RowIndex == 0 || Cell->ColumnIndex == 0;
  if (header) txtLegend->setText(Cell->Caption());
  else txtLegend->clear();
  txtLegend->setEnabled(header);
  lblLegend->setEnabled(header);
}

void TfrmFontMapping::LocateCell(const QString& Text, bool ByEnglish, bool LoadEdits) {
  if (FLocating) return;
  FLocating = true;
  if (!Text.isEmpty()) {
    for (QObject* child : ScrollBox1->Content()->children()) {
      auto* cell = qobject_cast<TTntCharView*>(child);
      if (!cell) continue;
      if ((ByEnglish ? cell->CharInEnglish : cell->CharInFont).startsWith(Text, Qt::CaseSensitive)) {
        SelectCell(cell, LoadEdits);
        ScrollBox1->ensureWidgetVisible(cell, 0, 0);
        break;
      }
    }
  }
  FLocating = false;
}

// --- mouse and keys -------------------------------------------------------------

bool TfrmFontMapping::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  const bool mouse =
      type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick;
  if (auto* cell = qobject_cast<TTntCharView*>(watched); mouse && cell && cell->parent() == ScrollBox1->Content()) {
    const auto* m = static_cast<QMouseEvent*>(event);
    const QPoint at = m->position().toPoint();
    if (type == QEvent::MouseButtonPress) {
      FDblClicked = false;
      tntCharViewMouseDown(cell, m->button(), at);
    } else if (type == QEvent::MouseButtonDblClick && m->button() == Qt::LeftButton) {
      tntCharViewDblClick(cell);
      FDblClicked = true;
    } else if (type == QEvent::MouseButtonRelease && m->button() == Qt::LeftButton) {
      // The release that ends a double-click is no click of its own: it
      // would load the code box anew and drop the selection just made.
      if (!std::exchange(FDblClicked, false) && cell->rect().contains(at)) tntCharViewClick(cell);
    }
    return false;
  }
  if (type == QEvent::KeyPress && (watched == Edit1 || watched == Edit2)) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      if (watched == Edit1) Edit1KeyDown(VK_RETURN);
      else Edit2KeyDown(VK_RETURN);
    }
  } else if (type == QEvent::KeyRelease && (watched == Edit1 || watched == Edit2)) {
    Edit1KeyUp(VirtualKeyOf(static_cast<QKeyEvent*>(event)));
  } else if (type == QEvent::KeyRelease && watched == txtLegend) {
    txtLegendKeyUp();
  }
  return QDialog::eventFilter(watched, event);
}

void TfrmFontMapping::tntCharViewClick(TTntCharView* Sender) {
  chkAutoLocate->setChecked(false);
  FLocating = true;
  SelectCell(Sender, true);
  FLocating = false;
}

void TfrmFontMapping::tntCharViewDblClick(TTntCharView* Sender) {
  chkAutoLocate->setChecked(false);
  SelectCell(Sender, true);
  if (Edit2->isEnabled()) {
    Edit2->setFocus();
    Edit2->selectAll();
  }
}

void TfrmFontMapping::tntCharViewMouseDown(TTntCharView* Sender, Qt::MouseButton Button, QPoint Pos) {
  tntCharViewClick(Sender);
  if (Button == Qt::RightButton && !mnuTools->isEmpty()) mnuTools->popup(Sender->mapToGlobal(Pos));
}

void TfrmFontMapping::ScrollBox1KeyDown(QKeyEvent* Key) {
  if (VirtualKeyOf(Key) != VK_RIGHT || !FSelected) return;
  const QRect g = FSelected->geometry();
  const QPoint next(g.x() + g.width() + kProbe, g.y() + kProbe);
  if (auto* cell = qobject_cast<TTntCharView*>(ScrollBox1->Content()->childAt(next))) SelectCell(cell, false);
}

void TfrmFontMapping::btnUpdateClick() {
  if (!FSelected) return;
  FSelected->CharInEnglish = Edit1->text();
  FSelected->CharInFont = Edit2->text();
  // A header cell keeps showing its legend.
  if (FSelected->RowIndex > 0 && FSelected->ColumnIndex > 0) FSelected->SetCaption(FSelected->CharInFont);
}

void TfrmFontMapping::Edit1Change() {
  if (chkAutoLocate->isChecked()) LocateCell(Edit1->text(), true, false);
}

void TfrmFontMapping::Edit2Change() { txtFontChar->setText(Edit2->text()); }

void TfrmFontMapping::Edit1KeyDown(int Key) {
  if (Key == VK_RETURN) LocateCell(Edit1->text(), true, false);
}

void TfrmFontMapping::Edit2KeyDown(int Key) {
  if (Key == VK_RETURN) LocateCell(Edit2->text(), false, false);
}

void TfrmFontMapping::ToolButton3Click() { RunCharacterMap(*FOwner->RunApp1); }

// --- maps ---------------------------------------------------------------------

void TfrmFontMapping::LoadMap(const QString& Name) {
  const RepaintHeld held(this);
  SelectCell(nullptr, true);
  if (!FMap) FMap = std::make_unique<TCharCollection>();
  FCutAccepted = false;
  FMapShown = false;
  FMap->LoadFromFile((AppFolder() + Name + ".fmp").toStdU16String(), false);
  FGridFont = QFont(QString::fromStdU16String(FMap->FontName), 16);
  ScrollBox1->setFont(FGridFont);
  ShowMap();
  FMapShown = true;
  FOwner->FillMapList(cmbMaps, QString(), ".fmp");
  try {
    FOwner->FillMapList(cmbMapLayout, AppFolder() + "layouts", ".lot");
  } catch (const EFolderNotFound&) {
    // No "layouts" folder: there is no layout to offer, and the map loads.
    cmbMapLayout->clear();
  }
  {
    const QSignalBlocker quiet(cmbMaps);
    cmbMaps->setCurrentIndex(cmbMaps->findText(Name, Qt::MatchFixedString));
  }
  cmbMapLayout->setCurrentText(WidenQ(FMap->MapLayout));
  QFont preview = txtFontChar->font();
  preview.setFamily(QString::fromStdU16String(FMap->FontName));
  txtFontChar->setFont(preview);
  LoadLayout(WidenQ(FMap->MapLayout));
}

bool TfrmFontMapping::MapExceedsGrid() const {
  if (!FMap) return false;
  auto holds = [](const TCharItem& i) { return !i.CharInEnglish.empty() || !i.CharInFont.empty(); };
  for (int r = 0; r < FMap->Count(); ++r) {
    const TCharItem& item = FMap->Items(r);
    const TCharCollection& combs = item.Combinations();
    if (r >= RowCount && holds(item)) return true;
    for (int c = r >= RowCount ? 0 : ColCount - 1; c < combs.Count(); ++c)
      if (holds(combs.Items(c))) return true;
  }
  return false;
}

bool TfrmFontMapping::SaveMap(const QString& Name) {
  if (!FCutAccepted && MapExceedsGrid()) {
    if (dialogs::MessageBox(this, kCutWarning, QApplication::applicationName(), dialogs::Icon::Warning,
                            dialogs::Buttons::YesNo) != dialogs::Yes)
      return false;
    FCutAccepted = true;
  }
  TCharCollection map;
  map.MapLayout = NarrowQ(cmbMapLayout->currentText());
  map.FontName = txtFontName->text().toStdU16String();
  for (int r = 0; r < RowCount; ++r) {
    TCharItem& item = map.Add();
    const TTntCharView* base = GetCell(r, 0);
    item.CharInEnglish = base->CharInEnglish.toStdU16String();
    item.CharInFont = base->CharInFont.toStdU16String();
    for (int c = 1; c < ColCount; ++c) {
      const TTntCharView* cell = GetCell(r, c);
      TCharItem& comb = item.Combinations().Add();
      comb.CharInEnglish = cell->CharInEnglish.toStdU16String();
      comb.CharInFont = cell->CharInFont.toStdU16String();
    }
  }
  WriteWhole(AppFolder() + Name + ".fmp", map.SaveToBytes());
  return true;
}

void TfrmFontMapping::WriteWhole(const QString& path, const std::string& bytes) {
  QString why;
  if (!files::ReplaceWholeQ(path, bytes, &why))
    throw EFontMapSaveError("Cannot write file \"" + path.toStdString() + "\". " + why.toStdString() + ".");
}

void TfrmFontMapping::btnSaveClick() {
  // After a failed load the grid still shows the map before it, while the
  // combo names the map that failed: saving would overwrite that map with
  // another one's cells.
  if (!FMapShown) {
    dialogs::ShowError(QStringLiteral("The map \"%1\" was not loaded, so it is not saved.").arg(cmbMaps->currentText()));
    return;
  }
  try {
    if (!SaveMap(cmbMaps->currentText())) return;
    if (chkAutoSaveLayout->isChecked()) SaveLayout(cmbMapLayout->currentText());
  } catch (const std::exception& e) {
    dialogs::ShowError(QString::fromStdString(e.what()));
  }
}

void TfrmFontMapping::cmbMapsCloseUp() { FMapPicked = cmbMaps->currentIndex() >= 0; }

void TfrmFontMapping::cmbMapsKeyDown() { FMapPicked = false; }

void TfrmFontMapping::cmbMapsChange() {
  if (!FMapPicked) return;
  try {
    LoadMap(cmbMaps->currentText());
  } catch (const std::exception& e) {
    dialogs::ShowError(QString::fromStdString(e.what()));
  }
}

void TfrmFontMapping::btnFontClick() {
  QFont chosen(FMap ? QString::fromStdU16String(FMap->FontName) : QString());
  if (!dialogs::ChooseFont(this, chosen)) return;
  const QString face = chosen.family();
  if (FMap) FMap->FontName = face.toStdU16String();
  txtFontName->setText(face);
  QFont preview = txtFontChar->font();
  preview.setFamily(face);
  txtFontChar->setFont(preview);
  // Cells that ShowMap never filled follow the new grid font; the others
  // keep their own copy of the earlier one.
  const RepaintHeld held(this);
  FGridFont = QFont(face, 18);
  ScrollBox1->setFont(FGridFont);
}

// --- layouts --------------------------------------------------------------------

void TfrmFontMapping::LoadLayout(const QString& Name) {
  layoutfile::Layout layout;
  bool read = false;
  if (!Name.isEmpty()) {
    const QString path = AppFolder() + "layouts/" + Name + ".lot";
    std::string bytes;
    std::error_code ec;
    read = files::ReadWholeQ(path, layoutfile::kMaxFileSize, bytes, ec) && layoutfile::Read(bytes, layout);
    if (!read)
      qCWarning(lcMaps) << "layout" << path << "not read:" << (ec ? files::ErrorTextQ(ec) : "fewer than two lines");
  }
  if (!read) {
    dialogs::MessageBox(this, kLayoutError, QApplication::applicationName(), dialogs::Icon::Error,
                        dialogs::Buttons::Ok);
    return;
  }
  FLayoutFont = QString::fromStdU16String(layout.font);
  txtLayoutFont->setText(FLayoutFont);
  for (const layoutfile::Entry& e : layout.entries)
    SetHeaderCell(e.row, e.col, QString::fromStdU16String(e.key), QString::fromStdU16String(e.legend));
}

void TfrmFontMapping::SetHeaderCell(int Row, int Col, const QString& Key, const QString& Legend) {
  TTntCharView* cell = GetCell(Row, Col);
  if (!cell) return;
  cell->CharInEnglish = Key;
  cell->SetCaption(Legend);
  QFont face = cell->font();
  face.setFamily(FLayoutFont);
  cell->setFont(face);
}

void TfrmFontMapping::SaveLayout(const QString& Name) {
  auto entry = [this](int r, int c) {
    const TTntCharView* cell = GetCell(r, c);
    return layoutfile::Entry{r, c, cell->CharInEnglish.toStdU16String(), cell->Caption().toStdU16String()};
  };
  std::vector<layoutfile::Entry> vertical, horizontal;
  for (int r = 0; r < RowCount; ++r) vertical.push_back(entry(r, 0));
  for (int c = 0; c < ColCount; ++c) horizontal.push_back(entry(0, c));
  WriteWhole(AppFolder() + "layouts/" + Name + ".lot",
             layoutfile::Write(txtLayoutFont->text().toStdU16String(), vertical, horizontal));
}

void TfrmFontMapping::txtLegendKeyUp() {
  if (FSelected) FSelected->SetCaption(txtLegend->text());
}

void TfrmFontMapping::Button3Click() {
  QFont chosen(FLayoutFont);
  if (!dialogs::ChooseFont(this, chosen)) return;
  FLayoutFont = chosen.family();
  txtLayoutFont->setText(FLayoutFont);
  auto setFace = [this](TTntCharView* cell) {
    QFont face = cell->font();
    face.setFamily(FLayoutFont);
    cell->setFont(face);
  };
  const RepaintHeld held(this);
  for (int r = 0; r < RowCount; ++r) setFace(GetCell(r, 0));
  for (int c = 1; c < ColCount; ++c) setFace(GetCell(0, c));
}

// --- repainting -----------------------------------------------------------------

TfrmFontMapping::RepaintHeld::RepaintHeld(TfrmFontMapping* editor) : grid_(editor->ScrollBox1->Content()) {
  Hold(true);
}

TfrmFontMapping::RepaintHeld::~RepaintHeld() {
  Hold(false);
  // The cells changed while held dropped their own repaints, and the grid's
  // own update does not reach them: repaint the cells in sight. The others
  // are painted afresh when they are scrolled into view.
  const QRect seen = grid_->visibleRegion().boundingRect();
  for (QObject* child : grid_->children())
    if (child->isWidgetType())
      if (auto* cell = static_cast<QWidget*>(child); cell->geometry().intersects(seen)) cell->update();
}

void TfrmFontMapping::RepaintHeld::Hold(bool on) {
  // Set on the cells alone: setUpdatesEnabled would repaint each of them on
  // its own when it resumes.
  for (QObject* child : grid_->children())
    if (child->isWidgetType()) static_cast<QWidget*>(child)->setAttribute(Qt::WA_UpdatesDisabled, on);
}

// --- opening the editor -----------------------------------------------------------

int ShowFontMapping(TfrmMainBase* owner, const QString& mapName) {
  TfrmFontMapping editor(owner);
  editor.LoadMap(mapName);
  return editor.exec();
}
