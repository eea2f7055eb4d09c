// The entry of the office layer's library: what the programs' loader
// (office.cpp) finds in it, and the library (plugin.cpp) gives. Both sides
// are built together, so C++ types cross freely; a library left from
// another build is told apart by the version and size its entry gives
// first, and refused.
#pragma once

#include "automation.h"
#include "office.h"

#include <cstdint>
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
  // For the tests: a function the library calls on a typing step's thread
  // just before the step sends its text (null: none).
  void (*setSendingHook)(void (*hook)());
};

// Raised whenever Servers, Settings or anything they pass changes.
inline constexpr std::uint32_t kLayerVersion = 2;

// The library's one exported object: extern "C" const LayerEntry <name>.
// Its first two members keep their place in every build.
struct LayerEntry {
  std::uint32_t version;  // kLayerVersion of the library's build
  std::uint32_t size;     // sizeof(Servers) there
  const Servers* servers;
};
inline constexpr char kLayerEntry[] = "varunel_office_layer";

}  // namespace automation::office
