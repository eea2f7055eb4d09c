// A build without the LibreOffice SDK: only the in-process stand-in.
#include "office.h"

namespace automation::office {

bool Built() { return false; }

void UseOffice(const Settings&) {}

}  // namespace automation::office
