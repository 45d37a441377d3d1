#include "link/pr_usb.h"

#include <QLibrary>
#include <QStringList>

#include <cstring>
#include <mutex>
#include <thread>

namespace vantor::link {
namespace {

struct Loaded {
    QLibrary library;
    UsbApi api;
    bool ok = false;
};

Loaded &Library()
{
    static Loaded loaded;
    return loaded;
}

// A deep copy of a device record and its configuration descriptors.
struct DeviceCopy {
    usb_device device{};
    std::vector<usb_config_descriptor> configs;
    std::vector<std::vector<usb_interface>> interfaces;
    std::vector<std::vector<usb_interface_descriptor>> altsettings;
    std::vector<std::vector<usb_endpoint_descriptor>> endpoints;
};

std::shared_ptr<usb_device> CopyDevice(const usb_device &source)
{
    auto copy = std::make_shared<DeviceCopy>();
    copy->device = source;
    copy->device.next = copy->device.prev = nullptr;
    copy->device.config = nullptr;
    const int configCount = source.config ? source.descriptor.bNumConfigurations : 0;
    // Reserve everything first so that the pointers taken below stay valid.
    copy->configs.reserve(std::size_t(configCount));
    std::size_t interfaceTotal = 0;
    std::size_t altTotal = 0;
    for (int c = 0; c < configCount; ++c) {
        const usb_config_descriptor &config = source.config[c];
        interfaceTotal += config.interface ? config.bNumInterfaces : 0;
        for (int i = 0; config.interface && i < config.bNumInterfaces; ++i)
            altTotal += std::size_t(std::max(0, config.interface[i].num_altsetting));
    }
    copy->interfaces.reserve(std::size_t(configCount));
    copy->altsettings.reserve(interfaceTotal);
    copy->endpoints.reserve(altTotal);
    for (int c = 0; c < configCount; ++c) {
        usb_config_descriptor config = source.config[c];
        config.extra = nullptr;
        config.extralen = 0;
        auto &interfaces = copy->interfaces.emplace_back();
        for (int i = 0; source.config[c].interface && i < config.bNumInterfaces; ++i) {
            const usb_interface &from = source.config[c].interface[i];
            auto &alts = copy->altsettings.emplace_back();
            for (int a = 0; from.altsetting && a < from.num_altsetting; ++a) {
                usb_interface_descriptor alt = from.altsetting[a];
                alt.extra = nullptr;
                alt.extralen = 0;
                auto &eps = copy->endpoints.emplace_back();
                for (int e = 0; from.altsetting[a].endpoint && e < alt.bNumEndpoints; ++e) {
                    usb_endpoint_descriptor ep = from.altsetting[a].endpoint[e];
                    ep.extra = nullptr;
                    ep.extralen = 0;
                    eps.push_back(ep);
                }
                alt.endpoint = eps.empty() ? nullptr : eps.data();
                alt.bNumEndpoints = std::uint8_t(eps.size());
                alts.push_back(alt);
            }
            interfaces.push_back({alts.empty() ? nullptr : alts.data(), int(alts.size())});
        }
        config.interface = interfaces.empty() ? nullptr : interfaces.data();
        config.bNumInterfaces = std::uint8_t(interfaces.size());
        copy->configs.push_back(config);
    }
    copy->device.config = copy->configs.empty() ? nullptr : copy->configs.data();
    return std::shared_ptr<usb_device>(copy, &copy->device);
}

} // namespace

EUSBModuleException::EUSBModuleException(const QString &text) : std::runtime_error(text.toStdString())
{}

QString UsbLibraryName()
{
    const QString override = qEnvironmentVariable("VANTOR5_LIBUSB");
    return override.isEmpty() ? QStringLiteral("libusb-0.1.so.4") : override;
}

const UsbApi &LoadUsbLibrary()
{
    Loaded &loaded = Library();
    if (loaded.ok)
        return loaded.api;
    const QString name = UsbLibraryName();
    if (!loaded.library.isLoaded()) {
        loaded.library.setFileName(name);
        if (!loaded.library.load()) {
            const int code = errno;
            throw EUSBModuleException(
                QStringLiteral(
                    "Library %1 wasn't loaded.\r\nLast error %2h: %3.\r\nНеобходимо установить драйвер "
                    "Lib-USB (Morvane_ARM_interface).")
                    .arg(name, QString::number(code, 16), loaded.library.errorString()));
        }
    }
    QStringList missing;
    UsbApi &api = loaded.api;
    auto bind = [&](auto &slot, const char *symbol, bool required) {
        slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(loaded.library.resolve(symbol));
        if (!slot && required)
            missing << QString::fromLatin1(symbol);
    };
    bind(api.usb_get_version, "usb_get_version", false);
    bind(api.usb_init, "usb_init", true);
    bind(api.usb_open, "usb_open", true);
    bind(api.usb_close, "usb_close", true);
    bind(api.usb_find_busses, "usb_find_busses", true);
    bind(api.usb_find_devices, "usb_find_devices", true);
    bind(api.usb_get_busses, "usb_get_busses", true);
    bind(api.usb_control_msg, "usb_control_msg", true);
    bind(api.usb_get_string_simple, "usb_get_string_simple", true);
    bind(api.usb_bulk_write, "usb_bulk_write", true);
    bind(api.usb_bulk_read, "usb_bulk_read", true);
    bind(api.usb_claim_interface, "usb_claim_interface", true);
    bind(api.usb_release_interface, "usb_release_interface", true);
    bind(api.usb_strerror, "usb_strerror", true);
    bind(api.usb_set_configuration, "usb_set_configuration", true);
    bind(api.usb_set_debug, "usb_set_debug", true);
    if (api.usb_init)
        api.usb_init();
    if (api.usb_set_debug)
        api.usb_set_debug(0);
    if (!missing.isEmpty())
        throw EUSBModuleException(QStringLiteral("Some function not found in libusb0.dll: ") +
                                  missing.join(QStringLiteral(", ")));
    loaded.ok = true;
    return api;
}

QString UsbVersionText()
{
    const UsbApi &api = LoadUsbLibrary();
    if (!api.usb_get_version)
        return QStringLiteral("LibUSB: %1").arg(UsbLibraryName());
    const usb_version *v = api.usb_get_version();
    if (!v)
        return QStringLiteral("LibUSB: %1").arg(UsbLibraryName());
    QString text = QStringLiteral("LibUSB-win32: dll v. %1.%2.%3.%4")
                       .arg(v->dll.major)
                       .arg(v->dll.minor)
                       .arg(v->dll.micro)
                       .arg(v->dll.nano);
    if (v->driver.major >= 0)
        text += QStringLiteral(", driver v. %1.%2.%3.%4")
                    .arg(v->driver.major)
                    .arg(v->driver.minor)
                    .arg(v->driver.micro)
                    .arg(v->driver.nano);
    return text;
}

std::vector<TUSBDevice> ListUsbDevices(std::uint16_t vendorId, std::uint16_t productId)
{
    const UsbApi &api = LoadUsbLibrary();
    if (api.usb_find_busses() < 0)
        throw EUSBModuleException(QStringLiteral("Find busses error."));
    if (api.usb_find_devices() < 0)
        throw EUSBModuleException(QStringLiteral("Find devices error."));
    std::vector<TUSBDevice> list;
    for (usb_bus *bus = api.usb_get_busses(); bus; bus = bus->next) {
        for (usb_device *dev = bus->devices; dev; dev = dev->next) {
            if (dev->descriptor.idVendor != vendorId || dev->descriptor.idProduct != productId)
                continue;
            usb_dev_handle *handle = api.usb_open(dev);
            if (!handle)
                continue;
            auto readString = [&](std::uint8_t index, const QString &fallback) {
                if (index == 0)
                    return fallback;
                char buffer[255] = {};
                const int n = api.usb_get_string_simple(handle, index, buffer, sizeof buffer);
                if (n <= 0)
                    return fallback;
                return QString::fromLocal8Bit(
                    buffer, qsizetype(std::min<std::size_t>(std::size_t(n), strnlen(buffer, sizeof buffer))));
            };
            const QString manufacturer = readString(dev->descriptor.iManufacturer, QStringLiteral("Unknown"));
            const QString product = readString(dev->descriptor.iProduct, QStringLiteral("Unknown"));
            const QString serial = readString(dev->descriptor.iSerialNumber, QString());
            api.usb_close(handle);
            TUSBDevice entry;
            entry.device = CopyDevice(*dev);
            entry.caption = QStringLiteral("%1 - %2 [%3]").arg(manufacturer, product, serial);
            entry.serial = serial;
            list.push_back(std::move(entry));
        }
    }
    return list;
}

QString UsbDeviceItemText(std::size_t index, const TUSBDevice &device)
{
    return QStringLiteral("%1. %2").arg(index + 1).arg(device.caption);
}

int AutoSelectUsbDevice(const std::vector<TUSBDevice> &devices)
{
    return devices.size() == 1 ? 0 : -1;
}

QString UsbListLabel(std::uint16_t vendorId, std::uint16_t productId)
{
    return QStringLiteral("Доступные USB-устройства (VID/PID: %1h/%2h)")
        .arg(vendorId, 4, 16, QLatin1Char('0'))
        .arg(productId, 4, 16, QLatin1Char('0'));
}

} // namespace vantor::link
