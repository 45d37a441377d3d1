#include "app/DeviceTransfer.h"

#include "app/FileIo.h"
#include "app/UMain.h"
#include "app/UserDialogs.h"
#include "programming/mainprog.h"

#include <QWidget>

namespace vantor {

namespace {

// Shows the programmer window modally over the program's window; returns what a read
// brought (empty for the other modes).
std::string RunProgrammer(QWidget *parent, DeviceTag tag, int mode, std::string input = {})
{
    ActiveWindowTrackingPause pause(parent);
    programming::TMainProgFrm programmer(tag, mode, std::move(input), parent ? parent->window() : nullptr);
    UserDialogs::Exec(programmer);
    return programmer.WorkStream();
}

} // namespace

ActiveWindowTrackingPause::ActiveWindowTrackingPause(QWidget *widget)
    : main_(widget ? qobject_cast<TfmMain *>(widget->window()) : nullptr)
{
    if (main_) {
        previous_ = main_->activeWindowTracking();
        main_->setActiveWindowTracking(false);
    }
}

ActiveWindowTrackingPause::~ActiveWindowTrackingPause()
{
    if (main_)
        main_->setActiveWindowTracking(previous_);
}

std::optional<json::Json> ReadConfigurationFromDevice(QWidget *parent, DeviceTag tag)
{
    const std::string text = RunProgrammer(parent, tag, programming::kModeRead);
    if (text.empty())
        return std::nullopt;
    return json::ParseObject(text);
}

void WriteConfigurationToDevice(QWidget *parent, DeviceTag tag, const json::Json &document)
{
    RunProgrammer(parent, tag, programming::kModeWrite, json::RenderCompact(document));
}

void UpdateDeviceFirmware(QWidget *parent)
{
    RunProgrammer(parent, kNoDevice, programming::kModeFirmware);
}

void WriteJsonToDevice(QWidget *parent, std::string bytes)
{
    RunProgrammer(parent, kNoDevice, programming::kModeWriteFile, std::move(bytes));
}

void WriteFileToDeviceInteractive(QWidget *parent)
{
    const QString path =
        UserDialogs::ChooseFileToOpen(parent, {QStringLiteral("Открыть конфигурацию..."),
                                               QStringLiteral("Файлы конфигурации JSON (*.json)"),
                                               QStringLiteral("json"),
                                               {}});
    if (path.isEmpty())
        return;
    QString error;
    auto bytes = ReadWholeFile(path, &error);
    if (!bytes) {
        UserDialogs::ShowError(parent, error);
        return;
    }
    WriteJsonToDevice(parent, std::move(*bytes));
}

} // namespace vantor
