#include "models/ModelBridge.h"

#include "controller/SigGroupTemplates.h"
#include "controller/TrendTypes.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <string>

namespace vantor {
namespace {

const json::Json *Member(const json::Json &object, const char *name)
{
    if (!object.is_object())
        return nullptr;
    const auto it = object.find(name);
    return it == object.end() ? nullptr : &*it;
}

int ArraySize(const json::Json *value)
{
    return value != nullptr && value->is_array() ? static_cast<int>(value->size()) : 0;
}

// The "vantor5" object of a window's document, or nullptr.
const json::Json *VantorObject(const std::optional<json::Json> &root)
{
    if (!root)
        return nullptr;
    const json::Json *vantor5 = Member(*root, "vantor5");
    return vantor5 != nullptr && vantor5->is_object() ? vantor5 : nullptr;
}

// The bytes a group's output buffer needs: its first head has the lamps of its kind,
// and the library writes one byte per output of the group's type.
int GroupOutputBytes(const json::Json &group, const json::Json *types)
{
    if (ArraySize(Member(group, "semaphores")) == 0)
        return 0;
    const json::Json *ti = Member(group, "ti");
    if (ti == nullptr || !ti->is_number_integer() || types == nullptr || !types->is_array())
        return kLampPositionCount;
    const long long position = ti->get<long long>();
    if (position < 1 || position > static_cast<long long>(types->size()))
        return kLampPositionCount;
    const json::Json &type = (*types)[static_cast<std::size_t>(position - 1)];
    const json::Json *code = Member(type, "type");
    const GroupKind kind =
        KindForTemplateType(code != nullptr && code->is_number_integer() ? code->get<long long>() : 0);
    const int lamps = std::popcount(static_cast<unsigned>(LampSetOf(KindInfo(kind).trendTypes)));
    return std::max(lamps, ArraySize(Member(type, "out")));
}

// Opens the model on construction and closes it on destruction, whatever happens in
// between: `close` follows every `open`.
class OpenModel {
public:
    OpenModel(const ModelLibrary &library, const json::Json &vantor5) : library_(library)
    {
        const std::string text = json::RenderCompact(vantor5);
        status_ = library_.Open(text);
    }
    ~OpenModel() { library_.Close(); }
    OpenModel(const OpenModel &) = delete;
    OpenModel &operator=(const OpenModel &) = delete;

    std::int32_t Status() const { return status_; }

private:
    const ModelLibrary &library_;
    std::int32_t status_;
};

} // namespace

std::uint32_t ControllerTime(const QDateTime &local)
{
    // Wall-clock difference, as the controller counts: the second of the day is
    // time mod 86400 in local time, whatever daylight saving did in between.
    const QDateTime epoch(QDate(2003, 1, 1), QTime(0, 0), Qt::UTC);
    const QDateTime wall(local.date(), local.time(), Qt::UTC);
    const double seconds = static_cast<double>(epoch.msecsTo(wall)) / 1000.0;
    if (!(seconds > 0))
        return 0;
    return static_cast<std::uint32_t>(std::min(std::round(seconds), 4294967295.0));
}

ModelShape ModelShape::Of(const json::Json &vantor5)
{
    ModelShape shape;
    shape.triggers = ArraySize(Member(vantor5, "triggers"));
    const json::Json *dirs = Member(vantor5, "dirs");
    shape.directions = dirs != nullptr ? ArraySize(Member(*dirs, "at")) : 0;
    if (const json::Json *sos = Member(vantor5, "sos"); sos != nullptr && sos->is_array()) {
        shape.objects = static_cast<int>(sos->size());
        for (const json::Json &object : *sos)
            shape.objectDirections.push_back(ArraySize(Member(object, "dirs")));
    }
    const json::Json *types = Member(vantor5, "sig_group_types");
    if (const json::Json *groups = Member(vantor5, "sig_groups"); groups != nullptr && groups->is_array())
        for (const json::Json &group : *groups)
            shape.groupOutputs.push_back(GroupOutputBytes(group, types));
    return shape;
}

std::optional<AutomaticStep> ModelBridge::RunAutomaticStep(const std::optional<json::Json> &root,
                                                           std::uint32_t time) const
{
    const json::Json *vantor5 = VantorObject(root);
    if (vantor5 == nullptr)
        return std::nullopt;
    const ModelShape shape = ModelShape::Of(*vantor5);
    AutomaticStep step;
    const OpenModel model(library_, *vantor5);
    if (model.Status() != VANTOR_MODEL_OK) {
        step.status = model.Status();
        return step;
    }
    const auto objects = static_cast<std::size_t>(shape.objects);
    step.triggers.assign(static_cast<std::size_t>(shape.triggers), 0);
    for (auto *buffer : {&step.phase, &step.cycle, &step.dayPlan, &step.weekPlan, &step.yearPlan})
        buffer->assign(objects, 0);
    step.directionStates.assign(static_cast<std::size_t>(shape.directions), 0);
    std::vector<std::uint8_t *> groupPointers;
    for (const int bytes : shape.groupOutputs)
        step.groupOutputs.emplace_back(static_cast<std::size_t>(bytes), 0);
    for (auto &buffer : step.groupOutputs)
        groupPointers.push_back(buffer.empty() ? nullptr : buffer.data());
    // The library never dereferences a null buffer, and an empty list gets null.
    auto data = [](std::vector<std::uint8_t> &buffer) { return buffer.empty() ? nullptr : buffer.data(); };
    step.status =
        library_.NextAll(time, data(step.triggers), data(step.phase), data(step.cycle), data(step.dayPlan),
                         data(step.weekPlan), data(step.yearPlan), data(step.directionStates),
                         groupPointers.empty() ? nullptr : groupPointers.data());
    return step;
}

PreviewResult ModelBridge::PreviewObject(const std::optional<json::Json> &root, int soIndex, int request,
                                         int seconds, const TriggerInputs &triggerInputs) const
{
    PreviewResult result;
    const json::Json *vantor5 = VantorObject(root);
    if (vantor5 == nullptr)
        return result;
    const ModelShape shape = ModelShape::Of(*vantor5);
    const OpenModel model(library_, *vantor5);
    result.openStatus = model.Status();
    if (model.Status() != VANTOR_MODEL_OK)
        return result;
    const std::size_t directions = soIndex >= 0 && soIndex < shape.objects
                                       ? static_cast<std::size_t>(shape.objectDirections[soIndex])
                                       : 0;
    std::vector<std::uint8_t> triggers(static_cast<std::size_t>(shape.triggers), 0);
    std::vector<std::uint8_t> states(directions, 0);
    for (int second = 0; second < seconds; ++second) {
        std::fill(triggers.begin(), triggers.end(), 0);
        if (triggerInputs)
            triggerInputs(second, triggers);
        std::fill(states.begin(), states.end(), 0);
        std::uint8_t phase = 0;
        if (library_.Next(soIndex, request, triggers.empty() ? nullptr : triggers.data(), &phase,
                          states.empty() ? nullptr : states.data()) == VANTOR_MODEL_OK)
            result.steps.push_back(PreviewStep{second, phase, states});
    }
    return result;
}

} // namespace vantor
