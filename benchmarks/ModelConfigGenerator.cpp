#include "ModelConfigGenerator.h"

namespace vantor::bench {

namespace {

std::string N(int value)
{
    return std::to_string(value);
}

} // namespace

ModelConfigShape MaximalShape()
{
    ModelConfigShape shape;
    shape.directions = 255;
    shape.promtacts = 255;
    shape.triggers = 32;
    shape.objects = 32;
    shape.directionsPerObject = 8;
    shape.phases = 64;
    shape.cycles = 64;
    shape.stepsPerCycle = 8;
    return shape;
}

std::string GenerateModelConfig(const ModelConfigShape &shape)
{
    std::string t;
    t.reserve(1 << 20);
    t += R"({"n":"Нагрузочная конфигурация","en":true,"ver":1,"date":"01-01-2026","geo":{"tz":180,)"
         R"("tzname":"(UTC+03:00) Europe/Moscow","auto":true,"lat":55.75,"long":37.61,"day_bright":100,)"
         R"("night_bright":40,"night_horizon":-6},"outs_controls":[],"blocks":[],"sig_group_types":[)"
         R"({"n":"Транспортная","type":1,"in_length":1,"out":[1,0,0],"states":[)"
         R"({"n":"Красный","in":[1],"out":[1,0,0]},{"n":"Зеленый","in":[2],"out":[0,0,1]},)"
         R"({"n":"Зеленый с конфликтом","in":[3],"out":[0,0,1]},{"n":"ЗМ","in":[4],"out":[0,0,2]},)"
         R"({"n":"Желтый","in":[5],"out":[0,1,0]},{"n":"Красно-желтый","in":[6],"out":[1,1,0]},)"
         R"({"n":"спецрежим КК","in":[-3],"out":[1,0,0]},{"n":"спецрежим ЖМ","in":[-2],"out":[0,2,0]},)"
         R"({"n":"спецрежим ОС","in":[-1],"out":[0,0,0]}]}],"connects":[],"semaphores":[],"promtacts":[)";
    for (int i = 0; i < shape.promtacts; ++i) {
        t += i ? "," : "";
        if (i % 2 == 0)
            t += R"({"n":"З-К Транспортная","type":1,"tacts":[{"sec":6,"val":4},{"sec":3,"val":5}]})";
        else
            t += R"({"n":"К-3 Транспортная","type":2,"tacts":[{"sec":2,"val":6}]})";
    }
    t += R"(],"dirs":{"TminG":10,"TminR":3,"Takk":4,"at":[)";
    for (int d = 1; d <= shape.directions; ++d) {
        t += d > 1 ? "," : "";
        t += R"({"n":"Направление )" + N(d) + R"(","type":1,"geo":{},"prior":)" + N(d % 4);
        if (shape.promtacts >= 2)
            t += R"(,"G2R":1,"R2G":2)";
        t += R"(,"conflicts":[)";
        bool first = true;
        for (int o = 1; o <= shape.directions; ++o) {
            if (o == d || (!shape.fullConflicts && (o + d) % 2 == 0))
                continue;
            t += first ? "" : ",";
            first = false;
            t += "[" + N(o % 2 ? 10 : 5) + "," + N(o) + ",3]";
        }
        t += "]}";
    }
    t += R"(]},"sig_groups":[)";
    for (int d = 1; d <= shape.directions; ++d) {
        t += d > 1 ? "," : "";
        t += R"({"n":"Группа )" + N(d) + R"(","ti":1,"conns_alarm_count":0,"semaphores":[],"dirs":[)" + N(d) +
             R"(],"conns":[]})";
    }
    t += R"(],"triggers":[)";
    for (int k = 1; k <= shape.triggers; ++k) {
        t += k > 1 ? "," : "";
        t += R"({"n":"Триггер )" + N(k) + R"(","log":0,"not":false,"args":[[1,1,)" + N(k) +
             R"(,false,true,false,false,false,false]],"res":{"src":11,"args":[)" + N(k) + "]}}";
    }
    t += R"(],"sos":[)";
    for (int s = 0; s < shape.objects; ++s) {
        t += s ? "," : "";
        t += R"({"en":true,"n":"Объект )" + N(s + 1) + R"(","revur_num":)" + N(s + 1) + R"(,"dirs":[)";
        for (int k = 0; k < shape.directionsPerObject; ++k)
            t += (k ? "," : "") + N((s * shape.directionsPerObject + k) % shape.directions + 1);
        t += R"(],"enter":["year",1],"phases":[)";
        for (int p = 1; p <= shape.phases; ++p) {
            t += p > 1 ? "," : "";
            t += R"({"n":"Фаза )" + N(p) + R"(","i":)" + N(p) + R"(,"Tmin":10,"Takk":4,"m":[)";
            for (int k = 0; k < shape.directionsPerObject; ++k) {
                const bool green = k % shape.phases == (p - 1) % shape.directionsPerObject;
                t += std::string(k ? "," : "") + "[" + (green ? "2" : "1") + ",0,0," + N(k % 9) + "," +
                     N(shape.triggers ? k % shape.triggers + 1 : 0) + ",0]";
            }
            t += "]}";
        }
        t += R"(],"cycles":[)";
        for (int c = 1; c <= shape.cycles; ++c) {
            const bool fixed = c % 2 == 1;
            t += c > 1 ? "," : "";
            t += R"({"n":"Цикл )" + N(c) + R"(","i":)" + N(c) + R"(,"T":)" + N(fixed ? 20 * shape.stepsPerCycle : 0) +
                 R"(,"offset":0,"m":[)";
            for (int k = 0; k < shape.stepsPerCycle; ++k) {
                t += std::string(k ? "," : "") + "[" + N(k % shape.phases + 1) + "," + N(fixed ? 20 * k : 20) +
                     ",0,0," + N(k % 6) + "," + N(shape.triggers ? k % shape.triggers + 1 : 0) + "]";
            }
            t += "]}";
        }
        t += R"(],"day_plans":[{"n":"Сут. план 1","i":1,"m":[[6,0,"cycle",1],[22,0,"cycle",2]]}],)"
             R"("week_plans":[{"n":"Нед. план 1","i":1,"m":[[1,"day",1],[6,"cycle",2]]}],)"
             R"("year_plans":[{"n":"Год. план 1","i":1,"m":[[1,1,"week",1]]}]})";
    }
    t += "]}";
    return t;
}

} // namespace vantor::bench
