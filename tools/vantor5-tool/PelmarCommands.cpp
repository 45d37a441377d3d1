// new pelmar, and roundtrip of a "revur" document: the Pelmar-3 configuration model
// the configurator's window uses.

#include "Commands.h"

#include "devices/pelmar/MacAddress.h"
#include "devices/pelmar/PelmarConfig.h"
#include "devices/pelmar/PelmarDocument.h"

namespace vantor::tool {

json::Json NewPelmarDocument()
{
    PelmarConfig config; // this computer's time zone, as in a new window
    config.Ethernet.mac = RandomMacAddress();
    return GetConfigJson(config);
}

std::optional<json::Json> RoundtripPelmar(const json::Json &root, std::string *error)
{
    PelmarConfig config;
    if (!LoadConfigJson(config, root, error))
        return std::nullopt;
    return GetConfigJson(config);
}

} // namespace vantor::tool
