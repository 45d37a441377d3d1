#pragma once
// Traffic-light objects and their timing: phases (which directions are green),
// cycles (phases with durations), day, week and year plans, and the entry point.
//
// An object owns everything here; references between the items (a cycle step's
// phase, a plan entry's target, the entry point) are plain pointers kept valid by the
// deletion rules: an item that is still referred to cannot be deleted.

#include "controller/SafeLst.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vantor {

class TSOObject;
class TTrend;
class TTrendGroupList;
class TTrigger;

// What a plan entry or the entry point refers to.
enum RefKind : std::uint8_t {
    kRefNone = 0,
    kRefPhase = 1, // regular or special phase
    kRefCycle = 2, // regular or special cycle
    kRefDayPlan = 3,
    kRefWeekPlan = 4,
    kRefYearPlan = 5,
};
// Names of the kinds in the configuration file: "", "phase", "cycle", "day", "week", "year".
const char *RefKindFileName(int kind);
// The kind of a file name, compared without regard to case; kRefNone when unknown.
RefKind RefKindFromFileName(const std::string &name);

inline constexpr int kSpecialPhaseFirst = 13; // 13 all red, 14 yellow flashing, 15 off
inline constexpr int kSpecialPhaseLast = 15;
inline constexpr int kFirstPhaseAfterSpecial = 16;
inline bool IsSpecialPhaseNumber(int number)
{
    return number >= kSpecialPhaseFirst && number <= kSpecialPhaseLast;
}

inline constexpr std::array<const char *, 9> kPhaseAlgorithmTexts = {"Нет",
                                                                     "Всегда Тмин.",
                                                                     "Старт зеленого",
                                                                     "Старт Тмин зеленого",
                                                                     "Старт Тмин зеленого + Тэк",
                                                                     "При зеленом",
                                                                     "Тмин при зеленом",
                                                                     "Тмин при зеленом + Тэкип",
                                                                     "В красный"};
inline constexpr std::array<const char *, 6> kCycleAlgorithmTexts = {
    "Нет", "Включить", "Включить Тмин", "Включить Тмин + Тэк", "Выключить", "Не включать"};
inline constexpr std::array<const char *, 3> kDaySwitchTexts = {"Закат", "Восход", "Время"}; // by kind + 2
inline constexpr std::array<const char *, 7> kWeekDayTexts = {"Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Вс"};

// Texts of refused deletions.
inline constexpr const char *kPhaseInUseText = "Фаза задействована в конфигурации!";
inline constexpr const char *kCycleInUseText = "Цикл задействован в конфигурации!";
inline constexpr const char *kDayPlanInUseText = "Сут. план задействован в конфигурации!";
inline constexpr const char *kWeekPlanInUseText = "Нед. план задействован в конфигурации!";
inline constexpr const char *kYearPlanInUseText = "Год. план задействован в конфигурации!";

// A direction's entry in a phase.
class TPhaseSOItem : public TVantorObject {
public:
    std::int8_t State = 1;      // 1 not switched on by the phase, 2 switched on
    std::uint16_t Tmin = 0;     // minimum green in this phase, s
    std::uint16_t Takk = 0;     // clearance time in this phase, s
    std::uint8_t Algorithm = 0; // index into kPhaseAlgorithmTexts
    TTrigger *Trigger = nullptr;
    std::uint8_t Priority = 0;
};

class TPhaseSO : public TVantorObject {
public:
    explicit TPhaseSO(TSOObject *object) : Object(object) {}
    // "Фаза КК", "Фаза ЖМ", "Фаза ОС" for 13, 14, 15, otherwise "Ф<number>".
    std::string DisplayName() const;
    TPhaseSOItem *Entry(int index) const { return Entries.At(index); }

    TSOObject *Object;
    std::int32_t Number = 0; // unique among the object's phases
    std::uint16_t Tmin = 15; // minimum duration, s
    std::uint16_t Takk = 4;  // clearance time, s
    std::string Name;
    TSafeObjList<TPhaseSOItem> Entries{true}; // entry i belongs to the object's direction i
};

