#include "uFrmMain.h"

#include "TypingSettings.h"
#include "QtCodepage.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidgetAction>

#include "RunApp.h"
#include "WorkingCtrls.h"
#include "codepage.h"
#include "dialogs.h"
#include "uAboutBox.h"
#include "uFrmMainBaseMemo.h"
#include "uOptions.h"
namespace tavimo {


namespace {

// A menu item the window draws itself (the typing-mode menu).
class TDrawnItem : public QWidget {
 public:
  TDrawnItem(TfrmMain* form, QAction* item, QWidget* parent) : QWidget(parent), FForm(form), FItem(item) {
    setMouseTracking(true);
    setMinimumSize(190, 20);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter canvas(this);
    canvas.setBrush(palette().brush(FHover ? QPalette::Highlight : QPalette::Button));
    FForm->SinhalaTyping1DrawItem(FItem, canvas, rect(), FHover);
  }
  void enterEvent(QEnterEvent*) override {
    FHover = true;
    update();
  }
  void leaveEvent(QEvent*) override {
    FHover = false;
    update();
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) FItem->trigger();
  }

 private:
  TfrmMain* FForm;
  QAction* FItem;
  bool FHover = false;
};

}  // namespace

TfrmMain::TfrmMain(QWidget* parent) : TfrmMainBase(parent) {
  setObjectName("frmMain");
  setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  QFont windowFont("Tahoma");
  windowFont.setPixelSize(11);
  setFont(windowFont);
  // The typing pane and the strip keep the fonts the base gave them.
  QFont displayFont = memSinhala->font();
  displayFont.setPointSize(72);
  memSinhala->setFont(displayFont);

  // --- toolbars along the left edge --------------------------------------
  CoolBar1 = new QWidget(this);
  CoolBar1->setObjectName("CoolBar1");
  ToolBar1 = new QToolBar(CoolBar1);
  ToolBar1->setObjectName("ToolBar1");
  ToolBar2 = new QToolBar(CoolBar1);
  ToolBar2->setObjectName("ToolBar2");
  for (QToolBar* bar : {ToolBar1, ToolBar2}) {
    bar->setOrientation(Qt::Vertical);
    bar->setIconSize(QSize(16, 16));
    bar->setMovable(false);
  }
  tbMSWord = AddButton(ToolBar1, "tbMSWord", imgWord, "Output to MS Word", QSize(25, 24));
  tbMSExcel = AddButton(ToolBar1, "tbMSExcel", imgExcel, "Output to MS Excel", QSize(25, 24));
  tbPP = AddButton(ToolBar1, "tbPP", imgPowerPoint, "Output to MS Powerpoint", QSize(25, 24));
  tbMSN = AddButton(ToolBar1, "tbMSN", imgMessenger, "Output to MSN Live Messanger", QSize(25, 24));
  grpTargets = new QButtonGroup(this);
  grpTargets->setObjectName("grpTargets");
  grpTargets->setExclusive(true);
  for (QToolButton* b : {tbMSWord, tbMSExcel, tbPP, tbMSN}) {
    b->setCheckable(true);
    grpTargets->addButton(b);
  }
  tbMSWord->setChecked(true);

  tbLanguage = AddButton(ToolBar2, "tbLanguage", imgSinhala, "Toggle Sinhala/ English Typing.", QSize(24, 24));
  tbCharMap = AddButton(ToolBar2, "tbCharMap", imgCharMap, "Windows Character Map...", QSize(24, 24));
  ToolButton1 = AddButton(ToolBar2, "ToolButton1", imgFontMap, "Font Map", QSize(24, 24));
  ToolButton2 = AddButton(ToolBar2, "ToolButton2", imgFontSize, "Font Size", QSize(24, 24));
  auto* bands = new QVBoxLayout(CoolBar1);
  bands->setContentsMargins(0, 0, 0, 0);
  bands->setSpacing(2);
  bands->addWidget(ToolBar1);
  bands->addWidget(ToolBar2);
  bands->addStretch(1);

  // --- menus ---------------------------------------------------------------
  pmMaps = new QMenu(this);
  pmMaps->setObjectName("pmMaps");
  pmFontSizes = new QMenu(this);
  pmFontSizes->setObjectName("pmFontSizes");
  for (const char* size : {"8", "9", "10", "11", "12", "14", "16", "18", "22", "28", "36", "48", "72"}) {
    QAction* item = pmFontSizes->addAction(QString());
    item->setObjectName(QStringLiteral("N%1").arg(size));
    SetCaption(item, size);
    item->setCheckable(true);
    connect(item, &QAction::triggered, this, [this, item] { N81Click(item); });
  }
  popLanguage = new QMenu(this);
  popLanguage->setObjectName("popLanguage");
  SinhalaTyping1 = AddDrawnItem(popLanguage, "SinhalaTyping1", "Sinhala Typing     Ctrl+S", imgSinhala);
  EnglishTyping1 = AddDrawnItem(popLanguage, "EnglishTyping1", "English Typing     Ctrl+E", imgEnglish);
  connect(SinhalaTyping1, &QAction::triggered, this, [this] { SinhalaTyping1Click(SinhalaTyping1); });
  connect(EnglishTyping1, &QAction::triggered, this, [this] { EnglishTyping1Click(EnglishTyping1); });

  tbLanguage->setMenu(popLanguage);
  ToolButton1->setMenu(pmMaps);
  ToolButton2->setMenu(pmFontSizes);
  for (QToolButton* b : {tbLanguage, ToolButton1, ToolButton2}) b->setPopupMode(QToolButton::InstantPopup);
  connect(pmMaps, &QMenu::aboutToShow, this, [this] { pmMapsPopup(pmMaps); });
  connect(pmFontSizes, &QMenu::aboutToShow, this, [this] { pmFontSizesPopup(pmFontSizes); });
  connect(tbCharMap, &QToolButton::clicked, this, [this] { WindowsCharacterMap1Click(tbCharMap); });

  // --- panes ---------------------------------------------------------------
  Panel1 = new QFrame(this);
  Panel1->setObjectName("Panel1");
  Splitter1 = new QSplitter(Qt::Vertical, Panel1);
  Splitter1->setObjectName("Splitter1");
  Splitter1->setHandleWidth(2);
  Splitter1->setChildrenCollapsible(false);
  Splitter1->addWidget(memEnglish);
  Splitter1->addWidget(pnlSuggest);
  memEnglish->setMinimumHeight(2);
  pnlSuggest->setMinimumHeight(2);
  memSinhala->setFixedHeight(75);
  auto* stack = new QVBoxLayout(Panel1);
  stack->setContentsMargins(2, 2, 2, 2);
  stack->setSpacing(0);
  stack->addWidget(memSinhala);
  stack->addWidget(Splitter1, 1);

  auto* central = new QWidget(this);
  central->setObjectName("central");
  auto* row = new QHBoxLayout(central);
  row->setContentsMargins(2, 2, 2, 2);
  row->setSpacing(0);
  row->addWidget(CoolBar1);
  row->addWidget(Panel1, 1);
  setCentralWidget(central);
  resize(360, 290);
  chkSuggestClick(nullptr);
  // The typing pane has the focus when the window shows.
  memEnglish->setFocus();

  // --- start-up timers (handlers in uFrmMainStartup.cpp) ------------------
  tmrSplash = new QTimer(this);
  tmrSplash->setObjectName("tmrSplash");
  tmrSplash->setInterval(1000);
  tmrLoadSettings = new QTimer(this);
  tmrLoadSettings->setObjectName("tmrLoadSettings");
  tmrLoadSettings->setInterval(1000);
  CreateStartupParts();
}

