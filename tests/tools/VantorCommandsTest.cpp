// vantor5-tool new / roundtrip, run as a separate process.
#include "app/ConfigFile.h"
#include "app/FileIo.h"
#include "devices/navet/NavetConfig.h"
#include "devices/orsin/OrsinConfig.h"
#include "devices/rudex/RudexConfig.h"
#include "json/JsonText.h"

#include "TestPaths.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>
#include <sstream>

using namespace vantor;

namespace {

struct Result {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class VantorCommandsTest : public ::testing::Test {
protected:
    Result Run(const QStringList &args)
    {
        QProcess process;
        process.setWorkingDirectory(dir_.path());
        process.start(test::BinDir() + QStringLiteral("/vantor5-tool"), args);
        EXPECT_TRUE(process.waitForFinished(60000)) << args.join(' ').toStdString();
        Result result;
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = process.readAllStandardOutput().toStdString();
        result.err = process.readAllStandardError().toStdString();
        return result;
    }
    QString Path(const char *name) const { return dir_.filePath(QString::fromUtf8(name)); }
    static QString Example(const char *name)
    {
        return QDir(test::SourceDir()).filePath(QStringLiteral("examples/") + QString::fromUtf8(name));
    }

    QTemporaryDir dir_;
};

TEST_F(VantorCommandsTest, NewWritesTheEmptyConfiguration)
{
    const Result compact = Run({"new", "vantor5"});
    ASSERT_EQ(compact.exitCode, 0) << compact.err;
    const auto root = json::ParseObject(compact.out);
    ASSERT_TRUE(root);
    const json::Json &v = (*root)["vantor5"];
    EXPECT_EQ(v["n"], "Новая конфигурация");
    EXPECT_EQ(v["ver"], 1);
    for (const char *list : {"outs_controls", "blocks", "sig_group_types", "connects", "semaphores",
                             "promtacts", "sig_groups", "triggers", "sos"})
        EXPECT_EQ(v[list], json::Json::array()) << list;
    EXPECT_EQ(json::RenderCompact(v["dirs"]), R"({"TminG":15,"TminR":5,"Takk":4,"at":[]})");
    EXPECT_FALSE(v["geo"].contains("scheme"));
    EXPECT_EQ(compact.out, json::RenderCompact(*root));

    const Result indented = Run({"new", "vantor5", "--indented"});
    EXPECT_EQ(indented.out, json::RenderIndented(*root));

    ASSERT_EQ(Run({"new", "vantor5", "-o", "new.vt5"}).exitCode, 0);
    const auto stored = ReadConfigFile(Path("new.vt5"));
    ASSERT_TRUE(stored);
    EXPECT_EQ(*stored, *root);

    const Result unknown = Run({"new", "toaster"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_NE(unknown.err.find("toaster"), std::string::npos);
    EXPECT_NE(unknown.err.find("vantor5, pelmar, rudex, navet, orsin"), std::string::npos) << unknown.err;
}

TEST_F(VantorCommandsTest, RoundtripOfTheExampleGivesItBack)
{
    const Result result = Run({"roundtrip", Example("crossroad.vt5"), "--indented", "--date", "01-09-2025"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.err.empty()) << result.err;
    EXPECT_EQ(result.out, test::ReadFileOrFail(Example("crossroad.json")));
    const Result compact = Run({"roundtrip", Example("crossroad.json"), "--date", "01-09-2025"});
    EXPECT_EQ(compact.out, test::ReadFileOrFail(Example("crossroad.compact.json")));
}

// The example intersection through the model library: the plan runs its phases, the
// pedestrian and tram phases come only on demand, and no two conflicting directions
// are ever green together.
TEST_F(VantorCommandsTest, SimulatingTheExampleGivesAPlausiblePlan)
{
    const auto document = json::ParseObject(test::ReadFileOrFail(Example("crossroad.json")));
    ASSERT_TRUE(document);
    const json::Json &at = (*document)["vantor5"]["dirs"]["at"];
    std::vector<std::pair<int, int>> conflicts;
    for (std::size_t row = 0; row < at.size(); ++row)
        for (const json::Json &conflict : at[row]["conflicts"])
            if (conflict[0] == 10)
                conflicts.emplace_back(static_cast<int>(row), conflict[1].get<int>() - 1);

    struct Second {
        int phase;
        std::string states;
    };
    auto simulate = [&](QStringList extra) {
        QStringList args = {
            "simulate", Example("crossroad.vt5"), "--object", "1", "--request", "1", "--seconds", "200"};
        args += extra;
        const Result result = Run(args);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        std::vector<Second> seconds;
        std::istringstream lines(result.out);
        bool table = false;
        for (std::string line; std::getline(lines, line);) {
            if (line.find("сек") != std::string::npos) {
                table = true;
                continue;
            }
            std::istringstream fields(line);
            int second = 0;
            Second s;
            if (table && fields >> second >> s.phase >> s.states)
                seconds.push_back(s);
        }
        return seconds;
    };
    auto isGreen = [](char state) { return state == 'G' || state == 'g' || state == 'F'; };

    for (const QStringList &triggers : {QStringList{}, QStringList{"--triggers", "1,2"}}) {
        const std::vector<Second> plan = simulate(triggers);
        ASSERT_EQ(plan.size(), 200u);
        std::set<int> phases;
        std::vector<bool> everGreen(8, false);
        for (const Second &s : plan) {
            ASSERT_EQ(s.states.size(), 8u);
            phases.insert(s.phase);
            for (int d = 0; d < 8; ++d)
                everGreen[d] = everGreen[d] || isGreen(s.states[d]);
            for (const auto &[a, b] : conflicts)
                ASSERT_FALSE(isGreen(s.states[a]) && isGreen(s.states[b]))
                    << "directions " << a + 1 << " and " << b + 1 << ": " << s.states;
        }
        const bool demand = !triggers.isEmpty();
        EXPECT_EQ(phases, demand ? (std::set<int>{1, 2, 3, 4}) : (std::set<int>{1, 2, 3}));
        EXPECT_TRUE(everGreen[0] && everGreen[1] && everGreen[2] && everGreen[3]);
        EXPECT_EQ(everGreen[4], demand); // pedestrians across Lenina on the button only
        EXPECT_EQ(everGreen[5], demand); // tram turning left only when a tram comes
    }
}

TEST_F(VantorCommandsTest, RoundtripErrors)
{
    ASSERT_TRUE(WriteFileAtomically(Path("other.json"), R"({"other":{}})"));
    const Result missing = Run({"roundtrip", "other.json"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("Некорректная конфигурация"), std::string::npos) << missing.err;
    EXPECT_EQ(Run({"roundtrip", "absent.json"}).exitCode, 1);
    EXPECT_EQ(Run({"roundtrip", "other.json", "--date", "31-02-2025"}).exitCode, 2);
    EXPECT_EQ(Run({"roundtrip"}).exitCode, 2);
}

TEST_F(VantorCommandsTest, NewAndRoundtripCoverRudexNavetAndOrsin)
{
    const struct {
        const char *name;
        json::Json fresh;
        const char *document;
    } cases[] = {
        {"rudex", rudex::GetConfigJson(rudex::RudexConfig()),
         R"({"whmeter":{"en":false,"name":"ВРУ","id":255,"app_id":7,"psw":"","psw_def":true}})"},
        {"navet", navet::GetConfigJson(navet::NavetConfig()),
         R"({"navet":{"n":"Н","ver":1,"id":0,"geo":{"tz":-300,"tzname":"(UTC-05:00) X"},"is_reverse":{"value":0},)"
         R"("cycle":{"ph":[1,2,3,4]},"bright":{"currents":[5,6,0,7]},"is_master":{"value":0}}})"},
        {"orsin", orsin::GetConfigJson(orsin::TDevice()),
         R"({"orsin":{"vantor_count":2,"output_count":9,"table":[{"block":2,"k_out":5,"d_out":5}],)"
         R"("server":{"port":99}}})"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Result fresh = Run({"new", c.name});
        ASSERT_EQ(fresh.exitCode, 0) << fresh.err;
        EXPECT_EQ(fresh.out, json::RenderCompact(c.fresh));
        EXPECT_EQ(Run({"new", c.name, "--indented"}).out, json::RenderIndented(c.fresh));

        ASSERT_TRUE(WriteConfigFile(Path("doc.vt5"), *json::ParseObject(c.document)));
        const Result again = Run({"roundtrip", "doc.vt5"});
        ASSERT_EQ(again.exitCode, 0) << again.err;
        EXPECT_EQ(again.out, c.document);
    }

    ASSERT_TRUE(WriteFileAtomically(Path("bad.json"), R"({"orsin":{"eth":{"ip":"1.2.x.4"}}})"));
    const Result bad = Run({"roundtrip", "bad.json"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_NE(bad.err.find("«orsin.eth.ip»"), std::string::npos) << bad.err;
    EXPECT_NE(bad.err.find("bad.json"), std::string::npos) << bad.err;

    ASSERT_TRUE(WriteFileAtomically(Path("sollo.json"), R"({"sollo":{}})"));
    const Result unhandled = Run({"roundtrip", "sollo.json"});
    EXPECT_EQ(unhandled.exitCode, 1);
    EXPECT_NE(unhandled.err.find("Sollo-4"), std::string::npos) << unhandled.err;
}

} // namespace
