// Loading a configuration into the model: sections, defaults, truncation, status codes.
#include "ModelTestSupport.h"

#include "model_library/ModelStatus.h"

#include <gtest/gtest.h>

#include <functional>

using namespace vantor::model;
using vantor::model::test::Compact;
using vantor::model::test::DumpConfig;
using vantor::model::test::OpenedModel;
using vantor::model::test::ReadTestData;

namespace {

// The sections the model reads; an empty string leaves the member out.
struct Sections {
    std::string ver = "1";
    std::string promtacts = "[]";
    std::string triggers = "[]";
    std::string dirs = "{}";
    std::string types = "[]";
    std::string groups = "[]";
    std::string sos = "[]";

    std::string Text() const
    {
        std::string text = "{\"n\":\"x\"";
        const auto add = [&text](const char *key, const std::string &value) {
            if (!value.empty())
                text += std::string(",\"") + key + "\":" + value;
        };
        add("ver", ver);
        add("promtacts", promtacts);
        add("triggers", triggers);
        add("dirs", dirs);
        add("sig_group_types", types);
        add("sig_groups", groups);
        add("sos", sos);
        return text + "}";
    }
};

std::string Repeat(const std::string &element, int count)
{
    std::string text = "[";
    for (int i = 0; i < count; ++i)
        text += (i ? "," : "") + element;
    return text + "]";
}

TEST(ModelLoader, StatusCodesInTheirOrder)
{
    const struct {
        const char *name;
        std::function<void(Sections &)> change;
        std::int32_t status;
    } cases[] = {
        {"complete", [](Sections &) {}, kStatusOk},
        {"ver 0", [](Sections &s) { s.ver = "0"; }, kStatusOk},
        {"ver -3", [](Sections &s) { s.ver = "-3"; }, kStatusOk},
        {"ver 1.9 reads 1", [](Sections &s) { s.ver = "1.9"; }, kStatusOk},
        {"ver true reads 1", [](Sections &s) { s.ver = "true"; }, kStatusOk},
        {"quoted ver reads 0", [](Sections &s) { s.ver = "\"5\""; }, kStatusOk},
        {"ver 2", [](Sections &s) { s.ver = "2"; }, kStatusBadVersion},
        {"ver huge", [](Sections &s) { s.ver = "4294967297"; }, kStatusBadVersion},
        {"ver missing", [](Sections &s) { s.ver.clear(); }, kStatusBadVersion},
        {"ver is an array", [](Sections &s) { s.ver = "[1]"; }, kStatusBadVersion},
        {"promtacts missing", [](Sections &s) { s.promtacts.clear(); }, kStatusNoPromtacts},
        {"promtacts an object", [](Sections &s) { s.promtacts = "{}"; }, kStatusNoPromtacts},
        {"unbalanced text hides the whole root", [](Sections &s) { s.promtacts = "[{}"; }, kStatusBadVersion},
        {"triggers missing", [](Sections &s) { s.triggers.clear(); }, kStatusNoTriggers},
        {"triggers a number", [](Sections &s) { s.triggers = "3"; }, kStatusNoTriggers},
        {"dirs missing", [](Sections &s) { s.dirs.clear(); }, kStatusNoDirs},
        {"dirs an array", [](Sections &s) { s.dirs = "[]"; }, kStatusNoDirs},
        {"types missing", [](Sections &s) { s.types.clear(); }, kStatusNoSigGroupTypes},
        {"groups missing", [](Sections &s) { s.groups.clear(); }, kStatusNoSigGroups},
        {"sos missing", [](Sections &s) { s.sos.clear(); }, kStatusNoSos},
        {"sos an object", [](Sections &s) { s.sos = "{}"; }, kStatusNoSos},
        // The first failing condition in the order -2, -3, -4, -5, -7, -8, -6 wins.
        {"all missing", [](Sections &s) { s = {"", "", "", "", "", "", ""}; }, kStatusBadVersion},
        {"bad ver before promtacts", [](Sections &s) { s.ver = "2", s.promtacts.clear(); },
         kStatusBadVersion},
        {"promtacts before triggers", [](Sections &s) { s.promtacts.clear(), s.triggers.clear(); },
         kStatusNoPromtacts},
        {"triggers before dirs", [](Sections &s) { s.triggers.clear(), s.dirs.clear(); }, kStatusNoTriggers},
        {"dirs before types", [](Sections &s) { s.dirs.clear(), s.types.clear(); }, kStatusNoDirs},
        {"types before sos", [](Sections &s) { s.types.clear(), s.sos.clear(); }, kStatusNoSigGroupTypes},
        {"groups before sos", [](Sections &s) { s.groups.clear(), s.sos.clear(); }, kStatusNoSigGroups},
        {"only ver", [](Sections &s) { s = {"1", "", "", "", "", "", ""}; }, kStatusNoPromtacts},
    };
    for (const auto &c : cases) {
        Sections sections;
        c.change(sections);
        OpenedModel opened(sections.Text());
        EXPECT_EQ(opened.status(), c.status) << c.name;
        EXPECT_EQ(opened.model().status, c.status) << c.name;
    }
}

TEST(ModelLoader, FailedLoadKeepsWhatWasLoadedBefore)
{
    Sections sections;
    sections.promtacts = "[{\"tacts\":[{\"sec\":3,\"val\":5}]}]";
    sections.triggers = "[{},{}]";
    sections.dirs = "{\"at\":[{\"G2R\":1}]}";
    sections.types = "[{\"out\":[1,0]}]";
    sections.groups.clear();
    sections.sos = "[{\"dirs\":[1]}]";
    OpenedModel opened(sections.Text());
    ASSERT_EQ(opened.status(), kStatusNoSigGroups);
    const ModelClass &model = opened.model();
    ASSERT_EQ(model.promtacts.size(), 1u);
    ASSERT_EQ(model.dirs.dirs.size(), 1u);
    EXPECT_EQ(model.dirs.dirs[0].G2R, &model.promtacts[0]);
    ASSERT_EQ(model.triggers.size(), 2u);
    EXPECT_EQ(model.triggers[1].dirs, &model.dirs); // given once the directions are loaded
    EXPECT_EQ(model.triggers[1].sos, nullptr);      // the signal objects never were
    EXPECT_EQ(model.sigGroupTypes.size(), 1u);
    EXPECT_TRUE(model.sigGroups.empty());
    EXPECT_EQ(model.sos.Count(), 0u);
}

TEST(ModelLoader, ShortListsLongerThan255StopLoading)
{
    const auto so = [](const std::string &members) { return "[{\"dirs\":[]," + members + "}]"; };
    const struct {
        const char *list;
        std::function<void(Sections &, int)> fill;
    } cases[] = {
        {"promtacts", [](Sections &s, int n) { s.promtacts = Repeat("{}", n); }},
        {"tacts", [](Sections &s, int n) { s.promtacts = "[{\"tacts\":" + Repeat("{\"sec\":1}", n) + "}]"; }},
        {"directions", [](Sections &s, int n) { s.dirs = "{\"at\":" + Repeat("{}", n) + "}"; }},
        {"conflicts",
         [](Sections &s, int n) { s.dirs = "{\"at\":[{\"conflicts\":" + Repeat("[10,1,3]", n) + "}]}"; }},
        {"trigger args", [](Sections &s, int n) { s.triggers = "[{\"args\":" + Repeat("[]", n) + "}]"; }},
        {"reset args",
         [](Sections &s, int n) {
             s.triggers = "[{\"args\":[],\"res\":{\"src\":2,\"args\":" + Repeat("1", n) + "}}]";
         }},
        {"type outputs", [](Sections &s, int n) { s.types = "[{\"out\":" + Repeat("0", n) + "}]"; }},
        {"type states",
         [](Sections &s, int n) {
             s.types =
                 "[{\"in_length\":1,\"out\":[0],\"states\":" + Repeat("{\"in\":[1],\"out\":[1]}", n) + "}]";
         }},
        {"group sources",
         [](Sections &s, int n) {
             s.types = "[{\"out\":[0]}]";
             s.groups = "[{\"ti\":1,\"dirs\":" + Repeat("1", n) + "}]";
         }},
        {"signal objects", [](Sections &s, int n) { s.sos = Repeat("{\"en\":false}", n); }},
        {"object directions", [](Sections &s, int n) { s.sos = "[{\"dirs\":" + Repeat("1", n) + "}]"; }},
        {"phases", [&](Sections &s, int n) { s.sos = so("\"phases\":" + Repeat("{}", n)); }},
        {"cycles", [&](Sections &s, int n) { s.sos = so("\"cycles\":" + Repeat("{}", n)); }},
        {"cycle steps",
         [&](Sections &s, int n) { s.sos = so("\"cycles\":[{\"m\":" + Repeat("[1,5]", n) + "}]"); }},
        {"day plans", [&](Sections &s, int n) { s.sos = so("\"day_plans\":" + Repeat("{}", n)); }},
        {"day entries",
         [&](Sections &s, int n) {
             s.sos = so("\"day_plans\":[{\"m\":" + Repeat("[6,0,\"phase\",1]", n) + "}]");
         }},
        {"week plans", [&](Sections &s, int n) { s.sos = so("\"week_plans\":" + Repeat("{}", n)); }},
        {"week entries",
         [&](Sections &s, int n) {
             s.sos = so("\"week_plans\":[{\"m\":" + Repeat("[1,\"day\",1]", n) + "}]");
         }},
        {"year plans", [&](Sections &s, int n) { s.sos = so("\"year_plans\":" + Repeat("{}", n)); }},
        {"year entries",
         [&](Sections &s, int n) {
             s.sos = so("\"year_plans\":[{\"m\":" + Repeat("[1,1,\"day\",1]", n) + "}]");
         }},
    };
    for (const auto &c : cases) {
        for (const int n : {255, 256}) {
            Sections sections;
            c.fill(sections, n);
            OpenedModel opened(sections.Text());
            EXPECT_EQ(opened.status(), n == 255 ? kStatusOk : kStatusListTooLong) << c.list << " " << n;
        }
    }
}

TEST(ModelLoader, ListsWithAWideCountTakeMoreThan255)
{
    Sections sections;
    sections.triggers = Repeat("{}", 300);
    sections.types = Repeat("{\"out\":[1]}", 300);
    sections.groups = Repeat("{\"ti\":300,\"trig\":" + Repeat("0", 300) + "}", 300);
    OpenedModel opened(sections.Text());
    ASSERT_EQ(opened.status(), kStatusOk);
    EXPECT_EQ(opened.model().triggers.size(), 300u);
    EXPECT_EQ(opened.model().triggers[299].number, 300 % 256); // the number is one byte
    EXPECT_EQ(opened.model().sigGroupTypes.size(), 300u);
    ASSERT_EQ(opened.model().sigGroups.size(), 300u);
    EXPECT_EQ(opened.model().sigGroups[299].type, &opened.model().sigGroupTypes[299]);
    EXPECT_EQ(opened.model().sigGroups[299].trigCount, 300u);
}

TEST(ModelLoader, DefaultsOfEveryClass)
{
    Sections sections;
    sections.promtacts = "[{},{\"tacts\":5},{\"tacts\":[{}]}]";
    sections.triggers =
        "[{},{\"log\":2,\"args\":5,\"res\":{\"src\":3,\"args\":[1]}},{\"args\":[[]],\"res\":[]},"
        "{\"args\":[],\"res\":{\"src\":4,\"args\":{}}}]";
    sections.dirs =
        "{\"TminG\":12,\"TminR\":3,\"Takk\":6,\"at\":[{},5,{\"TminG\":20,\"TMinG\":30,\"TMinR\":9,"
        "\"conflicts\":[[],[12]]}]}";
    sections.types = "[{},{\"in_length\":2,\"type\":3},{\"out\":[],\"states\":[{}]},"
                     "{\"in_length\":2,\"out\":[4,5],\"states\":[{\"in\":[[7],{}]}]}]";
    sections.groups = "[{},{\"ti\":4},{\"ti\":4,\"dirs\":5,\"trig\":[1]},{\"ti\":0,\"dirs\":[1]},{\"ti\":5}]";
    sections.sos =
        "[{},{\"en\":false,\"dirs\":[1]},5,{\"dirs\":[1,2],\"phases\":[{}],\"cycles\":[{}],"
        "\"day_plans\":[{\"m\":[[]]}],\"week_plans\":[{\"m\":[[]]}],\"year_plans\":[{\"m\":[[]]}]},"
        "{\"enter\":[\"cycle\",2]}]";
    OpenedModel opened(sections.Text());
    ASSERT_EQ(opened.status(), kStatusOk);
    const std::string expected = R"(status 0
promtact
promtact
promtact 0:0
trigger 1 log 0 not 0 src 0 res [] args dirs 1 sos 1
trigger 2 log 2 not 0 src 0 res [] args dirs 1 sos 1
trigger 3 log 0 not 0 src 0 res [] args [0,0,0,000000] dirs 1 sos 1
trigger 4 log 0 not 0 src 4 res [] args dirs 1 sos 1
dirs 12 3 6
dir 12 3 6 prior 0 prio 0 R2G 0 G2R 0 conflicts
dir 10 5 4 prior 0 prio 0 R2G 0 G2R 0 conflicts
dir 20 3 6 prior 0 prio 0 R2G 0 G2R 0 conflicts 0/0/0 12/0/0
type 0 in 0 out [] states 0 
type 0 in 0 out [] states 0 
type 0 in 0 out [] states 1 
type 0 in 2 out [4,5] states 1 7,0,0,0,0,0,
group type 0 sources [] outputs [] trig 0
group type 4 sources [] outputs [3,3] trig 0
group type 4 sources [] outputs [3,3] trig 0
group type 0 sources [] outputs [] trig 0
group type 0 sources [] outputs [] trig 0
so loaded 0 enter 0/0 dirs [] triggers 1
so loaded 0 enter 0/0 dirs [] triggers 1
so loaded 0 enter 0/0 dirs [] triggers 1
so loaded 1 enter 0/0 dirs [1,2] triggers 1
 phase 0 10 4 1/0/0/0/0/0 1/0/0/0/0/0
 cycle 0 T 0
 day 0 0:0/0/0
 week 0 0/0/0
 year 0 -33/0/0
so loaded 0 enter 0/0 dirs [] triggers 1
)";
    EXPECT_EQ(DumpConfig(opened.model()), expected);
    // Run-time fields start in the initial state.
    const DirClass &dir = opened.model().dirs.dirs[0];
    EXPECT_EQ(dir.state, kStateOff);
    EXPECT_EQ(dir.cmd, kStateOff);
    EXPECT_EQ(dir.prevcmd, kStateOff);
    EXPECT_EQ(dir.target, kStateOff);
    EXPECT_EQ(dir.stage, kStageSpecial);
    EXPECT_EQ(opened.model().stepCounter, 0u);
    for (const auto &group : opened.model().sigGroups)
        for (auto value : group.outputs)
            EXPECT_EQ(value, 3);
}

