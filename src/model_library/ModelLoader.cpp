#include "ModelLoader.h"

#include "ModelStatus.h"

#include <string_view>

namespace vantor::model {
namespace {

// Lists whose count is kept in one byte.
constexpr std::size_t kMaxShortList = 255;

// Numbers are stored into their fields truncated to the field's width (two's
// complement, as C++20 defines the narrowing conversion).
template <typename T>
T Narrow(std::int64_t value)
{
    return static_cast<T>(value);
}

// Reads the elements of a short array one by one; `Next()` gives the next element
// (kind None past the end), so fixed-position records like [kind, dir, time] read
// their fields in order.
class Fields {
public:
    explicit Fields(const JsonClass &array) : elements_(array) {}
    JsonClass Next()
    {
        JsonClass value = elements_.Current();
        elements_.Advance();
        return value;
    }
    std::int64_t NextInteger(std::int64_t def) { return Next().Integer(def); }
    bool NextFlag(bool def) { return Next().Flag(def); }

private:
    JsonElements elements_;
};

std::uint8_t ModeFromName(std::string_view name, int highest)
{
    static constexpr std::string_view kNames[] = {"phase", "cycle", "day", "week", "year"};
    for (int i = 0; i < highest; ++i)
        if (name == kNames[i])
            return static_cast<std::uint8_t>(i + 1);
    return kProgramNone;
}

class Loader {
public:
    explicit Loader(ModelClass &model) : model_(model) {}

    std::int32_t Run(const JsonClass &root)
    {
        model_.status = kStatusNoModel;
        std::int32_t status = Load(root);
        model_.status = status;
        return status;
    }

private:
    std::int32_t Load(const JsonClass &root)
    {
        if (root.IntegerAt("ver", 1000) > 1)
            return kStatusBadVersion;
        const JsonClass promtacts = root.Member("promtacts");
        if (!promtacts.IsArray())
            return kStatusNoPromtacts;
        if (!LoadPromtacts(promtacts))
            return kStatusListTooLong;
        const JsonClass triggers = root.Member("triggers");
        if (!triggers.IsArray())
            return kStatusNoTriggers;
        if (!LoadTriggers(triggers))
            return kStatusListTooLong;
        const JsonClass dirs = root.Member("dirs");
        if (!dirs.IsObject())
            return kStatusNoDirs;
        if (!LoadDirs(dirs))
            return kStatusListTooLong;
        for (auto &trigger : model_.triggers)
            trigger.dirs = &model_.dirs;
        const JsonClass types = root.Member("sig_group_types");
        if (!types.IsArray())
            return kStatusNoSigGroupTypes;
        if (!LoadSigGroupTypes(types))
            return kStatusListTooLong;
        const JsonClass groups = root.Member("sig_groups");
        if (!groups.IsArray())
            return kStatusNoSigGroups;
        if (!LoadSigGroups(groups))
            return kStatusListTooLong;
        const JsonClass sos = root.Member("sos");
        if (!sos.IsArray())
            return kStatusNoSos;
        if (!LoadSignalObjects(sos))
            return kStatusListTooLong;
        for (auto &trigger : model_.triggers)
            trigger.sos = &model_.sos;
        return kStatusOk;
    }

    // The element count of a list whose count is one byte; false when it is longer.
    static bool ShortCount(const JsonClass &array, std::size_t *count)
    {
        *count = array.CountUpTo(kMaxShortList);
        return *count <= kMaxShortList;
    }

    bool LoadPromtacts(const JsonClass &array)
    {
        std::size_t count = 0;
        if (!ShortCount(array, &count))
            return false;
        model_.promtacts.resize(count);
        JsonElements elements(array);
        for (auto &promtact : model_.promtacts) {
            const JsonClass tacts = elements.Current().Member("tacts");
            elements.Advance();
            if (!tacts.IsArray())
                continue;
            std::size_t tactCount = 0;
            if (!ShortCount(tacts, &tactCount))
                return false;
            promtact.tacts.resize(tactCount);
            JsonElements tactElements(tacts);
            for (auto &tact : promtact.tacts) {
                const JsonClass &element = tactElements.Current();
                tact.sec = Narrow<std::int16_t>(element.IntegerAt("sec", 0));
                tact.val = Narrow<std::uint8_t>(element.IntegerAt("val", 0));
                tactElements.Advance();
            }
        }
        return true;
    }

