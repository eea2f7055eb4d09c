// The office layer's library: the servers over UNO connections.
#include "office_servers.h"
#include "plugin.h"

namespace automation::office {
namespace {

const Servers kServers{
    [](const Settings& s) { return OpenWriter(Connection::Open(s)); },
    [](const Settings& s, std::string& unreachable) -> std::shared_ptr<WordDocument> {
      std::shared_ptr<Connection> office;
      try {
        office = Connection::Open(s);
      } catch (const EOleError& e) {
        unreachable = e.what();
        return nullptr;
      }
      return NewWriterDocument(std::move(office));
    },
    [](const Settings& s) { return OpenCalc(Connection::Open(s)); },
    [](const Settings& s) { return OpenImpress(Connection::Open(s)); },
    [](const Settings& s) { return Connection::Open(s); },
    Connection::SetSendingHook,
};

}  // namespace
}  // namespace automation::office

extern "C" __attribute__((visibility("default"))) const automation::office::LayerEntry varunel_office_layer{
    automation::office::kLayerVersion, sizeof(automation::office::Servers), &automation::office::kServers};
