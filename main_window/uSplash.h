// The splash window: frameless, on top, closes itself 3000 ms after it was
// created, whenever it is shown.
#pragma once

#include <QDialog>

class QTimer;

class TfrmSplash : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmSplash(QWidget* parent = nullptr);

  QTimer* Timer1;
  void Timer1Timer();

 protected:
  // Escape does not close the window: it has no caption buttons, only its
  // own way to close.
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // The timer fired before the splash was shown: showing it closes it again.
  bool FExpired = false;
};

extern TfrmSplash* frmSplash;
