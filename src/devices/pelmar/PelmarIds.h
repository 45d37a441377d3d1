#pragma once
// The Pelmar-3 identifier table: the device's own identifiers (the unit itself, one
// per traffic-light object, the detector controller) and the identifiers of the
// centre's applications (traffic-light objects, detector controller), each group
// under a header row.
//
// The table always has this shape, in this order:
//   header "Собственный ID"
//   own / device "Pelmar"                    2001
//   own / object i "СО <i+1>"                i+1   (one per traffic-light object)
//   own / detector controller "КД"           4001
//   header "ID приложения"
//   application / objects "СО"               65023 (shown while there are objects)
//   application / detector controller "КД"   65009 (shown while the module is on)
// Hidden entries keep their values and are written all the same.

#include <cstdint>
#include <string>
#include <vector>

namespace vantor {

struct TPelmarIdEntry {
    enum Group : std::uint8_t { kOwn = 0, kApplication = 1 };
    enum Kind : std::uint8_t { kDevice = 0, kObject = 1, kDetector = 2, kHeader = 255 };

    std::uint8_t group = kOwn;
    std::uint8_t kind = kHeader;
    std::uint8_t index = 0; // 0-based traffic-light object (own / object entries)
    std::uint16_t value = 0;

    bool IsHeader() const { return kind == kHeader; }
    bool operator==(const TPelmarIdEntry &) const = default;
};

class PelmarIdTable {
public:
    static constexpr std::uint16_t kDefaultDeviceId = 2001;
    static constexpr std::uint16_t kDefaultDetectorId = 4001;
    static constexpr std::uint16_t kDefaultAppObjectsId = 65023;
    static constexpr std::uint16_t kDefaultAppDetectorId = 65009;
    static constexpr int kMaxObjects = 255;

    PelmarIdTable() { Reset(); }

    // The default shape and values, without object entries.
    void Reset();

    const std::vector<TPelmarIdEntry> &Entries() const { return entries_; }
    int ObjectCount() const { return objectCount_; }

    // Adds object entries before the detector controller (default value = the
    // object's 1-based position) or removes them from the end; 0..255.
    void SetObjectCount(int count);

    std::uint16_t DeviceId() const { return Find(TPelmarIdEntry::kOwn, TPelmarIdEntry::kDevice).value; }
    std::uint16_t DetectorId() const { return Find(TPelmarIdEntry::kOwn, TPelmarIdEntry::kDetector).value; }
    std::uint16_t AppObjectsId() const
    {
        return Find(TPelmarIdEntry::kApplication, TPelmarIdEntry::kObject).value;
    }
    std::uint16_t AppDetectorId() const
    {
        return Find(TPelmarIdEntry::kApplication, TPelmarIdEntry::kDetector).value;
    }
    std::uint16_t ObjectId(int index) const { return entries_[ObjectPosition(index)].value; }

    void SetDeviceId(std::uint16_t value)
    {
        Find(TPelmarIdEntry::kOwn, TPelmarIdEntry::kDevice).value = value;
    }
    void SetDetectorId(std::uint16_t value)
    {
        Find(TPelmarIdEntry::kOwn, TPelmarIdEntry::kDetector).value = value;
    }
    void SetAppObjectsId(std::uint16_t value)
    {
        Find(TPelmarIdEntry::kApplication, TPelmarIdEntry::kObject).value = value;
    }
    void SetAppDetectorId(std::uint16_t value)
    {
        Find(TPelmarIdEntry::kApplication, TPelmarIdEntry::kDetector).value = value;
    }
    void SetObjectId(int index, std::uint16_t value) { entries_[ObjectPosition(index)].value = value; }

    // By position in Entries(); header rows have no value to set.
    void SetValue(std::size_t position, std::uint16_t value);

    // Whether the entry is shown, given the object count and the detector module switch.
    static bool IsVisible(const TPelmarIdEntry &entry, int objectCount, bool detectorEnabled);
    // The text of the first column: "Собственный ID", "Pelmar", "СО 3", "КД", ...
    static std::string Caption(const TPelmarIdEntry &entry);
    // At least two upper-case hexadecimal digits: 7 -> "07", 2001 -> "7D1".
    static std::string HexText(std::uint16_t value);

private:
    TPelmarIdEntry &Find(std::uint8_t group, std::uint8_t kind);
    const TPelmarIdEntry &Find(std::uint8_t group, std::uint8_t kind) const;
    std::size_t ObjectPosition(int index) const;

    std::vector<TPelmarIdEntry> entries_;
    int objectCount_ = 0;
};

} // namespace vantor
