// The USB transport through a fake libusb 0.1 library that runs the simulated device.
#include "link/Packet.h"
#include "link/UsbProvider.h"
#include "link/pr_dataProvider.h"
#include "link/pr_usb.h"
#include "programming/ProgSession.h"

#include "EventLoopWait.h"
#include "FakeUsbControl.h"
#include "SimDevice.h"

#include <QLibrary>

#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::link;
using vantor::devsim::Bytes;
using vantor::devsim::SimDevice;

namespace {

class UsbLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("VANTOR5_LIBUSB", FAKE_LIBUSB_PATH);
        fake_.setFileName(QStringLiteral(FAKE_LIBUSB_PATH));
        ASSERT_TRUE(fake_.load()) << fake_.errorString().toStdString();
        configure_ = reinterpret_cast<FakeUsbConfigure>(fake_.resolve("fakeusb_configure"));
        injectError_ = reinterpret_cast<FakeUsbInjectReadError>(fake_.resolve("fakeusb_inject_read_error"));
        chunks_ = reinterpret_cast<FakeUsbWriteChunks>(fake_.resolve("fakeusb_write_chunks"));
        withDevice_ = reinterpret_cast<FakeUsbWithDevice>(fake_.resolve("fakeusb_with_device"));
        openHandles_ = reinterpret_cast<FakeUsbOpenHandles>(fake_.resolve("fakeusb_open_handles"));
        ASSERT_TRUE(configure_ && injectError_ && chunks_ && withDevice_ && openHandles_);
        LoadUsbLibrary();
        Configure({});
    }

    void Configure(FakeUsbConfig config)
    {
        if (config.deviceCount == 0 && config.vendorId == 0) {
            config = {1, 0x1002, 0x6666, 1, 64, 0, 5, 2, "SN-0001"};
        }
        configure_(&config);
    }

    template <typename F>
    auto Device(F f)
    {
        using Result = std::invoke_result_t<F &, SimDevice &>;
        struct Call {
            F *fn;
            Result result;
        } call{&f, Result{}};
        withDevice_(
            [](void *c, void *d) {
                auto *call = static_cast<Call *>(c);
                call->result = (*call->fn)(*static_cast<SimDevice *>(d));
            },
            &call);
        return call.result;
    }

    std::vector<int> Chunks()
    {
        std::vector<int> sizes(4096);
        sizes.resize(std::size_t(chunks_(sizes.data(), int(sizes.size()))));
        return sizes;
    }

    QLibrary fake_;
    FakeUsbConfigure configure_ = nullptr;
    FakeUsbInjectReadError injectError_ = nullptr;
    FakeUsbWriteChunks chunks_ = nullptr;
    FakeUsbWithDevice withDevice_ = nullptr;
    FakeUsbOpenHandles openHandles_ = nullptr;
};

// A host on the USB transport that echoes polls or sends its request.
struct UsbHost {
    explicit UsbHost(const TUSBDevice &device) : dao(kConnectUsb)
    {
        static_cast<TUSBProvider &>(dao.Provider()).SetDevice(device);
        dao.OnPacket = [this](const std::uint8_t *p, std::size_t n) {
            if (p[8] != kPollCommand) {
                answers.emplace_back(p, p + n);
                return;
            }
            if (!request.empty() && int(answers.size()) < wantAnswers)
                dao.Send(request.data(), request.size());
            else
                dao.Send(p, n);
        };
        dao.OnMessage = [this](const QString &text) { messages.push_back(text); };
        dao.OnReconnectRequest = [this] { ++reconnects; };
    }
    TDAO dao;
    Bytes request;
    int wantAnswers = 0;
    std::vector<Bytes> answers;
    std::vector<QString> messages;
    int reconnects = 0;
};

} // namespace

TEST(UsbLibrary, AMissingLibraryIsReportedWithTheDriverHint)
{
    qputenv("VANTOR5_LIBUSB", "/nonexistent/libusb-missing.so");
    try {
        LoadUsbLibrary();
        GTEST_SKIP() << "the library was loaded earlier in this process";
    } catch (const EUSBModuleException &e) {
        EXPECT_TRUE(e.Text().startsWith(
            QStringLiteral("Library /nonexistent/libusb-missing.so wasn't loaded.\r\nLast error ")))
            << e.what();
        EXPECT_TRUE(e.Text().endsWith(
            QStringLiteral(".\r\nНеобходимо установить драйвер Lib-USB (Morvane_ARM_interface).")));
    }
}

