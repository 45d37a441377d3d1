// Wiring block outputs to the lamps of signal heads: owners, the clean-up that keeps
// one output within one group, monitoring defaults, wiring a whole head, and head
// and alarm counts.
#include "controller/VantorConfig.h"

#include "TestModels.h"

#include <gtest/gtest.h>

using namespace vantor;

namespace {

class WiringTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        a_ = config_.AddGroup(GroupKind::Transport);
        b_ = config_.AddGroup(GroupKind::Transport);
        config_.SetHeadCount(a_, 2);
        block_ = config_.AddBlock(*test::MakeModel(16, 6));
    }
    TControllerOutput *Out(int index) const { return block_->Output(index); }

    TVantorConfig config_;
    TTrendGroup *a_ = nullptr;
    TTrendGroup *b_ = nullptr;
    TController *block_ = nullptr;
};

TEST_F(WiringTest, OneOutputFeedsHeadsOfOneGroupOnly)
{
    config_.Wire(a_->Heads[0], kLampRed, Out(0));
    config_.Wire(a_->Heads[1], kLampRed, Out(0));
    EXPECT_EQ(a_->Heads[0]->Output(kLampRed), Out(0));
    EXPECT_EQ(a_->Heads[1]->Output(kLampRed), Out(0));
    EXPECT_EQ(Out(0)->Owner, a_);
    EXPECT_EQ(config_.OutputUseCount(Out(0)), 2);

    // Moving it to another group takes it away from the first group's heads.
    config_.Wire(b_->Heads[0], kLampRed, Out(0));
    EXPECT_EQ(Out(0)->Owner, b_);
    EXPECT_EQ(a_->Heads[0]->Output(kLampRed), nullptr);
    EXPECT_EQ(a_->Heads[1]->Output(kLampRed), nullptr);
    EXPECT_EQ(config_.OutputUseCount(Out(0)), 1);
}

TEST_F(WiringTest, OutputsNoLongerUsedLoseTheirOwner)
{
    config_.Wire(a_->Heads[0], kLampGreen, Out(2));
    config_.Wire(a_->Heads[0], kLampGreen, Out(5)); // rewiring the lamp
    EXPECT_EQ(Out(2)->Owner, nullptr);
    EXPECT_EQ(Out(5)->Owner, a_);

    config_.UnwireLamp(a_->Heads[0], kLampGreen); // the only reference
    EXPECT_EQ(Out(5)->Owner, nullptr);

    config_.Wire(a_->Heads[0], kLampRed, Out(1));
    config_.Wire(a_->Heads[1], kLampRed, Out(1));
    config_.UnwireOutput(Out(1));
    EXPECT_EQ(a_->Heads[0]->Output(kLampRed), nullptr);
    EXPECT_EQ(a_->Heads[1]->Output(kLampRed), nullptr);
    EXPECT_EQ(Out(1)->Owner, nullptr);
    EXPECT_EQ(config_.OutputUseCount(Out(1)), 0);

    // Heads removed from the end take their wiring with them.
    config_.Wire(a_->Heads[1], kLampYellow, Out(3));
    config_.SetHeadCount(a_, 1);
    EXPECT_EQ(Out(3)->Owner, nullptr);
}

TEST_F(WiringTest, WiringALampThatTheHeadDoesNotHaveChangesNothing)
{
    config_.Wire(a_->Heads[0], kLampTramLeft, Out(0));
    EXPECT_EQ(Out(0)->Owner, nullptr);
    EXPECT_EQ(a_->Heads[0]->Output(kLampTramLeft), nullptr);
}

