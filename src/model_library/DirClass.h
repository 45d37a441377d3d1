#pragma once
// A direction (traffic stream): its configuration, its conflicts and the run-time
// fields of its one-second state machine (VantorDirsClass runs it).

#include "PromtactClass.h"

#include <cstdint>
#include <vector>

namespace vantor::model {

struct Conflict {
    // 0 and 1..4: no effect; 5..9: soft (green shows as 3 while the other is active);
    // 10 and above: hard (green may not start while the other is active).
    std::uint8_t kind = 0;
    std::uint8_t dir = 0;  // 1-based direction number; 0 or beyond the list: ignored
    std::int16_t time = 0; // clearance: red seconds the other direction must have shown
};

// Signal states the state machine itself produces.
enum SignalState : std::uint8_t {
    kStateNone = 0,
    kStateRed = 1,
    kStateGreen = 2,
    kStateGreenConflict = 3,
    kStateAllRed = 253,
    kStateYellowFlashing = 254,
    kStateOff = 255,
};

// Stages of the state machine.
enum DirStage : std::uint8_t {
    kStageSpecial = 0, // special state, or the initial state before the first step
    kStageRed = 1,
    kStageGreenToRed = 2,
    kStageGreen = 3,
    kStageRedToGreen = 4,
};

// Bits of DirClass::events: what happened to a direction in the last step. Trigger
// reset rules and the special-command readiness walk test them.
enum DirEvent : std::uint16_t {
    kEvSpecial = 0x0001,        // shows a special state it was commanded to
    kEvGreenToRed = 0x0002,     // a green-to-red transition runs or starts
    kEvRedBegins = 0x0004,      // red begins (without transition, or a G2R transition ended)
    kEvRed = 0x0008,            // red, or special all-red
    kEvRedAtMin = 0x0010,       // red time equals TminR exactly
    kEvRedMinReached = 0x0020,  // red time has reached TminR
    kEvLeavesRed = 0x0040,      // green starts, or red is left for a special state
    kEvNotRed = 0x0080,         // a transition runs, or green
    kEvRedToGreen = 0x0100,     // a red-to-green transition runs or starts
    kEvGreenEntered = 0x0200,   // green was entered
    kEvGreen = 0x0400,          // green
    kEvGreenAtDur = 0x0800,     // green time equals gdur exactly and green continues
    kEvGreenBeyondDur = 0x1000, // green continues beyond gdur
    kEvGreenEnds = 0x2000,      // green ends
};

class DirClass {
public:
    // Configuration (times in seconds).
    std::uint16_t TminG = 10; // minimum green
    std::uint16_t TminR = 5;  // minimum red
    std::uint16_t Takk = 4;   // extension (clearance) time
    std::uint8_t prior = 0;   // priority
    const PromtactClass *R2G = nullptr;
    const PromtactClass *G2R = nullptr;
    std::vector<Conflict> conflicts; // at most 255

    // Run time. cmd, gdur, ext, mode, trig, prio and restart are written by the
    // direction's signal object before the direction passes of a step.
    std::uint8_t cmd = kStateOff;     // commanded state
    std::uint8_t prevcmd = kStateOff; // cmd at the end of the previous step
    std::uint8_t target = kStateOff;  // state the direction is heading for
    std::uint8_t state = kStateOff;   // state shown
    std::uint8_t stage = kStageSpecial;
    std::int32_t timer = 0;    // seconds since the stage began; negative: transition seconds to go
    std::int32_t gdur = 0;     // green time
    std::int32_t greenEnd = 0; // timer value at which green ends in the time-limited modes
    std::uint16_t ext = 0;     // extension time
    std::uint8_t mode = 0;     // green control mode 0..8
    std::uint8_t trig = 0;     // 1-based trigger number of the mode, 0 none
    std::uint8_t prio = 0;     // current priority (prior after loading)
    bool restart = false;      // the signal object's phase changed
    bool done = false;         // state settled in this step
    std::uint16_t events = 0;  // DirEvent bits of the last step
};

} // namespace vantor::model
