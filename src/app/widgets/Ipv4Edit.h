#pragma once
// An IPv4 address field: four decimal parts 0..255 separated by dots.
//
// Only digits and dots can be typed, at most four parts of at most three digits,
// none above 255. The field always has a complete address: leaving it (or pressing
// Enter) with a complete text takes that address and emits addressEdited; leaving it
// with an incomplete one puts the last complete address back.

#include <QLineEdit>

#include <array>
#include <cstdint>
#include <optional>

namespace vantor::widgets {

class Ipv4Edit : public QLineEdit {
    Q_OBJECT

public:
    using Octets = std::array<std::uint8_t, 4>; // first octet first

    explicit Ipv4Edit(QWidget *parent = nullptr);

    Octets address() const { return address_; }
    void setAddress(const Octets &address);
    // The address as one number, first octet in the most significant byte.
    std::uint32_t addressValue() const { return ToValue(address_); }
    void setAddressValue(std::uint32_t value) { setAddress(FromValue(value)); }

    // "a.b.c.d" with exactly four decimal parts 0..255; nothing otherwise.
    static std::optional<Octets> ParseAddress(const QString &text);
    static QString FormatAddress(const Octets &address);
    static std::uint32_t ToValue(const Octets &address);
    static Octets FromValue(std::uint32_t value);

signals:
    // The user finished editing with a complete address (which may be unchanged).
    void addressEdited();

protected:
    void focusOutEvent(QFocusEvent *event) override;

private:
    void TakeText();

    Octets address_{};
};

} // namespace vantor::widgets
