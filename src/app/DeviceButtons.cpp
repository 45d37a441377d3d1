#include "app/DeviceButtons.h"

#include "app/UBaseMDI.h"
#include "app/UserDialogs.h"

#include <QAbstractButton>

namespace vantor {

void BindDeviceButtons(TfmBaseMDI &window, QAbstractButton *read, QAbstractButton *write)
{
    if (read)
        QObject::connect(read, &QAbstractButton::clicked, &window,
                         [&window] { ReadConfigFromDevice(window); });
    if (write)
        QObject::connect(write, &QAbstractButton::clicked, &window,
                         [&window] { WriteConfigToDevice(window); });
}

void ReadConfigFromDevice(TfmBaseMDI &window)
{
    auto root = ReadConfigurationFromDevice(&window, window.deviceTag());
    if (!root)
        return;
    QString message;
    if (!window.LoadConfigJson(std::move(*root), message))
        UserDialogs::ShowError(&window, message);
}

void WriteConfigToDevice(TfmBaseMDI &window)
{
    window.FinishEditing();
    if (const auto document = window.GetConfigJson())
        WriteConfigurationToDevice(&window, window.deviceTag(), *document);
}

} // namespace vantor
