// The Vantor-5 document: what the writer puts into each member, how the reader
// rebuilds the model from it, and the reader's leniency with incomplete, foreign or
// malformed documents.
#include "controller/ConfigDocument.h"
#include "controller/VantorConfig.h"

#include "TestModels.h"

#include <gtest/gtest.h>

using namespace vantor;
using json::Json;

namespace {

const QDate kDate(2026, 12, 9);

class ConfigDocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearVantorModels();
        RegisterModel(test::MakeModel(16, 24, "Силовой блок СБ-24"));
        RegisterModel(test::MakeModel(17, 12, "Силовой блок СБ-12"));
        config_.TimeZone = {180, "(UTC+03:00) Europe/Moscow"};
    }
    void TearDown() override { ClearVantorModels(); }

    // The "vantor5" member of what the writer makes of config.
    static Json Write(TVantorConfig &config) { return WriteVantorConfig(config, kDate); }
    Json Write() { return Write(config_); }

    // Reads a whole document into a fresh configuration.
    static std::unique_ptr<TVantorConfig> Read(const Json &root)
    {
        auto config = std::make_unique<TVantorConfig>();
        std::string error;
        EXPECT_TRUE(LoadConfigJson(*config, root, &error)) << error;
        return config;
    }
    static std::unique_ptr<TVantorConfig> ReadMember(const Json &vantor5)
    {
        return Read(Json{{"vantor5", vantor5}});
    }
    static std::unique_ptr<TVantorConfig> ReadText(const char *vantor5)
    {
        return ReadMember(*json::Parse(vantor5));
    }
    // Writes, reads back and writes again; both texts must be the same.
    void ExpectStableRoundTrip()
    {
        const std::string first = json::RenderCompact(Write());
        const auto copy = ReadMember(*json::Parse(first));
        EXPECT_EQ(json::RenderCompact(Write(*copy)), first);
    }

    TVantorConfig config_;
};

TEST_F(ConfigDocumentTest, EmptyConfiguration)
{
    EXPECT_EQ(json::RenderCompact(GetConfigJson(config_, kDate)),
              R"({"vantor5":{"n":"Новая конфигурация","en":true,"ver":1,"date":"09-12-2026",)"
              R"("geo":{"tz":180,"tzname":"(UTC+03:00) Europe/Moscow","auto":false,"lat":0,"long":0,)"
              R"("day_bright":100,"night_bright":30,"night_horizon":0},"outs_controls":[],"blocks":[],)"
              R"("sig_group_types":[],"connects":[],"semaphores":[],"promtacts":[],)"
              R"("dirs":{"TminG":15,"TminR":5,"Takk":4,"at":[]},"sig_groups":[],"triggers":[],"sos":[]}})");
    ExpectStableRoundTrip();
}

TEST_F(ConfigDocumentTest, GeneralSettingsAndScheme)
{
    config_.Name = "Перекрёсток \"Ленина\"";
    config_.Enabled = false;
    config_.AutoLocation = true;
    config_.Latitude = 55.7558261234;
    config_.Longitude = -37.6173;
    config_.DayBrightness = 90;
    config_.NightBrightness = 20;
    config_.HorizonAngle = -6;
    config_.Scheme = {"<svg>", "</svg>"};
    const Json v = Write();
    EXPECT_EQ(json::RenderCompact(v["geo"]),
              R"({"tz":180,"tzname":"(UTC+03:00) Europe/Moscow","auto":true,"lat":55.755826,"long":-37.6173,)"
              R"("day_bright":90,"night_bright":20,"night_horizon":-6,"scheme":"<svg>\r\n</svg>\r\n"})");
    const auto copy = ReadMember(v);
    EXPECT_EQ(copy->Name, config_.Name);
    EXPECT_FALSE(copy->Enabled);
    EXPECT_TRUE(copy->AutoLocation);
    EXPECT_EQ(copy->Latitude, 55.755826);
    EXPECT_EQ(copy->TimeZone.offsetMinutes, 180);
    EXPECT_EQ(copy->TimeZone.displayName, "(UTC+03:00) Europe/Moscow");
    EXPECT_EQ(copy->HorizonAngle, -6);
    EXPECT_EQ(copy->Scheme, config_.Scheme);
    ExpectStableRoundTrip();
}

TEST_F(ConfigDocumentTest, OwnMinimumTimesAreWrittenOnlyWhenTheyDiffer)
{
    TTrend *same = config_.AddGroup(GroupKind::Transport)->Directions[0];
    TTrend *own = config_.AddGroup(GroupKind::Transport)->Directions[0];
    same->TMinG = 15; // the global TminG
    same->TMinR = 0;
    own->TMinG = 20;
    own->TMinR = 7;
    own->Takk = 3;
    const Json v = Write();
    const Json &at = v["dirs"]["at"];
    EXPECT_FALSE(at[0].contains("TMinG"));
    EXPECT_FALSE(at[0].contains("TMinR"));
    EXPECT_FALSE(at[0].contains("Takk"));
    EXPECT_EQ(at[1]["TMinG"], 20);
    EXPECT_EQ(at[1]["TMinR"], 7);
    EXPECT_EQ(at[1]["Takk"], 3);
    const auto copy = ReadMember(v);
    EXPECT_EQ(copy->Direction(0)->TMinG, 0);
    EXPECT_EQ(copy->Direction(1)->TMinG, 20);
    EXPECT_EQ(copy->Direction(1)->TMinR, 7);
    EXPECT_EQ(copy->Direction(1)->Takk, 3);
}

