#pragma once
// Reading from and writing to devices through the modal programmer window: the one
// piece of code behind the main window's device actions (MainDeviceActions) and the
// "Прочитать" and "Записать" buttons of the device windows (DeviceButtons). Each call
// shows the programmer window and returns when the engineer has closed it (a read
// closes it by itself once the configuration is in). The main window's following of
// the active window is detached meanwhile.

#include "app/DeviceTypes.h"
#include "json/JsonText.h"

#include <QByteArray>
#include <QPointer>

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace vantor {

class TfmMain;

// The programmer window's modes.
enum class ProgrammerMode : int {
    ReadConfig = 0,     // read the device's configuration; the result is its JSON text
    WriteConfig = 1,    // write the input (a compact JSON document) into the device
    UpdateFirmware = 2, // update the device's firmware (the window asks for the file)
    WriteFromFile = 3,  // merge the input (the bytes of a JSON file) into the device's configuration
};

// Shows the programmer window modally for the device type (0: any) and mode, with
// the input bytes; returns what a read brought (empty when nothing was read or the
// engineer closed the window first, and for the other modes).
using ProgrammerRunner =
    std::function<QByteArray(QWidget *parent, DeviceTag tag, ProgrammerMode mode, const QByteArray &input)>;

// Replaces the programmer window (tests put a recording stand-in here); an empty runner
// brings the real window back.
void SetProgrammerRunner(ProgrammerRunner runner);

// Runs the programmer window (or its stand-in) with the active-window tracking of the
// main window detached.
QByteArray RunProgrammer(QWidget *parent, DeviceTag tag, ProgrammerMode mode, const QByteArray &input = {});

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

// Reads a configuration from a device for the device type (0: any). The document read
// when it is a JSON object; nothing when the engineer closed the window without a read,
// the device held nothing, or the text is no JSON object.
std::optional<json::Json> ReadConfigurationFromDevice(QWidget *parent, DeviceTag tag);

// Writes a document's member of the device type into a device (the compact layout);
// the device keeps the members of the other device types.
void WriteConfigurationToDevice(QWidget *parent, DeviceTag tag, const json::Json &document);

// Updates a device's firmware.
void UpdateDeviceFirmware(QWidget *parent);

// Writes the bytes of a JSON file into a device: every member of the file replaces or
// joins the device's members.
void WriteJsonToDevice(QWidget *parent, const std::string &bytes);

// Asks for a "*.json" file ("Открыть конфигурацию...") and writes it as above.
// Nothing happens when the engineer cancels; a file that cannot be read is reported.
void WriteFileToDeviceInteractive(QWidget *parent);

} // namespace vantor
