// libFuzzer target for the model library's open: any bytes as configuration text.
// Built with -DVANTOR_FUZZ=ON (clang); see the repository README.
#include "ExerciseModel.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string problem =
        vantor::model::fuzz::ExerciseModel(reinterpret_cast<const char *>(data), size);
    if (!problem.empty()) {
        std::fprintf(stderr, "model invariant broken: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