TEST(ModelLoader, NarrowFieldsAreTruncatedToTheirWidth)
{
    const struct {
        const char *field;
        std::function<void(Sections &)> set;
        std::function<std::int64_t(const ModelClass &)> get;
        std::int64_t expected;
    } cases[] = {
        {"container TminG 16-bit", [](Sections &s) { s.dirs = "{\"TminG\":65546}"; },
         [](const ModelClass &m) { return m.dirs.TminG; }, 10},
        {"direction Takk 16-bit", [](Sections &s) { s.dirs = "{\"at\":[{\"Takk\":-1}]}"; },
         [](const ModelClass &m) { return m.dirs.dirs[0].Takk; }, 65535},
        {"prior 8-bit", [](Sections &s) { s.dirs = "{\"at\":[{\"prior\":257}]}"; },
         [](const ModelClass &m) { return m.dirs.dirs[0].prior; }, 1},
        {"conflict kind 8-bit", [](Sections &s) { s.dirs = "{\"at\":[{\"conflicts\":[[266,257,70000]]}]}"; },
         [](const ModelClass &m) { return m.dirs.dirs[0].conflicts[0].kind; }, 10},
        {"conflict dir 8-bit", [](Sections &s) { s.dirs = "{\"at\":[{\"conflicts\":[[266,257,70000]]}]}"; },
         [](const ModelClass &m) { return m.dirs.dirs[0].conflicts[0].dir; }, 1},
        {"conflict time signed 16-bit",
         [](Sections &s) { s.dirs = "{\"at\":[{\"conflicts\":[[266,257,70000]]}]}"; },
         [](const ModelClass &m) { return m.dirs.dirs[0].conflicts[0].time; }, 4464},
        {"R2G range-tested in full",
         [](Sections &s) {
             s.promtacts = "[{}]";
             s.dirs = "{\"at\":[{\"R2G\":4294967297}]}";
         },
         [](const ModelClass &m) { return m.dirs.dirs[0].R2G != nullptr; }, 0},
        {"tact sec signed 16-bit",
         [](Sections &s) { s.promtacts = "[{\"tacts\":[{\"sec\":40000,\"val\":300}]}]"; },
         [](const ModelClass &m) { return m.promtacts[0].tacts[0].sec; }, -25536},
        {"tact val 8-bit", [](Sections &s) { s.promtacts = "[{\"tacts\":[{\"sec\":40000,\"val\":300}]}]"; },
         [](const ModelClass &m) { return m.promtacts[0].tacts[0].val; }, 44},
        {"trigger log 8-bit", [](Sections &s) { s.triggers = "[{\"log\":513}]"; },
         [](const ModelClass &m) { return m.triggers[0].log; }, 1},
        {"trigger arg value 8-bit", [](Sections &s) { s.triggers = "[{\"args\":[[258]]}]"; },
         [](const ModelClass &m) { return m.triggers[0].args[0].values[0]; }, 2},
        {"reset src 8-bit",
         [](Sections &s) { s.triggers = "[{\"args\":[],\"res\":{\"src\":267,\"args\":[]}}]"; },
         [](const ModelClass &m) { return m.triggers[0].src; }, 11},
        {"reset arg 32-bit",
         [](Sections &s) { s.triggers = "[{\"args\":[],\"res\":{\"args\":[4294967301]}}]"; },
         [](const ModelClass &m) { return m.triggers[0].resArgs[0]; }, 5},
        {"type in_length 8-bit",
         [](Sections &s) { s.types = "[{\"in_length\":257,\"type\":264,\"out\":[]}]"; },
         [](const ModelClass &m) { return m.sigGroupTypes[0].inLength; }, 1},
        {"type code 8-bit", [](Sections &s) { s.types = "[{\"in_length\":257,\"type\":264,\"out\":[]}]"; },
         [](const ModelClass &m) { return m.sigGroupTypes[0].type; }, 8},
        {"type default output 8-bit", [](Sections &s) { s.types = "[{\"out\":[511]}]"; },
         [](const ModelClass &m) { return m.sigGroupTypes[0].defaults[0]; }, 255},
        {"state lo signed 8-bit",
         [](Sections &s) { s.types = "[{\"in_length\":1,\"out\":[],\"states\":[{\"in\":[[383,-200]]}]}]"; },
         [](const ModelClass &m) { return static_cast<std::int8_t>(m.sigGroupTypes[0].Row(0)[0]); }, 127},
        {"state hi signed 8-bit",
         [](Sections &s) { s.types = "[{\"in_length\":1,\"out\":[],\"states\":[{\"in\":[[383,-200]]}]}]"; },
         [](const ModelClass &m) { return static_cast<std::int8_t>(m.sigGroupTypes[0].Row(0)[1]); }, 56},
        {"group source signed 8-bit",
         [](Sections &s) {
             s.types = "[{\"out\":[]}]";
             s.groups = "[{\"ti\":1,\"dirs\":[-129,200]}]";
         },
         [](const ModelClass &m) { return m.sigGroups[0].sources[0] * 1000 + m.sigGroups[0].sources[1]; },
         127 * 1000 - 56},
        {"ti range-tested in full",
         [](Sections &s) {
             s.types = "[{\"out\":[]}]";
             s.groups = "[{\"ti\":4294967297}]";
         },
         [](const ModelClass &m) { return m.sigGroups[0].type != nullptr; }, 0},
        {"enter number 8-bit", [](Sections &s) { s.sos = "[{\"dirs\":[],\"enter\":[\"phase\",257]}]"; },
         [](const ModelClass &m) { return m.sos.objects[0].enterNumber; }, 1},
        {"object direction 8-bit", [](Sections &s) { s.sos = "[{\"dirs\":[258]}]"; },
         [](const ModelClass &m) { return m.sos.objects[0].dirs[0]; }, 2},
        {"phase number 8-bit",
         [](Sections &s) { s.sos = "[{\"dirs\":[1],\"phases\":[{\"i\":259,\"Tmin\":65537}]}]"; },
         [](const ModelClass &m) { return m.sos.objects[0].phases[0].number; }, 3},
        {"phase Tmin 16-bit",
         [](Sections &s) { s.sos = "[{\"dirs\":[1],\"phases\":[{\"i\":259,\"Tmin\":65537}]}]"; },
         [](const ModelClass &m) { return m.sos.objects[0].phases[0].Tmin; }, 1},
        {"phase entry cmd 8-bit",
         [](Sections &s) { s.sos = "[{\"dirs\":[1],\"phases\":[{\"m\":[[258,65536]]}]}]"; },
         [](const ModelClass &m) { return m.sos.objects[0].phases[0].entries[0].cmd; }, 2},
        {"phase entry time 16-bit",
         [](Sections &s) { s.sos = "[{\"dirs\":[1],\"phases\":[{\"m\":[[258,65536]]}]}]"; },
         [](const ModelClass &m) { return m.sos.objects[0].phases[0].entries[0].time; }, 0},
        {"cycle T 32-bit before the modulo",
         [](Sections &s) { s.sos = "[{\"dirs\":[],\"cycles\":[{\"T\":4294967356,\"m\":[[1,75]]}]}]"; },
         [](const ModelClass &m) { return m.sos.objects[0].cycles[0].steps[0].start; }, 15},
        {"cycle T truncated to 0 keeps the start",
         [](Sections &s) { s.sos = "[{\"dirs\":[],\"cycles\":[{\"T\":4294967296,\"m\":[[1,75]]}]}]"; },
         [](const ModelClass &m) { return m.sos.objects[0].cycles[0].steps[0].start; }, 75},
        {"step start 32-bit",
         [](Sections &s) { s.sos = "[{\"dirs\":[],\"cycles\":[{\"m\":[[1,2147483648]]}]}]"; },
         [](const ModelClass &m) { return m.sos.objects[0].cycles[0].steps[0].start; }, -2147483648LL},
        {"step min 16-bit",
         [](Sections &s) { s.sos = "[{\"dirs\":[],\"cycles\":[{\"m\":[[1,0,65540,1,2,3]]}]}]"; },
         [](const ModelClass &m) { return m.sos.objects[0].cycles[0].steps[0].min; }, 4},
        {"day hour signed 8-bit",
         [](Sections &s) { s.sos = "[{\"dirs\":[],\"day_plans\":[{\"m\":[[255,200]]}]}]"; },
         [](const ModelClass &m) { return m.sos.objects[0].dayPlans[0].entries[0].hour; }, -1},
        {"day minute signed 8-bit",
         [](Sections &s) { s.sos = "[{\"dirs\":[],\"day_plans\":[{\"m\":[[255,200]]}]}]"; },
         [](const ModelClass &m) { return m.sos.objects[0].dayPlans[0].entries[0].minute; }, -56},
        {"weekday 8-bit", [](Sections &s) { s.sos = "[{\"dirs\":[],\"week_plans\":[{\"m\":[[263]]}]}]"; },
         [](const ModelClass &m) { return m.sos.objects[0].weekPlans[0].entries[0].weekday; }, 7},
        {"date key 16-bit",
         [](Sections &s) { s.sos = "[{\"dirs\":[],\"year_plans\":[{\"m\":[[2049,2]]}]}]"; },
         [](const ModelClass &m) { return m.sos.objects[0].yearPlans[0].entries[0].key; }, 1},
    };
    for (const auto &c : cases) {
        Sections sections;
        c.set(sections);
        OpenedModel opened(sections.Text());
        ASSERT_EQ(opened.status(), kStatusOk) << c.field;
        EXPECT_EQ(c.get(opened.model()), c.expected) << c.field;
    }
}

