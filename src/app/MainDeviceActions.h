#pragma once
// The main window's device actions and its "Устройство" menu: per device type "Записать
// конфигурацию" and "Прочитать конфигурацию" (one sub-menu each), then "Обновить
// прошивку" and "Записать из файла". Every one of them runs the programmer window
// (DeviceTransfer); the main window only prepares what it writes and routes what
// was read.
//
// Enabling: a device's write action only while the active window is that device's
// window and the current device type is that device; everything else always.

#include "app/DeviceTypes.h"

#include <QObject>

#include <utility>
#include <vector>

class QAction;

namespace vantor {

class TfmMain;

class MainDeviceActions : public QObject {
    Q_OBJECT

public:
    // Creates the actions (children of the main window, found by their names such as
    // "actDevConfPelmarRead") and fills the main window's device menu.
    explicit MainDeviceActions(TfmMain &main);

    // Reads a configuration from a device and routes it to a device window, trying
    // the device types from tag on (0: every type). Nothing happens for an empty
    // result, text that is no JSON object, or an object without a known root key.
    void Read(DeviceTag tag);
    // Writes the active window's configuration for the current device type; does
    // nothing without an active device window or current device type.
    void WriteActive();
    void UpdateFirmware();
    void WriteFromFile();

    // Applies the enabling rules (the main window calls it whenever they may change).
    void Update();

private:
    QAction *Make(const QString &name, const QString &caption, const QString &hint);

    TfmMain &main_;
    std::vector<std::pair<DeviceTag, QAction *>> writeActions_; // tag 0: actDevConfWrite
};

} // namespace vantor
