// The public JSON test suite: y_ files must parse, n_ files must not, nothing may
// crash; and whatever parses renders to text that parses back to the same rendering.
#include "json/JsonText.h"

#include "TestPaths.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace vantor;

namespace {

TEST(JsonTestSuite, AcceptsValidRejectsInvalidAndRendersStably)
{
    const auto data = test::SharedTestData();
    if (!data)
        GTEST_SKIP() << "shared test data not found (../shared/testdata or $VANTOR_TESTDATA)";
    const QDir dir(*data + QStringLiteral("/JSONTestSuite/test_parsing"));
    const QStringList files = dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    ASSERT_GT(files.size(), 300) << dir.path().toStdString();

    int checked = 0;
    for (const QString &name : files) {
        const std::string text = test::ReadFileOrFail(dir.filePath(name));
        const auto doc = json::Parse(text);
        if (name.startsWith('y'))
            EXPECT_TRUE(doc) << name.toStdString() << " must be accepted";
        else if (name.startsWith('n'))
            EXPECT_FALSE(doc) << name.toStdString() << " must be rejected";
        if (!doc)
            continue;
        for (const auto layout : {json::Layout::Compact, json::Layout::Indented}) {
            const std::string once = json::Render(*doc, layout);
            const auto again = json::Parse(once);
            ASSERT_TRUE(again) << name.toStdString();
            EXPECT_EQ(json::Render(*again, layout), once) << name.toStdString();
        }
        ++checked;
    }
    EXPECT_GT(checked, 95);
}

} // namespace
