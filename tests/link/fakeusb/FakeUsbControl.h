#pragma once
// Control interface of the fake libusb 0.1 library used by the USB tests. The library
// exports the usb_* functions the program binds and runs the simulated device behind a
// vendor interface; tests steer it through these extra exports.

#include <cstdint>

extern "C" {

struct FakeUsbConfig {
    int deviceCount; // devices on the bus with the configured IDs
    std::uint16_t vendorId;
    std::uint16_t productId;
    int withInEndpoint81; // 0: the vendor interface has IN 0x83 instead of 0x81
    int outPacketSize;    // wMaxPacketSize of OUT 0x02
    int shortWriteEvery;  // every N-th bulk write reports one byte less and is discarded
    int pollIntervalMs;   // of the simulated device
    int driverMajor;      // usb_get_version: driver major (negative: no driver)
    const char *serial;   // string descriptor and device serial
};

typedef void (*FakeUsbConfigure)(const FakeUsbConfig *config);
typedef void (*FakeUsbInjectReadError)(int code);
// Sizes announced by the vendor request before each bulk write, in order (up to max).
typedef int (*FakeUsbWriteChunks)(int *sizes, int max);
// Runs fn(context, SimDevice*) under the device's lock.
typedef void (*FakeUsbWithDevice)(void (*fn)(void *context, void *device), void *context);
typedef int (*FakeUsbOpenHandles)();
}
