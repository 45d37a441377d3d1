#include "app/DeviceWindows.h"

#include "app/UBaseMDI.h"

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
    default: return {};
    }
}

// Factories replaced by DeviceWindowOverride; index = tag.
std::array<DeviceWindowFactory, 256> &Overrides()
{
    static std::array<DeviceWindowFactory, 256> overrides;
    return overrides;
}

} // namespace

TfmBaseMDI *CreateDeviceWindow(DeviceTag tag, QWidget *parent)
{
    if (const DeviceWindowFactory &factory = Overrides()[tag])
        return factory(parent);
    if (const DeviceWindowFactory factory = RegisteredFactory(tag))
        return factory(parent);
    return new TfmBaseMDI(tag, parent);
}

DeviceWindowOverride::DeviceWindowOverride(DeviceTag tag, DeviceWindowFactory factory)
    : tag_(tag), previous_(std::exchange(Overrides()[tag], std::move(factory)))
{}

DeviceWindowOverride::~DeviceWindowOverride()
{
    Overrides()[tag_] = std::move(previous_);
}

} // namespace vantor
