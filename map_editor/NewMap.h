// New map and map copy: asking for the name of a map file to create in the
// program folder, checking it, and writing a new, empty map.
#pragma once

#include <QString>
#include <string>

class QWidget;

namespace newmap {

// The face name written into new maps.
inline constexpr char kDefaultFace[] = "Noto Sans Sinhala";

// What the two commands ask and report.
struct TNameQuery {
  QString title;
  QString prompt;
  QString invalidMessage;
  bool operator==(const TNameQuery&) const = default;
};
// New map: "Invalid character Map Name."; Copy map: "Invalid Character Map Name.".
TNameQuery NewMapQuery();
TNameQuery CopyMapQuery();
inline constexpr char kExistsMessage[] = "Character Map already exist.";

// The map file of `name` in `folder` (ending with its separator).
QString MapPath(const QString& folder, const QString& name);

// Asks for a new map's name and checks it, in this order: an empty name (or
// Cancel) ends silently; a map file of that name, in any case of letters,
// reports kExistsMessage; a name holding a character map names may not hold
// reports the query's invalid-name message. The name is 8-bit text: what
// the code page cannot hold arrives as "?", which no map name may hold.
// Returns the name when every check passes, else an empty string.
QString AskNewMapName(QWidget* parent, const QString& folder, const TNameQuery& query);

// The map file of a new map: no items, face kDefaultFace and no layout,
// that is the six header lines of a map file.
std::string NewMapBytes();

}  // namespace newmap
