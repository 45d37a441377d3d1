// The connection object's packet scanner and state machine, fed by a fake transport.
#include "link/Checksums.h"
#include "link/Packet.h"
#include "link/pr_dataProvider.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vantor;
using namespace vantor::link;

namespace {

using Bytes = std::vector<std::uint8_t>;

class FakeProvider : public TprDataProvider {
public:
    FakeProvider(TDAO &owner, bool result, QString error)
        : TprDataProvider(owner), result_(result), error_(error)
    {}
    bool Connect(QString *error) override
    {
        ++connects;
        *error = error_;
        return result_;
    }
    void Disconnect() override { ++disconnects; }
    void Send(const std::uint8_t *bytes, std::size_t length) override
    {
        sent.insert(sent.end(), bytes, bytes + length);
    }

    int connects = 0;
    int disconnects = 0;
    Bytes sent;

private:
    bool result_;
    QString error_;
};

struct Harness {
    explicit Harness(int type = kConnectSerial, bool connectOk = true, QString error = {})
        : dao(type, [&](TDAO &owner) {
              auto p = std::make_unique<FakeProvider>(owner, connectOk, error);
              provider = p.get();
              return p;
          })
    {
        dao.OnPacket = [this](const std::uint8_t *p, std::size_t n) { packets.emplace_back(p, p + n); };
        dao.OnStateChange = [this] { states.push_back(dao.State()); };
        dao.OnMessage = [this](const QString &text) { messages.push_back(text); };
    }
    void Feed(const Bytes &bytes) { dao.OnData(bytes.data(), bytes.size()); }

    FakeProvider *provider = nullptr;
    TDAO dao;
    std::vector<Bytes> packets;
    std::vector<int> states;
    std::vector<QString> messages;
};

Bytes Poll()
{
    return Bytes(PollPacket(), PollPacket() + kPollPacketSize);
}

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes &p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

} // namespace

