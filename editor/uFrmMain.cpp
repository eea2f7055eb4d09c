#include "uFrmMain.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "uFrmFontMapping.h"
#include "CharView.h"
#include "OuterBounds.h"
#include "WorkingCtrls.h"
#include "PaneStack.h"
#include "QtCodepage.h"
#include "codepage.h"
#include "dialogs.h"
#include "files.h"
#include "log.h"
#include "uFrmMainBaseMemo.h"
namespace varunel {


namespace {

const char* const kFontSizes[] = {"6",  "7",  "8",  "9",  "10", "11", "12", "14",  "16",  "18", "20",
                                  "22", "24", "26", "28", "36", "48", "72", "100", "120", "160"};

QToolBar* NewToolBar(const char* name, QWidget* parent) {
  auto* bar = new QToolBar(parent);
  bar->setObjectName(name);
  bar->setMovable(false);
  bar->setIconSize(QSize(16, 16));
  bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  return bar;
}

}  // namespace

TfrmMain::TfrmMain(QWidget* parent) : TfrmMainBase(parent) {
  setObjectName("frmMain");
  setWindowTitle(QStringLiteral("Varunel V1.0"));
  setFont(QFont(QStringLiteral("Tahoma"), 8));
  resize(750, 550);

  // --- tool bars: two bands in one row ---------------------------------------
  CoolBar1 = new QWidget(this);
  CoolBar1->setObjectName("CoolBar1");
  ToolBar1 = NewToolBar("ToolBar1", CoolBar1);
  tbClear = AddButton(ToolBar1, "tbClear", imgClear, "Clear Content.");
  tbSave = AddButton(ToolBar1, "tbSave", imgSave, "Save");
  tbExport = AddButton(ToolBar1, "tbExport", imgExport, "Export As");
  ToolBar1->addSeparator();
  tbCopy = AddButton(ToolBar1, "tbCopy", imgCopy, "Copy");
  tbPaste = AddButton(ToolBar1, "tbPaste", imgPaste, "Paste");
  ToolBar1->addSeparator();
  tbCharMap = AddButton(ToolBar1, "tbCharMap", imgCharMap, "Windows Character Map...");

  ToolBar2 = NewToolBar("ToolBar2", CoolBar1);
  Label3 = new QLabel(QStringLiteral("  Character Map  "), ToolBar2);
  Label3->setObjectName("Label3");
  ToolBar2->addWidget(Label3);
  cmbMaps = new QComboBox(ToolBar2);
  cmbMaps->setObjectName("cmbMaps");
  cmbMaps->setEditable(false);
  cmbMaps->setFixedWidth(162);
  cmbMaps->setToolTip(QStringLiteral("Active Character Map"));
  ToolBar2->addWidget(cmbMaps);
  btnCharMap = AddButton(ToolBar2, "btnCharMap", imgFontMap, "Configure Font Character Map...");
  ToolBar2->addSeparator();
  cmbFontSize = new QComboBox(ToolBar2);
  cmbFontSize->setObjectName("cmbFontSize");
  cmbFontSize->setEditable(true);
  cmbFontSize->setInsertPolicy(QComboBox::NoInsert);
  cmbFontSize->setFixedWidth(53);
  cmbFontSize->setToolTip(QStringLiteral("Font Size"));
  for (const char* size : kFontSizes) cmbFontSize->addItem(QString::fromLatin1(size));
  ToolBar2->addWidget(cmbFontSize);

  auto* bands = new QHBoxLayout(CoolBar1);
  bands->setContentsMargins(0, 0, 0, 0);
  bands->setSpacing(4);
  bands->addWidget(ToolBar1);
  bands->addWidget(ToolBar2);
  bands->addStretch(1);
  CoolBar1->setFixedHeight(26);

  // --- panes -------------------------------------------------------------------
  memSinhala->setFrameShape(QFrame::NoFrame);
  memSinhala->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memSinhala->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memSinhala->setFont(QFont(QStringLiteral("Tahoma"), 14));
  memSinhala->setToolTip(QString());
  memEnglish->WantReturns = true;
  memEnglish->setTabChangesFocus(false);  // Tab types a tab
  memEnglish->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memEnglish->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memEnglish->setFont(QFont(QStringLiteral("Tahoma"), 10));
  memEnglish->setToolTip(QString());

  // The editor's search bar: no "Submit Words"; the selected tile's codes go
  // to a box nobody sees.
  chkSubmitWords->hide();
  Label2->hide();
  Label5 = new QLabel(QStringLiteral("    Font Symbol "), ToolBar3);
  Label5->setObjectName("Label5");
  Label5->hide();
  txtFontRep = new QLineEdit(ToolBar3);
  txtFontRep->setObjectName("txtFontRep");
  txtFontRep->setReadOnly(true);
  txtFontRep->hide();
  pnlSuggest->setMinimumHeight(0);
  ScrollBox1->setToolTip(QString());

  Panes = new TPaneStack(this);
  Panes->setObjectName("Panes");
  Panes->SetFill(memSinhala);
  Splitter1 = new TSplitter(Panes, memEnglish, Panes);
  Splitter1->setObjectName("Splitter1");
  Splitter2 = new TSplitter(Panes, pnlSuggest, Panes);
  Splitter2->setObjectName("Splitter2");
  Panes->AddBottom(Splitter1, 4);
  Panes->AddBottom(memEnglish, 100);
  Panes->AddBottom(Splitter2, 4);
  Panes->AddBottom(pnlSuggest, 100);

  auto* central = new QWidget(this);
  central->setObjectName("central");
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(2, 2, 2, 2);
  column->setSpacing(0);
  column->addWidget(CoolBar1);
  column->addWidget(Panes, 1);
  setCentralWidget(central);

  // The normal bounds once the desktop has finished framing the window.
  FOuterBounds->OnSettled([this] { KeepNormalBounds(); });

  tmrAutoSave = new QTimer(this);
  tmrAutoSave->setObjectName("tmrAutoSave");
  SetAutoSaveInterval();

  CreateMenus();

  // --- events ------------------------------------------------------------------
  connect(tbClear, &QToolButton::clicked, this, [this] { Clear1Click(tbClear); });
  connect(tbSave, &QToolButton::clicked, this, [this] { SaveAs1Click(tbSave); });
  connect(tbExport, &QToolButton::clicked, this, [this] { Export1Click(tbExport); });
  connect(tbCopy, &QToolButton::clicked, this, [this] { Copy1Click(tbCopy); });
  connect(tbPaste, &QToolButton::clicked, this, [this] { Paste1Click(tbPaste); });
  connect(tbCharMap, &QToolButton::clicked, this, [this] { WindowsCharacterMap1Click(tbCharMap); });
  connect(btnCharMap, &QToolButton::clicked, this, [this] { OpenFontMap1Click(btnCharMap); });
  connect(cmbMaps, &QComboBox::currentIndexChanged, this, [this] { cmbMapsChange(cmbMaps); });
  connect(cmbFontSize, &QComboBox::currentTextChanged, this, [this] { cmbFontSizeChange(cmbFontSize); });
  // A size picked from the list gives the keyboard back to the typing pane,
  // as a tile click does; letters typed on would go into the size box.
  connect(cmbFontSize, &QComboBox::activated, this, [this] { memEnglish->setFocus(); });
  connect(memEnglish, &TMemo::Enter, this, [this] { memEnglishEnter(memEnglish); });
  connect(Splitter1, &TSplitter::Moved, this, [this] { Splitter1Moved(Splitter1); });
  connect(Splitter2, &TSplitter::Moved, this, [this] { Splitter2Moved(Splitter2); });
  connect(tmrAutoSave, &QTimer::timeout, this, [this] { tmrAutoSaveTimer(tmrAutoSave); });
  txtEnglish->installEventFilter(this);
  // The menu's Ctrl+C and Ctrl+V come before the focused control's own.
  for (QWidget* w : {static_cast<QWidget*>(memEnglish), static_cast<QWidget*>(memSinhala),
                     static_cast<QWidget*>(txtEnglish), static_cast<QWidget*>(cmbFontSize->lineEdit())})
    w->installEventFilter(this);

  memEnglish->setFocus();
}

TfrmMain::~TfrmMain() { DisconnectChildren(); }

QToolButton* TfrmMain::AddButton(QToolBar* bar, const char* name, int image, const QString& hint) {
  auto* b = new QToolButton(bar);
  b->setObjectName(name);
  b->setIcon(ImageList1.Icon(image));
  b->setToolTip(hint);
  b->setAutoRaise(true);
  bar->addWidget(b);
  return b;
}

QAction* TfrmMain::AddItem(QMenu* menu, const char* name, const QString& caption, int image) {
  QAction* item = menu->addAction(caption);
  item->setObjectName(name);
  if (image >= 0) item->setIcon(ImageList1.Icon(image));
  return item;
}

void TfrmMain::CreateMenus() {
  QMenuBar* MainMenu1 = menuBar();
  MainMenu1->setObjectName("MainMenu1");
  File1 = MainMenu1->addMenu(QStringLiteral("File"));
  File1->setObjectName("File1");
  Clear1 = AddItem(File1, "Clear1", "Clear Content", imgClear);
  File1->addSeparator();
  SaveAs1 = AddItem(File1, "SaveAs1", "Save Content", imgSave);
  File1->addSeparator();
  Export1 = AddItem(File1, "Export1", "Export...", imgExport);
  File1->addSeparator();
  RefreshMappingList1 = AddItem(File1, "RefreshMappingList1", "Refresh");
  File1->addSeparator();
  Exit1 = AddItem(File1, "Exit1", "Exit");

  Edit1 = MainMenu1->addMenu(QStringLiteral("Edit"));
  Edit1->setObjectName("Edit1");
  Copy1 = AddItem(Edit1, "Copy1", "Copy", imgCopy);
  Copy1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  Paste1 = AddItem(Edit1, "Paste1", "Paste", imgPaste);
  Paste1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));

  Tools1 = MainMenu1->addMenu(QStringLiteral("Tools"));
  Tools1->setObjectName("Tools1");
  OpenFontMap1 = AddItem(Tools1, "OpenFontMap1", "Configure Font Character Map...", imgFontMap);
  Tools1->addSeparator();
  WindowsCharacterMap1 = AddItem(Tools1, "WindowsCharacterMap1", "Windows Character Map...", imgCharMap);
  Tools1->addSeparator();
  Options1 = AddItem(Tools1, "Options1", "Options...");

  Help1 = MainMenu1->addMenu(QStringLiteral("Help"));
  Help1->setObjectName("Help1");
  About1 = AddItem(Help1, "About1", "About Varunel...", imgAbout);
  UserGuid1 = AddItem(Help1, "UserGuid1", "User Guid...", imgHelp);

  // A command that opens a window runs once its menu has gone.
  const auto bind = [this](QAction* item, void (TfrmMain::*handler)(QObject*)) {
    connect(item, &QAction::triggered, this, [this, item, handler] { (this->*handler)(item); }, Qt::QueuedConnection);
  };
  const auto bindBase = [this](QAction* item, void (TfrmMainBase::*handler)(QObject*)) {
    connect(item, &QAction::triggered, this, [this, item, handler] { (this->*handler)(item); }, Qt::QueuedConnection);
  };
  bindBase(Clear1, &TfrmMainBase::Clear1Click);
  bind(SaveAs1, &TfrmMain::SaveAs1Click);
  bindBase(Export1, &TfrmMainBase::Export1Click);
  bind(RefreshMappingList1, &TfrmMain::RefreshMappingList1Click);
  bind(Exit1, &TfrmMain::Exit1Click);
  bindBase(Copy1, &TfrmMainBase::Copy1Click);
  bindBase(Paste1, &TfrmMainBase::Paste1Click);
  bind(OpenFontMap1, &TfrmMain::OpenFontMap1Click);
  bind(WindowsCharacterMap1, &TfrmMain::WindowsCharacterMap1Click);
  bind(Options1, &TfrmMain::Options1Click);
  bind(About1, &TfrmMain::About1Click);
  bind(UserGuid1, &TfrmMain::UserGuid1Click);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    // Left unclaimed, the key reaches the menu's shortcut instead of the
    // control's own copy or paste.
    auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    if (pressed == Copy1->shortcut() || pressed == Paste1->shortcut()) {
      event->ignore();
      return true;
    }
  }
  if (watched == txtEnglish && event->type() == QEvent::FocusIn) txtEnglishEnter(txtEnglish);
  return TfrmMainBase::eventFilter(watched, event);
}

