#include "uAboutBox.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include "AboutArt.h"
#include "ShellOpen.h"
#include "dialogs.h"

TfrmAboutBox* frmAboutBox = nullptr;

TfrmAboutBox::TfrmAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(QStringLiteral("frmAboutBox"));
  setWindowTitle(QStringLiteral("About"));
  about::SetUpDialog(this, 371, 288);
  setFont(QFont(QStringLiteral("Tahoma"), 8));
  about::Paint(this, Qt::white);

  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setGeometry(8, 8, 357, 241);

  about::AddProgramPicture(panel, 8, 8);
  about::AddBanner(panel, 64, 8, 274, 2);

  auto* contact = new QLabel(QStringLiteral("Contact :"), panel);
  contact->setObjectName(QStringLiteral("Label3"));
  contact->setGeometry(64, 112, 50, 14);
  auto* address = new QLabel(about::ContactAddress(), panel);
  address->setObjectName(QStringLiteral("Label5"));
  address->setGeometry(114, 112, 230, 14);
  about::StyleAsLink(address, true, true);

  about::AddTextBox(panel, about::AboutDescription(), QRect(8, 134, 341, 78))->setFrameShape(QFrame::NoFrame);
  about::AddCopyright(panel, QRect(8, 218, 341, 14), false);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OKButton"));
  ok->setDefault(true);
  ok->setGeometry(148, 256, 75, 25);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  // The box sees every key, and the clicks on the two links, first.
  installEventFilter(this);
  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

bool TfrmAboutBox::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyRelease) {
    // A key the focused control does not take travels on to its parents;
    // it counts once, where it was first delivered.
    QWidget* target = focusWidget() ? focusWidget() : this;
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == target && !key->isAutoRepeat()) FormKeyUp(key->key(), key->modifiers());
  } else if (event->type() == QEvent::MouseButtonRelease &&
             static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    if (watched->objectName() == QLatin1String("Label5")) Label5Click();
    if (watched->objectName() == QLatin1String("Copyright")) CopyrightClick();
  }
  return QDialog::eventFilter(watched, event);
}

void TfrmAboutBox::FormKeyUp(int key, Qt::KeyboardModifiers shift) {
  // Releasing Ctrl itself is a release without Ctrl.
  if (shift.testFlag(Qt::ControlModifier) && key != Qt::Key_Control) {
    // Letter and digit keys carry their capital character as their code.
    FCtrlKeys += key >= 0x20 && key < 0x7f ? QChar(key) : QChar(u'?');
  } else {
    FCtrlKeys.clear();
  }
  if (FCtrlKeys == QLatin1String("CREDIT"))
    dialogs::MessageBox(this, about::CreditsText(), QStringLiteral("Information"),
                        dialogs::Icon::Information, dialogs::Buttons::Ok);
}

void TfrmAboutBox::Label5Click() {
  // The address the label shows: each program shows its own.
  const auto* address = findChild<QLabel*>(QStringLiteral("Label5"));
  shell::Open(shell::MailTo(address ? address->text() : about::ContactAddress(), about::MailSubject()));
}

void TfrmAboutBox::CopyrightClick() { shell::Open(shell::MailTo(about::SecondAddress(), about::MailSubject())); }

void TfrmAboutBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) return;
  QDialog::keyPressEvent(event);
}
