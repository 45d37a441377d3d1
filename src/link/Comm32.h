#pragma once
// TComm32: one serial port with the device link's line settings, on QSerialPort in the
// main thread's event loop. Received bytes reach the handler on the main thread, in
// order; writes are queued by QSerialPort and written completely.

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <stdexcept>

class QSerialPort;

namespace vantor::link {

// A serial port error with its Russian text.
class ECommsError : public std::runtime_error {
public:
    explicit ECommsError(const QString &text);
    QString Text() const { return QString::fromUtf8(what()); }
};

// The program-wide baud rate of serial connections (initially 10417). Changing it
// applies the new rate to every open port at once.
qint32 LinkBaudRate();
void SetLinkBaudRate(qint32 baud);

class TComm32 {
public:
    TComm32();
    ~TComm32();
    TComm32(const TComm32 &) = delete;
    TComm32 &operator=(const TComm32 &) = delete;

    QString PortName() const { return portName_; }
    void SetPortName(const QString &path) { portName_ = path; }
    qint32 BaudRate() const { return baud_; }
    // Applied at once when the port is open.
    void SetBaudRate(qint32 baud);

    bool IsOpen() const;
    // Opens with 8 data bits, no parity, 1 stop bit, no flow control, both buffers
    // purged, RTS raised and DTR cleared where the port has them (a pseudo-terminal
    // does not). Throws ECommsError.
    void Open();
    // Clears RTS and DTR, purges and closes. Throws ECommsError on a port error.
    void Close();
    void Write(const std::uint8_t *bytes, std::size_t length);

    std::function<void(const std::uint8_t *bytes, std::size_t length)> OnReceived;

private:
    void ReadAvailable();

    QString portName_ = QStringLiteral("/dev/ttyS1");
    qint32 baud_ = 9600;
    QSerialPort *port_ = nullptr; // owned; created on open
    QObject context_;             // receives the port's signals
};

} // namespace vantor::link
