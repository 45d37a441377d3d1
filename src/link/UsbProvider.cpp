#include "link/UsbProvider.h"

#include <QByteArray>
#include <QMetaObject>
#include <QSemaphore>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

namespace vantor::link {
namespace {

constexpr int kInEndpoint = 0x81;
constexpr int kOutEndpoint = 0x02;
constexpr int kVendorClass = 0xFF;
constexpr int kTimeoutMs = 2000;
constexpr int kReadSize = 1024;
// Errors after which the device has to be opened again: -5 (I/O error) and, on Linux,
// -19 (the device is gone).
bool AsksForReconnect(int error)
{
    return error == -5 || error == -19;
}
// A read that timed out is not worth a message: the device merely had nothing to say.
bool IsTimeout(int error)
{
    return error == -110 || error == -116;
}

} // namespace

struct TUSBProvider::Session {
    UsbApi api;
    usb_dev_handle *handle = nullptr;
    int interfaceNumber = 0;
    int outPacketSize = 0;
    std::atomic<bool> stop{false};
    QSemaphore handled; // released by the main thread after each delivered chunk

    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::vector<std::uint8_t>> outgoing;
};

TUSBProvider::TUSBProvider(TDAO &owner) : TprDataProvider(owner)
{}

TUSBProvider::~TUSBProvider()
{
    Disconnect();
}

int TUSBProvider::OutPacketSize() const
{
    return session_ ? session_->outPacketSize : 0;
}

bool TUSBProvider::Connect(QString *error)
{
    if (session_)
        return true;
    if (!device_.device)
        return false;
    const UsbApi &api = LoadUsbLibrary();
    usb_device *dev = device_.device.get();
    usb_dev_handle *handle = api.usb_open(dev);
    if (!handle)
        return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    auto fail = [&](const QString &text) {
        api.usb_close(handle);
        if (error)
            *error = text;
        return false;
    };
    if (!dev->config)
        return fail(QStringLiteral("не получен дескриптор USB"));
    if (dev->descriptor.bNumConfigurations == 0)
        return fail(QStringLiteral("количество конфигураций USB - 0"));

    bool found = false;
    int configValue = 0;
    int interfaceNumber = 0;
    int outSize = 0;
    for (int c = 0; c < dev->descriptor.bNumConfigurations && !found; ++c) {
        const usb_config_descriptor &config = dev->config[c];
        for (int i = 0; config.interface && i < config.bNumInterfaces && !found; ++i) {
            const usb_interface &interface = config.interface[i];
            for (int a = 0; interface.altsetting && a < interface.num_altsetting && !found; ++a) {
                const usb_interface_descriptor &alt = interface.altsetting[a];
                for (int e = 0; alt.endpoint && e < alt.bNumEndpoints; ++e) {
                    const usb_endpoint_descriptor &ep = alt.endpoint[e];
                    if (ep.bEndpointAddress == kOutEndpoint)
                        outSize = ep.wMaxPacketSize;
                    if (alt.bInterfaceClass == kVendorClass && ep.bEndpointAddress == kInEndpoint) {
                        found = true;
                        configValue = config.bConfigurationValue;
                        interfaceNumber = alt.bInterfaceNumber;
                    }
                }
            }
        }
    }
    if (!found || outSize <= 0)
        return fail(QStringLiteral(
                        "подходящий интерфейс с конечными точками %1h и %2h не найден у данного устройства")
                        .arg(kInEndpoint, 2, 16, QLatin1Char('0'))
                        .arg(kOutEndpoint, 2, 16, QLatin1Char('0')));
    api.usb_set_configuration(handle, configValue);
    if (api.usb_claim_interface(handle, interfaceNumber) < 0)
        return fail(QStringLiteral("ошибка выбора конфигурации или интерфейса USB-устройства"));

    auto session = std::make_shared<Session>();
    session->api = api;
    session->handle = handle;
    session->interfaceNumber = interfaceNumber;
    session->outPacketSize = outSize;
    session_ = session;
    reader_ = std::thread([this, session] { ReaderLoop(session); });
    writer_ = std::thread([this, session] { WriterLoop(session); });
    return true;
}

void TUSBProvider::Disconnect()
{
    if (!session_)
        return;
    std::shared_ptr<Session> session = std::move(session_);
    session->stop = true;
    session->wake.notify_all();
    if (reader_.joinable())
        reader_.join();
    if (writer_.joinable())
        writer_.join();
    if (session->handle) {
        session->api.usb_release_interface(session->handle, session->interfaceNumber);
        session->api.usb_close(session->handle);
        session->handle = nullptr;
    }
}

void TUSBProvider::Send(const std::uint8_t *bytes, std::size_t length)
{
    if (!session_ || length == 0)
        return;
    {
        std::lock_guard lock(session_->mutex);
        session_->outgoing.emplace_back(bytes, bytes + length);
    }
    session_->wake.notify_one();
}

void TUSBProvider::Report(const std::shared_ptr<Session> &session, const QString &text, bool reconnect)
{
    QMetaObject::invokeMethod(
        &context_,
        [this, session, text, reconnect] {
            if (session->stop)
                return;
            owner_.Message(text);
            if (reconnect)
                owner_.RequestReconnect();
        },
        Qt::QueuedConnection);
}

void TUSBProvider::ReaderLoop(std::shared_ptr<Session> session)
{
    std::vector<char> buffer(kReadSize);
    const UsbApi &api = session->api;
    while (!session->stop) {
        int last =
            api.usb_control_msg(session->handle, 0xC0, 2, kInEndpoint, kReadSize, nullptr, 0, kTimeoutMs);
        int read = 0;
        if (last >= 0 && !session->stop) {
            read = api.usb_bulk_read(session->handle, kInEndpoint, buffer.data(), kReadSize, kTimeoutMs);
            last = read;
            if (read > 0) {
                QByteArray chunk(buffer.data(), std::min(read, kReadSize));
                QMetaObject::invokeMethod(
                    &context_,
                    [this, session, chunk] {
                        if (!session->stop)
                            owner_.OnData(reinterpret_cast<const std::uint8_t *>(chunk.constData()),
                                          std::size_t(chunk.size()));
                        session->handled.release();
                    },
                    Qt::QueuedConnection);
                // Wait until the main thread has taken the chunk, but never past a stop.
                while (!session->handled.tryAcquire(1, 20))
                    if (session->stop)
                        return;
            }
        }
        if (read == kReadSize)
            continue;
        if (last < 0 && !IsTimeout(last)) {
            const char *why = api.usb_strerror ? api.usb_strerror() : nullptr;
            const bool reconnect = AsksForReconnect(last);
            Report(session,
                   QStringLiteral("Ошибка чтения USB (%1): %2")
                       .arg(last)
                       .arg(QString::fromLocal8Bit(why ? why : "")),
                   reconnect);
            if (reconnect)
                return; // the reconnect starts a new reader
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void TUSBProvider::WriterLoop(std::shared_ptr<Session> session)
{
    const UsbApi &api = session->api;
    for (;;) {
        std::vector<std::uint8_t> packet;
        {
            std::unique_lock lock(session->mutex);
            session->wake.wait(lock, [&] { return session->stop || !session->outgoing.empty(); });
            if (session->stop)
                return;
            packet = std::move(session->outgoing.front());
            session->outgoing.pop_front();
        }
        std::size_t at = 0;
        while (at < packet.size() && !session->stop) {
            const int chunk =
                int(std::min<std::size_t>(std::size_t(session->outPacketSize), packet.size() - at));
            int result =
                api.usb_control_msg(session->handle, 0x40, 3, kOutEndpoint, chunk, nullptr, 0, kTimeoutMs);
            if (result >= 0)
                result =
                    api.usb_bulk_write(session->handle, kOutEndpoint,
                                       reinterpret_cast<const char *>(packet.data() + at), chunk, kTimeoutMs);
            if (result < 0) {
                const char *why = api.usb_strerror ? api.usb_strerror() : nullptr;
                Report(session,
                       QStringLiteral("Ошибка записи USB (%1): %2")
                           .arg(result)
                           .arg(QString::fromLocal8Bit(why ? why : "")),
                       false);
                break; // the rest of this packet is dropped
            }
            if (result == chunk)
                at += std::size_t(chunk); // a short write repeats the same chunk
        }
    }
}

} // namespace vantor::link
