// The configuration document writer: members in their fixed order, the derived
// tables rebuilt just before the member that needs each of them.
#include "controller/ConfigDocument.h"

#include "controller/SigGroupTemplates.h"
#include "controller/VantorConfig.h"
#include "models/VantorModels.h"

#include <algorithm>
#include <cmath>

namespace vantor {
namespace {

using json::Json;

// Degrees as the editor shows them: six decimals.
double RoundToMicroDegrees(double value)
{
    return std::round(value * 1e6) / 1e6;
}

class Writer {
public:
    Writer(TVantorConfig &config, const QDate &date) : c_(config), date_(date) {}

    Json Write()
    {
        Json v = Json::object();
        v["n"] = c_.Name;
        v["en"] = c_.Enabled;
        v["ver"] = 1;
        v["date"] = date_.toString(QStringLiteral("dd-MM-yyyy")).toStdString();
        v["geo"] = Geo();
        c_.Tables.BuildOutputControls(c_.Blocks);
        v["outs_controls"] = OutputControls();
        v["blocks"] = Blocks();
        c_.Tables.BuildSigGroupTypes(c_.Groups);
        v["sig_group_types"] = SigGroupTypes();
        c_.Tables.BuildConnections(c_.Groups);
        v["connects"] = Connections();
        v["semaphores"] = Heads();
        c_.Tables.BuildPrograms(c_.Groups);
        v["promtacts"] = Programs();
        v["dirs"] = Directions();
        v["sig_groups"] = Groups();
        v["triggers"] = Triggers();
        v["sos"] = Objects();
        return v;
    }

private:
    int TriggerNumber(const TTrigger *trigger) const
    {
        return trigger ? c_.Triggers.IndexOf(trigger) + 1 : 0;
    }
    int DirectionNumber(const TTrend *direction) const { return c_.DirectionIndex(direction) + 1; }

    Json Geo() const
    {
        Json geo = Json::object();
        geo["tz"] = c_.TimeZone.offsetMinutes;
        geo["tzname"] = c_.TimeZone.displayName;
        geo["auto"] = c_.AutoLocation;
        geo["lat"] = RoundToMicroDegrees(c_.Latitude);
        geo["long"] = RoundToMicroDegrees(c_.Longitude);
        geo["day_bright"] = c_.DayBrightness;
        geo["night_bright"] = c_.NightBrightness;
        geo["night_horizon"] = c_.HorizonAngle;
        if (!c_.Scheme.empty()) {
            std::string text;
            for (const std::string &line : c_.Scheme)
                text += line + "\r\n";
            geo["scheme"] = std::move(text);
        }
        return geo;
    }

    Json OutputControls() const
    {
        Json list = Json::array();
        for (const TOutputRec &record : c_.Tables.OutputControls) {
            Json item = Json::object();
            item["red"] = record.Red;
            item["green"] = record.Green;
            item["i_short"] = record.IShort;
            item["i_on"] = record.IOn;
            item["i_off"] = record.IOff;
            item["u_on"] = record.UOn;
            item["u_off"] = record.UOff;
            list.push_back(std::move(item));
        }
        return list;
    }

    Json Blocks() const
    {
        Json list = Json::array();
        for (const TController *block : c_.Blocks) {
            Json item = Json::object();
            item["en"] = block->Enabled;
            item["n"] = block->Name;
            item["i"] = block->ID;
            item["m"] = block->ModelID;
            item["geo"] = Json::object();
            Json outs = Json::array();
            for (const TControllerOutput *output : block->Outputs) {
                const TVantorModelOutput &settings = *output->ModelOutput;
                outs.push_back(Json::array({c_.Tables.FindOutputControl(settings), settings.Power,
                                            settings.DayBright, settings.NightBright}));
            }
            item["outs"] = std::move(outs);
            list.push_back(std::move(item));
        }
        return list;
    }

    Json SigGroupTypes() const
    {
        Json list = Json::array();
        for (const int type : c_.Tables.SigGroupTypes)
            list.push_back(SigGroupTypeTemplate(type));
        return list;
    }

