// The Options dialog: what the next start applies (last or default
// settings) and the English font. The "Auto Recovery" group belongs to the
// editor and is hidden here.
#pragma once

#include <QDialog>

#include "FontCombo.h"
#include "TypingSettings.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

// The English font picker: sorted, TrueType faces only, items 21 pixels high.
using TOptionsFontPicker = TFontCombo;

// Selects the item of `picker` whose face is `face`; none when it has none.
void SelectFace(TOptionsFontPicker* picker, const QString& face);
// The face chosen in `picker`; `previous` when it names none.
QString ChosenFace(const TOptionsFontPicker* picker, const QString& previous);

class TFrmOptions : public QDialog {
  Q_OBJECT
 public:
  explicit TFrmOptions(QWidget* parent = nullptr);

  QGroupBox* GroupBox1;  // "Auto Recovery"
  QCheckBox* chkAutoSave;
  QLabel* Label1;
  QSpinBox* seInterval;
  QLabel* Label2;
  QGroupBox* GroupBox2;  // " On Start "
  QRadioButton* rbLastSettings;
  QRadioButton* rbDefaultSettings;
  QGroupBox* GroupBox3;  // " Default English Font "
  TOptionsFontPicker* fcFonts;
  QPushButton* btnOk;
  QPushButton* btnCancel;

  void chkAutoSaveClick();

  // The typing tool's part of the Options command: fills the dialog from
  // `s`, shows it modally and, on OK only, takes RestoreLastState and
  // EnglishFont back into `s`. Returns true on OK; the caller then writes
  // the settings with the window's current bounds.
  bool Execute(TTypingSettings& s);

 protected:
  void showEvent(QShowEvent* event) override;
};

extern TFrmOptions* FrmOptions;
