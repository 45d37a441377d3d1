// vantor5-tool new pelmar / roundtrip of a Pelmar-3 document, run as a separate process.
#include "app/ConfigFile.h"
#include "app/FileIo.h"
#include "json/JsonText.h"

#include "TestPaths.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vantor;

namespace {

struct Result {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class PelmarCommandsTest : public ::testing::Test {
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

    QTemporaryDir dir_;
};

TEST_F(PelmarCommandsTest, NewWritesTheDocumentOfANewWindow)
{
    const Result result = Run({"new", "pelmar"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const auto root = json::ParseObject(result.out);
    ASSERT_TRUE(root);
    ASSERT_EQ(root->size(), 1u);
    const json::Json &v = (*root)["revur"];
    EXPECT_EQ(v["so"], json::Json::array());
    EXPECT_EQ(json::RenderCompact(v["det"]),
              R"({"en":false,"name":"Контроллер датчиков","id":4001,"app_id":65009,"dirs":[],"bods":[]})");
    EXPECT_EQ(v["id"], 2001);
    EXPECT_EQ(v["utcs_id"], 65023);
    EXPECT_EQ(v["gprs"]["regs"].size(), 2u);
    EXPECT_EQ(v["eth"]["regs"].size(), 2u);
    EXPECT_TRUE(v["geo"].contains("tzname")); // this computer's zone
    // A fresh random, locally administered unicast address.
    const QString mac = QString::fromStdString(v["eth"]["mac"].get<std::string>());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-F][26AE](-[0-9A-F]{2}){5}$")).match(mac).hasMatch())
        << mac.toStdString();
    EXPECT_EQ(result.out, json::RenderCompact(*root));

    ASSERT_EQ(Run({"new", "revur", "--indented", "-o", "new.vt5"}).exitCode, 0);
    const auto stored = ReadConfigFile(Path("new.vt5"));
    ASSERT_TRUE(stored);
    EXPECT_TRUE(stored->contains("revur"));
}

TEST_F(PelmarCommandsTest, RoundtripReadsAndWritesTheRevurMember)
{
    // A device's document: members in another order, no "max_packet", a login.
    ASSERT_TRUE(WriteFileAtomically(
        Path("device.json"),
        R"({"revur":{"name":"Мира","geo":{"en":true,"tz":180,"tzname":"(UTC+03:00) Europe/Moscow"},)"
        R"("eth":{"en":true,"prior":1,"mac":"02-00-00-00-00-07","server":{"fix":true,"url":"10.0.0.9:9000"},)"
        R"("regs":[{"ip":"10.0.0.1","port":81}]},"so":[{"en":true,"id":17}],)"
        R"("web":{"en":true,"login":"YWRtaW46cGFzcw=="}}})"));
    const Result result = Run({"roundtrip", "device.json"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const auto root = json::ParseObject(result.out);
    ASSERT_TRUE(root);
    const json::Json &v = (*root)["revur"];
    EXPECT_EQ(v["name"], "Мира");
    EXPECT_EQ(json::RenderCompact(v["eth"]["server"]), R"({"fix":true,"url":"10.0.0.9:9000"})");
    EXPECT_EQ(json::RenderCompact(v["eth"]["regs"]), R"([{"ip":"10.0.0.1","port":81,"script":""}])");
    EXPECT_EQ(json::RenderCompact(v["so"]),
              R"([{"en":true,"name":"","id":17,"du_time":0,"phase_change_messages":false}])");
    EXPECT_EQ(v["web"]["login"], "YWRtaW46cGFzcw==");
    // What the tool writes, it reads back to the same text.
    ASSERT_TRUE(WriteFileAtomically(Path("again.json"), result.out));
    EXPECT_EQ(Run({"roundtrip", "again.json"}).out, result.out);

    ASSERT_TRUE(WriteFileAtomically(Path("bad.json"), R"({"revur":{"gprs":{"server":{"url":"host:x"}}}})"));
    const Result bad = Run({"roundtrip", "bad.json"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_NE(bad.err.find("«revur.gprs.server.url»"), std::string::npos) << bad.err;
}

} // namespace
