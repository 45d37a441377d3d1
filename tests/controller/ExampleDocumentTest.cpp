// The shipped example intersection and a large generated configuration: the writer
// reproduces the checked-in documents byte for byte, and write -> read -> write is
// identical.
#include "ExampleConfigs.h"

#include "app/ConfigFile.h"
#include "controller/ConfigDocument.h"
#include "controller/VantorConfig.h"
#include "models/ModelLibrary.h"
#include "models/VantorModels.h"

#include "TestPaths.h"

#include <QDir>

#include <gtest/gtest.h>

#include <random>

using namespace vantor;

namespace {

class ExampleDocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearVantorModels();
        ASSERT_EQ(LoadModelPlugins(test::BinDir(), {}), 5);
    }
    void TearDown() override { ClearVantorModels(); }

    static QString Example(const char *name)
    {
        return QDir(test::SourceDir()).filePath(QStringLiteral("examples/") + QString::fromUtf8(name));
    }
};

TEST_F(ExampleDocumentTest, WriterReproducesTheCheckedInDocuments)
{
    TVantorConfig config;
    BuildCrossroad(config);
    const json::Json root = GetConfigJson(config, kExampleDate);
    EXPECT_EQ(json::RenderIndented(root), test::ReadFileOrFail(Example("crossroad.json")))
        << "regenerate with build/bin/vantor5-examples";
    EXPECT_EQ(json::RenderCompact(root), test::ReadFileOrFail(Example("crossroad.compact.json")));
    const auto stored = ReadConfigFileText(Example("crossroad.vt5"));
    ASSERT_TRUE(stored);
    EXPECT_EQ(*stored, json::RenderIndented(root));
}

TEST_F(ExampleDocumentTest, ExampleReadsBackToTheSameDocument)
{
    const auto root = ReadConfigFile(Example("crossroad.vt5"));
    ASSERT_TRUE(root);
    TVantorConfig config;
    std::string error;
    ASSERT_TRUE(LoadConfigJson(config, *root, &error)) << error;
    EXPECT_EQ(json::RenderIndented(GetConfigJson(config, kExampleDate)), json::RenderIndented(*root));

    // What was built is what was read.
    EXPECT_EQ(config.Groups.Count(), 7);
    EXPECT_EQ(config.Groups[2]->Kind(), GroupKind::Arrow);
    EXPECT_EQ(config.Groups[5]->Kind(), GroupKind::Tram);
    EXPECT_EQ(config.DirectionCount(), 8);
    EXPECT_EQ(config.Blocks.Count(), 2);
    ASSERT_EQ(config.Objects.Count(), 1);
    EXPECT_EQ(config.Objects[0]->Phases.Count(), 4);
    EXPECT_TRUE(config.Objects[0]->Cycles[1]->Coordinated);
    EXPECT_EQ(config.Objects[0]->Cycles[1]->Steps[0]->Duration, 35);
    for (const TTrendGroup *group : config.Groups)
        for (const TSemaphoreObject *head : group->Heads)
            EXPECT_TRUE(head->HasAnyOutput()) << head->NameOrDefault();
}

TEST_F(ExampleDocumentTest, ExampleLoadsInTheModelLibrary)
{
    const auto root = ReadConfigFile(Example("crossroad.vt5"));
    ASSERT_TRUE(root);
    const auto text = VantorModelText(*root);
    ASSERT_TRUE(text);
    ModelLibrary library(QDir(test::BinDir()).filePath(QStringLiteral("libvantor_model.so")));
    ASSERT_TRUE(library.Load()) << library.ErrorString().toStdString();
    EXPECT_EQ(library.Open(*text), 0) << ModelLibrary::StatusText(library.Open(*text)).toStdString();
    EXPECT_EQ(library.Close(), 0);
}

// Values of the example replaced, three at a time, by values of other kinds and
// out-of-range numbers: the reader never fails, and after one write the document is
// stable (what is read back writes the same text).
TEST_F(ExampleDocumentTest, DamagedValuesAnywhereAreReadWithoutHarm)
{
    const auto root = ReadConfigFile(Example("crossroad.vt5"));
    ASSERT_TRUE(root);
    std::vector<json::Json::json_pointer> paths;
    const json::Json flat = root->flatten();
    for (const auto &[path, value] : flat.items())
        paths.emplace_back(path);
    const json::Json replacements[] = {nullptr,
                                       "x",
                                       -1,
                                       0,
                                       1e300,
                                       -1e300,
                                       4294967296LL,
                                       json::Json::array(),
                                       json::Json::object(),
                                       true,
                                       -2147483648LL,
                                       65536};
    std::mt19937 random(20250901);
    for (int round = 0; round < 400; ++round) {
        json::Json damaged = *root;
        for (int k = 0; k < 3; ++k) {
            const auto &path = paths[random() % paths.size()];
            damaged[path] = replacements[random() % std::size(replacements)];
        }
        std::string text = damaged.dump();
        std::vector<std::string> written;
        for (int pass = 0; pass < 3; ++pass) {
            TVantorConfig config;
            std::string error;
            ASSERT_TRUE(LoadConfigJson(config, *json::Parse(text), &error)) << damaged.dump();
            text = json::RenderCompact(GetConfigJson(config, kExampleDate));
            written.push_back(text);
        }
        ASSERT_EQ(written[2], written[1]) << damaged.dump();
    }
}

TEST_F(ExampleDocumentTest, LargeConfigurationSurvivesARoundTrip)
{
    const TVantorModel *model = FindModelById(18); // 32 outputs
    ASSERT_NE(model, nullptr);
    TVantorConfig config;
    BuildLargeConfig(config, *model);
    ASSERT_EQ(config.Groups.Count(), 64);
    ASSERT_EQ(config.Blocks.Count(), 8);
    ASSERT_EQ(config.Objects.Count(), 8);
    const std::string first = json::RenderCompact(GetConfigJson(config, kExampleDate));

    TVantorConfig copy;
    std::string error;
    ASSERT_TRUE(LoadConfigJson(copy, *json::Parse(first), &error)) << error;
    EXPECT_EQ(json::RenderCompact(GetConfigJson(copy, kExampleDate)), first);
    EXPECT_EQ(copy.Objects[7]->Phases.Count(), 32);
    EXPECT_EQ(copy.Objects[7]->Cycles.Count(), 16);
}

} // namespace