    Json Connections() const
    {
        Json list = Json::array();
        for (const TSemaphoreObject *head : c_.Tables.Connections) {
            Json lamps = Json::array();
            for (const TSemaphoreOut *lamp : head->Lamps) {
                const TControllerOutput *output = head->Output(lamp->LampPos);
                lamps.push_back(output ? Json::array({output->Block->ID, output->Number()}) : Json::array());
            }
            Json item = Json::object();
            item["con"] = std::move(lamps);
            list.push_back(std::move(item));
        }
        return list;
    }

    Json Heads() const
    {
        Json list = Json::array();
        for (const TTrendGroup *group : c_.Groups)
            for (const TSemaphoreObject *head : group->Heads) {
                Json item = Json::object();
                item["n"] = head->NameOrDefault();
                item["geo"] = Json::object();
                item["con"] = c_.Tables.FindConnection(*head);
                list.push_back(std::move(item));
            }
        return list;
    }

    // A program's steps: each slot that is valid for its direction type and at least 1,
    // "sec" counting from the step's start to the end of the transition.
    Json ProgramSteps(const TPromTact &program, std::initializer_list<std::pair<int, int>> slotValues) const
    {
        std::vector<std::pair<int, int>> steps; // seconds, state
        for (const auto &[slot, state] : slotValues) {
            const int seconds = program.Slots[static_cast<std::size_t>(slot)];
            if (seconds >= 1 && IsSlotValid(program.DirectionType(), slot))
                steps.emplace_back(seconds, state);
        }
        Json tacts = Json::array();
        int remaining = 0;
        for (const auto &step : steps)
            remaining += step.first;
        for (const auto &[seconds, state] : steps) {
            Json tact = Json::object();
            tact["sec"] = remaining;
            tact["val"] = state;
            tacts.push_back(std::move(tact));
            remaining -= seconds;
        }
        return tacts;
    }

    Json Programs() const
    {
        Json list = Json::array();
        for (const auto &program : c_.Tables.Programs) {
            const char *kindName = program->Direction ? program->Direction->Group()->KindName() : "";
            // Every program holds the slots of one kind only, so exactly one form has steps.
            for (const bool greenToRed : {true, false}) {
                Json tacts = greenToRed ? ProgramSteps(*program, {{kSlotLateGreen, kStateGreen},
                                                                  {kSlotGreenFlashing, kStateGreenFlashing},
                                                                  {kSlotYellow, kStateYellow},
                                                                  {kSlotEarlyRed, kStateRed}})
                                        : ProgramSteps(*program, {{kSlotLateRed, kStateRed},
                                                                  {kSlotRedYellow, kStateRedYellow},
                                                                  {kSlotEarlyGreen, kStateGreen}});
                if (tacts.empty())
                    continue;
                Json item = Json::object();
                item["n"] = std::string(greenToRed ? "З-К " : "К-3 ") + kindName;
                item["type"] = greenToRed ? 1 : 2;
                item["tacts"] = std::move(tacts);
                list.push_back(std::move(item));
            }
        }
        return list;
    }

    Json Directions() const
    {
        Json dirs = Json::object();
        dirs["TminG"] = c_.TMinG;
        dirs["TminR"] = c_.TMinR;
        dirs["Takk"] = c_.Takk;
        Json at = Json::array();
        const std::vector<TTrend *> all = c_.Groups.AllDirections();
        for (std::size_t row = 0; row < all.size(); ++row) {
            const TTrend &d = *all[row];
            Json item = Json::object();
            item["n"] = d.NameOrDefault();
            item["type"] = DirectionTypeToFile(d.Type());
            item["geo"] = Json::object();
            item["prior"] = d.Prior;
            if (d.TMinG != 0 && d.TMinG != c_.TMinG)
                item["TMinG"] = d.TMinG;
            if (d.TMinR != 0 && d.TMinR != c_.TMinR)
                item["TMinR"] = d.TMinR;
            if (d.Takk != 0 && d.Takk != c_.Takk)
                item["Takk"] = d.Takk;
            item["G2R"] = c_.Tables.FindProgram(d, true);
            item["R2G"] = c_.Tables.FindProgram(d, false);
            Json conflicts = Json::array();
            for (std::size_t column = 0; column < all.size(); ++column) {
                const int r = static_cast<int>(row);
                const int k = static_cast<int>(column);
                if (r != k && c_.Conflicts.Relation(r, k) != 0)
                    conflicts.push_back(
                        Json::array({c_.Conflicts.Relation(r, k), k + 1, c_.Conflicts.Time(r, k)}));
            }
            item["conflicts"] = std::move(conflicts);
            at.push_back(std::move(item));
        }
        dirs["at"] = std::move(at);
        return dirs;
    }

