#include "link/Comm32.h"

#include <QByteArray>
#include <QSerialPort>

#include <set>

#include <sys/stat.h>

namespace vantor::link {
namespace {

qint32 g_linkBaudRate = 10417;

// Open ports, so a change of the link baud rate reaches them (main thread only).
std::set<TComm32 *> &OpenPorts()
{
    static std::set<TComm32 *> ports;
    return ports;
}

} // namespace

ECommsError::ECommsError(const QString &text) : std::runtime_error(text.toStdString())
{}

qint32 LinkBaudRate()
{
    return g_linkBaudRate;
}

void SetLinkBaudRate(qint32 baud)
{
    if (baud == g_linkBaudRate)
        return;
    g_linkBaudRate = baud;
    for (TComm32 *port : OpenPorts())
        port->SetBaudRate(baud);
}

TComm32::TComm32() = default;

TComm32::~TComm32()
{
    try {
        Close();
    } catch (const ECommsError &) {
        // closing on destruction never throws
    }
}

bool TComm32::IsOpen() const
{
    return port_ && port_->isOpen();
}

void TComm32::SetBaudRate(qint32 baud)
{
    baud_ = baud;
    if (IsOpen())
        port_->setBaudRate(baud);
}

void TComm32::Open()
{
    if (IsOpen())
        throw ECommsError(QStringLiteral("Заданный порт уже открыт!"));
    const QByteArray path = portName_.toLocal8Bit();
    struct stat info {};
    if (::stat(path.constData(), &info) == 0 && !S_ISCHR(info.st_mode))
        throw ECommsError(QStringLiteral("Задан не COM-порт"));

    delete port_;
    port_ = new QSerialPort;
    port_->setPortName(portName_);
    if (!port_->open(QIODevice::ReadWrite)) {
        delete port_;
        port_ = nullptr;
        throw ECommsError(QStringLiteral("Невозможно открыть порт!"));
    }
    const bool settingsOk = port_->setBaudRate(baud_) && port_->setDataBits(QSerialPort::Data8) &&
                            port_->setParity(QSerialPort::NoParity) &&
                            port_->setStopBits(QSerialPort::OneStop) &&
                            port_->setFlowControl(QSerialPort::NoFlowControl);
    if (!settingsOk) {
        port_->close();
        delete port_;
        port_ = nullptr;
        throw ECommsError(QStringLiteral("Неверно заданы параметры порта!"));
    }
    port_->clear(QSerialPort::AllDirections);
    // A pseudo-terminal or a bridge without modem lines refuses these; that is fine.
    port_->setRequestToSend(true);
    port_->setDataTerminalReady(false);
    port_->clearError();
    QObject::connect(port_, &QSerialPort::readyRead, &context_, [this] { ReadAvailable(); });
    OpenPorts().insert(this);
}

void TComm32::Close()
{
    OpenPorts().erase(this);
    if (!port_)
        return;
    QSerialPort *port = port_;
    port_ = nullptr;
    QObject::disconnect(port, nullptr, &context_, nullptr);
    bool failed = false;
    QString reason;
    if (port->isOpen()) {
        port->setRequestToSend(false);
        port->setDataTerminalReady(false);
        port->clearError();
        if (!port->clear(QSerialPort::AllDirections)) {
            failed = true;
            reason = port->errorString();
        }
        port->close();
    }
    // We may be inside one of its signals (a packet handler that disconnects).
    port->deleteLater();
    if (failed)
        throw ECommsError(reason);
}

void TComm32::Write(const std::uint8_t *bytes, std::size_t length)
{
    if (IsOpen())
        port_->write(reinterpret_cast<const char *>(bytes), qint64(length));
}

void TComm32::ReadAvailable()
{
    if (!port_)
        return;
    const QByteArray bytes = port_->readAll();
    if (!bytes.isEmpty() && OnReceived)
        OnReceived(reinterpret_cast<const std::uint8_t *>(bytes.constData()), std::size_t(bytes.size()));
}

} // namespace vantor::link
