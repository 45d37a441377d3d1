#include "ExampleConfigs.h"

#include "controller/VantorConfig.h"
#include "models/VantorModels.h"

#include <stdexcept>

namespace vantor {
namespace {

const TVantorModel &RequireModel(int id)
{
    const TVantorModel *model = FindModelById(id);
    if (!model)
        throw std::runtime_error("block model " + std::to_string(id) + " is not loaded");
    return *model;
}

void SetTarget(TPlanTarget &entry, TVantorObject *target, RefKind kind)
{
    entry.Target = target;
    entry.TargetKind = kind;
}

// Monitoring thresholds of an incandescent or LED signal lamp output.
void SetLampThresholds(TControllerOutput &output, double watts)
{
    TVantorModelOutput &settings = *output.ModelOutput;
    settings.Power = watts;
    settings.IShort = 2.5;
    settings.IOn = 0.08;
    settings.IOff = 0.02;
    settings.UOn = 180;
    settings.UOff = 60;
}

void SetSymmetric(TConflictMatrix &matrix, int a, int b, std::uint8_t relation, int seconds)
{
    matrix.SetRelation(a, b, relation);
    matrix.SetRelation(b, a, relation);
    matrix.SetTime(a, b, seconds);
    matrix.SetTime(b, a, seconds);
}

TDayPlanItem *AddDayEntry(TDayPlan &plan, int hour, int minute, TVantorObject *target, RefKind kind)
{
    TDayPlanItem *entry = plan.Items.Append(std::make_unique<TDayPlanItem>());
    entry->Minutes = static_cast<std::uint16_t>(hour * 60 + minute);
    SetTarget(*entry, target, kind);
    return entry;
}

TYearPlanItem *AddYearEntry(TYearPlan &plan, int month, int day, TVantorObject *target, RefKind kind)
{
    TYearPlanItem *entry = plan.Items.Append(std::make_unique<TYearPlanItem>());
    entry->Month = static_cast<std::uint8_t>(month);
    entry->Day = static_cast<std::uint8_t>(day);
    SetTarget(*entry, target, kind);
    return entry;
}

const std::vector<std::string> kCrossroadScheme = {
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="350" height="350" viewBox="0 0 350 350">)",
    R"(  <rect width="350" height="350" fill="#d8e8c8"/>)",
    R"(  <rect x="0" y="135" width="350" height="80" fill="#5a5a5a"/>)",
    R"(  <rect x="135" y="0" width="80" height="350" fill="#5a5a5a"/>)",
    R"(  <line x1="0" y1="175" x2="125" y2="175" stroke="#ffffff" stroke-width="2" stroke-dasharray="12,8"/>)",
    R"(  <line x1="225" y1="175" x2="350" y2="175" stroke="#ffffff" stroke-width="2" stroke-dasharray="12,8"/>)",
    R"(  <line x1="170" y1="0" x2="170" y2="350" stroke="#b08040" stroke-width="3"/>)",
    R"(  <line x1="180" y1="0" x2="180" y2="350" stroke="#b08040" stroke-width="3"/>)",
    R"(  <g fill="#ffffff">)",
    R"(    <rect x="110" y="140" width="20" height="6"/><rect x="110" y="156" width="20" height="6"/>)",
    R"(    <rect x="110" y="172" width="20" height="6"/><rect x="110" y="188" width="20" height="6"/>)",
    R"(    <rect x="140" y="110" width="6" height="20"/><rect x="156" y="110" width="6" height="20"/>)",
    R"(    <rect x="188" y="110" width="6" height="20"/><rect x="204" y="110" width="6" height="20"/>)",
    R"(  </g>)",
    R"(  <text x="8" y="128" font-family="sans-serif" font-size="13" fill="#202020">ул. Ленина</text>)",
    R"(  <text x="222" y="20" font-family="sans-serif" font-size="13" fill="#202020">пр. Мира</text>)",
    R"(  <circle cx="125" cy="225" r="6" fill="#d02020"/><circle cx="225" cy="125" r="6" fill="#20a020"/>)",
    R"(</svg>)",
};

} // namespace

