// The Navet configuration and its "navet" document.
#include "devices/navet/NavetConfig.h"

#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::navet;

namespace {

json::Json Document(const std::string &text)
{
    auto root = json::ParseObject(text);
    EXPECT_TRUE(root) << text;
    return root ? *root : json::Json::object();
}

TEST(NavetConfigTest, ANewConfigurationWritesItsDefaults)
{
    const NavetConfig config;
    const TimeZoneEntry zone = SystemTimeZoneEntry();
    const std::string expected = R"({"navet":{"n":"Новая конфигурация","ver":1,"id":0,"geo":{"tz":)" +
                                 std::to_string(zone.OffsetMinutes()) + R"(,"tzname":")" +
                                 zone.displayName.toStdString() +
                                 R"("},"is_reverse":{"value":1},"cycle":{"ph":[0,0,0,0]},)"
                                 R"("bright":{"currents":[0,0,0,0]},"is_master":{"value":1}}})";
    EXPECT_EQ(json::RenderCompact(GetConfigJson(config)), expected);
}

TEST(NavetConfigTest, CurrentsKeepTheDevicesSpareSlotAndReadBackIntoThreeCells)
{
    NavetConfig config;
    config.Currents = {350, 300, 250};
    const json::Json written = WriteNavetConfig(config);
    EXPECT_EQ(json::RenderCompact(written["bright"]), R"({"currents":[350,300,0,250]})");

    NavetConfig read;
    ASSERT_TRUE(LoadConfigJson(read, GetConfigJson(config)));
    EXPECT_EQ(read.Currents, (std::array<std::int64_t, 3>{350, 300, 250}));
}

TEST(NavetConfigTest, CurrentArraysFillTheCellsOfTheirSlots)
{
    // Slots: 0 red, 1 green, 2 spare, 3 yellow. Cells without a slot keep their value.
    const struct {
        const char *currents;
        std::array<std::int64_t, 3> expected;
    } cases[] = {
        {"[]", {7, 8, 9}},
        {"[5]", {5, 8, 9}},
        {"[5,6]", {5, 6, 9}},
        {"[5,6,99]", {5, 6, 9}},
        {"[5,6,0,4]", {5, 6, 4}},
        {"[1,2,3,4,5]", {1, 2, 4}},
        {"[null,6,0,null]", {7, 6, 9}},
    };
    for (const auto &c : cases) {
        NavetConfig config;
        config.Currents = {7, 8, 9};
        ASSERT_TRUE(LoadConfigJson(
            config, Document(std::string(R"({"navet":{"bright":{"currents":)") + c.currents + "}}}")))
            << c.currents;
        EXPECT_EQ(config.Currents, c.expected) << c.currents;
    }
}

TEST(NavetConfigTest, PhaseArraysFillAsManyCellsAsTheyHave)
{
    NavetConfig config;
    config.Phases = {1, 2, 3, 4};
    ASSERT_TRUE(LoadConfigJson(config, Document(R"({"navet":{"cycle":{"ph":[30,"12"]}}})")));
    EXPECT_EQ(config.Phases, (std::array<std::int64_t, 4>{30, 12, 3, 4}));
    ASSERT_TRUE(LoadConfigJson(config, Document(R"({"navet":{"cycle":{"ph":[9,8,7,6,5,4]}}})")));
    EXPECT_EQ(config.Phases, (std::array<std::int64_t, 4>{9, 8, 7, 6}));
}

TEST(NavetConfigTest, TheRoleIsReadFromWhatTheWriterWrites)
{
    const struct {
        const char *members;
        int role;
    } cases[] = {
        {R"("is_master":{"value":0})", kFollower},
        {R"("role":{"value":0})", kFollower}, // documents that name it "role"
        {R"("is_master":{"value":1},"role":{"value":0})", kLeader},
        {R"("is_master":{})", kFollower}, // no "value": 0
        {R"("is_master":{"value":7})", kLeader},
    };
    for (const auto &c : cases) {
        NavetConfig config;
        config.MasterRole = kLeader;
        config.Type = kReversibleSignal;
        ASSERT_TRUE(LoadConfigJson(config, Document(std::string(R"({"navet":{)") + c.members + "}}")))
            << c.members;
        EXPECT_EQ(config.MasterRole, c.role) << c.members;
        EXPECT_EQ(config.Type, kReversibleSignal) << c.members; // absent: unchanged
    }
    // Written and read back, a follower stays a follower.
    NavetConfig follower;
    follower.MasterRole = kFollower;
    follower.Type = kVehicleSignal;
    NavetConfig read;
    ASSERT_TRUE(LoadConfigJson(read, GetConfigJson(follower)));
    EXPECT_EQ(read.MasterRole, kFollower);
    EXPECT_EQ(read.Type, kVehicleSignal);
}

TEST(NavetConfigTest, NameAndIdentifierFallBackToDefaultsAndTheZoneNeedsBothMembers)
{
    NavetConfig config;
    config.Name = QStringLiteral("Старое");
    config.Id = 44;
    const TimeZoneEntry before = config.TimeZone;
    ASSERT_TRUE(LoadConfigJson(config, Document(R"({"navet":{"geo":{"tz":300}}})")));
    EXPECT_EQ(config.Name, QStringLiteral("Новая конфигурация"));
    EXPECT_EQ(config.Id, 0);
    EXPECT_EQ(config.TimeZone, before);

    ASSERT_TRUE(LoadConfigJson(
        config,
        Document(
            R"({"navet":{"n":"Реверс 2","id":12,"geo":{"tz":330,"tzname":"(UTC+05:30) Asia/Kolkata"}}})")));
    EXPECT_EQ(config.Name, QStringLiteral("Реверс 2"));
    EXPECT_EQ(config.Id, 12);
    EXPECT_EQ(config.TimeZone.bias, -330);
    EXPECT_EQ(config.TimeZone.displayName, QStringLiteral("(UTC+05:30) Asia/Kolkata"));
}

TEST(NavetConfigTest, AFullDocumentReadsBackToTheSameBytes)
{
    const char *text =
        R"({"navet":{"n":"Реверс","ver":1,"id":77,"geo":{"tz":-210,"tzname":"(UTC-03:30) Где-то"},)"
        R"("is_reverse":{"value":0},"cycle":{"ph":[10,3,25,4]},"bright":{"currents":[350,300,0,250]},)"
        R"("is_master":{"value":0}}})";
    NavetConfig config;
    ASSERT_TRUE(LoadConfigJson(config, Document(text)));
    EXPECT_EQ(json::RenderCompact(GetConfigJson(config)), text);
}

TEST(NavetConfigTest, MissingOrUnusableDocumentsAreRefused)
{
    NavetConfig config;
    QString error;
    EXPECT_FALSE(LoadConfigJson(config, Document(R"({"orsin":{}})"), &error));
    EXPECT_EQ(error, QStringLiteral("Некорректная конфигурация"));

    EXPECT_FALSE(
        LoadConfigJson(config, Document(R"({"navet":{"n":"Прочитано","cycle":{"ph":[5,"пять"]}}})"), &error));
    EXPECT_EQ(error,
              QStringLiteral("Некорректное значение «navet.cycle.ph[1]» (\"пять\"): ожидается целое число."));
    EXPECT_EQ(config.Name, QStringLiteral("Прочитано"));
    EXPECT_EQ(config.Phases[0], 5);

    EXPECT_FALSE(LoadConfigJson(config, Document(R"({"navet":{"bright":[1,2]}})"), &error));
    EXPECT_EQ(error, QStringLiteral("Некорректное значение «navet.bright» ([1,2]): ожидается объект."));
}

} // namespace
