/* Block models for the plug-in loader tests. TEST_MODEL selects one of the
 * descriptions below; the VDL_TEST_* macros of VdlPlugin.c break the plug-in in one
 * particular way. */
#include "VdlPlugin.h"

#ifndef TEST_MODEL
#define TEST_MODEL 1
#endif

static const VdlOutput kOutputs[] = {
    {"1к", VDL_MASK_RED}, {"1ж", VDL_MASK_YELLOW}, {"1з", VDL_MASK_GREEN}, {"2к", VDL_MASK_RED}};

#if TEST_MODEL == 1
const VdlBlockModel kVdlBlockModel = {101, 1,        "Бета блок", 3, "Тестовые блоки 3", 0x10, 4096, 8, 20,
                                      4,   kOutputs, 3,           0};
#elif TEST_MODEL == 2
const VdlBlockModel kVdlBlockModel = {
    102, 7, "альфа блок на 2 выхода", 3, "Тестовые блоки 3", 0, 8192, 16, 40, 8, kOutputs, 2, 1};
#elif TEST_MODEL == 3
const VdlBlockModel kVdlBlockModel = {103, 2,        "Гамма", 2, "Тестовые блоки 2", 0, 1024, 4, 10,
                                      2,   kOutputs, 4,       2};
#else
#error unknown TEST_MODEL
#endif
