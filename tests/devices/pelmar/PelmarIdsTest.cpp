// The identifier table: its fixed shape as objects come and go, what is shown when,
// and the Dec/Hex texts.
#include "devices/pelmar/PelmarIds.h"

#include <gtest/gtest.h>

using namespace vantor;

namespace {

std::vector<std::string> Captions(const PelmarIdTable &table)
{
    std::vector<std::string> captions;
    for (const auto &entry : table.Entries())
        captions.push_back(PelmarIdTable::Caption(entry));
    return captions;
}

TEST(PelmarIdTable, ObjectEntriesGoBeforeTheDetectorController)
{
    PelmarIdTable table;
    EXPECT_EQ(Captions(table),
              (std::vector<std::string>{"Собственный ID", "Pelmar", "КД", "ID приложения", "СО", "КД"}));
    EXPECT_EQ(table.DeviceId(), 2001);
    EXPECT_EQ(table.DetectorId(), 4001);
    EXPECT_EQ(table.AppObjectsId(), 65023);
    EXPECT_EQ(table.AppDetectorId(), 65009);

    table.SetObjectCount(3);
    EXPECT_EQ(Captions(table), (std::vector<std::string>{"Собственный ID", "Pelmar", "СО 1", "СО 2", "СО 3",
                                                         "КД", "ID приложения", "СО", "КД"}));
    EXPECT_EQ(table.ObjectId(0), 1);
    EXPECT_EQ(table.ObjectId(2), 3);

    table.SetObjectId(1, 700);
    table.SetDetectorId(4100);
    table.SetObjectCount(2); // removes from the end
    EXPECT_EQ(table.ObjectCount(), 2);
    EXPECT_EQ(table.ObjectId(1), 700);
    EXPECT_EQ(table.DetectorId(), 4100);
    table.SetObjectCount(3); // a new entry starts from its default again
    EXPECT_EQ(table.ObjectId(2), 3);
    EXPECT_THROW(table.ObjectId(3), std::out_of_range);

    table.SetObjectCount(400);
    EXPECT_EQ(table.ObjectCount(), 255);
    EXPECT_EQ(PelmarIdTable::Caption(table.Entries()[256]), "СО 255");
    EXPECT_EQ(table.ObjectId(254), 255);

    table.Reset();
    EXPECT_EQ(table.ObjectCount(), 0);
    EXPECT_EQ(table.DetectorId(), 4001);
}

TEST(PelmarIdTable, HeadersHaveNoValue)
{
    PelmarIdTable table;
    table.SetValue(0, 5);
    table.SetValue(1, 5);
    table.SetValue(99, 5); // past the end: ignored
    EXPECT_EQ(table.Entries()[0].value, 0);
    EXPECT_EQ(table.DeviceId(), 5);
}

TEST(PelmarIdTable, ApplicationEntriesShowWhenTheirPartExists)
{
    using E = TPelmarIdEntry;
    struct Case {
        E entry;
        int objects;
        bool detector;
        bool visible;
    };
    const Case cases[] = {
        {{E::kApplication, E::kObject, 0, 0}, 0, true, false},
        {{E::kApplication, E::kObject, 0, 0}, 1, false, true},
        {{E::kApplication, E::kDetector, 0, 0}, 3, false, false},
        {{E::kApplication, E::kDetector, 0, 0}, 0, true, true},
        {{E::kApplication, E::kHeader, 0, 0}, 0, false, true},
        {{E::kOwn, E::kDetector, 0, 0}, 0, false, true}, // own entries always show
        {{E::kOwn, E::kDevice, 0, 0}, 0, false, true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(PelmarIdTable::IsVisible(c.entry, c.objects, c.detector), c.visible)
            << PelmarIdTable::Caption(c.entry) << " objects " << c.objects << " detector " << c.detector;
}

TEST(PelmarIdTable, HexTextHasAtLeastTwoUpperCaseDigits)
{
    EXPECT_EQ(PelmarIdTable::HexText(0), "00");
    EXPECT_EQ(PelmarIdTable::HexText(7), "07");
    EXPECT_EQ(PelmarIdTable::HexText(255), "FF");
    EXPECT_EQ(PelmarIdTable::HexText(2001), "7D1");
    EXPECT_EQ(PelmarIdTable::HexText(65535), "FFFF");
}

} // namespace
