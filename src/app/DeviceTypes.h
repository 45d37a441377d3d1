#pragma once
// The six device types the configurator handles, keyed by their one-byte tag.
//
// A configuration document holds one member per device type, named by the type's
// root key. Tag 0 means "no device" (no active window, or any device for the
// programmer). Everything that maps tags to names, keys or captions reads this table.

#include "json/JsonText.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace vantor {

using DeviceTag = std::uint8_t;

inline constexpr DeviceTag kNoDevice = 0;
inline constexpr DeviceTag kVantorTag = 1;
inline constexpr DeviceTag kPelmarTag = 2;
inline constexpr DeviceTag kOrsinTag = 3;
inline constexpr DeviceTag kRudexTag = 4;
inline constexpr DeviceTag kSolloTag = 5;
inline constexpr DeviceTag kNavetTag = 6;

struct DeviceType {
    DeviceTag tag;
    std::string_view rootKey;   // member of the configuration document
    const char *name;           // device name in menus and hints ("Pelmar-3")
    const char *actionName;     // object name of the new-configuration action ("actNewPelmar")
    const char *newCaption;     // caption of that action
    const char *newMenuCaption; // caption of its item in the new-configuration menu
    const char *newHint;        // its hint ("Новая конфигурация Pelmar-3")
    const char *windowClass;    // class name of the device's configuration window
};

// Tags 1..6 in tag order.
std::span<const DeviceType> DeviceTypes();

// The type of tag 1..6; nothing for any other tag.
const DeviceType *FindDeviceType(DeviceTag tag);
const DeviceType *FindDeviceTypeByRootKey(std::string_view rootKey);

QString DeviceName(DeviceTag tag); // empty for an unknown tag

// The tag whose root key a configuration document holds. Keys are tried in tag
// order beginning at startTag (0 and 1 both begin with the Vantor-5 key) up to
// the last tag; there is no wrap-around, so reading for a Sollo-4 device looks
// for "sollo" and then "navet" only. The first key present wins whatever its
// value holds (the device window judges the value). Nothing when no key is found.
std::optional<DeviceTag> FindRootKey(const json::Json &root, DeviceTag startTag);

} // namespace vantor
