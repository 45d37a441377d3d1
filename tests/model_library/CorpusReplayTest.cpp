// Replays the fuzzer's seed corpus through open (and the checks the fuzzer makes), so
// every test run covers it; sanitizer builds catch any read past a buffer.
#include "fuzz/ExerciseModel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

TEST(ModelCorpusReplay, EverySeedLoadsConsistently)
{
    std::size_t replayed = 0;
    for (const auto &entry : std::filesystem::directory_iterator(VANTOR_MODEL_FUZZ_CORPUS)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        const std::string bytes = text.str();
        // An exact-size copy, so nothing beyond the text is readable without a report.
        auto copy = std::make_unique<char[]>(bytes.size());
        std::copy(bytes.begin(), bytes.end(), copy.get());
        EXPECT_EQ(vantor::model::fuzz::ExerciseModel(copy.get(), bytes.size()), "") << entry.path();
        ++replayed;
    }
    EXPECT_GE(replayed, 10u) << "seed corpus missing from " << VANTOR_MODEL_FUZZ_CORPUS;
}

} // namespace
