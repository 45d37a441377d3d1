#include "app/DeviceButtons.h"

#include "app/UBaseMDI.h"
#include "app/UserDialogs.h"

#include <QAbstractButton>

namespace vantor {

namespace {

ProgrammerRunner &Runner()
{
    static ProgrammerRunner runner;
    return runner;
}

} // namespace

void SetProgrammerRunner(ProgrammerRunner runner)
{
    Runner() = std::move(runner);
}

bool ProgrammerAvailable()
{
    return static_cast<bool>(Runner());
}

QString ProgrammerMissingText()
{
    return QStringLiteral("Обмен с устройством недоступен: в этой версии программы нет окна программатора.");
}

void BindDeviceButtons(TfmBaseMDI &window, QAbstractButton *read, QAbstractButton *write)
{
    const bool available = ProgrammerAvailable();
    for (QAbstractButton *button : {read, write}) {
        if (!button)
            continue;
        button->setEnabled(available);
        button->setToolTip(available ? QString() : ProgrammerMissingText());
    }
    if (read)
        QObject::connect(read, &QAbstractButton::clicked, &window,
                         [&window] { ReadConfigFromDevice(window); });
    if (write)
        QObject::connect(write, &QAbstractButton::clicked, &window,
                         [&window] { WriteConfigToDevice(window); });
}

void ReadConfigFromDevice(TfmBaseMDI &window)
{
    if (!ProgrammerAvailable())
        return;
    const QByteArray text = Runner()(&window, window.deviceTag(), ProgrammerMode::ReadConfig, {});
    if (text.isEmpty())
        return;
    auto root = json::ParseObject(std::string_view(text.constData(), std::size_t(text.size())));
    if (!root)
        return;
    QString message;
    if (!window.LoadConfigJson(std::move(*root), message))
        UserDialogs::ShowError(&window, message);
}

void WriteConfigToDevice(TfmBaseMDI &window)
{
    if (!ProgrammerAvailable())
        return;
    const auto document = window.GetConfigJson();
    if (!document)
        return;
    const std::string text = json::RenderCompact(*document);
    Runner()(&window, window.deviceTag(), ProgrammerMode::WriteConfig, QByteArray::fromStdString(text));
}

} // namespace vantor
