#include "ModelLoader.h"

#include "ModelStatus.h"

#include <array>
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
    std::int64_t NextInteger(std::int64_t def)
    {
        const std::int64_t value = elements_.Current().Integer(def);
        elements_.Advance();
        return value;
    }
    bool NextFlag(bool def)
    {
        const bool value = elements_.Current().Flag(def);
        elements_.Advance();
        return value;
    }

private:
    JsonElements elements_;
};

// The elements of a list whose count is one byte, gathered in one walk (on the stack:
// the reader allocates nothing). The count is that of JsonClass::Count.
class ShortList {
public:
    // False when the list has more than 255 elements. Anything but an array has none.
    bool Gather(const JsonClass &array)
    {
        size_ = 0;
        for (JsonElements elements(array); elements.Current().kind() != JsonClass::None; elements.Advance()) {
            if (size_ == kMaxShortList)
                return false;
            items_[size_++] = elements.Current();
        }
        return true;
    }
    std::size_t size() const { return size_; }
    const JsonClass &operator[](std::size_t i) const { return items_[i]; }

private:
    std::array<JsonClass, kMaxShortList> items_;
    std::size_t size_ = 0;
};

// Members of one object, looked up in one walk. Keys is a list of string_views.
template <std::size_t N>
struct Members {
    Members(const JsonClass &object, const std::string_view (&keys)[N]) { object.FindMembers(keys, values); }
    const JsonClass &operator[](std::size_t i) const { return values[i]; }
    JsonClass values[N];
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
        const std::int32_t status = Load(root);
        model_.status = status;
        return status;
    }