void BuildCrossroad(TVantorConfig &config)
{
    config.Clear();
    config.Name = "Ленина — Мира";
    config.Enabled = true;
    config.TimeZone = {180, "(UTC+03:00) Europe/Moscow"};
    config.AutoLocation = false;
    config.Latitude = 55.751244;
    config.Longitude = 37.618423;
    config.DayBrightness = 100;
    config.NightBrightness = 40;
    config.HorizonAngle = -6;
    config.Scheme = kCrossroadScheme;
    config.TMinG = 12;
    config.TMinR = 5;
    config.Takk = 3;
    config.Conflicts.Resize(0);

    // Signal groups and their directions (numbers 1 to 8).
    TTrendGroup *lenina = config.AddGroup(GroupKind::Transport); // 1
    lenina->Name = "Ленина, прямо";
    config.SetHeadCount(lenina, 2);
    TTrendGroup *mira = config.AddGroup(GroupKind::Transport); // 2
    mira->Name = "Мира, прямо";
    config.SetHeadCount(mira, 2);
    TTrendGroup *turn = config.AddGroup(GroupKind::Arrow); // 3
    turn->Name = "Ленина, налево";
    TTrendGroup *crossMira = config.AddGroup(GroupKind::Walkman); // 4
    crossMira->Name = "Переход через пр. Мира";
    config.SetHeadCount(crossMira, 2);
    crossMira->AlarmCount = 1;
    TTrendGroup *crossLenina = config.AddGroup(GroupKind::Walkman); // 5
    crossLenina->Name = "Переход через ул. Ленина";
    config.SetHeadCount(crossLenina, 2);
    crossLenina->AlarmCount = 1;
    TTrendGroup *tram = config.AddGroup(GroupKind::Tram); // 6 (left), 7 (straight), 8 (right)
    tram->Name = "Трамвай по пр. Мира";
    TTrendGroup *info = config.AddGroup(GroupKind::ISS);
    info->Name = "Обратный отсчёт для пешеходов";

    TTrend *dLenina = lenina->Directions[0];
    TTrend *dMira = mira->Directions[0];
    TTrend *dTurn = turn->Directions[0];
    TTrend *dCrossMira = crossMira->Directions[0];
    TTrend *dCrossLenina = crossLenina->Directions[0];
    TTrend *dTramLeft = tram->Directions[0];
    TTrend *dTramStraight = tram->Directions[1];
    TTrend *dTramRight = tram->Directions[2];

    dLenina->Name = "Ленина в центр и из центра";
    dMira->Name = "Мира в обе стороны";
    dTurn->Name = "С Ленина на Мира";
    dCrossMira->Name = "Пешеходы через Мира";
    dCrossLenina->Name = "Пешеходы через Ленина";
    dTramLeft->Name = "Трамвай налево";
    dTramStraight->Name = "Трамвай прямо";
    dTramRight->Name = "Трамвай направо";
    for (TTrend *d : {dLenina, dMira, dTurn}) {
        d->SetSlot(kSlotGreenFlashing, 3);
        d->SetSlot(kSlotYellow, 3);
        d->SetSlot(kSlotRedYellow, 2);
    }
    dMira->SetSlot(kSlotYellow, 4); // the wider avenue clears longer
    dLenina->Prior = 2;
    for (TTrend *d : {dCrossMira, dCrossLenina})
        d->SetSlot(kSlotGreenFlashing, 4);
    dCrossLenina->TMinG = 8;
    for (TTrend *d : {dTramLeft, dTramStraight, dTramRight}) {
        d->SetSlot(kSlotEarlyRed, 2);
        d->Prior = 3;
    }
    dTramStraight->Takk = 5;

    // Conflicts: everything conflicts (3 s clearance) except the pairs below.
    TConflictMatrix &matrix = config.Conflicts;
    for (int a = 0; a < 8; ++a)
        for (int b = 0; b < 8; ++b)
            matrix.SetTime(a, b, 3);
    auto index = [&config](const TTrend *d) { return config.DirectionIndex(d); };
    for (const TTrend *walk : {dCrossMira, dCrossLenina})
        for (int other = 0; other < 8; ++other)
            if (other != index(walk)) {
                matrix.SetTime(index(walk), other, 5);
                matrix.SetTime(other, index(walk), 4);
            }
    SetSymmetric(matrix, index(dLenina), index(dTurn), 0, 0);
    SetSymmetric(matrix, index(dLenina), index(dCrossMira), 0, 0);
    SetSymmetric(matrix, index(dMira), index(dCrossLenina), 0, 0);
    SetSymmetric(matrix, index(dMira), index(dTramStraight), 0, 0);
    SetSymmetric(matrix, index(dTurn), index(dCrossMira), 5, 4);
    for (const TTrend *t : {dTramLeft, dTramStraight, dTramRight}) {
        SetSymmetric(matrix, index(dCrossLenina), index(t), 0, 0);
        for (const TTrend *u : {dTramLeft, dTramStraight, dTramRight})
            if (t != u)
                SetSymmetric(matrix, index(t), index(u), 0, 0);
    }

    // Blocks: a 24-output power block for the streets, a 12-output one for the tram.
    TController *main = config.AddBlock(RequireModel(16));
    main->Name = "Силовой блок, шкаф 1";
    TController *second = config.AddBlock(RequireModel(17));
    second->Name = "Силовой блок трамвайных светофоров";
    auto out = [](TController *block, int index) { return block->Output(index); };

    config.WireHead(lenina->Heads[0], out(main, 0)); // channel 1
    config.WireHead(lenina->Heads[1], out(main, 3)); // channel 2
    config.WireHead(mira->Heads[0], out(main, 6));   // channel 3
    for (int lamp : {kLampRed, kLampYellow, kLampGreen})
        config.Wire(mira->Heads[1], lamp, out(main, 6 + lamp)); // in parallel with the first head
    config.WireHead(turn->Heads[0], out(main, 9));              // channel 4
    for (TSemaphoreObject *head : crossMira->Heads) {
        config.Wire(head, kLampRed, out(main, 12));   // 5к
        config.Wire(head, kLampGreen, out(main, 14)); // 5з
    }
    for (TSemaphoreObject *head : crossLenina->Heads) {
        config.Wire(head, kLampRed, out(main, 15));   // 6к
        config.Wire(head, kLampGreen, out(main, 17)); // 6з
    }
    config.Wire(info->Heads[0], kLampGreen, out(main, 20)); // 7з
    config.WireHead(tram->Heads[0], out(second, 0));
    for (TController *block : {main, second})
        for (TControllerOutput *output : block->Outputs)
            if (output->Owner)
                SetLampThresholds(*output, output->Owner->Kind() == GroupKind::Walkman ? 40 : 60);
    out(main, 20)->ModelOutput->Power = -3; // the countdown display is switched, not monitored
    out(main, 20)->ModelOutput->DayBright = 100;
    out(main, 20)->ModelOutput->NightBright = 50;

    // Triggers: the pedestrian push buttons and the tram detector.
    TTrigger *button = config.AddTrigger();
    button->Name = "Кнопки вызова, переход через Ленина";
    button->Log = 1;         // ИЛИ
    button->ResetEvent = 10; // "Старт зеленого"
    button->ResetArg1 = index(dCrossLenina) + 1;
    for (int detector : {1, 2}) {
        TTriggerItem *arg = button->AddArgument();
        arg->Source = 1; // block
        arg->BlockNumber = main->ID;
        arg->DetectorNumber = detector;
    }
    TTrigger *tramCall = config.AddTrigger();
    tramCall->Name = "Трамвай на подходе";
    tramCall->ResetEvent = 17; // "Конец фазы"
    tramCall->ResetArg1 = 1;   // object
    tramCall->ResetArg2 = 4;   // phase
    TTriggerItem *loop = tramCall->AddArgument();
    loop->Source = 1;
    loop->BlockNumber = second->ID;
    loop->DetectorNumber = 1;
    loop->Faulty = false;

    info->AddDirectionRef(dCrossLenina);
    info->AddTriggerRef(button);

    // The traffic-light object and its timing.
    TSOObject *object = config.NewObject();
    object->Name = "Перекрёсток Ленина — Мира";
    for (int i = 0; i < config.DirectionCount(); ++i)
        object->AddDirection(config.Direction(i));
    auto entry = [&](TPhaseSO *phase, const TTrend *d) {
        return phase->Entries[object->Directions.IndexOf(d)];
    };
    auto green = [&](TPhaseSO *phase, std::initializer_list<const TTrend *> directions) {
        for (const TTrend *d : directions)
            entry(phase, d)->State = 2;
    };
    TPhaseSO *f1 = object->NewPhase();
    f1->Name = "Ленина";
    green(f1, {dLenina, dCrossMira});
    TPhaseSO *f2 = object->NewPhase();
    f2->Name = "Ленина и поворот";
    f2->Tmin = 8;
    green(f2, {dLenina, dTurn});
    TPhaseSO *f3 = object->NewPhase();
    f3->Name = "Мира";
    green(f3, {dMira, dCrossLenina, dTramStraight});
    entry(f3, dCrossLenina)->Algorithm = 2; // "Старт зеленого"
    entry(f3, dCrossLenina)->Trigger = button;
    entry(f3, dCrossLenina)->Tmin = 10;
    TPhaseSO *f4 = object->NewPhase();
    f4->Name = "Трамвай";
    f4->Tmin = 10;
    green(f4, {dTramLeft, dTramStraight, dTramRight, dCrossLenina});
    entry(f4, dTramLeft)->Priority = 1;

    TCycle *daily = object->NewCycle();
    daily->Name = "Дневной";
    for (auto [phase, seconds] : {std::pair{f1, 30}, {f2, 10}, {f3, 25}, {f4, 20}}) {
        TCycleItem *step = daily->AddStep();
        step->Phase = phase;
        step->Duration = static_cast<std::uint16_t>(seconds);
    }
    daily->Steps[3]->Algorithm = 1; // "Включить": only while a tram is coming
    daily->Steps[3]->Trigger = tramCall;
    TCycle *peak = object->NewCycle();
    peak->Name = "Час пик, КУ";
    peak->Coordinated = true;
    peak->Offset = 12;
    for (auto [phase, seconds] : {std::pair{f1, 35}, {f2, 10}, {f3, 25}, {f4, 10}}) {
        TCycleItem *step = peak->AddStep();
        step->Phase = phase;
        step->Duration = static_cast<std::uint16_t>(seconds);
        step->Tmin = 8;
    }

    TCycle *flashing = object->FindCycle(-2);
    TDayPlan *workday = object->NewDayPlan();
    workday->Name = "Будни";
    AddDayEntry(*workday, 6, 0, peak, kRefCycle);
    AddDayEntry(*workday, 10, 0, daily, kRefCycle);
    AddDayEntry(*workday, 16, 30, peak, kRefCycle);
    AddDayEntry(*workday, 20, 0, daily, kRefCycle);
    AddDayEntry(*workday, 23, 30, flashing, kRefCycle);
    TDayPlan *weekend = object->NewDayPlan();
    weekend->Name = "Выходные";
    TDayPlanItem *sunrise = AddDayEntry(*weekend, 0, 0, daily, kRefCycle);
    sunrise->SwitchKind = TDayPlanItem::kAtSunrise;
    TDayPlanItem *sunset = AddDayEntry(*weekend, 0, 0, flashing, kRefCycle);
    sunset->SwitchKind = TDayPlanItem::kAtSunset;
    sunset->Angle = -6;

    TWeekPlan *week = object->NewWeekPlan();
    week->Name = "Обычная неделя";
    for (int day = 0; day < 7; ++day) {
        TWeekPlanItem *item = week->AddItem();
        item->Day = static_cast<std::uint8_t>(day);
        SetTarget(*item, day < 5 ? workday : weekend, kRefDayPlan);
    }
    TYearPlan *year = object->NewYearPlan();
    year->Name = "Праздники";
    AddYearEntry(*year, 1, 1, weekend, kRefDayPlan);
    AddYearEntry(*year, 1, 9, week, kRefWeekPlan);
    AddYearEntry(*year, 5, 9, weekend, kRefDayPlan);
    AddYearEntry(*year, 5, 10, week, kRefWeekPlan);
    object->SetEntry(kRefYearPlan, year);
}

