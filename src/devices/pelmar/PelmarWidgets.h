#pragma once
// Small helpers the Pelmar-3 window's pages share: field set-up and the input rules
// that keep what is typed storable.

#include <QString>
#include <QValidator>

#include <string>

class QLineEdit;
class QSpinBox;

namespace vantor {

// Most text fields of the configuration take at most this many characters.
inline constexpr int kPelmarTextLength = 100;

// A spin box for 0..maximum (unsigned 16-bit values), with an optional unit suffix.
void SetUpUnsignedSpin(QSpinBox &spin, int maximum, const QString &suffix = {});

// Shows a stored text in full: a field's length limit applies to typing, never to
// what a document holds.
void SetTextKeepingAll(QLineEdit &edit, const std::string &text, int limit);

// Accepts text the device can store: only Windows-1251 characters, and none of
// `forbidden` (the web user name cannot hold ':', which separates it from the
// password; a server address cannot either, it separates the port).
class StorableTextValidator : public QValidator {
    Q_OBJECT

public:
    StorableTextValidator(bool windows1251Only, const QString &forbidden, QObject *parent = nullptr);
    State validate(QString &input, int &pos) const override;

private:
    bool windows1251Only_;
    QString forbidden_;
};

} // namespace vantor
