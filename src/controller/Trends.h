#pragma once
// Signal groups, their directions (traffic streams) and their signal heads.
//
// A signal group owns its directions (one per direction type of its kind) and its
// heads; the group list owns the groups. Directions are numbered across the whole
// configuration by walking the groups in list order (TTrendGroupList).

#include "controller/SafeLst.h"
#include "controller/TrendTypes.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vantor {

class TControllerOutput;
class TSOObject;
class TSemaphoreObject;
class TTrendGroup;
class TTrendGroupList;
class TTrigger;

// A direction: one traffic stream switched by a signal group.
class TTrend : public TVantorObject {
public:
    TTrend(TTrendGroup *group, int type);

    TTrendGroup *Group() const { return group_; }
    int Type() const { return type_; }

    // Timing slots in seconds; only the slots valid for the type can be set, the
    // others read 0.
    int Slot(int slot) const;
    void SetSlot(int slot, int value);

    bool IsDirection() const { return TrendType(type_).isDirection; }
    bool HasTiming() const { return TrendType(type_).validSlots != 0; }

    // The group's number followed by the type suffix, e.g. "3Т".
    std::string DefaultName() const;
    // The name, or the default name while the name is empty.
    std::string NameOrDefault() const;

    std::string Name;              // empty: the default name applies
    std::uint16_t TMinG = 0;       // own minimum green, s; 0: the global TminG applies
    std::uint16_t TMinR = 0;       // own minimum red, s; 0: the global TminR applies
    std::uint16_t Takk = 0;        // own clearance time, s; 0: the global Takk applies
    std::uint16_t Prior = 0;       // priority
    TSOObject *SOObject = nullptr; // the traffic-light object it belongs to

private:
    TTrendGroup *group_;
    int type_;
    std::array<std::uint8_t, kTimingSlotCount> slots_{};
};

// One lamp of a head, so that every lamp can be a node of the editor's tree.
class TSemaphoreOut : public TVantorObject {
public:
    TSemaphoreOut(TSemaphoreObject *head, int lampPos) : Head(head), LampPos(lampPos) {}
    TSemaphoreObject *Head;
    int LampPos;
};

// A signal head: the lamps of one physical signal and the block output wired to each.
class TSemaphoreObject : public TVantorObject {
public:
    TSemaphoreObject(TTrendGroup *group, std::uint16_t typeSet, int number);

    TTrendGroup *Group() const { return group_; }
    std::uint8_t LampSet() const { return lampSet_; }
    std::uint16_t TypeSet() const { return typeSet_; }
    bool HasLamp(int lampPos) const;
    int LampCount() const { return Lamps.Count(); }

    // The output wired to a lamp position (nullptr: none or no such lamp).
    TControllerOutput *Output(int lampPos) const;
    // Wires one lamp; ignored for positions the head does not have. Owners and
    // monitoring are left alone (TVantorConfig's wiring operations handle them).
    void SetOutput(int lampPos, TControllerOutput *output);
    bool HasAnyOutput() const;

    // 1-based position within the group (0 when the group does not hold it).
    int Position() const;
    // The group's name (or default name), a full stop and the position: "1Т.2".
    std::string DefaultName() const;
    std::string NameOrDefault() const;

    int Number = -1; // position within the group when it was created
    std::string Name;
    TSafeObjList<TSemaphoreOut> Lamps{true}; // one per lamp position, ascending

private:
    TTrendGroup *group_;
    std::uint16_t typeSet_;
    std::uint8_t lampSet_;
    std::array<TControllerOutput *, kLampPositionCount> outputs_{};
};

// A signal group. Concrete kinds are the classes below; create them with
// CreateTrendGroup or through TVantorConfig::AddGroup.
class TTrendGroup : public TVantorObject {
public:
    ~TTrendGroup() override;

    GroupKind Kind() const { return kind_; }
    std::uint16_t TrendTypes() const { return KindInfo(kind_).trendTypes; }
    const char *KindName() const { return KindInfo(kind_).kindName; }
    int KindTag() const { return KindInfo(kind_).tag; }
    int KindOrdinal() const { return KindInfo(kind_).ordinal; }
    int SigGroupType() const { return KindInfo(kind_).sigGroupType; } // -1: none
    int KindImage() const { return KindInfo(kind_).image; }
    bool HasOwnDirections() const { return vantor::HasOwnDirections(kind_); }

