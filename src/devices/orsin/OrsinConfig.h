#pragma once
// The Orsin-3 video-recording controller configuration (TDevice) and its "orsin"
// document.
//
// The Orsin-3 watches the signal outputs of one or two traffic-light controllers:
// each of its input ports (up to 64) is wired to one output of one controller. A
// controller has 32 outputs, named "1к, 1ж, 1з, ..., 10з, 11з, 12з" (red, yellow and
// green of signal groups 1 to 10, then the greens of groups 11 and 12). The
// assignment table holds, per port, the global index of its output, controller ×
// 32 + output (both 0-based), or 255 when the port is not wired. Network settings
// (Ethernet, a listening server) complete the configuration.

#include "json/JsonText.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace vantor::orsin {

inline constexpr const char *kOrsinRootKey = "orsin";

// A dotted address text split into its bytes: taken (all parts are numbers), ignored
// (the wrong number of parts: the stored value stays) or bad (a part is no number).
template <std::size_t N>
struct ParsedAddress {
    enum Status { kTaken, kIgnored, kBadPart } status = kIgnored;
    std::array<std::uint8_t, N> bytes{};
    QString badPart; // the first part that is no number, for kBadPart
};

// "a.b.c.d": exactly four parts, each a decimal integer, stored modulo 256.
ParsedAddress<4> ParseIpText(const QString &text);
// "AA:BB:CC:DD:EE:FF": exactly six parts, each a hexadecimal number, stored modulo 256.
ParsedAddress<6> ParseMacText(const QString &text);

QString IpText(const std::array<std::uint8_t, 4> &address);  // "%d.%d.%d.%d"
QString MacText(const std::array<std::uint8_t, 6> &address); // two upper-case hex digits per byte, ":"

class TDevice {
public:
    static constexpr int kOutputsPerController = 32;
    static constexpr int kMaxControllers = 2;
    static constexpr int kMaxPorts = 64;
    static constexpr std::uint8_t kUnassigned = 255;

    // The names of a controller's 32 outputs, in output order.
    static const QStringList &OutputNames();

    TDevice();

    int ControllerCount() const { return int(outputNames_.size()); }
    // n <= 0 or the current count change nothing. A smaller count removes the
    // controllers beyond it and unwires every port wired to one of their outputs.
    void SetControllerCount(int n);

    int PortCount() const { return portCount_; }
    // 0 or the current count change nothing; a smaller count unwires the ports
    // beyond it.
    void SetPortCount(int m);

    // The global output index of a port (0-based), kUnassigned when not wired;
    // ports outside 0..63 read as kUnassigned and are ignored when set.
    std::uint8_t Entry(int port) const;
    void SetEntry(int port, int value);
    void ClearTable();

    // The first port wired to the global output index; -1 when none is.
    int FindOutput(int globalIndex) const;

    // The names of a controller's outputs (0-based controller).
    const QStringList &ControllerOutputNames(int controller) const;
    // What the grid shows for a port: the output's name, "(%d) %s" with the
    // controller number when there are two controllers, or nothing when the port
    // is not wired or its output does not exist.
    QString OutputText(int port) const;

    bool Ethernet = false; // the "eth" settings are in use
    bool Server = false;   // the listening server is in use
    std::uint16_t ServerPort = 1024;
    bool Dhcp = false;
    bool Ping = false;
    std::array<std::uint8_t, 6> Mac{};
    std::array<std::uint8_t, 4> Ip{};
    std::array<std::uint8_t, 4> Mask{255, 255, 255, 255};
    std::array<std::uint8_t, 4> Gateway{};

    // Six random bytes, the first with bit 0 cleared and bit 1 set (a locally
    // administered unicast address).
    static std::array<std::uint8_t, 6> RandomMac();

private:
    std::vector<QStringList> outputNames_; // one list per controller
    int portCount_ = 8;
    std::array<std::uint8_t, kMaxPorts> table_{};
};

// The "orsin" object and the whole document {"orsin": {...}}. "eth" and "server"
// are written only while their option is on (a reader takes their presence as the
// option).
json::Json WriteOrsinConfig(const TDevice &device);
json::Json GetConfigJson(const TDevice &device);

// Reads root["orsin"] into the device. The counts are brought into 1..2 and 1..64;
// the table is rebuilt from the document. False with *error set when the member
// is missing ("Некорректная конфигурация"; nothing changes) or holds a value that
// cannot be used, such as an address part that is no number (what was read before
// it stays).
bool LoadConfigJson(TDevice &device, const json::Json &root, QString *error = nullptr);

} // namespace vantor::orsin