TEST_F(ConfigDocumentTest, SignalGroupTypesAndTheirPositions)
{
    config_.AddGroup(GroupKind::ISS);
    config_.AddGroup(GroupKind::Walkman);
    config_.AddGroup(GroupKind::Arrow);
    config_.AddGroup(GroupKind::Transport);
    const Json v = Write();
    const Json &types = v["sig_group_types"];
    ASSERT_EQ(types.size(), 3u); // transport (also for the arrow), pedestrian, information section
    EXPECT_EQ(types[0]["n"], "Транспортная");
    EXPECT_EQ(types[1]["n"], "Пешеходная");
    EXPECT_EQ(json::RenderCompact(types[2]),
              R"({"n":"ИС","type":8,"in_length":2,"out":[0],"states":[{"in":[[2,6],[2,4]],"out":[3]}]})");
    std::vector<int> ti;
    for (const Json &group : v["sig_groups"])
        ti.push_back(group["ti"].get<int>());
    EXPECT_EQ(ti, (std::vector<int>{3, 2, 1, 1}));
    EXPECT_EQ(v["dirs"]["at"][1]["type"], 3); // the arrow's direction
    EXPECT_EQ(json::RenderCompact(types[1]["states"][2]),
              R"({"n":"Зеленый с конфликтом","in":[3],"out":[0,2]})");
    EXPECT_EQ(types[0]["states"].size(), 9u);
}

TEST_F(ConfigDocumentTest, ArrowGroupsComeBackAsArrowsWithEveryLaterDirectionsData)
{
    config_.AddGroup(GroupKind::Transport);
    config_.AddGroup(GroupKind::Arrow);
    config_.AddGroup(GroupKind::Walkman);
    config_.AddGroup(GroupKind::Arrow);
    for (int i = 0; i < config_.DirectionCount(); ++i) {
        TTrend *d = config_.Direction(i);
        d->Name = "Н" + std::to_string(i);
        d->Prior = static_cast<std::uint16_t>(i + 1);
        d->SetSlot(kSlotGreenFlashing, 3);
        d->SetSlot(kSlotYellow, 3 + i); // not valid for the pedestrian
    }
    const auto copy = ReadMember(Write());
    ASSERT_EQ(copy->Groups.Count(), 4);
    EXPECT_EQ(copy->Groups[1]->Kind(), GroupKind::Arrow);
    EXPECT_EQ(copy->Groups[3]->Kind(), GroupKind::Arrow);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(copy->Direction(i)->Name, "Н" + std::to_string(i));
        EXPECT_EQ(copy->Direction(i)->Prior, i + 1);
        EXPECT_EQ(copy->Direction(i)->Slot(kSlotYellow), config_.Direction(i)->Slot(kSlotYellow));
    }
    EXPECT_EQ(copy->Direction(3)->Slot(kSlotYellow), 6);
    ExpectStableRoundTrip();
}

TEST_F(ConfigDocumentTest, TransitionProgramsAreSharedByDirectionsOfOneType)
{
    TTrend *a = config_.AddGroup(GroupKind::Transport)->Directions[0];
    TTrend *b = config_.AddGroup(GroupKind::Transport)->Directions[0];
    TTrend *walk = config_.AddGroup(GroupKind::Walkman)->Directions[0];
    TTrend *none = config_.AddGroup(GroupKind::Transport)->Directions[0];
    for (TTrend *d : {a, b, walk}) {
        d->SetSlot(kSlotGreenFlashing, 3);
        d->SetSlot(kSlotYellow, 3); // ignored for the pedestrian
    }
    a->SetSlot(kSlotRedYellow, 2);
    walk->SetSlot(kSlotEarlyRed, 0);
    (void)none;

    const Json v = Write();
    EXPECT_EQ(json::RenderCompact(v["promtacts"]),
              R"([{"n":"З-К Транспортная","type":1,"tacts":[{"sec":6,"val":4},{"sec":3,"val":5}]},)"
              R"({"n":"К-3 Транспортная","type":2,"tacts":[{"sec":2,"val":6}]},)"
              R"({"n":"З-К Пешеходная","type":1,"tacts":[{"sec":3,"val":4}]}])");
    const Json &at = v["dirs"]["at"];
    EXPECT_EQ(at[0]["G2R"], 1);
    EXPECT_EQ(at[0]["R2G"], 2);
    EXPECT_EQ(at[1]["G2R"], 1);
    EXPECT_EQ(at[1]["R2G"], 0);
    EXPECT_EQ(at[2]["G2R"], 3);
    EXPECT_EQ(at[3]["G2R"], 0);

    const auto copy = ReadMember(v);
    EXPECT_EQ(copy->Direction(0)->Slot(kSlotGreenFlashing), 3);
    EXPECT_EQ(copy->Direction(0)->Slot(kSlotYellow), 3);
    EXPECT_EQ(copy->Direction(0)->Slot(kSlotRedYellow), 2);
    EXPECT_EQ(copy->Direction(1)->Slot(kSlotRedYellow), 0);
    EXPECT_EQ(copy->Direction(2)->Slot(kSlotGreenFlashing), 3);
    EXPECT_EQ(copy->Direction(3)->Slot(kSlotYellow), 0);
    ExpectStableRoundTrip();
}

