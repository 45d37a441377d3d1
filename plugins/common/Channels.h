/* Output captions of the transport-signal power blocks: channel n drives the red,
 * yellow and green lamps "nк", "nж", "nз". */
#ifndef VANTOR_PLUGINS_CHANNELS_H
#define VANTOR_PLUGINS_CHANNELS_H

#include "VdlPlugin.h"

/* clang-format off */
#define VDL_CHANNEL(n) {#n "к", VDL_MASK_RED}, {#n "ж", VDL_MASK_YELLOW}, {#n "з", VDL_MASK_GREEN}
/* clang-format on */

#endif
