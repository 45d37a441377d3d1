#pragma once
// Generates large compact "vantor5" configuration texts for the model benchmarks.

#include <string>

namespace vantor::bench {

struct ModelConfigShape {
    int directions = 8;
    bool fullConflicts = true; // every direction conflicts with every other one
    int promtacts = 2;
    int triggers = 4;
    int objects = 1;
    int directionsPerObject = 8; // objects take consecutive directions, wrapping around
    int phases = 4;
    int cycles = 2;
    int stepsPerCycle = 4;
};

// The compact text of a configuration of that shape, written like the configurator
// writes it (names, types, geo and other members the model skips included). Odd
// directions conflict hard, even ones softly; cycles alternate fixed-time and
// step-driven; every object enters through a year plan that reaches a cycle through
// a week plan and a day plan.
std::string GenerateModelConfig(const ModelConfigShape &shape);

// 255 directions each with 254 conflicts, 255 transition programs, 32 objects with 64
// phases and 64 cycles each.
ModelConfigShape MaximalShape();

} // namespace vantor::bench
