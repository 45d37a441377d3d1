/* Universal power block SBU-32: 32 outputs, each able to drive any lamp colour,
 * white tram lamps included. */
#include "VdlPlugin.h"

#define VDL_ANY (VDL_MASK_RED | VDL_MASK_YELLOW | VDL_MASK_GREEN | VDL_MASK_WHITE)

static const VdlOutput kOutputs[] = {
    {"1", VDL_ANY},  {"2", VDL_ANY},  {"3", VDL_ANY},  {"4", VDL_ANY},  {"5", VDL_ANY},  {"6", VDL_ANY},
    {"7", VDL_ANY},  {"8", VDL_ANY},  {"9", VDL_ANY},  {"10", VDL_ANY}, {"11", VDL_ANY}, {"12", VDL_ANY},
    {"13", VDL_ANY}, {"14", VDL_ANY}, {"15", VDL_ANY}, {"16", VDL_ANY}, {"17", VDL_ANY}, {"18", VDL_ANY},
    {"19", VDL_ANY}, {"20", VDL_ANY}, {"21", VDL_ANY}, {"22", VDL_ANY}, {"23", VDL_ANY}, {"24", VDL_ANY},
    {"25", VDL_ANY}, {"26", VDL_ANY}, {"27", VDL_ANY}, {"28", VDL_ANY}, {"29", VDL_ANY}, {"30", VDL_ANY},
    {"31", VDL_ANY}, {"32", VDL_ANY},
};

const VdlBlockModel kVdlBlockModel = {
    .internalId = 18,
    .revision = 1,
    .description = "Универсальный силовой блок СБУ-32 на 32 выхода",
    .family = 3,
    .familyName = "Силовые блоки",
    .flags = 0x0003,
    .maxRamSize = 262144,
    .maxDayplanItems = 64,
    .maxYearplanItems = 366,
    .maxWorkCycles = 64,
    .outputs = kOutputs,
    .outputCount = sizeof kOutputs / sizeof kOutputs[0],
    .inputCount = 0,
};
