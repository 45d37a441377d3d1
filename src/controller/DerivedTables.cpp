#include "controller/DerivedTables.h"

#include "controller/Controllers.h"
#include "controller/Trends.h"
#include "models/VantorModels.h"

#include <algorithm>

namespace vantor {
namespace {

constexpr std::array<int, 4> kGreenToRedSlots = {kSlotLateGreen, kSlotGreenFlashing, kSlotYellow,
                                                 kSlotEarlyRed};
constexpr std::array<int, 3> kRedToGreenSlots = {kSlotLateRed, kSlotRedYellow, kSlotEarlyGreen};

template <class SlotList>
bool SameSlots(const TPromTact &program, const TTrend &direction, const SlotList &slotList)
{
    for (const int slot : slotList)
        if (program.Slots[static_cast<std::size_t>(slot)] != direction.Slot(slot))
            return false;
    return true;
}

template <class SlotList>
bool AnySlotSet(const TTrend &direction, const SlotList &slotList)
{
    for (const int slot : slotList)
        if (direction.Slot(slot) != 0)
            return true;
    return false;
}

// A head already in the table is wired like `head` on every lamp it has.
bool SameWiring(const TSemaphoreObject &tableHead, const TSemaphoreObject &head)
{
    for (int lamp = 0; lamp < kLampPositionCount; ++lamp)
        if (tableHead.HasLamp(lamp) && tableHead.Output(lamp) != head.Output(lamp))
            return false;
    return true;
}

} // namespace

TOutputRec TOutputRec::Of(const TVantorModelOutput &output)
{
    TOutputRec record;
    record.Red = output.RedControl;
    record.Green = output.GreenControl;
    record.IOff = output.IOff;
    record.IOn = output.IOn;
    record.UOff = output.UOff;
    record.UOn = output.UOn;
    record.IShort = output.IShort;
    return record;
}

std::unique_ptr<TPromTact> TPromTact::FromDirection(const TTrend &direction, bool greenToRed)
{
    auto program = std::make_unique<TPromTact>();
    program->Direction = &direction;
    if (greenToRed)
        for (const int slot : kGreenToRedSlots)
            program->Slots[static_cast<std::size_t>(slot)] = direction.Slot(slot);
    else
        for (const int slot : kRedToGreenSlots)
            program->Slots[static_cast<std::size_t>(slot)] = direction.Slot(slot);
    return program;
}

int TPromTact::DirectionType() const
{
    return Direction ? Direction->Type() : -1;
}

void DerivedTables::Clear()
{
    OutputControls.clear();
    Connections.clear();
    Programs.clear();
    SigGroupTypes.clear();
}

void DerivedTables::BuildOutputControls(const TControllerList &blocks)
{
    OutputControls.clear();
    for (const TController *block : blocks)
        for (const TControllerOutput *output : block->Outputs) {
            const TOutputRec record = TOutputRec::Of(*output->ModelOutput);
            if (std::find(OutputControls.begin(), OutputControls.end(), record) == OutputControls.end())
                OutputControls.push_back(record);
        }
}

int DerivedTables::FindOutputControl(const TVantorModelOutput &output) const
{
    const auto it = std::find(OutputControls.begin(), OutputControls.end(), TOutputRec::Of(output));
    return it == OutputControls.end() ? -1 : static_cast<int>(it - OutputControls.begin()) + 1;
}

void DerivedTables::BuildConnections(const TTrendGroupList &groups)
{
    Connections.clear();
    for (const TTrendGroup *group : groups)
        for (const TSemaphoreObject *head : group->Heads) {
            if (!head->HasAnyOutput())
                continue;
            const bool known = std::any_of(Connections.begin(), Connections.end(), [head](const auto *entry) {
                return entry->TypeSet() == head->TypeSet() && SameWiring(*entry, *head);
            });
            if (!known)
                Connections.push_back(head);
        }
}

int DerivedTables::FindConnection(const TSemaphoreObject &head) const
{
    if (!head.HasAnyOutput())
        return 0;
    for (std::size_t i = 0; i < Connections.size(); ++i)
        if (Connections[i]->LampSet() == head.LampSet() && SameWiring(*Connections[i], head))
            return static_cast<int>(i) + 1;
    return 0;
}

void DerivedTables::BuildPrograms(const TTrendGroupList &groups)
{
    Programs.clear();
    for (const TTrendGroup *group : groups) {
        if (!group->HasOwnDirections())
            continue;
        for (const bool greenToRed : {true, false}) {
            for (const TTrend *direction : group->Directions) {
                if (!direction->IsDirection() || !direction->HasTiming())
                    continue;
                const bool set = greenToRed ? AnySlotSet(*direction, kGreenToRedSlots)
                                            : AnySlotSet(*direction, kRedToGreenSlots);
                if (set && FindProgram(*direction, greenToRed) == 0)
                    Programs.push_back(TPromTact::FromDirection(*direction, greenToRed));
            }
        }
    }
}

int DerivedTables::FindProgram(const TTrend &direction, bool greenToRed) const
{
    for (std::size_t i = 0; i < Programs.size(); ++i) {
        const TPromTact &program = *Programs[i];
        if (program.DirectionType() != direction.Type())
            continue;
        if (greenToRed ? SameSlots(program, direction, kGreenToRedSlots)
                       : SameSlots(program, direction, kRedToGreenSlots))
            return static_cast<int>(i) + 1;
    }
    return 0;
}

void DerivedTables::BuildSigGroupTypes(const TTrendGroupList &groups)
{
    SigGroupTypes.clear();
    for (const TTrendGroup *group : groups) {
        const int type = FileSigGroupType(*group);
        if (type >= 0 && std::find(SigGroupTypes.begin(), SigGroupTypes.end(), type) == SigGroupTypes.end())
            SigGroupTypes.push_back(type);
    }
    std::sort(SigGroupTypes.begin(), SigGroupTypes.end());
}

int DerivedTables::FindSigGroupType(const TTrendGroup &group) const
{
    const auto it = std::find(SigGroupTypes.begin(), SigGroupTypes.end(), FileSigGroupType(group));
    return it == SigGroupTypes.end() ? 0 : static_cast<int>(it - SigGroupTypes.begin()) + 1;
}

int FileSigGroupType(const TTrendGroup &group)
{
    return group.Kind() == GroupKind::Arrow ? 0 : group.SigGroupType();
}

} // namespace vantor
