// The detector module: first-free numbering, the editor's limits, what may be
// removed, and change reports reaching the module's owner.
#include "devices/pelmar/SensorsSettings.h"

#include <gtest/gtest.h>

using namespace vantor;

namespace {

std::vector<int> Numbers(const std::vector<TBOD *> &bods)
{
    std::vector<int> numbers;
    for (const TBOD *bod : bods)
        numbers.push_back(bod->Number());
    return numbers;
}

TEST(SensorsSettings, NewBodTakesTheFirstFreeNumber)
{
    TSensorsSettings s;
    for (int i = 0; i < 4; ++i)
        s.AddBod();
    EXPECT_EQ(Numbers(s.BodsByNumber()), (std::vector<int>{0, 1, 2, 3}));
    s.RemoveBod(s.Bod(2));
    const TBOD *bod = s.AddBod();
    EXPECT_EQ(bod->Number(), 2); // 0, 1 and 3 in use
    EXPECT_EQ(bod->Name(), "БОД");
    EXPECT_EQ(bod->SensorCount(), 0);

    while (s.BodCount() < TSensorsSettings::kMaxBods)
        s.AddBod();
    EXPECT_FALSE(s.CanAddBod()); // the 33rd is refused by the editor
    EXPECT_EQ(s.FirstFreeBodNumber(), 0);
    s.Bod(0)->SetNumber(40); // frees 0
    EXPECT_EQ(s.FirstFreeBodNumber(), 0);
    s.Bod(0)->SetNumber(0);
    EXPECT_EQ(s.AddBod()->Number(), 0); // all 32 taken
    EXPECT_EQ(s.BodCount(), 33);        // documents may hold more; nothing is dropped
}

TEST(SensorsSettings, NewSensorTakesTheFirstFreeNumberUpToEight)
{
    TSensorsSettings s;
    TBOD *bod = s.AddBod();
    EXPECT_EQ(bod->AddSensor()->Number(), 0);
    EXPECT_EQ(bod->AddSensor()->Number(), 1);
    TSensor *third = bod->AddSensor();
    EXPECT_EQ(third->Number() + 1, 3); // shown as 3
    EXPECT_EQ(third->Owner(), bod);
    EXPECT_EQ(third->Direction(), nullptr);

    bod->Sensor(0)->SetNumber(5);
    EXPECT_EQ(bod->AddSensor()->Number(), 0);
    while (bod->CanAddSensor())
        bod->AddSensor();
    EXPECT_EQ(bod->SensorCount(), TBOD::kMaxSensors); // the 9th is refused by the editor
    EXPECT_EQ(bod->FirstFreeSensorNumber(), 0);
}

TEST(SensorsSettings, DuplicateNumbersAreAllowedAndFound)
{
    TSensorsSettings s;
    TBOD *a = s.AddBod();
    TBOD *b = s.AddBod();
    TBOD *c = s.AddBod();
    EXPECT_TRUE(s.IsBodNumberUnique(a));
    c->SetNumber(0);
    EXPECT_FALSE(s.IsBodNumberUnique(a));
    EXPECT_FALSE(s.IsBodNumberUnique(c));
    EXPECT_TRUE(s.IsBodNumberUnique(b));
    // Sorted by number; equal numbers keep the order of addition.
    EXPECT_EQ(s.BodsByNumber(), (std::vector<TBOD *>{a, c, b}));

    TSensor *x = a->AddSensor();
    TSensor *y = a->AddSensor();
    TSensor *z = b->AddSensor(); // same number as x, another BOD
    EXPECT_TRUE(a->IsSensorNumberUnique(x));
    EXPECT_TRUE(b->IsSensorNumberUnique(z));
    y->SetNumber(0);
    EXPECT_FALSE(a->IsSensorNumberUnique(x));
    EXPECT_FALSE(a->IsSensorNumberUnique(y));
}

TEST(SensorsSettings, DirectionInUseAndLastSensorStay)
{
    TSensorsSettings s;
    TSensorTrend *north = s.AddTrend();
    TSensorTrend *south = s.AddTrend();
    EXPECT_EQ(north->Name(), "Новое направление");
    TBOD *bod = s.AddBod();
    TSensor *first = bod->AddSensor();
    first->SetDirection(south);

    EXPECT_TRUE(s.IsTrendUsed(south));
    EXPECT_FALSE(s.CanRemoveTrend(south));
    EXPECT_FALSE(s.RemoveTrend(south));
    EXPECT_EQ(s.TrendCount(), 2);
    EXPECT_TRUE(s.RemoveTrend(north));
    EXPECT_EQ(s.IndexOf(south), 0);

    EXPECT_FALSE(bod->CanRemoveSensor(first)); // the last one
    TSensor *second = bod->AddSensor();
    EXPECT_TRUE(bod->CanRemoveSensor(first));
    bod->RemoveSensor(first);
    EXPECT_FALSE(s.IsTrendUsed(south));
    EXPECT_FALSE(bod->CanRemoveSensor(second));

    // Removing a BOD frees the directions its sensors used.
    second->SetDirection(south);
    s.RemoveBod(bod);
    EXPECT_TRUE(s.CanRemoveTrend(south));

    while (s.CanAddTrend())
        s.AddTrend();
    EXPECT_EQ(s.TrendCount(), TSensorsSettings::kMaxTrends);
}

TEST(SensorsSettings, ChangesReachTheOwnerOnlyWhenSomethingChanges)
{
    TSensorsSettings s;
    int changes = 0;
    s.SetOnChange([&] { ++changes; });
    TSensorTrend *trend = s.AddTrend();
    TBOD *bod = s.AddBod();
    TSensor *sensor = bod->AddSensor();
    EXPECT_EQ(changes, 3);

    changes = 0;
    trend->SetName(trend->Name());
    bod->SetNumber(bod->Number());
    bod->SetDistance(bod->Distance());
    sensor->SetNumber(sensor->Number());
    sensor->SetDirection(nullptr);
    EXPECT_EQ(changes, 0);

    trend->SetName("Север");
    bod->SetDistance(-150);
    bod->SetName("БОД у светофора");
    sensor->SetNumber(4);
    sensor->SetDirection(trend);
    EXPECT_EQ(changes, 5);

    changes = 0;
    bod->RemoveSensor(sensor);
    EXPECT_EQ(changes, 1);
    s.RemoveBod(bod);
    EXPECT_TRUE(s.RemoveTrend(trend));
    EXPECT_EQ(changes, 3);
}

} // namespace