class TCycleItem : public TVantorObject {
public:
    TPhaseSO *Phase = nullptr;  // nullptr shows "Нет"
    std::int32_t Start = 0;     // start second within the period (coordinated cycles)
    std::uint16_t Duration = 0; // s
    std::uint16_t Tmin = 0;     // s
    std::uint16_t Takk = 0;     // s
    std::uint8_t Algorithm = 0; // index into kCycleAlgorithmTexts
    TTrigger *Trigger = nullptr;
};

class TCycle : public TVantorObject {
public:
    explicit TCycle(TSOObject *object) : Object(object) {}
    // Sum of the step durations, wrapping at 65 536.
    std::uint16_t Period() const;
    // "Цикл КК", "Цикл ЖМ", "Цикл ОС" for -3, -2, -1, otherwise the name.
    std::string DisplayName() const;
    // Inserts a step with defaults before position (appends when out of range).
    TCycleItem *InsertStep(int position);
    TCycleItem *AddStep() { return InsertStep(Steps.Count()); }

    TSOObject *Object;
    std::string Name;
    std::int32_t Number = 0;  // -3, -2, -1: the special cycles
    std::int32_t Offset = 0;  // s, coordinated cycles only
    bool Coordinated = false; // "КУ"
    TSafeObjList<TCycleItem> Steps{true};
    std::int32_t StoredPeriod = 0; // period read from a file, used while reading
};

// A plan entry's target: a phase, cycle or plan of the same object, and its kind.
struct TPlanTarget {
    TVantorObject *Target = nullptr;
    std::uint8_t TargetKind = kRefNone;
};

class TDayPlanItem : public TVantorObject, public TPlanTarget {
public:
    static constexpr std::int8_t kAtTime = 0;
    static constexpr std::int8_t kAtSunrise = -1;
    static constexpr std::int8_t kAtSunset = -2;

    int Hour() const { return Minutes / 60; }
    int Minute() const { return Minutes % 60; }

    std::int8_t SwitchKind = kAtTime;
    std::uint16_t Minutes = 0; // time of day, minutes after midnight (clock-time entries)
    std::int32_t Angle = 0;    // sun angle, degrees (sunrise and sunset entries)
};

class TWeekPlanItem : public TVantorObject, public TPlanTarget {
public:
    std::uint8_t Day = 0; // 0 Monday .. 6 Sunday
};

class TYearPlanItem : public TVantorObject, public TPlanTarget {
public:
    // A day of the leap year 2020, so that 29 February can be planned.
    std::uint8_t Month = 1;
    std::uint8_t Day = 1;
};

class TDayPlan : public TVantorObject {
public:
    explicit TDayPlan(TSOObject *object) : Object(object) {}
    TSOObject *Object;
    std::string Name;
    std::uint8_t Number = 0;
    TSafeObjList<TDayPlanItem> Items{true}; // in time order
};

class TWeekPlan : public TVantorObject {
public:
    static constexpr int kMaxItems = 7;
    explicit TWeekPlan(TSOObject *object) : Object(object) {}
    // Inserts an entry before position (appends when out of range); nullptr when the
    // plan already has seven entries.
    TWeekPlanItem *InsertItem(int position);
    TWeekPlanItem *AddItem() { return InsertItem(Items.Count()); }

    TSOObject *Object;
    std::string Name;
    std::uint8_t Number = 0;
    TSafeObjList<TWeekPlanItem> Items{true}; // each weekday at most once
};

class TYearPlan : public TVantorObject {
public:
    explicit TYearPlan(TSOObject *object) : Object(object) {}
    TSOObject *Object;
    std::string Name;
    std::uint8_t Number = 0;
    TSafeObjList<TYearPlanItem> Items{true}; // in date order, each day at most once
};

// A traffic-light object: a set of directions and the timing that drives them.
class TSOObject : public TVantorObject {
public:
    // groups: the configuration's group list, which numbers the directions.
    explicit TSOObject(const TTrendGroupList *groups);
    ~TSOObject() override;

    std::string Name;
    std::int32_t RevurNumber = 1; // number in the traffic-management centre
    bool Enabled = true;
    std::uint8_t EntryKind = kRefNone;
    TVantorObject *Entry = nullptr; // the entry point, of EntryKind