TEST(ModelLoader, EnterModesAndDateKeys)
{
    const struct {
        const char *enter;
        int mode;
        int number;
    } enters[] = {
        {"[\"phase\",3]", kProgramPhase, 3},
        {"[\"cycle\",2]", kProgramCycle, 2},
        {"[\"day\",4]", kProgramDay, 4},
        {"[\"week\",5]", kProgramWeek, 5},
        {"[\"year\",6]", kProgramYear, 6},
        {"[\"Phase\",3]", 0, 3},
        {"[\"plan\",1]", 0, 1},
        {"[]", 0, 0},
        {"[\"cycle\"]", kProgramCycle, 0},
        {"\"cycle\"", 0, 0},
        {"[cycle,2]", 0, 2},
    };
    for (const auto &c : enters) {
        Sections sections;
        sections.sos = std::string("[{\"dirs\":[],\"enter\":") + c.enter + "}]";
        OpenedModel opened(sections.Text());
        ASSERT_EQ(opened.status(), kStatusOk) << c.enter;
        EXPECT_EQ(opened.model().sos.objects[0].enterMode, c.mode) << c.enter;
        EXPECT_EQ(opened.model().sos.objects[0].enterNumber, c.number) << c.enter;
    }

    // Year plan dates become (month - 1) * 32 + (day - 1); plan entry kinds by name.
    Sections sections;
    sections.sos = "[{\"dirs\":[],\"year_plans\":[{\"i\":1,\"m\":[[1,1,\"phase\",1],[2,29,\"cycle\",2],"
                   "[12,31,\"day\",3],[12,32,\"week\",4],[0,1,\"year\",5]]}]}]";
    OpenedModel opened(sections.Text());
    ASSERT_EQ(opened.status(), kStatusOk);
    const auto &entries = opened.model().sos.objects[0].yearPlans[0].entries;
    ASSERT_EQ(entries.size(), 5u);
    const int keys[] = {0, 60, 382, 383, -32};
    const int modes[] = {kProgramPhase, kProgramCycle, kProgramDay, kProgramWeek, 0};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(entries[i].key, keys[i]) << i;
        EXPECT_EQ(entries[i].mode, modes[i]) << i;
        EXPECT_EQ(entries[i].number, i + 1) << i;
    }
}

