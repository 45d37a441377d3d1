// A fake libusb 0.1: one bus with configurable devices whose vendor interface runs the
// simulated device (the same logic as vantor5-devsim).
#include "FakeUsbControl.h"

#include "SimDevice.h"
#include "link/LibUsb01.h"

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#define EXPORT extern "C" __attribute__((visibility("default")))

using vantor::devsim::Clock;
using vantor::devsim::SimDevice;
using vantor::devsim::SimOptions;

namespace {

struct FakeDevice {
    usb_device device{};
    usb_config_descriptor config{};
    usb_interface interface {};
    usb_interface_descriptor alt{};
    usb_endpoint_descriptor endpoints[2]{};
};

struct State {
    std::mutex mutex;
    FakeUsbConfig config{1, 0x1002, 0x6666, 1, 64, 0, 5, 2, "SN-0001"};
    std::string serial = "SN-0001";
    usb_bus bus{};
    std::vector<std::unique_ptr<FakeDevice>> devices;
    std::unique_ptr<SimDevice> sim;
    int pendingReadError = 0;
    int writes = 0;
    std::vector<int> announced;
    int openHandles = 0;
    std::string error = "no error";
};

State &S()
{
    static State state;
    return state;
}

void Rebuild(State &s)
{
    s.devices.clear();
    usb_device *previous = nullptr;
    s.bus.devices = nullptr;
    for (int i = 0; i < s.config.deviceCount; ++i) {
        auto d = std::make_unique<FakeDevice>();
        d->endpoints[0].bEndpointAddress = s.config.withInEndpoint81 ? 0x81 : 0x83;
        d->endpoints[0].wMaxPacketSize = 64;
        d->endpoints[1].bEndpointAddress = 0x02;
        d->endpoints[1].wMaxPacketSize = std::uint16_t(s.config.outPacketSize);
        d->alt.bInterfaceNumber = 0;
        d->alt.bInterfaceClass = 0xFF;
        d->alt.bNumEndpoints = 2;
        d->alt.endpoint = d->endpoints;
        d->interface.altsetting = &d->alt;
        d->interface.num_altsetting = 1;
        d->config.bNumInterfaces = 1;
        d->config.bConfigurationValue = 1;
        d->config.interface = &d->interface;
        d->device.descriptor.idVendor = s.config.vendorId;
        d->device.descriptor.idProduct = s.config.productId;
        d->device.descriptor.iManufacturer = 1;
        d->device.descriptor.iProduct = 2;
        d->device.descriptor.iSerialNumber = 3;
        d->device.descriptor.bNumConfigurations = 1;
        d->device.config = &d->config;
        d->device.bus = &s.bus;
        std::snprintf(d->device.filename, sizeof d->device.filename, "%03d", i + 1);
        d->device.prev = previous;
        if (previous)
            previous->next = &d->device;
        else
            s.bus.devices = &d->device;
        previous = &d->device;
        s.devices.push_back(std::move(d));
    }
    SimOptions options;
    options.serial = s.serial;
    options.pollIntervalMs = s.config.pollIntervalMs;
    options.replyTimeoutMs = 200;
    s.sim = std::make_unique<SimDevice>(options);
    s.announced.clear();
    s.writes = 0;
    s.pendingReadError = 0;
}

// Handles are the device records themselves.
usb_dev_handle *Handle(usb_device *d)
{
    return reinterpret_cast<usb_dev_handle *>(d);
}

} // namespace

// ---- control exports for the tests ----

EXPORT void fakeusb_configure(const FakeUsbConfig *config)
{
    State &s = S();
    std::lock_guard lock(s.mutex);
    s.config = *config;
    s.serial = config->serial ? config->serial : "";
    Rebuild(s);
}

EXPORT void fakeusb_inject_read_error(int code)
{
    std::lock_guard lock(S().mutex);
    S().pendingReadError = code;
}

EXPORT int fakeusb_write_chunks(int *sizes, int max)
{
    std::lock_guard lock(S().mutex);
    const int n = std::min<int>(max, int(S().announced.size()));
    std::copy_n(S().announced.begin(), n, sizes);
    return int(S().announced.size());
}

