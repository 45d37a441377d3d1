// The serial transport with real QSerialPort I/O against the simulated device on a
// pseudo-terminal.
#include "link/Comm32.h"
#include "link/Packet.h"
#include "link/pr_dataProvider.h"

#include "EventLoopWait.h"
#include "PtyDevice.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace vantor;
using namespace vantor::link;
using vantor::devsim::Bytes;
using vantor::devsim::PtyDevice;
using vantor::devsim::SimDevice;
using vantor::devsim::SimOptions;

namespace {

// A minimal host: echoes polls, or sends one request per poll while it wants one.
struct Host {
    explicit Host(const std::string &port) : dao(kConnectSerial)
    {
        dao.SetAddress(QString::fromStdString(port));
        dao.OnPacket = [this](const std::uint8_t *p, std::size_t n) {
            Bytes packet(p, p + n);
            packets.push_back(packet);
            if (p[8] != kPollCommand) {
                answers.push_back(packet);
                return;
            }
            if (!request.empty() && int(answers.size()) < wantAnswers)
                dao.Send(request.data(), request.size());
            else
                dao.Send(p, n);
        };
        dao.OnMessage = [this](const QString &text) { messages.push_back(text); };
    }
    TDAO dao;
    Bytes request;
    int wantAnswers = 0;
    std::vector<Bytes> packets;
    std::vector<Bytes> answers;
    std::vector<QString> messages;
};

class SerialLinkTest : public ::testing::Test {
protected:
    void TearDown() override { SetLinkBaudRate(10417); }
};

} // namespace

TEST_F(SerialLinkTest, PollsAreEchoedAndRequestsRoundTripAtBothRates)
{
    for (qint32 baud : {10417, 115200}) {
        SimOptions options;
        options.serial = "4242";
        options.pollIntervalMs = 5;
        PtyDevice device(options);
        device.Start();
        SetLinkBaudRate(baud);
        Host host(device.SlavePath());
        ASSERT_TRUE(host.dao.Connect()) << host.messages.size();
        ASSERT_TRUE(test::WaitUntil([&] {
            return device.With([](SimDevice &d) { return d.EchoCount(); }) >= 3;
        })) << baud;
        EXPECT_EQ(host.dao.State(), kStateConnected);

        host.request = MakePacket(6, {});
        host.wantAnswers = 3;
        ASSERT_TRUE(test::WaitUntil([&] { return host.answers.size() >= 3; })) << baud;
        EXPECT_EQ(host.answers[0], MakePacket(6, {'4', '2', '4', '2', 0}));
        // A rate change reaches the open port at once and the link keeps working.
        SetLinkBaudRate(baud == 10417 ? 115200 : 10417);
        host.wantAnswers = 6;
        ASSERT_TRUE(test::WaitUntil([&] { return host.answers.size() >= 6; })) << baud;
        host.dao.Disconnect();
        EXPECT_EQ(host.dao.State(), kStateDisconnected);
    }
}

TEST_F(SerialLinkTest, FaultSchedulesNeverProduceAWronglyAcceptedPacket)
{
    SimOptions options;
    options.pollIntervalMs = 1;
    options.replyTimeoutMs = 30;
    options.seed = 7;
    options.corruptCrc = 0.1;
    options.dropByte = 0.1;
    options.insertBytes = 0.1;
    options.splitChunk = 7;
    options.recordSent = true;
    PtyDevice device(options);
    device.Start();
    Host host(device.SlavePath());
    host.request = MakePacket(9, {0, 0, 0, 0, 0x80, 0, 0, 0}); // read 128 bytes at 0
    host.wantAnswers = 40;
    ASSERT_TRUE(host.dao.Connect());
    ASSERT_TRUE(test::WaitUntil([&] { return host.answers.size() >= 40; }));
    host.dao.Disconnect();
    const auto sent = device.With([](SimDevice &d) { return d.SentPackets(); });
    for (const Bytes &packet : host.packets)
        EXPECT_NE(std::find(sent.begin(), sent.end(), packet), sent.end())
            << "a packet the device never sent";
    // The faults did happen: fewer packets arrived than were sent.
    EXPECT_LT(host.packets.size(), sent.size());
}

TEST_F(SerialLinkTest, OpenErrorsCarryTheirTexts)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("plain-file"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const struct {
        QString address;
        QString message;
    } cases[] = {
        {file,
         QStringLiteral(
             "Не удалось подключиться к устройству: Ошибка подключения к plain-file: Задан не COM-порт")},
        {dir.filePath(QStringLiteral("missing")),
         QStringLiteral(
             "Не удалось подключиться к устройству: Ошибка подключения к missing: Невозможно открыть порт!")},
    };
    for (const auto &c : cases) {
        TDAO dao(kConnectSerial);
        QString message;
        dao.OnMessage = [&](const QString &text) { message = text; };
        dao.OnPacket = [](const std::uint8_t *, std::size_t) {};
        dao.SetAddress(c.address);
        EXPECT_FALSE(dao.Connect());
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(dao.State(), kStateDisconnected);
    }

    PtyDevice device(SimOptions{});
    TComm32 port;
    port.SetPortName(QString::fromStdString(device.SlavePath()));
    port.SetBaudRate(10417);
    port.Open(); // a pseudo-terminal has no RTS or DTR: still fine
    try {
        port.Open();
        FAIL() << "opened twice";
    } catch (const ECommsError &e) {
        EXPECT_EQ(e.Text(), QStringLiteral("Заданный порт уже открыт!"));
    }
    port.Close();
}
