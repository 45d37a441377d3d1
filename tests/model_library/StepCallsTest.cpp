// nextAll (plans, trigger reset, signal-group outputs) and the status handling of both
// stepping calls.
#include "ModelTestSupport.h"

#include "model_library/ModelStatus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

using namespace vantor::model;
using vantor::model::test::OpenedModel;

namespace {

std::string Config(const std::string &triggers, const std::string &dirs, const std::string &types,
                   const std::string &groups, const std::string &sos, const std::string &promtacts = "[]")
{
    return R"({"ver":1,"promtacts":)" + promtacts + R"(,"triggers":)" + triggers + R"(,"dirs":)" + dirs +
           R"(,"sig_group_types":)" + types + R"(,"sig_groups":)" + groups + R"(,"sos":)" + sos + "}";
}

// The outputs of one nextAll call.
struct AllOutputs {
    std::vector<std::uint8_t> trig, phase, cycle, day, week, year, dirs;
    std::vector<std::vector<std::uint8_t>> groups;
};

std::int32_t StepAll(const ModelClass &model, std::uint32_t time, const std::vector<std::uint8_t> &triggers,
                     AllOutputs *out)
{
    const std::size_t objects = model.sos.Count();
    out->trig = triggers;
    out->trig.resize(model.triggers.size());
    for (auto *buffer : {&out->phase, &out->cycle, &out->day, &out->week, &out->year})
        buffer->assign(objects, 0xEE);
    out->dirs.assign(model.dirs.Count(), 0xEE);
    out->groups.assign(model.sigGroups.size(), std::vector<std::uint8_t>(4, 0xEE));
    std::vector<std::uint8_t *> groupBuffers;
    for (auto &group : out->groups)
        groupBuffers.push_back(group.data());
    return NextAll(time, out->trig.data(), out->phase.data(), out->cycle.data(), out->day.data(),
                   out->week.data(), out->year.data(), out->dirs.data(), groupBuffers.data());
}

TEST(ModelStepAll, PlansAreEvaluatedForMondayThe1stOfJanuary)
{
    // Every object has the same programs and differs only in its entry point. Cycles 1
    // and 2 run phases 1 and 2; phases have no minimum, so each decision shows at once.
    const std::string programs =
        R"("dirs":[],"phases":[{"i":1,"Tmin":0},{"i":2,"Tmin":0},{"i":3,"Tmin":0}],)"
        R"("cycles":[{"i":1,"T":60,"m":[[1,0]]},{"i":2,"T":60,"m":[[2,0]]}],)"
        R"("day_plans":[{"i":1,"m":[[6,0,"cycle",1],[12,0,"phase",3],[22,0,"cycle",2],[-1,30,"cycle",1]]}],)"
        R"("week_plans":[{"i":1,"m":[[1,"day",1],[3,"cycle",1],[7,"cycle",2]]},{"i":2,"m":[[2,"cycle",1],[5,"cycle",2]]}],)"
        R"("year_plans":[{"i":1,"m":[[1,1,"week",1],[6,1,"cycle",1]]},{"i":2,"m":[[3,8,"cycle",1],[12,25,"phase",3]]}])";
    const auto object = [&](const std::string &enter) {
        return "{" + programs + ",\"enter\":" + enter + "}";
    };
    const std::string config =
        Config("[]", "{}", "[]", "[]",
               "[" + object(R"(["day",1])") + "," + object(R"(["week",1])") + "," + object(R"(["week",2])") +
                   "," + object(R"(["year",1])") + "," + object(R"(["year",2])") + "," +
                   object(R"(["day",9])") + "," + R"({"en":false,"dirs":[]}])");
    OpenedModel opened(config);
    ASSERT_EQ(opened.status(), kStatusOk);

    // Per object: phase / cycle / day / week / year plan numbers.
    using Row = std::array<int, 5>;
    const struct {
        const char *clock;
        std::uint32_t time;
        std::array<Row, 7> objects;
    } seconds[] = {
        // 03:00: before the first entry of the day the last one (22:00, cycle 2) holds.
        {"03:00",
         3 * 3600,
         {Row{2, 2, 1, 0, 0}, Row{2, 2, 1, 1, 0}, Row{2, 2, 0, 2, 0}, Row{2, 2, 1, 1, 1}, Row{3, 0, 0, 0, 2},
          Row{14, 0, 9, 0, 0}, Row{14, 0, 0, 0, 0}}},
        {"06:00",
         6 * 3600,
         {Row{1, 1, 1, 0, 0}, Row{1, 1, 1, 1, 0}, Row{2, 2, 0, 2, 0}, Row{1, 1, 1, 1, 1}, Row{3, 0, 0, 0, 2},
          Row{14, 0, 9, 0, 0}, Row{14, 0, 0, 0, 0}}},
        {"11:59",
         12 * 3600 - 1,
         {Row{1, 1, 1, 0, 0}, Row{1, 1, 1, 1, 0}, Row{2, 2, 0, 2, 0}, Row{1, 1, 1, 1, 1}, Row{3, 0, 0, 0, 2},
          Row{14, 0, 9, 0, 0}, Row{14, 0, 0, 0, 0}}},
        // A phase chosen by the day plan: no cycle is involved.
        {"12:00",
         12 * 3600,
         {Row{3, 0, 1, 0, 0}, Row{3, 0, 1, 1, 0}, Row{2, 2, 0, 2, 0}, Row{3, 0, 1, 1, 1}, Row{3, 0, 0, 0, 2},
          Row{14, 0, 9, 0, 0}, Row{14, 0, 0, 0, 0}}},
        {"22:00",
         22 * 3600,
         {Row{2, 2, 1, 0, 0}, Row{2, 2, 1, 1, 0}, Row{2, 2, 0, 2, 0}, Row{2, 2, 1, 1, 1}, Row{3, 0, 0, 0, 2},
          Row{14, 0, 9, 0, 0}, Row{14, 0, 0, 0, 0}}},
        {"next day 06:30",
         86400 + 6 * 3600 + 1800,
         {Row{1, 1, 1, 0, 0}, Row{1, 1, 1, 1, 0}, Row{2, 2, 0, 2, 0}, Row{1, 1, 1, 1, 1}, Row{3, 0, 0, 0, 2},
          Row{14, 0, 9, 0, 0}, Row{14, 0, 0, 0, 0}}},
    };
    for (const auto &second : seconds) {
        AllOutputs out;
        ASSERT_EQ(StepAll(opened.model(), second.time, {}, &out), kStatusOk) << second.clock;
        for (std::size_t i = 0; i < second.objects.size(); ++i) {
            const Row got{out.phase[i], out.cycle[i], out.day[i], out.week[i], out.year[i]};
            EXPECT_EQ(got, second.objects[i]) << second.clock << ", object " << i + 1;
        }
    }
}

TEST(ModelStepAll, TriggerResetRules)
{
    // Object 1: direction 1 green in phase 1 (green time 3), red in phase 2; direction
    // 2 the other way round. A fixed-time cycle of 20 s switches to phase 2 at 10 s.
    // Object 2 keeps direction 3 in its special states. The caller sets every trigger
    // at every second; what comes back shows which rule cleared it.
    const struct {
        const char *rule;
        int src;
        const char *args;
        std::vector<int> cleared; // seconds (1-based) after which the trigger reads 0; {-1}: all
    } rules[] = {
        {"0: every step", 0, "[1]", {-1}},
        {"1: every step", 1, "[1]", {-1}},
        {"2: green-to-red transition (there is none)", 2, "[1]", {}},
        {"3: red begins", 3, "[1]", {1, 11}},
        {"4: red", 4, "[1]", {2, 12, 13}},
        {"5: red time equals TminR", 5, "[2]", {3}},
        {"6: red time reached TminR", 6, "[2]", {3, 4, 5, 6, 7, 8, 9, 10}},
        {"7: green starts", 7, "[1]", {3}},
        {"8: not red", 8, "[1]", {3, 4, 5, 6, 7, 8, 9, 10}},
        {"9: red-to-green transition (there is none)", 9, "[1]", {}},
        {"10: green entered", 10, "[1]", {3}},
        {"11: green, from the step it starts", 11, "[1]", {3, 4, 5, 6, 7, 8, 9, 10}},
        {"12: green time equals gdur", 12, "[1]", {6}},
        {"13: green beyond gdur", 13, "[1]", {6, 7, 8, 9, 10}},
        {"14: green ends", 14, "[1]", {11}},
        {"2..14: a special state always clears", 2, "[3]", {-1}},
        {"15: phase 2 entered by object 1", 15, "[2,1]", {11}},
        {"16: object 1 in phase 1", 16, "[1,1]", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {"17: phase 1 left by object 1", 17, "[1,1]", {11}},
        {"16: object beyond the list means phase 0", 16, "[0,5]", {-1}},
        {"16 with one argument", 16, "[1]", {}},
        {"3 without arguments", 3, "[]", {}},
        {"3 naming no direction", 3, "[9]", {}},
        {"18: never", 18, "[1]", {}},
        {"255: never", 255, "[1]", {}},
    };
    std::string triggers = "[";
    for (const auto &rule : rules)
        triggers += std::string(triggers.size() > 1 ? "," : "") + R"({"args":[],"res":{"src":)" +
                    std::to_string(rule.src) + R"(,"args":)" + rule.args + "}}";
    triggers += "]";
    const std::string config =
        Config(triggers, R"({"TminG":3,"TminR":2,"at":[{},{},{}]})", "[]", "[]",
               R"([{"dirs":[1,2],"phases":[{"i":1,"Tmin":0,"m":[[2,3],[1]]},{"i":2,"Tmin":0,"m":[[1],[2]]}],)"
               R"("cycles":[{"i":1,"T":20,"m":[[1,0],[2,10]]}],"enter":["cycle",1]},)"
               R"({"dirs":[3],"enter":["phase",14]}])");
    OpenedModel opened(config);
    ASSERT_EQ(opened.status(), kStatusOk);
    const std::vector<std::uint8_t> set(std::size(rules), 1);
    for (int second = 1; second <= 13; ++second) {
        AllOutputs out;
        ASSERT_EQ(StepAll(opened.model(), static_cast<std::uint32_t>(second - 1), set, &out), kStatusOk);
        for (std::size_t i = 0; i < std::size(rules); ++i) {
            const auto &cleared = rules[i].cleared;
            const bool expectCleared = (!cleared.empty() && cleared[0] == -1) ||
                                       std::find(cleared.begin(), cleared.end(), second) != cleared.end();
            EXPECT_EQ(out.trig[i], expectCleared ? 0 : 1)
                << "rule " << rules[i].rule << ", second " << second;
        }
    }
    // A trigger the caller does not set stays 0.
    AllOutputs out;
    ASSERT_EQ(StepAll(opened.model(), 13, std::vector<std::uint8_t>(std::size(rules), 0), &out), kStatusOk);
    EXPECT_EQ(std::count(out.trig.begin(), out.trig.end(), 0), static_cast<long>(std::size(rules)));
}

TEST(ModelStepAll, SignalGroupOutputs)
{
    // The vehicle template (one input), a two-input type with ranges, a type without
    // inputs and one without rows.
    const std::string types =
        R"([{"type":1,"in_length":1,"out":[1,0,0],"states":[{"in":[1],"out":[1,0,0]},{"in":[2],"out":[0,0,1]},)"
        R"({"in":[3],"out":[0,0,1]},{"in":[4],"out":[0,0,2]},{"in":[5],"out":[0,1,0]},{"in":[6],"out":[1,1,0]},)"
        R"({"in":[-3],"out":[1,0,0]},{"in":[-2],"out":[0,2,0]},{"in":[-1],"out":[0,0,0]}]},)"
        R"({"in_length":2,"out":[9,9],"states":[{"in":[[1,2],[-3,-1]],"out":[4,4]},{"in":[[2,2],1],"out":[5,5]}]},)"
        R"({"in_length":0,"out":[8],"states":[{"out":[6]},{"out":[7]}]},)"
        R"({"in_length":1,"out":[2,2]}])";
    const std::string groups =
        R"([{"ti":1,"dirs":[1]},{"ti":1,"dirs":[2]},{"ti":2,"dirs":[1,-1]},{"ti":3,"dirs":[]},)"
        R"({"ti":4,"dirs":[1]},{"ti":0,"dirs":[1]},{"ti":1,"dirs":[9]},{"ti":2,"dirs":[1]}])";
    // Direction 1 goes green through 2 s of red and yellow; direction 2 is commanded 0.
    const std::string config =
        Config("[{}]", R"({"TminR":2,"at":[{"R2G":1},{}]})", types, groups,
               R"([{"dirs":[1,2],"enter":["phase",1],"phases":[{"i":1,"m":[[2],[0]]}]}])",
               R"([{"tacts":[{"sec":2,"val":6}]}])");
    OpenedModel opened(config);
    ASSERT_EQ(opened.status(), kStatusOk);
    using Out = std::vector<std::uint8_t>;
    const Out untouched(4, 0xEE);
    const auto pad = [](Out bytes) {
        bytes.resize(4, 0xEE);
        return bytes;
    };
    const struct {
        int second;
        std::uint8_t trigger;
        const char *dirStates; // direction 1, direction 2
        std::vector<Out> groups;
    } steps[] = {
        {1, 0, "\x01\x01", {{1, 0, 0}, {1, 0, 0}, {9, 9}, {6}, {2, 2}, {}, {0, 0, 0}, {4, 4}}},
        {2, 0, "\x01\x01", {{1, 0, 0}, {1, 0, 0}, {9, 9}, {6}, {2, 2}, {}, {0, 0, 0}, {4, 4}}},
        // Red and yellow lights red and yellow; state 0 is in no row: the defaults.
        {3, 0, "\x06\x00", {{1, 1, 0}, {1, 0, 0}, {9, 9}, {6}, {2, 2}, {}, {0, 0, 0}, {9, 9}}},
        {4, 1, "\x06\x00", {{1, 1, 0}, {1, 0, 0}, {9, 9}, {6}, {2, 2}, {}, {0, 0, 0}, {9, 9}}},
        {5, 0, "\x02\x00", {{0, 0, 1}, {1, 0, 0}, {9, 9}, {6}, {2, 2}, {}, {0, 0, 0}, {4, 4}}},
        {6, 1, "\x02\x00", {{0, 0, 1}, {1, 0, 0}, {5, 5}, {6}, {2, 2}, {}, {0, 0, 0}, {4, 4}}},
    };
    for (const auto &step : steps) {
        AllOutputs out;
        ASSERT_EQ(StepAll(opened.model(), 0, {step.trigger}, &out), kStatusOk);
        EXPECT_EQ(out.dirs, Out(step.dirStates, step.dirStates + 2)) << "second " << step.second;
        for (std::size_t g = 0; g < step.groups.size(); ++g) {
            const Out expected = step.groups[g].empty() ? untouched : pad(step.groups[g]);
            EXPECT_EQ(out.groups[g], expected) << "second " << step.second << ", group " << g + 1;
        }
    }
    // Null buffers are skipped.
    EXPECT_EQ(NextAll(7, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), kStatusOk);
    std::vector<std::uint8_t *> buffers(8, nullptr);
    EXPECT_EQ(NextAll(8, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, buffers.data()),
              kStatusOk);
}

TEST(ModelStepCalls, StatusHandlingTouchesNoBuffer)
{
    std::uint8_t trig[2] = {1, 1};
    std::uint8_t phase = 0xEE;
    std::uint8_t states[2] = {0xEE, 0xEE};
    std::uint8_t perObject[2] = {0xEE, 0xEE};
    std::uint8_t *groups[1] = {perObject};
    const auto untouched = [&] {
        return trig[0] == 1 && trig[1] == 1 && phase == 0xEE && states[0] == 0xEE && states[1] == 0xEE &&
               perObject[0] == 0xEE && perObject[1] == 0xEE;
    };
    const auto next = [&](std::int32_t so) { return Next(so, 0, trig, &phase, states); };
    const auto nextAll = [&] {
        return NextAll(0, trig, perObject, perObject, perObject, perObject, perObject, states, groups);
    };

    ASSERT_EQ(CurrentModel(), nullptr);
    EXPECT_EQ(next(0), kStatusNoModel);
    EXPECT_EQ(nextAll(), kStatusNoModel);
    EXPECT_TRUE(untouched());

    const std::string version5 = R"({"ver":5,"promtacts":[],"triggers":[],"dirs":{},"sig_group_types":[],)"
                                 R"("sig_groups":[],"sos":[{"dirs":[]}]})";
    ASSERT_EQ(Open(version5.data(), version5.data() + version5.size()), kStatusBadVersion);
    EXPECT_EQ(next(0), kStatusBadVersion);
    EXPECT_EQ(nextAll(), kStatusBadVersion);
    EXPECT_TRUE(untouched());
    EXPECT_EQ(Close(), kStatusOk);

    const std::string good = R"({"ver":1,"promtacts":[],"triggers":[{},{}],"dirs":{"at":[{},{}]},)"
                             R"("sig_group_types":[],"sig_groups":[],"sos":[{"dirs":[1,2]},{"dirs":[2]}]})";
    ASSERT_EQ(Open(good.data(), good.data() + good.size()), kStatusOk);
    for (const std::int32_t so : {-1, 2, 256, 0x7FFFFFFF})
        EXPECT_EQ(next(so), kStatusBadSignalObject) << so;
    EXPECT_TRUE(untouched());
    EXPECT_EQ(CurrentModel()->stepCounter, 0u); // the refused calls did not count
    EXPECT_EQ(next(1), kStatusOk);
    EXPECT_EQ(phase, 14);
    EXPECT_EQ(Close(), kStatusOk);
    EXPECT_EQ(next(0), kStatusNoModel);
}

TEST(ModelStepCalls, StepCounterAndRequestByte)
{
    // A fixed-time cycle of 10 s: phase 1 for seconds 0..4, phase 2 for 5..9. The
    // preview's time counts calls since open.
    const std::string config = Config("[]", "{}", "[]", "[]",
                                      R"([{"dirs":[],"phases":[{"i":1,"Tmin":0},{"i":2,"Tmin":0}],)"
                                      R"("cycles":[{"i":1,"T":10,"m":[[1,0],[2,5]]}]}])");
    const auto phases = [](std::int32_t request, int calls) {
        std::string seen;
        for (int i = 0; i < calls; ++i) {
            std::uint8_t phase = 0;
            EXPECT_EQ(Next(0, request, nullptr, &phase, nullptr), kStatusOk);
            seen += std::to_string(phase);
        }
        return seen;
    };
    ASSERT_EQ(Open(config.data(), config.data() + config.size()), kStatusOk);
    EXPECT_EQ(phases(1, 12), "111112222211");
    ASSERT_EQ(Open(config.data(), config.data() + config.size()), kStatusOk); // the counter starts again
    EXPECT_EQ(phases(0x101, 6), "111112");                                    // only the low byte counts
    EXPECT_EQ(phases(0x1FF, 1), "15");                                        // low byte 255: off
    EXPECT_EQ(Close(), kStatusOk);
}

} // namespace
