#pragma once
// The "Прочитать" and "Записать" buttons of the device windows: reading a device's
// configuration into the window and writing the window's configuration into the
// device, both through the modal programmer window, with the very code of the main
// window's device actions (DeviceTransfer).

#include "app/DeviceTransfer.h"

class QAbstractButton;

namespace vantor {

class TfmBaseMDI;

// Connects a device window's two buttons (either may be null) to the two operations
// below, for the window's own device type.
void BindDeviceButtons(TfmBaseMDI &window, QAbstractButton *read, QAbstractButton *write);

// "Прочитать": reads the device's configuration and loads it into this window; a
// document the window refuses is reported in an error box (the window keeps what it
// had), and a read that gives no JSON object changes nothing.
void ReadConfigFromDevice(TfmBaseMDI &window);

// "Записать": writes the window's document, in the compact layout, into the device;
// the device keeps the configurations of the other device types.
void WriteConfigToDevice(TfmBaseMDI &window);

} // namespace vantor