// --- typing, suggestions and maps ----------------------------------------------

void TfrmMain::BindCharView(TTntCharView* tile) {
  // Tiles are selected by a click only; pointing at one does nothing.
  connect(tile, &TTntCharView::Click, this, &TfrmMain::tntCharViewClicked);
  connect(tile, &TTntCharView::DblClick, this, &TfrmMain::tntCharViewDblClick);
}

void TfrmMain::SelectCharView(TTntCharView* tile) {
  TfrmMainBase::SelectCharView(tile);
  if (FSelectedView)
    txtFontRep->setText(TMemo::Narrowed(FSelectedView->CharInFont));
  else
    txtFontRep->clear();
}

void TfrmMain::cmbMapsChange(QObject*) {
  bool loaded = false;
  try {
    FillMapList(cmbMaps, GetAppFolder(), QStringLiteral(".fmp"));
    loaded = LoadFontMap(codepage::NarrowQ(cmbMaps->currentText()));
  } catch (const std::exception& e) {
    // The list could not be read (the folder is gone): as a failed load.
    qCWarning(lcMaps) << "maps not listed:" << e.what();
  }
  const QSignalBlocker quiet(cmbMaps);
  if (loaded) {
    cmbFontSize->setCurrentText(QString::number(memSinhala->font().pointSize()));
    FFontMapName = codepage::NarrowQ(cmbMaps->currentText());
  } else {
    // Back to the map loaded last, without a word.
    cmbMaps->setCurrentIndex(cmbMaps->findText(codepage::WidenQ(FFontMapName), Qt::MatchFixedString));
  }
}

