/* The exports of a block-model plug-in, answered from kVdlBlockModel.
 *
 * Test builds switch single exports off or change their answers with these macros:
 *   VDL_TEST_EXPORT_ISVDL        export IsVDL (marks an outdated plug-in)
 *   VDL_TEST_VERSION=n           GetVDLVersion answers n
 *   VDL_TEST_OMIT_VERSION        no GetVDLVersion
 *   VDL_TEST_CLIENT_VERSION=n    GetLastClientVersion answers n
 *   VDL_TEST_OMIT_<EXPORT>       leaves out GetMaxRAMSize or GetInputCount
 *   VDL_TEST_MASK_ERROR_AT=i     GetOutputMask fails with 5 for output i */
#include "VdlPlugin.h"

#include <stddef.h>

#define VDL_API __attribute__((visibility("default")))

#ifndef VDL_TEST_VERSION
#define VDL_TEST_VERSION 2
#endif
#ifndef VDL_TEST_CLIENT_VERSION
#define VDL_TEST_CLIENT_VERSION 1
#endif

#ifdef VDL_TEST_EXPORT_ISVDL
VDL_API int32_t IsVDL(void)
{
    return 1;
}
#endif

#ifndef VDL_TEST_OMIT_VERSION
VDL_API int32_t GetVDLVersion(void)
{
    return VDL_TEST_VERSION;
}
#endif

VDL_API int32_t GetLastClientVersion(void)
{
    return VDL_TEST_CLIENT_VERSION;
}

VDL_API int32_t GetInternalID(void)
{
    return kVdlBlockModel.internalId;
}

VDL_API uint8_t GetRevision(void)
{
    return kVdlBlockModel.revision;
}

VDL_API const char *GetDescriptionA(void)
{
    return kVdlBlockModel.description;
}

VDL_API uint8_t GetFamily(void)
{
    return kVdlBlockModel.family;
}

VDL_API const char *GetFamilyNameA(void)
{
    return kVdlBlockModel.familyName;
}

VDL_API uint32_t GetFlags(void)
{
    return kVdlBlockModel.flags;
}

#ifndef VDL_TEST_OMIT_GETMAXRAMSIZE
VDL_API uint32_t GetMaxRAMSize(void)
{
    return kVdlBlockModel.maxRamSize;
}
#endif

VDL_API uint32_t GetMaxDayplanItemsCount(void)
{
    return kVdlBlockModel.maxDayplanItems;
}

VDL_API uint32_t GetMaxYearplanItemsCount(void)
{
    return kVdlBlockModel.maxYearplanItems;
}

VDL_API uint32_t GetMaxWorkCyclesCount(void)
{
    return kVdlBlockModel.maxWorkCycles;
}

VDL_API int32_t GetOutputDescriptionA(int32_t index, const char **description)
{
    if (index < 0 || index >= kVdlBlockModel.outputCount || description == NULL)
        return 1;
    *description = kVdlBlockModel.outputs[index].caption;
    return 0;
}

VDL_API int32_t GetOutputMask(int32_t index, uint32_t *mask)
{
#ifdef VDL_TEST_MASK_ERROR_AT
    if (index == VDL_TEST_MASK_ERROR_AT)
        return 5;
#endif
    if (index < 0 || index >= kVdlBlockModel.outputCount || mask == NULL)
        return 1;
    *mask = kVdlBlockModel.outputs[index].mask;
    return 0;
}

VDL_API int32_t GetOutputCtlOptions(int32_t index, void *options)
{
    (void)options;
    return index >= 0 && index < kVdlBlockModel.outputCount ? 0 : 1;
}

VDL_API uint8_t GetOutputCount(void)
{
    return kVdlBlockModel.outputCount;
}

#ifndef VDL_TEST_OMIT_GETINPUTCOUNT
VDL_API uint8_t GetInputCount(void)
{
    return kVdlBlockModel.inputCount;
}
#endif