void BuildLargeConfig(TVantorConfig &config, const TVantorModel &blockModel)
{
    config.Clear();
    config.Name = "Большая конфигурация";
    config.TimeZone = {300, "(UTC+05:00) Asia/Yekaterinburg"};
    config.Conflicts.Resize(0);
    constexpr int kGroups = 64;
    constexpr int kBlocks = 8;
    constexpr int kObjects = 8;
    for (int g = 0; g < kGroups; ++g) {
        TTrendGroup *group = config.AddGroup(g % 4 == 3 ? GroupKind::Walkman : GroupKind::Transport);
        group->Name = "Группа " + std::to_string(g + 1);
        TTrend *d = group->Directions[0];
        d->Name = "Направление " + std::to_string(g + 1);
        d->Prior = static_cast<std::uint16_t>(g % 5);
        d->SetSlot(kSlotGreenFlashing, 3 + g % 3);
        d->SetSlot(kSlotYellow, 3);
        d->SetSlot(kSlotRedYellow, 2);
        d->TMinG = static_cast<std::uint16_t>(g % 7 == 0 ? 20 : 0);
    }
    for (int b = 0; b < kBlocks; ++b)
        config.AddBlock(blockModel);
    int block = 0;
    int next = 0;
    for (TTrendGroup *group : config.Groups) {
        TSemaphoreObject *head = group->Heads[0];
        if (next + head->LampCount() > config.Blocks[block]->Outputs.Count()) {
            block = (block + 1) % kBlocks;
            next = 0;
        }
        for (const TSemaphoreOut *lamp : head->Lamps) {
            TControllerOutput *output = config.Blocks[block]->Output(next++);
            config.Wire(head, lamp->LampPos, output);
            SetLampThresholds(*output, 40 + lamp->LampPos * 10);
        }
    }
    const int directions = config.DirectionCount();
    for (int a = 0; a < directions; ++a)
        for (int b = 0; b < directions; ++b) {
            const int mix = (a * 31 + b * 17) % 10;
            config.Conflicts.SetRelation(a, b, static_cast<std::uint8_t>(mix < 4 ? 0 : mix < 6 ? 5 : 10));
            config.Conflicts.SetTime(a, b, 2 + (a + b) % 4);
        }
    for (int t = 0; t < 16; ++t) {
        TTrigger *trigger = config.AddTrigger();
        trigger->Name = "Триггер " + std::to_string(t + 1);
        trigger->ResetEvent = static_cast<std::uint8_t>(t % 18);
        trigger->ResetArg1 = t % 8 + 1;
        trigger->ResetArg2 = t % 3;
        for (int a = 0; a < 3; ++a) {
            TTriggerItem *arg = trigger->AddArgument();
            arg->Source = 1;
            arg->BlockNumber = a + 1;
            arg->DetectorNumber = t;
        }
    }
    for (int o = 0; o < kObjects; ++o) {
        TSOObject *object = config.NewObject();
        for (int k = 0; k < directions / kObjects; ++k)
            object->AddDirection(config.Direction(o * (directions / kObjects) + k));
        for (int p = 0; p < 32; ++p) {
            TPhaseSO *phase = object->NewPhase();
            for (int e = 0; e < phase->Entries.Count(); ++e) {
                TPhaseSOItem *entry = phase->Entries[e];
                entry->State = static_cast<std::int8_t>((p + e) % 3 == 0 ? 2 : 1);
                entry->Tmin = static_cast<std::uint16_t>((p * e) % 9);
                entry->Algorithm = static_cast<std::uint8_t>((p + e) % 9);
                entry->Trigger = (p + e) % 5 == 0 ? config.Triggers[(p + e) % 16] : nullptr;
            }
        }
        for (int c = 0; c < 16; ++c) {
            TCycle *cycle = object->NewCycle();
            cycle->Coordinated = c % 2 == 1;
            cycle->Offset = c * 7 - 20;
            for (int s = 0; s < 8; ++s) {
                TCycleItem *step = cycle->AddStep();
                step->Phase = object->Phases[(c + s) % 32];
                step->Duration = static_cast<std::uint16_t>(10 + (c + s) % 20);
                step->Algorithm = static_cast<std::uint8_t>(s % 6);
                step->Trigger = s == 3 ? config.Triggers[c % 16] : nullptr;
            }
        }
        for (int d = 0; d < 4; ++d) {
            TDayPlan *plan = object->NewDayPlan();
            for (int e = 0; e < 8; ++e)
                AddDayEntry(*plan, e * 3, 15 * (e % 4), object->Cycles[(d + e) % 16], kRefCycle);
        }
        for (int w = 0; w < 2; ++w) {
            TWeekPlan *plan = object->NewWeekPlan();
            for (int day = 0; day < 7; ++day) {
                TWeekPlanItem *item = plan->AddItem();
                item->Day = static_cast<std::uint8_t>(day);
                SetTarget(*item, object->DayPlans[(w + day) % 4], kRefDayPlan);
            }
        }
        for (int y = 0; y < 2; ++y) {
            TYearPlan *plan = object->NewYearPlan();
            for (int e = 0; e < 20; ++e)
                AddYearEntry(*plan, e % 12 + 1, e / 12 * 10 + 1 + y, object->WeekPlans[e % 2], kRefWeekPlan);
        }
        object->SetEntry(kRefYearPlan, object->YearPlans[0]);
    }
}

} // namespace vantor
