#pragma once
// The "Прочитать" and "Записать" buttons of the device windows: reading a device's
// configuration into the window and writing the window's configuration into the
// device, both through the modal programmer window.
//
// The programmer window belongs to the programming subsystem, which installs it
// here once at start-up with SetProgrammerRunner. Until one is installed the
// buttons are disabled and their tooltip says why; nothing else has to change in
// the device windows when it arrives.

#include "app/DeviceTypes.h"

#include <QByteArray>

#include <functional>

class QAbstractButton;
class QWidget;

namespace vantor {

class TfmBaseMDI;

// The programmer window's modes.
enum class ProgrammerMode : int {
    ReadConfig = 0,     // read the device's configuration; the result is its JSON text
    WriteConfig = 1,    // write the input (a compact JSON document) into the device
    UpdateFirmware = 2, // update the device's firmware
    WriteFromFile = 3,  // write a configuration file chosen in the programmer window
};

// Opens the programmer window modally for the device type and mode, with the input
// bytes; returns what it read (empty when nothing was read or the user cancelled).
using ProgrammerRunner =
    std::function<QByteArray(QWidget *parent, DeviceTag tag, ProgrammerMode mode, const QByteArray &input)>;

// Installs (or, with an empty runner, removes) the programmer window. Windows created
// afterwards get working buttons.
void SetProgrammerRunner(ProgrammerRunner runner);
bool ProgrammerAvailable();

// Tooltip of the buttons while there is no programmer window.
QString ProgrammerMissingText();

// Binds a device window's two buttons: enabled with a programmer window, disabled
// with ProgrammerMissingText as tooltip without one.
void BindDeviceButtons(TfmBaseMDI &window, QAbstractButton *read, QAbstractButton *write);

// "Прочитать": reads the device's configuration and loads it into the window; a
// document the window refuses is reported in an error box, and a read that gives
// no JSON object changes nothing.
void ReadConfigFromDevice(TfmBaseMDI &window);

// "Записать": writes the window's document, in the compact layout, into the device.
void WriteConfigToDevice(TfmBaseMDI &window);

} // namespace vantor