    // 1-based position in its group list (0 when not in a list).
    int Number() const;
    // The number followed by the kind's suffix: "2П".
    std::string DefaultName() const;
    std::string NameOrDefault() const;

    int HeadCount() const { return Heads.Count(); }
    // Appends new heads or frees heads from the end. Wiring owners are not touched:
    // use TVantorConfig::SetHeadCount in a configuration.
    void SetHeadCount(int count);
    // Position of a head within the group, -1 for nullptr or a foreign head.
    int HeadPosition(const TSemaphoreObject *head) const;

    // References of the kinds without own directions (not added twice).
    bool AddDirectionRef(TTrend *direction);
    bool RemoveDirectionRef(TTrend *direction);
    bool AddTriggerRef(TTrigger *trigger);
    bool RemoveTriggerRef(TTrigger *trigger);
    // How many references (directions and triggers together) the editor allows: an
    // information section two, a panel one, other kinds none.
    int MaxReferences() const;
    bool CanAddReference() const { return Directions.Count() + Triggers.Count() < MaxReferences(); }

    std::string Name;            // empty: the default name applies
    std::int32_t AlarmCount = 0; // faulty heads tolerated, kept below the head count

    // Own directions (owned), or for kinds without own directions the directions of
    // other groups they follow (not owned).
    TSafeObjList<TTrend> Directions;
    TSafeObjList<TTrigger> Triggers; // followed triggers (not owned)
    TSafeObjList<TSemaphoreObject> Heads{true};

protected:
    explicit TTrendGroup(GroupKind kind);

private:
    friend class TTrendGroupList;
    GroupKind kind_;
    const TTrendGroupList *list_ = nullptr;
};

#define VANTOR_TREND_GROUP_KIND(Class, Kind)                                                                 \
    class Class final : public TTrendGroup {                                                                 \
    public:                                                                                                  \
        Class() : TTrendGroup(GroupKind::Kind) {}                                                            \
    }
VANTOR_TREND_GROUP_KIND(TTransport, Transport);
VANTOR_TREND_GROUP_KIND(TWalkman, Walkman);
VANTOR_TREND_GROUP_KIND(TWalkmanGB, WalkmanGB);
VANTOR_TREND_GROUP_KIND(TArrow, Arrow);
VANTOR_TREND_GROUP_KIND(TArrowGB, ArrowGB);
VANTOR_TREND_GROUP_KIND(TTram, Tram);
VANTOR_TREND_GROUP_KIND(TCall, Call);
VANTOR_TREND_GROUP_KIND(TReverse2, Reverse2);
VANTOR_TREND_GROUP_KIND(TReverse3, Reverse3);
VANTOR_TREND_GROUP_KIND(TLedLight, LedLight);
VANTOR_TREND_GROUP_KIND(TISS, ISS);
VANTOR_TREND_GROUP_KIND(TTableWait, TableWait);
VANTOR_TREND_GROUP_KIND(TTableGo, TableGo);
#undef VANTOR_TREND_GROUP_KIND

std::unique_ptr<TTrendGroup> CreateTrendGroup(GroupKind kind);

// The configuration's signal groups, and direction numbering across them.
//
// The direction index walks the groups in order, skips groups without own
// directions and counts, within a group, the directions that are directions (the
// tram stop lamp type is not). The tram variant counts a tram group once: every
// direction of the group gets the number of its first direction. The variant gives
// the numbers the editor shows; files use the plain index.
class TTrendGroupList : public TSafeObjList<TTrendGroup> {
public:
    TTrendGroupList() : TSafeObjList<TTrendGroup>(true) {}
    ~TTrendGroupList() override;

    TTrendGroup *Group(int position) const { return At(position); }

    int DirectionCount() const;
    TTrend *Direction(int index) const;                // nullptr outside
    int DirectionIndex(const TTrend *direction) const; // -1 when not numbered
    int TramDirectionIndex(const TTrend *direction) const;
    std::vector<TTrend *> AllDirections() const; // in index order
    // The shown number (tram variant, 1-based) and the type suffix: "3Tл".
    std::string DirectionCaption(const TTrend *direction) const;

protected:
    void Notify(TTrendGroup *group, bool added) override;
};

} // namespace vantor
