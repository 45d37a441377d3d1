// vantor5-tool device ... against vantor5-devsim, both run as separate processes.
#include "app/FileIo.h"
#include "link/Checksums.h"
#include "link/Packet.h"

#include "TestPaths.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace vantor;

namespace {

struct ToolRun {
    int exitCode = -1;
    std::string err;
};

class DeviceCommandsTest : public ::testing::Test {
protected:
    void TearDown() override { StopDevice(); }

    // Starts vantor5-devsim with a link in the temporary folder.
    void StartDevice(QStringList extra = {})
    {
        link_ = dir_.filePath(QStringLiteral("sim"));
        QStringList args = {"--link",  link_,        "--poll-ms",
                            "2",       "--reply-ms", "150",
                            "--quiet", "--save",     dir_.filePath(QStringLiteral("saved.bin"))};
        device_.start(test::BinDir() + QStringLiteral("/vantor5-devsim"), args + extra);
        ASSERT_TRUE(device_.waitForStarted(10000));
        QDeadlineTimer deadline(10000);
        while (!QFileInfo::exists(link_) && !deadline.hasExpired())
            QThread::msleep(10);
        ASSERT_TRUE(QFileInfo::exists(link_)) << device_.readAllStandardError().toStdString();
    }

    void StopDevice()
    {
        if (device_.state() == QProcess::NotRunning)
            return;
        device_.terminate();
        device_.waitForFinished(10000);
    }

    // vantor5-tool device SUBCOMMAND [the simulator's port] ARGS...
    ToolRun Tool(QStringList args, bool withPort = true)
    {
        const QString sub = args.takeFirst();
        args = QStringList{"device", sub} + (withPort ? Port() : QStringList{}) + args;
        QProcess tool;
        tool.setWorkingDirectory(dir_.path());
        tool.start(test::BinDir() + QStringLiteral("/vantor5-tool"), args);
        EXPECT_TRUE(tool.waitForFinished(60000)) << args.join(' ').toStdString();
        return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1,
                tool.readAllStandardError().toStdString()};
    }

    QStringList Port() const { return {"--port", link_, "--delay", "300"}; }
    QString Path(const char *name) const { return dir_.filePath(QString::fromUtf8(name)); }
    void Write(const char *name, const std::string &bytes)
    {
        ASSERT_TRUE(WriteFileAtomically(Path(name), bytes));
    }

    QTemporaryDir dir_;
    QString link_;
    QProcess device_;
};

} // namespace

TEST_F(DeviceCommandsTest, ReadWriteAndTheirExitCodes)
{
    StartDevice();
    ToolRun run = Tool(QStringList{"read"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Отсутствует файл конфигурации в устройстве"), std::string::npos) << run.err;

    Write("file.json", R"({"navet":{"n":1},"orsin":{"o":2}})");
    run = Tool(QStringList{"write-file", "file.json", "--log", "session.log"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const std::string log = test::ReadFileOrFail(Path("session.log"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\[\\d+\\] PC:  5a a5 55 aa "),
                                   QRegularExpression::MultilineOption)
                    .match(QString::fromStdString(log))
                    .hasMatch())
        << log.substr(0, 500);

    Write("doc.json", R"({"revur":{"r":[1,2]},"navet":{"ignored":true}})");
    run = Tool(QStringList{"write", "--type", "revur", "doc.json", "--quiet"});
    EXPECT_EQ(run.exitCode, 0) << run.err;

    run = Tool(QStringList{"read", "--type", "revur", "-o", "out.json", "--quiet"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(test::ReadFileOrFail(Path("out.json")),
              R"({"navet":{"n":1},"orsin":{"o":2},"revur":{"r":[1,2]}})");
    run = Tool(QStringList{"read", "--type", "whmeter", "--quiet"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("нет раздела \"whmeter\""), std::string::npos) << run.err;

    // Bad input never reaches the device.
    Write("garbage.json", "not json");
    EXPECT_EQ(Tool(QStringList{"write-file", "garbage.json", "--quiet"}).exitCode, 1);
    EXPECT_EQ(Tool(QStringList{"write", "--type", "orsin", "doc.json"}).exitCode, 1);
    EXPECT_EQ(Tool(QStringList{"read"}, false).exitCode, 2);
    EXPECT_EQ(Tool(QStringList{"write", "doc.json"}).exitCode, 2);
    EXPECT_EQ(Tool(QStringList{"read", "--type", "toaster"}).exitCode, 2);
    EXPECT_EQ(Tool(QStringList{"read", "--tries", "0"}).exitCode, 2);
    EXPECT_EQ(Tool({"frobnicate"}, false).exitCode, 2);

    // The simulator saves its image at exit.
    StopDevice();
    const std::string saved = test::ReadFileOrFail(Path("saved.bin"));
    const std::string text = R"({"navet":{"n":1},"orsin":{"o":2},"revur":{"r":[1,2]}})";
    ASSERT_EQ(saved.size(), text.size() + 8);
    EXPECT_EQ(saved.substr(4, text.size()), text);
    EXPECT_EQ(link::ReadU32(reinterpret_cast<const std::uint8_t *>(saved.data()) + 4 + text.size()),
              Crc32(text.data(), text.size()));
}

TEST_F(DeviceCommandsTest, NoPortAndNoBootloaderFailClearly)
{
    ToolRun run =
        Tool(QStringList{"read", "--port", Path("nothing-here"), "--tries", "2", "--delay", "50"}, false);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Невозможно открыть порт!"), std::string::npos) << run.err;

    StartDevice({"--no-pack-size"});
    Write("fw.mff", std::string(40, '\0'));
    run = Tool(QStringList{"flash", "fw.mff"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Возможно устройство не в режиме загрузчика"), std::string::npos) << run.err;
}

TEST_F(DeviceCommandsTest, ADeviceThatNeverAnswersIsGivenUpOn)
{
    StartDevice({"--mute", "9"}); // polls on, but never answers a read
    const ToolRun run = Tool(QStringList{"read", "--stall", "1", "--quiet"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("устройство не продвигает операцию 1 с: прервано"), std::string::npos) << run.err;
}

TEST_F(DeviceCommandsTest, FaultyLinesEndInTheRightImageOrAnError)
{
    StartDevice({"--seed", "11", "--fault", "crc=0.04", "--fault", "drop=0.04", "--fault", "insert=0.04",
                 "--split", "50"});
    std::string big = R"({"vantor5":{"pad":")" + std::string(8000, 'p') + R"("}})";
    Write("big.json", big);
    const ToolRun write = Tool(QStringList{"write-file", "big.json", "--quiet", "--yes"});
    const ToolRun read = Tool(QStringList{"read", "-o", "back.json", "--quiet", "--no"});
    if (write.exitCode == 0 && read.exitCode == 0) {
        EXPECT_EQ(test::ReadFileOrFail(Path("back.json")), big);
    } else {
        EXPECT_EQ(write.exitCode == 0 ? read.exitCode : write.exitCode, 1);
        EXPECT_NE((write.err + read.err).find("vantor5-tool: "), std::string::npos);
    }
}
