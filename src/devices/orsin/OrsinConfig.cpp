#include "devices/orsin/OrsinConfig.h"

#include "devices/DocumentValues.h"

#include <QRandomGenerator>

#include <algorithm>

namespace vantor::orsin {

using devices::Item;
using devices::Member;
using devices::Path;

namespace {

std::uint8_t Modulo256(long long value)
{
    return static_cast<std::uint8_t>(((value % 256) + 256) % 256);
}

template <std::size_t N>
ParsedAddress<N> ParseParts(const QString &text, QChar separator, int base)
{
    ParsedAddress<N> parsed;
    const QStringList parts = text.split(separator);
    if (parts.size() != qsizetype(N))
        return parsed; // kIgnored
    for (std::size_t i = 0; i < N; ++i) {
        const QString part = parts[qsizetype(i)].trimmed();
        bool ok = false;
        const long long number = part.toLongLong(&ok, base);
        if (!ok) {
            parsed.status = ParsedAddress<N>::kBadPart;
            parsed.badPart = parts[qsizetype(i)];
            return parsed;
        }
        parsed.bytes[i] = Modulo256(number);
    }
    parsed.status = ParsedAddress<N>::kTaken;
    return parsed;
}

} // namespace

ParsedAddress<4> ParseIpText(const QString &text)
{
    return ParseParts<4>(text, QLatin1Char('.'), 10);
}

ParsedAddress<6> ParseMacText(const QString &text)
{
    return ParseParts<6>(text, QLatin1Char(':'), 16);
}

QString IpText(const std::array<std::uint8_t, 4> &address)
{
    return QStringLiteral("%1.%2.%3.%4").arg(address[0]).arg(address[1]).arg(address[2]).arg(address[3]);
}

QString MacText(const std::array<std::uint8_t, 6> &address)
{
    QStringList parts;
    for (const std::uint8_t byte : address)
        parts << QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
    return parts.join(QLatin1Char(':'));
}

// ---- TDevice ----

const QStringList &TDevice::OutputNames()
{
    static const QStringList names =
        QStringLiteral("1к, 1ж, 1з, 2к, 2ж, 2з, 3к, 3ж, 3з, 4к, 4ж, 4з, 5к, 5ж, 5з, 6к, "
                       "6ж, 6з, 7к, 7ж, 7з, 8к, 8ж, 8з, 9к, 9ж, 9з, 10к, 10ж, 10з, 11з, 12з")
            .split(QStringLiteral(", "));
    return names;
}

TDevice::TDevice() : outputNames_{OutputNames()}
{
    table_.fill(kUnassigned);
}

void TDevice::SetControllerCount(int n)
{
    n = std::min(n, kMaxControllers);
    if (n <= 0 || n == ControllerCount())
        return;
    outputNames_.resize(std::size_t(n), OutputNames());
    // Ports wired to outputs of controllers that are gone are unwired, so the table
    // never names an output the engineer can no longer see.
    for (std::uint8_t &entry : table_)
        if (entry != kUnassigned && entry >= n * kOutputsPerController)
            entry = kUnassigned;
}

void TDevice::SetPortCount(int m)
{
    m = std::min(m, kMaxPorts);
    if (m <= 0 || m == portCount_)
        return;
    for (int port = m; port < portCount_; ++port)
        table_[std::size_t(port)] = kUnassigned;
    portCount_ = m;
}

std::uint8_t TDevice::Entry(int port) const
{
    return port >= 0 && port < kMaxPorts ? table_[std::size_t(port)] : kUnassigned;
}

void TDevice::SetEntry(int port, int value)
{
    if (port >= 0 && port < kMaxPorts)
        table_[std::size_t(port)] = Modulo256(value);
}

void TDevice::ClearTable()
{
    table_.fill(kUnassigned);
}

int TDevice::FindOutput(int globalIndex) const
{
    // Every port counts: an output wired to any port is taken.
    for (int port = 0; port < kMaxPorts; ++port)
        if (table_[std::size_t(port)] == globalIndex)
            return port;
    return -1;
}

const QStringList &TDevice::ControllerOutputNames(int controller) const
{
    return outputNames_.at(std::size_t(controller));
}

QString TDevice::OutputText(int port) const
{
    const int entry = Entry(port);
    if (entry == kUnassigned)
        return {};
    const int controller = entry / kOutputsPerController;
    if (controller >= ControllerCount())
        return {};
    const QString &name = outputNames_[std::size_t(controller)].at(entry % kOutputsPerController);
    return ControllerCount() > 1 ? QStringLiteral("(%1) %2").arg(controller + 1).arg(name) : name;
}

std::array<std::uint8_t, 6> TDevice::RandomMac()
{
    std::array<std::uint8_t, 6> mac{};
    for (std::uint8_t &byte : mac)
        byte = static_cast<std::uint8_t>(QRandomGenerator::global()->bounded(255));
    mac[0] = static_cast<std::uint8_t>((mac[0] & ~0x01) | 0x02);
    return mac;
}

// ---- document ----

json::Json WriteOrsinConfig(const TDevice &device)
{
    json::Json object = json::Json::object();
    object["vantor_count"] = device.ControllerCount();
    object["output_count"] = device.PortCount();
    json::Json table = json::Json::array();
    for (int port = 0; port < TDevice::kMaxPorts; ++port) {
        const int entry = device.Entry(port);
        if (entry == TDevice::kUnassigned)
            continue;
        json::Json wire = json::Json::object();
        wire["block"] = entry / TDevice::kOutputsPerController + 1;
        wire["k_out"] = entry % TDevice::kOutputsPerController + 1;
        wire["d_out"] = port + 1;
        table.push_back(std::move(wire));
    }
    object["table"] = std::move(table);
    if (device.Ethernet) {
        json::Json eth = json::Json::object();
        eth["ping"] = device.Ping;
        eth["dhcp"] = device.Dhcp;
        eth["mac"] = MacText(device.Mac).toStdString();
        eth["ip"] = IpText(device.Ip).toStdString();
        eth["gate"] = IpText(device.Gateway).toStdString();
        eth["mask"] = IpText(device.Mask).toStdString();
        object["eth"] = std::move(eth);
    }
    if (device.Server)
        object["server"] = {{"port", device.ServerPort}};
    return object;
}

json::Json GetConfigJson(const TDevice &device)
{
    json::Json root = json::Json::object();
    root[kOrsinRootKey] = WriteOrsinConfig(device);
    return root;
}

namespace {

template <std::size_t N>
void ReadAddress(const json::Json *eth, const char *key, const std::string &base,
                 std::array<std::uint8_t, N> &field)
{
    const json::Json *value = Member(eth, key);
    const std::string path = Path(base, key);
    const auto text = devices::ReadText(value, path);
    if (!text)
        return;
    ParsedAddress<N> parsed;
    if constexpr (N == 6)
        parsed = ParseMacText(*text);
    else
        parsed = ParseIpText(*text);
    switch (parsed.status) {
    case ParsedAddress<N>::kTaken: field = parsed.bytes; break;
    case ParsedAddress<N>::kIgnored: break;
    case ParsedAddress<N>::kBadPart:
        throw devices::EBadValue(
            path, *value,
            N == 6 ? QStringLiteral("часть «%1» не является шестнадцатеричным числом").arg(parsed.badPart)
                   : QStringLiteral("часть «%1» не является числом").arg(parsed.badPart));
    }
}

void ReadTable(TDevice &device, const json::Json *v)
{
    const std::string path = Path(kOrsinRootKey, "table");
    const json::Json *table = devices::ReadArray(Member(v, "table"), path);
    if (!table)
        return;
    for (std::size_t i = 0; i < table->size(); ++i) {
        const json::Json &wire = (*table)[i];
        const json::Json *output = Member(&wire, "k_out");
        const json::Json *port = Member(&wire, "d_out");
        const json::Json *block = Member(&wire, "block");
        if (!output || !port || !block)
            continue; // not an object, or incomplete
        const std::string item = Item(path, i);
        const long long k = *devices::ReadInteger(output, Path(item, "k_out"));
        const long long d = *devices::ReadInteger(port, Path(item, "d_out"));
        const long long b = *devices::ReadInteger(block, Path(item, "block"));
        if (d < 1 || d > TDevice::kMaxPorts)
            continue;
        device.SetEntry(int(d - 1), Modulo256((k - 1) + TDevice::kOutputsPerController * (b - 1)));
    }
}

void Read(TDevice &device, const json::Json *v)
{
    const std::string base = kOrsinRootKey;
    const long long controllers =
        devices::ReadInteger(Member(v, "vantor_count"), Path(base, "vantor_count")).value_or(1);
    device.SetControllerCount(int(std::clamp<long long>(controllers, 1, TDevice::kMaxControllers)));
    const long long ports =
        devices::ReadInteger(Member(v, "output_count"), Path(base, "output_count")).value_or(8);
    device.SetPortCount(int(std::clamp<long long>(ports, 1, TDevice::kMaxPorts)));
    device.ClearTable();
    ReadTable(device, v);

    const std::string ethPath = Path(base, "eth");
    const json::Json *eth = devices::ReadObject(Member(v, "eth"), ethPath);
    device.Ethernet = eth != nullptr;
    if (eth) {
        device.Ping = devices::ReadBool(Member(eth, "ping"), Path(ethPath, "ping")).value_or(false);
        device.Dhcp = devices::ReadBool(Member(eth, "dhcp"), Path(ethPath, "dhcp")).value_or(false);
        ReadAddress(eth, "mac", ethPath, device.Mac);
        ReadAddress(eth, "ip", ethPath, device.Ip);
        ReadAddress(eth, "gate", ethPath, device.Gateway);
        ReadAddress(eth, "mask", ethPath, device.Mask);
    }

    const std::string serverPath = Path(base, "server");
    const json::Json *server = devices::ReadObject(Member(v, "server"), serverPath);
    device.Server = server != nullptr;
    if (const auto port = devices::ReadInteger(Member(server, "port"), Path(serverPath, "port")))
        device.ServerPort = static_cast<std::uint16_t>(std::clamp<long long>(*port, 1, 65535));
}

} // namespace

bool LoadConfigJson(TDevice &device, const json::Json &root, QString *error)
{
    return devices::ReadDeviceMember(root, kOrsinRootKey, error,
                                     [&device](const json::Json *v) { Read(device, v); });
}

} // namespace vantor::orsin
