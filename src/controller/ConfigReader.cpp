// The configuration document reader. Members are read in a fixed order because later
// members refer to what earlier ones created (blocks before wiring, groups before
// directions, phases before cycles, plans before the entry point). Every member is
// optional; a value of the wrong kind is treated as absent, numbers are brought into
// the range of their field, and references to positions that do not exist are
// ignored.
#include "controller/ConfigDocument.h"

#include "controller/SigGroupTemplates.h"
#include "controller/VantorConfig.h"
#include "models/VantorModels.h"

#include <QDate>
#include <QString>

#include <algorithm>
#include <cmath>
#include <limits>

namespace vantor {
namespace {

using json::Json;

const Json *Member(const Json *object, const char *key)
{
    if (!object || !object->is_object())
        return nullptr;
    const auto it = object->find(key);
    return it == object->end() ? nullptr : &*it;
}

const Json *Element(const Json *array, std::size_t index)
{
    return array && array->is_array() && index < array->size() ? &(*array)[index] : nullptr;
}

std::size_t Length(const Json *array)
{
    return array && array->is_array() ? array->size() : 0;
}

// A number (a boolean counts as 0 or 1), truncated towards zero; nothing otherwise.
std::optional<long long> Integer(const Json *value)
{
    if (!value)
        return std::nullopt;
    if (value->is_number_integer())
        return value->get<long long>();
    if (value->is_number_unsigned())
        return static_cast<long long>(std::min<unsigned long long>(value->get<unsigned long long>(),
                                                                   std::numeric_limits<long long>::max()));
    if (value->is_number_float()) {
        const double number = std::trunc(value->get<double>());
        if (number >= 9.2e18)
            return std::numeric_limits<long long>::max();
        if (number <= -9.2e18)
            return std::numeric_limits<long long>::min();
        return static_cast<long long>(number);
    }
    if (value->is_boolean())
        return value->get<bool>() ? 1 : 0;
    return std::nullopt;
}

// Stores an integer member into a field, brought into the field's range.
template <class T>
void ReadInt(const Json *value, T &field)
{
    if (const auto number = Integer(value))
        field = static_cast<T>(
            std::clamp<long long>(*number, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}

void ReadDouble(const Json *value, double &field)
{
    if (value && value->is_number())
        field = value->get<double>();
}

void ReadBool(const Json *value, bool &field)
{
    if (!value)
        return;
    if (value->is_boolean())
        field = value->get<bool>();
    else if (const auto number = Integer(value))
        field = *number != 0;
}

void ReadString(const Json *value, std::string &field)
{
    if (value && value->is_string())
        field = value->get<std::string>();
}

std::vector<std::string> SplitLines(const std::string &text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

class Reader {
public:
    Reader(TVantorConfig &config, const Json &v, std::vector<std::string> *warnings)
        : c_(config), v_(&v), warnings_(warnings)
    {}

    void Read()
    {
        ResetToDefaults();
        ReadBool(Member(v_, "en"), c_.Enabled);
        ReadString(Member(v_, "n"), c_.Name);
        ReadGeo();
        ReadOutputControls();
        ReadBlocks();
        ReadConnections();
        ReadSigGroupTypes();
        ReadGroupsFirstPass();
        ReadHeads();
        ReadPrograms();
        ReadDirections();
        ReadTriggers();
        ReadGroupsSecondPass();
        ReadObjects();
        c_.Conflicts.DefaultRelation = TConflictMatrix::kConflict;
    }

private:
    void ResetToDefaults()
    {
        c_.Clear();
        const TVantorConfig defaults;
        c_.Name = defaults.Name;
        c_.Enabled = defaults.Enabled;
        c_.TimeZone = defaults.TimeZone;
        c_.AutoLocation = defaults.AutoLocation;
        c_.Latitude = defaults.Latitude;
        c_.Longitude = defaults.Longitude;
        c_.DayBrightness = defaults.DayBrightness;
        c_.NightBrightness = defaults.NightBrightness;
        c_.HorizonAngle = defaults.HorizonAngle;
        c_.Scheme.clear();
        c_.TMinG = defaults.TMinG;
        c_.TMinR = defaults.TMinR;
        c_.Takk = defaults.Takk;
        // Cells the document does not mention get no conflict.
        c_.Conflicts.Resize(0);
        c_.Conflicts.DefaultRelation = TConflictMatrix::kNoConflict;
    }

    void ReadGeo()
    {
        const Json *geo = Member(v_, "geo");
        const Json *tz = Member(geo, "tz");
        const Json *tzName = Member(geo, "tzname");
        if (Integer(tz) && tzName && tzName->is_string()) {
            ReadInt(tz, c_.TimeZone.offsetMinutes);
            ReadString(tzName, c_.TimeZone.displayName);
        }
        ReadBool(Member(geo, "auto"), c_.AutoLocation);
        ReadDouble(Member(geo, "lat"), c_.Latitude);
        ReadDouble(Member(geo, "long"), c_.Longitude);
        ReadInt(Member(geo, "day_bright"), c_.DayBrightness);
        ReadInt(Member(geo, "night_bright"), c_.NightBrightness);
        ReadInt(Member(geo, "night_horizon"), c_.HorizonAngle);
        std::string scheme;
        ReadString(Member(geo, "scheme"), scheme);
        c_.Scheme = SplitLines(scheme);
    }

    void ReadOutputControls()
    {
        const Json *list = Member(v_, "outs_controls");
        for (std::size_t i = 0; i < Length(list); ++i) {
            const Json *item = Element(list, i);
            TOutputRec record;
            ReadBool(Member(item, "red"), record.Red);
            ReadBool(Member(item, "green"), record.Green);
            ReadDouble(Member(item, "i_short"), record.IShort);
            ReadDouble(Member(item, "i_on"), record.IOn);
            ReadDouble(Member(item, "i_off"), record.IOff);
            ReadDouble(Member(item, "u_on"), record.UOn);
            ReadDouble(Member(item, "u_off"), record.UOff);
            controls_.push_back(record);
        }
    }

    void ReadBlocks()
    {
        const Json *list = Member(v_, "blocks");
        for (std::size_t i = 0; i < Length(list); ++i) {
            const Json *item = Element(list, i);
            if (!item->is_object())
                continue;
            std::int32_t modelId = 16; // the standard block of documents without a model id
            ReadInt(Member(item, "m"), modelId);
            const TVantorModel *model = FindModelById(modelId);
            if (!model) { // unknown block model: the block and its outputs are dropped
                std::string name;
                std::int32_t id = 0;
                ReadString(Member(item, "n"), name);
                ReadInt(Member(item, "i"), id);
                Warn("Блок" + Quoted(name) + " (идентификатор " + std::to_string(id) + "): модель блока " +
                     std::to_string(modelId) + " не установлена, блок и его подключения пропущены.");
                continue;
            }
            TController *block = c_.AddBlock(*model);
            ReadBool(Member(item, "en"), block->Enabled);
            ReadString(Member(item, "n"), block->Name);
            ReadInt(Member(item, "i"), block->ID);
            const Json *outs = Member(item, "outs");
            const std::size_t count = std::min<std::size_t>(Length(outs), block->Outputs.Count());
            for (std::size_t k = 0; k < count; ++k) {
                const Json *out = Element(outs, k);
                TVantorModelOutput &settings = *block->Outputs[static_cast<int>(k)]->ModelOutput;
                std::int32_t control = 0;
                ReadInt(Element(out, 0), control);
                if (control >= 1 && static_cast<std::size_t>(control) <= controls_.size()) {
                    const TOutputRec &record = controls_[static_cast<std::size_t>(control) - 1];
                    settings.IShort = record.IShort;
                    settings.IOn = record.IOn;
                    settings.IOff = record.IOff;
                    settings.UOn = record.UOn;
                    settings.UOff = record.UOff;
                    settings.RedControl = settings.RedControl || record.Red;
                    settings.GreenControl = settings.GreenControl || record.Green;
                }
                ReadDouble(Element(out, 1), settings.Power);
                ReadInt(Element(out, 2), settings.DayBright);
                ReadInt(Element(out, 3), settings.NightBright);
            }
        }
    }

    void ReadConnections()
    {
        const Json *list = Member(v_, "connects");
        for (std::size_t i = 0; i < Length(list); ++i) {
            const Json *lamps = Member(Element(list, i), "con");
            TConnection connection;
            for (std::size_t k = 0; k < Length(lamps); ++k) {
                const Json *pair = Element(lamps, k);
                std::int32_t block = 0;
                std::int32_t number = 0; // 1-based; INT32_MIN is read as "no output"
                if (Length(pair) == 2) {
                    ReadInt(Element(pair, 0), block);
                    ReadInt(Element(pair, 1), number);
                    connection.Pairs.emplace_back(
                        block, number > std::numeric_limits<std::int32_t>::min() ? number - 1 : -1);
                } else {
                    connection.Pairs.emplace_back(0, 0);
                }
            }
            connections_.push_back(std::move(connection));
        }
    }

    void ReadSigGroupTypes()
    {
        const Json *list = Member(v_, "sig_group_types");
        for (std::size_t i = 0; i < Length(list); ++i) {
            const auto type = Integer(Member(Element(list, i), "type"));
            kinds_.push_back(KindForTemplateType(type.value_or(0)));
        }
    }

    // The transport definition also stands for arrow groups. A group whose own first
    // direction is written with the arrow's direction type is recreated as an arrow.
    GroupKind RecoverArrow(const Json *item) const
    {
        const Json *at = Member(Member(v_, "dirs"), "at");
        const Json *dirs = Member(item, "dirs");
        for (std::size_t i = 0; i < Length(dirs); ++i) {
            const auto number = Integer(Element(dirs, i));
            if (!number || *number < 1)
                continue;
            const auto fileType = Integer(Member(Element(at, static_cast<std::size_t>(*number - 1)), "type"));
            return fileType && DirectionTypeFromFile(*fileType) == 3 ? GroupKind::Arrow
                                                                     : GroupKind::Transport;
        }
        return GroupKind::Transport;
    }

    void ReadGroupsFirstPass()
    {
        const Json *list = Member(v_, "sig_groups");
        for (std::size_t i = 0; i < Length(list); ++i) {
            const Json *item = Element(list, i);
            const auto ti = Integer(Member(item, "ti"));
            // A "ti" that names no definition creates no group.
            if (!ti || *ti < 1 || static_cast<std::size_t>(*ti) > kinds_.size()) {
                std::string name;
                ReadString(Member(item, "n"), name);
                Warn("Сигнальная группа №" + std::to_string(i + 1) + Quoted(name) +
                     ": её тип не описан в \"sig_group_types\", группа пропущена.");
                continue;
            }
            GroupKind kind = kinds_[static_cast<std::size_t>(*ti) - 1];
            if (kind == GroupKind::Transport)
                kind = RecoverArrow(item);
            TTrendGroup *group = c_.AddGroup(kind);
            ReadInt(Member(item, "conns_alarm_count"), group->AlarmCount);
            if (const Json *heads = Member(item, "semaphores"))
                group->SetHeadCount(static_cast<int>(std::min<std::size_t>(Length(heads), 255)));
            else if (const Json *conns = Member(item, "conns"))
                group->SetHeadCount(static_cast<int>(std::min<std::size_t>(Length(conns), 255)));
            ReadString(Member(item, "n"), group->Name);
        }
    }

    void ReadHeads()
    {
        const Json *list = Member(v_, "semaphores");
        std::size_t next = 0;
        for (TTrendGroup *group : c_.Groups)
            for (TSemaphoreObject *head : group->Heads) {
                const Json *item = Element(list, next++);
                if (!item)
                    return;
                ReadString(Member(item, "n"), head->Name);
                std::int32_t con = 0;
                ReadInt(Member(item, "con"), con);
                if (con < 1 || static_cast<std::size_t>(con) > connections_.size())
                    continue;
                const TConnection &connection = connections_[static_cast<std::size_t>(con) - 1];
                if (static_cast<int>(connection.Pairs.size()) != head->LampCount())
                    continue;
                std::size_t pair = 0;
                for (const TSemaphoreOut *lamp : head->Lamps) {
                    const auto [blockId, outputIndex] = connection.Pairs[pair++];
                    const TController *block = c_.Blocks.FindById(blockId);
                    if (TControllerOutput *output = block ? block->Output(outputIndex) : nullptr) {
                        head->SetOutput(lamp->LampPos, output);
                        output->Owner = group;
                    }
                }
            }
    }

    void ReadPrograms()
    {
        const Json *list = Member(v_, "promtacts");
        for (std::size_t i = 0; i < Length(list); ++i) {
            const Json *item = Element(list, i);
            TPromTact program;
            const auto type = Integer(Member(item, "type"));
            const Json *tacts = Member(item, "tacts");
            if (type && tacts && tacts->is_array()) {
                std::int32_t later = 0;
                for (std::size_t k = Length(tacts); k-- > 0;) {
                    const Json *tact = Element(tacts, k);
                    const auto value = Integer(Member(tact, "val"));
                    if (!value)
                        continue;
                    std::int32_t seconds = 0;
                    ReadInt(Member(tact, "sec"), seconds);
                    const int slot = SlotOfState(*type, *value);
                    // A step lasts from its "sec" to the next step's; only 1..255 reaches a
                    // direction, so the difference only has to stay representable.
                    program.Slots[static_cast<std::size_t>(slot)] =
                        static_cast<std::int32_t>(std::clamp<long long>(
                            static_cast<long long>(seconds) - later, std::numeric_limits<std::int32_t>::min(),
                            std::numeric_limits<std::int32_t>::max()));
                    later = seconds;
                }
            }
            programs_.push_back(program);
        }
    }

    static int SlotOfState(long long type, long long state)
    {
        if (type == 1) {
            switch (state) {
            case kStateGreen: return kSlotLateGreen;
            case kStateGreenFlashing: return kSlotGreenFlashing;
            case kStateYellow: return kSlotYellow;
            case kStateRed: return kSlotEarlyRed;
            default: return 11; // reserved, never used
            }
        }
        switch (state) {
        case kStateRed: return kSlotLateRed;
        case kStateRedYellow: return kSlotRedYellow;
        case kStateGreen: return kSlotEarlyGreen;
        default: return 11;
        }
    }

    void CopyProgram(TTrend &direction, const Json *reference, std::initializer_list<int> slotList) const
    {
        const auto number = Integer(reference);
        if (!number || *number < 1 || static_cast<std::size_t>(*number) > programs_.size())
            return;
        const TPromTact &program = programs_[static_cast<std::size_t>(*number) - 1];
        for (const int slot : slotList)
            if (const std::int32_t seconds = program.Slots[static_cast<std::size_t>(slot)]; seconds > 0)
                direction.SetSlot(slot, seconds);
    }

    void ReadDirections()
    {
        const Json *dirs = Member(v_, "dirs");
        ReadInt(Member(dirs, "TminG"), c_.TMinG);
        ReadInt(Member(dirs, "TminR"), c_.TMinR);
        ReadInt(Member(dirs, "Takk"), c_.Takk);
        const Json *at = Member(dirs, "at");
        const std::vector<TTrend *> all = c_.Groups.AllDirections();
        std::size_t j = 0;
        for (std::size_t row = 0; row < all.size() && j < Length(at); ++row) {
            TTrend &d = *all[row];
            const Json *item = Element(at, j);
            // An element written for another direction type is offered to the next
            // direction instead.
            if (const auto type = Integer(Member(item, "type"));
                type && DirectionTypeFromFile(*type) != d.Type())
                continue;
            ReadString(Member(item, "n"), d.Name);
            ReadInt(Member(item, "prior"), d.Prior);
            ReadInt(Member(item, "TMinG"), d.TMinG);
            ReadInt(Member(item, "TMinR"), d.TMinR);
            ReadInt(Member(item, "Takk"), d.Takk);
            CopyProgram(d, Member(item, "G2R"),
                        {kSlotLateGreen, kSlotGreenFlashing, kSlotYellow, kSlotEarlyRed});
            CopyProgram(d, Member(item, "R2G"), {kSlotLateRed, kSlotRedYellow, kSlotEarlyGreen});
            const Json *conflicts = Member(item, "conflicts");
            for (std::size_t k = 0; k < Length(conflicts); ++k) {
                const Json *conflict = Element(conflicts, k);
                if (Length(conflict) < 3)
                    continue;
                std::uint8_t relation = 0;
                std::int32_t number = 0;
                std::int32_t time = 0;
                ReadInt(Element(conflict, 0), relation);
                ReadInt(Element(conflict, 1), number);
                ReadInt(Element(conflict, 2), time);
                if (number < 1)
                    continue;
                c_.Conflicts.SetRelation(static_cast<int>(row), number - 1, relation);
                c_.Conflicts.SetTime(static_cast<int>(row), number - 1, time);
            }
            ++j;
        }
    }

    void ReadTriggers()
    {
        const Json *list = Member(v_, "triggers");
        for (std::size_t i = 0; i < Length(list); ++i) {
            const Json *item = Element(list, i);
            TTrigger *trigger = c_.AddTrigger();
            ReadString(Member(item, "n"), trigger->Name);
            ReadInt(Member(item, "log"), trigger->Log);
            ReadBool(Member(item, "not"), trigger->Not);
            const Json *reset = Member(item, "res");
            ReadInt(Member(reset, "src"), trigger->ResetEvent);
            const Json *resetArgs = Member(reset, "args");
            ReadInt(Element(resetArgs, 0), trigger->ResetArg1);
            if (trigger->ResetEvent >= kFirstPhaseResetEvent && Length(resetArgs) >= 2)
                ReadInt(Element(resetArgs, 1), trigger->ResetArg2);
            const Json *args = Member(item, "args");
            for (std::size_t k = 0; k < Length(args); ++k) {
                const Json *values = Element(args, k);
                if (Length(values) < 1)
                    continue;
                TTriggerItem *arg = trigger->AddArgument();
                ReadInt(Element(values, 0), arg->Source);
                ReadInt(Element(values, 1), arg->BlockNumber);
                ReadInt(Element(values, 2), arg->DetectorNumber);
                ReadBool(Element(values, 3), arg->Free);
                ReadBool(Element(values, 4), arg->Triggered);
                ReadBool(Element(values, 5), arg->Occupied);
                ReadBool(Element(values, 6), arg->Faulty);
                ReadBool(Element(values, 7), arg->Released);
                ReadBool(Element(values, 8), arg->Inverted);
            }
        }
    }

    // Runs only when every element made a group, so that elements and groups pair up.
    void ReadGroupsSecondPass()
    {
        const Json *list = Member(v_, "sig_groups");
        if (Length(list) != static_cast<std::size_t>(c_.Groups.Count()))
            return;
        for (int g = 0; g < c_.Groups.Count(); ++g) {
            TTrendGroup *group = c_.Groups[g];
            if (group->HasOwnDirections())
                continue;
            const Json *dirs = Member(Element(list, static_cast<std::size_t>(g)), "dirs");
            for (std::size_t k = 0; k < Length(dirs); ++k) {
                const auto value = Integer(Element(dirs, k));
                if (!value)
                    continue;
                if (*value >= 1 && *value <= c_.DirectionCount())
                    group->AddDirectionRef(c_.Direction(static_cast<int>(*value) - 1));
                else if (*value <= -1 &&
                         *value >= -static_cast<long long>(c_.Triggers.Count())) // -1: the first
                    group->AddTriggerRef(c_.Triggers[static_cast<int>(-*value) - 1]);
            }
        }
    }

    TTrigger *TriggerByNumber(const Json *value) const
    {
        const auto number = Integer(value);
        return number && *number >= 1 && *number <= c_.Triggers.Count()
                   ? c_.Triggers[static_cast<int>(*number) - 1]
                   : nullptr;
    }

    // A plan entry's target from its kind name and number; kinds outside `allowed`
    // (and unknown names or numbers) leave the entry without a target.
    static void ReadTarget(const TSOObject &object, const Json *kind, const Json *number, int highestKind,
                           TPlanTarget &target)
    {
        std::string name;
        ReadString(kind, name);
        const RefKind refKind = RefKindFromFileName(name);
        std::int32_t value = 0;
        ReadInt(number, value);
        TVantorObject *found =
            refKind != kRefNone && refKind <= highestKind ? object.FindTarget(refKind, value) : nullptr;
        target.Target = found;
        target.TargetKind = static_cast<std::uint8_t>(found ? refKind : kRefNone);
    }

    void ReadPhases(TSOObject &object, const Json *list)
    {
        for (std::size_t i = 0; i < Length(list); ++i) {
            const Json *item = Element(list, i);
            TPhaseSO *phase = object.AddPhase();
            ReadString(Member(item, "n"), phase->Name);
            ReadInt(Member(item, "i"), phase->Number);
            ReadInt(Member(item, "Tmin"), phase->Tmin);
            ReadInt(Member(item, "Takk"), phase->Takk);
            const Json *entries = Member(item, "m");
            for (int k = 0; k < phase->Entries.Count(); ++k) {
                const Json *values = Element(entries, static_cast<std::size_t>(k));
                if (!values)
                    break;
                TPhaseSOItem &entry = *phase->Entries[k];
                ReadInt(Element(values, 0), entry.State);
                ReadInt(Element(values, 1), entry.Tmin);
                ReadInt(Element(values, 2), entry.Takk);
                ReadInt(Element(values, 3), entry.Algorithm);
                if (Element(values, 4))
                    entry.Trigger = TriggerByNumber(Element(values, 4));
                ReadInt(Element(values, 5), entry.Priority);
            }
        }
    }

    void ReadCycles(TSOObject &object, const Json *list)
    {
        for (std::size_t i = 0; i < Length(list); ++i) {
            const Json *item = Element(list, i);
            TCycle *cycle = object.AddCycle();
            ReadString(Member(item, "n"), cycle->Name);
            ReadInt(Member(item, "i"), cycle->Number);
            // The period is the 16-bit sum of the step durations, so no larger one is
            // taken from a document.
            std::uint16_t period = 0;
            ReadInt(Member(item, "T"), period);
            cycle->Coordinated = period > 0;
            cycle->StoredPeriod = period;
            ReadInt(Member(item, "offset"), cycle->Offset);
            const Json *steps = Member(item, "m");
            for (std::size_t k = 0; k < Length(steps); ++k) {
                const Json *values = Element(steps, k);
                if (!values->is_array())
                    continue;
                TCycleItem *step = cycle->AddStep();
                std::int32_t phase = 0;
                ReadInt(Element(values, 0), phase);
                step->Phase = phase != 0 ? object.FindPhase(phase) : nullptr;
                if (cycle->Coordinated)
                    ReadInt(Element(values, 1), step->Start);
                else
                    ReadInt(Element(values, 1), step->Duration);
                ReadInt(Element(values, 2), step->Tmin);
                ReadInt(Element(values, 3), step->Takk);
                ReadInt(Element(values, 4), step->Algorithm);
                step->Trigger = TriggerByNumber(Element(values, 5));
            }
            if (cycle->Coordinated)
                RecoverDurations(*cycle);
        }
    }

    // A coordinated cycle stores start seconds: each step lasts until the next step's
    // start, counted forward around the period; the last step takes the rest.
    static void RecoverDurations(TCycle &cycle)
    {
        const long long period = cycle.StoredPeriod;
        long long sum = 0;
        const int count = cycle.Steps.Count();
        for (int k = 0; k < count; ++k) {
            long long duration = 0;
            if (k + 1 < count) {
                duration = static_cast<long long>(cycle.Steps[k + 1]->Start) - cycle.Steps[k]->Start;
                if (duration < 0)
                    duration = period > 0 ? (duration % period + period) % period : 0;
            } else {
                duration = period - sum;
            }
            const auto kept = static_cast<std::uint16_t>(std::clamp<long long>(duration, 0, 65535));
            cycle.Steps[k]->Duration = kept;
            sum += kept;
        }
    }

    void ReadPlans(TSOObject &object, const Json *item)
    {
        const Json *days = Member(item, "day_plans");
        for (std::size_t i = 0; i < Length(days); ++i) {
            const Json *plan = Element(days, i);
            TDayPlan *day = object.AddDayPlan();
            ReadString(Member(plan, "n"), day->Name);
            ReadInt(Member(plan, "i"), day->Number);
            const Json *entries = Member(plan, "m");
            for (std::size_t k = 0; k < Length(entries); ++k) {
                const Json *values = Element(entries, k);
                if (!values->is_array())
                    continue;
                TDayPlanItem *entry = day->Items.Append(std::make_unique<TDayPlanItem>());
                std::int32_t first = 0;
                std::int32_t second = 0;
                ReadInt(Element(values, 0), first);
                ReadInt(Element(values, 1), second);
                if (first == TDayPlanItem::kAtSunrise || first == TDayPlanItem::kAtSunset) {
                    entry->SwitchKind = static_cast<std::int8_t>(first);
                    entry->Angle = second;
                } else {
                    entry->Minutes =
                        static_cast<std::uint16_t>(std::clamp(first, 0, 23) * 60 + std::clamp(second, 0, 59));
                }
                ReadTarget(object, Element(values, 2), Element(values, 3), kRefCycle, *entry);
            }
        }

        const Json *weeks = Member(item, "week_plans");
        for (std::size_t i = 0; i < Length(weeks); ++i) {
            const Json *plan = Element(weeks, i);
            TWeekPlan *week = object.AddWeekPlan();
            ReadString(Member(plan, "n"), week->Name);
            ReadInt(Member(plan, "i"), week->Number);
            const Json *entries = Member(plan, "m");
            for (std::size_t k = 0; k < Length(entries); ++k) {
                const Json *values = Element(entries, k);
                if (!values->is_array())
                    continue;
                TWeekPlanItem *entry = week->AddItem();
                if (!entry)
                    break; // seven entries at most
                std::int32_t weekday = 0;
                ReadInt(Element(values, 0), weekday);
                if (weekday >= 1 && weekday <= 7)
                    entry->Day = static_cast<std::uint8_t>(weekday - 1);
                ReadTarget(object, Element(values, 1), Element(values, 2), kRefDayPlan, *entry);
            }
        }

        const Json *years = Member(item, "year_plans");
        for (std::size_t i = 0; i < Length(years); ++i) {
            const Json *plan = Element(years, i);
            TYearPlan *year = object.AddYearPlan();
            ReadString(Member(plan, "n"), year->Name);
            ReadInt(Member(plan, "i"), year->Number);
            const Json *entries = Member(plan, "m");
            for (std::size_t k = 0; k < Length(entries); ++k) {
                const Json *values = Element(entries, k);
                if (!values->is_array())
                    continue;
                TYearPlanItem *entry = year->Items.Append(std::make_unique<TYearPlanItem>());
                std::int32_t month = 0;
                std::int32_t day = 0;
                ReadInt(Element(values, 0), month);
                ReadInt(Element(values, 1), day);
                if (QDate::isValid(2020, month, day)) {
                    entry->Month = static_cast<std::uint8_t>(month);
                    entry->Day = static_cast<std::uint8_t>(day);
                }
                ReadTarget(object, Element(values, 2), Element(values, 3), kRefWeekPlan, *entry);
            }
        }
    }

    void ReadObjects()
    {
        const Json *list = Member(v_, "sos");
        for (std::size_t i = 0; i < Length(list); ++i) {
            const Json *item = Element(list, i);
            TSOObject *object = c_.AddObject();
            ReadBool(Member(item, "en"), object->Enabled);
            ReadString(Member(item, "n"), object->Name);
            ReadInt(Member(item, "revur_num"), object->RevurNumber);
            const Json *dirs = Member(item, "dirs");
            for (std::size_t k = 0; k < Length(dirs); ++k) {
                const auto number = Integer(Element(dirs, k));
                if (number && *number >= 1 && *number <= c_.DirectionCount())
                    object->AddDirection(c_.Direction(static_cast<int>(*number) - 1));
            }
            ReadPhases(*object, Member(item, "phases"));
            ReadCycles(*object, Member(item, "cycles"));
            ReadPlans(*object, item);
            const Json *enter = Member(item, "enter");
            TPlanTarget entry;
            ReadTarget(*object, Element(enter, 0), Element(enter, 1), kRefYearPlan, entry);
            object->SetEntry(entry.TargetKind, entry.Target);
        }
    }

    // " «name»", or nothing for an empty name.
    static std::string Quoted(const std::string &name)
    {
        return name.empty() ? std::string() : " «" + name + "»";
    }

    void Warn(std::string text)
    {
        if (warnings_)
            warnings_->push_back(std::move(text));
    }

    TVantorConfig &c_;
    const Json *v_;
    std::vector<std::string> *warnings_;
    std::vector<TOutputRec> controls_;
    std::vector<TConnection> connections_;
    std::vector<GroupKind> kinds_;
    std::vector<TPromTact> programs_;
};

} // namespace

bool LoadConfigJson(TVantorConfig &config, const json::Json &root, std::string *error,
                    std::vector<std::string> *warnings)
{
    const Json *member = Member(&root, kVantorRootKey);
    if (!member || !member->is_object()) {
        if (error)
            *error = kBadConfigurationText;
        return false;
    }
    Reader(config, *member, warnings).Read();
    return true;
}

} // namespace vantor
