// The configuration object model: typed lists, direction types and group kinds,
// names and direction numbering, the conflict matrix, and deleting groups, blocks,
// triggers and traffic-light objects with every reference they leave behind.
#include "controller/VantorConfig.h"

#include "TestModels.h"

#include <gtest/gtest.h>

using namespace vantor;

namespace {

TEST(SafeObjList, PoliciesAndClassTest)
{
    TTrendGroupList groups; // owning: nil refused
    EXPECT_TRUE(groups.OwnsObjects());
    EXPECT_FALSE(groups.AllowNil());
    EXPECT_TRUE(groups.AllowDuplicates());
    EXPECT_EQ(groups.Add(static_cast<TTrendGroup *>(nullptr)), -1);
    EXPECT_EQ(groups.Add(std::make_unique<TTrigger>()), -1); // another class: refused and freed
    EXPECT_EQ(groups.Add(std::make_unique<TWalkman>()), 0);
    EXPECT_EQ(groups.Count(), 1);

    TSafeObjList<TTrendGroup> refs(false); // referring: nil allowed
    EXPECT_TRUE(refs.AllowNil());
    TTrigger trigger;
    EXPECT_EQ(refs.Add(static_cast<TVantorObject *>(&trigger)), -1);
    EXPECT_EQ(refs.Add(groups[0]), 0);
    EXPECT_EQ(refs.Add(static_cast<TTrendGroup *>(nullptr)), 1);
    refs.SetAllowDuplicates(false);
    EXPECT_EQ(refs.Add(groups[0]), -1);
    EXPECT_THROW(refs.Add(std::make_unique<TTransport>()), std::logic_error); // could not own it

    TSafeObjList<TTrendGroup> copy(false);
    copy.Assign(&refs);
    EXPECT_EQ(copy.Count(), 2);
    EXPECT_FALSE(copy.AllowDuplicates());
    EXPECT_EQ(copy[0], groups[0]);
    try {
        copy.Assign(nullptr);
        ADD_FAILURE() << "assigning nil was accepted";
    } catch (const EConvertError &error) {
        EXPECT_STREQ(error.what(), "Cannot assign a nil to a TSafeObjList");
    }
    EXPECT_THROW(groups.Assign(&refs), std::logic_error); // two owners for one item
    EXPECT_EQ(groups.At(5), nullptr);
    EXPECT_EQ(groups.At(-1), nullptr);
}

TEST(TrendTypes, SlotsAreLimitedToTheTypesValidSlots)
{
    TVantorConfig config;
    TTrend &pedestrian = *config.AddGroup(GroupKind::Walkman)->Directions[0];
    pedestrian.SetSlot(kSlotYellow, 3);
    EXPECT_EQ(pedestrian.Slot(kSlotYellow), 0);
    pedestrian.SetSlot(kSlotRedYellow, 2);
    EXPECT_EQ(pedestrian.Slot(kSlotRedYellow), 0);
    pedestrian.SetSlot(kSlotGreenFlashing, 4);
    EXPECT_EQ(pedestrian.Slot(kSlotGreenFlashing), 4);
    pedestrian.SetSlot(kSlotLateGreen, 300); // one byte
    EXPECT_EQ(pedestrian.Slot(kSlotLateGreen), 255);
    EXPECT_FALSE(IsSlotValid(0, 16));
    EXPECT_FALSE(IsSlotValid(0, 12));
    EXPECT_TRUE(IsSlotValid(0, 11));
    EXPECT_FALSE(IsSlotValid(14, 1)); // panels have no timing
    EXPECT_FALSE(config.AddGroup(GroupKind::TableWait)->Directions.Count() > 0);
    EXPECT_EQ(std::string(TrendType(4).suffix), "Tл"); // Latin T
    EXPECT_EQ(std::string(TrendType(5).suffix), "Тв"); // Cyrillic Т
}

// What each kind the editor offers creates.
TEST(TrendGroups, KindsCreateTheirDirectionsAndHeads)
{
    struct Case {
        GroupKind kind;
        int directions;          // own directions created
        int numbered;            // of which count as directions
        int lamps;               // lamps of a head
        const char *defaultName; // as the first group of a configuration
        const char *kindName;
        int tag;
    };
    const Case cases[] = {
        {GroupKind::Transport, 1, 1, 3, "1Т", "Транспортная", 0},
        {GroupKind::Walkman, 1, 1, 2, "1П", "Пешеходная", 10},
        {GroupKind::Arrow, 1, 1, 3, "1С", "Стрелка", 30},
        {GroupKind::Tram, 4, 3, 4, "1Тр", "Трамвайная", 40},
        {GroupKind::Reverse3, 1, 1, 3, "1Р", "Реверсивная", 65},
        {GroupKind::LedLight, 1, 1, 1, "1Св", "Светильник", 70},
        {GroupKind::ISS, 0, 0, 1, "1Ис", "Информационная секция", 75},
        {GroupKind::TableWait, 0, 0, 1, "1Тж", "Табло \"Ждите\"", 80},
        {GroupKind::TableGo, 0, 0, 1, "1Ти", "Табло \"Идите\"", 85},
    };
    for (const Case &c : cases) {
        TVantorConfig config;
        TTrendGroup *group = config.AddGroup(c.kind);
        SCOPED_TRACE(c.defaultName);
        EXPECT_EQ(group->Directions.Count(), c.directions);
        EXPECT_EQ(config.DirectionCount(), c.numbered);
        EXPECT_EQ(config.Conflicts.Size(), c.numbered);
        ASSERT_EQ(group->HeadCount(), 1);
        EXPECT_EQ(group->Heads[0]->LampCount(), c.lamps);
        EXPECT_EQ(group->DefaultName(), c.defaultName);
        EXPECT_STREQ(group->KindName(), c.kindName);
        EXPECT_EQ(group->KindTag(), c.tag);
        EXPECT_EQ(KindByTag(c.tag), c.kind);
    }
    EXPECT_EQ(KindByTag(60), GroupKind::Reverse2); // the unused kind still has its tag
    EXPECT_EQ(KindByTag(12345), GroupKind::Transport);

    TTram tram;
    std::vector<int> types;
    for (const TTrend *direction : tram.Directions)
        types.push_back(direction->Type());
    EXPECT_EQ(types, (std::vector<int>{4, 5, 6, 7}));
    std::vector<int> lamps;
    for (const TSemaphoreOut *lamp : tram.Heads[0]->Lamps)
        lamps.push_back(lamp->LampPos);
    EXPECT_EQ(lamps, (std::vector<int>{3, 4, 5, 6}));
}

TEST(TrendGroups, DefaultNamesFollowPositions)
{
    TVantorConfig config;
    TTrendGroup *transport = config.AddGroup(GroupKind::Transport);
    TTrendGroup *pedestrian = config.AddGroup(GroupKind::Walkman);
    config.AddGroup(GroupKind::Transport);
    config.SetHeadCount(transport, 2);
    EXPECT_EQ(pedestrian->DefaultName(), "2П");
    EXPECT_EQ(config.Groups[2]->Directions[0]->DefaultName(), "3Т");
    EXPECT_EQ(transport->Heads[1]->DefaultName(), "1Т.2");
    transport->Name = "Север";
    EXPECT_EQ(transport->Heads[1]->NameOrDefault(), "Север.2");
    transport->Heads[1]->Name = "Мачта";
    EXPECT_EQ(transport->Heads[1]->NameOrDefault(), "Мачта");
    EXPECT_EQ(transport->Heads[1]->Number, 2);

    config.DeleteGroup(transport);
    EXPECT_EQ(pedestrian->DefaultName(), "1П");
    EXPECT_EQ(pedestrian->Directions[0]->DefaultName(), "1П");
}

TEST(DirectionNumbering, TramGroupsAndGroupsWithoutDirections)
{
    TVantorConfig config;
    TTrendGroup *transport = config.AddGroup(GroupKind::Transport);
    TTrendGroup *tram = config.AddGroup(GroupKind::Tram);
    config.AddGroup(GroupKind::ISS);
    TTrendGroup *pedestrian = config.AddGroup(GroupKind::Walkman);

    EXPECT_EQ(config.DirectionCount(), 5); // 1 + 3 tram directions + 1
    EXPECT_EQ(config.DirectionIndex(transport->Directions[0]), 0);
    EXPECT_EQ(config.DirectionIndex(tram->Directions[0]), 1);
    EXPECT_EQ(config.DirectionIndex(tram->Directions[2]), 3);
    EXPECT_EQ(config.DirectionIndex(tram->Directions[3]), -1); // the stop lamp is no direction
    EXPECT_EQ(config.DirectionIndex(pedestrian->Directions[0]), 4);
    EXPECT_EQ(config.Direction(4), pedestrian->Directions[0]);
    EXPECT_EQ(config.Direction(5), nullptr);
    EXPECT_EQ(config.Direction(-1), nullptr);

    // The numbers the editor shows count the tram group once.
    const TTrendGroupList &groups = config.Groups;
    EXPECT_EQ(groups.TramDirectionIndex(tram->Directions[0]), 1);
    EXPECT_EQ(groups.TramDirectionIndex(tram->Directions[3]), 1);
    EXPECT_EQ(groups.TramDirectionIndex(pedestrian->Directions[0]), 2);
    EXPECT_EQ(groups.DirectionCaption(tram->Directions[0]), "2Tл");
    EXPECT_EQ(groups.DirectionCaption(tram->Directions[1]), "2Тв");
    EXPECT_EQ(groups.DirectionCaption(tram->Directions[2]), "2Тп");
    EXPECT_EQ(groups.DirectionCaption(pedestrian->Directions[0]), "3П");
}

TEST(ConflictMatrix, GrowsWithNewCellsAndKeepsOldOnes)
{
    TVantorConfig config;
    config.AddGroup(GroupKind::Transport);
    config.AddGroup(GroupKind::Transport);
    config.Conflicts.SetRelation(0, 1, 0);
    config.Conflicts.SetTime(0, 1, 7);
    config.Conflicts.SetRelation(1, 0, 5);
    config.Conflicts.SetRelation(1, 1, 5); // the diagonal is never edited

    config.AddGroup(GroupKind::ISS);
    EXPECT_EQ(config.Conflicts.Size(), 2);
    config.AddGroup(GroupKind::Walkman);
    ASSERT_EQ(config.Conflicts.Size(), 3);
    EXPECT_EQ(config.Conflicts.Relation(0, 1), 0);
    EXPECT_EQ(config.Conflicts.Time(0, 1), 7);
    EXPECT_EQ(config.Conflicts.Relation(1, 0), 5);
    EXPECT_EQ(config.Conflicts.Relation(1, 1), 0);
    for (auto [row, column] : {std::pair{0, 2}, {1, 2}, {2, 0}, {2, 1}}) {
        EXPECT_EQ(config.Conflicts.Relation(row, column), 10);
        EXPECT_EQ(config.Conflicts.Time(row, column), 2);
    }

    config.Conflicts.CycleRelation(2, 0);
    EXPECT_EQ(config.Conflicts.Relation(2, 0), 0);
    config.Conflicts.CycleRelation(2, 0);
    config.Conflicts.CycleRelation(2, 0);
    EXPECT_EQ(config.Conflicts.Relation(2, 0), 10);
    EXPECT_EQ(config.Conflicts.Relation(0, 2), 10); // the mirrored cell is its own
}

TEST(ConflictMatrix, DeletingAGroupInTheMiddleKeepsEveryOtherPair)
{
    TVantorConfig config;
    config.AddGroup(GroupKind::Transport);                // direction 0
    TTrendGroup *tram = config.AddGroup(GroupKind::Tram); // 1, 2, 3
    config.AddGroup(GroupKind::Walkman);                  // 4
    config.AddGroup(GroupKind::Arrow);                    // 5
    TConflictMatrix &matrix = config.Conflicts;
    for (int row = 0; row < 6; ++row)
        for (int column = 0; column < 6; ++column) {
            matrix.SetRelation(row, column, static_cast<std::uint8_t>(row == 0 ? 5 : 0));
            matrix.SetTime(row, column, row * 10 + column);
        }

    config.DeleteGroup(tram);
    ASSERT_EQ(matrix.Size(), 3);
    // Old directions 0, 4, 5 are now 0, 1, 2.
    EXPECT_EQ(matrix.Relation(0, 1), 5);
    EXPECT_EQ(matrix.Time(0, 1), 4);
    EXPECT_EQ(matrix.Time(0, 2), 5);
    EXPECT_EQ(matrix.Relation(1, 2), 0);
    EXPECT_EQ(matrix.Time(1, 2), 45);
    EXPECT_EQ(matrix.Time(2, 0), 50);
    EXPECT_EQ(matrix.Time(2, 1), 54);
}

TEST(TrendGroups, ReferencesOfGroupsWithoutOwnDirections)
{
    TVantorConfig config;
    TTrendGroup *transport = config.AddGroup(GroupKind::Transport);
    TTrendGroup *pedestrian = config.AddGroup(GroupKind::Walkman);
    TTrendGroup *section = config.AddGroup(GroupKind::ISS);
    TTrendGroup *panel = config.AddGroup(GroupKind::TableWait);
    TTrigger *trigger = config.AddTrigger();

    EXPECT_EQ(section->MaxReferences(), 2);
    EXPECT_EQ(panel->MaxReferences(), 1);
    EXPECT_TRUE(section->AddDirectionRef(transport->Directions[0]));
    EXPECT_FALSE(section->AddDirectionRef(transport->Directions[0])); // not twice
    EXPECT_TRUE(section->CanAddReference());
    EXPECT_TRUE(section->AddTriggerRef(trigger));
    EXPECT_FALSE(section->CanAddReference());
    EXPECT_TRUE(panel->AddDirectionRef(pedestrian->Directions[0]));
    EXPECT_FALSE(panel->CanAddReference());
    EXPECT_FALSE(transport->AddDirectionRef(pedestrian->Directions[0])); // has its own
    EXPECT_FALSE(transport->CanAddReference());
    // Following does not make a direction of the panel.
    EXPECT_EQ(config.DirectionCount(), 2);

    // Deleting the followed group and trigger leaves no dangling reference.
    config.DeleteGroup(transport);
    config.DeleteTrigger(trigger);
    EXPECT_EQ(section->Directions.Count(), 0);
    EXPECT_EQ(section->Triggers.Count(), 0);
    EXPECT_EQ(panel->Directions.Count(), 1);
    EXPECT_TRUE(panel->RemoveDirectionRef(pedestrian->Directions[0]));
    EXPECT_EQ(panel->Directions.Count(), 0);
    EXPECT_EQ(config.DirectionCount(), 1); // removing a reference frees nothing
}

TEST(DeletingAGroup, LeavesObjectsPhasesAndOutputsConsistent)
{
    ClearVantorModels();
    TVantorConfig config;
    TTrendGroup *first = config.AddGroup(GroupKind::Transport);
    TTrendGroup *middle = config.AddGroup(GroupKind::Tram);
    TTrendGroup *last = config.AddGroup(GroupKind::Walkman);
    TController *block = config.AddBlock(*test::MakeModel(16, 12));
    config.Wire(middle->Heads[0], kLampTramLeft, block->Output(0));
    config.Wire(last->Heads[0], kLampGreen, block->Output(1));

    TSOObject *object = config.NewObject();
    ASSERT_TRUE(object->AddDirection(last->Directions[0]));
    ASSERT_TRUE(object->AddDirection(middle->Directions[1]));
    ASSERT_TRUE(object->AddDirection(first->Directions[0]));
    TPhaseSO *phase = object->NewPhase();
    ASSERT_EQ(phase->Entries.Count(), 3);
    phase->Entries[0]->Tmin = 10; // first
    phase->Entries[1]->Tmin = 20; // middle's
    phase->Entries[2]->Tmin = 30; // last

    config.DeleteGroup(middle);
    ASSERT_EQ(object->Directions.Count(), 2);
    EXPECT_EQ(object->Directions[0], first->Directions[0]);
    EXPECT_EQ(object->Directions[1], last->Directions[0]);
    ASSERT_EQ(phase->Entries.Count(), 2);
    EXPECT_EQ(phase->Entries[0]->Tmin, 10);
    EXPECT_EQ(phase->Entries[1]->Tmin, 30);
    EXPECT_EQ(block->Output(0)->Owner, nullptr);
    EXPECT_EQ(block->Output(1)->Owner, last);
    EXPECT_EQ(config.Conflicts.Size(), 2);
}

TEST(Blocks, AddingFindingAndDeleting)
{
    TVantorConfig config;
    const auto model = test::MakeModel(16, 24, "Силовой блок СБ-24");
    TController *a = config.AddBlock(*model);
    TController *b = config.AddBlock(*model);
    EXPECT_EQ(a->ID, 1);
    EXPECT_EQ(b->ID, 2);
    EXPECT_EQ(a->Name, "Силовой блок СБ-24");
    EXPECT_EQ(a->ModelID, 16);
    EXPECT_TRUE(a->Enabled);
    ASSERT_EQ(a->Outputs.Count(), 24);
    EXPECT_EQ(a->Inputs.Count(), 1);
    EXPECT_EQ(a->Output(4)->Number(), 5);
    EXPECT_EQ(a->Output(4)->ModelOutput->Name, "2ж");
    // Each block has its own model, so the outputs' settings are its own.
    EXPECT_NE(&a->Model(), model.get());
    EXPECT_NE(a->Output(0)->ModelOutput, b->Output(0)->ModelOutput);
    EXPECT_EQ(config.Blocks.FindById(2), b);
    EXPECT_EQ(config.Blocks.FindById(3), nullptr);
    b->ID = 1;
    EXPECT_EQ(config.Blocks.FindById(1), a); // the first match

    TTrendGroup *group = config.AddGroup(GroupKind::Transport);
    config.Wire(group->Heads[0], kLampRed, a->Output(0));
    config.Wire(group->Heads[0], kLampGreen, b->Output(2));
    config.DeleteBlock(a);
    EXPECT_EQ(group->Heads[0]->Output(kLampRed), nullptr);
    EXPECT_EQ(group->Heads[0]->Output(kLampGreen), b->Output(2));
    EXPECT_EQ(config.Blocks.Count(), 1);
}

TEST(Blocks, ANewBlockNeverTakesAnIdInUse)
{
    // Wiring is stored by block ID: two blocks with one ID would swap wiring on reading.
    TVantorConfig config;
    const auto model = test::MakeModel(16, 3);
    TController *first = config.AddBlock(*model);
    config.AddBlock(*model);
    config.DeleteBlock(first);                 // left: ID 2
    EXPECT_EQ(config.AddBlock(*model)->ID, 3); // the count would give 2
    config.Blocks.At(1)->ID = 9;               // IDs 2 and 9
    EXPECT_EQ(config.AddBlock(*model)->ID, 3); // the count, free
    config.DeleteBlock(config.Blocks.First()); // IDs 9 and 3
    EXPECT_EQ(config.AddBlock(*model)->ID, 10);
}

TEST(Triggers, DeletingClearsPhaseEntriesAndCycleSteps)
{
    TVantorConfig config;
    TTrendGroup *group = config.AddGroup(GroupKind::Transport);
    TTrigger *kept = config.AddTrigger();
    TTrigger *deleted = config.AddTrigger();
    EXPECT_EQ(deleted->Log, 1);
    EXPECT_EQ(deleted->AddArgument()->Triggered, true);
    TSOObject *object = config.NewObject();
    object->AddDirection(group->Directions[0]);
    TPhaseSO *phase = object->NewPhase();
    phase->Entries[0]->Trigger = deleted;
    TCycle *cycle = object->NewCycle();
    cycle->AddStep()->Trigger = deleted;
    cycle->AddStep()->Trigger = kept;

    config.DeleteTrigger(deleted);
    EXPECT_EQ(phase->Entries[0]->Trigger, nullptr);
    EXPECT_EQ(cycle->Steps[0]->Trigger, nullptr);
    EXPECT_EQ(cycle->Steps[1]->Trigger, kept);
    EXPECT_EQ(config.Triggers.Count(), 1);
    EXPECT_EQ(TriggerCaption(2), "2ТРГ");
}

TEST(Objects, DeletingAnObjectFreesItsDirections)
{
    TVantorConfig config;
    TTrendGroup *group = config.AddGroup(GroupKind::Transport);
    TSOObject *first = config.NewObject();
    TSOObject *second = config.NewObject();
    EXPECT_EQ(first->Name, "Новый светофорный объект 1");
    EXPECT_EQ(second->RevurNumber, 2);
    TTrend *direction = group->Directions[0];
    ASSERT_TRUE(first->AddDirection(direction));
    EXPECT_FALSE(second->AddDirection(direction)); // belongs to another object
    config.DeleteObject(first);
    EXPECT_EQ(direction->SOObject, nullptr);
    EXPECT_TRUE(second->AddDirection(direction));
    EXPECT_EQ(direction->SOObject, second);
}

TEST(TVantorConfig, NewConfigurationDefaultsAndClear)
{
    TVantorConfig config;
    EXPECT_EQ(config.Name, "Новая конфигурация");
    EXPECT_EQ(config.TMinG, 15);
    EXPECT_EQ(config.TMinR, 5);
    EXPECT_EQ(config.Takk, 4);
    EXPECT_EQ(config.DayBrightness, 100);
    EXPECT_EQ(config.NightBrightness, 30);
    EXPECT_EQ(config.Conflicts.Size(), 0);
    EXPECT_EQ(config.TimeZone.displayName.rfind("(UTC", 0), 0u);

    config.AddGroup(GroupKind::Transport);
    config.AddGroup(GroupKind::Walkman);
    config.AddBlock(*test::MakeModel(16, 3));
    config.AddTrigger();
    config.NewObject()->AddDirection(config.Direction(0));
    config.Clear();
    EXPECT_TRUE(config.Groups.Empty());
    EXPECT_TRUE(config.Blocks.Empty());
    EXPECT_TRUE(config.Triggers.Empty());
    EXPECT_TRUE(config.Objects.Empty());
    EXPECT_EQ(config.Conflicts.Size(), 2); // keeps its size until resized
}

} // namespace