void TfrmMain::RefreshMappingList1Click(QObject*) { FillMapList(cmbMaps, GetAppFolder(), QStringLiteral(".fmp")); }

TfrmMain::TFontMapEditor& TfrmMain::FontMapEditor() {
  static TFontMapEditor editor = &TfrmMain::OpenFontMapping;
  return editor;
}

void TfrmMain::OpenFontMapping(TfrmMain& owner, const QString& mapName) { ShowFontMapping(&owner, mapName); }

void TfrmMain::SetFontMapEditor(TFontMapEditor editor) { FontMapEditor() = std::move(editor); }

void TfrmMain::OpenFontMap1Click(QObject*) {
  if (FontMapEditor()) FontMapEditor()(*this, cmbMaps->currentText());
  // The editor may have made or copied maps: list them again, keeping the
  // position, and load the map now at that position. Nothing else changes
  // until the typing pane changes or a map is picked.
  try {
    FillMapList(cmbMaps, GetAppFolder(), QStringLiteral(".fmp"));
    if (FCharMap)
      FCharMap->LoadFromFile((GetAppFolder() + cmbMaps->currentText() + QStringLiteral(".fmp")).toStdU16String(),
                             true);
  } catch (const std::exception& e) {
    dialogs::ShowError(QString::fromUtf8(e.what()));
  }
}

}  // namespace varunel