TfrmMain::~TfrmMain() {
  // The About box and the Options belong to whoever made them; the window
  // only owns them on screen.
  for (QDialog* box : {static_cast<QDialog*>(frmAboutBox), static_cast<QDialog*>(FrmOptions)})
    if (box && box->parent() == this) box->setParent(nullptr);
  DisconnectChildren();
  FormDestroy(this);
}

QToolButton* TfrmMain::AddButton(QToolBar* bar, const char* name, int image, const QString& hint, QSize size) {
  auto* b = new QToolButton(bar);
  b->setObjectName(name);
  b->setIcon(ImageList1.Icon(image));
  b->setToolTip(hint);
  b->setAutoRaise(true);
  b->setFixedSize(size);
  bar->addWidget(b);
  return b;
}

QAction* TfrmMain::AddDrawnItem(QMenu* menu, const char* name, const QString& caption, int image) {
  auto* item = new QWidgetAction(menu);
  item->setObjectName(name);
  SetCaption(item, caption);
  item->setIcon(ImageList1.Icon(image));
  item->setDefaultWidget(new TDrawnItem(this, item, menu));
  menu->addAction(item);
  return item;
}

QString TfrmMain::Caption(const QAction* item) { return item ? item->data().toString() : QString(); }

void TfrmMain::SetCaption(QAction* item, const QString& caption) {
  item->setData(caption);
  QString shown = caption;
  item->setText(shown.replace('&', QStringLiteral("&&")));
}

// --- typing pane keys ---------------------------------------------------------

TOutputTarget TfrmMain::OutputTarget() const {
  if (tbMSWord->isChecked()) return TOutputTarget::Word;
  if (tbMSExcel->isChecked()) return TOutputTarget::Excel;
  if (tbPP->isChecked()) return TOutputTarget::PowerPoint;
  return TOutputTarget::Messenger;
}

