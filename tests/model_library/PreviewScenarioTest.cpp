// Second-by-second previews (next): each scenario is a small configuration, the
// request and trigger inputs of every second, and the phase and direction states
// expected. States: R red, G green, C green with conflict, F green flashing, Y yellow,
// U red and yellow, A all-red, W yellow flashing, O off, 0 none, ? not written.
#include "ModelTestSupport.h"

#include "model_library/ModelStatus.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vantor::model;
using vantor::model::test::OpenedModel;

namespace {

struct Span {
    int seconds;
    int request;
    const char *triggers; // '1' active, one character per trigger (missing: '0')
    int phase;
    const char *states;        // outStates of the previewed object's direction list
    const char *all = nullptr; // when set, the states of every direction of the model
};

struct Scenario {
    const char *name;
    std::string config;
    int object; // previewed signal object (0-based)
    std::vector<Span> spans;
};

char Symbol(std::uint8_t state)
{
    switch (state) {
    case 0: return '0';
    case 1: return 'R';
    case 2: return 'G';
    case 3: return 'C';
    case 4: return 'F';
    case 5: return 'Y';
    case 6: return 'U';
    case 253: return 'A';
    case 254: return 'W';
    case 255: return 'O';
    default: return '?';
    }
}

std::string Symbols(const std::vector<std::uint8_t> &states)
{
    std::string text;
    for (auto state : states)
        text += Symbol(state);
    return text;
}

// A configuration with the given sections (no signal groups).
std::string Config(const std::string &promtacts, const std::string &triggers, const std::string &dirs,
                   const std::string &sos)
{
    return R"({"n":"Сценарий","ver":1,"promtacts":)" + promtacts + R"(,"triggers":)" + triggers +
           R"(,"dirs":)" + dirs + R"(,"sig_group_types":[],"sig_groups":[],"sos":)" + sos + "}";
}

void RunScenario(const Scenario &scenario)
{
    OpenedModel opened(scenario.config);
    ASSERT_EQ(opened.status(), kStatusOk) << scenario.name;
    const ModelClass &model = opened.model();
    ASSERT_LT(static_cast<std::size_t>(scenario.object), model.sos.Count()) << scenario.name;
    std::vector<std::uint8_t> triggers(model.triggers.size());
    std::vector<std::uint8_t> states(model.sos.objects[scenario.object].dirs.size());
    int second = 0;
    for (const Span &span : scenario.spans) {
        for (int i = 0; i < span.seconds; ++i) {
            ++second;
            for (std::size_t k = 0; k < triggers.size(); ++k)
                triggers[k] = k < std::char_traits<char>::length(span.triggers) && span.triggers[k] == '1';
            std::uint8_t phase = 0xEE;
            std::fill(states.begin(), states.end(), std::uint8_t{0xEE});
            ASSERT_EQ(Next(scenario.object, span.request, triggers.data(), &phase, states.data()), kStatusOk)
                << scenario.name << ", second " << second;
            std::string all;
            for (const DirClass &dir : model.dirs.dirs)
                all += Symbol(dir.state);
            if (phase != span.phase || Symbols(states) != span.states ||
                (span.all != nullptr && all != span.all)) {
                ADD_FAILURE() << scenario.name << ", second " << second << ": phase " << int(phase)
                              << " states " << Symbols(states) << " all " << all << "; expected phase "
                              << span.phase << " states " << span.states << " all "
                              << (span.all ? span.all : "-");
                return; // the rest of a diverged timeline says nothing new
            }
        }
    }
}

// One direction (TminR 2, a green-to-red program without tacts) in phase 1 with the
// given green control mode, trigger 1, green time and extension.
std::string ModeConfig(int mode, int time, int ext)
{
    return Config(R"([{"tacts":[]}])", "[{}]", R"({"TminR":2,"at":[{"G2R":1}]})",
                  R"([{"dirs":[1],"enter":["phase",1],"phases":[{"i":1,"m":[[2,)" + std::to_string(time) +
                      "," + std::to_string(ext) + "," + std::to_string(mode) + R"(,1,0]]}]}])");
}

TEST(ModelPreview, GreenControlModes)
{
    const Scenario scenarios[] = {
        {"mode 0: green after the minimum red, for good",
         Config("[]", "[]", R"({"TminG":5,"TminR":3,"at":[{}]})",
                R"([{"dirs":[1],"enter":["phase",1],"phases":[{"i":1,"m":[[2]]}]}])"),
         0,
         {{3, 0, "", 1, "R"}, {10, 0, "", 1, "G"}}},
        {"mode 9 ignores its trigger like mode 0",
         ModeConfig(9, 4, 0),
         0,
         {{2, 0, "1", 1, "R"}, {8, 0, "0", 1, "G"}}},
        {"mode 1: gdur once per phase, then straight to red (empty G2R)",
         ModeConfig(1, 4, 0),
         0,
         {{2, 0, "", 1, "R"}, {4, 0, "", 1, "G"}, {6, 0, "1", 1, "R"}}},
        {"mode 2, trigger off at the phase start: red all phase",
         ModeConfig(2, 4, 0),
         0,
         {{1, 0, "0", 1, "R"}, {9, 0, "1", 1, "R"}}},
        {"mode 2, trigger on at the phase start: green until the command changes",
         ModeConfig(2, 4, 0),
         0,
         {{1, 0, "1", 1, "R"}, {1, 0, "0", 1, "R"}, {8, 0, "0", 1, "G"}}},
        {"mode 3: gdur, no extension",
         ModeConfig(3, 4, 0),
         0,
         {{2, 0, "1", 1, "R"}, {4, 0, "1", 1, "G"}, {6, 0, "1", 1, "R"}}},
        {"mode 4: gdur 6, ext 3, trigger at green second 5 ends green at 8",
         ModeConfig(4, 6, 3),
         0,
         {{1, 0, "1", 1, "R"},
          {1, 0, "0", 1, "R"},
          {5, 0, "0", 1, "G"},
          {1, 0, "1", 1, "G"},
          {2, 0, "0", 1, "G"},
          {4, 0, "0", 1, "R"}}},
        {"mode 5: green once the trigger comes, for good",
         ModeConfig(5, 4, 0),
         0,
         {{3, 0, "0", 1, "R"}, {1, 0, "1", 1, "G"}, {5, 0, "0", 1, "G"}}},
        {"mode 6: gdur each time the trigger comes",
         ModeConfig(6, 4, 0),
         0,
         {{3, 0, "0", 1, "R"},
          {1, 0, "1", 1, "G"},
          {3, 0, "0", 1, "G"},
          {4, 0, "0", 1, "R"},
          {1, 0, "1", 1, "G"},
          {3, 0, "0", 1, "G"},
          {3, 0, "0", 1, "R"}}},
        {"mode 7: an active trigger extends green to now + ext",
         ModeConfig(7, 4, 3),
         0,
         {{3, 0, "0", 1, "R"},
          {1, 0, "1", 1, "G"},
          {2, 0, "0", 1, "G"},
          {1, 0, "1", 1, "G"},
          {2, 0, "0", 1, "G"},
          {3, 0, "0", 1, "R"}}},
        {"mode 8: green while the trigger is off",
         ModeConfig(8, 4, 0),
         0,
         {{2, 0, "0", 1, "R"},
          {2, 0, "0", 1, "G"},
          {2, 0, "1", 1, "G"},
          {2, 0, "1", 1, "R"},
          {3, 0, "0", 1, "G"}}},
    };
    for (const auto &scenario : scenarios)
        RunScenario(scenario);
}

TEST(ModelPreview, Conflicts)
{
    // Two directions, hard conflict (kind 10, clearance 3) both ways, TminR 3, green
    // time 4, yellow for 2 s after green; both commanded green in one phase.
    const auto hard = [](int prior2) {
        return Config(R"([{"tacts":[{"sec":2,"val":5}]}])", "[]",
                      R"({"TminG":4,"TminR":3,"at":[{"G2R":1,"conflicts":[[10,2,3]]},{"G2R":1,"prior":)" +
                          std::to_string(prior2) + R"(,"conflicts":[[10,1,3]]}]})",
                      R"([{"dirs":[1,2],"enter":["phase",1],"phases":[{"i":1,"m":[[2],[2]]}]}])");
    };
    const Scenario scenarios[] = {
        {"hard conflict, equal priority: the lower number wins again and again",
         hard(0),
         0,
         {{3, 0, "", 1, "RR"},
          {4, 0, "", 1, "GR"},
          {2, 0, "", 1, "YR"},
          {3, 0, "", 1, "RR"},
          {4, 0, "", 1, "GR"},
          {2, 0, "", 1, "YR"},
          {3, 0, "", 1, "RR"},
          {1, 0, "", 1, "GR"}}},
        {"hard conflict, higher priority goes first",
         hard(1),
         0,
         {{3, 0, "", 1, "RR"},
          {4, 0, "", 1, "RG"},
          {2, 0, "", 1, "RY"},
          {3, 0, "", 1, "RR"},
          {1, 0, "", 1, "RG"}}},
        {"hard conflict: green waits for 4 s of the other's red",
         Config("[]", "[]",
                R"({"TminG":3,"TminR":2,"at":[{"conflicts":[[10,2,4]]},{"conflicts":[[10,1,4]]}]})",
                R"([{"dirs":[1,2],"phases":[{"i":1,"Tmin":1,"m":[[2],[1]]},{"i":2,"Tmin":1,"m":[[1],[2]]}],)"
                R"("cycles":[{"i":1,"m":[[1,6],[2,8]]}]}])"),
         0,
         {{4, 1, "", 1, "RR"},
          {2, 1, "", 1, "GR"},
          {1, 1, "", 2, "GR"},
          {4, 1, "", 2, "RR"},
          {3, 1, "", 2, "RG"},
          {4, 1, "", 1, "RR"},
          {1, 1, "", 1, "GR"}}},
        {"soft conflict (kind 5): green shows as 3 while the other is active",
         Config("[]", "[]",
                R"({"TminG":5,"TminR":3,"at":[{"conflicts":[[5,2,0]]},{"conflicts":[[5,1,0]]},{}]})",
                R"([{"dirs":[1,2,3],"enter":["phase",1],"phases":[{"i":1,"m":[[2],[2],[2]]}]}])"),
         0,
         {{3, 0, "", 1, "RRR"}, {8, 0, "", 1, "CCG"}}},
    };
    for (const auto &scenario : scenarios)
        RunScenario(scenario);
}

TEST(ModelPreview, TransitionsAndSpecialStates)
{
    // Two directions, the first with a 2 s yellow after green; phase 1: 1 green, 2 red.
    const std::string twoDirs =
        Config(R"([{"tacts":[{"sec":2,"val":5}]}])", "[]", R"({"TminG":5,"TminR":2,"at":[{"G2R":1},{}]})",
               R"([{"dirs":[1,2],"enter":["phase",1],"phases":[{"i":1,"m":[[2],[1]]}]}])");
    const Scenario scenarios[] = {
        {"transition programs: first tact of 3 s at once, then at 2 and 1 s to go",
         Config(
             R"([{"tacts":[{"sec":3,"val":4},{"sec":2,"val":5},{"sec":1,"val":6}]},{"tacts":[{"sec":2,"val":6}]}])",
             "[]", R"({"TminG":3,"TminR":2,"at":[{"G2R":1,"R2G":2}]})",
             R"([{"dirs":[1],"phases":[{"i":1,"Tmin":1,"m":[[2]]},{"i":2,"Tmin":1,"m":[[1]]}],)"
             R"("cycles":[{"i":1,"T":0,"m":[[1,6],[2,6]]}]}])"),
         0,
         {{2, 1, "", 1, "R"},
          {2, 1, "", 1, "U"},
          {2, 1, "", 1, "G"},
          {1, 1, "", 2, "G"},
          {1, 1, "", 2, "F"},
          {1, 1, "", 2, "Y"},
          {1, 1, "", 2, "U"},
          {2, 1, "", 2, "R"},
          {2, 1, "", 1, "U"},
          {4, 1, "", 1, "G"},
          {1, 1, "", 2, "F"},
          {1, 1, "", 2, "Y"},
          {1, 1, "", 2, "U"},
          {3, 1, "", 2, "R"},
          {1, 1, "", 1, "U"}}},
        {"all-red requested while green: TminG, transition, TminR, then 253",
         Config(R"([{"tacts":[{"sec":2,"val":5}]}])", "[]", R"({"TminG":5,"TminR":2,"at":[{"G2R":1}]})",
                R"([{"dirs":[1],"enter":["phase",1],"phases":[{"i":1,"m":[[2]]}]}])"),
         0,
         {{2, 0, "", 1, "R"},
          {2, 0, "", 1, "G"},
          {3, -3, "", 13, "G"},
          {2, -3, "", 13, "Y"},
          {2, -3, "", 13, "R"},
          {4, -3, "", 13, "A"}}},
        {"off requested while green: through all-red to 255, and back to the phase",
         twoDirs,
         0,
         {{2, 0, "", 1, "RR"},
          {2, 0, "", 1, "GR"},
          {3, -1, "", 15, "GA"},
          {2, -1, "", 15, "YA"},
          {2, -1, "", 15, "RA"},
          {1, -1, "", 15, "AA"},
          {4, -1, "", 15, "OO"},
          {2, 0, "", 1, "RR"},
          {2, 0, "", 1, "GR"}}},
        {"yellow flashing requested while green",
         twoDirs,
         0,
         {{2, 0, "", 1, "RR"},
          {2, 0, "", 1, "GR"},
          {3, -2, "", 14, "GA"},
          {2, -2, "", 14, "YA"},
          {2, -2, "", 14, "RA"},
          {1, -2, "", 14, "AA"},
          {4, -2, "", 14, "WW"}}},
        {"any other negative request is yellow flashing too",
         twoDirs,
         0,
         {{3, -100, "", 14, "AA"}, {2, -100, "", 14, "WW"}}},
    };
    for (const auto &scenario : scenarios)
        RunScenario(scenario);
}

TEST(ModelPreview, SignalObjects)
{
    const std::string objects = Config(
        "[]", "[]", R"({"TminG":3,"TminR":2,"at":[{},{}]})",
        R"([{"dirs":[1],"enter":["phase",1],"phases":[{"i":1,"m":[[2]]}]},)"
        R"({"dirs":[2],"phases":[{"i":1,"Tmin":1,"m":[[2]]},{"i":2,"Tmin":1,"m":[[1]]}],"cycles":[{"i":1,"m":[[1,5],[2,5]]}]}])");
    const std::string idle =
        Config("[]", "[]", R"({"at":[{}]})",
               R"([{"en":false,"dirs":[1],"enter":["phase",1],"phases":[{"i":1,"m":[[2]]}]},)"
               R"({"dirs":[1],"enter":["phase",0],"phases":[{"i":1,"m":[[2]]}]},{"enter":["cycle",1]}])");
    const Scenario scenarios[] = {
        {"previewing the second object switches the first off",
         objects,
         1,
         {{2, 1, "", 1, "R", "AR"},
          {1, 1, "", 1, "G", "AG"},
          {2, 1, "", 1, "G", "OG"},
          {5, 1, "", 2, "R", "OR"},
          {5, 1, "", 1, "G", "OG"}}},
        {"a disabled object idles in phase 14 from its first step", idle, 0, {{5, 0, "", 14, ""}}},
        {"an object without a direction list idles too", idle, 2, {{3, 0, "", 14, ""}}},
        {"entry phase 0: nothing happens, the direction stays off", idle, 1, {{4, 0, "", 0, "O"}}},
        {"directions outside the list's range are skipped",
         Config("[]", "[]", R"({"at":[{},{}]})",
                R"([{"dirs":[1,9,0,2],"enter":["phase",1],"phases":[{"i":1,"m":[[2],[2],[2],[1]]}]}])"),
         0,
         {{5, 0, "", 1, "R??R"}, {3, 0, "", 1, "G??R"}}},
    };
    for (const auto &scenario : scenarios)
        RunScenario(scenario);
}

TEST(ModelPreview, Cycles)
{
    // Objects without directions: only the phases matter here.
    const std::string fixed = Config(
        "[]", "[]", "{}",
        R"([{"dirs":[],"phases":[{"i":1},{"i":2,"Tmin":25},{"i":3},{"i":4,"Tmin":1},{"i":5,"Tmin":1},{"i":6,"Tmin":1}],)"
        R"("cycles":[{"i":1,"T":60,"m":[[1,0],[2,20],[3,40]]},{"i":2,"T":60,"m":[[4,50],[5,50],[6,20]]}]}])");
    // Step kinds: 0 by start, 2 and 3 chosen by trigger 1, 4 left by trigger 2, 5
    // chosen while trigger 1 is off, a start of -1 left by trigger 1, 6 never chosen,
    // 1 chosen by trigger 2 and left by its start.
    const std::string kinds = Config(
        "[]", R"([{},{}])", "{}",
        R"([{"dirs":[],"enter":["cycle",1],)"
        R"("phases":[{"i":1,"Tmin":2},{"i":2,"Tmin":2},{"i":3,"Tmin":2},{"i":4,"Tmin":2},{"i":5,"Tmin":2},)"
        R"({"i":6,"Tmin":2},{"i":7,"Tmin":2},{"i":8,"Tmin":2}],"cycles":[{"i":1,"T":0,"m":[)"
        R"([1,3,0,0,0,0],[2,0,0,0,2,1],[3,0,0,3,3,1],[4,0,0,0,4,2],[5,0,0,0,5,1],[6,-1,0,0,0,0],[7,0,0,0,6,0],)"
        R"([8,4,0,0,1,2]]}]}])");
    const Scenario scenarios[] = {
        {"fixed-time cycle: the step of the greatest start not above time mod T, after the minimum",
         fixed,
         0,
         {{20, 1, "", 1, ""}, {25, 1, "", 2, ""}, {15, 1, "", 3, ""}, {20, 1, "", 1, ""}}},
        {"fixed-time cycle: equal starts, and positions before every start",
         fixed,
         0,
         {{20, 2, "", 4, ""}, {30, 2, "", 6, ""}, {10, 2, "", 5, ""}, {5, 2, "", 4, ""}}},
        {"step-driven cycle entered as the entry point, two steps of 12 s",
         Config("[]", "[]", "{}",
                R"([{"dirs":[],"enter":["cycle",1],"phases":[{"i":1},{"i":2}],)"
                R"("cycles":[{"i":1,"m":[[1,12],[2,12]]}]}])"),
         0,
         {{12, 0, "", 1, ""}, {12, 0, "", 2, ""}, {12, 0, "", 1, ""}}},
        {"step-driven cycle: every step kind and a trigger-driven start",
         kinds,
         0,
         {{3, 0, "00", 1, ""},
          {3, 0, "00", 4, ""},
          {1, 0, "01", 5, ""},
          {1, 0, "00", 5, ""},
          {1, 0, "10", 6, ""},
          {1, 0, "11", 6, ""},
          {1, 0, "10", 8, ""},
          {1, 0, "01", 8, ""},
          {2, 0, "00", 8, ""},
          {3, 0, "00", 1, ""},
          {1, 0, "10", 2, ""},
          {1, 0, "00", 2, ""},
          {2, 0, "10", 3, ""},
          {2, 0, "00", 3, ""},
          {1, 0, "00", 4, ""}}},
        {"a missing cycle idles", fixed, 0, {{3, 7, "", 14, ""}}},
    };
    for (const auto &scenario : scenarios)
        RunScenario(scenario);
}

} // namespace
