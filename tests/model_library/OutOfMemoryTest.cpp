// Allocations of the model: memory running out while a configuration loads (every
// allocation of the load is made to fail in turn), and none at all while stepping.
#include "AllocationHook.h"
#include "ModelTestSupport.h"

#include "model_library/ModelStatus.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vantor::model;
using vantor::model::test::AllocationHook;

namespace {

TEST(ModelOutOfMemory, EveryFailingAllocationGivesStatusMinus10)
{
    const std::string text = test::Compact(test::ReadTestData("crossroad.json"));
    const std::string complete = [&] {
        EXPECT_EQ(Open(text.data(), text.data() + text.size()), kStatusOk);
        return test::DumpConfig(*CurrentModel());
    }();

    std::size_t failures = 0;
    for (std::size_t after = 0;; ++after) {
        Close(); // outside the armed window: closing frees, never allocates
        AllocationHook::FailAfter(after);
        const std::int32_t status = Open(text.data(), text.data() + text.size());
        const bool failed = AllocationHook::Failed();
        AllocationHook::Disarm();
        if (!failed) {
            // Past the last allocation: the load completes as usual.
            EXPECT_EQ(status, kStatusOk);
            EXPECT_EQ(test::DumpConfig(*CurrentModel()), complete);
            break;
        }
        ++failures;
        EXPECT_EQ(status, kStatusOutOfMemory) << "allocation " << after;
        if (after == 0) {
            EXPECT_EQ(CurrentModel(), nullptr); // not even the model could be made
            EXPECT_EQ(Close(), kStatusNoModel);
        } else {
            ASSERT_NE(CurrentModel(), nullptr) << "allocation " << after;
            EXPECT_EQ(CurrentModel()->status, kStatusOutOfMemory) << "allocation " << after;
        }
    }
    EXPECT_GT(failures, 50u); // the realistic configuration needs many allocations
    EXPECT_EQ(Close(), kStatusOk);
}

} // namespace

namespace {

TEST(ModelStepping, AllocatesNothing)
{
    const std::string text = test::Compact(test::ReadTestData("crossroad.json"));
    const std::size_t beforeOpen = AllocationHook::Count();
    ASSERT_EQ(Open(text.data(), text.data() + text.size()), kStatusOk);
    ASSERT_GT(AllocationHook::Count(), beforeOpen); // the hook sees the model's allocations
    const ModelClass &model = *CurrentModel();

    std::vector<std::uint8_t> trig(model.triggers.size()), states(16), perObject(model.sos.Count());
    std::vector<std::uint8_t> dirs(model.dirs.Count());
    std::vector<std::vector<std::uint8_t>> groups(model.sigGroups.size(), std::vector<std::uint8_t>(8));
    std::vector<std::uint8_t *> groupBuffers;
    for (auto &group : groups)
        groupBuffers.push_back(group.data());
    std::uint8_t phase = 0;
    const std::int32_t requests[] = {0, 1, 2, 0, -1, -2, -3, 0};

    const std::size_t before = AllocationHook::Count();
    int failures = 0;
    for (std::uint32_t second = 0; second < 3000; ++second) {
        for (std::size_t i = 0; i < trig.size(); ++i)
            trig[i] = static_cast<std::uint8_t>((second >> i) & 1);
        const auto object = static_cast<std::int32_t>(second / 7 % model.sos.Count());
        failures += Next(object, requests[second / 50 % 8], trig.data(), &phase, states.data()) != kStatusOk;
        failures +=
            NextAll(second * 37, trig.data(), perObject.data(), perObject.data(), perObject.data(),
                    perObject.data(), perObject.data(), dirs.data(), groupBuffers.data()) != kStatusOk;
    }
    const std::size_t allocations = AllocationHook::Count() - before;
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(allocations, 0u);
    EXPECT_EQ(Close(), kStatusOk);
}

} // namespace
