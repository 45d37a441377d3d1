#include "ExerciseModel.h"

#include <iterator>
#include <string_view>
#include <vector>

#include "model_library/JsonClass.h"
#include "model_library/ModelApi.h"
#include "model_library/ModelStatus.h"

namespace vantor::model::fuzz {

std::string CheckModelInvariants(const ModelClass &model, std::int32_t status)
{
    if (model.status != status)
        return "status of the model differs from the returned one";
    if (status > 0 || status < kStatusOutOfMemory || status == kStatusNoModel)
        return "unexpected status " + std::to_string(status);
    if (model.promtacts.size() > 255 || model.dirs.Count() > 255 || model.sos.Count() > 255)
        return "a short list holds more than 255 elements";
    for (const auto &promtact : model.promtacts)
        if (promtact.tacts.size() > 255)
            return "too many tacts";
    const auto isPromtact = [&](const PromtactClass *p) {
        return p == nullptr ||
               (p >= model.promtacts.data() && p < model.promtacts.data() + model.promtacts.size());
    };
    for (const auto &dir : model.dirs.dirs) {
        if (!isPromtact(dir.R2G) || !isPromtact(dir.G2R))
            return "a direction refers to a transition program outside the list";
        if (dir.conflicts.size() > 255)
            return "too many conflicts";
        if (dir.prio != dir.prior)
            return "prio differs from prior after loading";
    }
    for (const auto &type : model.sigGroupTypes)
        if (type.states.size() != type.stateCount * type.RowSize() || type.defaults.size() > 255)
            return "state rows of a signal-group type do not match their count";
    for (const auto &group : model.sigGroups) {
        if (group.type == nullptr) {
            if (!group.outputs.empty() || !group.sources.empty())
                return "a group without type has outputs or sources";
            continue;
        }
        if (group.type < model.sigGroupTypes.data() ||
            group.type >= model.sigGroupTypes.data() + model.sigGroupTypes.size())
            return "a group refers to a type outside the list";
        if (group.outputs.size() != group.type->OutputCount())
            return "a group's outputs differ from its type's";
    }
    for (const auto &object : model.sos.objects) {
        for (const auto &phase : object.phases)
            if (phase.entries.size() != object.dirs.size())
                return "a phase has not one entry per direction of its object";
        if (!object.loaded && status == kStatusOk && (!object.dirs.empty() || object.enterMode != 0))
            return "an object that was not loaded has content";
    }
    return {};
}

namespace {

// The loader looks members up several at a time; each must equal a single look-up.
std::string CheckMemberLookups(const char *text, std::size_t size)
{
    static constexpr std::string_view kKeys[] = {
        "ver", "promtacts", "triggers", "dirs", "sig_group_types", "sig_groups", "sos", "at", "n", "m"};
    const JsonClass root = JsonClass::Make(text, text + size);
    JsonClass found[std::size(kKeys)];
    root.FindMembers(kKeys, found);
    for (std::size_t i = 0; i < std::size(kKeys); ++i) {
        const JsonClass single = root.Member(kKeys[i]);
        if (single.kind() != found[i].kind() || single.begin() != found[i].begin() ||
            single.end() != found[i].end())
            return "FindMembers differs from Member for \"" + std::string(kKeys[i]) + "\"";
    }
    return {};
}

// Steps a loaded model: a preview of every object under every kind of request, and
// the whole controller at times that cross midnight, with changing trigger inputs.
void StepModel(const ModelClass &model)
{
    std::vector<std::uint8_t> trig(model.triggers.size()), dirs(model.dirs.Count());
    std::vector<std::uint8_t> perObject(model.sos.Count()), states(256);
    std::vector<std::vector<std::uint8_t>> groups;
    std::vector<std::uint8_t *> groupBuffers;
    for (const SigGroupClass &group : model.sigGroups) {
        groups.emplace_back(group.outputs.size() + 1);
        groupBuffers.push_back(groups.back().data());
    }
    static constexpr std::int32_t kRequests[] = {0, 1, 2, -1, -2, -3};
    for (std::uint32_t second = 0; second < 40; ++second) {
        for (std::size_t i = 0; i < trig.size(); ++i)
            trig[i] = static_cast<std::uint8_t>((second + i) % 3 == 0);
        std::uint8_t phase = 0;
        for (std::size_t object = 0; object < model.sos.Count(); ++object)
            Next(static_cast<std::int32_t>(object), kRequests[second / 7 % 6], trig.data(), &phase,
                 states.data());
        NextAll(86400 - 20 + second * 61, trig.data(), perObject.data(), perObject.data(), perObject.data(),
                perObject.data(), perObject.data(), dirs.data(), groupBuffers.data());
    }
}

} // namespace

std::string ExerciseModel(const char *text, std::size_t size)
{
    std::string problem = CheckMemberLookups(text, size);
    if (!problem.empty())
        return problem;
    for (const std::size_t length : {size, size > 0 ? size - 1 : 0}) {
        const std::int32_t status = Open(text, text + length);
        const ModelClass *model = CurrentModel();
        if (model == nullptr)
            problem = "open left no model";
        else
            problem = CheckModelInvariants(*model, status);
        if (problem.empty() && status == kStatusOk)
            StepModel(*model);
        Close();
        if (!problem.empty())
            break;
    }
    return problem;
}

} // namespace vantor::model::fuzz
