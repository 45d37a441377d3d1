#pragma once
// What a signal object runs: phases, cycles and day, week and year plans.

#include <cstdint>
#include <vector>

namespace vantor::model {

// Reference kinds of plan entries and the entry point.
enum ProgramKind : std::uint8_t {
    kProgramNone = 0,
    kProgramPhase = 1,
    kProgramCycle = 2,
    kProgramDay = 3,
    kProgramWeek = 4,
    kProgramYear = 5,
};

// A phase's command to one direction (by position in its signal object's list).
struct PhaseEntry {
    std::uint8_t cmd = 1;   // commanded state: 1 red, 2 green
    std::uint16_t time = 0; // green time; 0: the direction's TminG
    std::uint16_t ext = 0;  // extension; 0: the direction's Takk
    std::uint8_t mode = 0;  // green control mode
    std::uint8_t trig = 0;  // 1-based trigger number, 0 none
    std::uint8_t prio = 0;  // 0: the direction's prior
};

class PhaseClass {
public:
    std::uint8_t number = 0; // "i"
    std::uint16_t Tmin = 10;
    std::uint16_t Takk = 4;
    std::vector<PhaseEntry> entries; // one per direction of the signal object
};

struct CycleStep {
    std::uint8_t phase = 0; // phase number
    std::int32_t start = 0; // fixed-time: start second mod T; step-driven: >0 length, <0 -trigger
    std::uint16_t min = 0;  // 0: the phase's Tmin
    std::uint16_t ext = 0;  // 0: the phase's Takk
    std::uint8_t kind = 0;  // step kind 0..5
    std::uint8_t trig = 0;  // 1-based trigger number
};

class CycleClass {
public:
    std::uint8_t number = 0;      // "i"
    std::int32_t T = 0;           // cycle time in seconds; 0: step-driven
    std::vector<CycleStep> steps; // at most 255
};

struct DayPlanEntry {
    std::int8_t hour = 0; // negative: entry disabled (sunrise and sunset entries)
    std::int8_t minute = 0;
    std::uint8_t mode = 0; // kProgramPhase, kProgramCycle or none
    std::uint8_t number = 0;
};

class DayPlanClass {
public:
    std::uint8_t number = 0;
    std::vector<DayPlanEntry> entries; // at most 255
};

struct WeekPlanEntry {
    std::uint8_t weekday = 0; // 1..7 from Monday; 0 disables the entry
    std::uint8_t mode = 0;    // phase, cycle, day plan or none
    std::uint8_t number = 0;
};

class WeekPlanClass {
public:
    std::uint8_t number = 0;
    std::vector<WeekPlanEntry> entries; // at most 255
};

struct YearPlanEntry {
    std::int16_t key = 0;  // (month - 1) * 32 + (day - 1); valid keys 0..383
    std::uint8_t mode = 0; // phase, cycle, day plan, week plan or none
    std::uint8_t number = 0;
};

class YearPlanClass {
public:
    std::uint8_t number = 0;
    std::vector<YearPlanEntry> entries; // at most 255
};

} // namespace vantor::model