TEST_F(UsbLinkTest, VersionLineAndDeviceList)
{
    EXPECT_EQ(UsbVersionText(), QStringLiteral("LibUSB-win32: dll v. 0.1.12.2, driver v. 2.1.12.2"));
    Configure({1, 0x1002, 0x6666, 1, 64, 0, 5, -1, "SN-0001"});
    EXPECT_EQ(UsbVersionText(), QStringLiteral("LibUSB-win32: dll v. 0.1.12.2"));

    auto devices = ListUsbDevices(0x1002, 0x6666);
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0].caption, QStringLiteral("Morvane - Vantor USB [SN-0001]"));
    EXPECT_EQ(devices[0].serial, QStringLiteral("SN-0001"));
    EXPECT_EQ(UsbDeviceItemText(0, devices[0]), QStringLiteral("1. Morvane - Vantor USB [SN-0001]"));
    EXPECT_EQ(AutoSelectUsbDevice(devices), 0);
    EXPECT_EQ(openHandles_(), 0); // listing closes what it opened

    EXPECT_TRUE(ListUsbDevices(0x1002, 0x6667).empty());
    EXPECT_EQ(AutoSelectUsbDevice({}), -1);
    Configure({2, 0x1002, 0x6666, 1, 64, 0, 5, 2, ""});
    devices = ListUsbDevices(0x1002, 0x6666);
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[1].caption, QStringLiteral("Morvane - Vantor USB []"));
    EXPECT_EQ(AutoSelectUsbDevice(devices), -1);
    EXPECT_EQ(UsbListLabel(0x1002, 0x6666),
              QStringLiteral("Доступные USB-устройства (VID/PID: 1002h/6666h)"));
}

TEST_F(UsbLinkTest, ADeviceWithoutEndpoint81IsRefused)
{
    Configure({1, 0x1002, 0x6666, 0, 64, 0, 5, 2, "SN-0001"});
    const auto devices = ListUsbDevices(0x1002, 0x6666);
    ASSERT_EQ(devices.size(), 1u);
    UsbHost host(devices[0]);
    EXPECT_FALSE(host.dao.Connect());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], QStringLiteral("Не удалось подключиться к устройству: подходящий интерфейс с "
                                               "конечными точками 81h и 02h не найден у данного устройства"));
    EXPECT_EQ(openHandles_(), 0); // the handle of the failed connect is closed at once

    TDAO none(kConnectUsb); // nothing selected: false without a text
    QString message;
    none.OnMessage = [&](const QString &text) { message = text; };
    EXPECT_FALSE(none.Connect());
    EXPECT_EQ(message, QStringLiteral("Не удалось подключиться к устройству"));
}

TEST_F(UsbLinkTest, OrderedChunkedWritesAndReads)
{
    Configure({1, 0x1002, 0x6666, 1, 64, 3, 2, 2, "SN-0001"}); // every third bulk write comes up short
    const auto devices = ListUsbDevices(0x1002, 0x6666);
    UsbHost host(devices[0]);
    // Write 150 bytes of configuration at 0: a 160-byte packet, chunks 64, 64, 32.
    Bytes payload = {0, 0, 0, 0, 150, 0, 0, 0};
    for (int i = 0; i < 150; ++i)
        payload.push_back(std::uint8_t(i));
    host.request = MakePacket(7, payload);
    host.wantAnswers = 4;
    ASSERT_TRUE(host.dao.Connect());
    ASSERT_TRUE(test::WaitUntil([&] { return host.answers.size() >= 4; }));
    host.dao.Disconnect();
    EXPECT_EQ(openHandles_(), 0);

    const Bytes expectedAnswer = MakePacket(7, {0, 0, 0, 0, 150, 0, 0, 0, 0});
    for (const Bytes &answer : host.answers)
        EXPECT_EQ(answer, expectedAnswer);
    EXPECT_EQ(Device([](SimDevice &d) { return d.BadPacketCount(); }), 0); // every packet arrived whole
    EXPECT_EQ(Device([](SimDevice &d) { return d.RequestCount(7); }), 4);
    EXPECT_EQ(
        Device([](SimDevice &d) { return Bytes(d.ConfigMemory().begin(), d.ConfigMemory().begin() + 150); }),
        Bytes(payload.begin() + 8, payload.end()));
    // Each packet went out as 64 + 64 + 32 (echoes as 10), short chunks repeated in place.
    const std::vector<int> chunks = Chunks();
    std::vector<int> requestChunks;
    for (int size : chunks)
        if (size != 10)
            requestChunks.push_back(size);
    ASSERT_GE(requestChunks.size(), 12u);
    for (std::size_t i = 0; i + 2 < requestChunks.size(); ++i) {
        if (requestChunks[i] == 32) {
            EXPECT_EQ(requestChunks[i - 1], 64);
            EXPECT_TRUE(requestChunks[i + 1] == 64) << "chunks out of order at " << i;
        }
    }
}

