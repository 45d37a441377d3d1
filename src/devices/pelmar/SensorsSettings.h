#pragma once
// The Pelmar-3 detector module: detector processing blocks (BODs), each with its lane
// sensors, and the directions (traffic streams) the sensors are assigned to.
//
// TSensorsSettings owns the BODs and the directions; a BOD owns its sensors; a sensor
// refers to a direction of the same module (or to none). Lists keep the order in
// which items were added. Numbers need not be unique: a duplicate is allowed and only
// marked by the editor.
//
// Limits (32 BODs, 32 directions, 8 sensors per BOD) are the editor's: its commands
// ask CanAdd... first. Adding itself never refuses, so a document that holds more is
// read and written back whole.

#include "devices/pelmar/SettingsObject.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vantor {

class TBOD;

// A direction (traffic stream) sensors can be assigned to.
class TSensorTrend : public TSettingsObject {
public:
    TSensorTrend() { TSensorTrend::Reset(); }
    void Reset() override { name_.clear(); }

    const std::string &Name() const { return name_; }
    void SetName(std::string name) { Assign(name_, std::move(name)); }

private:
    std::string name_;
};

// A lane sensor of a BOD. Its number is 0-based (0..7); the editor and the document
// show it as 1..8.
class TSensor : public TSettingsObject {
public:
    explicit TSensor(TBOD *owner) : owner_(owner) { TSensor::Reset(); }
    void Reset() override
    {
        number_ = 0;
        direction_ = nullptr;
    }

    TBOD *Owner() const { return owner_; }

    int Number() const { return number_; }
    void SetNumber(int number) { Assign(number_, number); }

    // The direction the sensor counts for; nullptr for none.
    TSensorTrend *Direction() const { return direction_; }
    void SetDirection(TSensorTrend *direction) { Assign(direction_, direction); }

private:
    TBOD *owner_;
    int number_ = 0;
    TSensorTrend *direction_ = nullptr;
};

// A detector processing block.
class TBOD : public TSettingsObject {
public:
    static constexpr int kMaxSensors = 8;
    static constexpr int kSensorNumbers = 8; // sensor numbers 0..7
    static constexpr int kDefaultNumber = 0;

    TBOD() { TBOD::Reset(); }
    void Reset() override;

    int Number() const { return number_; }
    void SetNumber(int number) { Assign(number_, number); }
    // Distance from the intersection, m (the editor offers -1000..1000).
    std::int16_t Distance() const { return distance_; }
    void SetDistance(std::int16_t distance) { Assign(distance_, distance); }
    const std::string &Name() const { return name_; }
    void SetName(std::string name) { Assign(name_, std::move(name)); }

    int SensorCount() const { return static_cast<int>(sensors_.size()); }
    TSensor *Sensor(int index) const { return sensors_[static_cast<std::size_t>(index)].get(); }
    int IndexOf(const TSensor *sensor) const;

    // A new sensor at the end, numbered with the first free number in 0..7 (0 when
    // all are taken), without a direction.
    TSensor *AddSensor();
    void RemoveSensor(const TSensor *sensor);
    // The lowest number in 0..7 no sensor has; 0 when all are taken.
    int FirstFreeSensorNumber() const;
    // No other sensor of this BOD has the sensor's number.
    bool IsSensorNumberUnique(const TSensor *sensor) const;
    bool CanAddSensor() const { return SensorCount() < kMaxSensors; }
    // The last sensor of a BOD stays: a BOD without sensors makes no sense.
    bool CanRemoveSensor(const TSensor *sensor) const { return IndexOf(sensor) >= 0 && SensorCount() > 1; }

    bool UsesDirection(const TSensorTrend *direction) const;

private:
    int number_ = kDefaultNumber;
    std::int16_t distance_ = 0;
    std::string name_;
    std::vector<std::unique_ptr<TSensor>> sensors_;
};

class TSensorsSettings : public TSettingsObject {
public:
    static constexpr int kMaxBods = 32;
    static constexpr int kMaxTrends = 32;
    static constexpr int kBodNumbers = 32; // BOD numbers 0..31
    static constexpr const char *kNewBodName = "БОД";
    static constexpr const char *kNewTrendName = "Новое направление";

    TSensorsSettings() { TSensorsSettings::Reset(); }
    // Removes every BOD and direction.
    void Reset() override;

    int BodCount() const { return static_cast<int>(bods_.size()); }
    TBOD *Bod(int index) const { return bods_[static_cast<std::size_t>(index)].get(); }
    int IndexOf(const TBOD *bod) const;
    // The BODs in ascending order of number; equal numbers keep the order of addition.
    std::vector<TBOD *> BodsByNumber() const;

    int TrendCount() const { return static_cast<int>(trends_.size()); }
    TSensorTrend *Trend(int index) const { return trends_[static_cast<std::size_t>(index)].get(); }
    // 0-based position in the direction list; -1 for nullptr or a foreign direction.
    int IndexOf(const TSensorTrend *trend) const;

    // A new BOD named "БОД", numbered with the first free number in 0..31 (0 when all
    // are taken), without sensors.
    TBOD *AddBod();
    // A new direction named "Новое направление" at the end of the list.
    TSensorTrend *AddTrend();
    void RemoveBod(const TBOD *bod);
    // Refuses (false) a direction that a sensor uses.
    bool RemoveTrend(const TSensorTrend *trend);

    int FirstFreeBodNumber() const;
    bool IsBodNumberUnique(const TBOD *bod) const;
    bool IsTrendUsed(const TSensorTrend *trend) const;

    bool CanAddBod() const { return BodCount() < kMaxBods; }
    bool CanAddTrend() const { return TrendCount() < kMaxTrends; }
    bool CanRemoveTrend(const TSensorTrend *trend) const
    {
        return IndexOf(trend) >= 0 && !IsTrendUsed(trend);
    }

private:
    std::vector<std::unique_ptr<TBOD>> bods_;
    std::vector<std::unique_ptr<TSensorTrend>> trends_;
};

} // namespace vantor
