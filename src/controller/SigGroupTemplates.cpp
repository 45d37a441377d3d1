#include "controller/SigGroupTemplates.h"

#include <array>

namespace vantor {
namespace {

constexpr const char *kTransportStates =
    R"([{"n":"Красный","in":[1],"out":[1,0,0]},)"
    R"({"n":"Зеленый","in":[2],"out":[0,0,1]},)"
    R"({"n":"Зеленый с конфликтом","in":[3],"out":[0,0,1]},)"
    R"({"n":"ЗМ","in":[4],"out":[0,0,2]},)"
    R"({"n":"Желтый","in":[5],"out":[0,1,0]},)"
    R"({"n":"Красно-желтый","in":[6],"out":[1,1,0]},)"
    R"({"n":"спецрежим КК, наличие не обязательно если совпадает с сигналами по-умолчанию","in":[-3],"out":[1,0,0]},)"
    R"({"n":"спецрежим ЖМ","in":[-2],"out":[0,2,0]},)"
    R"({"n":"спецрежим ОС, наличие этого состояния можно не описывать, оно аппартно однозначно выключает всё","in":[-1],"out":[0,0,0]}])";

std::array<json::Json, 9> MakeTemplates()
{
    const std::string transportStates = kTransportStates;
    const std::array<std::string, 9> texts = {
        R"({"n":"Транспортная","type":1,"in_length":1,"out":[1,0,0],"states":)" + transportStates + "}",
        R"({"n":"Пешеходная","type":2,"in_length":1,"out":[1,0],"states":[)"
        R"({"n":"Красный","in":[1],"out":[1,0]},)"
        R"({"n":"Зеленый","in":[2],"out":[0,1]},)"
        R"({"n":"Зеленый с конфликтом","in":[3],"out":[0,2]},)"
        R"({"n":"ЗМ","in":[4],"out":[0,2]},)"
        R"({"n":"спецрежим ЖМ","in":[-2],"out":[0,0]}]})",
        "", // the arrow uses the transport definition
        R"({"n":"Трамвайник","type":4,"in_length":3,"out":[1,1,1,0],"states":[)"
        R"({"in":[1,1,1],"out":[1,1,1,0]},{"in":[1,1,2],"out":[0,0,1,1]},{"in":[1,2,1],"out":[0,1,0,1]},)"
        R"({"in":[1,2,2],"out":[0,1,1,1]},{"in":[2,1,1],"out":[1,0,0,1]},{"in":[2,1,2],"out":[1,0,1,1]},)"
        R"({"in":[2,2,1],"out":[1,1,0,1]},{"in":[2,2,2],"out":[1,1,1,1]},{"in":[-2,-2,-2],"out":[0,0,0,0]}]})",
        R"({"n":"Реверсивная","type":5,"in_length":1,"out":[1,0,0],"states":)" + transportStates + "}",
        R"({"n":"ИС","type":8,"in_length":2,"out":[0],"states":[{"in":[[2,6],[2,4]],"out":[3]}]})",
        R"({"n":"Табло ЖДИТЕ","type":6,"in_length":1,"out":[0],"states":[{"in":[1],"out":[1]}]})",
        R"({"n":"Табло ИДИТЕ","type":7,"in_length":1,"out":[0],"states":[{"in":[2],"out":[1]},{"in":[3],"out":[2]}]})",
        R"({"n":"Светильник","type":9,"in_length":1,"out":[0],"states":[{"in":[2],"out":[1]}]})",
    };
    std::array<json::Json, 9> templates;
    for (std::size_t i = 0; i < texts.size(); ++i)
        templates[i] = i == 2 ? *json::Parse(texts[0]) : *json::Parse(texts[i]);
    return templates;
}

constexpr std::array<int, kTrendTypeCount> kTypeToFile = {1, 2, 0, 3, 4, 5, 6, 0, 0, 0, 0, 7, 9, 8, 10, 11};

} // namespace

const json::Json &SigGroupTypeTemplate(int sigGroupType)
{
    static const std::array<json::Json, 9> templates = MakeTemplates();
    static const json::Json none;
    return sigGroupType >= 0 && sigGroupType < 9 ? templates[static_cast<std::size_t>(sigGroupType)] : none;
}

GroupKind KindForTemplateType(long long fileType)
{
    switch (fileType) {
    case 2: return GroupKind::Walkman;
    case 4: return GroupKind::Tram;
    case 5: return GroupKind::Reverse3;
    case 6: return GroupKind::TableWait;
    case 7: return GroupKind::TableGo;
    case 8: return GroupKind::ISS;
    case 9: return GroupKind::LedLight;
    default: return GroupKind::Transport;
    }
}

int DirectionTypeToFile(int trendType)
{
    return trendType >= 0 && trendType < kTrendTypeCount ? kTypeToFile[static_cast<std::size_t>(trendType)]
                                                         : 0;
}

int DirectionTypeFromFile(long long fileType)
{
    for (int type = 0; type < kTrendTypeCount; ++type)
        if (kTypeToFile[static_cast<std::size_t>(type)] != 0 &&
            kTypeToFile[static_cast<std::size_t>(type)] == fileType)
            return type;
    return 8;
}

} // namespace vantor
