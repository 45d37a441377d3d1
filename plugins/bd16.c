/* Detector block BD-16: sixteen detector inputs (loops, push buttons, video
 * detectors) and two relay outputs for call confirmation lamps. */
#include "VdlPlugin.h"

static const VdlOutput kOutputs[] = {{"Реле 1", VDL_MASK_RELAY}, {"Реле 2", VDL_MASK_RELAY}};

const VdlBlockModel kVdlBlockModel = {
    .internalId = 32,
    .revision = 1,
    .description = "Блок детекторов БД-16",
    .family = 2,
    .familyName = "Блоки ввода-вывода",
    .flags = 0x0000,
    .maxRamSize = 16384,
    .maxDayplanItems = 0,
    .maxYearplanItems = 0,
    .maxWorkCycles = 0,
    .outputs = kOutputs,
    .outputCount = sizeof kOutputs / sizeof kOutputs[0],
    .inputCount = 16,
};