TEST(ModelLoader, StartSecondsOfFixedTimeCyclesAreReducedModuloT)
{
    const struct {
        int T;
        long long start;
        int stored;
    } cases[] = {
        {60, 75, 15}, {60, -10, 50}, {60, 60, 0},   {60, 0, 0},      {60, -60, 0},
        {60, 59, 59}, {0, 75, 75},   {0, -10, -10}, {-60, -10, -70}, {-60, 75, 15},
    };
    for (const auto &c : cases) {
        Sections sections;
        sections.sos = "[{\"dirs\":[],\"cycles\":[{\"T\":" + std::to_string(c.T) + ",\"m\":[[1," +
                       std::to_string(c.start) + "]]}]}]";
        OpenedModel opened(sections.Text());
        ASSERT_EQ(opened.status(), kStatusOk);
        EXPECT_EQ(opened.model().sos.objects[0].cycles[0].steps[0].start, c.stored) << c.T << " " << c.start;
    }
}

TEST(ModelLoader, EscapedQuotesAndTrailingBlanksDoNotHideValues)
{
    // Both once made a value unreadable: a quote escaped inside a name emptied the
    // enclosing list, and "en": true followed by a blank read as false.
    const std::string text =
        R"({"ver":1,"promtacts":[{"n":"З-К \"А\"","tacts":[{"sec":3,"val":5}]}],"triggers":[{"n":"\"","log":1}],)"
        R"("dirs":{"at":[{"n":"Н\"1\"","prior":4}]},"sig_group_types":[],"sig_groups":[],)"
        R"("sos":[{"en":true ,"n":"СО \"1\"","dirs":[1] ,"phases":[{"n":"\\","i":7}]}]})";
    OpenedModel opened(text);
    ASSERT_EQ(opened.status(), kStatusOk);
    const ModelClass &model = opened.model();
    ASSERT_EQ(model.promtacts.size(), 1u);
    ASSERT_EQ(model.promtacts[0].tacts.size(), 1u);
    EXPECT_EQ(model.promtacts[0].tacts[0].val, 5);
    ASSERT_EQ(model.triggers.size(), 1u);
    EXPECT_EQ(model.triggers[0].log, 1);
    ASSERT_EQ(model.dirs.Count(), 1u);
    EXPECT_EQ(model.dirs.dirs[0].prior, 4);
    ASSERT_EQ(model.sos.Count(), 1u);
    EXPECT_TRUE(model.sos.objects[0].loaded);
    ASSERT_EQ(model.sos.objects[0].phases.size(), 1u);
    EXPECT_EQ(model.sos.objects[0].phases[0].number, 7);
}

