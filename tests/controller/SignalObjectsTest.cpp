// Traffic-light objects: special phases and cycles, numbering of new items, the
// number-field rule, refused deletions, week-plan limit, and phase entries that
// follow the object's directions.
#include "controller/VantorConfig.h"

#include <gtest/gtest.h>

using namespace vantor;

namespace {

std::vector<int> PhaseNumbers(const TSOObject &object)
{
    std::vector<int> numbers;
    for (const TPhaseSO *phase : object.Phases)
        numbers.push_back(phase->Number);
    return numbers;
}

TEST(SOObject, ANewObjectHasOnlyTheSpecialPhasesAndCycles)
{
    TVantorConfig config;
    TSOObject *object = config.AddObject();
    EXPECT_TRUE(object->Name.empty());
    EXPECT_EQ(object->RevurNumber, 1);
    EXPECT_TRUE(object->Enabled);
    EXPECT_EQ(object->EntryKind, kRefNone);
    EXPECT_TRUE(object->Phases.Empty());
    EXPECT_TRUE(object->Cycles.Empty());
    ASSERT_EQ(object->SpecialPhases.Count(), 3);
    EXPECT_EQ(object->FindPhase(13)->DisplayName(), "Фаза КК");
    EXPECT_EQ(object->FindPhase(14)->DisplayName(), "Фаза ЖМ");
    EXPECT_EQ(object->FindPhase(15)->DisplayName(), "Фаза ОС");
    EXPECT_EQ(object->FindCycle(-3)->DisplayName(), "Цикл КК");
    EXPECT_EQ(object->FindCycle(-2)->DisplayName(), "Цикл ЖМ");
    EXPECT_EQ(object->FindCycle(-1)->DisplayName(), "Цикл ОС");
    EXPECT_EQ(object->FindPhase(1), nullptr);
    EXPECT_EQ(object->FindCycle(1), nullptr);
    EXPECT_FALSE(object->DeletePhase(object->FindPhase(13))); // never deleted
    EXPECT_EQ(object->SpecialPhases.Count(), 3);
}

TEST(SOObject, NewPhasesSkipTheSpecialNumbers)
{
    TVantorConfig config;
    TSOObject *object = config.AddObject();
    TPhaseSO *first = object->NewPhase();
    EXPECT_EQ(first->Number, 1);
    EXPECT_EQ(first->Name, "Фаза 1");
    EXPECT_EQ(first->Tmin, 15);
    EXPECT_EQ(first->Takk, 4);
    EXPECT_EQ(first->DisplayName(), "Ф1");
    for (int i = 2; i <= 12; ++i)
        object->AddPhase();
    TPhaseSO *next = object->NewPhase();
    EXPECT_EQ(next->Number, 16);
    EXPECT_EQ(next->Name, "Фаза 16");
    EXPECT_EQ(object->FindPhase(16), next);
}

TEST(SOObject, NewCyclesAndPlansTakeTheirPositionUnlessTaken)
{
    TVantorConfig config;
    TSOObject *object = config.AddObject();
    TCycle *first = object->NewCycle();
    object->NewCycle();
    TCycle *third = object->NewCycle();
    EXPECT_EQ(first->Number, 1);
    EXPECT_EQ(first->Name, "Цикл 1");
    EXPECT_EQ(third->Number, 3);
    ASSERT_TRUE(object->DeleteCycle(first));
    // Cycles 2 and 3 are left: position 3 is taken, so the highest number plus one.
    TCycle *fourth = object->NewCycle();
    EXPECT_EQ(fourth->Number, 4);
    EXPECT_EQ(fourth->Name, "Цикл 3");

    EXPECT_EQ(object->NewDayPlan()->Name, "Сут. план 1");
    EXPECT_EQ(object->NewWeekPlan()->Name, "Нед. план 1");
    TYearPlan *year = object->NewYearPlan();
    EXPECT_EQ(year->Name, "Год. план 1");
    EXPECT_EQ(year->Number, 1);
    object->RenumberYearPlan(year, 2);
    EXPECT_EQ(object->AddYearPlan()->Number, 3);
}

TEST(Numbering, NextFreeNumber)
{
    struct Case {
        std::vector<int> numbers;
        bool phases;
        int expected;
    };
    const Case cases[] = {
        {{1, 3, 5}, true, 6},                          // lowest is 1: highest plus one
        {{2, 3, 5}, true, 1},                          // otherwise one below the lowest
        {{}, false, 1},                                // empty list
        {{10, 11, 12}, true, 9}, {{14, 20}, true, 16}, // 13 is a special phase
        {{11, 12}, true, 10},    {{1, 12}, true, 16},  // 13 again
        {{1, 12}, false, 13},                          // only phases skip it
        {{0, 4}, false, 5},                            // no number below 1
    };
    for (const Case &c : cases)
        EXPECT_EQ(NextFreeNumber(c.numbers, c.phases), c.expected) << ::testing::PrintToString(c.numbers);
}

TEST(Numbering, TypedNumbersThatAreTakenAndSorting)
{
    TVantorConfig config;
    TSOObject *object = config.AddObject();
    TPhaseSO *p1 = object->AddPhase();
    TPhaseSO *p2 = object->AddPhase();
    // Typing 2 into phase 1: taken and higher, so the highest plus one.
    EXPECT_EQ(object->RenumberPhase(p1, 2), 3);
    EXPECT_EQ(PhaseNumbers(*object), (std::vector<int>{2, 3}));
    EXPECT_EQ(object->Phases[1], p1);

    // Phases 1, 3, 5: typing 3 into phase 5 gives 6 (lowest is 1).
    EXPECT_EQ(object->RenumberPhase(p2, 1), 1);
    EXPECT_EQ(object->RenumberPhase(p1, 3), 3);
    TPhaseSO *p5 = object->AddPhase();
    EXPECT_EQ(object->RenumberPhase(p5, 5), 5);
    EXPECT_EQ(object->RenumberPhase(p5, 3), 6);

    // A free number is taken as it is and the list is sorted by number.
    EXPECT_EQ(object->RenumberPhase(p5, 2), 2);
    EXPECT_EQ(PhaseNumbers(*object), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(object->Phases[1], p5);

    // 13 to 15 belong to the special phases, so typing one counts as taken.
    EXPECT_EQ(object->RenumberPhase(p2, 14), 4);
    EXPECT_EQ(object->FindPhase(14), object->SpecialPhases[1]);

    // The next free number below can itself be taken: phases 16 and 17, typing 16
    // into 17 gives 15, then 16; the highest plus one is used instead.
    TVantorConfig other;
    TSOObject *late = other.AddObject();
    TPhaseSO *a = late->AddPhase();
    TPhaseSO *b = late->AddPhase();
    late->RenumberPhase(a, 16);
    late->RenumberPhase(b, 17);
    EXPECT_EQ(late->RenumberPhase(b, 16), 18);

    // Plans keep byte numbers: no room above 255 means the number stays.
    TDayPlan *day = object->AddDayPlan();
    TDayPlan *top = object->AddDayPlan();
    EXPECT_EQ(object->RenumberDayPlan(top, 255), 255);
    EXPECT_EQ(object->RenumberDayPlan(day, 255), 1);
}

TEST(SOObject, DeletionIsRefusedWhileReferenced)
{
    TVantorConfig config;
    TSOObject *object = config.AddObject();
    TPhaseSO *phase = object->NewPhase();
    TCycle *cycle = object->NewCycle();
    TDayPlan *day = object->NewDayPlan();
    TWeekPlan *week = object->NewWeekPlan();
    TYearPlan *year = object->NewYearPlan();

    cycle->AddStep()->Phase = phase;
    TDayPlanItem *dayEntry = day->Items.Append(std::make_unique<TDayPlanItem>());
    *static_cast<TPlanTarget *>(dayEntry) = {cycle, kRefCycle};
    TWeekPlanItem *weekEntry = week->AddItem();
    *static_cast<TPlanTarget *>(weekEntry) = {day, kRefDayPlan};
    TYearPlanItem *yearEntry = year->Items.Append(std::make_unique<TYearPlanItem>());
    *static_cast<TPlanTarget *>(yearEntry) = {week, kRefWeekPlan};
    object->SetEntry(kRefYearPlan, year);

    std::string why;
    EXPECT_FALSE(object->DeletePhase(phase, &why));
    EXPECT_EQ(why, "Фаза задействована в конфигурации!");
    EXPECT_FALSE(object->DeleteCycle(cycle, &why));
    EXPECT_EQ(why, "Цикл задействован в конфигурации!");
    EXPECT_FALSE(object->DeleteDayPlan(day, &why));
    EXPECT_EQ(why, "Сут. план задействован в конфигурации!");
    EXPECT_FALSE(object->DeleteWeekPlan(week, &why));
    EXPECT_EQ(why, "Нед. план задействован в конфигурации!");
    EXPECT_FALSE(object->DeleteYearPlan(year, &why));
    EXPECT_EQ(why, "Год. план задействован в конфигурации!");
    EXPECT_EQ(object->Phases.Count() + object->Cycles.Count() + object->DayPlans.Count() +
                  object->WeekPlans.Count() + object->YearPlans.Count(),
              5);

    // Released from the top down, each can go.
    object->SetEntry(kRefNone, nullptr);
    EXPECT_TRUE(object->DeleteYearPlan(year));
    EXPECT_TRUE(object->DeleteWeekPlan(week));
    EXPECT_TRUE(object->DeleteDayPlan(day));
    EXPECT_TRUE(object->DeleteCycle(cycle));
    EXPECT_TRUE(object->DeletePhase(phase));

    // A phase that is the entry point, or the target of a year-plan entry, stays too.
    TPhaseSO *entry = object->NewPhase();
    object->SetEntry(kRefPhase, entry);
    EXPECT_TRUE(object->IsReferenced(entry));
    EXPECT_FALSE(object->DeletePhase(entry));
    object->SetEntry(kRefNone, nullptr);
    TYearPlan *plan = object->NewYearPlan();
    *static_cast<TPlanTarget *>(plan->Items.Append(std::make_unique<TYearPlanItem>())) = {entry, kRefPhase};
    EXPECT_FALSE(object->DeletePhase(entry));
}

TEST(SOObject, AWeekPlanHoldsSevenEntries)
{
    TVantorConfig config;
    TWeekPlan *plan = config.AddObject()->NewWeekPlan();
    for (int day = 0; day < 7; ++day)
        ASSERT_NE(plan->AddItem(), nullptr);
    EXPECT_EQ(plan->AddItem(), nullptr);
    EXPECT_EQ(plan->InsertItem(0), nullptr);
    EXPECT_EQ(plan->Items.Count(), 7);
}

TEST(SOObject, PhaseEntriesFollowTheObjectsDirections)
{
    TVantorConfig config;
    for (int i = 0; i < 4; ++i)
        config.AddGroup(GroupKind::Transport);
    TSOObject *object = config.NewObject();
    ASSERT_TRUE(object->AddDirection(config.Direction(3)));
    ASSERT_TRUE(object->AddDirection(config.Direction(0)));
    TPhaseSO *first = object->NewPhase();
    TPhaseSO *second = object->NewPhase();
    // Sorted by direction index: entry 0 belongs to direction 0.
    EXPECT_EQ(object->Directions[0], config.Direction(0));
    first->Entries[0]->Tmin = 10;
    first->Entries[1]->Tmin = 13;
    second->Entries[1]->State = 2;

    // A direction added between them gets a default entry in its place.
    ASSERT_TRUE(object->AddDirection(config.Direction(2)));
    ASSERT_EQ(first->Entries.Count(), 3);
    EXPECT_EQ(object->Directions[1], config.Direction(2));
    EXPECT_EQ(first->Entries[0]->Tmin, 10);
    EXPECT_EQ(first->Entries[1]->Tmin, 0);
    EXPECT_EQ(first->Entries[1]->State, 1);
    EXPECT_EQ(first->Entries[2]->Tmin, 13);
    EXPECT_EQ(second->Entries[2]->State, 2);
    EXPECT_TRUE(object->SpecialPhases[0]->Entries.Empty());
    EXPECT_EQ(config.Direction(2)->SOObject, object);

    // Removing the middle direction removes its entries only.
    ASSERT_TRUE(object->RemoveDirection(config.Direction(2)));
    EXPECT_FALSE(object->RemoveDirection(config.Direction(2)));
    EXPECT_EQ(config.Direction(2)->SOObject, nullptr);
    ASSERT_EQ(first->Entries.Count(), 2);
    EXPECT_EQ(first->Entries[0]->Tmin, 10);
    EXPECT_EQ(first->Entries[1]->Tmin, 13);
    EXPECT_EQ(second->Entries[1]->State, 2);
}

TEST(SOObject, ReferenceKindsByFileName)
{
    EXPECT_EQ(RefKindFromFileName("phase"), kRefPhase);
    EXPECT_EQ(RefKindFromFileName("CYCLE"), kRefCycle);
    EXPECT_EQ(RefKindFromFileName("Week"), kRefWeekPlan);
    EXPECT_EQ(RefKindFromFileName("month"), kRefNone);
    EXPECT_EQ(RefKindFromFileName(""), kRefNone);
    EXPECT_STREQ(RefKindFileName(kRefYearPlan), "year");
    EXPECT_STREQ(RefKindFileName(9), "");
}

} // namespace
