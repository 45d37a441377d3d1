#pragma once
// The Pelmar-3 identifier table as the shared identifier view shows it: two groups
// ("Собственный ID", "ID приложения") of the entries that are visible now; hidden
// entries keep their values in PelmarConfig::Ids.

#include "app/widgets/IdentifierTable.h"

#include <cstddef>
#include <optional>

namespace vantor {

class PelmarConfig;

class PelmarIdSource : public widgets::IdentifierSource {
public:
    explicit PelmarIdSource(PelmarConfig &config) : config_(config) {}

    int GroupCount() const override { return 2; }
    QString GroupCaption(int group) const override;
    int EntryCount(int group) const override;
    QString EntryCaption(int group, int entry) const override;
    int EntryValue(int group, int entry) const override;
    void SetEntryValue(int group, int entry, int value) override;

    // The traffic-light object whose own identifier the row shows, if any.
    std::optional<int> ObjectOfEntry(int group, int entry) const;
    // Row of an object's own identifier in group 0.
    int EntryOfObject(int objectIndex) const;

private:
    // Position in PelmarIdTable::Entries() of the entry-th visible entry of the group.
    std::size_t Position(int group, int entry) const;

    PelmarConfig &config_;
};

} // namespace vantor