    Json Groups() const
    {
        Json list = Json::array();
        int headNumber = 0;
        for (const TTrendGroup *group : c_.Groups) {
            Json item = Json::object();
            item["n"] = group->NameOrDefault();
            item["ti"] = c_.Tables.FindSigGroupType(*group);
            item["conns_alarm_count"] = group->AlarmCount;
            Json heads = Json::array();
            Json conns = Json::array();
            for (const TSemaphoreObject *head : group->Heads) {
                heads.push_back(++headNumber);
                const int connection = c_.Tables.FindConnection(*head);
                if (connection != 0 && std::find(conns.begin(), conns.end(), Json(connection)) == conns.end())
                    conns.push_back(connection);
            }
            item["semaphores"] = std::move(heads);
            Json dirs = Json::array();
            for (const TTrend *direction : group->Directions)
                if (const int number = DirectionNumber(direction); number > 0)
                    dirs.push_back(number);
            for (const TTrigger *trigger : group->Triggers)
                if (const int number = TriggerNumber(trigger); number > 0)
                    dirs.push_back(-number);
            item["dirs"] = std::move(dirs);
            item["conns"] = std::move(conns);
            list.push_back(std::move(item));
        }
        return list;
    }

    Json Triggers() const
    {
        Json list = Json::array();
        for (const TTrigger *trigger : c_.Triggers) {
            Json item = Json::object();
            item["n"] = trigger->Name;
            item["log"] = trigger->Log;
            item["not"] = trigger->Not;
            Json args = Json::array();
            for (const TTriggerItem *arg : trigger->Args)
                args.push_back(
                    Json::array({arg->Source, arg->BlockNumber, arg->DetectorNumber, arg->Free,
                                 arg->Triggered, arg->Occupied, arg->Faulty, arg->Released, arg->Inverted}));
            item["args"] = std::move(args);
            Json reset = Json::object();
            reset["src"] = trigger->ResetEvent;
            reset["args"] = trigger->ResetEvent >= kFirstPhaseResetEvent
                                ? Json::array({trigger->ResetArg1, trigger->ResetArg2})
                                : Json::array({trigger->ResetArg1});
            item["res"] = std::move(reset);
            list.push_back(std::move(item));
        }
        return list;
    }

    // [kind name, number], or [""] when the entry has no target.
    static void AppendTarget(Json &entry, const TPlanTarget &target)
    {
        if (!target.Target || target.TargetKind == kRefNone) {
            entry.push_back("");
            return;
        }
        entry.push_back(RefKindFileName(target.TargetKind));
        entry.push_back(TSOObject::TargetNumber(target.Target));
    }

    Json Phase(const TPhaseSO &phase) const
    {
        Json item = Json::object();
        item["n"] = phase.Name;
        item["i"] = phase.Number;
        item["Tmin"] = phase.Tmin;
        item["Takk"] = phase.Takk;
        Json entries = Json::array();
        for (const TPhaseSOItem *entry : phase.Entries)
            entries.push_back(Json::array({entry->State, entry->Tmin, entry->Takk, entry->Algorithm,
                                           TriggerNumber(entry->Trigger), entry->Priority}));
        item["m"] = std::move(entries);
        return item;
    }

    // Writes a cycle; for a coordinated cycle the steps' start seconds are computed
    // and stored back into the steps.
    Json Cycle(TCycle &cycle) const
    {
        const int period = cycle.Period();
        Json item = Json::object();
        item["n"] = cycle.Name;
        item["i"] = cycle.Number;
        item["T"] = cycle.Coordinated ? period : 0;
        item["offset"] = cycle.Offset;
        auto reduce = [period](long long seconds) {
            if (period == 0)
                return seconds;
            seconds %= period;
            return seconds < 0 ? seconds + period : seconds;
        };
        long long start = reduce(cycle.Offset);
        Json steps = Json::array();
        for (TCycleItem *step : cycle.Steps) {
            long long time = step->Duration;
            if (cycle.Coordinated) {
                step->Start = static_cast<std::int32_t>(start);
                time = start;
                start = reduce(start + step->Duration);
            }
            steps.push_back(Json::array({step->Phase ? step->Phase->Number : 0, time, step->Tmin, step->Takk,
                                         step->Algorithm, TriggerNumber(step->Trigger)}));
        }
        item["m"] = std::move(steps);
        return item;
    }