TEST_F(ConfigDocumentTest, OutputControlRecordsAndBlocks)
{
    TController *block = config_.AddBlock(*FindModelById(16));
    block->Name = "Шкаф 1";
    block->ID = 7;
    block->Enabled = false;
    TVantorModelOutput &first = *block->Output(0)->ModelOutput;
    TVantorModelOutput &second = *block->Output(1)->ModelOutput;
    for (TVantorModelOutput *out : {&first, &second}) {
        out->IShort = 2.5;
        out->IOn = 0.05;
        out->UOff = 80;
    }
    first.RedControl = true; // differs from the second only in the red flag
    first.Power = 60;
    first.DayBright = 100;
    first.NightBright = 40;
    second.Power = -3;

    const Json v = Write();
    const Json &controls = v["outs_controls"];
    ASSERT_EQ(controls.size(), 3u); // first, second, then the 22 untouched outputs
    EXPECT_EQ(json::RenderCompact(controls[0]),
              R"({"red":true,"green":false,"i_short":2.5,"i_on":0.05,"i_off":0,"u_on":0,"u_off":80})");
    EXPECT_EQ(json::RenderCompact(v["blocks"][0]["outs"][0]), "[1,60,100,40]");
    EXPECT_EQ(json::RenderCompact(v["blocks"][0]["outs"][1]), "[2,-3,-1,-1]");
    EXPECT_EQ(json::RenderCompact(v["blocks"][0]["outs"][23]), "[3,0,-1,-1]");
    EXPECT_EQ(v["blocks"][0]["n"], "Шкаф 1");
    EXPECT_EQ(v["blocks"][0]["i"], 7);
    EXPECT_EQ(v["blocks"][0]["m"], 16);

    const auto copy = ReadMember(v);
    ASSERT_EQ(copy->Blocks.Count(), 1);
    const TController &read = *copy->Blocks[0];
    EXPECT_EQ(read.ID, 7);
    EXPECT_FALSE(read.Enabled);
    EXPECT_EQ(read.Name, "Шкаф 1");
    EXPECT_TRUE(read.Output(0)->ModelOutput->RedControl);
    EXPECT_FALSE(read.Output(1)->ModelOutput->RedControl);
    EXPECT_EQ(read.Output(1)->ModelOutput->IOn, 0.05);
    EXPECT_EQ(read.Output(1)->ModelOutput->UOff, 80);
    EXPECT_EQ(read.Output(1)->ModelOutput->Power, -3);
    EXPECT_EQ(read.Output(0)->ModelOutput->NightBright, 40);
    ExpectStableRoundTrip();
}

TEST_F(ConfigDocumentTest, ConnectionsParallelAndUnwiredHeads)
{
    TController *block = config_.AddBlock(*FindModelById(16));
    TTrendGroup *group = config_.AddGroup(GroupKind::Transport);
    TTrendGroup *walk = config_.AddGroup(GroupKind::Walkman);
    config_.SetHeadCount(group, 3);
    for (int head : {0, 2}) // heads 1 and 3 in parallel, head 2 unwired
        for (int lamp : {kLampRed, kLampYellow, kLampGreen})
            config_.Wire(group->Heads[head], lamp, block->Output(lamp));
    config_.Wire(walk->Heads[0], kLampGreen, block->Output(5));

    const Json v = Write();
    EXPECT_EQ(json::RenderCompact(v["connects"]), R"([{"con":[[1,1],[1,2],[1,3]]},{"con":[[],[1,6]]}])");
    std::vector<int> cons;
    for (const Json &head : v["semaphores"])
        cons.push_back(head["con"].get<int>());
    EXPECT_EQ(cons, (std::vector<int>{1, 0, 1, 2}));
    EXPECT_EQ(v["semaphores"][1]["n"], "1Т.2");
    EXPECT_EQ(json::RenderCompact(v["sig_groups"][0]["semaphores"]), "[1,2,3]");
    EXPECT_EQ(json::RenderCompact(v["sig_groups"][0]["conns"]), "[1]");
    EXPECT_EQ(json::RenderCompact(v["sig_groups"][1]["semaphores"]), "[4]");

    const auto copy = ReadMember(v);
    const TTrendGroup &read = *copy->Groups[0];
    ASSERT_EQ(read.HeadCount(), 3);
    const TController &readBlock = *copy->Blocks[0];
    EXPECT_EQ(read.Heads[0]->Output(kLampYellow), readBlock.Output(1));
    EXPECT_EQ(read.Heads[2]->Output(kLampGreen), readBlock.Output(2));
    EXPECT_FALSE(read.Heads[1]->HasAnyOutput());
    EXPECT_EQ(readBlock.Output(0)->Owner, &read);
    EXPECT_EQ(copy->Groups[1]->Heads[0]->Output(kLampRed), nullptr);
    EXPECT_EQ(copy->Groups[1]->Heads[0]->Output(kLampGreen), readBlock.Output(5));
    ExpectStableRoundTrip();
}

