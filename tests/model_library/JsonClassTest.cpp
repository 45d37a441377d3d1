// The model library's in-place JSON reader.
#include "model_library/JsonClass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

using vantor::model::JsonClass;
using vantor::model::JsonElements;
using vantor::model::JsonScanCache;

namespace {

// Views point into the text: keep it alive (string literals and named strings).
JsonClass View(std::string_view text)
{
    return JsonClass::Make(text.data(), text.data() + text.size());
}

std::string Span(const JsonClass &view)
{
    return view.begin() ? std::string(view.begin(), view.end()) : std::string("<null>");
}

TEST(JsonClass, MakeViewDecidesKindAndSpan)
{
    const struct {
        std::string text;
        JsonClass::Kind kind;
        std::string span;
    } cases[] = {
        {"  [1, 2]\t\r\n", JsonClass::Array, "1, 2"},
        {"{\"a\":1}", JsonClass::Object, "\"a\":1"},
        {"[[1,{\"b\":[]}],\"]\"]", JsonClass::Array, "[1,{\"b\":[]}],\"]\""},
        {"   \n\t ", JsonClass::None, "<null>"},
        {"", JsonClass::None, "<null>"},
        {"[1,2", JsonClass::None, "<null>"},      // no closing bracket
        {"[1,}]", JsonClass::None, "<null>"},     // "}" would make its count negative
        {"[{]}", JsonClass::None, "<null>"},      // "]" closes while "{" is open
        {"{\"a\":]}", JsonClass::None, "<null>"}, // "]" would make its count negative
        {"42 , 7", JsonClass::Scalar, "42 "},     // blanks before the comma stay in the span
        {"42 } x", JsonClass::Scalar, "42 "},
        {"\"a,}\" ,1", JsonClass::Scalar, "\"a,}\" "},
        {"tr[u,e]e,1", JsonClass::Scalar, "tr[u,e]e"},
        {"7   ", JsonClass::Scalar, "7"}, // blanks before the end position are dropped
        {",", JsonClass::Scalar, ""},
        // A backslash protects the next character inside a string in every scan.
        {"[\"a\\\"]\"]", JsonClass::Array, "\"a\\\"]\""},
        {"{\"k\":\"x\\\"}\"}", JsonClass::Object, "\"k\":\"x\\\"}\""},
        {"\"a\\\",b\",c", JsonClass::Scalar, "\"a\\\",b\""},
    };
    for (const auto &c : cases) {
        const JsonClass view = View(c.text);
        EXPECT_EQ(view.kind(), c.kind) << c.text;
        EXPECT_EQ(Span(view), c.span) << c.text;
    }
}

TEST(JsonClass, UnclosedObjectStillAnswersMemberLookups)
{
    // The root passed with its end position on the closing brace.
    const std::string text = "{\"ver\":1,\"dirs\":{\"TminG\":7},\"en\":true}";
    const JsonClass onBrace = JsonClass::Make(text.data(), text.data() + text.size() - 1);
    EXPECT_EQ(onBrace.kind(), JsonClass::None);
    EXPECT_EQ(Span(onBrace), text.substr(1, text.size() - 2));
    EXPECT_EQ(onBrace.IntegerAt("ver", 1000), 1);
    EXPECT_EQ(onBrace.Member("dirs").IntegerAt("TminG", 0), 7);
    EXPECT_TRUE(onBrace.FlagAt("en", false));

    const JsonClass full = View(text);
    EXPECT_EQ(full.kind(), JsonClass::Object);
    EXPECT_EQ(full.IntegerAt("ver", 1000), 1);
}

TEST(JsonClass, MemberLookup)
{
    const struct {
        std::string object;
        std::string key;
        JsonClass::Kind kind;
        std::string span;
    } cases[] = {
        {"{\"a\":1,\"a\":2}", "a", JsonClass::Scalar, "1"},                      // the first occurrence wins
        {"{\"b\":{\"a\":1},\"c\":[{\"a\":2}]}", "a", JsonClass::None, "<null>"}, // only nested
        {"{\"b\":\"a\",\"c\":\"a\"}", "a", JsonClass::None, "<null>"},           // only a string value
        {"{ \"a\" : [1,2] , \"b\":3}", "a", JsonClass::Array, "1,2"},
        {"{\"ab\":1,\"a\":2}", "a", JsonClass::Scalar, "2"}, // same length required
        {"{\"a\":1}", "ab", JsonClass::None, "<null>"},
        {"{\"a\\\"b\":5}", "a\\\"b", JsonClass::Scalar, "5"}, // raw bytes, no unescaping
        {"{\"s\":\"x\\\"y\",\"k\":7}", "k", JsonClass::Scalar, "7"},
        // An escaped quote inside an array value no longer hides the array.
        {"{\"n\":[\"x\\\"\",1],\"k\":7}", "n", JsonClass::Array, "\"x\\\"\",1"},
        {"{\"n\":{\"m\":\"\\\"\"},\"k\":7}", "k", JsonClass::Scalar, "7"},
        {"{\"a\":}", "a", JsonClass::None, "<null>"},
        {"{\"a\"}", "a", JsonClass::None, "<null>"},
        {"{\"a\":1,,\"b\":2}", "b", JsonClass::Scalar, "2"},
    };
    for (const auto &c : cases) {
        const JsonClass value = View(c.object).Member(c.key);
        EXPECT_EQ(value.kind(), c.kind) << c.object << " " << c.key;
        EXPECT_EQ(Span(value), c.span) << c.object << " " << c.key;
    }
    EXPECT_EQ(View("[\"a\",1]").Member("a").kind(), JsonClass::None);
    EXPECT_EQ(View("\"a\"").Member("a").kind(), JsonClass::None);
    EXPECT_EQ(JsonClass().Member("a").kind(), JsonClass::None);
}

TEST(JsonClass, FindMembersGivesWhatMemberGivesForEachKey)
{
    const std::string_view keys[] = {"a", "b", "c", "k", "n", "x"};
    const std::string_view objects[] = {
        "{\"a\":1,\"b\":[1,{\"c\":2}],\"a\":3,\"c\":{\"k\":4},\"k\":\"v,}\" ,\"n\":true }",
        "{\"n\":{\"a\":1},\"a\":[\"x\\\"]\"],\"x\":,\"b\":}",
        "{\"a\" \"b\":1,\"c\":2}",                 // a key without its colon
        "{\"b\":1,\"a\",\"c\":2}",                 // the colon after "a" belongs to "c"
        "{\"x\":[{]},\"b\":2,\"a\":[}{],\"c\":3}", // malformed values inside a valid object
        "{\"c\":1,,\"b\":2,\"x\":[{}]}",
        "{\"a\":1,\"b\":2", // unclosed object
        "[\"a\",1]",
    };
    for (const std::string_view object : objects) {
        // Unclosed text: made with its end on the last character, as open does.
        const JsonClass view = JsonClass::Make(object.data(), object.data() + object.size());
        JsonClass found[6];
        view.FindMembers(keys, found);
        for (std::size_t i = 0; i < 6; ++i) {
            const JsonClass single = view.Member(keys[i]);
            EXPECT_EQ(found[i].kind(), single.kind()) << object << " " << keys[i];
            EXPECT_EQ(found[i].begin(), single.begin()) << object << " " << keys[i];
            EXPECT_EQ(found[i].end(), single.end()) << object << " " << keys[i];
        }
    }
}

TEST(JsonScanCache, ViewsAreTheSameWithAndWithoutIt)
{
    const std::string filler = "\"x\":[" + std::string(300, '1') + "]";
    std::string deep;
    for (int i = 0; i < 40; ++i)
        deep += "{" + filler + ",\"d\":";
    deep += "[" + filler.substr(4) + "]";
    for (int i = 0; i < 40; ++i)
        deep += "}";
    const std::string texts[] = {
        "{" + filler + ",\"a\":[{" + filler + "},[\"]\\\"[\"," + filler.substr(4) + "]]}",
        "{" + filler + ",\"bad\":[{" + filler + "]}," + filler + ",\"tail\":{" + filler +
            "}}",                                               // "[{]}" inside
        "[" + filler.substr(4) + ",[" + filler.substr(4) + "]", // not closed
        deep,
    };
    for (const std::string &text : texts) {
        // Every container start, made with the text's end and with an end position
        // that cuts it short, first without a cache.
        const char *const end = text.data() + text.size();
        const auto makeAll = [&] {
            std::vector<JsonClass> views;
            for (const char &c : text) {
                if (c == '[' || c == '{') {
                    views.push_back(JsonClass::Make(&c, end));
                    views.push_back(JsonClass::Make(&c, std::min(end, &c + 200)));
                }
            }
            return views;
        };
        const std::vector<JsonClass> plain = makeAll();
        ASSERT_EQ(JsonScanCache::Active(), nullptr);
        JsonScanCache cache;
        ASSERT_EQ(JsonScanCache::Active(), &cache);
        JsonClass::Make(text.data(), end); // remembers what it crosses
        const std::vector<JsonClass> cached = makeAll();
        ASSERT_EQ(cached.size(), plain.size());
        for (std::size_t i = 0; i < plain.size(); ++i) {
            EXPECT_EQ(cached[i].kind(), plain[i].kind()) << "view " << i;
            EXPECT_EQ(cached[i].begin(), plain[i].begin()) << "view " << i;
            EXPECT_EQ(cached[i].end(), plain[i].end()) << "view " << i;
        }
    }
    EXPECT_EQ(JsonScanCache::Active(), nullptr);
}

TEST(JsonClass, ElementsAndCount)
{
    const struct {
        std::string array;
        std::size_t count;
        std::vector<std::string> spans; // of elements 0..count
    } cases[] = {
        {"[1,,2]", 3, {"1", "", "2"}},
        {"[1,2,]", 2, {"1", "2"}},
        {"[]", 0, {}},
        {"[ \t ]", 0, {}},
        {"[ 1 , [2,3] ,{\"a\":[4,5]}, \"x,y\" ,true]", 5, {"1 ", "2,3", "\"a\":[4,5]", "\"x,y\" ", "true"}},
        {"[\"a\\\"b\",2]", 2, {"\"a\\\"b\"", "2"}},
        {"[,]", 1, {""}},
    };
    for (const auto &c : cases) {
        const JsonClass array = View(c.array);
        ASSERT_EQ(array.kind(), JsonClass::Array) << c.array;
        EXPECT_EQ(array.Count(), c.count) << c.array;
        JsonElements walk(array);
        for (std::size_t i = 0; i < c.spans.size(); ++i) {
            EXPECT_EQ(Span(array.Element(i)), c.spans[i]) << c.array << " #" << i;
            EXPECT_EQ(Span(walk.Current()), c.spans[i]) << c.array << " #" << i;
            EXPECT_EQ(walk.Current().kind(), array.Element(i).kind()) << c.array << " #" << i;
            walk.Advance();
        }
        EXPECT_EQ(array.Element(c.count).kind(), JsonClass::None) << c.array;
        EXPECT_EQ(walk.Current().kind(), JsonClass::None) << c.array;
        walk.Advance(); // stays past the end
        EXPECT_EQ(walk.Current().kind(), JsonClass::None) << c.array;
    }
    EXPECT_EQ(View("{\"a\":1}").Count(), 0u);
    EXPECT_EQ(View("5").Count(), 0u);
    EXPECT_EQ(View("5").Element(0).kind(), JsonClass::None);
    EXPECT_EQ(View("[1,2,3,4]").CountUpTo(2), 3u);
    EXPECT_EQ(View("[1,2]").CountUpTo(2), 2u);
}

TEST(JsonClass, ElementCountStopsAtTheFirstMalformedElement)
{
    // Element 1 is not a valid container; counting stops there, while an element
    // after it is still found by its position.
    const JsonClass array = View("[1,[{]},3]");
    ASSERT_EQ(array.kind(), JsonClass::Array);
    EXPECT_EQ(array.Count(), 1u);
    EXPECT_EQ(array.Element(1).kind(), JsonClass::None);
    EXPECT_EQ(array.Element(2).Integer(0), 3);
}

TEST(JsonClass, IntegerFlagAndStringValues)
{
    constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
    const struct {
        std::string scalar; // read as element 0 of "[<scalar>]"
        std::int64_t integer;
        bool flag;
        std::string string;
    } cases[] = {
        {"17", 17, true, ""},
        {"-5", -5, true, ""},
        {"+5", 5, true, ""},
        {"3.7", 3, true, ""},
        {"0.9", 0, false, ""},
        {"1e3", 1, true, ""},
        {"\"1\"", 0, false, "1"},
        {"null", 0, false, ""},
        {"true", 1, true, ""},
        {"false", 0, false, ""},
        {"\"true\"", 0, false, "true"},
        {"12abc", 12, true, ""},
        {"- 5", 0, false, ""},
        {"99999999999999999999", kMax, true, ""},
        {"-99999999999999999999", kMin, true, ""},
        {"-9223372036854775808", kMin, true, ""},
        {"9223372036854775807", kMax, true, ""},
        {"\"a\\\"b\"", 0, false, "a\\\"b"},
        {"\"\"", 0, false, ""},
        {"\"x\" ", 0, false, "x"},
    };
    for (const auto &c : cases) {
        const std::string text = "[" + c.scalar + "]";
        const JsonClass value = View(text).Element(0);
        ASSERT_EQ(value.kind(), JsonClass::Scalar) << c.scalar;
        EXPECT_EQ(value.Integer(-77), c.integer) << c.scalar;
        EXPECT_EQ(value.Flag(false), c.flag) << c.scalar;
        EXPECT_EQ(value.Flag(true), c.flag) << c.scalar;
        EXPECT_EQ(std::string(value.String()), c.string) << c.scalar;
    }
}

TEST(JsonClass, TrailingBlanksOfAScalarAreIgnored)
{
    // Blanks before a comma belong to the scalar's span, yet "true " still reads as
    // true and "5 " as 5.
    const std::string text = "{\"en\":true ,\"n\":5\t,\"s\":\"x\" \r\n,\"f\":false }";
    const JsonClass object = View(text);
    EXPECT_EQ(Span(object.Member("en")), "true ");
    EXPECT_TRUE(object.FlagAt("en", false));
    EXPECT_EQ(object.IntegerAt("en", 0), 1);
    EXPECT_EQ(object.IntegerAt("n", 0), 5);
    EXPECT_EQ(std::string(object.Member("s").String()), "x");
    EXPECT_FALSE(object.FlagAt("f", true));
}

TEST(JsonClass, NonScalarsGiveTheDefault)
{
    for (const std::string text : {"[1]", "{\"a\":1}", "  "}) {
        const JsonClass view = View(text);
        EXPECT_EQ(view.Integer(-3), -3) << text;
        EXPECT_TRUE(view.Flag(true)) << text;
        EXPECT_FALSE(view.Flag(false)) << text;
        EXPECT_TRUE(view.String().empty()) << text;
    }
    EXPECT_TRUE(View("\"").String().empty()); // a lone quote is no quoted string
    EXPECT_EQ(JsonClass::Make(nullptr, nullptr).kind(), JsonClass::None);
    const std::string text = "[1]";
    EXPECT_EQ(JsonClass::Make(text.data() + 2, text.data()).kind(), JsonClass::None); // reversed
}

} // namespace
