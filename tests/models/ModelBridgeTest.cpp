// The bridge between a window's document and the model library: what is called when,
// that close follows every open, and the buffers it hands over.
#include "models/ModelBridge.h"

#include "FakeModel.h"
#include "TestPaths.h"

#include <QTimeZone>

#include <gtest/gtest.h>

#include <stdexcept>

using vantor::ModelBridge;
using vantor::ModelShape;
using vantor::json::Json;

namespace {

Json Document(const char *text)
{
    Json root = Json::object();
    root["vantor5"] = *vantor::json::Parse(text);
    return root;
}

// A configuration with two triggers, one object with three directions, and three
// groups: a transport group with two heads, an information section without heads,
// and a tram group.
constexpr const char *kSmall =
    R"({"ver":1,"promtacts":[],"triggers":[{},{}],"dirs":{"at":[{},{},{}]},)"
    R"("sig_group_types":[{"type":1,"out":[1,0,0]},{"type":8,"out":[0]},{"type":4,"out":[1,1,1,0]}],)"
    R"("sig_groups":[{"ti":1,"semaphores":[1,2]},{"ti":2,"semaphores":[]},{"ti":3,"semaphores":[3]}],)"
    R"("sos":[{"dirs":[1,2,3]}]})";

class ModelBridgeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fake.IsLoaded()) << fake.Library().ErrorString().toStdString(); }
    vantor::test::FakeModel fake;
};

TEST_F(ModelBridgeTest, WithoutAVantorObjectNothingIsCalled)
{
    const ModelBridge bridge(fake.Library());
    const std::optional<Json> roots[] = {
        std::nullopt,                     // the window gave no document
        Json::object(),                   // no "vantor5"
        Json{{"revur", Json::object()}},  // another device's document
        Json{{"vantor5", Json::array()}}, // "vantor5" that is no object
        Json{{"vantor5", "text"}},
    };
    for (const auto &root : roots) {
        EXPECT_FALSE(bridge.RunAutomaticStep(root, 0).has_value());
        EXPECT_FALSE(bridge.PreviewObject(root, 0, 1, 10).openStatus.has_value());
    }
    EXPECT_EQ(fake.Log(), "");
}

TEST_F(ModelBridgeTest, OpensTheCompactTextOfTheVantorObject)
{
    const Json root = Document(kSmall);
    const ModelBridge bridge(fake.Library());
    ASSERT_TRUE(bridge.RunAutomaticStep(root, 0).has_value());
    EXPECT_EQ(fake.OpenedText(), vantor::json::RenderCompact(root["vantor5"])); // first to last character
    EXPECT_EQ(fake.OpenedText().back(), '}');
}

TEST_F(ModelBridgeTest, AFailingOpenIsStillClosed)
{
    fake.Reset(VANTOR_MODEL_NO_TRIGGERS);
    const Json root = Document(kSmall);
    const ModelBridge bridge(fake.Library());

    const auto step = bridge.RunAutomaticStep(root, 100);
    ASSERT_TRUE(step.has_value());
    EXPECT_EQ(step->status, VANTOR_MODEL_NO_TRIGGERS);
    EXPECT_EQ(fake.Log(), "open close");

    fake.Reset(VANTOR_MODEL_NO_TRIGGERS);
    const auto preview = bridge.PreviewObject(root, 0, 1, 30);
    EXPECT_EQ(preview.openStatus, VANTOR_MODEL_NO_TRIGGERS);
    EXPECT_TRUE(preview.steps.empty());
    EXPECT_EQ(fake.Log(), "open close");
}

TEST_F(ModelBridgeTest, EveryActionOpensAndClosesItsOwnModel)
{
    const Json root = Document(kSmall);
    const ModelBridge bridge(fake.Library());
    for (int press = 0; press < 2; ++press) {
        const auto step = bridge.RunAutomaticStep(root, 1000);
        ASSERT_TRUE(step.has_value());
        EXPECT_EQ(step->status, VANTOR_MODEL_OK);
        EXPECT_EQ(step->phase, std::vector<std::uint8_t>{7});
    }
    EXPECT_EQ(fake.Log(), "open nextAll close open nextAll close");
}

TEST_F(ModelBridgeTest, PreviewKeepsTheSecondsThatSucceededAndFeedsTheTriggers)
{
    fake.Reset(0, 3); // every third `next` fails
    const Json root = Document(kSmall);
    const ModelBridge bridge(fake.Library());
    std::vector<std::size_t> bufferSizes;
    const auto preview = bridge.PreviewObject(root, 0, 1, 6, [&](int second, std::span<std::uint8_t> inputs) {
        bufferSizes.push_back(inputs.size());
        inputs[0] = second >= 4 ? 1 : 0; // trigger 1 active from second 4
    });
    EXPECT_EQ(preview.openStatus, VANTOR_MODEL_OK);
    EXPECT_EQ(bufferSizes, std::vector<std::size_t>(6, 2)); // one byte per trigger, every second
    ASSERT_EQ(preview.steps.size(), 4u);                    // seconds 2 and 5 failed
    const int seconds[] = {0, 1, 3, 4};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(preview.steps[i].second, seconds[i]);
        EXPECT_EQ(preview.steps[i].states.size(), 3u); // the object's three directions
    }
    EXPECT_EQ(preview.steps[2].states[0], 1); // second 3: trigger inactive
    EXPECT_EQ(preview.steps[3].states[0], 2); // second 4: active
    EXPECT_EQ(fake.Log(), "open next next next next next next close");
}

