// Firmware files, configuration images and merges, the sound-file area.
#include "link/Checksums.h"
#include "link/Packet.h"
#include "programming/ConfigImage.h"
#include "programming/FirmwareFile.h"
#include "programming/SoundFiles.h"

#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::programming;

namespace {

using Bytes = std::vector<std::uint8_t>;

// A firmware file: header, block table, entry table, the blocks' data, trailer.
struct Firmware {
    std::uint16_t version = 2;
    std::uint32_t signature = 0x3520CEFA;
    std::vector<Bytes> blocks = {Bytes(40, 0x11), Bytes(24, 0x22)};
    std::vector<std::uint32_t> entries = {0x8000};
    std::uint32_t entryCount = 0xFFFFFFFF; // when set, overrides entries.size()

    Bytes Build(std::int64_t firstBlockSizeDelta = 0) const
    {
        Bytes file(18, 0);
        link::WriteU32(file.data() + 4, signature);
        link::WriteU16(file.data() + 8, version);
        link::WriteU32(file.data() + 10, 18);
        const std::uint32_t entryTable = std::uint32_t(18 + 4 + 17 * blocks.size());
        link::WriteU32(file.data() + 14, entryTable);
        link::AppendU32(file, std::uint32_t(blocks.size()));
        std::uint32_t dataAt = entryTable + 4 + std::uint32_t(4 * entries.size());
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            file.push_back(0);
            link::AppendU32(file, dataAt);
            link::AppendU32(file, std::uint32_t(0x1000 * (i + 1)));
            link::AppendU32(file, std::uint32_t(blocks[i].size() + (i == 0 ? firstBlockSizeDelta : 0)));
            link::AppendU32(file, Crc32(blocks[i].data(), blocks[i].size()));
            dataAt += std::uint32_t(blocks[i].size());
        }
        link::AppendU32(file, entryCount == 0xFFFFFFFF ? std::uint32_t(entries.size()) : entryCount);
        for (std::uint32_t e : entries)
            link::AppendU32(file, e);
        for (const Bytes &b : blocks)
            file.insert(file.end(), b.begin(), b.end());
        return Sealed(file);
    }
    static Bytes Sealed(Bytes file)
    {
        const std::uint16_t crc = Crc16Kermit(file.data(), file.size());
        file.push_back(std::uint8_t(crc));
        file.push_back(std::uint8_t(crc >> 8));
        return file;
    }
};

QString Error(Bytes bytes)
{
    QString error;
    EXPECT_FALSE(ParseFirmwareFile(std::move(bytes), &error));
    return error;
}

} // namespace

TEST(FirmwareFile, ValidFilesAndTheEntryPoint)
{
    Firmware fw;
    QString error;
    auto file = ParseFirmwareFile(fw.Build(), &error);
    ASSERT_TRUE(file) << error.toStdString();
    ASSERT_EQ(file->blocks.size(), 2u);
    EXPECT_EQ(file->blocks[1].address, 0x2000u);
    EXPECT_EQ(file->EntryPoint(), 0x8000u);

    fw.version = 0; // version 0 passes too
    fw.entries.clear();
    file = ParseFirmwareFile(fw.Build(), &error);
    ASSERT_TRUE(file) << error.toStdString();
    EXPECT_EQ(file->EntryPoint(), 0x1000u); // no entry: the first block's address
}

TEST(FirmwareFile, EveryValidationMessageInOrder)
{
    const QString damaged = QStringLiteral("Файл поврежден или не является файлом прошивки: ");
    Bytes corrupt = Firmware().Build();
    corrupt[20] ^= 1;
    EXPECT_EQ(Error(corrupt), damaged + QStringLiteral("file CRC error."));
    EXPECT_EQ(Error({1, 2}), damaged + QStringLiteral("file CRC error."));
    EXPECT_EQ(Error(Firmware::Sealed(Bytes(16, 0))), damaged + QStringLiteral("invalid size (18)"));
    Firmware zero;
    zero.signature = 0;
    EXPECT_EQ(Error(zero.Build()), damaged + QStringLiteral("invalid signature (00 00 00 00 )"));
    Firmware newer;
    newer.version = 3;
    EXPECT_EQ(
        Error(newer.Build()),
        QStringLiteral("Файл более новой версии. Для его использования необходимо обновить программатор."));
    Firmware older;
    older.version = 1;
    EXPECT_EQ(Error(older.Build()),
              QStringLiteral(
                  "Версия формата файла 1. Для работы с ним необходимо использовать конфигуратор Vantor."));

    auto patched = [](std::size_t at, std::uint32_t value) {
        Bytes file = Firmware().Build();
        file.resize(file.size() - 2);
        link::WriteU32(file.data() + at, value);
        return Firmware::Sealed(file);
    };
    EXPECT_EQ(Error(patched(10, 5000)), QStringLiteral("Blocks table pointer out of size"));
    EXPECT_EQ(Error(patched(18, 100)), QStringLiteral("Blocks table out of size"));
    EXPECT_EQ(Error(patched(14, 5000)), QStringLiteral("Executions table pointer out of size"));
    const std::size_t entryTable = 18 + 4 + 34;
    EXPECT_EQ(Error(patched(entryTable, 1000)), QStringLiteral("Executions table out of size"));
    EXPECT_EQ(Error(patched(entryTable, 2)),
              QStringLiteral(
                  "В файле больше одной точки входа в программу - неизвестно, какую из них записывать."));
    // Offsets near 4 GiB must not wrap into the file.
    EXPECT_EQ(Error(patched(18 + 4 + 1, 0xFFFFFFF0)), QStringLiteral("Block 0 out of size"));
}

