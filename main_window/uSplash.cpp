#include "uSplash.h"

#include <QKeyEvent>
#include <QFrame>
#include <QTimer>

#include "AboutArt.h"

TfrmSplash* frmSplash = nullptr;

TfrmSplash::TfrmSplash(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("frmSplash"));
  about::SetUpDialog(this, 408, 283);
  setFont(QFont(QStringLiteral("Trebuchet MS"), 8));
  about::Paint(this, Qt::black);

  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setGeometry(1, 1, 406, 281);
  about::Paint(panel, Qt::white);

  about::AddProgramPicture(panel, 8, 8);
  about::AddBanner(panel, 64, 8, 326, 1);

  about::AddTextBox(panel, about::SplashDescription(), QRect(8, 114, 389, 141));
  about::AddCopyright(panel, QRect(8, 261, 389, 14), true);

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

void TfrmSplash::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) return;
  QDialog::keyPressEvent(event);
}
