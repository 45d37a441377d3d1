// The fixed texts of the Pelmar-3 document: IPv4 addresses, MAC addresses and the
// web login (Base64 of Windows-1251).
#include "devices/pelmar/MacAddress.h"
#include "devices/pelmar/RegServers.h"
#include "devices/pelmar/WebLogin.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace vantor;

namespace {

TEST(PelmarTexts, IPv4AddressMostSignificantByteFirst)
{
    EXPECT_EQ(FormatIPv4(0), "0.0.0.0");
    EXPECT_EQ(FormatIPv4(0xC0A80A01U), "192.168.10.1");
    EXPECT_EQ(FormatIPv4(0xFFFFFFFFU), "255.255.255.255");

    struct Case {
        const char *text;
        std::uint32_t address;
        std::optional<std::string> badPart;
    };
    const Case cases[] = {
        {"192.168.10.1", 0xC0A80A01U, {}},
        {" 10. 0.0.7 ", 0x0A000007U, {}}, // blanks around parts are tolerated
        {"1.2.3", 0, {}},                 // not four parts: 0.0.0.0
        {"1.2.3.4.5", 0, {}},
        {"", 0, {}},
        {"example.net", 0, {}},
        {"1.2.x.4", 0, "x"},
        {"1.2..4", 0, ""},
        {"1.2.3.256", 0, "256"},
        {"1.2.3.-1", 0, "-1"},
        {"1.2.3.4a", 0, "4a"},
    };
    for (const Case &c : cases) {
        const IPv4Text parsed = ParseIPv4(c.text);
        EXPECT_EQ(parsed.address, c.address) << c.text;
        EXPECT_EQ(parsed.badPart, c.badPart) << c.text;
    }
}

TEST(PelmarTexts, DefaultRegistrationServers)
{
    const TRegServerList regs = DefaultRegServers();
    ASSERT_EQ(regs.size(), 2u);
    for (const TRegServer &reg : regs) {
        EXPECT_EQ(FormatIPv4(reg.ip).rfind("192.0.2.", 0), 0u); // documentation range
        EXPECT_EQ(reg.port, 80);
        EXPECT_TRUE(reg.url.ends_with(".example.net/cgi-bin/svc.cgi")) << reg.url;
    }
    EXPECT_NE(regs[0], regs[1]);
}

TEST(PelmarTexts, MacAddress)
{
    EXPECT_EQ(FormatMacAddress({0x02, 0x1A, 0x2B, 0x3C, 0x4D, 0xFE}), "02-1A-2B-3C-4D-FE");
    EXPECT_EQ(FormatMacAddress({0, 0, 0, 0, 0, 0}), "");

    QRandomGenerator random(20260101);
    for (int i = 0; i < 200; ++i) {
        const MacBytes bytes = RandomMacBytes(random);
        EXPECT_EQ(bytes[0] & 0x01, 0) << "unicast";
        EXPECT_EQ(bytes[0] & 0x02, 0x02) << "locally administered";
    }
    const std::string text = RandomMacAddress();
    ASSERT_EQ(text.size(), 17u);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i % 3 == 2) {
            EXPECT_EQ(text[i], '-');
        } else {
            EXPECT_TRUE(std::isxdigit(static_cast<unsigned char>(text[i])) && !std::islower(text[i])) << text;
        }
    }
}

TEST(PelmarTexts, WebLoginIsBase64OfWindows1251)
{
    EXPECT_EQ(EncodeWebLogin("Иван", "пароль"), "yOLg7Trv4PDu6/w=");
    EXPECT_EQ(EncodeWebLogin("admin", "€uro"), "YWRtaW46iHVybw==");
    EXPECT_EQ(EncodeWebLogin("admin", "x😀y"), "YWRtaW46eD95"); // no such character: '?'
    EXPECT_TRUE(IsWindows1251Text("Пароль №1 «ok» €"));
    EXPECT_FALSE(IsWindows1251Text("x😀y"));
    EXPECT_FALSE(IsWindows1251Text("中"));
    EXPECT_EQ(Utf8ToWindows1251("a\xff"
                                "b"),
              "a?b"); // stray byte in the UTF-8 text
    EXPECT_EQ(Windows1251ToUtf8("\xC8\x98"), "И?");

    struct Case {
        const char *stored;
        DecodedWebLogin::Status status;
        const char *user;
        const char *password;
    };
    const Case cases[] = {
        {"yOLg7Trv4PDu6/w=", DecodedWebLogin::kOk, "Иван", "пароль"},
        {"  yOLg7Trv4PDu6/w=\r\n", DecodedWebLogin::kOk, "Иван", "пароль"},
        {"YWRtaW46YTpi", DecodedWebLogin::kOk, "admin", "a:b"}, // split at the first colon
        {"OnB3", DecodedWebLogin::kOk, "", "pw"},
        {"bm9jb2xvbg==", DecodedWebLogin::kNoColon, "", ""},
        {"   ", DecodedWebLogin::kEmpty, "", ""},
        {"not base64!", DecodedWebLogin::kInvalid, "", ""},
    };
    for (const Case &c : cases) {
        const DecodedWebLogin decoded = DecodeWebLogin(c.stored);
        EXPECT_EQ(decoded.status, c.status) << c.stored;
        EXPECT_EQ(decoded.user, c.user) << c.stored;
        EXPECT_EQ(decoded.password, c.password) << c.stored;
    }
}

} // namespace
