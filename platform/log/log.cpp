#include "log.h"

Q_LOGGING_CATEGORY(lcApp, "varunel.app")
Q_LOGGING_CATEGORY(lcMaps, "varunel.maps")
Q_LOGGING_CATEGORY(lcFiles, "varunel.files")
Q_LOGGING_CATEGORY(lcOutput, "varunel.output")
