// The office's stand-ins for the Office applications, each over one
// connection. Their members raise EOleError as the Office ones do.
#pragma once

#include "connection.h"

namespace automation::office {

std::shared_ptr<WordApplication> OpenWriter(std::shared_ptr<Connection> office);
// Opens a new, hidden Writer document (closed again when the object goes).
std::shared_ptr<WordDocument> NewWriterDocument(std::shared_ptr<Connection> office);
std::shared_ptr<ExcelApplication> OpenCalc(std::shared_ptr<Connection> office);
std::shared_ptr<PowerPointApplication> OpenImpress(std::shared_ptr<Connection> office);

}  // namespace automation::office
