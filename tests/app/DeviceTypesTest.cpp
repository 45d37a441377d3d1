#include "app/DeviceTypes.h"

#include <gtest/gtest.h>

using namespace vantor;

namespace {

TEST(DeviceTypes, TableTiesTagsToKeysAndNames)
{
    const struct {
        DeviceTag tag;
        const char *key;
        const char *name;
    } expected[] = {{1, "vantor5", "Vantor-5"}, {2, "revur", "Pelmar-3"}, {3, "orsin", "Orsin-3"},
                    {4, "whmeter", "Rudex"},    {5, "sollo", "Sollo-4"},  {6, "navet", "Navet"}};
    ASSERT_EQ(DeviceTypes().size(), std::size(expected));
    for (const auto &e : expected) {
        const DeviceType *type = FindDeviceType(e.tag);
        ASSERT_NE(type, nullptr) << int(e.tag);
        EXPECT_EQ(type->rootKey, e.key);
        EXPECT_STREQ(type->name, e.name);
        EXPECT_EQ(FindDeviceTypeByRootKey(e.key), type);
    }
    EXPECT_EQ(FindDeviceType(0), nullptr);
    EXPECT_EQ(FindDeviceType(7), nullptr);
    EXPECT_EQ(FindDeviceTypeByRootKey("Vantor5"), nullptr);
    EXPECT_STREQ(FindDeviceType(kRudexTag)->newMenuCaption, "Rudex-2");
    EXPECT_STREQ(FindDeviceType(kRudexTag)->newCaption, "Rudex");
}

TEST(DeviceTypes, RootKeyIsSearchedInTagOrderFromTheStartingTagWithoutWrapping)
{
    const struct {
        const char *document;
        DeviceTag start;
        std::optional<DeviceTag> found;
    } cases[] = {
        {R"({"navet":{},"vantor5":{}})", 0, kVantorTag}, // tag order, not member order
        {R"({"navet":{},"vantor5":{}})", 1, kVantorTag},
        {R"({"navet":{},"vantor5":{}})", 2, kNavetTag},
        {R"({"vantor5":{}})", kSolloTag, std::nullopt}, // a Sollo-4 read looks at sollo and navet only
        {R"({"sollo":{},"navet":{}})", kSolloTag, kSolloTag},
        {R"({"sollo":{},"navet":{}})", kNavetTag, kNavetTag},
        {R"({"revur":[1,2]})", 0, kPelmarTag}, // presence decides; the window judges the value
        {R"({"other":{}})", 0, std::nullopt},
        {R"({})", 0, std::nullopt},
        {R"({"navet":{}})", 7, std::nullopt},
    };
    for (const auto &c : cases) {
        const auto root = json::Parse(c.document);
        ASSERT_TRUE(root) << c.document;
        EXPECT_EQ(FindRootKey(*root, c.start), c.found) << c.document << " from " << int(c.start);
    }
    EXPECT_EQ(FindRootKey(json::Json::array({"vantor5"}), 0), std::nullopt);
}

} // namespace
