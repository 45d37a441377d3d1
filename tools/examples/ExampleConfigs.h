#pragma once
// Configurations built in code: the example intersection shipped in examples/ and a
// large generated configuration for round-trip tests and benchmarks.

#include <QDate>

namespace vantor {

class TVantorConfig;
class TVantorModel;

// The date the example documents carry, so that regenerating them gives the same bytes.
inline const QDate kExampleDate(2025, 9, 1);

// The intersection of Lenina street and Mira avenue: transport, arrow, pedestrian and
// tram groups and an information section, two blocks of the shipped plug-ins (models
// 16 and 17, looked up in the registry) with every head wired, conflicts with
// clearance times, two triggers and one traffic-light object with four phases, a
// step-driven and a coordinated cycle, day, week and year plans and an entry point.
// Throws std::runtime_error when a block model is not registered.
void BuildCrossroad(TVantorConfig &config);

// A large configuration: 64 signal groups, 8 blocks of `blockModel` (32 outputs
// expected) with the heads wired, 16 triggers, 8 traffic-light objects of 8
// directions with 32 phases, 16 cycles and day, week and year plans each.
void BuildLargeConfig(TVantorConfig &config, const TVantorModel &blockModel);

} // namespace vantor
