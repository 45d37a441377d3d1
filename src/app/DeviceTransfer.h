#pragma once
// Reading from and writing to devices through the modal programmer window: the one
// piece of code behind the main window's device actions and the "Прочитать" and
// "Записать" buttons of the device windows (TfmBaseMDI::ReadFromDevice and
// WriteToDevice). Each call shows the programmer window and returns when the engineer
// has closed it (a read closes it by itself once the configuration is in).

#include "app/DeviceTypes.h"
#include "json/JsonText.h"

#include <QPointer>

#include <optional>
#include <string>

class QWidget;

namespace vantor {

class TfmMain;

// While it lives, the main window that holds `widget` stops following the active
// window (a modal dialog must not change the current device type); it follows again
// afterwards, whatever way the scope is left. Does nothing outside a main window.
class ActiveWindowTrackingPause {
public:
    explicit ActiveWindowTrackingPause(QWidget *widget);
    ~ActiveWindowTrackingPause();
    ActiveWindowTrackingPause(const ActiveWindowTrackingPause &) = delete;
    ActiveWindowTrackingPause &operator=(const ActiveWindowTrackingPause &) = delete;

private:
    QPointer<TfmMain> main_;
    bool previous_ = true;
};

// Reads a configuration from a device (programmer mode 0) for the device type (0: any).
// The document read when it is a JSON object; nothing when the engineer closed the
// window without a read, the device held nothing, or the text is no JSON object.
std::optional<json::Json> ReadConfigurationFromDevice(QWidget *parent, DeviceTag tag);

// Writes a document's member of the device type into a device (programmer mode 1,
// the compact layout); the device keeps the members of the other device types.
void WriteConfigurationToDevice(QWidget *parent, DeviceTag tag, const json::Json &document);

// Updates a device's firmware (programmer mode 2; the window asks for the file).
void UpdateDeviceFirmware(QWidget *parent);

// Writes the bytes of a JSON file into a device (programmer mode 3): every member of
// the file replaces or joins the device's members.
void WriteJsonToDevice(QWidget *parent, std::string bytes);

// Asks for a "*.json" file ("Открыть конфигурацию...") and writes it as above.
// Nothing happens when the engineer cancels; a file that cannot be read is reported.
void WriteFileToDeviceInteractive(QWidget *parent);

} // namespace vantor
