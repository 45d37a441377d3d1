#pragma once
// The libusb 0.1 library, loaded by name at run time, and the list of USB devices.
//
// The library is "libusb-0.1.so.4", or the file named by the environment variable
// VANTOR5_LIBUSB (tests load a fake device library that way). It is loaded once per
// process and stays loaded until the program ends.

#include "link/LibUsb01.h"

#include <QString>

#include <memory>
#include <stdexcept>
#include <vector>

namespace vantor::link {

class EUSBModuleException : public std::runtime_error {
public:
    explicit EUSBModuleException(const QString &text);
    QString Text() const { return QString::fromUtf8(what()); }
};

// The library file that LoadUsbLibrary loads.
QString UsbLibraryName();

// Loads and binds the library (once); throws EUSBModuleException.
const UsbApi &LoadUsbLibrary();

// The version line for the programmer window. Without usb_get_version (the Linux
// library) it names the library file.
QString UsbVersionText();

// One device of the list: a copy of the library's record including its configuration
// descriptors, the caption "manufacturer - product [serial]" and the serial number.
struct TUSBDevice {
    std::shared_ptr<usb_device> device; // owns the copied configuration descriptors too
    QString caption;
    QString serial;
};

// Every device with exactly this vendor and product ID. Throws EUSBModuleException
// ("Find busses error.", "Find devices error.") and when the library cannot be loaded.
std::vector<TUSBDevice> ListUsbDevices(std::uint16_t vendorId, std::uint16_t productId);

// The list's entries as shown: "1. Morvane - Vantor USB [SN-0001]".
QString UsbDeviceItemText(std::size_t index, const TUSBDevice &device);
// The entry selected after a refresh: the only one, or none (-1).
int AutoSelectUsbDevice(const std::vector<TUSBDevice> &devices);

// The list label of the programmer window: "Доступные USB-устройства (VID/PID: 1002h/6666h)".
QString UsbListLabel(std::uint16_t vendorId, std::uint16_t productId);

} // namespace vantor::link
