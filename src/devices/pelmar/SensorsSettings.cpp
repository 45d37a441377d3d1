#include "devices/pelmar/SensorsSettings.h"

#include <algorithm>

namespace vantor {
namespace {

template <class Item>
int IndexIn(const std::vector<std::unique_ptr<Item>> &items, const Item *item)
{
    const auto it =
        std::find_if(items.begin(), items.end(), [item](const auto &p) { return p.get() == item; });
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

// The lowest number in 0..range-1 that no item uses; 0 when every one is used.
template <class Items, class NumberOf>
int FirstFree(const Items &items, int range, NumberOf numberOf)
{
    for (int number = 0; number < range; ++number)
        if (std::none_of(items.begin(), items.end(),
                         [&](const auto &item) { return numberOf(*item) == number; }))
            return number;
    return 0;
}

} // namespace

// ---- TBOD ----

void TBOD::Reset()
{
    number_ = kDefaultNumber;
    distance_ = 0;
    name_.clear();
    sensors_.clear();
}

int TBOD::IndexOf(const TSensor *sensor) const
{
    return IndexIn(sensors_, sensor);
}

TSensor *TBOD::AddSensor()
{
    auto sensor = std::make_unique<TSensor>(this);
    sensor->SetNumber(FirstFreeSensorNumber());
    sensor->SetOnChange([this] { Changed(); });
    sensors_.push_back(std::move(sensor));
    Changed();
    return sensors_.back().get();
}

void TBOD::RemoveSensor(const TSensor *sensor)
{
    const int index = IndexOf(sensor);
    if (index < 0)
        return;
    sensors_.erase(sensors_.begin() + index);
    Changed();
}

int TBOD::FirstFreeSensorNumber() const
{
    return FirstFree(sensors_, kSensorNumbers, [](const TSensor &s) { return s.Number(); });
}

bool TBOD::IsSensorNumberUnique(const TSensor *sensor) const
{
    return std::none_of(sensors_.begin(), sensors_.end(), [sensor](const auto &other) {
        return other.get() != sensor && other->Number() == sensor->Number();
    });
}

bool TBOD::UsesDirection(const TSensorTrend *direction) const
{
    return std::any_of(sensors_.begin(), sensors_.end(),
                       [direction](const auto &sensor) { return sensor->Direction() == direction; });
}

// ---- TSensorsSettings ----

void TSensorsSettings::Reset()
{
    bods_.clear();
    trends_.clear();
}

int TSensorsSettings::IndexOf(const TBOD *bod) const
{
    return IndexIn(bods_, bod);
}

int TSensorsSettings::IndexOf(const TSensorTrend *trend) const
{
    return trend ? IndexIn(trends_, trend) : -1;
}

std::vector<TBOD *> TSensorsSettings::BodsByNumber() const
{
    std::vector<TBOD *> sorted;
    sorted.reserve(bods_.size());
    for (const auto &bod : bods_)
        sorted.push_back(bod.get());
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const TBOD *a, const TBOD *b) { return a->Number() < b->Number(); });
    return sorted;
}

TBOD *TSensorsSettings::AddBod()
{
    auto bod = std::make_unique<TBOD>();
    bod->SetNumber(FirstFreeBodNumber());
    bod->SetName(kNewBodName);
    bod->SetOnChange([this] { Changed(); });
    bods_.push_back(std::move(bod));
    Changed();
    return bods_.back().get();
}

TSensorTrend *TSensorsSettings::AddTrend()
{
    auto trend = std::make_unique<TSensorTrend>();
    trend->SetName(kNewTrendName);
    trend->SetOnChange([this] { Changed(); });
    trends_.push_back(std::move(trend));
    Changed();
    return trends_.back().get();
}

void TSensorsSettings::RemoveBod(const TBOD *bod)
{
    const int index = IndexOf(bod);
    if (index < 0)
        return;
    bods_.erase(bods_.begin() + index);
    Changed();
}

bool TSensorsSettings::RemoveTrend(const TSensorTrend *trend)
{
    const int index = IndexOf(trend);
    if (index < 0 || IsTrendUsed(trend))
        return false;
    trends_.erase(trends_.begin() + index);
    Changed();
    return true;
}

int TSensorsSettings::FirstFreeBodNumber() const
{
    return FirstFree(bods_, kBodNumbers, [](const TBOD &b) { return b.Number(); });
}

bool TSensorsSettings::IsBodNumberUnique(const TBOD *bod) const
{
    return std::none_of(bods_.begin(), bods_.end(), [bod](const auto &other) {
        return other.get() != bod && other->Number() == bod->Number();
    });
}

bool TSensorsSettings::IsTrendUsed(const TSensorTrend *trend) const
{
    return trend && std::any_of(bods_.begin(), bods_.end(),
                                [trend](const auto &bod) { return bod->UsesDirection(trend); });
}

} // namespace vantor