    TSafeObjList<TPhaseSO> Phases{true};
    TSafeObjList<TPhaseSO> SpecialPhases{true}; // 13, 14, 15; never deleted
    TSafeObjList<TCycle> Cycles{true};
    TSafeObjList<TCycle> SpecialCycles{true}; // -3, -2, -1; never deleted
    TSafeObjList<TDayPlan> DayPlans{true};
    TSafeObjList<TWeekPlan> WeekPlans{true};
    TSafeObjList<TYearPlan> YearPlans{true};
    TSafeObjList<TTrend> Directions; // not owned, sorted by direction index

    // ---- lookups by number (first match, nullptr when none) ----
    TPhaseSO *FindPhase(int number) const; // 13..15 among the special phases
    TCycle *FindCycle(int number) const;   // negative among the special cycles
    TDayPlan *FindDayPlan(int number) const;
    TWeekPlan *FindWeekPlan(int number) const;
    TYearPlan *FindYearPlan(int number) const;
    // The phase, cycle or plan of a reference kind and number; nullptr when none.
    TVantorObject *FindTarget(int kind, int number) const;
    // The number of a referred item (0 for nullptr).
    static int TargetNumber(const TVantorObject *target);

    // ---- new items ----
    // Add* give the defaults (empty name) and the number of a new item; New* also
    // give the name the editor shows ("Фаза 3", "Цикл 2", "Сут. план 1", ...).
    TPhaseSO *AddPhase();
    TPhaseSO *NewPhase();
    TCycle *AddCycle();
    TCycle *NewCycle();
    TDayPlan *AddDayPlan();
    TDayPlan *NewDayPlan();
    TWeekPlan *AddWeekPlan();
    TWeekPlan *NewWeekPlan();
    TYearPlan *AddYearPlan();
    TYearPlan *NewYearPlan();

    // ---- references and deletion ----
    bool IsReferenced(const TPhaseSO *phase) const;
    bool IsReferenced(const TCycle *cycle) const;
    bool IsReferenced(const TDayPlan *plan) const;
    bool IsReferenced(const TWeekPlan *plan) const;
    bool IsReferenced(const TYearPlan *plan) const;
    // Frees an unreferenced regular item and returns true; a referenced item stays
    // and *refusal receives the text to show. Special phases and cycles are never
    // deleted.
    bool DeletePhase(TPhaseSO *phase, std::string *refusal = nullptr);
    bool DeleteCycle(TCycle *cycle, std::string *refusal = nullptr);
    bool DeleteDayPlan(TDayPlan *plan, std::string *refusal = nullptr);
    bool DeleteWeekPlan(TWeekPlan *plan, std::string *refusal = nullptr);
    bool DeleteYearPlan(TYearPlan *plan, std::string *refusal = nullptr);
    void SetEntry(std::uint8_t kind, TVantorObject *target);

    // ---- renumbering ----
    // Gives the item the typed number, or when another item of its list has it, the
    // next free number (typed below the current number) or the highest plus one
    // (typed above), then sorts the list by number. Returns the number taken. Phases
    // never take 13, 14 or 15 (the special phases have them).
    int RenumberPhase(TPhaseSO *phase, int typed);
    int RenumberCycle(TCycle *cycle, int typed);
    int RenumberDayPlan(TDayPlan *plan, int typed);
    int RenumberWeekPlan(TWeekPlan *plan, int typed);
    int RenumberYearPlan(TYearPlan *plan, int typed);

    // ---- directions ----
    // Adds a direction that belongs to no object (false otherwise), appends a default
    // entry to every regular phase, then sorts the directions by index.
    bool AddDirection(TTrend *direction);
    // Removes the direction and its entry in every regular phase; false when absent.
    bool RemoveDirection(TTrend *direction);
    // Sorts the directions by direction index, moving the phase entries with them.
    void SortDirections();

    // Every phase entry and cycle step that uses the trigger loses it.
    void ForgetTrigger(const TTrigger *trigger);

private:
    template <class Item>
    bool IsTargetOfPlans(const Item *item, int kind) const;

    const TTrendGroupList *groups_;
};

// The editor's next free number: with max the highest and min the lowest number of
// the list (0 for an empty list), min - 1, or max + 1 when min is 1 (or min - 1 would
// not be positive). For phases a result of 13, 14 or 15 becomes 16.
int NextFreeNumber(const std::vector<int> &numbers, bool phases);

} // namespace vantor