private:
    std::int32_t Load(const JsonClass &root)
    {
        enum { kVer, kPromtacts, kTriggers, kDirs, kTypes, kGroups, kSos };
        static constexpr std::string_view kKeys[] = {
            "ver", "promtacts", "triggers", "dirs", "sig_group_types", "sig_groups", "sos"};
        const Members members(root, kKeys);
        if (members[kVer].Integer(1000) > 1)
            return kStatusBadVersion;
        if (!members[kPromtacts].IsArray())
            return kStatusNoPromtacts;
        if (!LoadPromtacts(members[kPromtacts]))
            return kStatusListTooLong;
        if (!members[kTriggers].IsArray())
            return kStatusNoTriggers;
        if (!LoadTriggers(members[kTriggers]))
            return kStatusListTooLong;
        if (!members[kDirs].IsObject())
            return kStatusNoDirs;
        if (!LoadDirs(members[kDirs]))
            return kStatusListTooLong;
        for (auto &trigger : model_.triggers)
            trigger.dirs = &model_.dirs;
        if (!members[kTypes].IsArray())
            return kStatusNoSigGroupTypes;
        if (!LoadSigGroupTypes(members[kTypes]))
            return kStatusListTooLong;
        if (!members[kGroups].IsArray())
            return kStatusNoSigGroups;
        if (!LoadSigGroups(members[kGroups]))
            return kStatusListTooLong;
        if (!members[kSos].IsArray())
            return kStatusNoSos;
        if (!LoadSignalObjects(members[kSos]))
            return kStatusListTooLong;
        for (auto &trigger : model_.triggers)
            trigger.sos = &model_.sos;
        return kStatusOk;
    }

    bool LoadPromtacts(const JsonClass &array)
    {
        ShortList list;
        if (!list.Gather(array))
            return false;
        model_.promtacts.resize(list.size());
        for (std::size_t i = 0; i < list.size(); ++i) {
            ShortList tacts;
            if (!tacts.Gather(list[i].Member("tacts")))
                return false;
            auto &promtact = model_.promtacts[i];
            promtact.tacts.resize(tacts.size());
            for (std::size_t k = 0; k < tacts.size(); ++k) {
                static constexpr std::string_view kKeys[] = {"sec", "val"};
                const Members tact(tacts[k], kKeys);
                promtact.tacts[k].sec = Narrow<std::int16_t>(tact[0].Integer(0));
                promtact.tacts[k].val = Narrow<std::uint8_t>(tact[1].Integer(0));
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
            static constexpr std::string_view kKeys[] = {"log", "not", "args", "res"};
            const Members members(elements.Current(), kKeys);
            elements.Advance();
            trigger.number = Narrow<std::uint8_t>(static_cast<std::int64_t>(++index));
            trigger.log = Narrow<std::uint8_t>(members[0].Integer(0));
            trigger.negate = members[1].Flag(false);
            if (!members[2].IsArray())
                continue;
            ShortList args;
            if (!args.Gather(members[2]))
                return false;
            trigger.args.resize(args.size());
            for (std::size_t k = 0; k < args.size(); ++k) {
                Fields fields(args[k]);
                for (auto &value : trigger.args[k].values)
                    value = Narrow<std::uint8_t>(fields.NextInteger(0));
                for (auto &flag : trigger.args[k].flags)
                    flag = fields.NextFlag(false);
            }
            const JsonClass &res = members[3];
            if (!res.IsObject())
                continue;
            static constexpr std::string_view kResKeys[] = {"src", "args"};
            const Members reset(res, kResKeys);
            trigger.src = Narrow<std::uint8_t>(reset[0].Integer(0));
            if (!reset[1].IsArray())
                continue;
            ShortList values;
            if (!values.Gather(reset[1]))
                return false;
            trigger.resArgs.resize(values.size());
            for (std::size_t k = 0; k < values.size(); ++k)
                trigger.resArgs[k] = Narrow<std::int32_t>(values[k].Integer(0));
        }
        return true;
    }

    bool LoadDirs(const JsonClass &object)
    {
        VantorDirsClass &dirs = model_.dirs;
        static constexpr std::string_view kKeys[] = {"TminG", "TminR", "Takk", "at"};
        const Members members(object, kKeys);
        dirs.TminG = Narrow<std::uint16_t>(members[0].Integer(10));
        dirs.TminR = Narrow<std::uint16_t>(members[1].Integer(5));
        dirs.Takk = Narrow<std::uint16_t>(members[2].Integer(4));
        if (!members[3].IsArray())
            return true; // no directions
        ShortList at;
        if (!at.Gather(members[3]))
            return false;
        dirs.dirs.resize(at.size());
        for (std::size_t i = 0; i < at.size(); ++i) {
            if (!at[i].IsObject())
                continue; // keeps the built-in 10 / 5 / 4 and nothing else
            DirClass &dir = dirs.dirs[i];
            // The configurator writes a direction's own minimum times as "TMinG" and
            // "TMinR"; the model reads "TminG" and "TminR" only, so in practice every
            // direction takes the container's minimum times and only its own "Takk".
            static constexpr std::string_view kDirKeys[] = {"TminG", "TminR", "Takk",     "prior",
                                                            "R2G",   "G2R",   "conflicts"};
            const Members fields(at[i], kDirKeys);
            dir.TminG = Narrow<std::uint16_t>(fields[0].Integer(dirs.TminG));
            dir.TminR = Narrow<std::uint16_t>(fields[1].Integer(dirs.TminR));
            dir.Takk = Narrow<std::uint16_t>(fields[2].Integer(dirs.Takk));
            dir.prior = Narrow<std::uint8_t>(fields[3].Integer(0));
            dir.prio = dir.prior;
            dir.R2G = Promtact(fields[4].Integer(0));
            dir.G2R = Promtact(fields[5].Integer(0));
            if (!fields[6].IsArray())
                continue;
            ShortList conflicts;
            if (!conflicts.Gather(fields[6]))
                return false;
            dir.conflicts.resize(conflicts.size());
            for (std::size_t k = 0; k < conflicts.size(); ++k) {
                if (!conflicts[k].IsArray())
                    break; // this and the later entries stay zero
                Fields entry(conflicts[k]);
                dir.conflicts[k].kind = Narrow<std::uint8_t>(entry.NextInteger(0));
                dir.conflicts[k].dir = Narrow<std::uint8_t>(entry.NextInteger(0));
                dir.conflicts[k].time = Narrow<std::int16_t>(entry.NextInteger(0));
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
            static constexpr std::string_view kKeys[] = {"out", "in_length", "type", "states"};
            const Members members(element, kKeys);
            if (!members[0].IsArray())
                continue; // no outputs, no states
            type.inLength = Narrow<std::uint8_t>(members[1].Integer(0));
            type.type = Narrow<std::uint8_t>(members[2].Integer(0));
            ShortList out;
            if (!out.Gather(members[0]))
                return false;
            type.defaults.resize(out.size());
            for (std::size_t k = 0; k < out.size(); ++k)
                type.defaults[k] = Narrow<std::uint8_t>(out[k].Integer(0));
            if (!members[3].IsArray())
                continue;
            ShortList states;
            if (!states.Gather(members[3]))
                return false;
            type.stateCount = Narrow<std::uint8_t>(static_cast<std::int64_t>(states.size()));
            type.states.resize(states.size() * type.RowSize());
            for (std::size_t row = 0; row < states.size(); ++row) {
                std::uint8_t *bytes = type.states.data() + row * type.RowSize();
                static constexpr std::string_view kStateKeys[] = {"in", "out"};
                const Members state(states[row], kStateKeys);
                Fields inputs(state[0]);
                for (unsigned j = 0; j < type.inLength; ++j) {
                    // [lo, hi], a number for both, or nothing (0, 0).
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
                Fields outputs(state[1]);
                for (std::size_t k = 0; k < out.size(); ++k)
                    *bytes++ = Narrow<std::uint8_t>(outputs.NextInteger(0));
            }
        }
        return true;
    }

    bool LoadSigGroups(const JsonClass &array)
    {
        model_.sigGroups.resize(array.Count());
        JsonElements elements(array);
        for (auto &group : model_.sigGroups) {
            static constexpr std::string_view kKeys[] = {"ti", "dirs", "trig"};
            const Members members(elements.Current(), kKeys);
            elements.Advance();
            const std::int64_t ti = members[0].Integer(0);
            if (ti < 1 || ti > static_cast<std::int64_t>(model_.sigGroupTypes.size()))
                continue; // no type, sources or outputs
            group.type = &model_.sigGroupTypes[static_cast<std::size_t>(ti - 1)];
            group.outputs.assign(group.type->OutputCount(), 3);
            const JsonClass &sources = members[1];
            if (sources.kind() != JsonClass::None) {
                if (!sources.IsArray())
                    continue; // present but not a list: the group ends here
                ShortList values;
                if (!values.Gather(sources))
                    return false;
                group.sources.resize(values.size());
                for (std::size_t k = 0; k < values.size(); ++k)
                    group.sources[k] = Narrow<std::int8_t>(values[k].Integer(0));
            }
            if (members[2].IsArray())
                group.trigCount = Narrow<std::uint32_t>(static_cast<std::int64_t>(members[2].Count()));
        }
        return true;
    }

    bool LoadSignalObjects(const JsonClass &array)
    {
        ShortList list;
        if (!list.Gather(array))
            return false;
        model_.sos.objects.resize(list.size());
        for (std::size_t i = 0; i < list.size(); ++i) {
            SemaphoreObject &object = model_.sos.objects[i];
            object.triggers = &model_.triggers;
            if (!list[i].IsObject())
                continue; // stays empty: idles in yellow flashing
            enum { kEn, kEnter, kDirs, kPhases, kCycles, kDayPlans, kWeekPlans, kYearPlans };
            static constexpr std::string_view kKeys[] = {"en",     "enter",     "dirs",       "phases",
                                                         "cycles", "day_plans", "week_plans", "year_plans"};
            const Members members(list[i], kKeys);
            // Without "en" true and a direction list the object stays entirely empty,
            // its entry point included, so it idles like a disabled one.
            if (!members[kEn].Flag(true) || !members[kDirs].IsArray())
                continue;
            Fields enter(members[kEnter]);
            object.enterMode = ModeFromName(enter.Next().String(), 5);
            object.enterNumber = Narrow<std::uint8_t>(enter.NextInteger(0));
            if (!LoadObjectDirs(object, members[kDirs]) || !LoadPhases(object, members[kPhases]) ||
                !LoadCycles(object, members[kCycles]) || !LoadDayPlans(object, members[kDayPlans]) ||
                !LoadWeekPlans(object, members[kWeekPlans]) || !LoadYearPlans(object, members[kYearPlans]))
                return false;
            object.loaded = true;
        }
        return true;
    }

    static bool LoadObjectDirs(SemaphoreObject &object, const JsonClass &dirs)
    {
        ShortList numbers;
        if (!numbers.Gather(dirs))
            return false;
        object.dirs.resize(numbers.size());
        for (std::size_t k = 0; k < numbers.size(); ++k)
            object.dirs[k] = Narrow<std::uint8_t>(numbers[k].Integer(0));
        return true;
    }

    static bool LoadPhases(SemaphoreObject &object, const JsonClass &array)
    {
        ShortList list;
        if (!list.Gather(array))
            return false;
        object.phases.resize(list.size());
        for (std::size_t i = 0; i < list.size(); ++i) {
            PhaseClass &phase = object.phases[i];
            static constexpr std::string_view kKeys[] = {"i", "Tmin", "Takk", "m"};
            const Members members(list[i], kKeys);
            phase.number = Narrow<std::uint8_t>(members[0].Integer(0));
            phase.Tmin = Narrow<std::uint16_t>(members[1].Integer(10));
            phase.Takk = Narrow<std::uint16_t>(members[2].Integer(4));
            // One entry per direction of the object; a missing element of "m" gives
            // red with zeros, elements beyond the directions are not read.
            phase.entries.resize(object.dirs.size());
            JsonElements entries(members[3]);
            for (auto &entry : phase.entries) {
                Fields fields(entries.Current());
                entries.Advance();
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
        ShortList list;
        if (!list.Gather(array))
            return false;
        object.cycles.resize(list.size());
        for (std::size_t i = 0; i < list.size(); ++i) {
            CycleClass &cycle = object.cycles[i];
            static constexpr std::string_view kKeys[] = {"i", "T", "m"};
            const Members members(list[i], kKeys);
            cycle.number = Narrow<std::uint8_t>(members[0].Integer(0));
            cycle.T = Narrow<std::int32_t>(members[1].Integer(0));
            ShortList steps;
            if (!steps.Gather(members[2]))
                return false;
            cycle.steps.resize(steps.size());
            for (std::size_t k = 0; k < steps.size(); ++k) {
                CycleStep &step = cycle.steps[k];
                Fields fields(steps[k]);
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

    // Day, week and year plans: a number "i" and a list "m" of entries, each read by
    // read(entry fields, entry).
    template <typename Plan, typename ReadEntry>
    static bool LoadPlans(std::vector<Plan> &plans, const JsonClass &array, ReadEntry read)
    {
        ShortList list;
        if (!list.Gather(array))
            return false;
        plans.resize(list.size());
        for (std::size_t i = 0; i < list.size(); ++i) {
            static constexpr std::string_view kKeys[] = {"i", "m"};
            const Members members(list[i], kKeys);
            plans[i].number = Narrow<std::uint8_t>(members[0].Integer(0));
            ShortList entries;
            if (!entries.Gather(members[1]))
                return false;
            plans[i].entries.resize(entries.size());
            for (std::size_t k = 0; k < entries.size(); ++k) {
                Fields fields(entries[k]);
                read(fields, plans[i].entries[k]);
            }
        }
        return true;
    }

    static bool LoadDayPlans(SemaphoreObject &object, const JsonClass &array)
    {
        return LoadPlans(object.dayPlans, array, [](Fields &fields, DayPlanEntry &entry) {
            entry.hour = Narrow<std::int8_t>(fields.NextInteger(0));
            entry.minute = Narrow<std::int8_t>(fields.NextInteger(0));
            entry.mode = ModeFromName(fields.Next().String(), 2);
            entry.number = Narrow<std::uint8_t>(fields.NextInteger(0));
        });
    }

    static bool LoadWeekPlans(SemaphoreObject &object, const JsonClass &array)
    {
        return LoadPlans(object.weekPlans, array, [](Fields &fields, WeekPlanEntry &entry) {
            entry.weekday = Narrow<std::uint8_t>(fields.NextInteger(0));
            entry.mode = ModeFromName(fields.Next().String(), 3);
            entry.number = Narrow<std::uint8_t>(fields.NextInteger(0));
        });
    }

    static bool LoadYearPlans(SemaphoreObject &object, const JsonClass &array)
    {
        return LoadPlans(object.yearPlans, array, [](Fields &fields, YearPlanEntry &entry) {
            // Unsigned arithmetic: any month and day give a defined 16-bit key.
            const auto month = static_cast<std::uint64_t>(fields.NextInteger(0));
            const auto day = static_cast<std::uint64_t>(fields.NextInteger(0));
            entry.key = static_cast<std::int16_t>(static_cast<std::uint16_t>((month - 1) * 32 + (day - 1)));
            entry.mode = ModeFromName(fields.Next().String(), 4);
            entry.number = Narrow<std::uint8_t>(fields.NextInteger(0));
        });
    }

    ModelClass &model_;
};

} // namespace

std::int32_t LoadModel(ModelClass &model, const char *first, const char *end)
{
    // Nested lists would otherwise be scanned once per level of nesting.
    JsonScanCache cache;
    return Loader(model).Run(JsonClass::Make(first, end));
}

} // namespace vantor::model
