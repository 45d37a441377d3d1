#include "controller/Trends.h"

#include "controller/Triggers.h"

#include <algorithm>

namespace vantor {

// ---- TTrend ---------------------------------------------------------------------------

TTrend::TTrend(TTrendGroup *group, int type) : group_(group), type_(type)
{}

int TTrend::Slot(int slot) const
{
    return IsSlotValid(type_, slot) && slot < kTimingSlotCount ? slots_[static_cast<std::size_t>(slot)] : 0;
}

void TTrend::SetSlot(int slot, int value)
{
    if (IsSlotValid(type_, slot) && slot < kTimingSlotCount)
        slots_[static_cast<std::size_t>(slot)] = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

std::string TTrend::DefaultName() const
{
    return std::to_string(group_ ? group_->Number() : 0) + TrendType(type_).suffix;
}

std::string TTrend::NameOrDefault() const
{
    return Name.empty() ? DefaultName() : Name;
}

// ---- TSemaphoreObject ---------------------------------------------------------------

TSemaphoreObject::TSemaphoreObject(TTrendGroup *group, std::uint16_t typeSet, int number)
    : Number(number), group_(group), typeSet_(typeSet), lampSet_(LampSetOf(typeSet))
{
    for (int lamp = 0; lamp < kLampPositionCount; ++lamp)
        if (HasLamp(lamp))
            Lamps.Add(std::make_unique<TSemaphoreOut>(this, lamp));
}

bool TSemaphoreObject::HasLamp(int lampPos) const
{
    return lampPos >= 0 && lampPos < kLampPositionCount && (lampSet_ & (1u << lampPos)) != 0;
}

TControllerOutput *TSemaphoreObject::Output(int lampPos) const
{
    return HasLamp(lampPos) ? outputs_[static_cast<std::size_t>(lampPos)] : nullptr;
}

void TSemaphoreObject::SetOutput(int lampPos, TControllerOutput *output)
{
    if (HasLamp(lampPos))
        outputs_[static_cast<std::size_t>(lampPos)] = output;
}

bool TSemaphoreObject::HasAnyOutput() const
{
    for (TControllerOutput *output : outputs_)
        if (output)
            return true;
    return false;
}

int TSemaphoreObject::Position() const
{
    return group_ ? group_->HeadPosition(this) + 1 : 0;
}

std::string TSemaphoreObject::DefaultName() const
{
    return (group_ ? group_->NameOrDefault() : std::string()) + "." + std::to_string(Position());
}

std::string TSemaphoreObject::NameOrDefault() const
{
    return Name.empty() ? DefaultName() : Name;
}

// ---- TTrendGroup --------------------------------------------------------------------

TTrendGroup::TTrendGroup(GroupKind kind)
    : Directions(vantor::HasOwnDirections(kind)), Triggers(false), kind_(kind)
{
    if (HasOwnDirections()) {
        for (int type = 0; type < kTrendTypeCount; ++type)
            if (TrendTypes() & (1u << type))
                Directions.Add(std::make_unique<TTrend>(this, type));
    } else {
        Directions.SetAllowDuplicates(false);
        Triggers.SetAllowDuplicates(false);
    }
    SetHeadCount(1);
}

TTrendGroup::~TTrendGroup() = default;

int TTrendGroup::Number() const
{
    return list_ ? list_->IndexOf(this) + 1 : 0;
}

std::string TTrendGroup::DefaultName() const
{
    return std::to_string(Number()) + SigGroupTypeSuffix(SigGroupType());
}

std::string TTrendGroup::NameOrDefault() const
{
    return Name.empty() ? DefaultName() : Name;
}

void TTrendGroup::SetHeadCount(int count)
{
    count = std::max(count, 0);
    while (Heads.Count() < count)
        Heads.Add(std::make_unique<TSemaphoreObject>(this, TrendTypes(), Heads.Count() + 1));
    while (Heads.Count() > count)
        Heads.Delete(Heads.Count() - 1);
}

int TTrendGroup::HeadPosition(const TSemaphoreObject *head) const
{
    return head ? Heads.IndexOf(head) : -1;
}

bool TTrendGroup::AddDirectionRef(TTrend *direction)
{
    return !HasOwnDirections() && direction && Directions.Add(direction) >= 0;
}

bool TTrendGroup::RemoveDirectionRef(TTrend *direction)
{
    return !HasOwnDirections() && Directions.Remove(direction) >= 0;
}

bool TTrendGroup::AddTriggerRef(TTrigger *trigger)
{
    return !HasOwnDirections() && trigger && Triggers.Add(trigger) >= 0;
}

bool TTrendGroup::RemoveTriggerRef(TTrigger *trigger)
{
    return Triggers.Remove(trigger) >= 0;
}

int TTrendGroup::MaxReferences() const
{
    switch (kind_) {
    case GroupKind::ISS: return 2;
    case GroupKind::TableWait:
    case GroupKind::TableGo: return 1;
    default: return 0;
    }
}

std::unique_ptr<TTrendGroup> CreateTrendGroup(GroupKind kind)
{
    switch (kind) {
    case GroupKind::Transport: return std::make_unique<TTransport>();
    case GroupKind::Walkman: return std::make_unique<TWalkman>();
    case GroupKind::WalkmanGB: return std::make_unique<TWalkmanGB>();
    case GroupKind::Arrow: return std::make_unique<TArrow>();
    case GroupKind::ArrowGB: return std::make_unique<TArrowGB>();
    case GroupKind::Tram: return std::make_unique<TTram>();
    case GroupKind::Call: return std::make_unique<TCall>();
    case GroupKind::Reverse2: return std::make_unique<TReverse2>();
    case GroupKind::Reverse3: return std::make_unique<TReverse3>();
    case GroupKind::LedLight: return std::make_unique<TLedLight>();
    case GroupKind::ISS: return std::make_unique<TISS>();
    case GroupKind::TableWait: return std::make_unique<TTableWait>();
    case GroupKind::TableGo: return std::make_unique<TTableGo>();
    }
    return std::make_unique<TTransport>();
}

// ---- TTrendGroupList ------------------------------------------------------------------

TTrendGroupList::~TTrendGroupList() = default;

void TTrendGroupList::Notify(TTrendGroup *group, bool added)
{
    if (group)
        group->list_ = added ? this : nullptr;
}

int TTrendGroupList::DirectionCount() const
{
    int count = 0;
    for (const TTrendGroup *group : *this)
        if (group->HasOwnDirections())
            for (const TTrend *direction : group->Directions)
                count += direction->IsDirection() ? 1 : 0;
    return count;
}

TTrend *TTrendGroupList::Direction(int index) const
{
    if (index < 0)
        return nullptr;
    for (const TTrendGroup *group : *this) {
        if (!group->HasOwnDirections())
            continue;
        for (TTrend *direction : group->Directions)
            if (direction->IsDirection() && index-- == 0)
                return direction;
    }
    return nullptr;
}

int TTrendGroupList::DirectionIndex(const TTrend *direction) const
{
    if (!direction)
        return -1;
    int index = 0;
    for (const TTrendGroup *group : *this) {
        if (!group->HasOwnDirections())
            continue;
        for (const TTrend *candidate : group->Directions) {
            if (!candidate->IsDirection())
                continue;
            if (candidate == direction)
                return index;
            ++index;
        }
    }
    return -1;
}

int TTrendGroupList::TramDirectionIndex(const TTrend *direction) const
{
    if (!direction)
        return -1;
    int index = 0;
    for (const TTrendGroup *group : *this) {
        if (!group->HasOwnDirections())
            continue;
        if (group->Kind() == GroupKind::Tram) {
            if (group->Directions.Contains(direction))
                return index;
            ++index;
            continue;
        }
        for (const TTrend *candidate : group->Directions) {
            if (!candidate->IsDirection())
                continue;
            if (candidate == direction)
                return index;
            ++index;
        }
    }
    return -1;
}

std::vector<TTrend *> TTrendGroupList::AllDirections() const
{
    std::vector<TTrend *> all;
    for (const TTrendGroup *group : *this)
        if (group->HasOwnDirections())
            for (TTrend *direction : group->Directions)
                if (direction->IsDirection())
                    all.push_back(direction);
    return all;
}

std::string TTrendGroupList::DirectionCaption(const TTrend *direction) const
{
    if (!direction)
        return {};
    return std::to_string(TramDirectionIndex(direction) + 1) + TrendType(direction->Type()).suffix;
}

} // namespace vantor