    bool LoadTriggers(const JsonClass &array)
    {
        model_.triggers.resize(array.Count());
        JsonElements elements(array);
        std::size_t index = 0;
        for (auto &trigger : model_.triggers) {
            const JsonClass element = elements.Current();
            elements.Advance();
            trigger.number = Narrow<std::uint8_t>(static_cast<std::int64_t>(++index));
            trigger.log = Narrow<std::uint8_t>(element.IntegerAt("log", 0));
            trigger.negate = element.FlagAt("not", false);
            const JsonClass args = element.Member("args");
            if (!args.IsArray())
                continue;
            std::size_t argCount = 0;
            if (!ShortCount(args, &argCount))
                return false;
            trigger.args.resize(argCount);
            JsonElements argElements(args);
            for (auto &arg : trigger.args) {
                Fields fields(argElements.Current());
                argElements.Advance();
                for (auto &value : arg.values)
                    value = Narrow<std::uint8_t>(fields.NextInteger(0));
                for (auto &flag : arg.flags)
                    flag = fields.NextFlag(false);
            }
            const JsonClass res = element.Member("res");
            if (!res.IsObject())
                continue;
            trigger.src = Narrow<std::uint8_t>(res.IntegerAt("src", 0));
            const JsonClass resArgs = res.Member("args");
            if (!resArgs.IsArray())
                continue;
            std::size_t resCount = 0;
            if (!ShortCount(resArgs, &resCount))
                return false;
            trigger.resArgs.resize(resCount);
            Fields values(resArgs);
            for (auto &value : trigger.resArgs)
                value = Narrow<std::int32_t>(values.NextInteger(0));
        }
        return true;
    }

    bool LoadDirs(const JsonClass &object)
    {
        VantorDirsClass &dirs = model_.dirs;
        dirs.TminG = Narrow<std::uint16_t>(object.IntegerAt("TminG", 10));
        dirs.TminR = Narrow<std::uint16_t>(object.IntegerAt("TminR", 5));
        dirs.Takk = Narrow<std::uint16_t>(object.IntegerAt("Takk", 4));
        const JsonClass at = object.Member("at");
        if (!at.IsArray())
            return true;
        std::size_t count = 0;
        if (!ShortCount(at, &count))
            return false;
        dirs.dirs.resize(count);
        JsonElements elements(at);
        for (auto &dir : dirs.dirs) {
            const JsonClass element = elements.Current();
            elements.Advance();
            if (!element.IsObject())
                continue; // keeps the built-in 10 / 5 / 4 and nothing else
            // The configurator writes a direction's own minimum times as "TMinG" and
            // "TMinR"; the model reads "TminG" and "TminR" only, so in practice every
            // direction takes the container's minimum times and only its own "Takk".
            dir.TminG = Narrow<std::uint16_t>(element.IntegerAt("TminG", dirs.TminG));
            dir.TminR = Narrow<std::uint16_t>(element.IntegerAt("TminR", dirs.TminR));
            dir.Takk = Narrow<std::uint16_t>(element.IntegerAt("Takk", dirs.Takk));
            dir.prior = Narrow<std::uint8_t>(element.IntegerAt("prior", 0));
            dir.prio = dir.prior;
            dir.R2G = Promtact(element.IntegerAt("R2G", 0));
            dir.G2R = Promtact(element.IntegerAt("G2R", 0));
            const JsonClass conflicts = element.Member("conflicts");
            if (!conflicts.IsArray())
                continue;
            std::size_t conflictCount = 0;
            if (!ShortCount(conflicts, &conflictCount))
                return false;
            dir.conflicts.resize(conflictCount);
            JsonElements conflictElements(conflicts);
            for (auto &conflict : dir.conflicts) {
                const JsonClass &entry = conflictElements.Current();
                if (!entry.IsArray())
                    break; // this and the later entries stay zero
                Fields fields(entry);
                conflict.kind = Narrow<std::uint8_t>(fields.NextInteger(0));
                conflict.dir = Narrow<std::uint8_t>(fields.NextInteger(0));
                conflict.time = Narrow<std::int16_t>(fields.NextInteger(0));
                conflictElements.Advance();
            }
        }
        return true;
    }