TEST_F(ConfigDocumentTest, WritingTwiceAndHeadNumbersAfterAddingHeads)
{
    config_.AddGroup(GroupKind::Transport);
    config_.AddGroup(GroupKind::Walkman);
    const std::string first = json::RenderCompact(Write());
    EXPECT_EQ(json::RenderCompact(Write()), first);
    EXPECT_NE(json::RenderCompact(WriteVantorConfig(config_, QDate(2027, 1, 2))), first); // only the date

    config_.SetHeadCount(config_.Groups[0], 2);
    const Json v = Write();
    EXPECT_EQ(v["semaphores"].size(), 3u);
    EXPECT_EQ(v["semaphores"][2]["n"], "2П.1");
    EXPECT_EQ(json::RenderCompact(v["sig_groups"][1]["semaphores"]), "[3]");
}

TEST_F(ConfigDocumentTest, ConflictsAndGroupsWithoutOwnDirections)
{
    TTrendGroup *a = config_.AddGroup(GroupKind::Transport);
    config_.AddGroup(GroupKind::Tram);
    TTrendGroup *section = config_.AddGroup(GroupKind::ISS);
    TTrigger *trigger = config_.AddTrigger();
    config_.AddTrigger();
    section->AddDirectionRef(config_.Direction(2));
    section->AddTriggerRef(config_.Triggers[1]);
    (void)trigger;
    config_.Conflicts.SetRelation(0, 1, 0);
    config_.Conflicts.SetRelation(0, 3, 5);
    config_.Conflicts.SetTime(0, 3, 4);

    const Json v = Write();
    EXPECT_EQ(json::RenderCompact(v["dirs"]["at"][0]["conflicts"]), "[[10,3,2],[5,4,4]]");
    EXPECT_EQ(json::RenderCompact(v["sig_groups"][1]["dirs"]), "[2,3,4]");
    EXPECT_EQ(json::RenderCompact(v["sig_groups"][2]["dirs"]), "[3,-2]");
    EXPECT_EQ(v["sig_groups"][1]["n"], "2Тр");

    const auto copy = ReadMember(v);
    EXPECT_EQ(copy->Conflicts.Relation(0, 1), 0); // not mentioned: no conflict
    EXPECT_EQ(copy->Conflicts.Relation(0, 2), 10);
    EXPECT_EQ(copy->Conflicts.Time(0, 3), 4);
    EXPECT_EQ(copy->Conflicts.Relation(1, 0), 10);
    EXPECT_EQ(copy->Conflicts.DefaultRelation, 10); // back for the editor
    const TTrendGroup &readSection = *copy->Groups[2];
    ASSERT_EQ(readSection.Directions.Count(), 1);
    EXPECT_EQ(readSection.Directions[0], copy->Direction(2));
    ASSERT_EQ(readSection.Triggers.Count(), 1);
    EXPECT_EQ(readSection.Triggers[0], copy->Triggers[1]);
    (void)a;
    ExpectStableRoundTrip();
}

TEST_F(ConfigDocumentTest, TriggersAndTheirResetArguments)
{
    TTrigger *each = config_.AddTrigger();
    each->Name = "Вызов";
    each->Log = 2;
    each->Not = true;
    each->ResetEvent = 3;
    each->ResetArg1 = 4;
    each->ResetArg2 = 9; // not written below event 15
    TTriggerItem *arg = each->AddArgument();
    arg->Source = 1;
    arg->BlockNumber = 2;
    arg->DetectorNumber = 5;
    arg->Faulty = false;
    arg->Inverted = true;
    TTrigger *phase = config_.AddTrigger();
    phase->ResetEvent = 16;
    phase->ResetArg1 = 1;
    phase->ResetArg2 = 3;

    const Json v = Write();
    EXPECT_EQ(
        json::RenderCompact(v["triggers"]),
        R"([{"n":"Вызов","log":2,"not":true,"args":[[1,2,5,false,true,true,false,true,true]],)"
        R"("res":{"src":3,"args":[4]}},{"n":"","log":1,"not":false,"args":[],"res":{"src":16,"args":[1,3]}}])");
    const auto copy = ReadMember(v);
    ASSERT_EQ(copy->Triggers.Count(), 2);
    EXPECT_EQ(copy->Triggers[0]->ResetArg2, 0);
    EXPECT_EQ(copy->Triggers[1]->ResetArg2, 3);
    ASSERT_EQ(copy->Triggers[0]->Args.Count(), 1);
    EXPECT_FALSE(copy->Triggers[0]->Args[0]->Faulty);
    EXPECT_TRUE(copy->Triggers[0]->Args[0]->Inverted);
    EXPECT_EQ(copy->Triggers[0]->Args[0]->DetectorNumber, 5);

    // A second reset argument below event 15 is not read.
    const auto other = ReadText(R"({"triggers":[{"res":{"src":3,"args":[4,9]}},{"args":[[],[2]]}]})");
    EXPECT_EQ(other->Triggers[0]->ResetArg1, 4);
    EXPECT_EQ(other->Triggers[0]->ResetArg2, 0);
    ASSERT_EQ(other->Triggers[1]->Args.Count(), 1); // an empty argument makes none
    EXPECT_EQ(other->Triggers[1]->Args[0]->Source, 2);
    EXPECT_TRUE(other->Triggers[1]->Args[0]->Triggered);
}