TEST(ModelLoader, RealisticConfigurationLoadsEveryField)
{
    const std::string text = Compact(ReadTestData("crossroad.json"));
    OpenedModel opened(text);
    ASSERT_EQ(opened.status(), kStatusOk);
    // Hand-derived from crossroad.json. Directions take the container's "TminG" and
    // "TminR" unless they carry those exact keys ("TMinG"/"TMinR" are not read).
    const std::string expected = R"(status 0
promtact 6:4 3:5
promtact 2:6
promtact 3:4
trigger 1 log 0 not 0 src 11 res [5] args [1,2,3,010000] dirs 1 sos 1
trigger 2 log 1 not 1 src 16 res [2,1] args [2,1,4,101010] [3,1,5,000101] dirs 1 sos 1
trigger 3 log 2 not 0 src 0 res [0] args dirs 1 sos 1
dirs 12 3 5
dir 12 3 6 prior 2 prio 2 R2G 2 G2R 1 conflicts 10/3/3 10/4/4 5/7/0
dir 12 3 5 prior 1 prio 1 R2G 2 G2R 1 conflicts 10/3/3 10/4/3 10/6/2
dir 12 3 5 prior 0 prio 0 R2G 0 G2R 1 conflicts 10/1/3 10/2/3
dir 25 7 5 prior 0 prio 0 R2G 2 G2R 1 conflicts 10/1/4 10/2/3
dir 12 3 5 prior 0 prio 0 R2G 0 G2R 3 conflicts 0/1/0 12/6/5
dir 12 3 5 prior 0 prio 0 R2G 0 G2R 3 conflicts 12/5/5 10/2/2
dir 12 3 5 prior 3 prio 3 R2G 0 G2R 0 conflicts 5/1/0 10/8/4
dir 12 3 5 prior 3 prio 3 R2G 1 G2R 0 conflicts 10/7/4 0/0/0 0/0/0
type 1 in 1 out [1,0,0] states 9 1,1,1,0,0,2,2,0,0,1,3,3,0,0,1,4,4,0,0,2,5,5,0,1,0,6,6,1,1,0,-3,-3,1,0,0,-2,-2,0,2,0,-1,-1,0,0,0,
type 2 in 1 out [1,0] states 5 1,1,1,0,2,2,0,1,3,3,0,2,4,4,0,2,-2,-2,0,0,
type 8 in 2 out [0] states 1 2,6,2,4,3,
group type 1 sources [1] outputs [3,3,3] trig 0
group type 2 sources [5,-1] outputs [3,3] trig 2
group type 3 sources [1,2] outputs [3] trig 0
group type 1 sources [7,-3,0] outputs [3,3,3] trig 0
group type 0 sources [] outputs [] trig 0
so loaded 1 enter 5/1 dirs [1,2,3,4,5,6] triggers 1
 phase 1 15 4 2/20/0/1/0/0 2/0/3/4/1/5 1/0/0/0/0/0 1/0/0/0/0/0 1/0/0/0/0/0 2/8/0/2/1/0
 phase 2 12 3 1/0/0/0/0/0 1/0/0/0/0/0 2/0/0/0/0/0 2/18/2/7/2/3 2/0/0/0/0/0 1/0/0/0/0/0
 phase 3 10 4 1/0/0/0/0/0 1/0/0/0/0/0 1/0/0/0/0/0 1/0/0/0/0/0 2/10/0/0/0/0 1/0/0/0/0/0
 cycle 1 T 60 1/55/0/0/0/0 2/15/10/3/0/0 3/50/0/0/0/0
 cycle 2 T 0 1/20/0/0/0/0 2/-1/10/4/3/1 3/15/8/2/5/2 1/0/0/0/4/3
 day 1 6:0/2/1 -1:-6/2/2 22:30/2/2 23:59/1/3 23:59/0/0
 week 1 1/3/1 6/2/2 7/1/3 3/0/1
 year 1 0/4/1 60/2/2 382/3/1 160/0/1
so loaded 1 enter 2/1 dirs [7,8] triggers 1
 phase 1 10 4 2/0/0/0/0/0 1/0/0/0/0/0
 phase 2 10 4 1/0/0/0/0/0 2/0/0/5/1/0
 cycle 1 T 0 1/30/0/0/0/0 2/25/0/0/0/0
so loaded 0 enter 0/0 dirs [] triggers 1
)";
    EXPECT_EQ(DumpConfig(opened.model()), expected);
}

