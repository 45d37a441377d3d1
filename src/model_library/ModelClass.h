#pragma once
// The whole model of one controller configuration: what the loader builds and the
// step sequence runs.

#include "PromtactClass.h"
#include "SemaphoreObjectsClass.h"
#include "SigGroupClass.h"
#include "TriggerClass.h"
#include "VantorDirsClass.h"

#include <cstdint>
#include <vector>

namespace vantor::model {

class ModelClass {
public:
    ModelClass() = default;
    ModelClass(const ModelClass &) = delete; // objects point into each other
    ModelClass &operator=(const ModelClass &) = delete;

    std::vector<PromtactClass> promtacts; // promtact n is promtacts[n - 1]; at most 255
    VantorDirsClass dirs;
    std::vector<TriggerClass> triggers;
    std::vector<SigGroupTypeClass> sigGroupTypes;
    std::vector<SigGroupClass> sigGroups;
    SemaphoreObjectsClass sos;
    std::uint32_t stepCounter = 0;
    std::int32_t status = -1; // -1 while loading, 0 loaded, otherwise why loading stopped
};

} // namespace vantor::model