EXPORT void fakeusb_with_device(void (*fn)(void *, void *), void *context)
{
    std::lock_guard lock(S().mutex);
    fn(context, S().sim.get());
}

EXPORT int fakeusb_open_handles()
{
    std::lock_guard lock(S().mutex);
    return S().openHandles;
}

// ---- the libusb 0.1 interface ----

EXPORT const usb_version *usb_get_version()
{
    static usb_version version;
    version.dll = {0, 1, 12, 2};
    version.driver = {S().config.driverMajor, 1, 12, 2};
    return &version;
}

EXPORT void usb_init()
{
    State &s = S();
    std::lock_guard lock(s.mutex);
    if (!s.sim)
        Rebuild(s);
}

EXPORT void usb_set_debug(int)
{}

EXPORT int usb_find_busses()
{
    return 1;
}

EXPORT int usb_find_devices()
{
    return 0;
}

EXPORT usb_bus *usb_get_busses()
{
    return &S().bus;
}

EXPORT usb_dev_handle *usb_open(usb_device *device)
{
    std::lock_guard lock(S().mutex);
    ++S().openHandles;
    return Handle(device);
}

EXPORT int usb_close(usb_dev_handle *)
{
    std::lock_guard lock(S().mutex);
    --S().openHandles;
    return 0;
}

EXPORT int usb_get_string_simple(usb_dev_handle *, int index, char *buffer, std::size_t length)
{
    std::string text = index == 1 ? "Morvane" : index == 2 ? "Vantor USB" : index == 3 ? S().serial : "";
    if (text.empty() || length == 0)
        return -1;
    text = text.substr(0, length - 1);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return int(text.size());
}

EXPORT int usb_set_configuration(usb_dev_handle *, int)
{
    return 0;
}

EXPORT int usb_claim_interface(usb_dev_handle *, int interface)
{
    return interface == 0 ? 0 : -22;
}

EXPORT int usb_release_interface(usb_dev_handle *, int)
{
    return 0;
}

EXPORT char *usb_strerror()
{
    return S().error.data();
}

EXPORT int usb_control_msg(usb_dev_handle *, int requestType, int request, int value, int index, char *, int,
                           int)
{
    State &s = S();
    std::lock_guard lock(s.mutex);
    if (requestType == 0x40 && request == 3 && value == 2)
        s.announced.push_back(index);
    return 0;
}

EXPORT int usb_bulk_write(usb_dev_handle *, int endpoint, const char *bytes, int size, int)
{
    State &s = S();
    std::lock_guard lock(s.mutex);
    if (endpoint != 0x02)
        return -22;
    ++s.writes;
    if (s.config.shortWriteEvery > 0 && s.writes % s.config.shortWriteEvery == 0 && size > 1)
        return size - 1; // not taken: the host has to repeat the chunk
    s.sim->Receive(reinterpret_cast<const std::uint8_t *>(bytes), std::size_t(size), Clock::now());
    return size;
}

EXPORT int usb_bulk_read(usb_dev_handle *, int endpoint, char *bytes, int size, int timeout)
{
    State &s = S();
    if (endpoint != 0x81)
        return -22;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout);
    for (;;) {
        {
            std::lock_guard lock(s.mutex);
            if (s.pendingReadError != 0) {
                const int error = s.pendingReadError;
                s.pendingReadError = 0;
                s.error = "simulated read error";
                return error;
            }
            const auto now = Clock::now();
            s.sim->Advance(now);
            int n = 0;
            auto &out = s.sim->Outgoing();
            while (!out.empty() && out.front().notBefore <= now && n < size) {
                auto &chunk = out.front().bytes;
                const int take = std::min<int>(size - n, int(chunk.size()));
                std::memcpy(bytes + n, chunk.data(), std::size_t(take));
                chunk.erase(chunk.begin(), chunk.begin() + take);
                n += take;
                if (chunk.empty())
                    out.pop_front();
            }
            if (n > 0)
                return n;
            if (now >= deadline)
                return -110;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}
