// The Rudex configuration and its "whmeter" document.
#include "devices/rudex/RudexConfig.h"

#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::rudex;

namespace {

json::Json Document(const char *text)
{
    auto root = json::ParseObject(text);
    EXPECT_TRUE(root) << text;
    return root ? *root : json::Json::object();
}

TEST(RudexConfigTest, ANewConfigurationWritesItsDefaults)
{
    const RudexConfig config;
    EXPECT_EQ(json::RenderCompact(GetConfigJson(config)),
              R"({"whmeter":{"en":true,"name":"","id":1,"app_id":1,"psw":"","psw_def":false}})");
    ASSERT_EQ(config.Ids.size(), 2u);
    EXPECT_EQ(config.Ids[0]->Caption, QStringLiteral("Rudex"));
    EXPECT_EQ(config.Ids[1]->Caption, QStringLiteral("Rudex"));
    EXPECT_EQ(config.Ids[0]->Group, kOwnIdGroup);
    EXPECT_EQ(config.Ids[1]->Group, kAppIdGroup);
    EXPECT_EQ(config.Ids[0]->Kind, 0);
}

TEST(RudexConfigTest, ReadingSetsAbsentSwitchesOffButKeepsAbsentIdentifiers)
{
    RudexConfig config;
    config.FindId(kOwnIdGroup)->Value = 500;
    config.FindId(kAppIdGroup)->Value = 600;
    config.Password = QStringLiteral("old");
    QString error = QStringLiteral("stale");
    ASSERT_TRUE(LoadConfigJson(config, Document(R"({"whmeter":{"name":"Щит 4","app_id":65535}})"), &error));
    EXPECT_TRUE(error.isEmpty());
    EXPECT_FALSE(config.Enabled); // no "en": unchecked
    EXPECT_EQ(config.Name, QStringLiteral("Щит 4"));
    EXPECT_EQ(config.IdValue(kOwnIdGroup), 500);
    EXPECT_EQ(config.IdValue(kAppIdGroup), 65535);
    EXPECT_TRUE(config.Password.isEmpty());
    EXPECT_FALSE(config.DefaultPassword);
}

TEST(RudexConfigTest, ADocumentReadsBackToTheSameBytes)
{
    const char *text =
        R"({"whmeter":{"en":false,"name":"Учёт \"Север\"","id":255,"app_id":4660,"psw":"p@ss","psw_def":true}})";
    RudexConfig config;
    ASSERT_TRUE(LoadConfigJson(config, Document(text)));
    EXPECT_EQ(json::RenderCompact(GetConfigJson(config)), text);
    EXPECT_EQ(config.IdValue(kOwnIdGroup), 255);
}

TEST(RudexConfigTest, IdentifiersStayWithinSixteenBitsAndAMissingGroupWritesOne)
{
    RudexConfig config;
    ASSERT_TRUE(LoadConfigJson(config, Document(R"({"whmeter":{"id":70000,"app_id":-4}})")));
    EXPECT_EQ(config.IdValue(kOwnIdGroup), 65535);
    EXPECT_EQ(config.IdValue(kAppIdGroup), 0);

    config.Ids.erase(config.Ids.begin()); // the own identifier's entry
    EXPECT_EQ(WriteRudexConfig(config)["id"], 1);
    ASSERT_TRUE(LoadConfigJson(config, Document(R"({"whmeter":{"id":9}})"))); // nowhere to go: ignored
    EXPECT_EQ(WriteRudexConfig(config)["id"], 1);
}

TEST(RudexConfigTest, MissingOrUnusableDocumentsAreRefused)
{
    RudexConfig config;
    config.Name = QStringLiteral("как было");
    QString error;
    EXPECT_FALSE(LoadConfigJson(config, Document(R"({"navet":{}})"), &error));
    EXPECT_EQ(error, QStringLiteral("Некорректная конфигурация"));
    EXPECT_FALSE(LoadConfigJson(config, Document(R"({"whmeter":null})"), &error));
    EXPECT_EQ(error, QStringLiteral("Некорректная конфигурация"));
    EXPECT_EQ(config.Name, QStringLiteral("как было"));

    // A bad identifier stops the read there: what came before it stays.
    EXPECT_FALSE(
        LoadConfigJson(config, Document(R"({"whmeter":{"en":true,"name":"Новое","id":"1O"}})"), &error));
    EXPECT_EQ(error, QStringLiteral("Некорректное значение «whmeter.id» (\"1O\"): ожидается целое число."));
    EXPECT_EQ(config.Name, QStringLiteral("Новое"));
}

} // namespace
