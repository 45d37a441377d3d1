#include "controller/SignalObjects.h"

#include "controller/Trends.h"

#include <QString>

#include <algorithm>
#include <limits>
#include <numeric>

namespace vantor {
namespace {

constexpr std::array<const char *, 6> kRefKindFileNames = {"", "phase", "cycle", "day", "week", "year"};

template <class Item>
std::vector<int> NumbersOf(const TSafeObjList<Item> &list)
{
    std::vector<int> numbers;
    numbers.reserve(static_cast<std::size_t>(list.Count()));
    for (const Item *item : list)
        numbers.push_back(item->Number);
    return numbers;
}

int HighestOf(const std::vector<int> &numbers)
{
    return numbers.empty() ? 0 : *std::max_element(numbers.begin(), numbers.end());
}

// The highest number plus one (numbers read from a document can already be at the
// top of the range; the result then stays there).
int AboveHighest(const std::vector<int> &numbers)
{
    return static_cast<int>(
        std::min<long long>(static_cast<long long>(HighestOf(numbers)) + 1, std::numeric_limits<int>::max()));
}

int SkipSpecialPhases(int number)
{
    return IsSpecialPhaseNumber(number) ? kFirstPhaseAfterSpecial : number;
}

// The number of an item just appended at the end of a list: its 1-based position,
// unless another item has that number already; then the highest number plus one,
// or, where that no longer fits (plans have byte numbers), the lowest free number.
template <class Item>
int NumberForNewItem(const TSafeObjList<Item> &list, int limit)
{
    const int position = list.Count();
    auto taken = [&](int number) {
        for (int i = 0; i < list.Count() - 1; ++i)
            if (list[i]->Number == number)
                return true;
        return false;
    };
    if (!taken(position) && position <= limit)
        return position;
    std::vector<int> numbers = NumbersOf(list);
    numbers.pop_back();
    const int next = AboveHighest(numbers);
    if (next <= limit)
        return next;
    for (int number = 1; number <= limit; ++number)
        if (!taken(number))
            return number;
    return 0;
}

// The number-field rule shared by phases, cycles and plans; sorts the list by number.
template <class Item>
int Renumber(TSafeObjList<Item> &list, Item *item, int typed, bool phases, int limit)
{
    if (!item || !list.Contains(item))
        return 0;
    auto taken = [&](int number) {
        if (phases && IsSpecialPhaseNumber(number))
            return true;
        for (const Item *other : list)
            if (other != item && other->Number == number)
                return true;
        return false;
    };
    const std::vector<int> numbers = NumbersOf(list);
    const int highestPlusOne = phases ? SkipSpecialPhases(AboveHighest(numbers)) : AboveHighest(numbers);
    int number = typed;
    if (taken(number)) {
        number = typed < static_cast<int>(item->Number) ? NextFreeNumber(numbers, phases) : highestPlusOne;
        // The next free number below can itself be taken (phases 16 and 17, 17
        // renumbered to 16 gives 15 -> 16); the highest number plus one never is.
        if (taken(number))
            number = highestPlusOne;
    }
    if (number > limit)
        return item->Number; // no room left in the number range: keep the number
    item->Number = static_cast<decltype(item->Number)>(number);
    list.StableSort([](const Item *a, const Item *b) { return a->Number < b->Number; });
    return number;
}

} // namespace

const char *RefKindFileName(int kind)
{
    return kind >= 0 && kind < static_cast<int>(kRefKindFileNames.size()) ? kRefKindFileNames[kind] : "";
}

RefKind RefKindFromFileName(const std::string &name)
{
    const QString text = QString::fromStdString(name);
    for (int kind = kRefPhase; kind <= kRefYearPlan; ++kind)
        if (text.compare(QLatin1String(kRefKindFileNames[kind]), Qt::CaseInsensitive) == 0)
            return static_cast<RefKind>(kind);
    return kRefNone;
}

int NextFreeNumber(const std::vector<int> &numbers, bool phases)
{
    int lowest = HighestOf(numbers);
    for (const int number : numbers)
        lowest = std::min(lowest, number);
    const int result = lowest <= 1 ? AboveHighest(numbers) : lowest - 1;
    return phases ? SkipSpecialPhases(result) : result;
}

// ---- phases, cycles, plans ------------------------------------------------------------

std::string TPhaseSO::DisplayName() const
{
    switch (Number) {
    case 13: return "Фаза КК";
    case 14: return "Фаза ЖМ";
    case 15: return "Фаза ОС";
    default: return "Ф" + std::to_string(Number);
    }
}

std::uint16_t TCycle::Period() const
{
    std::uint16_t period = 0;
    for (const TCycleItem *step : Steps)
        period = static_cast<std::uint16_t>(period + step->Duration);
    return period;
}

std::string TCycle::DisplayName() const
{
    switch (Number) {
    case -3: return "Цикл КК";
    case -2: return "Цикл ЖМ";
    case -1: return "Цикл ОС";
    default: return Name;
    }
}

TCycleItem *TCycle::InsertStep(int position)
{
    auto step = std::make_unique<TCycleItem>();
    TCycleItem *raw = step.get();
    if (position < 0 || position > Steps.Count())
        position = Steps.Count();
    Steps.Insert(position, step.release());
    return raw;
}

TWeekPlanItem *TWeekPlan::InsertItem(int position)
{
    if (Items.Count() >= kMaxItems)
        return nullptr;
    auto item = std::make_unique<TWeekPlanItem>();
    TWeekPlanItem *raw = item.get();
    if (position < 0 || position > Items.Count())
        position = Items.Count();
    Items.Insert(position, item.release());
    return raw;
}

// ---- TSOObject ------------------------------------------------------------------------

TSOObject::TSOObject(const TTrendGroupList *groups) : Directions(false), groups_(groups)
{
    for (int number = kSpecialPhaseFirst; number <= kSpecialPhaseLast; ++number)
        SpecialPhases.Append(std::make_unique<TPhaseSO>(this))->Number = number;
    for (int number = -3; number <= -1; ++number)
        SpecialCycles.Append(std::make_unique<TCycle>(this))->Number = number;
}

TSOObject::~TSOObject() = default;

TPhaseSO *TSOObject::FindPhase(int number) const
{
    const auto &list = IsSpecialPhaseNumber(number) ? SpecialPhases : Phases;
    for (TPhaseSO *phase : list)
        if (phase->Number == number)
            return phase;
    return nullptr;
}

TCycle *TSOObject::FindCycle(int number) const
{
    const auto &list = number < 0 ? SpecialCycles : Cycles;
    for (TCycle *cycle : list)
        if (cycle->Number == number)
            return cycle;
    return nullptr;
}

TDayPlan *TSOObject::FindDayPlan(int number) const
{
    for (TDayPlan *plan : DayPlans)
        if (plan->Number == number)
            return plan;
    return nullptr;
}

TWeekPlan *TSOObject::FindWeekPlan(int number) const
{
    for (TWeekPlan *plan : WeekPlans)
        if (plan->Number == number)
            return plan;
    return nullptr;
}

TYearPlan *TSOObject::FindYearPlan(int number) const
{
    for (TYearPlan *plan : YearPlans)
        if (plan->Number == number)
            return plan;
    return nullptr;
}

TVantorObject *TSOObject::FindTarget(int kind, int number) const
{
    switch (kind) {
    case kRefPhase: return FindPhase(number);
    case kRefCycle: return FindCycle(number);
    case kRefDayPlan: return FindDayPlan(number);
    case kRefWeekPlan: return FindWeekPlan(number);
    case kRefYearPlan: return FindYearPlan(number);
    default: return nullptr;
    }
}

int TSOObject::TargetNumber(const TVantorObject *target)
{
    if (const auto *phase = dynamic_cast<const TPhaseSO *>(target))
        return phase->Number;
    if (const auto *cycle = dynamic_cast<const TCycle *>(target))
        return cycle->Number;
    if (const auto *day = dynamic_cast<const TDayPlan *>(target))
        return day->Number;
    if (const auto *week = dynamic_cast<const TWeekPlan *>(target))
        return week->Number;
    if (const auto *year = dynamic_cast<const TYearPlan *>(target))
        return year->Number;
    return 0;
}

TPhaseSO *TSOObject::AddPhase()
{
    auto phase = std::make_unique<TPhaseSO>(this);
    phase->Number = SkipSpecialPhases(AboveHighest(NumbersOf(Phases)));
    for (int i = 0; i < Directions.Count(); ++i)
        phase->Entries.Add(std::make_unique<TPhaseSOItem>());
    return Phases.Append(std::move(phase));
}

TPhaseSO *TSOObject::NewPhase()
{
    TPhaseSO *phase = AddPhase();
    phase->Name = "Фаза " + std::to_string(phase->Number);
    return phase;
}

TCycle *TSOObject::AddCycle()
{
    TCycle *cycle = Cycles.Append(std::make_unique<TCycle>(this));
    cycle->Number = NumberForNewItem(Cycles, 0x7fffffff);
    return cycle;
}

TCycle *TSOObject::NewCycle()
{
    TCycle *cycle = AddCycle();
    cycle->Name = "Цикл " + std::to_string(Cycles.Count());
    return cycle;
}

TDayPlan *TSOObject::AddDayPlan()
{
    TDayPlan *plan = DayPlans.Append(std::make_unique<TDayPlan>(this));
    plan->Number = static_cast<std::uint8_t>(NumberForNewItem(DayPlans, 255));
    return plan;
}

TDayPlan *TSOObject::NewDayPlan()
{
    TDayPlan *plan = AddDayPlan();
    plan->Name = "Сут. план " + std::to_string(DayPlans.Count());
    return plan;
}

TWeekPlan *TSOObject::AddWeekPlan()
{
    TWeekPlan *plan = WeekPlans.Append(std::make_unique<TWeekPlan>(this));
    plan->Number = static_cast<std::uint8_t>(NumberForNewItem(WeekPlans, 255));
    return plan;
}

TWeekPlan *TSOObject::NewWeekPlan()
{
    TWeekPlan *plan = AddWeekPlan();
    plan->Name = "Нед. план " + std::to_string(WeekPlans.Count());
    return plan;
}

TYearPlan *TSOObject::AddYearPlan()
{
    TYearPlan *plan = YearPlans.Append(std::make_unique<TYearPlan>(this));
    plan->Number = static_cast<std::uint8_t>(NumberForNewItem(YearPlans, 255));
    return plan;
}

TYearPlan *TSOObject::NewYearPlan()
{
    TYearPlan *plan = AddYearPlan();
    plan->Name = "Год. план " + std::to_string(YearPlans.Count());
    return plan;
}

// ---- references and deletion ---------------------------------------------------------

template <class Item>
bool TSOObject::IsTargetOfPlans(const Item *item, int kind) const
{
    if (!item)
        return false;
    if (Entry == item && EntryKind == kind)
        return true;
    auto refers = [item](const TPlanTarget *entry) { return entry->Target == item; };
    if (kind <= kRefCycle)
        for (const TDayPlan *plan : DayPlans)
            for (const TDayPlanItem *entry : plan->Items)
                if (refers(entry))
                    return true;
    if (kind <= kRefDayPlan)
        for (const TWeekPlan *plan : WeekPlans)
            for (const TWeekPlanItem *entry : plan->Items)
                if (refers(entry))
                    return true;
    if (kind <= kRefWeekPlan)
        for (const TYearPlan *plan : YearPlans)
            for (const TYearPlanItem *entry : plan->Items)
                if (refers(entry))
                    return true;
    return false;
}

bool TSOObject::IsReferenced(const TPhaseSO *phase) const
{
    for (const auto *list : {&Cycles, &SpecialCycles})
        for (const TCycle *cycle : *list)
            for (const TCycleItem *step : cycle->Steps)
                if (step->Phase == phase)
                    return true;
    return IsTargetOfPlans(phase, kRefPhase);
}

bool TSOObject::IsReferenced(const TCycle *cycle) const
{
    return IsTargetOfPlans(cycle, kRefCycle);
}

bool TSOObject::IsReferenced(const TDayPlan *plan) const
{
    return IsTargetOfPlans(plan, kRefDayPlan);
}

bool TSOObject::IsReferenced(const TWeekPlan *plan) const
{
    return IsTargetOfPlans(plan, kRefWeekPlan);
}

bool TSOObject::IsReferenced(const TYearPlan *plan) const
{
    return IsTargetOfPlans(plan, kRefYearPlan);
}

namespace {

template <class Item>
bool DeleteUnreferenced(TSafeObjList<Item> &list, Item *item, bool referenced, const char *text,
                        std::string *refusal)
{
    if (!item || !list.Contains(item))
        return false;
    if (referenced) {
        if (refusal)
            *refusal = text;
        return false;
    }
    list.DeleteItem(item);
    return true;
}

} // namespace

bool TSOObject::DeletePhase(TPhaseSO *phase, std::string *refusal)
{
    return DeleteUnreferenced(Phases, phase, IsReferenced(phase), kPhaseInUseText, refusal);
}

bool TSOObject::DeleteCycle(TCycle *cycle, std::string *refusal)
{
    return DeleteUnreferenced(Cycles, cycle, IsReferenced(cycle), kCycleInUseText, refusal);
}

bool TSOObject::DeleteDayPlan(TDayPlan *plan, std::string *refusal)
{
    return DeleteUnreferenced(DayPlans, plan, IsReferenced(plan), kDayPlanInUseText, refusal);
}

bool TSOObject::DeleteWeekPlan(TWeekPlan *plan, std::string *refusal)
{
    return DeleteUnreferenced(WeekPlans, plan, IsReferenced(plan), kWeekPlanInUseText, refusal);
}

bool TSOObject::DeleteYearPlan(TYearPlan *plan, std::string *refusal)
{
    return DeleteUnreferenced(YearPlans, plan, IsReferenced(plan), kYearPlanInUseText, refusal);
}

void TSOObject::SetEntry(std::uint8_t kind, TVantorObject *target)
{
    EntryKind = target ? kind : static_cast<std::uint8_t>(kRefNone);
    Entry = target;
}

// ---- renumbering ---------------------------------------------------------------------

int TSOObject::RenumberPhase(TPhaseSO *phase, int typed)
{
    return Renumber(Phases, phase, typed, true, 0x7fffffff);
}

int TSOObject::RenumberCycle(TCycle *cycle, int typed)
{
    return Renumber(Cycles, cycle, typed, false, 0x7fffffff);
}

int TSOObject::RenumberDayPlan(TDayPlan *plan, int typed)
{
    return Renumber(DayPlans, plan, typed, false, 255);
}

int TSOObject::RenumberWeekPlan(TWeekPlan *plan, int typed)
{
    return Renumber(WeekPlans, plan, typed, false, 255);
}

int TSOObject::RenumberYearPlan(TYearPlan *plan, int typed)
{
    return Renumber(YearPlans, plan, typed, false, 255);
}

// ---- directions ----------------------------------------------------------------------

bool TSOObject::AddDirection(TTrend *direction)
{
    if (!direction || direction->SOObject || Directions.Contains(direction))
        return false;
    direction->SOObject = this;
    Directions.Add(direction);
    for (TPhaseSO *phase : Phases)
        phase->Entries.Add(std::make_unique<TPhaseSOItem>());
    SortDirections();
    return true;
}

bool TSOObject::RemoveDirection(TTrend *direction)
{
    const int index = Directions.IndexOf(direction);
    if (index < 0)
        return false;
    if (direction->SOObject == this)
        direction->SOObject = nullptr;
    Directions.Extract(index);
    for (TPhaseSO *phase : Phases)
        if (index < phase->Entries.Count())
            phase->Entries.Delete(index);
    return true;
}

void TSOObject::SortDirections()
{
    const int count = Directions.Count();
    std::vector<int> keys(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        keys[static_cast<std::size_t>(i)] = groups_ ? groups_->DirectionIndex(Directions[i]) : i;
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return keys[static_cast<std::size_t>(a)] < keys[static_cast<std::size_t>(b)];
    });
    if (std::is_sorted(order.begin(), order.end()))
        return;
    Directions.Reorder(order);
    for (TPhaseSO *phase : Phases)
        if (phase->Entries.Count() == count)
            phase->Entries.Reorder(order);
}

void TSOObject::ForgetTrigger(const TTrigger *trigger)
{
    if (!trigger)
        return;
    for (const auto *list : {&Phases, &SpecialPhases})
        for (TPhaseSO *phase : *list)
            for (TPhaseSOItem *entry : phase->Entries)
                if (entry->Trigger == trigger)
                    entry->Trigger = nullptr;
    for (const auto *list : {&Cycles, &SpecialCycles})
        for (TCycle *cycle : *list)
            for (TCycleItem *step : cycle->Steps)
                if (step->Trigger == trigger)
                    step->Trigger = nullptr;
}

} // namespace vantor
