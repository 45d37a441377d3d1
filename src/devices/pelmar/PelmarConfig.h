#pragma once
// PelmarConfig: one Pelmar-3 configuration (communication and detector-controller
// unit). The configuration window binds its controls to it; the document writer and
// reader (PelmarDocument.h) turn it into the "revur" JSON member and back.
//
// Texts are UTF-8. Integer fields hold what the device stores (unsigned 16-bit unless
// said otherwise); the window's editors keep them in range.

#include "controller/VantorConfig.h" // ConfigTimeZone, SystemTimeZone
#include "devices/pelmar/PelmarIds.h"
#include "devices/pelmar/RegServers.h"
#include "devices/pelmar/SensorsSettings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantor {

// Which protocol the unit prefers. None happens only when a document marks neither.
enum class PelmarPriority { None, Ethernet, Gprs };

// The traffic-control centre's server as the unit reaches it over one protocol.
struct PelmarServer {
    static constexpr std::uint16_t kDefaultPort = 1;

    std::string address;               // IPv4 address or host name, at most 100 characters
    std::uint16_t port = kDefaultPort; // 1..65535
    bool fixed = false; // "Фиксированный адрес": no asking the registration servers
};

struct PelmarGprs {
    bool enabled = false;
    std::string pin; // SIM PIN, at most 4 characters
    std::string apn;
    std::string user;
    std::string password;
    PelmarServer server;
    TRegServerList regs = DefaultRegServers();
};

struct PelmarEthernet {
    bool enabled = false;
    std::string mac; // "02-1A-2B-3C-4D-5E"
    bool dhcp = false;
    std::string ip; // free text: nothing checks the syntax of these three
    std::string gate;
    std::string mask;
    bool ping = false;
    PelmarServer server;
    TRegServerList regs = DefaultRegServers();
};

// One traffic-light object the unit relays for. Its identifier lives in the
// identifier table (PelmarConfig::Ids, own / object entry of the same index).
struct PelmarObjectPage {
    static constexpr const char *kDefaultName = "Светофорный объект";

    bool enabled = true;
    std::string name = kDefaultName;
    std::uint16_t holdTime = 0; // s, dispatcher control held after the server's last packet
    bool phaseChangeMessages = false;

    bool operator==(const PelmarObjectPage &) const = default;
};

struct PelmarWeb {
    static constexpr std::uint16_t kDefaultPort = 80;

    bool enabled = false;
    std::string user;
    std::string password;
    std::uint16_t port = kDefaultPort;
};

class PelmarConfig {
public:
    static constexpr const char *kDefaultDetectorName = "Контроллер датчиков";
    static constexpr int kMaxObjects = PelmarIdTable::kMaxObjects;
    static constexpr int kTimeSourceCount = 2; // 0 "Узел связи", 1 "Приложение СО"

    PelmarConfig() = default;
    PelmarConfig(const PelmarConfig &) = delete;
    PelmarConfig &operator=(const PelmarConfig &) = delete;

    // ---- general ----
    std::string Name; // each of the three at most 100 characters
    std::string Sid;
    std::string Oid;
    std::uint16_t MinConnectionTime = 0;      // ms; 0 = the device's default
    std::uint16_t MaxConnectionTime = 0;      // s; 0 = the device's default
    std::uint16_t TimeCorrectionInterval = 0; // min; 0 = the device's default
    int TimeSource = 0;                       // 0..kTimeSourceCount-1
    bool Door = false;                        // tamper sensor connected
    bool UseGpsTime = false;
    std::optional<ConfigTimeZone> TimeZone = SystemTimeZone(); // none: no zone chosen
    std::uint16_t MaxPacketSize = 0;                           // bytes; 0 = the device's default
    PelmarPriority Priority = PelmarPriority::Ethernet;

    PelmarGprs Gprs;
    PelmarEthernet Ethernet;
    PelmarWeb Web;

    PelmarIdTable Ids;

    // ---- detector module ----
    bool DetectorEnabled = false;
    std::string DetectorName = kDefaultDetectorName;
    TSensorsSettings Sensors;

    // ---- traffic-light objects ----
    int ObjectCount() const { return static_cast<int>(objects_.size()); }
    const std::vector<PelmarObjectPage> &Objects() const { return objects_; }
    PelmarObjectPage &Object(int index) { return objects_.at(static_cast<std::size_t>(index)); }
    const PelmarObjectPage &Object(int index) const { return objects_.at(static_cast<std::size_t>(index)); }
    // Adds objects at the end (default page, identifier = 1-based position) or removes
    // them from the end, with their identifier entries; 0..255.
    void SetObjectCount(int count);
    std::uint16_t ObjectId(int index) const { return Ids.ObjectId(index); }
    void SetObjectId(int index, std::uint16_t value) { Ids.SetObjectId(index, value); }

private:
    std::vector<PelmarObjectPage> objects_;
};

} // namespace vantor
