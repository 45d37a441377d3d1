#pragma once
// The fixed tables behind directions and signal groups: the sixteen direction types
// (which kind creates them, whether they count as directions, which lamps their heads
// have, which timing slots they use) and the thirteen signal-group kinds.

#include <cstdint>

namespace vantor {

inline constexpr int kTrendTypeCount = 16;
inline constexpr int kTimingSlotCount = 12;
inline constexpr int kLampPositionCount = 7;

// Lamp positions of a signal head.
enum LampPos : int {
    kLampRed = 0,
    kLampYellow = 1,
    kLampGreen = 2,
    kLampTramLeft = 3, // upper tram lamps: left, straight, right
    kLampTramStraight = 4,
    kLampTramRight = 5,
    kLampTramLower = 6,
};

// Signal states shown by a direction (transition programs, group templates).
enum SignalState : int {
    kStateNone = 0,
    kStateRed = 1,
    kStateGreen = 2,
    kStateGreenConflict = 3,
    kStateGreenFlashing = 4,
    kStateYellow = 5,
    kStateRedYellow = 6,
    kStateOff = -1,
    kStateYellowFlashing = -2,
    kStateAllRed = -3,
};

// Timing slots that carry transition steps (seconds, 0..255).
enum TimingSlot : int {
    kSlotLateGreen = 1,     // "ПЗ", green to red
    kSlotGreenFlashing = 2, // "ЗМ", green to red
    kSlotYellow = 3,        // "Ж", green to red
    kSlotEarlyRed = 4,      // "РК", green to red
    kSlotLateRed = 6,       // "ПК", red to green
    kSlotRedYellow = 7,     // "КЖ", red to green
    kSlotEarlyGreen = 8,    // "РЗ", red to green
};

enum class GroupKind : std::uint8_t {
    Transport,
    Walkman,
    WalkmanGB,
    Arrow,
    ArrowGB,
    Tram,
    Call,
    Reverse2,
    Reverse3,
    LedLight,
    ISS,
    TableWait,
    TableGo,
};
inline constexpr int kGroupKindCount = 13;

struct TrendTypeInfo {
    const char *suffix;       // of default names, e.g. "Т"; type 4 begins with a Latin T
    GroupKind kind;           // the kind that creates directions of this type
    bool isDirection;         // counts in direction numbering, the matrix and the file
    std::uint8_t lamps;       // bit per lamp position of its heads
    std::uint16_t validSlots; // bit per valid timing slot
};

struct GroupKindInfo {
    const char *className;    // "TTransport" ...
    const char *kindName;     // KindName, e.g. "Транспортная"
    std::uint16_t trendTypes; // TrendTypes: bit per direction type created
    int tag;                  // KindTag, the add-group menu item's tag
    int ordinal;              // KindOrdinal, 0..12
    int sigGroupType;         // SigGroupType 0..8, or -1 for kinds that have none
    int image;                // KindImage, -1 for none
};

// Type 0..15; any other value reads as type 8, which no kind in use creates.
const TrendTypeInfo &TrendType(int type);
const GroupKindInfo &KindInfo(GroupKind kind);

// Reading a slot not valid for the type yields 0 and writing it is ignored; slots
// above 15 are never valid.
bool IsSlotValid(int type, int slot);

// Signal-group types 0..8: display name and default-name suffix; "" outside.
const char *SigGroupTypeName(int sigGroupType);
const char *SigGroupTypeSuffix(int sigGroupType);

// Kinds of signal-group types 5 to 7 (information section, the two panels) have no
// directions of their own; they refer to other groups' directions and to triggers.
bool HasOwnDirections(GroupKind kind);

// The kind whose KindTag equals tag, searched over the kinds of direction types 0 to
// 15 in order; the transport kind when none matches.
GroupKind KindByTag(int tag);

// The lamp set of a head of a group with these direction types.
std::uint8_t LampSetOf(std::uint16_t trendTypes);

// Monitoring a group's signal-group type allows on its outputs.
bool AllowsRedMonitoring(int sigGroupType);
bool AllowsGreenMonitoring(int sigGroupType);

} // namespace vantor
