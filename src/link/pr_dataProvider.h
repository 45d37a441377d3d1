#pragma once
// The connection object TDAO and the transport interface TprDataProvider.
//
// TDAO owns one transport (serial or USB), keeps the connection state, collects the
// received bytes in one fixed buffer and hands every valid packet to its owner. All of
// it runs on the main thread; transports deliver received bytes there through OnData.

#include "link/Packet.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

namespace vantor::link {

class TDAO;

// A failure of the link itself (not of a device command), e.g. an unknown connection type.
class ELinkError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum ConnectType : int {
    kConnectSerial = 0,
    kConnectUsb = 2,
};

// Connection states of TDAO.
enum LinkState : std::uint8_t {
    kStateConnecting = 0,
    kStateConnected = 1,
    kStateDisconnecting = 2,
    kStateDisconnected = 3,
};

// One transport. Created with its owning TDAO, to which it hands received bytes
// (TDAO::OnData, main thread only) and messages (TDAO::Message).
class TprDataProvider {
public:
    explicit TprDataProvider(TDAO &owner);
    virtual ~TprDataProvider();
    TprDataProvider(const TprDataProvider &) = delete;
    TprDataProvider &operator=(const TprDataProvider &) = delete;

    // The full device path, e.g. /dev/ttyUSB0 (serial transports).
    QString GetAddress() const { return address_; }
    // The part of the address after its last "/", e.g. ttyUSB0.
    QString GetDisplayName() const;
    // A name without a leading "/" is stored as "/dev/" + name.
    void SetAddress(const QString &name);
    void SetPortName(const QString &port) { SetAddress(QStringLiteral("/dev/") + port); }

    // False with *error set (or left empty when there is nothing to say).
    virtual bool Connect(QString *error) = 0;
    virtual void Disconnect() = 0;
    virtual void Send(const std::uint8_t *bytes, std::size_t length) = 0;

protected:
    TDAO &owner_;

private:
    QString address_;
};

class TDAO {
public:
    using ProviderFactory = std::function<std::unique_ptr<TprDataProvider>(TDAO &)>;

    // Connection type 0 makes a serial transport, 2 a USB transport; any other type
    // throws ELinkError("Unsupported connect type"). A factory replaces the transport
    // (tests); the connection type still decides the USB scanning rule.
    explicit TDAO(int connectType, ProviderFactory factory = {});
    ~TDAO();
    TDAO(const TDAO &) = delete;
    TDAO &operator=(const TDAO &) = delete;

    // Only from state 3: clears the receive buffer and opens the transport. True also
    // when already connecting or connected (nothing is done then).
    bool Connect();
    // Only in states 0 and 1: 2, transport closed, 3. Never throws.
    void Disconnect();
    void SetAddress(const QString &name) { provider_->SetAddress(name); }
    void Send(const std::uint8_t *bytes, std::size_t length);

    // Received bytes, main thread only. Calls OnPacket once per valid packet, in order.
    void OnData(const std::uint8_t *bytes, std::size_t length);

    std::uint8_t State() const { return state_; }
    int ConnectType() const { return connectType_; }
    TprDataProvider &Provider() { return *provider_; }

    // For transports: a message for the owner (errors of reading and writing).
    void Message(const QString &text);
    // For the USB transport: the device asked for a reconnect (read error -5).
    void RequestReconnect();

    // Callbacks, each may be unset. OnPacket gets a complete packet (magic to CRC).
    std::function<void(const std::uint8_t *packet, std::size_t length)> OnPacket;
    std::function<void(const QString &text)> OnMessage;
    std::function<void()> OnStateChange;
    // Traffic for the log: "PC:  " + hex dump of every sent packet, "Dev: " + hex
    // dump of every received chunk. Unset costs nothing.
    std::function<void(const QString &line)> OnTraffic;
    std::function<void()> OnReconnectRequest;

    // The scanner's bookkeeping, for tests.
    std::size_t FillCount() const { return fill_; }
    std::size_t ScanPosition() const { return scanPos_; }

private:
    void SetState(std::uint8_t state);
    void Scan();

    int connectType_;
    std::unique_ptr<TprDataProvider> provider_;
    std::uint8_t state_ = kStateDisconnected;
    std::array<std::uint8_t, kReceiveBufferSize> buffer_{};
    std::size_t fill_ = 0;
    std::size_t scanPos_ = 0;
    // A packet callback that feeds more bytes (a nested event loop) must not disturb
    // the scan in progress: such bytes wait here until the outer scan is done.
    bool scanning_ = false;
    std::uint64_t generation_ = 0;
    std::vector<std::uint8_t> pending_;
};

} // namespace vantor::link
