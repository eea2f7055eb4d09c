#include "uSplash.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>

#include "AboutArt.h"

TfrmSplash* frmSplash = nullptr;

TfrmSplash::TfrmSplash(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("frmSplash"));
  // Closing the splash must never end the program.
  setAttribute(Qt::WA_QuitOnClose, false);
  setFixedSize(408, 283);
  about::CentreOnScreen(this);
  setFont(QFont(QStringLiteral("Trebuchet MS"), 8));
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::black);
  setPalette(pal);
  setAutoFillBackground(true);

  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setGeometry(1, 1, 406, 281);
  QPalette white = panel->palette();
  white.setColor(QPalette::Window, Qt::white);
  panel->setPalette(white);
  panel->setAutoFillBackground(true);

  about::AddProgramPicture(panel, 8, 8);
  about::AddBanner(panel, 64, 8, 326, 1);

  auto* memo = new QPlainTextEdit(about::SplashDescription(), panel);
  memo->setObjectName(QStringLiteral("Memo1"));
  memo->setReadOnly(true);
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo->setGeometry(8, 114, 389, 141);

  auto* copyright = new QLabel(about::CopyrightText(), panel);
  copyright->setObjectName(QStringLiteral("Copyright"));
  copyright->setGeometry(8, 261, 389, 14);
  about::StyleAsLink(copyright, true, true);

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(3000);
  connect(Timer1, &QTimer::timeout, this, &TfrmSplash::Timer1Timer);
  Timer1->start();
}

void TfrmSplash::Timer1Timer() {
  Timer1->stop();
  if (!isVisible()) FExpired = true;
  close();
}

void TfrmSplash::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Start-up took longer than the splash's time: let it go at once.
  if (FExpired) QTimer::singleShot(0, this, &QWidget::close);
}
