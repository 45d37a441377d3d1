#include "ModelClass.h"

#include "ModelStatus.h"

#include <algorithm>

namespace vantor::model {
namespace {
constexpr std::int8_t kRequestOff = -1;
} // namespace

void ModelClass::TakeTriggerInputs(const std::uint8_t *inputs)
{
    for (std::size_t i = 0; i < triggers.size(); ++i)
        triggers[i].value = inputs != nullptr && inputs[i] != 0 ? 1 : 0;
}

void ModelClass::StepDirections()
{
    dirs.StepAll(triggers);
    dirs.ResolveAll();
    dirs.UpdateAll();
}

void ModelClass::ResetTriggers()
{
    for (TriggerClass &trigger : triggers)
        trigger.Reset();
}

std::int32_t ModelClass::Next(std::int32_t soIndex, std::int32_t request, const std::uint8_t *trigIn,
                              std::uint8_t *outPhase, std::uint8_t *outStates)
{
    if (soIndex < 0 || static_cast<std::size_t>(soIndex) >= sos.Count())
        return kStatusBadSignalObject;
    if (outPhase != nullptr)
        *outPhase = 0;
    // The time the objects see counts seconds since open: day plans start at midnight.
    const std::uint32_t time = stepCounter++;
    TakeTriggerInputs(trigIn);
    const auto previewRequest = static_cast<std::int8_t>(static_cast<std::uint8_t>(request));
    for (std::size_t i = 0; i < sos.Count(); ++i) {
        SemaphoreObject &object = sos.objects[i];
        const bool previewed = i == static_cast<std::size_t>(soIndex);
        object.Step(dirs, time, previewed ? previewRequest : kRequestOff);
        if (previewed && outPhase != nullptr)
            *outPhase = object.reportedPhase;
    }
    StepDirections();
    if (outStates != nullptr) {
        const SemaphoreObject &previewed = sos.objects[static_cast<std::size_t>(soIndex)];
        for (std::size_t k = 0; k < previewed.dirs.size(); ++k)
            if (const DirClass *dir = dirs.Find(previewed.dirs[k]))
                outStates[k] = dir->state;
    }
    ResetTriggers();
    return kStatusOk;
}

std::int32_t ModelClass::NextAll(std::uint32_t time, std::uint8_t *trig, std::uint8_t *soPhase,
                                 std::uint8_t *soCycle, std::uint8_t *soDay, std::uint8_t *soWeek,
                                 std::uint8_t *soYear, std::uint8_t *dirStates, std::uint8_t *const *sgOut)
{
    TakeTriggerInputs(trig);
    for (SemaphoreObject &object : sos.objects)
        object.Step(dirs, time, 0);
    StepDirections();
    for (SigGroupClass &group : sigGroups)
        group.Compute(dirs, triggers);
    if (dirStates != nullptr)
        for (std::size_t i = 0; i < dirs.Count(); ++i)
            dirStates[i] = dirs.dirs[i].state;
    if (sgOut != nullptr) {
        for (std::size_t i = 0; i < sigGroups.size(); ++i) {
            const SigGroupClass &group = sigGroups[i];
            if (group.type != nullptr && sgOut[i] != nullptr)
                std::copy(group.outputs.begin(), group.outputs.end(), sgOut[i]);
        }
    }
    const auto put = [](std::uint8_t *buffer, std::size_t i, std::uint8_t value) {
        if (buffer != nullptr)
            buffer[i] = value;
    };
    for (std::size_t i = 0; i < sos.Count(); ++i) {
        const SemaphoreObject &object = sos.objects[i];
        put(soPhase, i, object.reportedPhase);
        put(soCycle, i, object.cycleNumber);
        put(soDay, i, object.dayNumber);
        put(soWeek, i, object.weekNumber);
        put(soYear, i, object.yearNumber);
    }
    ResetTriggers();
    if (trig != nullptr)
        for (std::size_t i = 0; i < triggers.size(); ++i)
            trig[i] = triggers[i].value;
    return kStatusOk;
}

} // namespace vantor::model
