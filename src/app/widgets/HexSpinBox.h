#pragma once
// A spin box that shows and takes its value in hexadecimal (upper-case digits, no
// prefix), padded with zeros to a minimum number of digits ("%.2x" is two) except
// while it has the focus.

#include <QSpinBox>

namespace vantor::widgets {

class HexSpinBox : public QSpinBox {
    Q_OBJECT

public:
    explicit HexSpinBox(QWidget *parent = nullptr);

    // Digits shown at least (zeros in front); 1 shows 0xFF as "FF" and 0x5 as "5".
    void setMinimumDigits(int digits);
    int minimumDigits() const { return minimumDigits_; }

    // The text a value is shown with; also used by the hexadecimal grid cells.
    static QString FormatHex(qint64 value, int minimumDigits);

protected:
    QString textFromValue(int value) const override;
    int valueFromText(const QString &text) const override;
    QValidator::State validate(QString &input, int &pos) const override;

private:
    int minimumDigits_ = 1;
};

} // namespace vantor::widgets
