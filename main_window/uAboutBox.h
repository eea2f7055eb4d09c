// The About box: banner, program picture, version, contact and copyright
// links, a text box with the description and credits, and a hidden credits
// box shown on Ctrl+C R E D I T.
#pragma once

#include <QDialog>
#include <QString>

class TfrmAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmAboutBox(QWidget* parent = nullptr);

  // Key release with the key code and the modifiers held; sees every key of
  // the box before its controls do.
  void FormKeyUp(int key, Qt::KeyboardModifiers shift);
  void Label5Click();
  void CopyrightClick();

  // The keys released with Ctrl held since the last release without it.
  const QString& CtrlKeys() const { return FCtrlKeys; }

 protected:
  // Escape does not close the window: it has no caption buttons, only its
  // own way to close.
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QString FCtrlKeys;
};

extern TfrmAboutBox* frmAboutBox;
