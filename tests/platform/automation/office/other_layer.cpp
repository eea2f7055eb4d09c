// An office layer's library as another build would leave it: its entry
// gives another version (OTHER_VERSION) or another size of the table
// (OTHER_SIZE). The table itself is none: a loader must not reach it.
#include "plugin.h"

using automation::office::LayerEntry;

extern "C" __attribute__((visibility("default"))) const LayerEntry varunel_office_layer{
    OTHER_VERSION, OTHER_SIZE, nullptr};
