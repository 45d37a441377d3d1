#include "app/DeviceWindows.h"

#include "app/UBaseMDI.h"
#include "controller_editor/UConfVantor.h"
#include "devices/navet/UConfNavet.h"
#include "devices/orsin/UConfOrsin.h"
#include "devices/pelmar/UConfPelmar.h"
#include "devices/rudex/UConfRudex.h"

#include <QLabel>
#include <QVBoxLayout>

#include <array>
#include <utility>

namespace vantor {

namespace {

template <class Window>
TfmBaseMDI *Make(QWidget *parent)
{
    return new Window(parent);
}

// Register each device's window here as it is written, e.g.
//   case kVantorTag: return Make<TfmConfVantor>;
DeviceWindowFactory RegisteredFactory(DeviceTag tag)
{
    switch (tag) {
    case kVantorTag: return Make<TfmConfVantor>;
    case kPelmarTag: return Make<TfmConfPelmar>;
    case kOrsinTag: return Make<TfmConfOrsin>;
    case kRudexTag: return Make<TfmConfRudex>;
    case kNavetTag: return Make<TfmConfNavet>;
    default: return {};
    }
}

// Factories replaced by DeviceWindowOverride; index = tag.
std::array<DeviceWindowFactory, 256> &Overrides()
{
    static std::array<DeviceWindowFactory, 256> overrides;
    return overrides;
}

// A window for a device whose own window is not registered: it keeps what it is
// given, and says so.
TfmBaseMDI *CreateBareWindow(DeviceTag tag, QWidget *parent)
{
    auto *window = new TfmBaseMDI(tag, parent);
    auto *note = new QLabel;
    note->setObjectName(QStringLiteral("lblNoEditor"));
    note->setAlignment(Qt::AlignCenter);
    note->setWordWrap(true);
    note->setForegroundRole(QPalette::PlaceholderText);
    const QString name = DeviceName(tag);
    note->setText(
        name.isEmpty()
            ? QStringLiteral("Выберите устройство в меню «Файл» → «Новая конфигурация».")
            : QStringLiteral("Редактор конфигурации %1 в этой версии программы недоступен.").arg(name));
    auto *layout = new QVBoxLayout(window);
    layout->addWidget(note);
    return window;
}

} // namespace

TfmBaseMDI *CreateDeviceWindow(DeviceTag tag, QWidget *parent)
{
    if (const DeviceWindowFactory &factory = Overrides()[tag])
        return factory(parent);
    if (const DeviceWindowFactory factory = RegisteredFactory(tag))
        return factory(parent);
    return CreateBareWindow(tag, parent);
}

DeviceWindowOverride::DeviceWindowOverride(DeviceTag tag, DeviceWindowFactory factory)
    : tag_(tag), previous_(std::exchange(Overrides()[tag], std::move(factory)))
{}

DeviceWindowOverride::~DeviceWindowOverride()
{
    Overrides()[tag_] = std::move(previous_);
}

} // namespace vantor
