// vantor5-tool decode / encode / format, run as a separate process.
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

class DocumentCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        Write("doc.json", kDocument);
        Write("doc.vt5", ScrambleText(json::RenderIndented(*json::Parse(kDocument))));
        Write("empty.json", "");
        Write("bad-utf8.json", "{\"name\":\"\xC3\x28\"}");
        Write("deep-array.json", std::string(10000, '[') + std::string(10000, ']'));
        std::string deepObject;
        for (int i = 0; i < 10000; ++i)
            deepObject += "{\"a\":";
        Write("deep-object.json", deepObject + "1" + std::string(10000, '}'));
        Write("truncated.vt5", ScrambleText(kDocument).substr(0, 9));
        Write("plain.vt5", kDocument);
    }

    void Write(const char *name, const std::string &bytes)
    {
        ASSERT_TRUE(WriteFileAtomically(Path(name), bytes));
    }
    QString Path(const char *name) const { return dir_.filePath(QString::fromUtf8(name)); }

    ToolRun Run(const QStringList &args)
    {
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

    static constexpr const char *kDocument = R"({"navet":{"name":"Узел \"1\"","ph":[10,3,1.5]},"orsin":{}})";
    QTemporaryDir dir_;
};

TEST_F(DocumentCommandsTest, ExitCodesAndMessages)
{
    const struct {
        QStringList args;
        int exitCode;
        const char *stderrHas; // nullptr: stderr must be empty
    } cases[] = {
        {{}, 2, "КОМАНДА"},
        {{"--help"}, 0, nullptr},
        {{"frobnicate"}, 2, "неизвестная команда frobnicate"},
        {{"decode"}, 2, "не хватает аргументов"},
        {{"decode", "a.vt5", "b.vt5"}, 2, "лишний аргумент b.vt5"},
        {{"decode", "--bogus", "doc.vt5"}, 2, "неизвестный параметр --bogus"},
        {{"decode", "doc.vt5", "-o"}, 2, "нужно значение"},
        {{"decode", "--help"}, 0, nullptr},
        {{"decode", "missing.vt5"}, 1, "missing.vt5"},
        {{"decode", "plain.vt5"}, 1, "plain.vt5: не является файлом конфигурации"},
        {{"decode", "truncated.vt5"}, 1, "последняя группа из одного символа"},
        {{"encode", "empty.json"}, 1, "empty.json: некорректный документ"},
        {{"encode", "bad-utf8.json"}, 1, "столбец"},
        {{"encode", "deep-array.json"}, 1, "не является объектом"},
        {{"format", "doc.json", "--compact", "--indented"}, 2, "вместе не допускаются"},
        {{"format", "truncated.vt5"}, 1, "truncated.vt5"},
        {{"encode", "doc.json", "-o", "no/such/folder/out.vt5"}, 1, "out.vt5"},
    };
    for (const auto &c : cases) {
        const ToolRun run = Run(c.args);
        const std::string what = c.args.join(' ').toStdString();
        EXPECT_EQ(run.exitCode, c.exitCode) << what << "\n" << run.err;
        if (c.stderrHas)
            EXPECT_NE(run.err.find(c.stderrHas), std::string::npos) << what << "\n" << run.err;
        else
            EXPECT_EQ(run.err, "") << what;
    }
}

TEST_F(DocumentCommandsTest, EncodeDecodeAndFormatConvertBetweenForms)
{
    const std::string indented = json::RenderIndented(*json::Parse(kDocument));
    const std::string compact = json::RenderCompact(*json::Parse(kDocument));

    ASSERT_EQ(Run({"encode", "doc.json", "-o", "out.vt5"}).exitCode, 0);
    EXPECT_EQ(ReadWholeFile(Path("out.vt5")), ScrambleText(indented));
    EXPECT_EQ(Run({"decode", "out.vt5"}).out, indented);

    ASSERT_EQ(Run({"decode", "out.vt5", "--output=out.json"}).exitCode, 0);
    EXPECT_EQ(ReadWholeFile(Path("out.json")), indented);

    EXPECT_EQ(Run({"format", "doc.vt5", "--compact"}).out, compact);
    EXPECT_EQ(Run({"format", "doc.json"}).out, indented);
    ASSERT_EQ(Run({"format", "doc.json", "--compact", "-o", "compact.vt5"}).exitCode, 0);
    EXPECT_EQ(ReadWholeFile(Path("compact.vt5")), ScrambleText(compact));

    const ToolRun deep = Run({"format", "deep-object.json", "--compact"});
    EXPECT_EQ(deep.exitCode, 0) << deep.err;
    EXPECT_EQ(deep.out, *ReadWholeFile(Path("deep-object.json")));
}

} // namespace