TEST(FirmwareFile, ABlockMayNotReachTheEndOfTheFile)
{
    Firmware fw;
    fw.blocks = {Bytes(40, 0x11)};
    const Bytes file = fw.Build();
    // The only block's data ends 2 bytes (the trailer) before the end: +2 reaches the end.
    EXPECT_EQ(Error(fw.Build(2)), QStringLiteral("Block 0 out of size"));
    QString error;
    EXPECT_TRUE(ParseFirmwareFile(fw.Build(1), &error)) << error.toStdString();
    EXPECT_TRUE(ParseFirmwareFile(file, &error));
}

TEST(ConfigImage, ImagesAndMerges)
{
    const Bytes image = BuildImage("{}");
    EXPECT_EQ(image, (Bytes{2, 0, 0, 0, '{', '}', 0xBC, 0xAD, 0x7F, 0xE2}));
    EXPECT_TRUE(ImageCrcMatches(image));
    EXPECT_EQ(ImageText(image), "{}");
    Bytes bad = image;
    bad[4] = '[';
    EXPECT_FALSE(ImageCrcMatches(bad));

    const std::string device = R"({"vantor5":{"a":1},"revur":{"old":true},"navet":{"x":1}})";
    EXPECT_EQ(MergeMember(device, R"({"revur":{"new":2}})", QStringLiteral("revur")),
              std::optional<std::string>(R"({"vantor5":{"a":1},"navet":{"x":1},"revur":{"new":2}})"));
    EXPECT_EQ(MergeMember(device, R"({"orsin":{}})", QStringLiteral("revur")), std::nullopt);
    EXPECT_EQ(MergeMember("", R"({"revur":{}})", QStringLiteral("revur")), std::nullopt);
    EXPECT_EQ(MergeMember("[1]", R"({"revur":{}})", QStringLiteral("revur")), std::nullopt);
    EXPECT_EQ(MergeAllMembers(device, R"({"navet":{"y":2},"orsin":{"z":3}})"),
              std::optional<std::string>(
                  R"({"vantor5":{"a":1},"revur":{"old":true},"navet":{"y":2},"orsin":{"z":3}})"));
    EXPECT_EQ(RootKeyForTag(5), QStringLiteral("sollo"));
    EXPECT_EQ(TagForName(QStringLiteral("whmeter")), 4);
    EXPECT_EQ(TagForName(QStringLiteral("6")), 6);
    EXPECT_EQ(TagForName(QStringLiteral("x")), 0);
}

TEST(SoundFiles, AreaRecordsPathsAndWriteBack)
{
    std::vector<TFileObj> files(3);
    files[0].contents = {1, 2, 3, 4, 5};
    files[1].contents = {6, 7, 8, 9};
    files[2].contents = {};
    for (auto &f : files)
        f.size = std::uint32_t(f.contents.size());
    EXPECT_EQ(SoundRecordSize(5), 12u); // 4 + 5 + 3 bytes of padding
    EXPECT_EQ(SoundRecordSize(4), 8u);
    EXPECT_EQ(BuildSoundArea(files, 0), (Bytes{9, 0, 0, 0, 1, 2, 3, 4, 5, 0xFF, 0xFF, 0xFF, 8,    0,
                                               0, 0, 6, 7, 8, 9, 4, 0, 0, 0,    0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(BuildSoundArea(files, 1), (Bytes{8, 0, 0, 0, 6, 7, 8, 9, 4, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));

    const std::string doc =
        R"({"sollo":{"files":[{"file":"a.wav","n":"A"},{"n":"none"},{"file":3},{"file":"c.mp3"}]}})";
    const auto paths = SoundPaths(doc);
    ASSERT_TRUE(paths);
    EXPECT_EQ(*paths, (std::vector<QString>{"a.wav", "", "c.mp3"}));
    EXPECT_EQ(SoundPaths(R"({"sollo":{}})")->size(), 0u);
    EXPECT_FALSE(SoundPaths("not json"));
    EXPECT_EQ(
        WriteSoundPaths(doc, {"/x/a.wav", "", "/x/c.mp3"}),
        R"({"sollo":{"files":[{"file":"/x/a.wav","n":"A"},{"n":"none"},{"file":""},{"file":"/x/c.mp3"}]}})");
    EXPECT_EQ(ResolveSoundPath(QStringLiteral("a.wav"), QStringLiteral("/doc")),
              QStringLiteral("/doc/a.wav"));
    EXPECT_EQ(ResolveSoundPath(QStringLiteral("/abs.wav"), QStringLiteral("/doc")),
              QStringLiteral("/abs.wav"));
}
