#include "dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <algorithm>

namespace dialogs {
namespace {
Script* gScript = nullptr;

QMessageBox::Icon ToQt(Icon icon) {
  switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Error: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::None: break;
  }
  return QMessageBox::NoIcon;
}
// Every box belongs to a window of the program, so that it stays above it:
// the one asked for, else the active one. A box with none (the program's
// windows hidden) is kept above every window. A box with an owner blocks
// only that window, so the tray icon and the program's other windows still
// answer (a press on the icon brings the box to the front).
QWidget* Owner(QWidget* parent) {
  if (parent) return parent->window();
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

void KeepAbove(QDialog& box) {
  if (box.parentWidget())
    box.setWindowModality(Qt::WindowModal);
  else
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
}

// The one extension of a save filter in Qt form ("bmp" for "Bitmap
// (*.bmp)"), or `fallback` for a filter of many or any extensions.
QString EndingOf(const QString& filter, const QString& fallback) {
  const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
  const QString patterns = filter.mid(open + 1).chopped(filter.endsWith(QLatin1Char(')')) ? 1 : 0).trimmed();
  if (open < 0 || !patterns.startsWith(QLatin1String("*.")) || patterns.contains(QLatin1Char(' '))) return fallback;
  const QString ending = patterns.mid(2);
  return ending.isEmpty() || ending.contains(QLatin1Char('*')) || ending.contains(QLatin1Char('?')) ? fallback : ending;
}

}  // namespace

Script::Script() : previous_(gScript) { gScript = this; }
Script::~Script() { gScript = previous_; }
Script* Script::current() { return gScript; }

QStringList Script::messages() const {
  QStringList out;
  for (const Asked& a : asked)
    if (a.kind == QLatin1String("message") || a.kind == QLatin1String("error")) out << a.text;
  return out;
}

int MessageBox(QWidget* parent, const QString& text, const QString& caption, Icon icon, Buttons buttons) {
  if (gScript) {
    gScript->asked.push_back({QStringLiteral("message"), text, caption, icon});
    if (gScript->answers.empty()) return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Yes : Ok;
    int a = gScript->answers.front();
    gScript->answers.pop_front();
    return a;
  }
  QMessageBox box(ToQt(icon), caption.isEmpty() ? QApplication::applicationName() : caption, text,
                  QMessageBox::NoButton, Owner(parent));
  KeepAbove(box);
  switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo:
      // Yes is the answer that goes ahead (closes, overwrites, cuts); Enter
      // and Escape keep what the user has.
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(QMessageBox::No);
      box.setEscapeButton(QMessageBox::No);
      break;
    case Buttons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Ok: return Ok;
    case QMessageBox::Yes: return Yes;
    case QMessageBox::No: return No;
    default: return Cancel;
  }
}

void ShowError(const QString& text) {
  if (gScript) {
    gScript->asked.push_back({QStringLiteral("error"), text, QApplication::applicationName(), Icon::Error});
    return;
  }
  QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok, Owner(nullptr));
  KeepAbove(box);
  box.exec();
}

bool InputQuery(QWidget* parent, const QString& caption, const QString& prompt, QString& value) {
  if (gScript) {
    gScript->asked.push_back({QStringLiteral("input"), prompt, caption, Icon::None});
    if (gScript->inputs.empty()) return false;
    QString a = gScript->inputs.front();
    gScript->inputs.pop_front();
    if (a.isNull()) return false;
    value = a;
    return true;
  }
  QInputDialog box(Owner(parent));
  box.setWindowTitle(caption);
  box.setLabelText(prompt);
  box.setTextValue(value);
  KeepAbove(box);
  if (box.exec() != QDialog::Accepted) return false;
  value = box.textValue();
  return true;
}

QString SaveFileName(QWidget* parent, const QString& caption, const QString& filter, const QString& defaultExt,
                     const QString& initialName, int* filterIndex) {
  const QStringList filters = filter.split(QStringLiteral(";;"));
  const int opensOn = filterIndex && *filterIndex >= 0 && *filterIndex < filters.size() ? *filterIndex : 0;
  QString name;
  if (gScript) {
    gScript->asked.push_back({QStringLiteral("save"), filter, defaultExt, Icon::None});
    if (gScript->saveNames.empty()) return QString();
    name = gScript->saveNames.front();
    gScript->saveNames.pop_front();
    int chosen = opensOn;
    if (!gScript->saveFilters.empty()) {
      chosen = gScript->saveFilters.front();
      gScript->saveFilters.pop_front();
    }
    if (filterIndex) *filterIndex = chosen;
    const QString ending = EndingOf(filters.value(chosen), defaultExt);
    if (!name.isEmpty() && !ending.isEmpty() && QFileInfo(name).suffix().isEmpty())
      name += QLatin1Char('.') + ending;
    return name;
  }
  QFileDialog dlg(Owner(parent), caption, initialName, filter);
  KeepAbove(dlg);
  dlg.setAcceptMode(QFileDialog::AcceptSave);
  dlg.selectNameFilter(filters.value(opensOn));
  // The ending added follows the filter chosen, so that the name the
  // dialog asks about before overwriting is the name written.
  dlg.setDefaultSuffix(EndingOf(dlg.selectedNameFilter(), defaultExt));
  QObject::connect(&dlg, &QFileDialog::filterSelected, &dlg,
                   [&dlg, &defaultExt](const QString& chosen) { dlg.setDefaultSuffix(EndingOf(chosen, defaultExt)); });
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return QString();
  if (filterIndex) *filterIndex = std::max(0, static_cast<int>(filters.indexOf(dlg.selectedNameFilter())));
  return dlg.selectedFiles().first();
}

bool ChooseFont(QWidget* parent, QFont& font) {
  if (gScript) {
    gScript->asked.push_back({QStringLiteral("font"), font.family(), QString(), Icon::None});
    if (gScript->fonts.empty()) return false;
    font = gScript->fonts.front();
    gScript->fonts.pop_front();
    return true;
  }
  QFontDialog box(font, Owner(parent));
  KeepAbove(box);
  if (box.exec() != QDialog::Accepted) return false;
  font = box.selectedFont();
  return true;
}

}  // namespace dialogs
