/* Power block SB-12: four three-lamp channels for a small intersection or a crossing. */
#include "Channels.h"

static const VdlOutput kOutputs[] = {VDL_CHANNEL(1), VDL_CHANNEL(2), VDL_CHANNEL(3), VDL_CHANNEL(4)};

const VdlBlockModel kVdlBlockModel = {
    .internalId = 17,
    .revision = 2,
    .description = "Силовой блок СБ-12",
    .family = 3,
    .familyName = "Силовые блоки",
    .flags = 0x0001,
    .maxRamSize = 65536,
    .maxDayplanItems = 32,
    .maxYearplanItems = 366,
    .maxWorkCycles = 16,
    .outputs = kOutputs,
    .outputCount = sizeof kOutputs / sizeof kOutputs[0],
    .inputCount = 4,
};