class ObjectDocumentTest : public ConfigDocumentTest {
protected:
    void SetUp() override
    {
        ConfigDocumentTest::SetUp();
        for (int i = 0; i < 3; ++i)
            config_.AddGroup(GroupKind::Transport);
        object_ = config_.NewObject();
        object_->AddDirection(config_.Direction(2));
        object_->AddDirection(config_.Direction(0));
        p1_ = object_->NewPhase();
        p2_ = object_->NewPhase();
        p2_->Entries[1]->State = 2;
        p2_->Entries[1]->Tmin = 12;
        p2_->Entries[1]->Algorithm = 5;
        p2_->Entries[1]->Priority = 3;
        trigger_ = config_.AddTrigger();
        p2_->Entries[1]->Trigger = trigger_;
    }
    TSOObject *object_ = nullptr;
    TPhaseSO *p1_ = nullptr;
    TPhaseSO *p2_ = nullptr;
    TTrigger *trigger_ = nullptr;
};

TEST_F(ObjectDocumentTest, PhasesAndObjectMembers)
{
    object_->RevurNumber = 4;
    const Json v = Write();
    const Json &so = v["sos"][0];
    EXPECT_EQ(so["n"], "Новый светофорный объект 1");
    EXPECT_EQ(so["revur_num"], 4);
    EXPECT_EQ(json::RenderCompact(so["dirs"]), "[1,3]");
    EXPECT_EQ(json::RenderCompact(so["enter"]), "[]");
    EXPECT_EQ(json::RenderCompact(so["phases"][1]),
              R"({"n":"Фаза 2","i":2,"Tmin":15,"Takk":4,"m":[[1,0,0,0,0,0],[2,12,0,5,1,3]]})");

    const auto copy = ReadMember(v);
    ASSERT_EQ(copy->Objects.Count(), 1);
    const TSOObject &read = *copy->Objects[0];
    EXPECT_EQ(read.Directions[1], copy->Direction(2));
    EXPECT_EQ(copy->Direction(2)->SOObject, &read);
    ASSERT_EQ(read.Phases.Count(), 2);
    EXPECT_EQ(read.Phases[1]->Entries[1]->Trigger, copy->Triggers[0]);
    EXPECT_EQ(read.Phases[1]->Entries[1]->Priority, 3);
    EXPECT_EQ(read.Phases[1]->Entries[1]->State, 2);
    EXPECT_EQ(read.SpecialPhases.Count(), 3);
    ExpectStableRoundTrip();
}

TEST_F(ObjectDocumentTest, CoordinatedCycleStoresStartSecondsAndReadsDurationsBack)
{
    TCycle *cycle = object_->NewCycle();
    cycle->Coordinated = true;
    cycle->Offset = -5;
    TCycleItem *first = cycle->AddStep();
    first->Phase = p1_;
    first->Duration = 20;
    TCycleItem *second = cycle->AddStep();
    second->Phase = object_->FindPhase(14);
    second->Duration = 30;
    second->Trigger = trigger_;
    TCycle *plain = object_->NewCycle();
    plain->Offset = 7;
    plain->AddStep()->Duration = 25;

    const Json v = Write();
    EXPECT_EQ(json::RenderCompact(v["sos"][0]["cycles"]),
              R"([{"n":"Цикл 1","i":1,"T":50,"offset":-5,"m":[[1,45,0,0,0,0],[14,15,0,0,0,1]]},)"
              R"({"n":"Цикл 2","i":2,"T":0,"offset":7,"m":[[0,25,0,0,0,0]]}])");
    EXPECT_EQ(first->Start, 45);
    EXPECT_EQ(second->Start, 15);

    const auto copy = ReadMember(v);
    const TCycle &read = *copy->Objects[0]->Cycles[0];
    EXPECT_TRUE(read.Coordinated);
    EXPECT_EQ(read.Offset, -5);
    ASSERT_EQ(read.Steps.Count(), 2);
    EXPECT_EQ(read.Steps[0]->Duration, 20);
    EXPECT_EQ(read.Steps[1]->Duration, 30);
    EXPECT_EQ(read.Steps[1]->Phase, copy->Objects[0]->FindPhase(14));
    EXPECT_EQ(read.Steps[1]->Trigger, copy->Triggers[0]);
    EXPECT_FALSE(copy->Objects[0]->Cycles[1]->Coordinated);
    EXPECT_EQ(copy->Objects[0]->Cycles[1]->Steps[0]->Duration, 25);
    ExpectStableRoundTrip();
}