TEST_F(UsbLinkTest, ReadErrorMinus5AsksForAReconnect)
{
    const auto devices = ListUsbDevices(0x1002, 0x6666);
    UsbHost host(devices[0]);
    ASSERT_TRUE(host.dao.Connect());
    ASSERT_TRUE(test::WaitUntil([&] { return host.dao.State() == kStateConnected; }));
    injectError_(-5);
    ASSERT_TRUE(test::WaitUntil([&] { return host.reconnects == 1; }));
    ASSERT_FALSE(host.messages.empty());
    EXPECT_TRUE(host.messages.back().startsWith(QStringLiteral("Ошибка чтения USB (-5)")))
        << host.messages.back().toStdString();
    host.dao.Disconnect();
    // A new connection reads again.
    const int echoes = Device([](SimDevice &d) { return d.EchoCount(); });
    ASSERT_TRUE(host.dao.Connect());
    ASSERT_TRUE(
        test::WaitUntil([&] { return Device([](SimDevice &d) { return d.EchoCount(); }) > echoes + 2; }));
    host.dao.Disconnect();
}

TEST_F(UsbLinkTest, AProgrammingSessionRunsOverUsbAndReconnectsAfterMinus5)
{
    const auto devices = ListUsbDevices(0x1002, 0x6666);
    ASSERT_EQ(devices.size(), 1u);
    programming::ProgOptions options;
    options.connectType = kConnectUsb;
    options.usbDevice = devices[0];
    options.jobDelayMs = 5;
    programming::TProgSession session(3, programming::kModeWrite, R"({"orsin":{"ports":4}})", options);
    std::optional<programming::Outcome> outcome;
    session.OnFinished = [&](const programming::Outcome &o) { outcome = o; };
    session.Connect();
    ASSERT_TRUE(test::WaitUntil([&] { return session.CanRunCommand(); }));
    EXPECT_EQ(session.SerialNumber(), QStringLiteral("SN-0001")); // from the USB descriptor
    EXPECT_EQ(session.PortCaption(), QStringLiteral("Morvane - Vantor USB [SN-0001]"));
    ASSERT_TRUE(session.RunCommand());
    ASSERT_TRUE(test::WaitUntil([&] { return outcome.has_value(); }));
    EXPECT_TRUE(outcome->ok) << outcome->message.toStdString();
    EXPECT_EQ(Device([](SimDevice &d) { return d.StoredJson(); }), R"({"orsin":{"ports":4}})");

    // A read error -5: the session disconnects and connects again by itself.
    const int echoes = Device([](SimDevice &d) { return d.EchoCount(); });
    injectError_(-5);
    ASSERT_TRUE(test::WaitUntil([&] {
        return session.CanRunCommand() && Device([](SimDevice &d) { return d.EchoCount(); }) > echoes + 3;
    }));
    EXPECT_TRUE(session.IsEstablished());
    session.Disconnect();
    EXPECT_EQ(session.ConnectionState(), kStateDisconnected);
    EXPECT_EQ(openHandles_(), 0);
}
