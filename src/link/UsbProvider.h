#pragma once
// TUSBProvider: the USB transport of TDAO over libusb 0.1.
//
// One reader thread per open connection asks the device for data with a vendor control
// request and a bulk read from endpoint 0x81; one writer thread writes the queued
// packets in order to endpoint 0x02, each chunk announced by a vendor control request.
// The threads only move bytes: received data, errors and reconnect requests reach TDAO
// on the main thread through queued calls, and the reader waits until each chunk has
// been handled before it reads on.

#include "link/pr_dataProvider.h"
#include "link/pr_usb.h"

#include <QObject>

#include <memory>
#include <thread>

namespace vantor::link {

class TUSBProvider : public TprDataProvider {
public:
    explicit TUSBProvider(TDAO &owner);
    ~TUSBProvider() override;

    // The device Connect opens (from ListUsbDevices). Without one Connect fails silently.
    void SetDevice(const TUSBDevice &device) { device_ = device; }
    const TUSBDevice &Device() const { return device_; }

    bool Connect(QString *error) override;
    // Stops and joins both threads (each returns within its libusb call's 2000 ms
    // timeout), then releases the interface and closes the device.
    void Disconnect() override;
    void Send(const std::uint8_t *bytes, std::size_t length) override;

    // Maximum packet size of the OUT endpoint 0x02 of the open connection.
    int OutPacketSize() const;

private:
    struct Session;
    void ReaderLoop(std::shared_ptr<Session> session);
    void WriterLoop(std::shared_ptr<Session> session);
    void Report(const std::shared_ptr<Session> &session, const QString &text, bool reconnect);

    TUSBDevice device_;
    std::shared_ptr<Session> session_;
    std::thread reader_;
    std::thread writer_;
    QObject context_; // lives on the main thread; queued calls run in its context
};

} // namespace vantor::link