    const PromtactClass *Promtact(std::int64_t number) const
    {
        if (number < 1 || number > static_cast<std::int64_t>(model_.promtacts.size()))
            return nullptr;
        return &model_.promtacts[static_cast<std::size_t>(number - 1)];
    }

    bool LoadSigGroupTypes(const JsonClass &array)
    {
        model_.sigGroupTypes.resize(array.Count());
        JsonElements elements(array);
        for (auto &type : model_.sigGroupTypes) {
            const JsonClass element = elements.Current();
            elements.Advance();
            if (!element.IsObject())
                continue;
            const JsonClass out = element.Member("out");
            if (!out.IsArray())
                continue; // no outputs, no states
            type.inLength = Narrow<std::uint8_t>(element.IntegerAt("in_length", 0));
            type.type = Narrow<std::uint8_t>(element.IntegerAt("type", 0));
            std::size_t outputs = 0;
            if (!ShortCount(out, &outputs))
                return false;
            type.defaults.resize(outputs);
            Fields defaults(out);
            for (auto &value : type.defaults)
                value = Narrow<std::uint8_t>(defaults.NextInteger(0));
            const JsonClass states = element.Member("states");
            if (!states.IsArray())
                continue;
            std::size_t stateCount = 0;
            if (!ShortCount(states, &stateCount))
                return false;
            type.stateCount = Narrow<std::uint8_t>(static_cast<std::int64_t>(stateCount));
            type.states.resize(stateCount * type.RowSize());
            JsonElements stateElements(states);
            for (std::size_t row = 0; row < stateCount; ++row) {
                const JsonClass state = stateElements.Current();
                stateElements.Advance();
                std::uint8_t *bytes = type.states.data() + row * type.RowSize();
                Fields inputs(state.Member("in"));
                for (unsigned j = 0; j < type.inLength; ++j) {
                    const JsonClass input = inputs.Next();
                    std::int64_t lo = 0;
                    std::int64_t hi = 0;
                    if (input.IsArray()) {
                        Fields range(input);
                        lo = range.NextInteger(0);
                        hi = range.NextInteger(0);
                    } else if (input.IsScalar()) {
                        lo = hi = input.Integer(0);
                    }
                    *bytes++ = Narrow<std::uint8_t>(lo);
                    *bytes++ = Narrow<std::uint8_t>(hi);
                }
                Fields outputsOfRow(state.Member("out"));
                for (std::size_t k = 0; k < outputs; ++k)
                    *bytes++ = Narrow<std::uint8_t>(outputsOfRow.NextInteger(0));
            }
        }
        return true;
    }

    bool LoadSigGroups(const JsonClass &array)
    {
        model_.sigGroups.resize(array.Count());
        JsonElements elements(array);
        for (auto &group : model_.sigGroups) {
            const JsonClass element = elements.Current();
            elements.Advance();
            const std::int64_t ti = element.IntegerAt("ti", 0);
            if (ti < 1 || ti > static_cast<std::int64_t>(model_.sigGroupTypes.size()))
                continue; // no type, sources or outputs
            group.type = &model_.sigGroupTypes[static_cast<std::size_t>(ti - 1)];
            group.outputs.assign(group.type->OutputCount(), 3);
            const JsonClass sources = element.Member("dirs");
            if (sources.kind() != JsonClass::None) {
                if (!sources.IsArray())
                    continue;
                std::size_t count = 0;
                if (!ShortCount(sources, &count))
                    return false;
                group.sources.resize(count);
                Fields values(sources);
                for (auto &source : group.sources)
                    source = Narrow<std::int8_t>(values.NextInteger(0));
            }
            const JsonClass trig = element.Member("trig");
            if (trig.IsArray())
                group.trigCount = Narrow<std::uint32_t>(static_cast<std::int64_t>(trig.Count()));
        }
        return true;
    }

