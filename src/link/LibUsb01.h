#pragma once
// The libusb 0.1 interface as the program binds it at run time: the records the library
// hands out and the signatures of the functions it exports. Declared here because the
// library is loaded by name and no header is needed to build. Also used by the fake
// library of the tests, which exports the same functions.

#include <climits>
#include <cstddef>
#include <cstdint>

extern "C" {

#ifdef PATH_MAX
#define VANTOR_USB_PATH_MAX PATH_MAX
#else
#define VANTOR_USB_PATH_MAX 4096
#endif

struct usb_endpoint_descriptor {
    std::uint8_t bLength;
    std::uint8_t bDescriptorType;
    std::uint8_t bEndpointAddress;
    std::uint8_t bmAttributes;
    std::uint16_t wMaxPacketSize;
    std::uint8_t bInterval;
    std::uint8_t bRefresh;
    std::uint8_t bSynchAddress;
    unsigned char *extra;
    int extralen;
};

struct usb_interface_descriptor {
    std::uint8_t bLength;
    std::uint8_t bDescriptorType;
    std::uint8_t bInterfaceNumber;
    std::uint8_t bAlternateSetting;
    std::uint8_t bNumEndpoints;
    std::uint8_t bInterfaceClass;
    std::uint8_t bInterfaceSubClass;
    std::uint8_t bInterfaceProtocol;
    std::uint8_t iInterface;
    usb_endpoint_descriptor *endpoint;
    unsigned char *extra;
    int extralen;
};

struct usb_interface {
    usb_interface_descriptor *altsetting;
    int num_altsetting;
};

struct usb_config_descriptor {
    std::uint8_t bLength;
    std::uint8_t bDescriptorType;
    std::uint16_t wTotalLength;
    std::uint8_t bNumInterfaces;
    std::uint8_t bConfigurationValue;
    std::uint8_t iConfiguration;
    std::uint8_t bmAttributes;
    std::uint8_t MaxPower;
    usb_interface *interface;
    unsigned char *extra;
    int extralen;
};

struct __attribute__((packed)) usb_device_descriptor {
    std::uint8_t bLength;
    std::uint8_t bDescriptorType;
    std::uint16_t bcdUSB;
    std::uint8_t bDeviceClass;
    std::uint8_t bDeviceSubClass;
    std::uint8_t bDeviceProtocol;
    std::uint8_t bMaxPacketSize0;
    std::uint16_t idVendor;
    std::uint16_t idProduct;
    std::uint16_t bcdDevice;
    std::uint8_t iManufacturer;
    std::uint8_t iProduct;
    std::uint8_t iSerialNumber;
    std::uint8_t bNumConfigurations;
};

struct usb_bus;

struct usb_device {
    usb_device *next;
    usb_device *prev;
    char filename[VANTOR_USB_PATH_MAX + 1];
    usb_bus *bus;
    usb_device_descriptor descriptor;
    usb_config_descriptor *config;
    void *dev;
    std::uint8_t devnum;
    unsigned char num_children;
    usb_device **children;
};

struct usb_bus {
    usb_bus *next;
    usb_bus *prev;
    char dirname[VANTOR_USB_PATH_MAX + 1];
    usb_device *devices;
    std::uint32_t location;
    usb_device *root_dev;
};

struct usb_dev_handle;

// Only in the Windows build of the library.
struct usb_version {
    struct {
        int major, minor, micro, nano;
    } dll;
    struct {
        int major, minor, micro, nano;
    } driver;
};

} // extern "C"

namespace vantor::link {

// The bound functions. Any of them may be null only while binding fails.
struct UsbApi {
    const usb_version *(*usb_get_version)() = nullptr; // optional
    void (*usb_init)() = nullptr;
    usb_dev_handle *(*usb_open)(usb_device *) = nullptr;
    int (*usb_close)(usb_dev_handle *) = nullptr;
    int (*usb_find_busses)() = nullptr;
    int (*usb_find_devices)() = nullptr;
    usb_bus *(*usb_get_busses)() = nullptr;
    int (*usb_control_msg)(usb_dev_handle *, int requesttype, int request, int value, int index, char *bytes,
                           int size, int timeout) = nullptr;
    int (*usb_get_string_simple)(usb_dev_handle *, int index, char *buf, std::size_t buflen) = nullptr;
    int (*usb_bulk_write)(usb_dev_handle *, int ep, const char *bytes, int size, int timeout) = nullptr;
    int (*usb_bulk_read)(usb_dev_handle *, int ep, char *bytes, int size, int timeout) = nullptr;
    int (*usb_claim_interface)(usb_dev_handle *, int interface) = nullptr;
    int (*usb_release_interface)(usb_dev_handle *, int interface) = nullptr;
    char *(*usb_strerror)() = nullptr;
    int (*usb_set_configuration)(usb_dev_handle *, int configuration) = nullptr;
    void (*usb_set_debug)(int level) = nullptr;
};

} // namespace vantor::link
