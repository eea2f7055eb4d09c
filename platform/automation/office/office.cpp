// The programs' side of the office layer: finds its library beside the
// program and loads it on first use of UseOffice(). The library is never
// unloaded: the servers it made may live until the program ends.
#include "office.h"

#include "inprocess.h"
#include "plugin.h"

#include "log.h"

#include <dlfcn.h>
#include <filesystem>
#include <mutex>
#include <string>

namespace automation::office {

namespace {

#ifdef VARUNEL_OFFICE_LAYER
std::string LayerFile(const Settings& settings) {
  if (!settings.layer.empty()) return settings.layer;
  std::error_code ec;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
  return (program.parent_path() / VARUNEL_OFFICE_LAYER).string();
}

// The library's servers, or null with `why` said. Only a library of this
// build's version, whose table has this build's size, is used; one left
// from another build would call through a table of another shape.
const Servers* Load(const std::string& file, std::string& why) {
  // One load per library file, kept for the life of the program.
  static std::mutex mutex;
  std::lock_guard lock(mutex);
  void* library = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* error = ::dlerror();
    why = error ? error : "cannot load " + file;
    return nullptr;
  }
  const auto* entry = static_cast<const LayerEntry*>(::dlsym(library, kLayerEntry));
  if (!entry) {
    why = file + " is not the office layer of this build (it has no " + kLayerEntry + ")";
    return nullptr;
  }
  if (entry->version != kLayerVersion) {
    why = file + " is the office layer of another build: version " + std::to_string(entry->version) +
          ", this build needs " + std::to_string(kLayerVersion);
    return nullptr;
  }
  if (entry->size != sizeof(Servers)) {
    why = file + " is the office layer of another build: its table has " + std::to_string(entry->size) +
          " bytes, this build's " + std::to_string(sizeof(Servers));
    return nullptr;
  }
  return entry->servers;
}
#endif

}  // namespace

std::string UseOffice(const Settings& settings) {
#ifndef VARUNEL_OFFICE_LAYER
  (void)settings;
  return "this build has no office layer (built without the LibreOffice SDK)";
#else
  std::string why;
  const Servers* servers = Load(LayerFile(settings), why);
  if (!servers) return why;
  SetStarter<WordApplication>([servers, settings] { return servers->openWriter(settings); });
  SetStarter<ExcelApplication>([servers, settings] { return servers->openCalc(settings); });
  SetStarter<PowerPointApplication>([servers, settings] { return servers->openImpress(settings); });
  // The export writes a Word document through the office when it can be
  // reached, else Rich Text in-process, as without the office.
  SetStarter<WordDocument>([servers, settings]() -> std::shared_ptr<WordDocument> {
    std::string unreachable;
    if (auto document = servers->newWriterDocument(settings, unreachable)) return document;
    qCWarning(lcFiles) << "the Word document is written as Rich Text:" << unreachable.c_str();
    return std::make_shared<inprocess::Document>();
  });
  return {};
#endif
}

}  // namespace automation::office