    bool LoadSignalObjects(const JsonClass &array)
    {
        std::size_t count = 0;
        if (!ShortCount(array, &count))
            return false;
        model_.sos.objects.resize(count);
        JsonElements elements(array);
        for (auto &object : model_.sos.objects) {
            const JsonClass element = elements.Current();
            elements.Advance();
            object.triggers = &model_.triggers;
            if (!element.IsObject() || !element.FlagAt("en", true))
                continue; // stays empty: idles in yellow flashing
            const JsonClass dirs = element.Member("dirs");
            // Without a direction list the object stays entirely empty, its entry
            // point included, so it idles like a disabled one.
            if (!dirs.IsArray())
                continue;
            Fields enter(element.Member("enter"));
            object.enterMode = ModeFromName(enter.Next().String(), 5);
            object.enterNumber = Narrow<std::uint8_t>(enter.NextInteger(0));
            if (!LoadObjectDirs(object, dirs) || !LoadPhases(object, element.Member("phases")) ||
                !LoadCycles(object, element.Member("cycles")) ||
                !LoadDayPlans(object, element.Member("day_plans")) ||
                !LoadWeekPlans(object, element.Member("week_plans")) ||
                !LoadYearPlans(object, element.Member("year_plans")))
                return false;
            object.loaded = true;
        }
        return true;
    }

    static bool LoadObjectDirs(SemaphoreObject &object, const JsonClass &dirs)
    {
        std::size_t count = 0;
        if (!ShortCount(dirs, &count))
            return false;
        object.dirs.resize(count);
        Fields numbers(dirs);
        for (auto &number : object.dirs)
            number = Narrow<std::uint8_t>(numbers.NextInteger(0));
        return true;
    }

    static bool LoadPhases(SemaphoreObject &object, const JsonClass &array)
    {
        std::size_t count = 0;
        if (!ShortCount(array, &count))
            return false;
        object.phases.resize(count);
        JsonElements elements(array);
        for (auto &phase : object.phases) {
            const JsonClass element = elements.Current();
            elements.Advance();
            phase.number = Narrow<std::uint8_t>(element.IntegerAt("i", 0));
            phase.Tmin = Narrow<std::uint16_t>(element.IntegerAt("Tmin", 10));
            phase.Takk = Narrow<std::uint16_t>(element.IntegerAt("Takk", 4));
            // One entry per direction of the object; a missing element of "m" gives
            // red with zeros, elements beyond the directions are not read.
            phase.entries.resize(object.dirs.size());
            JsonElements entryElements(element.Member("m"));
            for (auto &entry : phase.entries) {
                Fields fields(entryElements.Current());
                entryElements.Advance();
                entry.cmd = Narrow<std::uint8_t>(fields.NextInteger(1));
                entry.time = Narrow<std::uint16_t>(fields.NextInteger(0));
                entry.ext = Narrow<std::uint16_t>(fields.NextInteger(0));
                entry.mode = Narrow<std::uint8_t>(fields.NextInteger(0));
                entry.trig = Narrow<std::uint8_t>(fields.NextInteger(0));
                entry.prio = Narrow<std::uint8_t>(fields.NextInteger(0));
            }
        }
        return true;
    }

    static bool LoadCycles(SemaphoreObject &object, const JsonClass &array)
    {
        std::size_t count = 0;
        if (!ShortCount(array, &count))
            return false;
        object.cycles.resize(count);
        JsonElements elements(array);
        for (auto &cycle : object.cycles) {
            const JsonClass element = elements.Current();
            elements.Advance();
            cycle.number = Narrow<std::uint8_t>(element.IntegerAt("i", 0));
            cycle.T = Narrow<std::int32_t>(element.IntegerAt("T", 0));
            const JsonClass steps = element.Member("m");
            std::size_t stepCount = 0;
            if (!ShortCount(steps, &stepCount))
                return false;
            cycle.steps.resize(stepCount);
            JsonElements stepElements(steps);
            for (auto &step : cycle.steps) {
                Fields fields(stepElements.Current());
                stepElements.Advance();
                step.phase = Narrow<std::uint8_t>(fields.NextInteger(0));
                step.start = Narrow<std::int32_t>(fields.NextInteger(0));
                step.min = Narrow<std::uint16_t>(fields.NextInteger(0));
                step.ext = Narrow<std::uint16_t>(fields.NextInteger(0));
                step.kind = Narrow<std::uint8_t>(fields.NextInteger(0));
                step.trig = Narrow<std::uint8_t>(fields.NextInteger(0));
                if (cycle.T != 0) {
                    // Start seconds of a fixed-time cycle are kept reduced modulo T:
                    // the remainder of the truncating division, plus T when negative.
                    std::int64_t start = std::int64_t{step.start} % std::int64_t{cycle.T};
                    if (start < 0)
                        start += cycle.T;
                    step.start = Narrow<std::int32_t>(start);
                }
            }
        }
        return true;
    }