TEST(Packet, PollHeaderCrcIsB6AndFramingMatchesThePoll)
{
    const std::uint8_t header[] = {0x5A, 0xA5, 0x55, 0xAA, 0x01, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(Crc8(header, sizeof header), 0xB6);
    EXPECT_EQ(MakePacket(0, {}), Poll());
    const Bytes answer = MakePacket(6, {'4', '2', 0});
    EXPECT_EQ(answer.size(), 13u);
    EXPECT_EQ(ReadU32(answer.data() + 4), 4u);
    EXPECT_EQ(HexDump(answer.data(), 5), "5a a5 55 aa 04 ");
}

TEST(PacketScanner, DeliversPacketsWhateverTheChunking)
{
    const Bytes answer = MakePacket(9, Bytes(300, 0x42));
    const Bytes poll = Poll();
    const struct {
        const char *name;
        std::vector<Bytes> chunks;
        std::vector<Bytes> expected;
    } cases[] = {
        {"poll split 4 + 6",
         {Bytes(poll.begin(), poll.begin() + 4), Bytes(poll.begin() + 4, poll.end())},
         {Poll()}},
        {"garbage before a packet", {Concat({Bytes{0x00, 0x5A, 0xA5, 0x13, 0xFF}, Poll()})}, {Poll()}},
        {"two packets in one chunk", {Concat({Poll(), answer})}, {Poll(), answer}},
        {"one byte at a time", {}, {answer}},
        {"magic look-alike inside garbage",
         {Concat({Bytes{0x5A, 0xA5, 0x55, 0xAA, 0x01, 0, 0, 0}, Poll()})},
         {Poll()}},
    };
    for (const auto &c : cases) {
        Harness h;
        ASSERT_TRUE(h.dao.Connect());
        if (c.chunks.empty())
            for (std::uint8_t b : answer)
                h.Feed({b});
        for (const Bytes &chunk : c.chunks)
            h.Feed(chunk);
        EXPECT_EQ(h.packets, c.expected) << c.name;
    }
}

TEST(PacketScanner, WrongCrcIsSkippedAndTheNextPacketStillArrives)
{
    Harness h;
    ASSERT_TRUE(h.dao.Connect());
    Bytes bad = MakePacket(7, {1, 2, 3, 4, 5, 6, 7, 8, 0});
    bad.back() ^= 1;
    const Bytes good = MakePacket(7, {9, 9, 9, 9, 1, 0, 0, 0, 0});
    h.Feed(Concat({bad, good}));
    ASSERT_EQ(h.packets.size(), 1u);
    EXPECT_EQ(h.packets[0], good);
    // The good packet starts inside what the bad one claimed: scanning resumed one
    // byte after the bad magic, not after the bad packet's length.
    Harness overlap;
    ASSERT_TRUE(overlap.dao.Connect());
    Bytes header = {0x5A, 0xA5, 0x55, 0xAA, 30, 0, 0, 0, 7};
    overlap.Feed(Concat({header, Poll(), Bytes(40, 0x11)}));
    ASSERT_EQ(overlap.packets.size(), 1u);
    EXPECT_EQ(overlap.packets[0], Poll());
}

TEST(PacketScanner, LengthsBeyondTheLimitAreNeverAccepted)
{
    for (std::uint32_t len : {33793u, 0xFFFFFFF7u, 0xFFFFFFF8u, 0xFFFFFFFFu}) {
        Harness h;
        ASSERT_TRUE(h.dao.Connect());
        Bytes packet(9);
        WriteU32(packet.data(), kPacketMagic);
        WriteU32(packet.data() + 4, len);
        packet[8] = 1;
        packet.push_back(Crc8(packet.data(), packet.size())); // a CRC that would fit a short reading
        h.Feed(Concat({packet, Bytes(64, 0), Poll()}));
        ASSERT_EQ(h.packets.size(), 1u) << len;
        EXPECT_EQ(h.packets[0], Poll()) << len;
    }
}

TEST(PacketScanner, FullBufferDropsNewBytesUntilScannedBytesCanBeDiscarded)
{
    // Junk that never forms a packet fills the buffer: later bytes are dropped.
    Harness junk;
    ASSERT_TRUE(junk.dao.Connect());
    junk.Feed(Bytes(kReceiveBufferSize - 5, 0x33));
    junk.Feed(Poll());
    EXPECT_TRUE(junk.packets.empty());
    EXPECT_EQ(junk.dao.FillCount(), kReceiveBufferSize);
    junk.Feed(Poll());
    EXPECT_TRUE(junk.packets.empty());

    // Delivered packets are discarded when room is needed, so a long stream flows.
    Harness stream;
    ASSERT_TRUE(stream.dao.Connect());
    const Bytes big = MakePacket(9, Bytes(5000, 0x77));
    for (int i = 0; i < 20; ++i)
        stream.Feed(big);
    EXPECT_EQ(stream.packets.size(), 20u);
    EXPECT_LE(stream.dao.FillCount(), kReceiveBufferSize);
    EXPECT_EQ(stream.dao.ScanPosition(), stream.dao.FillCount());

    // The largest packet that fits the buffer arrives.
    Harness largest;
    ASSERT_TRUE(largest.dao.Connect());
    const Bytes max = MakePacket(9, Bytes(kReceiveBufferSize - kPacketOverhead, 0x01));
    largest.Feed(max);
    ASSERT_EQ(largest.packets.size(), 1u);
}

TEST(PacketScanner, UsbAndSerialDeliverTheSameAndNothingWithoutACallback)
{
    Harness usb(kConnectUsb);
    ASSERT_TRUE(usb.dao.Connect());
    usb.Feed(Concat({Poll(), Poll()}));
    usb.Feed(Poll());
    EXPECT_EQ(usb.packets.size(), 3u);

    Harness none;
    none.dao.OnPacket = nullptr;
    ASSERT_TRUE(none.dao.Connect());
    none.Feed(Poll());
    EXPECT_EQ(none.dao.FillCount(), 0u);
    EXPECT_EQ(none.dao.State(), kStateConnecting); // no callback: nothing counts as received
}

TEST(PacketScanner, PacketsFedFromInsideTheCallbackKeepTheirOrder)
{
    Harness h;
    ASSERT_TRUE(h.dao.Connect());
    const Bytes second = MakePacket(6, {'1', 0});
    bool fed = false;
    h.dao.OnPacket = [&](const std::uint8_t *p, std::size_t n) {
        h.packets.emplace_back(p, p + n);
        if (!fed) {
            fed = true; // a nested event loop delivering more bytes
            h.Feed(second);
        }
    };
    h.Feed(Concat({Poll(), Poll()}));
    ASSERT_EQ(h.packets.size(), 3u);
    EXPECT_EQ(h.packets[2], second);
}

TEST(LinkState, ConnectDisconnectAndFirstBytes)
{
    Harness h;
    EXPECT_EQ(h.dao.State(), kStateDisconnected);
    ASSERT_TRUE(h.dao.Connect());
    EXPECT_EQ(h.dao.State(), kStateConnecting);
    EXPECT_TRUE(h.dao.Connect()); // while connecting: true, transport untouched
    EXPECT_EQ(h.provider->connects, 1);
    h.Feed({0x01});
    EXPECT_EQ(h.dao.State(), kStateConnected); // first bytes, even without a packet
    EXPECT_TRUE(h.dao.Connect());
    EXPECT_EQ(h.provider->connects, 1);
    h.dao.Disconnect();
    EXPECT_EQ(h.states, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(h.provider->disconnects, 1);
    h.dao.Disconnect(); // already disconnected: nothing
    EXPECT_EQ(h.provider->disconnects, 1);
    // A new connection starts with an empty buffer.
    const Bytes poll = Poll();
    h.Feed(Bytes(poll.begin(), poll.begin() + 4));
    ASSERT_TRUE(h.dao.Connect());
    EXPECT_EQ(h.dao.FillCount(), 0u);
}

TEST(LinkState, FailedConnectReportsTheTransportText)
{
    Harness withText(kConnectSerial, false,
                     QStringLiteral("Ошибка подключения к ttyUSB0: Невозможно открыть порт!"));
    EXPECT_FALSE(withText.dao.Connect());
    EXPECT_EQ(withText.dao.State(), kStateDisconnected);
    EXPECT_EQ(withText.states, (std::vector<int>{0, 3}));
    ASSERT_EQ(withText.messages.size(), 1u);
    EXPECT_EQ(
        withText.messages[0],
        QStringLiteral(
            "Не удалось подключиться к устройству: Ошибка подключения к ttyUSB0: Невозможно открыть порт!"));
    Harness silent(kConnectUsb, false, {});
    EXPECT_FALSE(silent.dao.Connect());
    EXPECT_EQ(silent.messages, std::vector<QString>{QStringLiteral("Не удалось подключиться к устройству")});
}

TEST(LinkState, TrafficLogAndUnsupportedType)
{
    Harness h;
    std::vector<QString> lines;
    h.dao.OnTraffic = [&](const QString &line) { lines.push_back(line); };
    ASSERT_TRUE(h.dao.Connect());
    h.dao.Send(PollPacket(), kPollPacketSize);
    h.Feed({0x5A, 0x0F});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], QStringLiteral("PC:  5a a5 55 aa 01 00 00 00 00 b6 "));
    EXPECT_EQ(lines[1], QStringLiteral("Dev: 5a 0f "));
    EXPECT_EQ(h.provider->sent, Poll());
    try {
        TDAO dao(1);
        FAIL() << "type 1 accepted";
    } catch (const ELinkError &e) {
        EXPECT_STREQ(e.what(), "Unsupported connect type");
    }
}

