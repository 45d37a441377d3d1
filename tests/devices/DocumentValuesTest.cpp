// Reading device document members: lenient about what is missing, clear about what
// is wrong.
#include "devices/DocumentValues.h"

#include <gtest/gtest.h>

#include <functional>

using namespace vantor;
using namespace vantor::devices;

namespace {

json::Json Value(const char *text)
{
    return *json::Parse(text);
}

TEST(DocumentValues, IntegersComeFromNumbersAndDecimalTexts)
{
    const struct {
        const char *value;
        long long expected;
    } cases[] = {{"42", 42},   {"-7", -7},        {"2.6", 3},
                 {"-2.5", -3}, {R"(" 15 ")", 15}, {R"("-3")", -3},
                 {"true", 1},  {"false", 0},      {"9007199254740993", 9007199254740993LL}};
    for (const auto &c : cases) {
        const json::Json value = Value(c.value);
        EXPECT_EQ(ReadInteger(&value, "x"), c.expected) << c.value;
    }
    EXPECT_EQ(ReadInteger(nullptr, "x"), std::nullopt);
    const json::Json null = Value("null");
    EXPECT_EQ(ReadInteger(&null, "x"), std::nullopt);
}

TEST(DocumentValues, AValueThatCannotBeUsedNamesItsMemberAndValue)
{
    const struct {
        const char *value;
        const char *reason;
        std::function<void(const json::Json &)> read;
    } cases[] = {
        {R"("12a")", "ожидается целое число",
         [](const json::Json &v) { ReadInteger(&v, "navet.cycle.ph[1]"); }},
        {"[1]", "ожидается целое число", [](const json::Json &v) { ReadInteger(&v, "navet.cycle.ph[1]"); }},
        {R"("yes")", "ожидается true или false",
         [](const json::Json &v) { ReadBool(&v, "navet.cycle.ph[1]"); }},
        {R"({"a":1})", "ожидается текст", [](const json::Json &v) { ReadText(&v, "navet.cycle.ph[1]"); }},
        {"5", "ожидается объект", [](const json::Json &v) { ReadObject(&v, "navet.cycle.ph[1]"); }},
        {R"("x")", "ожидается массив", [](const json::Json &v) { ReadArray(&v, "navet.cycle.ph[1]"); }},
    };
    for (const auto &c : cases) {
        const json::Json value = Value(c.value);
        try {
            c.read(value);
            ADD_FAILURE() << c.value << " was accepted";
        } catch (const EBadValue &bad) {
            EXPECT_EQ(bad.Text(), QStringLiteral("Некорректное значение «navet.cycle.ph[1]» (%1): %2.")
                                      .arg(QString::fromUtf8(c.value), QString::fromUtf8(c.reason)));
        }
    }
    // Long values are shortened in the message.
    const json::Json longText = std::string(100, 'x');
    try {
        ReadInteger(&longText, "whmeter.id");
        ADD_FAILURE();
    } catch (const EBadValue &bad) {
        EXPECT_LT(bad.Text().size(), 110);
        EXPECT_TRUE(bad.Text().contains(QStringLiteral("...")));
    }
}

TEST(DocumentValues, BooleansAndTextsAreTakenFromTheirUsualForms)
{
    const json::Json t = Value("true"), one = Value("1"), zero = Value("0.0"), text = Value(R"("False")");
    EXPECT_EQ(ReadBool(&t, "x"), true);
    EXPECT_EQ(ReadBool(&one, "x"), true);
    EXPECT_EQ(ReadBool(&zero, "x"), false);
    EXPECT_EQ(ReadBool(&text, "x"), false);
    const json::Json number = Value("12.5"), name = Value(R"("Узел")");
    EXPECT_EQ(ReadText(&number, "x"), QStringLiteral("12.5"));
    EXPECT_EQ(ReadText(&name, "x"), QStringLiteral("Узел"));
}

TEST(DocumentValues, MembersArePresentOnlyWhenNotNull)
{
    const json::Json object = Value(R"({"a":1,"b":null})");
    EXPECT_NE(Member(&object, "a"), nullptr);
    EXPECT_EQ(Member(&object, "b"), nullptr);
    EXPECT_EQ(Member(&object, "c"), nullptr);
    const json::Json array = Value("[1]");
    EXPECT_EQ(Member(&array, "a"), nullptr);
    EXPECT_EQ(Path("orsin", "eth"), "orsin.eth");
    EXPECT_EQ(Item("orsin.table", 3), "orsin.table[3]");
}

} // namespace
