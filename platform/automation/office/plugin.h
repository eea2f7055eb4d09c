// The entry of the office layer's library: what the programs' loader
// (office.cpp) finds in it, and the library (plugin.cpp) gives. Both sides
// are built together, so C++ types cross freely.
#pragma once

#include "automation.h"
#include "office.h"

#include <memory>

namespace automation::office {

class Connection;

// Each opens its server over a new connection to the office, or raises
// EOleError when the office cannot be reached.
struct Servers {
  std::shared_ptr<WordApplication> (*openWriter)(const Settings&);
  // A new, hidden Writer document, closed again when the object goes; null,
  // with `unreachable` said, when the office cannot be reached.
  std::shared_ptr<WordDocument> (*newWriterDocument)(const Settings&, std::string& unreachable);
  std::shared_ptr<ExcelApplication> (*openCalc)(const Settings&);
  std::shared_ptr<PowerPointApplication> (*openImpress)(const Settings&);
  // The connection itself, for reading the office's documents (the tests):
  // the UNO runtime does not take two bridges of one process to the same
  // office apart, so the tests use the layer's own (connection.h).
  std::shared_ptr<Connection> (*connect)(const Settings&);
};

// The library's one exported function: extern "C" const Servers* <name>().
inline constexpr char kServersEntry[] = "varunel_office_servers";

}  // namespace automation::office
