#include "app/DeviceTransfer.h"

#include "app/FileIo.h"
#include "app/UMain.h"
#include "app/UserDialogs.h"
#include "programming/mainprog.h"

#include <QWidget>

namespace vantor {

namespace {

ProgrammerRunner &InstalledRunner()
{
    static ProgrammerRunner runner;
    return runner;
}

// The real programmer window, over the program's window.
QByteArray ShowProgrammer(QWidget *parent, DeviceTag tag, ProgrammerMode mode, const QByteArray &input)
{
    programming::TMainProgFrm programmer(tag, int(mode), input.toStdString(),
                                         parent ? parent->window() : nullptr);
    UserDialogs::Exec(programmer);
    return QByteArray::fromStdString(programmer.WorkStream());
}

} // namespace

void SetProgrammerRunner(ProgrammerRunner runner)
{
    InstalledRunner() = std::move(runner);
}

QByteArray RunProgrammer(QWidget *parent, DeviceTag tag, ProgrammerMode mode, const QByteArray &input)
{
    ActiveWindowTrackingPause pause(parent);
    if (const ProgrammerRunner &runner = InstalledRunner())
        return runner(parent, tag, mode, input);
    return ShowProgrammer(parent, tag, mode, input);
}

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
    const QByteArray text = RunProgrammer(parent, tag, ProgrammerMode::ReadConfig);
    if (text.isEmpty())
        return std::nullopt;
    return json::ParseObject(std::string_view(text.constData(), std::size_t(text.size())));
}

void WriteConfigurationToDevice(QWidget *parent, DeviceTag tag, const json::Json &document)
{
    RunProgrammer(parent, tag, ProgrammerMode::WriteConfig,
                  QByteArray::fromStdString(json::RenderCompact(document)));
}

void UpdateDeviceFirmware(QWidget *parent)
{
    RunProgrammer(parent, kNoDevice, ProgrammerMode::UpdateFirmware);
}

void WriteJsonToDevice(QWidget *parent, const std::string &bytes)
{
    RunProgrammer(parent, kNoDevice, ProgrammerMode::WriteFromFile, QByteArray::fromStdString(bytes));
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
    const auto bytes = ReadWholeFile(path, &error);
    if (!bytes) {
        UserDialogs::ShowError(parent, error);
        return;
    }
    WriteJsonToDevice(parent, *bytes);
}

} // namespace vantor