TEST_F(ObjectDocumentTest, PlansAndTheEntryPoint)
{
    TCycle *cycle = object_->NewCycle();
    TDayPlan *day = object_->NewDayPlan();
    TDayPlanItem *morning = day->Items.Append(std::make_unique<TDayPlanItem>());
    morning->Minutes = 7 * 60 + 30;
    *static_cast<TPlanTarget *>(morning) = {cycle, kRefCycle};
    TDayPlanItem *dusk = day->Items.Append(std::make_unique<TDayPlanItem>());
    dusk->SwitchKind = TDayPlanItem::kAtSunset;
    dusk->Angle = -6;
    *static_cast<TPlanTarget *>(dusk) = {object_->FindPhase(14), kRefPhase};
    day->Items.Append(std::make_unique<TDayPlanItem>()); // no target
    TWeekPlan *week = object_->NewWeekPlan();
    TWeekPlanItem *sunday = week->AddItem();
    sunday->Day = 6;
    *static_cast<TPlanTarget *>(sunday) = {day, kRefDayPlan};
    object_->NewYearPlan();
    TYearPlan *year = object_->NewYearPlan();
    TYearPlanItem *leap = year->Items.Append(std::make_unique<TYearPlanItem>());
    leap->Month = 2;
    leap->Day = 29;
    *static_cast<TPlanTarget *>(leap) = {week, kRefWeekPlan};
    object_->SetEntry(kRefYearPlan, year);

    const Json v = Write();
    const Json &so = v["sos"][0];
    EXPECT_EQ(json::RenderCompact(so["day_plans"]),
              R"([{"n":"Сут. план 1","i":1,"m":[[7,30,"cycle",1],[-2,-6,"phase",14],[0,0,""]]}])");
    EXPECT_EQ(json::RenderCompact(so["week_plans"]), R"([{"n":"Нед. план 1","i":1,"m":[[7,"day",1]]}])");
    EXPECT_EQ(json::RenderCompact(so["year_plans"][1]), R"({"n":"Год. план 2","i":2,"m":[[2,29,"week",1]]})");
    EXPECT_EQ(json::RenderCompact(so["enter"]), R"(["year",2])");

    const auto copy = ReadMember(v);
    const TSOObject &read = *copy->Objects[0];
    const TDayPlan &readDay = *read.DayPlans[0];
    EXPECT_EQ(readDay.Items[0]->Minutes, 7 * 60 + 30);
    EXPECT_EQ(readDay.Items[0]->Target, read.Cycles[0]);
    EXPECT_EQ(readDay.Items[1]->SwitchKind, TDayPlanItem::kAtSunset);
    EXPECT_EQ(readDay.Items[1]->Angle, -6);
    EXPECT_EQ(readDay.Items[1]->Target, read.FindPhase(14));
    EXPECT_EQ(readDay.Items[2]->Target, nullptr);
    EXPECT_EQ(read.WeekPlans[0]->Items[0]->Day, 6); // Sunday
    EXPECT_EQ(read.WeekPlans[0]->Items[0]->Target, read.DayPlans[0]);
    EXPECT_EQ(read.YearPlans[1]->Items[0]->Month, 2);
    EXPECT_EQ(read.YearPlans[1]->Items[0]->Day, 29);
    EXPECT_EQ(read.EntryKind, kRefYearPlan);
    EXPECT_EQ(read.Entry, read.YearPlans[1]);
    ExpectStableRoundTrip();
}

TEST_F(ConfigDocumentTest, MissingRootMemberLeavesTheConfigurationUntouched)
{
    config_.AddGroup(GroupKind::Transport);
    config_.Name = "Прежняя";
    for (const char *text : {R"({"navet":{}})", R"({"vantor5":[]})", R"({"vantor5":5})", "[]", "7"}) {
        std::string error;
        EXPECT_FALSE(LoadConfigJson(config_, *json::Parse(text), &error)) << text;
        EXPECT_EQ(error, "Некорректная конфигурация");
    }
    EXPECT_EQ(config_.Groups.Count(), 1);
    EXPECT_EQ(config_.Name, "Прежняя");
    EXPECT_FALSE(VantorModelText(*json::Parse(R"({"navet":{}})")));
    EXPECT_EQ(*VantorModelText(*json::Parse(R"({"vantor5": {"n" : "x"}})")), R"({"n":"x"})");
}

TEST_F(ConfigDocumentTest, ReadingReplacesTheWholeConfiguration)
{
    config_.AddGroup(GroupKind::Transport);
    config_.AddBlock(*FindModelById(16));
    config_.NewObject();
    config_.Name = "Прежняя";
    config_.TMinG = 30;
    config_.Scheme = {"<svg/>"};
    std::string error;
    // No "ver", no "date": read like any other document.
    ASSERT_TRUE(LoadConfigJson(config_, *json::Parse(R"({"vantor5":{"n":"Новая"}})"), &error));
    EXPECT_EQ(config_.Name, "Новая");
    EXPECT_TRUE(config_.Groups.Empty());
    EXPECT_TRUE(config_.Blocks.Empty());
    EXPECT_TRUE(config_.Objects.Empty());
    EXPECT_EQ(config_.TMinG, 15);
    EXPECT_TRUE(config_.Scheme.empty());
    EXPECT_EQ(config_.Conflicts.Size(), 0);
}

