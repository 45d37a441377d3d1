#include "link/pr_dataProvider.h"

#include "link/Checksums.h"
#include "link/ComProvider.h"
#include "link/UsbProvider.h"

#include <algorithm>
#include <cstring>

namespace vantor::link {

TprDataProvider::TprDataProvider(TDAO &owner) : owner_(owner)
{}

TprDataProvider::~TprDataProvider() = default;

QString TprDataProvider::GetDisplayName() const
{
    return address_.mid(address_.lastIndexOf(QLatin1Char('/')) + 1);
}

void TprDataProvider::SetAddress(const QString &name)
{
    const QString address = name.startsWith(QLatin1Char('/')) ? name : QStringLiteral("/dev/") + name;
    if (address != address_)
        address_ = address;
}

TDAO::TDAO(int connectType, ProviderFactory factory) : connectType_(connectType)
{
    if (connectType != kConnectSerial && connectType != kConnectUsb)
        throw ELinkError("Unsupported connect type");
    if (factory)
        provider_ = factory(*this);
    else if (connectType == kConnectSerial)
        provider_ = std::make_unique<TComProvider>(*this);
    else
        provider_ = std::make_unique<TUSBProvider>(*this);
}

TDAO::~TDAO()
{
    OnStateChange = nullptr;
    OnMessage = nullptr;
    Disconnect();
}

void TDAO::SetState(std::uint8_t state)
{
    if (state == state_)
        return;
    state_ = state;
    if (OnStateChange)
        OnStateChange();
}

bool TDAO::Connect()
{
    if (state_ != kStateDisconnected)
        return true;
    SetState(kStateConnecting);
    ++generation_; // a scan in progress (we may be inside its callback) must stop
    buffer_.fill(0);
    fill_ = 0;
    scanPos_ = 0;
    pending_.clear();
    QString error;
    const bool ok = provider_->Connect(&error);
    if (!ok) {
        SetState(kStateDisconnected);
        QString text = QStringLiteral("Не удалось подключиться к устройству");
        if (!error.isEmpty())
            text += QStringLiteral(": ") + error;
        Message(text);
    }
    return ok;
}

void TDAO::Disconnect()
{
    if (state_ != kStateConnecting && state_ != kStateConnected)
        return;
    SetState(kStateDisconnecting);
    provider_->Disconnect();
    SetState(kStateDisconnected);
}

void TDAO::Send(const std::uint8_t *bytes, std::size_t length)
{
    if (OnTraffic)
        OnTraffic(QStringLiteral("PC:  ") + QString::fromLatin1(HexDump(bytes, length)));
    provider_->Send(bytes, length);
}

void TDAO::Message(const QString &text)
{
    if (OnMessage)
        OnMessage(text);
}

void TDAO::RequestReconnect()
{
    if (OnReconnectRequest)
        OnReconnectRequest();
}

void TDAO::OnData(const std::uint8_t *bytes, std::size_t length)
{
    if (!OnPacket || length == 0)
        return;
    if (scanning_) {
        pending_.insert(pending_.end(), bytes, bytes + length);
        return;
    }
    if (state_ == kStateConnecting)
        SetState(kStateConnected);

    std::vector<std::uint8_t> chunk;
    for (;;) {
        if (fill_ + length > kReceiveBufferSize) {
            // Make room by dropping what has been scanned already.
            std::memmove(buffer_.data(), buffer_.data() + scanPos_, fill_ - scanPos_);
            fill_ -= scanPos_;
            scanPos_ = 0;
        }
        const std::size_t fits = std::min(length, kReceiveBufferSize - fill_);
        std::memcpy(buffer_.data() + fill_, bytes, fits);
        fill_ += fits;
        if (OnTraffic)
            OnTraffic(QStringLiteral("Dev: ") + QString::fromLatin1(HexDump(bytes, length)));
        Scan();
        if (pending_.empty())
            break;
        chunk.swap(pending_);
        pending_.clear();
        bytes = chunk.data();
        length = chunk.size();
    }
}

void TDAO::Scan()
{
    scanning_ = true;
    const std::uint64_t generation = generation_;
    std::size_t cursor = scanPos_;
    while (fill_ >= kPacketHeaderSize && fill_ - kPacketHeaderSize >= cursor) {
        const std::uint8_t *at = buffer_.data() + cursor;
        if (ReadU32(at) == kPacketMagic) {
            // LEN + 9 computed in 64 bits: a huge LEN must not wrap into a small total.
            const std::uint64_t total = std::uint64_t(ReadU32(at + 4)) + 9;
            if (total >= 1 && total <= kMaxPacketSize && cursor + total <= fill_ &&
                Crc8(at, std::size_t(total - 1)) == at[total - 1]) {
                if (OnPacket)
                    OnPacket(at, std::size_t(total));
                if (generation != generation_)
                    break; // reconnected from inside the callback: the buffer is new
                if (connectType_ == kConnectUsb)
                    std::memset(buffer_.data() + cursor, 0, 4);
                cursor += std::size_t(total);
                scanPos_ = cursor;
                continue;
            }
        }
        ++cursor;
    }
    scanning_ = false;
}

} // namespace vantor::link
