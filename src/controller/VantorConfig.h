#pragma once
// TVantorConfig: one Vantor-5 configuration, the root of its object model. The
// configuration window owns one and binds its pages to it; the document writer and
// reader (ConfigDocument.h) turn it into the "vantor5" JSON member and back.
//
// Every operation that must keep references valid across objects goes through this
// class: adding and deleting groups, blocks, triggers and traffic-light objects,
// changing a group's head count, and wiring block outputs to lamps.

#include "controller/ConflictMatrix.h"
#include "controller/Controllers.h"
#include "controller/DerivedTables.h"
#include "controller/SignalObjects.h"
#include "controller/Trends.h"
#include "controller/Triggers.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vantor {

class TVantorModel;

// The time zone a configuration names: offset in minutes east of UTC and the display
// name "(UTC+hh:mm) Area/City".
struct ConfigTimeZone {
    std::int32_t offsetMinutes = 0;
    std::string displayName;
};
// This computer's zone, by its standard (winter) offset.
ConfigTimeZone SystemTimeZone();

class TVantorConfig {
public:
    TVantorConfig();
    ~TVantorConfig();
    TVantorConfig(const TVantorConfig &) = delete;
    TVantorConfig &operator=(const TVantorConfig &) = delete;

    // ---- general settings ----
    std::string Name = "Новая конфигурация";
    bool Enabled = true;
    ConfigTimeZone TimeZone = SystemTimeZone();
    bool AutoLocation = false;         // "Авто"
    double Latitude = 0;               // degrees, 6 decimals
    double Longitude = 0;              // degrees, 6 decimals
    std::int32_t DayBrightness = 100;  // percent
    std::int32_t NightBrightness = 30; // percent
    std::int32_t HorizonAngle = 0;     // degrees, -180..180
    std::vector<std::string> Scheme;   // the intersection drawing (SVG), line by line

    // Global minimum times, s.
    std::int32_t TMinG = 15;
    std::int32_t TMinR = 5;
    std::int32_t Takk = 4;

    // ---- owned objects ----
    TTrendGroupList Groups;
    TControllerList Blocks;
    TConflictMatrix Conflicts; // one row and column per direction
    TTriggerList Triggers;
    TSafeObjList<TSOObject> Objects{true};
    DerivedTables Tables; // rebuilt by the writer

    // Empties every list (before a document is read). The conflict matrix keeps its
    // size until it is resized.
    void Clear();

    // ---- signal groups ----
    // Appends a group and grows the conflict matrix for its directions.
    TTrendGroup *AddGroup(GroupKind kind);
    // The add-group menu: the kind whose tag matches, transport when none does.
    TTrendGroup *AddGroupByTag(int tag) { return AddGroup(KindByTag(tag)); }
    // Deletes a group: its directions leave the groups that follow them and the
    // traffic-light objects (with their phase entries), its outputs lose their owner,
    // and their rows and columns leave the conflict matrix.
    void DeleteGroup(TTrendGroup *group);
    // Sets the number of heads; outputs no longer used by the group lose it as owner.
    void SetHeadCount(TTrendGroup *group, int count);
    // The editor's head-count field: as SetHeadCount, and when the count shrinks the
    // alarm count becomes count - 1 (not below 0) if it was count or more, otherwise
    // it goes down by one if it was above 0.
    void ChangeHeadCount(TTrendGroup *group, int count);
    // The editor's alarm-count field: taken when below the head count, otherwise the
    // head count minus 1 (not below 0).
    static void ChangeAlarmCount(TTrendGroup *group, int count);

    // ---- directions (see TTrendGroupList for the numbering) ----
    int DirectionCount() const { return Groups.DirectionCount(); }
    TTrend *Direction(int index) const { return Groups.Direction(index); }
    int DirectionIndex(const TTrend *direction) const { return Groups.DirectionIndex(direction); }

    // ---- blocks ----
    // Adds a block with its own copy of the model; its ID is the new block count, or
    // when another block has that ID, one above the highest ID.
    TController *AddBlock(const TVantorModel &model);
    // Unwires every lamp that uses one of its outputs and frees the block.
    void DeleteBlock(TController *block);

    // ---- wiring ----
    // Wires an output to a lamp of a head: the head's group owns the output, the
    // output's monitoring flags take the lamp position's defaults, and the clean-up
    // runs. Ignored when the head has no such lamp.
    void Wire(TSemaphoreObject *head, int lampPos, TControllerOutput *output);
    void UnwireLamp(TSemaphoreObject *head, int lampPos);
    // Unwires the output from every head of its owner group.
    void UnwireOutput(TControllerOutput *output);
    // Wires the head's lamps, in lamp-position order, to this output and the outputs
    // after it in its block, when all of them are free; false (and nothing changed)
    // otherwise.
    bool WireHead(TSemaphoreObject *head, TControllerOutput *first);
    // The lamps of the owner group's heads that use this output (0 when unwired).
    int OutputUseCount(const TControllerOutput *output) const;

    // ---- triggers ----
    TTrigger *AddTrigger();
    // Removes the trigger from the groups that follow it, from phase entries and
    // cycle steps, and frees it.
    void DeleteTrigger(TTrigger *trigger);

    // ---- traffic-light objects ----
    // Plain defaults (empty name, revur number 1).
    TSOObject *AddObject();
    // The editor's new object: "Новый светофорный объект <n>", revur number n.
    TSOObject *NewObject();
    // Frees the object with everything it owns; its directions become free.
    void DeleteObject(TSOObject *object);

private:
    // After wiring `wired`: no other group's head keeps it, and outputs whose owner
    // no longer uses them lose their owner.
    void CleanUpWiring(TControllerOutput *wired);
};

} // namespace vantor