TEST_F(ModelBridgeTest, AnExceptionWhileSteppingStillCloses)
{
    const Json root = Document(kSmall);
    const ModelBridge bridge(fake.Library());
    EXPECT_THROW(bridge.PreviewObject(root, 0, 1, 10,
                                      [](int second, std::span<std::uint8_t>) {
                                          if (second == 2)
                                              throw std::runtime_error("stop");
                                      }),
                 std::runtime_error);
    EXPECT_EQ(fake.Log(), "open next next close");
}

TEST(ModelShape, SizesEveryBufferFromTheDocument)
{
    const auto vantor5 = *vantor::json::Parse(kSmall);
    const ModelShape shape = ModelShape::Of(vantor5);
    EXPECT_EQ(shape.triggers, 2);
    EXPECT_EQ(shape.objects, 1);
    EXPECT_EQ(shape.directions, 3);
    EXPECT_EQ(shape.objectDirections, std::vector<int>{3});
    // transport head: 3 lamps; section without heads: no buffer; tram head: 4 lamps
    EXPECT_EQ(shape.groupOutputs, (std::vector<int>{3, 0, 4}));
}

TEST(ModelShape, AGroupBufferHoldsEveryOutputOfItsType)
{
    // A pedestrian head has two lamps, but this type names four outputs, and the
    // library writes all four; a group whose "ti" names no type gets room for every
    // lamp position.
    const auto vantor5 = *vantor::json::Parse(
        R"({"sig_group_types":[{"type":2,"out":[1,0,0,0]}],)"
        R"("sig_groups":[{"ti":1,"semaphores":[1]},{"ti":5,"semaphores":[2]},{"semaphores":[3]},{"ti":1}]})");
    EXPECT_EQ(ModelShape::Of(vantor5).groupOutputs, (std::vector<int>{4, 7, 7, 0}));
    EXPECT_EQ(ModelShape::Of(Json::object()).groupOutputs, std::vector<int>{});
}

TEST(ControllerTime, CountsWallClockSecondsSince2003)
{
    const struct {
        QDateTime local;
        std::uint32_t expected;
    } cases[] = {
        {QDateTime(QDate(2003, 1, 1), QTime(0, 0)), 0},
        {QDateTime(QDate(2003, 1, 2), QTime(0, 0, 1)), 86401},
        {QDateTime(QDate(2003, 1, 1), QTime(0, 0, 0, 500)), 1}, // to the nearest second
        {QDateTime(QDate(2003, 1, 1), QTime(0, 0, 0, 499)), 0},
        {QDateTime(QDate(2002, 12, 31), QTime(23, 0)), 0}, // before the epoch
        // 365 days of 2003 and 366 of 2004 to 1 January 2005, then 12:30
        {QDateTime(QDate(2005, 1, 1), QTime(12, 30)), (365u + 366u) * 86400u + 45000u},
    };
    for (const auto &c : cases)
        EXPECT_EQ(vantor::ControllerTime(c.local), c.expected) << c.local.toString().toStdString();
    // Summer time: the second of the day stays the local one.
    const QDateTime summer(QDate(2020, 7, 1), QTime(10, 0), QTimeZone("Europe/Berlin"));
    EXPECT_EQ(vantor::ControllerTime(summer) % 86400u, 36000u);
}

TEST(ModelBridge, TheExampleRunsOneAutomaticStepInTheRealLibrary)
{
    vantor::ModelLibrary library(vantor::test::BinDir() + QStringLiteral("/libvantor_model.so"));
    ASSERT_TRUE(library.Load()) << library.ErrorString().toStdString();
    const auto root = vantor::json::ParseObject(
        vantor::test::ReadFileOrFail(vantor::test::SourceDir() + "/examples/crossroad.json"));
    ASSERT_TRUE(root.has_value());
    const auto step = ModelBridge(library).RunAutomaticStep(
        *root, vantor::ControllerTime(QDateTime(QDate(2024, 5, 6), QTime(8, 0))));
    ASSERT_TRUE(step.has_value());
    EXPECT_EQ(step->status, VANTOR_MODEL_OK);
    const ModelShape shape = ModelShape::Of((*root)["vantor5"]);
    EXPECT_EQ(step->directionStates.size(), static_cast<std::size_t>(shape.directions));
    ASSERT_EQ(step->groupOutputs.size(), shape.groupOutputs.size());
    ASSERT_FALSE(step->phase.empty());
    EXPECT_NE(step->phase[0], 0); // the object runs a phase
    // Nothing stays loaded afterwards.
    EXPECT_EQ(library.Close(), VANTOR_MODEL_NO_MODEL);
}

} // namespace
