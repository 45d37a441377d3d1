#include "app/ConfigFile.h"

#include "app/ConfigScrambler.h"
#include "app/FileIo.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace vantor;

namespace {

class ConfigFileTest : public ::testing::Test {
protected:
    QString Path(const char *name) const { return dir_.filePath(QString::fromUtf8(name)); }
    QTemporaryDir dir_;
};

TEST_F(ConfigFileTest, WrittenFileHoldsTheScrambledIndentedDocumentAndReadsBack)
{
    const auto root = json::ParseObject(R"({"navet":{"name":"Узел 1","ph":[10,3]}})");
    ASSERT_TRUE(root);
    QString error;
    ASSERT_TRUE(WriteConfigFile(Path("a.vt5"), *root, &error)) << error.toStdString();

    const auto raw = ReadWholeFile(Path("a.vt5"));
    ASSERT_TRUE(raw);
    EXPECT_EQ(UnscrambleText(*raw, kConfigFileKey), json::RenderIndented(*root));
    EXPECT_EQ(ReadConfigFile(Path("a.vt5")), root);
}

TEST_F(ConfigFileTest, UnreadableFilesGiveNothingAndSayWhy)
{
    const auto root = json::ParseObject(R"({"navet":{}})");
    ASSERT_TRUE(WriteConfigFile(Path("good.vt5"), *root));
    const std::string good = *ReadWholeFile(Path("good.vt5"));

    const struct {
        const char *name;
        std::string bytes;
    } cases[] = {
        {"empty.vt5", ""},
        {"cut-mid-group.vt5", good.substr(0, (good.size() / 4 - 1) * 4 + 1)}, // one character left over
        {"cut-at-group.vt5", good.substr(0, (good.size() / 4 - 1) * 4)},      // decodes to half a document
        {"garbage.vt5", "this is not scrambled\n"},
        {"array.vt5", ScrambleText("[1,2,3]")},
        {"binary.vt5", ScrambleText(std::string("\xff\xfe{\x00", 4))},
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(WriteFileAtomically(Path(c.name), c.bytes));
        QString error;
        EXPECT_FALSE(ReadConfigFile(Path(c.name), &error)) << c.name;
        EXPECT_FALSE(error.isEmpty()) << c.name;
    }
    QString error;
    EXPECT_FALSE(ReadConfigFile(Path("missing.vt5"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("missing.vt5")));
}

TEST_F(ConfigFileTest, FailedSaveKeepsThePreviousFile)
{
    ASSERT_TRUE(WriteFileAtomically(Path("keep.vt5"), "old"));

    // Make the write itself fail, even for root: a file size limit below the new
    // content (the kernel then refuses the write instead of signalling).
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tight = saved;
    tight.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    QString error;
    const bool written = WriteFileAtomically(Path("keep.vt5"), std::string(4096, 'x'), &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written);
    EXPECT_TRUE(error.contains(QStringLiteral("keep.vt5"))) << error.toStdString();
    EXPECT_EQ(ReadWholeFile(Path("keep.vt5")), "old");
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.vt5")});
}

} // namespace
