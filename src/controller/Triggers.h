#pragma once
// Triggers: a logical combination of detector inputs, reset by an event of the
// controller. Groups without own directions and phase entries and cycle steps refer
// to triggers; the trigger list owns them.

#include "controller/SafeLst.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace vantor {

// One detector input of a trigger and the detector states it reacts to.
class TTriggerItem : public TVantorObject {
public:
    std::uint8_t Source = 0;         // index into kTriggerSourceTexts
    std::int32_t BlockNumber = 0;    // block the detector belongs to
    std::int32_t DetectorNumber = 0; // detector within the block
    bool Free = false;
    bool Triggered = true;
    bool Occupied = true;
    bool Faulty = true;
    bool Released = true;
    bool Inverted = false;
};

class TTrigger : public TVantorObject {
public:
    TTriggerItem *AddArgument() { return Args.Append(std::make_unique<TTriggerItem>()); }

    std::string Name;
    std::uint8_t Log = 1;        // index into kTriggerLogTexts
    bool Not = false;            // post-inversion of the result
    std::uint8_t ResetEvent = 0; // index into kTriggerEventTexts
    std::int32_t ResetArg1 = 0;  // direction number (events 2-14) or object number (15-17)
    std::int32_t ResetArg2 = 0;  // phase number, events 15-17 only
    TSafeObjList<TTriggerItem> Args{true};
};

class TTriggerList : public TSafeObjList<TTrigger> {
public:
    TTriggerList() : TSafeObjList<TTrigger>(true) {}
};

// Reset events at or above this one name a traffic-light object and a phase.
inline constexpr int kFirstPhaseResetEvent = 15;

inline constexpr std::array<const char *, 4> kTriggerLogTexts = {"Нет", "ИЛИ", "И", "Искл ИЛИ"};
inline constexpr std::array<const char *, 3> kTriggerSourceTexts = {"Нет", "Блок", "Бод"};
inline constexpr std::array<const char *, 18> kTriggerEventTexts = {
    "Нет",           "Каждая секунда",      "Промтакт в красный",  "Старт красного",
    "Красный",       "Тмин красного",       "После Тмин красного", "Конец красного",
    "Не красный",    "Промтакт в зеленый",  "Старт зеленого",      "Зеленый",
    "Тмин зеленого", "После Тмин зеленого", "Конец зеленого",      "Старт фазы",
    "Фаза",          "Конец фазы"};

// A trigger's caption from its 1-based position: "2ТРГ".
inline std::string TriggerCaption(int number)
{
    return std::to_string(number) + "ТРГ";
}

} // namespace vantor
