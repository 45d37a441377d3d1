// vantor5-tool simulate, run as a separate process against the built model library.
#include "app/ConfigScrambler.h"
#include "app/FileIo.h"
#include "json/JsonText.h"

#include "TestPaths.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vantor;

namespace {

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Object 1: direction 1 (TminR 3) green in phase 1 in mode 5 on trigger 1, so only
// once the trigger comes; a day plan runs cycle 1 (phase 1) from 06:00 and cycle 2
// (phase 2, direction red) from 22:00. Object 2 is disabled; its direction 2 is never
// commanded and stays off.
constexpr const char *kVantor5 =
    R"({"n":"Тест","ver":1,"promtacts":[],"triggers":[{"args":[],"res":{"src":0,"args":[]}}],)"
    R"("dirs":{"TminR":3,"at":[{},{}]},"sig_group_types":[{"in_length":1,"out":[1,0,0],)"
    R"("states":[{"in":[1],"out":[1,0,0]},{"in":[2],"out":[0,0,1]}]}],"sig_groups":[{"ti":1,"dirs":[1]},{"ti":0}],)"
    R"("sos":[{"n":"Перекрёсток","dirs":[1],"enter":["phase",1],"phases":[{"i":1,"Tmin":0,"m":[[2,0,0,5,1,0]]},)"
    R"({"i":2,"Tmin":0,"m":[[1]]}],"cycles":[{"i":1,"T":60,"m":[[1,0]]},{"i":2,"T":60,"m":[[2,0]]}],)"
    R"("day_plans":[{"i":1,"m":[[6,0,"cycle",1],[22,0,"cycle",2]]}]},{"en":false,"dirs":[2]}]})";

class SimulateCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        Write("bare.json", kVantor5);
        const std::string document = std::string(R"({"vantor5":)") + kVantor5 + "}";
        Write("doc.vt5", ScrambleText(json::RenderIndented(*json::Parse(document))));
        std::string dayPlan = kVantor5;
        dayPlan.replace(dayPlan.find(R"("enter":["phase",1])"), 19, R"("enter":["day",1]  )");
        Write("day.json", dayPlan);
        std::string version = kVantor5;
        version.replace(version.find(R"("ver":1)"), 7, R"("ver":5)");
        Write("version5.json", version);
        Write("navet.json", R"({"navet":{"name":"x"}})");
    }

    void Write(const char *name, const std::string &bytes)
    {
        ASSERT_TRUE(WriteFileAtomically(dir_.filePath(QString::fromUtf8(name)), bytes));
    }

    ToolRun Run(QStringList args)
    {
        args.prepend(QStringLiteral("simulate"));
        QProcess process;
        process.setWorkingDirectory(dir_.path());
        process.start(test::BinDir() + QStringLiteral("/vantor5-tool"), args);
        EXPECT_TRUE(process.waitForFinished(60000)) << args.join(' ').toStdString();
        ToolRun run;
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = process.readAllStandardOutput().toStdString();
        run.err = process.readAllStandardError().toStdString();
        return run;
    }

    QTemporaryDir dir_;
};

TEST_F(SimulateCommandTest, PreviewLinesPerSecond)
{
    // Red for TminR; trigger 1 from second 4 turns the direction green.
    const ToolRun run = Run({"bare.json", "--seconds", "6", "--triggers", "1@4-5"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Объект 1 «Перекрёсток», автоматический режим, 6 с."), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("Обозначения: R красный"), std::string::npos);
    const std::string lines = run.out.substr(run.out.find("  сек  фаза  состояния\n"));
    EXPECT_EQ(lines, "  сек  фаза  состояния\n"
                     "    0     1  R\n"
                     "    1     1  R\n"
                     "    2     1  R\n"
                     "    3     1  R\n"
                     "    4     1  G\n"
                     "    5     1  G\n");
}

TEST_F(SimulateCommandTest, CsvIsTheSameForEveryKindOfDocument)
{
    // -1: off. From the start the direction shows all-red at once, and off once it has
    // shown it for its minimum red.
    const std::string expected = "second,phase,dir1\n0,15,253\n1,15,253\n2,15,253\n3,15,253\n4,15,255\n";
    for (const char *document : {"bare.json", "doc.vt5"}) {
        const ToolRun run = Run({document, "--request", "-1", "--seconds", "5", "--csv"});
        ASSERT_EQ(run.exitCode, 0) << document << run.err;
        EXPECT_EQ(run.out, expected) << document;
    }
    const ToolRun disabled = Run({"bare.json", "--object", "2", "--seconds", "2", "--csv"});
    ASSERT_EQ(disabled.exitCode, 0) << disabled.err;
    EXPECT_EQ(disabled.out, "second,phase\n0,14\n1,14\n"); // a disabled object idles, with no directions
}

TEST_F(SimulateCommandTest, WholeControllerFromAGivenTime)
{
    const ToolRun run = Run({"day.json", "--all", "--time", "21:59:59", "--seconds", "2", "--csv"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "second,time,so1_phase,so1_cycle,so1_day,so1_week,so1_year,"
                       "so2_phase,so2_cycle,so2_day,so2_week,so2_year,dir1,dir2,sg1_1,sg1_2,sg1_3\n"
                       "0,21:59:59,1,1,1,0,0,14,0,0,0,0,1,255,1,0,0\n"
                       "1,22:00:00,2,2,1,0,0,14,0,0,0,0,1,255,1,0,0\n");
    const ToolRun text = Run({"day.json", "--all", "--time", "79200", "--seconds", "1"});
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_NE(text.out.find("22:00:00  1:2/2/1/0/0  2:14/0/0/0/0  |  R-  | 100 -\n"), std::string::npos)
        << text.out;
}

TEST_F(SimulateCommandTest, FailuresAreExplained)
{
    const struct {
        QStringList args;
        int exitCode;
        const char *stderrHas;
    } cases[] = {
        {{"--help"}, 0, ""},
        {{}, 2, "не хватает аргументов"},
        {{"missing.json"}, 1, "missing.json"},
        {{"navet.json"}, 1, "в документе нет конфигурации «vantor5»"},
        {{"version5.json"},
         1,
         "модель не загрузила конфигурацию: нет версии формата «ver» или она больше 1 (код -2)"},
        {{"bare.json", "--object", "3"}, 1, "нет светофорного объекта 3 (объектов: 2)"},
        {{"bare.json", "--library", "nowhere/libvantor_model.so"},
         1,
         "Не найдена библиотека модели контроллера"},
        {{"bare.json", "--object", "0"}, 2, "--object"},
        {{"bare.json", "--seconds", "many"}, 2, "--seconds"},
        {{"bare.json", "--triggers", "1@9-3"}, 2, "неверное описание триггеров «1@9-3»"},
        {{"bare.json", "--all", "--request", "1"}, 2, "--all"},
        {{"bare.json", "--time", "06:00"}, 2, "--time"},
        {{"bare.json", "--all", "--time", "25:00"}, 2, "--time"},
    };
    for (const auto &c : cases) {
        const ToolRun run = Run(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(' ').toStdString() << "\n" << run.err;
        EXPECT_NE(run.err.find(c.stderrHas), std::string::npos) << c.args.join(' ').toStdString() << "\n"
                                                                << run.err;
    }
}

} // namespace