TEST_F(ConfigDocumentTest, UnknownBlockModelsAreDroppedWithTheirWiring)
{
    const auto document = json::Parse(R"({"vantor5":{
        "outs_controls":[{"red":true,"i_on":0.1}],
        "blocks":[{"i":1,"m":99,"outs":[[1,5,1,1]]},{"n":"Шкаф","i":3,"m":98},{"i":2,"outs":[[1,7,-1,-1],[5,8,0,0]]}],
        "connects":[{"con":[[1,1],[1,2],[1,3]]},{"con":[[2,1],[],[2,9]]}],
        "sig_group_types":[{"type":1}],
        "sig_groups":[{"ti":1,"semaphores":[1,2]}],
        "semaphores":[{"con":1},{"con":2}]}})");
    ASSERT_TRUE(document);
    auto copy = std::make_unique<TVantorConfig>();
    std::vector<std::string> warnings;
    ASSERT_TRUE(LoadConfigJson(*copy, *document, nullptr, &warnings));
    EXPECT_EQ(warnings,
              (std::vector<std::string>{
                  "Блок (идентификатор 1): модель блока 99 не установлена, блок и его подключения пропущены.",
                  "Блок «Шкаф» (идентификатор 3): модель блока 98 не установлена, блок и его подключения "
                  "пропущены."}));
    ASSERT_EQ(copy->Blocks.Count(), 1);
    const TController &block = *copy->Blocks[0];
    EXPECT_EQ(block.ID, 2);
    EXPECT_EQ(block.ModelID, 16); // a block without "m" is model 16
    EXPECT_TRUE(block.Output(0)->ModelOutput->RedControl);
    EXPECT_EQ(block.Output(0)->ModelOutput->IOn, 0.1);
    EXPECT_EQ(block.Output(0)->ModelOutput->Power, 7);
    EXPECT_FALSE(block.Output(1)->ModelOutput->RedControl); // control 5 does not exist
    EXPECT_EQ(block.Output(1)->ModelOutput->Power, 8);
    const TTrendGroup &group = *copy->Groups[0];
    EXPECT_FALSE(group.Heads[0]->HasAnyOutput()); // wired to the dropped block
    EXPECT_EQ(group.Heads[1]->Output(kLampRed), block.Output(0));
    EXPECT_EQ(group.Heads[1]->Output(kLampYellow), nullptr);
    EXPECT_EQ(group.Heads[1]->Output(kLampGreen), block.Output(8));
    EXPECT_EQ(block.Output(0)->Owner, &group);
}

TEST_F(ConfigDocumentTest, ShortSigGroupsSkipTheSecondPass)
{
    const char *withAll = R"({
        "sig_group_types":[{"type":1},{"type":8}],
        "sig_groups":[{"ti":1},{"ti":2,"dirs":[1]},{"ti":1}],
        "triggers":[{}]})";
    EXPECT_EQ(ReadText(withAll)->Groups[1]->Directions.Count(), 1);

    // The second element names no definition: no group for it, so elements and groups
    // no longer pair up and the references are not read.
    const char *withGap = R"({
        "sig_group_types":[{"type":1},{"type":8}],
        "sig_groups":[{"ti":1},{"ti":0},{"ti":2,"dirs":[1,-1]},{"ti":1}],
        "triggers":[{}]})";
    TVantorConfig gapConfig;
    std::vector<std::string> warnings;
    ASSERT_TRUE(LoadConfigJson(gapConfig, Json{{"vantor5", *json::Parse(withGap)}}, nullptr, &warnings));
    EXPECT_EQ(warnings,
              std::vector<std::string>{"Сигнальная группа №2: её тип не описан в \"sig_group_types\", "
                                       "группа пропущена."});
    const TVantorConfig *copy = &gapConfig;
    ASSERT_EQ(copy->Groups.Count(), 3);
    EXPECT_EQ(copy->Groups[1]->Kind(), GroupKind::ISS);
    EXPECT_TRUE(copy->Groups[1]->Directions.Empty());
    EXPECT_TRUE(copy->Groups[1]->Triggers.Empty());
    for (const char *ti : {"-1", "3", "\"1\"", "null"}) {
        const std::string text =
            R"({"sig_group_types":[{"type":1},{"type":2}],"sig_groups":[{"ti":)" + std::string(ti) + "}]}";
        EXPECT_TRUE(ReadText(text.c_str())->Groups.Empty()) << ti;
    }
}

TEST_F(ConfigDocumentTest, DirectionEntriesOfAnotherTypeMoveOnToTheNextDirection)
{
    // "at" lists a pedestrian entry first, but the first direction is a transport one:
    // the entry waits for the pedestrian direction, so the transport keeps defaults.
    const auto copy = ReadText(R"({
        "sig_group_types":[{"type":1},{"type":2}],
        "sig_groups":[{"ti":1},{"ti":2}],
        "dirs":{"TminG":12,"at":[{"n":"Пешеходы","type":2,"prior":3},{"n":"лишний","type":1}]}})");
    EXPECT_EQ(copy->TMinG, 12);
    EXPECT_EQ(copy->TMinR, 5);
    EXPECT_EQ(copy->Direction(0)->Name, "");
    EXPECT_EQ(copy->Direction(1)->Name, "Пешеходы");
    EXPECT_EQ(copy->Direction(1)->Prior, 3);
}