TEST(ModelLoader, EndPositionOnTheClosingBraceLoadsTheSame)
{
    const std::string indented = ReadTestData("crossroad.json");
    const std::string compact = Compact(indented);
    ASSERT_EQ(Open(compact.data(), compact.data() + compact.size()), kStatusOk);
    const std::string onePast = DumpConfig(*CurrentModel());
    ASSERT_EQ(Open(compact.data(), compact.data() + compact.size() - 1), kStatusOk);
    EXPECT_EQ(DumpConfig(*CurrentModel()), onePast);
    // Blanks and line breaks anywhere between tokens do not matter either.
    const std::size_t brace = indented.find_last_of('}');
    ASSERT_EQ(Open(indented.data(), indented.data() + brace), kStatusOk);
    EXPECT_EQ(DumpConfig(*CurrentModel()), onePast);
    EXPECT_EQ(Close(), kStatusOk);
}

TEST(ModelLifecycle, OpenAndCloseCalls)
{
    const std::string good = Sections{}.Text();
    EXPECT_EQ(Close(), kStatusNoModel); // without open
    EXPECT_EQ(CurrentModel(), nullptr);
    EXPECT_EQ(Open(good.data(), good.data() + good.size()), kStatusOk);
    EXPECT_EQ(Close(), kStatusOk);
    EXPECT_EQ(Close(), kStatusNoModel); // a second close

    // Null, reversed and empty text read nothing and give -2; the model still exists.
    const struct {
        const char *name;
        const char *first;
        const char *last;
    } nothing[] = {
        {"both null", nullptr, nullptr},     {"first null", nullptr, good.data() + good.size()},
        {"last null", good.data(), nullptr}, {"reversed", good.data() + good.size(), good.data()},
        {"empty", good.data(), good.data()},
    };
    for (const auto &c : nothing) {
        EXPECT_EQ(Open(c.first, c.last), kStatusBadVersion) << c.name;
        ASSERT_NE(CurrentModel(), nullptr) << c.name;
        EXPECT_EQ(CurrentModel()->status, kStatusBadVersion) << c.name;
        EXPECT_EQ(Close(), kStatusOk) << c.name;
    }

    // A second open discards the first model, also a failed one, and starts afresh.
    Sections two;
    two.dirs = "{\"at\":[{},{}]}";
    const std::string second = two.Text();
    const std::string bad = "{\"ver\":5}";
    ASSERT_EQ(Open(bad.data(), bad.data() + bad.size()), kStatusBadVersion);
    ASSERT_EQ(Open(good.data(), good.data() + good.size()), kStatusOk);
    CurrentModel()->stepCounter = 42;
    ASSERT_EQ(Open(second.data(), second.data() + second.size()), kStatusOk);
    EXPECT_EQ(CurrentModel()->dirs.Count(), 2u);
    EXPECT_EQ(CurrentModel()->stepCounter, 0u);
    EXPECT_EQ(Close(), kStatusOk);
}

} // namespace
