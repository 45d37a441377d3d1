/* The block-model plug-in interface: what a "*.vdl" shared library exports.
 *
 * A plug-in describes one kind of controller block (its outputs, inputs and memory
 * limits) through plain C functions looked up by name. The configurator reads every
 * value once at start-up, copies the strings and unloads the library again, so a
 * plug-in may return pointers to static storage. This header is plain C so that
 * plug-ins can be written in C without anything else of the repository.
 *
 * Version rules: a plug-in exports GetVDLVersion (at least 2) and GetLastClientVersion
 * (the oldest configurator client version it works with, at most VDL_CLIENT_VERSION);
 * it must not export IsVDL, which marks the outdated first generation of plug-ins.
 * Strings are zero-terminated UTF-8. */
#ifndef VANTOR_MODELS_VDLINTERFACE_H
#define VANTOR_MODELS_VDLINTERFACE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The client version of this configurator. */
#define VDL_CLIENT_VERSION 1
/* The oldest plug-in interface version this configurator reads. */
#define VDL_MIN_INTERFACE_VERSION 2

/* Bits of an output's mask: the lamps and loads an output is rated for. */
#define VDL_MASK_RED 0x01u
#define VDL_MASK_YELLOW 0x02u
#define VDL_MASK_GREEN 0x04u
#define VDL_MASK_WHITE 0x08u /* white tram signal lamps */
#define VDL_MASK_RELAY 0x10u /* dry contact, no lamp monitoring */

/* Signatures of the exports (the names are the strings the loader looks up). */
typedef int32_t (*VdlInt32Fn)(void);      /* GetVDLVersion, GetLastClientVersion, GetInternalID */
typedef uint32_t (*VdlUInt32Fn)(void);    /* GetFlags, GetMaxRAMSize, GetMax...Count */
typedef uint8_t (*VdlByteFn)(void);       /* GetRevision, GetFamily, GetOutputCount, GetInputCount */
typedef const char *(*VdlStringFn)(void); /* GetDescriptionA, GetFamilyNameA */
/* GetOutputDescriptionA: stores the caption of output `index`; 0 on success. */
typedef int32_t (*VdlOutputDescriptionFn)(int32_t index, const char **description);
/* GetOutputMask: stores the VDL_MASK_* bits of output `index`; 0 on success. */
typedef int32_t (*VdlOutputMaskFn)(int32_t index, uint32_t *mask);
/* GetOutputCtlOptions: must be present; the configurator does not call it. */
typedef int32_t (*VdlOutputCtlOptionsFn)(int32_t index, void *options);

#ifdef __cplusplus
}
#endif

#endif /* VANTOR_MODELS_VDLINTERFACE_H */
