#pragma once
// TComProvider: the serial transport of TDAO, on TComm32.

#include "link/Comm32.h"
#include "link/pr_dataProvider.h"

namespace vantor::link {

class TComProvider : public TprDataProvider {
public:
    explicit TComProvider(TDAO &owner);
    ~TComProvider() override;

    // Opens GetAddress() at the link baud rate. On failure *error reads
    // "Не удалось подключиться к <name>" or "Ошибка подключения к <name>: <reason>".
    bool Connect(QString *error) override;
    // Errors become the message "Ошибка отключения COM-порта: <reason>"; never throws.
    void Disconnect() override;
    void Send(const std::uint8_t *bytes, std::size_t length) override;

    TComm32 &Port() { return port_; }

private:
    TComm32 port_;
};

} // namespace vantor::link
