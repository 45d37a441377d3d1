/* Shared part of the block-model plug-ins we ship: each plug-in defines one
 * VdlBlockModel named kVdlBlockModel, and VdlPlugin.c turns it into the exports of
 * the plug-in interface (src/models/VdlInterface.h). */
#ifndef VANTOR_PLUGINS_VDLPLUGIN_H
#define VANTOR_PLUGINS_VDLPLUGIN_H

#include "models/VdlInterface.h"

typedef struct {
    const char *caption; /* UTF-8, e.g. "1к" */
    uint32_t mask;       /* VDL_MASK_* */
} VdlOutput;

typedef struct {
    int32_t internalId;
    uint8_t revision;
    const char *description;
    uint8_t family;
    const char *familyName;
    uint32_t flags;
    uint32_t maxRamSize;       /* bytes of configuration memory */
    uint32_t maxDayplanItems;  /* entries of one day plan */
    uint32_t maxYearplanItems; /* entries of one year plan */
    uint32_t maxWorkCycles;    /* cycles per traffic-light object */
    const VdlOutput *outputs;
    uint8_t outputCount;
    uint8_t inputCount;
} VdlBlockModel;

extern const VdlBlockModel kVdlBlockModel;

#endif /* VANTOR_PLUGINS_VDLPLUGIN_H */
