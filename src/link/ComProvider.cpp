#include "link/ComProvider.h"

namespace vantor::link {

TComProvider::TComProvider(TDAO &owner) : TprDataProvider(owner)
{}

TComProvider::~TComProvider()
{
    port_.OnReceived = nullptr;
}

bool TComProvider::Connect(QString *error)
{
    try {
        port_.SetPortName(GetAddress());
        port_.SetBaudRate(LinkBaudRate());
        port_.Open();
        port_.OnReceived = [this](const std::uint8_t *bytes, std::size_t length) {
            owner_.OnData(bytes, length);
        };
        return true;
    } catch (const ECommsError &e) {
        if (error)
            *error =
                QStringLiteral("Ошибка подключения к ") + GetDisplayName() + QStringLiteral(": ") + e.Text();
        return false;
    }
}

void TComProvider::Disconnect()
{
    port_.OnReceived = nullptr;
    try {
        port_.Close();
    } catch (const ECommsError &e) {
        owner_.Message(QStringLiteral("Ошибка отключения COM-порта: ") + e.Text());
    }
}

void TComProvider::Send(const std::uint8_t *bytes, std::size_t length)
{
    port_.Write(bytes, length);
}

} // namespace vantor::link