void TfrmMain::memEnglishKeyUp(QObject*, quint16& Key, TShiftState Shift) {
  if (FUpdatingInput || FSinhalaEditing) return;
  if (Shift.Ctrl && (Key & 0xFF) == 'S') {
    SinhalaTyping1Click(nullptr);
    return;
  }
  if (Shift.Ctrl && (Key & 0xFF) == 'E') {
    EnglishTyping1Click(nullptr);
    return;
  }
  if (RefreshCaretOn(Key)) return;
  if (!(Key == VK_RETURN || (Key == VK_SPACE && chkSubmitWords->isChecked()))) return;
  const QString text = memSinhala->Text();
  if (SendToTarget(OutputTarget(), text, Key == VK_RETURN)) memEnglish->SetText(QString());
  Key = 0;
}

// --- map, size and typing-mode menus --------------------------------------------

void TfrmMain::FillMapMenu(QMenu* menu, const QString& folder, const QString& extension) {
  const std::vector<std::string> files = ListMapFiles(folder, extension);
  menu->clear();
  const QString current = FCharMap ? QString::fromStdU16String(TCharCollection::GetMapName(
                                         codepage::Widen(FCharMap->FileName())))
                                   : QString();
  for (const std::string& f : files) {
    auto* item = new QAction(menu);
    SetCaption(item, QString::fromStdU16String(TCharCollection::GetMapName(codepage::Widen(f))));
    item->setCheckable(true);
    item->setChecked(Caption(item) == current);
    connect(item, &QAction::triggered, this, [this, item] { FontMap1Click(item); });
    menu->addAction(item);
  }
}

void TfrmMain::pmMapsPopup(QObject*) {
  try {
    FillMapMenu(pmMaps, GetAppFolder(), ".fmp");
  } catch (const std::exception& e) {
    dialogs::ShowError(QString::fromUtf8(e.what()));
  }
}

void TfrmMain::FontMap1Click(QAction* Sender) {
  const std::string name = Sender ? codepage::NarrowQ(Caption(Sender)) : FFontMapName;
  LoadFontMap(name);
}

void TfrmMain::N81Click(QAction* Sender) {
  if (!Sender) return;
  FFontSize = codepage::NarrowQ(Caption(Sender));
  bool ok = false;
  const int size = QString::fromStdString(FFontSize).toInt(&ok);
  if (ok) FitDisplayPane(size);
}

void TfrmMain::FitDisplayPane(int points) {
  SetClientHeight(memSinhala, points * memSinhala->logicalDpiY() / 72 + 25);
  QFont f = memSinhala->font();
  f.setPointSize(points);
  memSinhala->setFont(f);
  memSinhala->update();
}

void TfrmMain::pmFontSizesPopup(QObject*) {
  const QString current = codepage::WidenQ(FFontSize);
  for (QAction* item : pmFontSizes->actions()) item->setChecked(Caption(item) == current);
}

void TfrmMain::SinhalaTyping1DrawItem(QAction* Sender, QPainter& canvas, const QRect& rect, bool selected) {
  canvas.fillRect(rect, canvas.brush());
  const QColor back = palette().color(selected ? QPalette::Highlight : QPalette::Button);
  canvas.drawPixmap(rect.left() + 5, rect.top(), Sender->icon().pixmap(16, 16));
  canvas.setPen(palette().color(selected ? QPalette::HighlightedText : QPalette::ButtonText));
  const QRect textRect(rect.left() + 25, rect.top() + 2, rect.width() - 25, rect.height() - 2);
  canvas.fillRect(QRect(textRect.topLeft(), canvas.fontMetrics().size(Qt::TextSingleLine, Caption(Sender))), back);
  canvas.drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, Caption(Sender));
}

void TfrmMain::EnglishTyping1Click(QObject*) {
  if (FEnglishMode) return;
  quint16 key = VK_RETURN;
  memEnglishKeyUp(nullptr, key, {});
  QFont f = memSinhala->font();
  f.setFamily(codepage::WidenQ(FEnglishFont));
  memSinhala->setFont(f);
  tbLanguage->setIcon(ImageList1.Icon(imgEnglish));
  FEnglishMode = true;
}

void TfrmMain::SinhalaTyping1Click(QObject*) {
  if (!FEnglishMode) return;
  quint16 key = VK_RETURN;
  memEnglishKeyUp(nullptr, key, {});
  QFont f = memSinhala->font();
  if (FCharMap) f.setFamily(QString::fromStdU16String(FCharMap->FontName));
  memSinhala->setFont(f);
  tbLanguage->setIcon(ImageList1.Icon(imgSinhala));
  FEnglishMode = false;
}

void TfrmMain::chkSuggestClick(QObject*) {
  // Ticked: a short typing pane above the suggestion panel; otherwise the
  // typing pane fills the space and only the search bar shows.
  const int total = std::max(Splitter1->height(), 80);
  if (chkSuggest->isChecked()) {
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({41, total - 41});
  } else {
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);
    Splitter1->setSizes({total - 25, 25});
  }
}

void TfrmMain::WindowsCharacterMap1Click(QObject*) { RunCharacterMap(*RunApp1); }

}  // namespace tavimo
