#include "office.h"

#include "inprocess.h"
#include "office_servers.h"

namespace automation::office {

bool Built() { return true; }

void UseOffice(const Settings& settings) {
  SetStarter<WordApplication>([settings] { return OpenWriter(Connection::Open(settings)); });
  SetStarter<ExcelApplication>([settings] { return OpenCalc(Connection::Open(settings)); });
  SetStarter<PowerPointApplication>([settings] { return OpenImpress(Connection::Open(settings)); });
  // The export writes a Word document through the office when it can be
  // reached, else Rich Text in-process, as without the office.
  SetStarter<WordDocument>([settings]() -> std::shared_ptr<WordDocument> {
    std::shared_ptr<Connection> office;
    try {
      office = Connection::Open(settings);
    } catch (const EOleError&) {
      return std::make_shared<inprocess::Document>();
    }
    return NewWriterDocument(std::move(office));
  });
}

}  // namespace automation::office
