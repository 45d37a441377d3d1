#include "json/JsonText.h"

#include <gtest/gtest.h>

#include <string>

using vantor::json::FormatNumber;
using vantor::json::Json;
using vantor::json::Parse;
using vantor::json::ParseError;
using vantor::json::ParseObject;
using vantor::json::RenderCompact;
using vantor::json::RenderIndented;

namespace {

// One document that exercises every token kind: nested empty and non-empty
// containers, every escape, Cyrillic, integers, fractions, large and small numbers.
const char *const kSource =
    R"({"name":"Перекрёсток \"Север\"","esc":"a\b\t\n\f\r\\\/\u0001\u001f","n":[0,-7,123456789012,)"
    R"(1.5,-0.25,1e20,1.5e-7,0.00001,123456789012345678,0.30000000000000004],"empty":{},"list":[],)"
    R"("nested":{"a":[{},[],{"b":true,"c":false,"d":null}]}})";

TEST(JsonText, CompactLayoutIsByteExact)
{
    const auto doc = ParseObject(kSource);
    ASSERT_TRUE(doc);
    EXPECT_EQ(RenderCompact(*doc),
              R"({"name":"Перекрёсток \"Север\"","esc":"a\b\t\n\f\r\\/\u0001\u001F","n":[0,-7,123456789012,)"
              R"(1.5,-0.25,1E20,1.5E-7,0.00001,123456789012345678,0.3],"empty":{},"list":[],)"
              R"("nested":{"a":[{},[],{"b":true,"c":false,"d":null}]}})");
}

TEST(JsonText, IndentedLayoutIsByteExact)
{
    const auto doc = ParseObject(kSource);
    ASSERT_TRUE(doc);
    const std::string expected =
        "{\r\n"
        "\t\"name\": \"Перекрёсток \\\"Север\\\"\",\r\n"
        "\t\"esc\": \"a\\b\\t\\n\\f\\r\\\\/\\u0001\\u001F\",\r\n"
        "\t\"n\": [\r\n"
        "\t\t0,\r\n\t\t-7,\r\n\t\t123456789012,\r\n\t\t1.5,\r\n\t\t-0.25,\r\n\t\t1E20,\r\n"
        "\t\t1.5E-7,\r\n\t\t0.00001,\r\n\t\t123456789012345678,\r\n\t\t0.3\r\n"
        "\t],\r\n"
        "\t\"empty\": {},\r\n"
        "\t\"list\": [],\r\n"
        "\t\"nested\": {\r\n"
        "\t\t\"a\": [\r\n"
        "\t\t\t{},\r\n"
        "\t\t\t[],\r\n"
        "\t\t\t{\r\n"
        "\t\t\t\t\"b\": true,\r\n"
        "\t\t\t\t\"c\": false,\r\n"
        "\t\t\t\t\"d\": null\r\n"
        "\t\t\t}\r\n"
        "\t\t]\r\n"
        "\t}\r\n"
        "}";
    EXPECT_EQ(RenderIndented(*doc), expected);
}

TEST(JsonText, ScalarAndEmptyRoots)
{
    EXPECT_EQ(RenderIndented(Json::object()), "{}");
    EXPECT_EQ(RenderIndented(Json::array()), "[]");
    EXPECT_EQ(RenderCompact(Json("x")), "\"x\"");
    EXPECT_EQ(RenderIndented(Json::parse("[[]]")), "[\r\n\t[]\r\n]");
}

TEST(JsonText, MemberOrderIsKeptAsInserted)
{
    Json doc = Json::object();
    doc["z"] = 1;
    doc["a"] = 2;
    doc["m"] = 3;
    EXPECT_EQ(RenderCompact(doc), R"({"z":1,"a":2,"m":3})");
    EXPECT_EQ(RenderCompact(*Parse(R"({"z":1,"a":2})")), R"({"z":1,"a":2})");
}

TEST(JsonText, FormatsNumbersInGeneralFormatWith15Digits)
{
    const struct {
        double value;
        const char *text;
    } cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {1.0, "1"},
        {-2.5, "-2.5"},
        {1234567.125, "1234567.125"},
        {0.1, "0.1"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {123456789012345.0, "123456789012345"}, // 15 digits: still fixed
        {1e15, "1E15"},                         // 16 integer digits: exponent
        {999999999999999.9, "1E15"},            // rounding carries into the exponent
        {1.5e300, "1.5E300"},
        {0.00001, "0.00001"}, // smallest fixed value
        {0.000012345, "0.000012345"},
        {0.0000099, "9.9E-6"},
        {-1.25e-10, "-1.25E-10"},
        {100.0, "100"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatNumber(c.value), c.text) << "value " << c.value;
}

TEST(JsonText, InvalidTextGivesNoObjectAndAPosition)
{
    const struct {
        std::string text;
        std::size_t line, column;
    } cases[] = {
        {"", 1, 1},
        {"{\"a\":1,}", 1, 8},
        {"{\n  \"a\": tru }", 2, 11},   // stops at the blank after "tru"
        {"{\"a\":\"\xff\xfe\"}", 1, 7}, // not UTF-8 inside a string
        {"\xC3\x28", 1, 1},             // not UTF-8 at all
        {"{} x", 1, 4},
        {std::string("123\0garbage", 11), 1, 4}, // a NUL does not end the text
    };
    for (const auto &c : cases) {
        ParseError error;
        EXPECT_FALSE(Parse(c.text, &error)) << c.text;
        EXPECT_EQ(error.line, c.line) << c.text;
        EXPECT_EQ(error.column, c.column) << c.text;
        EXPECT_FALSE(error.reason.empty());
    }
    ParseError error;
    EXPECT_FALSE(ParseObject("[1,2]", &error));
    EXPECT_FALSE(error.reason.empty());
    EXPECT_TRUE(Parse("[1,2]"));
}

TEST(JsonText, DeepNestingParsesAndRendersWithoutExhaustingTheStack)
{
    const std::size_t depth = 10000;
    const std::string text = std::string(depth, '[') + std::string(depth, ']');
    const auto doc = Parse(text);
    ASSERT_TRUE(doc);
    EXPECT_EQ(RenderCompact(*doc), text);
    const std::string indented = RenderIndented(*doc);
    EXPECT_EQ(indented.substr(0, 4), "[\r\n\t");
    EXPECT_EQ(indented.back(), ']');

    EXPECT_FALSE(Parse(std::string(depth, '['))); // unterminated: rejected, not crashed
}

} // namespace