    static bool LoadDayPlans(SemaphoreObject &object, const JsonClass &array)
    {
        std::size_t count = 0;
        if (!ShortCount(array, &count))
            return false;
        object.dayPlans.resize(count);
        JsonElements elements(array);
        for (auto &plan : object.dayPlans) {
            const JsonClass element = elements.Current();
            elements.Advance();
            plan.number = Narrow<std::uint8_t>(element.IntegerAt("i", 0));
            const JsonClass entries = element.Member("m");
            std::size_t entryCount = 0;
            if (!ShortCount(entries, &entryCount))
                return false;
            plan.entries.resize(entryCount);
            JsonElements entryElements(entries);
            for (auto &entry : plan.entries) {
                Fields fields(entryElements.Current());
                entryElements.Advance();
                entry.hour = Narrow<std::int8_t>(fields.NextInteger(0));
                entry.minute = Narrow<std::int8_t>(fields.NextInteger(0));
                entry.mode = ModeFromName(fields.Next().String(), 2);
                entry.number = Narrow<std::uint8_t>(fields.NextInteger(0));
            }
        }
        return true;
    }

    static bool LoadWeekPlans(SemaphoreObject &object, const JsonClass &array)
    {
        std::size_t count = 0;
        if (!ShortCount(array, &count))
            return false;
        object.weekPlans.resize(count);
        JsonElements elements(array);
        for (auto &plan : object.weekPlans) {
            const JsonClass element = elements.Current();
            elements.Advance();
            plan.number = Narrow<std::uint8_t>(element.IntegerAt("i", 0));
            const JsonClass entries = element.Member("m");
            std::size_t entryCount = 0;
            if (!ShortCount(entries, &entryCount))
                return false;
            plan.entries.resize(entryCount);
            JsonElements entryElements(entries);
            for (auto &entry : plan.entries) {
                Fields fields(entryElements.Current());
                entryElements.Advance();
                entry.weekday = Narrow<std::uint8_t>(fields.NextInteger(0));
                entry.mode = ModeFromName(fields.Next().String(), 3);
                entry.number = Narrow<std::uint8_t>(fields.NextInteger(0));
            }
        }
        return true;
    }

    static bool LoadYearPlans(SemaphoreObject &object, const JsonClass &array)
    {
        std::size_t count = 0;
        if (!ShortCount(array, &count))
            return false;
        object.yearPlans.resize(count);
        JsonElements elements(array);
        for (auto &plan : object.yearPlans) {
            const JsonClass element = elements.Current();
            elements.Advance();
            plan.number = Narrow<std::uint8_t>(element.IntegerAt("i", 0));
            const JsonClass entries = element.Member("m");
            std::size_t entryCount = 0;
            if (!ShortCount(entries, &entryCount))
                return false;
            plan.entries.resize(entryCount);
            JsonElements entryElements(entries);
            for (auto &entry : plan.entries) {
                Fields fields(entryElements.Current());
                entryElements.Advance();
                // Unsigned arithmetic: any month and day give a defined 16-bit key.
                const auto month = static_cast<std::uint64_t>(fields.NextInteger(0));
                const auto day = static_cast<std::uint64_t>(fields.NextInteger(0));
                entry.key =
                    static_cast<std::int16_t>(static_cast<std::uint16_t>((month - 1) * 32 + (day - 1)));
                entry.mode = ModeFromName(fields.Next().String(), 4);
                entry.number = Narrow<std::uint8_t>(fields.NextInteger(0));
            }
        }
        return true;
    }

    ModelClass &model_;
};

} // namespace

std::int32_t LoadModel(ModelClass &model, const JsonClass &root)
{
    return Loader(model).Run(root);
}

} // namespace vantor::model
