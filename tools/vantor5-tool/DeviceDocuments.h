#pragma once
// The documents of the devices other than Vantor-5 that the tool knows: their names
// on the command line, a new configuration, and a read-and-write-again.

#include "app/DeviceTypes.h"
#include "json/JsonText.h"

#include <optional>
#include <string>

namespace vantor::tool {

// "rudex", "navet", "orsin": the device's tag; nothing for another name.
std::optional<DeviceTag> DeviceOfName(const std::string &name);
// The names above, for messages ("rudex, navet, orsin").
std::string DeviceNames();

// The document of a new configuration of the device, as its window writes it.
std::optional<json::Json> NewDeviceDocument(DeviceTag tag);

// Reads the device's member of root as its window does and returns what the window
// writes from it. Nothing (and *error) when the member cannot be read or the
// device's documents are not handled here.
std::optional<json::Json> RoundtripDeviceDocument(DeviceTag tag, const json::Json &root, std::string *error);

} // namespace vantor::tool
