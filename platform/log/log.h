// The programs' logging categories. A failure the user is not shown, or is
// shown only as a fixed message, leaves its reason here, on standard error
// as Qt writes warnings (QT_LOGGING_RULES="varunel.*=false" silences them).
// The Qt-free core never logs: it throws or returns, and whoever catches it
// in the windows writes the line.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcApp)     // "varunel.app": start-up, the event loop's last resort
Q_DECLARE_LOGGING_CATEGORY(lcMaps)    // "varunel.maps": font maps and layouts
Q_DECLARE_LOGGING_CATEGORY(lcFiles)   // "varunel.files": settings, recovery file, exports, registry
Q_DECLARE_LOGGING_CATEGORY(lcOutput)  // "varunel.output": text sent to other programs
