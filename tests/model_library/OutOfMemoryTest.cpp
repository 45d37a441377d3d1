// Memory running out while a configuration loads: every allocation of the load is
// made to fail in turn.
#include "AllocationHook.h"
#include "ModelTestSupport.h"

#include "model_library/ModelStatus.h"

#include <gtest/gtest.h>

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
