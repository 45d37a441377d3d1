#include "controller/VantorConfig.h"

#include "models/VantorModels.h"

#include <QDateTime>
#include <QTimeZone>

#include <algorithm>

namespace vantor {

ConfigTimeZone SystemTimeZone()
{
    const QTimeZone zone = QTimeZone::systemTimeZone();
    const int offset = zone.isValid() ? zone.standardTimeOffset(QDateTime::currentDateTimeUtc()) / 60 : 0;
    const int magnitude = std::abs(offset);
    const QString name = QStringLiteral("(UTC%1%2:%3) %4")
                             .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                             .arg(magnitude / 60, 2, 10, QLatin1Char('0'))
                             .arg(magnitude % 60, 2, 10, QLatin1Char('0'))
                             .arg(QString::fromUtf8(zone.isValid() ? zone.id() : QByteArray("UTC")));
    return {offset, name.toStdString()};
}

TVantorConfig::TVantorConfig() = default;

TVantorConfig::~TVantorConfig()
{
    Clear();
}

void TVantorConfig::Clear()
{
    // Objects first: they refer to directions; groups before blocks: heads refer to
    // outputs.
    Objects.Clear();
    Groups.Clear();
    Blocks.Clear();
    Triggers.Clear();
    Tables.Clear();
}

// ---- signal groups ---------------------------------------------------------------------

TTrendGroup *TVantorConfig::AddGroup(GroupKind kind)
{
    TTrendGroup *group = Groups.Append(CreateTrendGroup(kind));
    Conflicts.Resize(DirectionCount());
    return group;
}

void TVantorConfig::DeleteGroup(TTrendGroup *group)
{
    if (!group || !Groups.Contains(group))
        return;
    for (TTrendGroup *other : Groups)
        if (!other->HasOwnDirections())
            for (TTrend *direction : group->Directions)
                other->RemoveDirectionRef(direction);
    for (TController *block : Blocks)
        for (TControllerOutput *output : block->Outputs)
            if (output->Owner == group)
                output->Owner = nullptr;

    std::vector<int> rows;
    if (group->HasOwnDirections()) {
        for (TTrend *direction : group->Directions) {
            for (TSOObject *object : Objects)
                object->RemoveDirection(direction);
            if (const int index = DirectionIndex(direction); index >= 0)
                rows.push_back(index);
        }
    }
    Groups.DeleteItem(group);
    Conflicts.RemoveDirections(rows);
    Conflicts.Resize(DirectionCount());
    for (TSOObject *object : Objects)
        object->SortDirections();
}

void TVantorConfig::SetHeadCount(TTrendGroup *group, int count)
{
    if (!group)
        return;
    group->SetHeadCount(count);
    CleanUpWiring(nullptr);
}

void TVantorConfig::ChangeHeadCount(TTrendGroup *group, int count)
{
    if (!group)
        return;
    count = std::max(count, 0);
    const int before = group->HeadCount();
    SetHeadCount(group, count);
    if (count < before) {
        if (group->AlarmCount >= count)
            group->AlarmCount = std::max(count - 1, 0);
        else if (group->AlarmCount > 0)
            --group->AlarmCount;
    }
}

void TVantorConfig::ChangeAlarmCount(TTrendGroup *group, int count)
{
    if (!group)
        return;
    group->AlarmCount = count < group->HeadCount() ? std::max(count, 0) : std::max(group->HeadCount() - 1, 0);
}

// ---- blocks ------------------------------------------------------------------------------

TController *TVantorConfig::AddBlock(const TVantorModel &model)
{
    // Connections name blocks by ID, so a new block never takes an ID another block
    // has (after a deletion the new count may be one of them).
    std::int32_t id = Blocks.Count() + 1;
    if (Blocks.FindById(id) != nullptr) {
        for (const TController *block : Blocks)
            id = std::max(id, block->ID);
        ++id;
    }
    return Blocks.Append(std::make_unique<TController>(model.Clone(), id, &Groups));
}

void TVantorConfig::DeleteBlock(TController *block)
{
    if (!block || !Blocks.Contains(block))
        return;
    for (TTrendGroup *group : Groups)
        for (TSemaphoreObject *head : group->Heads)
            for (int lamp = 0; lamp < kLampPositionCount; ++lamp)
                if (TControllerOutput *output = head->Output(lamp); output && output->Block == block)
                    head->SetOutput(lamp, nullptr);
    Blocks.DeleteItem(block);
}

// ---- wiring --------------------------------------------------------------------------------

namespace {

// The monitoring a freshly wired output gets from the lamp it feeds: red lamps red
// monitoring alone, green and tram lamps green monitoring alone, each only where the
// group's signal-group type allows it; the yellow lamp changes nothing.
void ApplyMonitoringDefaults(TControllerOutput &output, const TTrendGroup &group, int lampPos)
{
    const int type = group.SigGroupType();
    TVantorModelOutput &settings = *output.ModelOutput;
    if (lampPos == kLampRed || lampPos == kLampTramLower) {
        settings.RedControl = AllowsRedMonitoring(type);
        settings.GreenControl = false;
    } else if (lampPos >= kLampGreen && lampPos <= kLampTramRight) {
        settings.RedControl = false;
        settings.GreenControl = AllowsGreenMonitoring(type);
    }
}

} // namespace

void TVantorConfig::Wire(TSemaphoreObject *head, int lampPos, TControllerOutput *output)
{
    if (!head || !output || !head->HasLamp(lampPos))
        return;
    output->Owner = head->Group();
    head->SetOutput(lampPos, output);
    ApplyMonitoringDefaults(*output, *head->Group(), lampPos);
    CleanUpWiring(output);
}

void TVantorConfig::UnwireLamp(TSemaphoreObject *head, int lampPos)
{
    if (!head || !head->Output(lampPos))
        return;
    head->SetOutput(lampPos, nullptr);
    CleanUpWiring(nullptr);
}

void TVantorConfig::UnwireOutput(TControllerOutput *output)
{
    if (!output || !output->Owner)
        return;
    for (TSemaphoreObject *head : output->Owner->Heads)
        for (int lamp = 0; lamp < kLampPositionCount; ++lamp)
            if (head->Output(lamp) == output)
                head->SetOutput(lamp, nullptr);
    CleanUpWiring(nullptr);
}

bool TVantorConfig::WireHead(TSemaphoreObject *head, TControllerOutput *first)
{
    if (!head || !first || !first->Block)
        return false;
    const TController &block = *first->Block;
    const int start = block.Outputs.IndexOf(first);
    const int lamps = head->LampCount();
    if (start < 0 || start + lamps > block.Outputs.Count())
        return false;
    for (int i = 0; i < lamps; ++i)
        if (block.Outputs[start + i]->Owner)
            return false;
    int next = start;
    for (const TSemaphoreOut *lamp : head->Lamps) {
        TControllerOutput *output = block.Outputs[next++];
        output->Owner = head->Group();
        head->SetOutput(lamp->LampPos, output);
        ApplyMonitoringDefaults(*output, *head->Group(), lamp->LampPos);
        CleanUpWiring(output);
    }
    return true;
}

int TVantorConfig::OutputUseCount(const TControllerOutput *output) const
{
    if (!output || !output->Owner)
        return 0;
    int count = 0;
    for (const TSemaphoreObject *head : output->Owner->Heads)
        for (int lamp = 0; lamp < kLampPositionCount; ++lamp)
            count += head->Output(lamp) == output ? 1 : 0;
    return count;
}

void TVantorConfig::CleanUpWiring(TControllerOutput *wired)
{
    if (wired) {
        for (TTrendGroup *group : Groups) {
            if (group == wired->Owner)
                continue;
            for (TSemaphoreObject *head : group->Heads)
                for (int lamp = 0; lamp < kLampPositionCount; ++lamp)
                    if (head->Output(lamp) == wired)
                        head->SetOutput(lamp, nullptr);
        }
    }
    for (TController *block : Blocks)
        for (TControllerOutput *output : block->Outputs)
            if (output->Owner && OutputUseCount(output) == 0)
                output->Owner = nullptr;
}

// ---- triggers ------------------------------------------------------------------------------

TTrigger *TVantorConfig::AddTrigger()
{
    return Triggers.Append(std::make_unique<TTrigger>());
}

void TVantorConfig::DeleteTrigger(TTrigger *trigger)
{
    if (!trigger || !Triggers.Contains(trigger))
        return;
    for (TTrendGroup *group : Groups)
        group->RemoveTriggerRef(trigger);
    for (TSOObject *object : Objects)
        object->ForgetTrigger(trigger);
    Triggers.DeleteItem(trigger);
}

// ---- traffic-light objects -----------------------------------------------------------------

TSOObject *TVantorConfig::AddObject()
{
    return Objects.Append(std::make_unique<TSOObject>(&Groups));
}

TSOObject *TVantorConfig::NewObject()
{
    TSOObject *object = AddObject();
    object->Name = "Новый светофорный объект " + std::to_string(Objects.Count());
    object->RevurNumber = Objects.Count();
    object->Enabled = true;
    return object;
}

void TVantorConfig::DeleteObject(TSOObject *object)
{
    if (!object || !Objects.Contains(object))
        return;
    for (TTrend *direction : object->Directions)
        if (direction->SOObject == object)
            direction->SOObject = nullptr;
    Objects.DeleteItem(object);
}

} // namespace vantor
