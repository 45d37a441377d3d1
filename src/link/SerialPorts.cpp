#include "link/SerialPorts.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

#include <algorithm>

namespace vantor::link {
namespace {

QString g_rememberedPort;

bool IsDeviceBridge(const SerialPortFacts &port)
{
    if (!port.vendorId || !port.productId)
        return false;
    return (*port.vendorId == 0x28E9 && *port.productId == 0x018A) ||
           (*port.vendorId == 0x0403 && *port.productId == 0x6001);
}

TItemInfo MakeEntry(const QString &name, const QString &address, const QString &description)
{
    TItemInfo item;
    item.name = name;
    item.address = address;
    item.description = description;
    item.display = description.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, description);
    item.number = PortNumber(name);
    return item;
}

} // namespace

int PortNumber(const QString &name)
{
    qsizetype start = name.size();
    while (start > 0 && name.at(start - 1).isDigit())
        --start;
    if (start == name.size() || name.size() - start > 9)
        return -1;
    return name.mid(start).toInt();
}

std::vector<SerialPortFacts> SystemSerialPorts()
{
    // Stable names: /dev/serial/by-id/* links, by the device they point at.
    QList<QFileInfo> links =
        QDir(QStringLiteral("/dev/serial/by-id")).entryInfoList(QDir::System | QDir::Files);
    std::vector<SerialPortFacts> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        SerialPortFacts facts;
        facts.name = info.portName();
        facts.systemLocation = info.systemLocation();
        facts.description = info.description();
        if (info.hasVendorIdentifier())
            facts.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier())
            facts.productId = info.productIdentifier();
        for (const QFileInfo &link : links)
            if (link.isSymLink() && link.canonicalFilePath() == facts.systemLocation)
                facts.stableName = link.absoluteFilePath();
        ports.push_back(facts);
    }
    return ports;
}

std::vector<TItemInfo> ListSerialPorts(bool showAll, const std::vector<SerialPortFacts> &ports,
                                       const QString &extraPorts)
{
    std::vector<TItemInfo> list;
    for (const SerialPortFacts &port : ports) {
        if (!showAll && !IsDeviceBridge(port))
            continue;
        QString description = port.description;
        if (!port.stableName.isEmpty())
            description += (description.isEmpty() ? QString() : QStringLiteral(", ")) +
                           QFileInfo(port.stableName).fileName();
        const QString address = port.stableName.isEmpty() ? port.systemLocation : port.stableName;
        list.push_back(MakeEntry(port.name, address.isEmpty() ? port.name : address, description));
    }
    for (const QString &path : extraPorts.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        const QFileInfo info(path);
        list.push_back(MakeEntry(path, path, info.isSymLink() ? info.symLinkTarget() : QString()));
    }
    std::stable_sort(list.begin(), list.end(), [](const TItemInfo &a, const TItemInfo &b) {
        if (a.number != b.number)
            return a.number < b.number;
        return a.name < b.name;
    });
    return list;
}

std::vector<TItemInfo> ListSerialPorts(bool showAll)
{
    return ListSerialPorts(showAll, SystemSerialPorts(), qEnvironmentVariable("VANTOR5_EXTRA_PORTS"));
}

QString RememberedPort()
{
    return g_rememberedPort;
}

void RememberPort(const QString &name)
{
    g_rememberedPort = name;
}

int SelectPort(const std::vector<TItemInfo> &ports)
{
    if (ports.empty())
        return -1;
    for (std::size_t i = 0; i < ports.size(); ++i)
        if (ports[i].name == g_rememberedPort)
            return int(i);
    g_rememberedPort = ports.front().name;
    return 0;
}

} // namespace vantor::link
