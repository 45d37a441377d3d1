#pragma once
// The tables the configuration document stores instead of inline data: output control
// records ("outs_controls"), the connection table ("connects"), the transition
// programs ("promtacts") and the list of signal-group types ("sig_group_types").
// They are rebuilt from the model every time a document is written; objects find
// their entries by 1-based position.

#include <array>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace vantor {

class TControllerList;
class TSemaphoreObject;
class TTrend;
class TTrendGroup;
class TTrendGroupList;
class TVantorModelOutput;

// One distinct combination of an output's monitoring settings.
struct TOutputRec {
    bool Red = false;   // red monitoring
    bool Green = false; // green monitoring
    double IOff = 0;
    double IOn = 0;
    double UOff = 0;
    double UOn = 0;
    double IShort = 0;

    static TOutputRec Of(const TVantorModelOutput &output);
    // Flags and the five thresholds, compared exactly.
    bool operator==(const TOutputRec &other) const = default;
};

// A transition program: the timing slots of one kind of transition (green to red:
// slots 1-4; red to green: slots 6-8). Slots of the other kind stay unset (-1).
class TPromTact {
public:
    static constexpr std::int32_t kUnset = -1;
    TPromTact() { Slots.fill(kUnset); }

    // Made from a direction's green-to-red or red-to-green slots.
    static std::unique_ptr<TPromTact> FromDirection(const TTrend &direction, bool greenToRed);
    // The direction type of the direction it was made from (-1 for programs read
    // from a file).
    int DirectionType() const;

    const TTrend *Direction = nullptr;
    std::array<std::int32_t, 12> Slots{};
};

// A connection record of a document being read: (block ID, output index) for every
// lamp position of a head, in ascending lamp-position order.
struct TConnection {
    std::vector<std::pair<std::int32_t, std::int32_t>> Pairs; // TConRecs
};

class DerivedTables {
public:
    std::vector<TOutputRec> OutputControls;
    std::vector<const TSemaphoreObject *> Connections; // heads owned by their groups
    std::vector<std::unique_ptr<TPromTact>> Programs;
    std::vector<int> SigGroupTypes; // present signal-group types, ascending

    void Clear();

    // Every output of every block, first occurrence of each distinct record.
    void BuildOutputControls(const TControllerList &blocks);
    // 1-based position of the output's record; -1 when none.
    int FindOutputControl(const TVantorModelOutput &output) const;

    // Heads with at least one wired lamp, leaving out a head wired exactly like an
    // earlier head of the same type set.
    void BuildConnections(const TTrendGroupList &groups);
    // 1-based position of the first head with the same lamp set and the same output
    // on every lamp; 0 when none.
    int FindConnection(const TSemaphoreObject &head) const;

    // Group by group: its distinct green-to-red programs, then its distinct
    // red-to-green programs; a program equal to an earlier one is not repeated.
    void BuildPrograms(const TTrendGroupList &groups);
    // 1-based position of the direction's green-to-red (or red-to-green) program;
    // 0 when none, which is exactly when all those slots are 0.
    int FindProgram(const TTrend &direction, bool greenToRed) const;

    // The signal-group types of the groups, an arrow group counting as transport.
    void BuildSigGroupTypes(const TTrendGroupList &groups);
    // The group's "ti": 1-based position of its type in SigGroupTypes; 0 when absent.
    int FindSigGroupType(const TTrendGroup &group) const;
};

// The signal-group type a group is written with: its own, transport for an arrow.
int FileSigGroupType(const TTrendGroup &group);

} // namespace vantor