// Monitoring flags after wiring: red lamps red monitoring alone, green and tram lamps
// green monitoring alone, where the group's type allows it; the yellow lamp keeps them.
TEST(WiringDefaults, MonitoringFollowsTheLampAndTheGroupType)
{
    struct Case {
        GroupKind kind;
        int lamp;
        bool red;
        bool green;
    };
    const Case cases[] = {
        {GroupKind::Transport, kLampRed, true, false},     {GroupKind::Transport, kLampGreen, false, true},
        {GroupKind::Transport, kLampYellow, true, true}, // unchanged from the preset
        {GroupKind::Arrow, kLampRed, true, false},         {GroupKind::Reverse3, kLampRed, true, false},
        {GroupKind::Walkman, kLampRed, false, false}, // pedestrian: green monitoring only
        {GroupKind::Walkman, kLampGreen, false, true},     {GroupKind::Tram, kLampTramLower, false, false},
        {GroupKind::Tram, kLampTramStraight, false, true}, {GroupKind::ISS, kLampGreen, false, false},
        {GroupKind::TableGo, kLampGreen, false, false},    {GroupKind::LedLight, kLampGreen, false, false},
    };
    for (const Case &c : cases) {
        TVantorConfig config;
        TTrendGroup *group = config.AddGroup(c.kind);
        TControllerOutput *output = config.AddBlock(*test::MakeModel(16, 3))->Output(0);
        output->ModelOutput->RedControl = true;
        output->ModelOutput->GreenControl = true;
        config.Wire(group->Heads[0], c.lamp, output);
        SCOPED_TRACE(std::string(group->KindName()) + " lamp " + std::to_string(c.lamp));
        EXPECT_EQ(output->Owner, group);
        EXPECT_EQ(output->ModelOutput->RedControl, c.red);
        EXPECT_EQ(output->ModelOutput->GreenControl, c.green);
    }
}

TEST_F(WiringTest, AHeadIsWiredToConsecutiveFreeOutputsOnly)
{
    // Outputs 4 and 5 are the last two: a three-lamp head does not fit.
    EXPECT_FALSE(config_.WireHead(a_->Heads[0], Out(4)));
    EXPECT_FALSE(a_->Heads[0]->HasAnyOutput());
    EXPECT_EQ(Out(4)->Owner, nullptr);

    config_.Wire(b_->Heads[0], kLampRed, Out(2));
    EXPECT_FALSE(config_.WireHead(a_->Heads[0], Out(0))); // output 2 is taken
    EXPECT_FALSE(a_->Heads[0]->HasAnyOutput());

    ASSERT_TRUE(config_.WireHead(a_->Heads[0], Out(3)));
    EXPECT_EQ(a_->Heads[0]->Output(kLampRed), Out(3));
    EXPECT_EQ(a_->Heads[0]->Output(kLampYellow), Out(4));
    EXPECT_EQ(a_->Heads[0]->Output(kLampGreen), Out(5));
    EXPECT_TRUE(Out(3)->ModelOutput->RedControl);
    EXPECT_TRUE(Out(5)->ModelOutput->GreenControl);
    for (int i = 3; i < 6; ++i)
        EXPECT_EQ(Out(i)->Owner, a_);
}

TEST(HeadCounts, AlarmCountFollowsTheEditorsRules)
{
    struct Case {
        int heads;
        int alarm;
        int newHeads;
        int expectedAlarm;
    };
    const Case cases[] = {
        {4, 3, 2, 1},               // was at least the new count: count - 1
        {4, 1, 3, 0},               // below the new count: one less
        {3, 0, 2, 0},               // not below 0
        {2, 1, 0, 0}, {2, 1, 5, 1}, // growing changes nothing
    };
    for (const Case &c : cases) {
        TVantorConfig config;
        TTrendGroup *group = config.AddGroup(GroupKind::Transport);
        config.SetHeadCount(group, c.heads);
        group->AlarmCount = c.alarm;
        config.ChangeHeadCount(group, c.newHeads);
        EXPECT_EQ(group->HeadCount(), c.newHeads);
        EXPECT_EQ(group->AlarmCount, c.expectedAlarm) << c.heads << " " << c.alarm << " " << c.newHeads;
    }

    TVantorConfig config;
    TTrendGroup *group = config.AddGroup(GroupKind::Walkman);
    config.SetHeadCount(group, 3);
    TVantorConfig::ChangeAlarmCount(group, 2);
    EXPECT_EQ(group->AlarmCount, 2);
    TVantorConfig::ChangeAlarmCount(group, 3);
    EXPECT_EQ(group->AlarmCount, 2);
    config.SetHeadCount(group, 0);
    TVantorConfig::ChangeAlarmCount(group, 1);
    EXPECT_EQ(group->AlarmCount, 0);
}

} // namespace
