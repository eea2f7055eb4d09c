#include "uOptions.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "AboutArt.h"

TFrmOptions* FrmOptions = nullptr;

void SelectFace(TOptionsFontPicker* picker, const QString& face) {
  // A face the list lacks selects nothing and is kept as the picker's name.
  picker->SetFontName(face);
}

QString ChosenFace(const TOptionsFontPicker* picker, const QString& previous) {
  return picker->FontName().isEmpty() ? previous : picker->FontName();
}

namespace {
template <class T>
T* Named(T* widget, const char* name) {
  widget->setObjectName(QLatin1String(name));
  return widget;
}
}  // namespace

TFrmOptions::TFrmOptions(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("FrmOptions"));
  setWindowTitle(QStringLiteral("Options"));
  about::SetUpDialog(this, 282, 164);
  setFont(QFont(QStringLiteral("Tahoma"), 8));

  // The editor's group; the typing tool never shows it.
  GroupBox1 = Named(new QGroupBox(QStringLiteral("Auto Recovery"), this), "GroupBox1");
  GroupBox1->setGeometry(8, 4, 266, 52);
  chkAutoSave = Named(new QCheckBox(QStringLiteral("Enable Auto Recovery"), GroupBox1), "chkAutoSave");
  chkAutoSave->setGeometry(12, 16, 240, 16);
  Label1 = Named(new QLabel(QStringLiteral("Saving Interval"), GroupBox1), "Label1");
  Label1->setGeometry(28, 34, 80, 14);
  seInterval = Named(new QSpinBox(GroupBox1), "seInterval");
  seInterval->setRange(0, 30);
  seInterval->setGeometry(110, 31, 50, 20);
  Label2 = Named(new QLabel(QStringLiteral("minutes"), GroupBox1), "Label2");
  Label2->setGeometry(166, 34, 60, 14);
  GroupBox1->hide();
  connect(chkAutoSave, &QCheckBox::clicked, this, &TFrmOptions::chkAutoSaveClick);

  GroupBox2 = Named(new QGroupBox(QStringLiteral(" On Start "), this), "GroupBox2");
  GroupBox2->setGeometry(8, 4, 266, 62);
  rbLastSettings = Named(new QRadioButton(QStringLiteral("Apply last Settings."), GroupBox2), "rbLastSettings");
  rbLastSettings->setGeometry(12, 18, 240, 18);
  rbLastSettings->setChecked(true);
  rbDefaultSettings =
      Named(new QRadioButton(QStringLiteral("Apply default Settings."), GroupBox2), "rbDefaultSettings");
  rbDefaultSettings->setGeometry(12, 38, 240, 18);

  GroupBox3 = Named(new QGroupBox(QStringLiteral(" Default English Font "), this), "GroupBox3");
  GroupBox3->setGeometry(8, 70, 266, 54);
  fcFonts = Named(new TOptionsFontPicker(GroupBox3), "fcFonts");
  // A new picker lists TrueType faces with items 21 pixels high.
  fcFonts->SetSorted(true);
  fcFonts->setGeometry(14, 20, 237, 22);

  btnOk = Named(new QPushButton(QStringLiteral("OK"), this), "btnOk");
  btnOk->setGeometry(118, 132, 75, 25);
  btnOk->setDefault(true);
  connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
  btnCancel = Named(new QPushButton(QStringLiteral("Cancel"), this), "btnCancel");
  btnCancel->setGeometry(199, 132, 75, 25);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmOptions::chkAutoSaveClick() {
  const bool on = chkAutoSave->isChecked();
  seInterval->setEnabled(on);
  Label1->setEnabled(seInterval->isEnabled());
  Label2->setEnabled(seInterval->isEnabled());
}

void TFrmOptions::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  chkAutoSaveClick();
}

bool TFrmOptions::Execute(TTypingSettings& s) {
  rbLastSettings->setChecked(s.RestoreLastState);
  rbDefaultSettings->setChecked(!s.RestoreLastState);
  SelectFace(fcFonts, s.EnglishFont);
  if (exec() != QDialog::Accepted) return false;
  s.RestoreLastState = rbLastSettings->isChecked();
  s.EnglishFont = ChosenFace(fcFonts, s.EnglishFont);
  return true;
}