    static Json Plan(const std::string &name, int number, Json entries)
    {
        Json item = Json::object();
        item["n"] = name;
        item["i"] = number;
        item["m"] = std::move(entries);
        return item;
    }

    Json Object(TSOObject &object) const
    {
        Json item = Json::object();
        item["en"] = object.Enabled;
        item["n"] = object.Name;
        item["revur_num"] = object.RevurNumber;
        Json dirs = Json::array();
        for (const TTrend *direction : object.Directions)
            dirs.push_back(DirectionNumber(direction));
        item["dirs"] = std::move(dirs);
        Json enter = Json::array();
        if (object.Entry && object.EntryKind != kRefNone) {
            enter.push_back(RefKindFileName(object.EntryKind));
            enter.push_back(TSOObject::TargetNumber(object.Entry));
        }
        item["enter"] = std::move(enter);

        Json phases = Json::array();
        for (const TPhaseSO *phase : object.Phases)
            phases.push_back(Phase(*phase));
        item["phases"] = std::move(phases);
        Json cycles = Json::array();
        for (TCycle *cycle : object.Cycles)
            cycles.push_back(Cycle(*cycle));
        item["cycles"] = std::move(cycles);

        Json days = Json::array();
        for (const TDayPlan *plan : object.DayPlans) {
            Json entries = Json::array();
            for (const TDayPlanItem *entry : plan->Items) {
                Json e = entry->SwitchKind == TDayPlanItem::kAtTime
                             ? Json::array({entry->Hour(), entry->Minute()})
                             : Json::array({entry->SwitchKind, entry->Angle});
                AppendTarget(e, *entry);
                entries.push_back(std::move(e));
            }
            days.push_back(Plan(plan->Name, plan->Number, std::move(entries)));
        }
        item["day_plans"] = std::move(days);

        Json weeks = Json::array();
        for (const TWeekPlan *plan : object.WeekPlans) {
            Json entries = Json::array();
            for (const TWeekPlanItem *entry : plan->Items) {
                Json e = Json::array({entry->Day + 1});
                AppendTarget(e, *entry);
                entries.push_back(std::move(e));
            }
            weeks.push_back(Plan(plan->Name, plan->Number, std::move(entries)));
        }
        item["week_plans"] = std::move(weeks);

        Json years = Json::array();
        for (const TYearPlan *plan : object.YearPlans) {
            Json entries = Json::array();
            for (const TYearPlanItem *entry : plan->Items) {
                Json e = Json::array({entry->Month, entry->Day});
                AppendTarget(e, *entry);
                entries.push_back(std::move(e));
            }
            years.push_back(Plan(plan->Name, plan->Number, std::move(entries)));
        }
        item["year_plans"] = std::move(years);
        return item;
    }

    Json Objects() const
    {
        Json list = Json::array();
        for (TSOObject *object : c_.Objects)
            list.push_back(Object(*object));
        return list;
    }

    TVantorConfig &c_;
    QDate date_;
};

} // namespace

json::Json WriteVantorConfig(TVantorConfig &config, const QDate &date)
{
    return Writer(config, date).Write();
}

json::Json GetConfigJson(TVantorConfig &config, const QDate &date)
{
    json::Json root = json::Json::object();
    root[kVantorRootKey] = WriteVantorConfig(config, date);
    return root;
}

std::optional<std::string> VantorModelText(const json::Json &root)
{
    if (!root.is_object())
        return std::nullopt;
    const auto it = root.find(kVantorRootKey);
    if (it == root.end() || !it->is_object())
        return std::nullopt;
    return json::RenderCompact(*it);
}

} // namespace vantor
