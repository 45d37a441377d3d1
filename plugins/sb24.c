/* Power block SB-24: eight three-lamp channels, the standard block of a controller.
 * Internal id 16 is the model a configuration without a model id refers to. */
#include "Channels.h"

static const VdlOutput kOutputs[] = {VDL_CHANNEL(1), VDL_CHANNEL(2), VDL_CHANNEL(3), VDL_CHANNEL(4),
                                     VDL_CHANNEL(5), VDL_CHANNEL(6), VDL_CHANNEL(7), VDL_CHANNEL(8)};

const VdlBlockModel kVdlBlockModel = {
    .internalId = 16,
    .revision = 3,
    .description = "Силовой блок СБ-24",
    .family = 3,
    .familyName = "Силовые блоки",
    .flags = 0x0001,
    .maxRamSize = 131072,
    .maxDayplanItems = 48,
    .maxYearplanItems = 366,
    .maxWorkCycles = 32,
    .outputs = kOutputs,
    .outputCount = sizeof kOutputs / sizeof kOutputs[0],
    .inputCount = 8,
};
