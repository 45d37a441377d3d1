/* Input/output block BVV-8: eight relay outputs for panels, lamps and sound
 * informers, and eight detector inputs. */
#include "VdlPlugin.h"

static const VdlOutput kOutputs[] = {
    {"Реле 1", VDL_MASK_RELAY | VDL_MASK_GREEN}, {"Реле 2", VDL_MASK_RELAY | VDL_MASK_GREEN},
    {"Реле 3", VDL_MASK_RELAY | VDL_MASK_GREEN}, {"Реле 4", VDL_MASK_RELAY | VDL_MASK_GREEN},
    {"Реле 5", VDL_MASK_RELAY | VDL_MASK_GREEN}, {"Реле 6", VDL_MASK_RELAY | VDL_MASK_GREEN},
    {"Реле 7", VDL_MASK_RELAY | VDL_MASK_GREEN}, {"Реле 8", VDL_MASK_RELAY | VDL_MASK_GREEN},
};

const VdlBlockModel kVdlBlockModel = {
    .internalId = 33,
    .revision = 1,
    .description = "Блок ввода-вывода БВВ-8",
    .family = 2,
    .familyName = "Блоки ввода-вывода",
    .flags = 0x0000,
    .maxRamSize = 16384,
    .maxDayplanItems = 0,
    .maxYearplanItems = 0,
    .maxWorkCycles = 0,
    .outputs = kOutputs,
    .outputCount = sizeof kOutputs / sizeof kOutputs[0],
    .inputCount = 8,
};
