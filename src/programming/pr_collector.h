#pragma once
// TTaskCollector: the task queue. Owns the connection (TDAO), runs its tasks one after
// the other on the main thread, answers the device's polls (an echo, or the current
// task's request), fails a task whose request went unanswered too often, and ends a
// connection that stays silent for 4 s. Needs a running Qt event loop.

#include "link/pr_dataProvider.h"
#include "link/pr_usb.h"
#include "programming/pr_tasts.h"

#include <QTimer>

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace vantor::programming {

class TTaskCollector {
public:
    // A transport factory replaces the real transports (tests).
    explicit TTaskCollector(int connectType = link::kConnectSerial, link::TDAO::ProviderFactory factory = {});
    ~TTaskCollector();
    TTaskCollector(const TTaskCollector &) = delete;
    TTaskCollector &operator=(const TTaskCollector &) = delete;

    // Appends the task (the queue owns it) and advances the queue, which may start it.
    TProgTask *AddTask(std::unique_ptr<TProgTask> task, TProgTask::StateCallback onStateChange = {});

    // Only when disconnected: opens the port (serial: SetPortName) or the selected USB device.
    void Connect();
    // Only when connecting or connected: stops the silence timer, drops every task and
    // closes the connection. A full disconnect of a serial connection first switches the
    // link baud rate to 115200.
    void Disconnect(bool full = true);
    void SetConnectType(int type);
    int ConnectType() const { return connectType_; }
    void SetPortName(const QString &port) { portName_ = port; }
    void SetUsbDevice(const link::TUSBDevice &device);
    const link::TUSBDevice &UsbDevice() const { return usbDevice_; }

    void SetPackSize(std::uint32_t size); // capped at 33,801 (and at least 1)
    std::uint32_t PackSize() const { return packSize_; }
    // Drops every task and replaces the connection object.
    void Reset();
    // The next advance drops every remaining task without callbacks.
    void Abort() { abort_ = true; }
    std::uint8_t State() const { return dao_->State(); }
    // Builds the task's request and sends it now, outside the poll rule.
    void SendNow(TProgTask &task);

    std::uint8_t LastResult() const { return lastResult_; }
    std::size_t TaskCount() const { return tasks_.size(); }
    TProgTask *CurrentTask() const { return current_; }
    link::TDAO &Connection() { return *dao_; }

    // 4000 ms; tests shorten it.
    void SetSilenceTimeout(int ms) { silenceMs_ = ms; }

    std::function<void(std::uint8_t state)> OnConnectionState;
    std::function<void(const QString &text)> OnMessage;
    std::function<void()> OnQueueStarted;
    std::function<void()> OnQueueFinished;
    std::function<void(const QString &line)> OnTraffic;
    std::function<void()> OnReconnectRequest;

private:
    void MakeConnection();
    void Advance();
    void AdvanceOnce();
    void HandlePacket(const std::uint8_t *packet, std::size_t length);
    void ChangeState(TProgTask &task, std::uint8_t state, QString message);
    void Finish(TProgTask *task, std::uint8_t state, const QString &reason);
    void SendRequest(TProgTask &task);
    void DropTasks();
    void OnSilence();

    int connectType_;
    link::TDAO::ProviderFactory factory_;
    std::unique_ptr<link::TDAO> dao_;
    std::vector<std::unique_ptr<link::TDAO>> retired_; // replaced inside a callback
    QString portName_;
    link::TUSBDevice usbDevice_;
    std::vector<std::unique_ptr<TProgTask>> tasks_;
    std::vector<std::unique_ptr<TProgTask>> dropped_;
    TProgTask *current_ = nullptr;
    std::array<std::uint8_t, kPacketBufferSize> buffer_{};
    std::uint32_t packSize_ = 1024;
    std::uint8_t lastResult_ = kTaskFailed;
    bool abort_ = false;
    bool advancing_ = false;
    bool advanceAgain_ = false;
    int silenceMs_ = 4000;
    QTimer silence_;
};

} // namespace vantor::programming
