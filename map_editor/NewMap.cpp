#include "NewMap.h"

#include <QDir>
#include <QFileInfo>
#include <string>

#include "QtCodepage.h"
#include "VarunelComms.h"
#include "dialogs.h"

namespace newmap {

TNameQuery NewMapQuery() {
  return {QStringLiteral("Create Character Map"), QStringLiteral("New Character Map name:"),
          QStringLiteral("Invalid character Map Name.")};
}

TNameQuery CopyMapQuery() {
  return {QStringLiteral("Copy Current Character Map"), QStringLiteral("New Character Map Name:"),
          QStringLiteral("Invalid Character Map Name.")};
}

QString MapPath(const QString& folder, const QString& name) { return folder + name + QStringLiteral(".fmp"); }

namespace {

// Map files are found whatever the case of their letters (as the map
// reader finds them), so a name differing only in case is taken.
bool MapFileExists(const QString& folder, const QString& name) {
  if (QFileInfo::exists(MapPath(folder, name))) return true;
  const QString wanted = name + QStringLiteral(".fmp");
  const QStringList files = QDir(folder.isEmpty() ? QStringLiteral(".") : folder).entryList(QDir::Files | QDir::Hidden);
  for (const QString& file : files)
    if (file.compare(wanted, Qt::CaseInsensitive) == 0) return true;
  return false;
}

void ShowError(QWidget* parent, const QString& text) {
  dialogs::MessageBox(parent, text, QStringLiteral("Error"), dialogs::Icon::Error, dialogs::Buttons::Ok);
}

}  // namespace

QString AskNewMapName(QWidget* parent, const QString& folder, const TNameQuery& query) {
  QString typed;
  if (!dialogs::InputQuery(parent, query.title, query.prompt, typed)) return QString();
  const std::string name = codepage::NarrowQ(typed);
  if (name.empty()) return QString();
  const QString wide = codepage::WidenQ(name);
  if (MapFileExists(folder, wide)) {
    ShowError(parent, QString::fromLatin1(kExistsMessage));
    return QString();
  }
  if (!IsValidMapName(name)) {
    ShowError(parent, query.invalidMessage);
    return QString();
  }
  return wide;
}

std::string NewMapBytes() {
  TCharCollection map;
  map.FontName = QString::fromLatin1(kDefaultFace).toStdU16String();
  map.MapLayout.clear();
  return map.SaveToBytes();
}

}  // namespace newmap
