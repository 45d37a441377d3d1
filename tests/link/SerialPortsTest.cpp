// The serial port list: filtering by the device bridges, sorting, extra paths, selection.
#include "link/SerialPorts.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace vantor::link;

namespace {

SerialPortFacts Port(const char *name, const char *description, std::optional<std::uint16_t> vid = {},
                     std::optional<std::uint16_t> pid = {})
{
    SerialPortFacts f;
    f.name = QString::fromUtf8(name);
    f.systemLocation = QStringLiteral("/dev/") + f.name;
    f.description = QString::fromUtf8(description);
    f.vendorId = vid;
    f.productId = pid;
    return f;
}

QStringList Names(const std::vector<TItemInfo> &list)
{
    QStringList names;
    for (const auto &item : list)
        names << item.name;
    return names;
}

} // namespace

TEST(SerialPorts, FilterSortAndDisplay)
{
    std::vector<SerialPortFacts> ports = {
        Port("ttyUSB10", "FT232R USB UART", 0x0403, 0x6001), Port("ttyS0", ""),
        Port("ttyACM2", "Vantor bridge", 0x28E9, 0x018A),    Port("ttyUSB3", "CP2102", 0x10C4, 0xEA60),
        Port("ttyUSB2", "FT232R USB UART", 0x0403, 0x6001),  Port("ttyACM1", "other", 0x28E9, 0x0189),
    };
    ports[0].stableName = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_A10-if00-port0");

    const auto filtered = ListSerialPorts(false, ports, {});
    EXPECT_EQ(Names(filtered), (QStringList{"ttyACM2", "ttyUSB2", "ttyUSB10"}));
    EXPECT_EQ(filtered[1].display, QStringLiteral("ttyUSB2 (FT232R USB UART)"));
    EXPECT_EQ(filtered[1].address, QStringLiteral("/dev/ttyUSB2"));
    EXPECT_EQ(filtered[2].address, QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_A10-if00-port0"));
    EXPECT_EQ(filtered[2].display,
              QStringLiteral("ttyUSB10 (FT232R USB UART, usb-FTDI_FT232R_A10-if00-port0)"));

    const auto all = ListSerialPorts(true, ports, QStringLiteral("/tmp/sim-b1:/tmp/sim-a"));
    EXPECT_EQ(Names(all), (QStringList{"/tmp/sim-a", "ttyS0", "/tmp/sim-b1", "ttyACM1", "ttyACM2", "ttyUSB2",
                                       "ttyUSB3", "ttyUSB10"}));
    EXPECT_EQ(all[1].display, QStringLiteral("ttyS0"));

    // Extra paths are listed even when filtering.
    EXPECT_EQ(Names(ListSerialPorts(false, {ports[1]}, QStringLiteral("/tmp/sim"))), QStringList{"/tmp/sim"});
    EXPECT_TRUE(ListSerialPorts(false, {ports[1], ports[3]}, {}).empty());
}

TEST(SerialPorts, TrailingNumbersAndRememberedSelection)
{
    EXPECT_EQ(PortNumber(QStringLiteral("ttyUSB10")), 10);
    EXPECT_EQ(PortNumber(QStringLiteral("COM3")), 3);
    EXPECT_EQ(PortNumber(QStringLiteral("/tmp/sim")), -1);

    RememberPort({});
    const auto list = ListSerialPorts(true, {Port("ttyUSB1", "a"), Port("ttyUSB0", "b")}, {});
    EXPECT_EQ(SelectPort(list), 0); // none remembered: the first, which is then remembered
    EXPECT_EQ(RememberedPort(), QStringLiteral("ttyUSB0"));
    RememberPort(QStringLiteral("ttyUSB1"));
    EXPECT_EQ(SelectPort(list), 1);
    RememberPort(QStringLiteral("ttyUSB7")); // gone: the first again
    EXPECT_EQ(SelectPort(list), 0);
    EXPECT_EQ(SelectPort({}), -1);
    EXPECT_EQ(NoPortsText(), QStringLiteral("Нет доступных COM-портов!"));
}
