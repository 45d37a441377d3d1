#pragma once
// The list of serial ports the programmer window offers.
//
// Without "Показывать все" only USB-serial bridges of the devices are listed (VID:PID
// 28E9:018A and 0403:6001); with it every serial port. Paths named by the environment
// variable VANTOR5_EXTRA_PORTS (colon-separated: pseudo-terminals of the simulator,
// socat or ser2net bridges) are always listed. Ports sort by their trailing number.

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace vantor::link {

// What the system says about one port (QSerialPortInfo), injectable in tests.
struct SerialPortFacts {
    QString name;           // ttyUSB0
    QString systemLocation; // /dev/ttyUSB0
    QString description;
    std::optional<std::uint16_t> vendorId;
    std::optional<std::uint16_t> productId;
    QString stableName; // /dev/serial/by-id/... pointing at the port, when there is one
};

// TItemInfo: one entry of the port list.
struct TItemInfo {
    QString name;        // ttyUSB0, or the full path of an extra port
    QString address;     // what TDAO::SetAddress gets: the name or the stable path
    QString description; // may be empty
    QString display;     // "ttyUSB0 (FT232R USB UART)"
    int number = -1;     // trailing number, -1 when the name has none
};

// The ports the system has now (QSerialPortInfo plus /dev/serial/by-id).
std::vector<SerialPortFacts> SystemSerialPorts();

// Filters, adds the extra paths and sorts. extraPorts is the colon-separated list.
std::vector<TItemInfo> ListSerialPorts(bool showAll, const std::vector<SerialPortFacts> &ports,
                                       const QString &extraPorts);
// The same with the system's ports and VANTOR5_EXTRA_PORTS.
std::vector<TItemInfo> ListSerialPorts(bool showAll);

// The trailing decimal number of a port name (ttyUSB10 -> 10), -1 without one.
int PortNumber(const QString &name);

// The port the user picked last in this run (empty: none); the list preselects it.
QString RememberedPort();
void RememberPort(const QString &name);

// Index of the entry to select: the remembered port, otherwise the first one (which
// is then remembered). -1 for an empty list.
int SelectPort(const std::vector<TItemInfo> &ports);

// The status text for an empty list.
inline QString NoPortsText()
{
    return QStringLiteral("Нет доступных COM-портов!");
}

} // namespace vantor::link