TEST(LinkAddress, NamesGetTheDevicePrefixPathsStayAsTheyAre)
{
    const struct {
        const char *given;
        const char *address;
        const char *display;
    } cases[] = {
        {"ttyUSB0", "/dev/ttyUSB0", "ttyUSB0"},
        {"pts/7", "/dev/pts/7", "7"},
        {"/tmp/vantor-sim", "/tmp/vantor-sim", "vantor-sim"},
        {"/dev/serial/by-id/usb-FTDI-if00", "/dev/serial/by-id/usb-FTDI-if00", "usb-FTDI-if00"},
    };
    for (const auto &c : cases) {
        Harness h;
        h.dao.SetAddress(QString::fromUtf8(c.given));
        EXPECT_EQ(h.dao.Provider().GetAddress(), QString::fromUtf8(c.address)) << c.given;
        EXPECT_EQ(h.dao.Provider().GetDisplayName(), QString::fromUtf8(c.display)) << c.given;
    }
    Harness h;
    h.dao.Provider().SetPortName(QStringLiteral("ttyACM1"));
    EXPECT_EQ(h.dao.Provider().GetAddress(), QStringLiteral("/dev/ttyACM1"));
}

TEST(PacketScanner, AReconnectFromInsideTheCallbackStartsAFreshBuffer)
{
    Harness h;
    ASSERT_TRUE(h.dao.Connect());
    int delivered = 0;
    h.dao.OnPacket = [&](const std::uint8_t *, std::size_t) {
        if (++delivered == 1) {
            h.dao.Disconnect();
            h.dao.Connect();
        }
    };
    h.Feed(Concat({Poll(), Poll(), Poll()}));
    EXPECT_EQ(delivered, 1); // the rest belonged to the old connection
    EXPECT_EQ(h.dao.FillCount(), 0u);
    h.Feed(Poll());
    EXPECT_EQ(delivered, 2);
    EXPECT_EQ(h.dao.ScanPosition(), kPollPacketSize);
}