// Documents written by hand or by other programs: wrong kinds of values, references
// beyond their lists and numbers beyond their fields read without failing.
TEST_F(ConfigDocumentTest, MalformedValuesNeverFailTheRead)
{
    const char *documents[] = {
        R"({"n":5,"en":"yes","geo":[],"outs_controls":{},"blocks":7,"connects":"x","sig_group_types":null,
            "semaphores":{},"promtacts":[1,{"type":1,"tacts":5},{"type":1,"tacts":[{"sec":"a","val":2},7]}],
            "dirs":[],"sig_groups":"x","triggers":{},"sos":"none"})",
        R"({"geo":{"tz":"x","tzname":5,"lat":"n","day_bright":1e300,"night_bright":-1e300,"scheme":7},
            "blocks":[null,{"m":"16"},{"m":16.9,"outs":[null,[],["a"],[1e30,"p",true]]}],
            "connects":[5,{"con":[[1e20,-1e20],[1],"x"]}],
            "sig_group_types":[5,{"type":"2"},{"type":1e100}],
            "sig_groups":[{"ti":1.5,"semaphores":5,"conns_alarm_count":"x","n":[]},{"ti":3,"semaphores":[1,2,3]},
                          {"ti":2,"dirs":[1e30,-1e30,0,"a",null]}],
            "semaphores":[5,{"con":1e99},{"con":2}],
            "dirs":{"TminG":-5,"at":[null,5,{"G2R":1e10,"R2G":-3,"conflicts":[5,[1],[10,1e10,3],[10,0,1],[300,2,1]]}]},
            "triggers":[null,{"log":999,"res":{"src":99,"args":[1e40,"a"]},"args":[5,["a",null,1e50]]}],
            "sos":[null,{"en":0,"dirs":[1,1,99,-1,"a"],"phases":[5,{"i":"x","m":[5,[9,"a"],null]}],
                   "cycles":[{"T":1e10,"m":[5,[999,70000],[1,-70000]]},{"T":-1,"m":[[null]]}],
                   "day_plans":[{"i":1e9,"m":[[99,99,"CYCLE",1],[-1],5,[-3,"x","phase",1e9]]}],
                   "week_plans":[{"m":[[0,"day",1],[9],[1],[2],[3],[4],[5],[6],[7],[1]]}],
                   "year_plans":[{"m":[[2,30,"phase",1],[13,1],[1,1,"year",1]]}],
                   "enter":["PHASE"]},
                  {"dirs":[1],"enter":[5,"x"]}]})",
        // Numbers at the ends of their ranges, where arithmetic on them could overflow.
        R"({"promtacts":[{"type":1,"tacts":[{"sec":-2147483648,"val":2},{"sec":2147483647,"val":5}]}],
            "sig_group_types":[{"type":8},{"type":1}],
            "sig_groups":[{"ti":1,"dirs":[-9223372036854775808,9223372036854775807,-1]},{"ti":2}],
            "connects":[{"con":[[1,-2147483648],[-2147483648,1],[1,2147483647]]}],
            "dirs":{"at":[{"G2R":1,"conflicts":[[10,-2147483648,-2147483648],[10,2147483647,1]]}]},
            "triggers":[{}],
            "sos":[{"dirs":[1],"phases":[{"i":2147483647},{"i":-2147483648},{}],"cycles":[{"i":2147483647},{},
                   {"T":65535,"offset":-2147483648,"m":[[1,-2147483648],[1,2147483647]]}],
                   "day_plans":[{"i":255},{}],"week_plans":[{"i":255},{}],"year_plans":[{"i":255},{}]}]})",
    };
    for (const char *text : documents) {
        SCOPED_TRACE(text);
        const auto parsed = json::Parse(text);
        ASSERT_TRUE(parsed) << text;
        const auto copy = ReadMember(*parsed);
        // Whatever was read can be written and read again without loss.
        const std::string written = json::RenderCompact(Write(*copy));
        const auto again = ReadMember(*json::Parse(written));
        EXPECT_EQ(json::RenderCompact(Write(*again)), written);
    }

    const auto copy = ReadMember(*json::Parse(documents[1]));
    EXPECT_EQ(copy->DayBrightness, 2147483647); // brought into the field's range
    EXPECT_EQ(copy->TMinG, -5);
    ASSERT_EQ(copy->Objects.Count(), 3);
    const TSOObject &object = *copy->Objects[1];
    EXPECT_FALSE(object.Enabled);
    EXPECT_EQ(object.Directions.Count(), 1);            // direction 1 once; 99, -1 and "a" do not exist
    EXPECT_EQ(copy->Objects[2]->Directions.Count(), 0); // direction 1 already belongs to another
    ASSERT_EQ(object.WeekPlans[0]->Items.Count(), 7);
    EXPECT_EQ(object.YearPlans[0]->Items[0]->Month, 1);        // 30 February stays 1 January
    EXPECT_EQ(object.YearPlans[0]->Items[2]->Target, nullptr); // year plans cannot name year plans
    EXPECT_EQ(object.EntryKind, kRefNone);
    EXPECT_EQ(object.Cycles[0]->Steps.Count(), 2);
    EXPECT_EQ(copy->Triggers[1]->Log, 255);
}

} // namespace
