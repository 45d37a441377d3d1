#pragma once
// Which window class edits which device type: one factory per tag.
//
// The table in DeviceWindows.cpp is the one place where a device's window class is
// registered. A tag without a registered window (and tag 0) gets a bare TfmBaseMDI,
// which opens and keeps a document but has nothing to save.

#include "app/DeviceTypes.h"

#include <functional>

class QWidget;

namespace vantor {

class TfmBaseMDI;

using DeviceWindowFactory = std::function<TfmBaseMDI *(QWidget *parent)>;

// A new, not yet shown window for the device type.
TfmBaseMDI *CreateDeviceWindow(DeviceTag tag, QWidget *parent = nullptr);

// Replaces the factory of one tag while it lives (tests use windows of their own).
class DeviceWindowOverride {
public:
    DeviceWindowOverride(DeviceTag tag, DeviceWindowFactory factory);
    ~DeviceWindowOverride();
    DeviceWindowOverride(const DeviceWindowOverride &) = delete;
    DeviceWindowOverride &operator=(const DeviceWindowOverride &) = delete;

private:
    DeviceTag tag_;
    DeviceWindowFactory previous_;
};

} // namespace vantor
