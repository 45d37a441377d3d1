// The Orsin-3 configuration (TDevice) and its "orsin" document.
#include "devices/orsin/OrsinConfig.h"

#include <gtest/gtest.h>

#include <set>

using namespace vantor;
using namespace vantor::orsin;

namespace {

json::Json Document(const std::string &text)
{
    auto root = json::ParseObject(text);
    EXPECT_TRUE(root) << text;
    return root ? *root : json::Json::object();
}

constexpr int kTwoYellow = 4; // output "2ж" of a controller

TEST(OrsinConfigTest, ANewConfigurationWritesCountsAndAnEmptyTable)
{
    TDevice device;
    EXPECT_EQ(json::RenderCompact(GetConfigJson(device)),
              R"({"orsin":{"vantor_count":1,"output_count":8,"table":[]}})");
    // With its options on, the network settings are written with their defaults.
    device.Ethernet = true;
    device.Server = true;
    EXPECT_EQ(json::RenderCompact(GetConfigJson(device)),
              R"({"orsin":{"vantor_count":1,"output_count":8,"table":[],"eth":{"ping":false,"dhcp":false,)"
              R"("mac":"00:00:00:00:00:00","ip":"0.0.0.0","gate":"0.0.0.0","mask":"255.255.255.255"},)"
              R"("server":{"port":1024}}})");
}

TEST(OrsinConfigTest, OutputsHaveTheirNamesAndGlobalIndices)
{
    const QStringList &names = TDevice::OutputNames();
    ASSERT_EQ(names.size(), 32);
    EXPECT_EQ(names[0], QStringLiteral("1к"));
    EXPECT_EQ(names[kTwoYellow], QStringLiteral("2ж"));
    EXPECT_EQ(names[29], QStringLiteral("10з"));
    EXPECT_EQ(names[30], QStringLiteral("11з"));
    EXPECT_EQ(names[31], QStringLiteral("12з"));
}

TEST(OrsinConfigTest, APortWiredToTheSecondControllerIsWrittenAndReadBack)
{
    TDevice device;
    device.SetControllerCount(2);
    device.SetEntry(4, 32 + kTwoYellow); // port 5 → "2ж" of controller 2
    const json::Json written = WriteOrsinConfig(device);
    EXPECT_EQ(json::RenderCompact(written["table"]), R"([{"block":2,"k_out":5,"d_out":5}])");

    TDevice read;
    ASSERT_TRUE(LoadConfigJson(read, GetConfigJson(device)));
    EXPECT_EQ(read.Entry(4), 36);
    EXPECT_EQ(read.OutputText(4), QStringLiteral("(2) 2ж"));
    EXPECT_EQ(read.FindOutput(36), 4);

    // With one controller the grid shows the name alone.
    TDevice one;
    one.SetEntry(0, kTwoYellow);
    EXPECT_EQ(one.OutputText(0), QStringLiteral("2ж"));
    EXPECT_EQ(one.OutputText(1), QString());
}

TEST(OrsinConfigTest, ReducingThePortCountUnwiresThePortsBeyondIt)
{
    TDevice device;
    for (int port = 0; port < 8; ++port)
        device.SetEntry(port, port);
    device.SetPortCount(4);
    EXPECT_EQ(device.PortCount(), 4);
    for (int port = 0; port < 4; ++port)
        EXPECT_EQ(device.Entry(port), port);
    for (int port = 4; port < 8; ++port)
        EXPECT_EQ(device.Entry(port), TDevice::kUnassigned);
    device.SetPortCount(0); // changes nothing
    device.SetPortCount(-1);
    EXPECT_EQ(device.PortCount(), 4);
    device.SetPortCount(100);
    EXPECT_EQ(device.PortCount(), 64);
}

TEST(OrsinConfigTest, ReducingTheControllerCountUnwiresOnlyPortsOfTheControllerThatLeaves)
{
    TDevice device;
    device.SetControllerCount(2);
    device.SetPortCount(64);
    device.SetEntry(0, 32);  // controller 2
    device.SetEntry(1, 3);   // controller 1
    device.SetEntry(40, 7);  // controller 1, on a high port
    device.SetEntry(50, 63); // controller 2
    device.SetControllerCount(1);
    EXPECT_EQ(device.ControllerCount(), 1);
    EXPECT_EQ(device.Entry(0), TDevice::kUnassigned);
    EXPECT_EQ(device.Entry(1), 3);
    EXPECT_EQ(device.Entry(40), 7);
    EXPECT_EQ(device.Entry(50), TDevice::kUnassigned);
    EXPECT_EQ(json::RenderCompact(WriteOrsinConfig(device)["table"]),
              R"([{"block":1,"k_out":4,"d_out":2},{"block":1,"k_out":8,"d_out":41}])");

    device.SetControllerCount(0); // changes nothing
    device.SetControllerCount(5); // two at most
    EXPECT_EQ(device.ControllerCount(), 2);
}

TEST(OrsinConfigTest, TableAccessOutsideItsPortsIsHarmless)
{
    TDevice device;
    device.SetEntry(-1, 5);
    device.SetEntry(64, 5);
    EXPECT_EQ(device.Entry(-1), TDevice::kUnassigned);
    EXPECT_EQ(device.Entry(64), TDevice::kUnassigned);
    EXPECT_EQ(device.FindOutput(5), -1);
    // An output wired to any port is found, whatever the controller count.
    device.SetPortCount(64);
    device.SetEntry(60, 5);
    EXPECT_EQ(device.FindOutput(5), 60);
}

TEST(OrsinConfigTest, AddressTextsAreTakenOnlyWithTheRightNumberOfParts)
{
    const auto ip = ParseIpText(QStringLiteral("256.1.-1.300"));
    EXPECT_EQ(ip.status, ParsedAddress<4>::kTaken);
    EXPECT_EQ(IpText(ip.bytes), QStringLiteral("0.1.255.44")); // modulo 256
    EXPECT_EQ(ParseIpText(QStringLiteral("10.0.0")).status, ParsedAddress<4>::kIgnored);
    EXPECT_EQ(ParseIpText(QStringLiteral("10.0.0.1.2")).status, ParsedAddress<4>::kIgnored);
    const auto badIp = ParseIpText(QStringLiteral("10.0.x.1"));
    EXPECT_EQ(badIp.status, ParsedAddress<4>::kBadPart);
    EXPECT_EQ(badIp.badPart, QStringLiteral("x"));

    const auto mac = ParseMacText(QStringLiteral("0a:1B:ff:00:7:123"));
    EXPECT_EQ(mac.status, ParsedAddress<6>::kTaken);
    EXPECT_EQ(MacText(mac.bytes), QStringLiteral("0A:1B:FF:00:07:23"));
    EXPECT_EQ(ParseMacText(QStringLiteral("0A:1B:FF:00:07")).status,
              ParsedAddress<6>::kIgnored); // five parts
    EXPECT_EQ(ParseMacText(QStringLiteral("0A:1B:FG:00:07:23")).status, ParsedAddress<6>::kBadPart);
    EXPECT_EQ(ParseMacText(QStringLiteral("0A:1B::00:07:23")).status, ParsedAddress<6>::kBadPart);
}

TEST(OrsinConfigTest, ReadingTakesTheDocumentsNetworkSettingsAndIgnoresShortAddresses)
{
    TDevice device;
    device.Mac = {1, 2, 3, 4, 5, 6};
    ASSERT_TRUE(LoadConfigJson(
        device, Document(R"({"orsin":{"eth":{"ping":true,"mac":"AA:BB:CC:DD:EE","ip":"192.168.10.20",)"
                         R"("gate":"192.168.10.1","mask":"255.255.255.0"},"server":{}}})")));
    EXPECT_TRUE(device.Ethernet);
    EXPECT_TRUE(device.Ping);
    EXPECT_FALSE(device.Dhcp);
    EXPECT_EQ(MacText(device.Mac), QStringLiteral("01:02:03:04:05:06")); // five parts: kept
    EXPECT_EQ(IpText(device.Ip), QStringLiteral("192.168.10.20"));
    EXPECT_EQ(IpText(device.Gateway), QStringLiteral("192.168.10.1"));
    EXPECT_EQ(IpText(device.Mask), QStringLiteral("255.255.255.0"));
    EXPECT_TRUE(device.Server);
    EXPECT_EQ(device.ServerPort, 1024);
}

TEST(OrsinConfigTest, OptionsFollowThePresenceOfTheirMembersBothWays)
{
    const char *documents[] = {
        R"({"orsin":{"vantor_count":1,"output_count":8,"table":[]}})",
        R"({"orsin":{"vantor_count":2,"output_count":64,"table":[{"block":1,"k_out":32,"d_out":1}],)"
        R"("eth":{"ping":true,"dhcp":true,"mac":"02:10:20:30:40:50","ip":"10.1.1.2","gate":"10.1.1.1",)"
        R"("mask":"255.0.0.0"}}})",
        R"({"orsin":{"vantor_count":1,"output_count":3,"table":[],"server":{"port":8080}}})",
    };
    for (const char *text : documents) {
        TDevice device;
        device.Ethernet = true; // whatever was on before
        device.Server = true;
        ASSERT_TRUE(LoadConfigJson(device, Document(text))) << text;
        EXPECT_EQ(json::RenderCompact(GetConfigJson(device)), text);
    }
}

TEST(OrsinConfigTest, CountsAreBroughtIntoRangeAndBadTableElementsSkipped)
{
    const struct {
        const char *counts;
        int controllers;
        int ports;
    } cases[] = {
        {R"("vantor_count":0,"output_count":0)", 1, 1},
        {R"("vantor_count":5,"output_count":100)", 2, 64},
        {R"("vantor_count":-3,"output_count":-8)", 1, 1},
        {"", 1, 8},
    };
    for (const auto &c : cases) {
        TDevice device;
        device.SetControllerCount(2);
        device.SetPortCount(20);
        ASSERT_TRUE(LoadConfigJson(device, Document(std::string(R"({"orsin":{)") + c.counts + "}}")))
            << c.counts;
        EXPECT_EQ(device.ControllerCount(), c.controllers) << c.counts;
        EXPECT_EQ(device.PortCount(), c.ports) << c.counts;
    }

    TDevice device;
    device.SetEntry(7, 1); // the table is rebuilt from the document
    ASSERT_TRUE(LoadConfigJson(
        device, Document(R"({"orsin":{"table":[{"block":1,"k_out":2},{"k_out":3,"d_out":0,"block":1},)"
                         R"({"k_out":3,"d_out":65,"block":1},5,{"k_out":9,"d_out":2,"block":1},)"
                         R"({"k_out":1,"d_out":3,"block":9}]}})")));
    EXPECT_EQ(device.Entry(7), TDevice::kUnassigned);
    EXPECT_EQ(device.Entry(1), 8);
    EXPECT_EQ(device.Entry(2), (8 * 32) % 256); // block 9 wraps to controller 1
    for (int port : {0, 3, 4, 5, 6})
        EXPECT_EQ(device.Entry(port), TDevice::kUnassigned) << port;
}

TEST(OrsinConfigTest, ANonNumericAddressPartStopsTheReadWithAClearMessage)
{
    TDevice device;
    QString error;
    EXPECT_FALSE(LoadConfigJson(
        device,
        Document(
            R"({"orsin":{"output_count":4,"table":[{"block":1,"k_out":2,"d_out":1}],)"
            R"("eth":{"ping":true,"mac":"02:00:00:00:00:01","ip":"10.0.0.x","mask":"255.0.0.0"},"server":{}}})"),
        &error));
    EXPECT_EQ(
        error,
        QStringLiteral("Некорректное значение «orsin.eth.ip» (\"10.0.0.x\"): часть «x» не является числом."));
    // What was read before the bad value stays; what follows it is not read.
    EXPECT_EQ(device.PortCount(), 4);
    EXPECT_EQ(device.Entry(0), 1);
    EXPECT_TRUE(device.Ping);
    EXPECT_EQ(MacText(device.Mac), QStringLiteral("02:00:00:00:00:01"));
    EXPECT_EQ(IpText(device.Mask), QStringLiteral("255.255.255.255"));
    EXPECT_FALSE(device.Server);

    EXPECT_FALSE(
        LoadConfigJson(device, Document(R"({"orsin":{"eth":{"mac":"02:00:00:00:00:0Z"}}})"), &error));
    EXPECT_EQ(error, QStringLiteral("Некорректное значение «orsin.eth.mac» (\"02:00:00:00:00:0Z\"): "
                                    "часть «0Z» не является шестнадцатеричным числом."));
    EXPECT_FALSE(LoadConfigJson(
        device, Document(R"({"orsin":{"table":[{"block":1,"k_out":"два","d_out":1}]}})"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("«orsin.table[0].k_out»"))) << error.toStdString();
    EXPECT_FALSE(LoadConfigJson(device, Document(R"({"revur":{}})"), &error));
    EXPECT_EQ(error, QStringLiteral("Некорректная конфигурация"));
}

TEST(OrsinConfigTest, RandomMacAddressesAreLocallyAdministeredUnicast)
{
    std::set<std::array<std::uint8_t, 6>> seen;
    for (int i = 0; i < 50; ++i) {
        const auto mac = TDevice::RandomMac();
        EXPECT_EQ(mac[0] & 0x01, 0);
        EXPECT_EQ(mac[0] & 0x02, 0x02);
        seen.insert(mac);
    }
    EXPECT_GT(seen.size(), 1u);
}

} // namespace
