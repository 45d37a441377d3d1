#include "controller/TrendTypes.h"

#include <array>

namespace vantor {
namespace {

constexpr std::uint8_t Lamps(std::initializer_list<int> positions)
{
    std::uint8_t set = 0;
    for (int p : positions)
        set = static_cast<std::uint8_t>(set | (1u << p));
    return set;
}

constexpr std::uint16_t Slots(std::initializer_list<int> numbers)
{
    std::uint16_t set = 0;
    for (int s : numbers)
        set = static_cast<std::uint16_t>(set | (1u << s));
    return set;
}

constexpr std::uint16_t kAllSlots = Slots({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
constexpr std::uint16_t kPedestrianSlots = Slots({0, 1, 2, 4, 5, 6, 8, 9, 11});
constexpr std::uint16_t kArrowSlots = Slots({0, 1, 2, 3, 4, 5, 6, 8, 11});
constexpr std::uint16_t kPlainSlots = Slots({0, 1, 4, 5, 6, 8, 11});

constexpr std::array<TrendTypeInfo, kTrendTypeCount> kTrendTypes = {{
    {"Т", GroupKind::Transport, true, Lamps({0, 1, 2}), kAllSlots},
    {"П", GroupKind::Walkman, true, Lamps({0, 2}), kPedestrianSlots},
    {"Пм", GroupKind::WalkmanGB, true, Lamps({0, 2}), kPedestrianSlots},
    {"С", GroupKind::Arrow, true, Lamps({0, 1, 2}), kArrowSlots},
    {"Tл", GroupKind::Tram, true, Lamps({3, 6}), kPlainSlots},
    {"Тв", GroupKind::Tram, true, Lamps({4, 6}), kPlainSlots},
    {"Тп", GroupKind::Tram, true, Lamps({5, 6}), kPlainSlots},
    {"Тст", GroupKind::Tram, false, Lamps({3, 4, 5}), Slots({0, 1, 4, 5, 6, 8, 9, 11})},
    {"ТВП", GroupKind::Call, true, Lamps({1, 2}), kPlainSlots},
    {"См", GroupKind::ArrowGB, true, Lamps({0, 1, 2}), kArrowSlots},
    {"Р", GroupKind::Reverse2, true, Lamps({0, 2}), kPlainSlots},
    {"Р", GroupKind::Reverse3, true, Lamps({0, 1, 2}), Slots({0, 1, 3, 4, 5, 6, 8, 11})},
    {"Св", GroupKind::LedLight, true, Lamps({2}), kPlainSlots},
    {"Ис", GroupKind::ISS, true, Lamps({2}), Slots({0, 1, 4, 5, 6, 8, 9, 11})},
    {"Тж", GroupKind::TableWait, true, Lamps({2}), 0},
    {"Ти", GroupKind::TableGo, true, Lamps({2}), 0},
}};

constexpr std::uint16_t Types(std::initializer_list<int> types)
{
    return Slots(types);
}

constexpr std::array<GroupKindInfo, kGroupKindCount> kKinds = {{
    {"TTransport", "Транспортная", Types({0}), 0, 0, 0, 2},
    {"TWalkman", "Пешеходная", Types({1}), 10, 1, 1, 3},
    {"TWalkmanGB", "Пешеходное ЗМ", Types({2}), 20, 2, -1, -1},
    {"TArrow", "Стрелка", Types({3}), 30, 3, 2, 5},
    {"TArrowGB", "Стрелка ЗМ", Types({9}), 35, 6, -1, -1},
    {"TTram", "Трамвайная", Types({4, 5, 6, 7}), 40, 4, 3, 6},
    {"TCall", "ТВП", Types({8}), 50, 5, -1, -1},
    {"TReverse2", "Реверсивная", Types({10}), 60, 7, 4, -1},
    {"TReverse3", "Реверсивная", Types({11}), 65, 8, 4, 9},
    {"TLedLight", "Светильник", Types({12}), 70, 9, 8, 10},
    {"TISS", "Информационная секция", Types({13}), 75, 10, 5, 11},
    {"TTableWait", "Табло \"Ждите\"", Types({14}), 80, 11, 6, 12},
    {"TTableGo", "Табло \"Идите\"", Types({15}), 85, 12, 7, 13},
}};

constexpr std::array<const char *, 9> kSigGroupTypeNames = {
    "Транспортное",          "Пешеходное",      "Стрелка",         "Трамвай",   "Реверсивное",
    "Информационная секция", "Табло \"Ждите\"", "Табло \"Идите\"", "Светильник"};
constexpr std::array<const char *, 9> kSigGroupTypeSuffixes = {"Т",  "П",  "С",  "Тр", "Р",
                                                               "Ис", "Тж", "Ти", "Св"};

} // namespace

const TrendTypeInfo &TrendType(int type)
{
    return kTrendTypes[type >= 0 && type < kTrendTypeCount ? type : 8];
}

const GroupKindInfo &KindInfo(GroupKind kind)
{
    return kKinds[static_cast<std::size_t>(kind)];
}

bool IsSlotValid(int type, int slot)
{
    return slot >= 0 && slot <= 15 && type >= 0 && type < kTrendTypeCount &&
           (kTrendTypes[type].validSlots & (1u << slot)) != 0;
}

const char *SigGroupTypeName(int sigGroupType)
{
    return sigGroupType >= 0 && sigGroupType < 9 ? kSigGroupTypeNames[sigGroupType] : "";
}

const char *SigGroupTypeSuffix(int sigGroupType)
{
    return sigGroupType >= 0 && sigGroupType < 9 ? kSigGroupTypeSuffixes[sigGroupType] : "";
}

bool HasOwnDirections(GroupKind kind)
{
    const int type = KindInfo(kind).sigGroupType;
    return type < 5 || type > 7;
}

GroupKind KindByTag(int tag)
{
    for (const TrendTypeInfo &type : kTrendTypes)
        if (KindInfo(type.kind).tag == tag)
            return type.kind;
    return GroupKind::Transport;
}

std::uint8_t LampSetOf(std::uint16_t trendTypes)
{
    std::uint8_t set = 0;
    for (int type = 0; type < kTrendTypeCount; ++type)
        if (trendTypes & (1u << type))
            set = static_cast<std::uint8_t>(set | kTrendTypes[type].lamps);
    return set;
}

bool AllowsRedMonitoring(int sigGroupType)
{
    return sigGroupType == 0 || sigGroupType == 2 || sigGroupType == 4;
}

bool AllowsGreenMonitoring(int sigGroupType)
{
    return sigGroupType >= 0 && sigGroupType <= 4;
}

} // namespace vantor
