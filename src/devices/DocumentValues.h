#pragma once
// Reading the members of a device document.
//
// Readers are lenient about what is missing (an absent member, or null, keeps the
// current value) but not about what is wrong: a member that is present and cannot
// be used (a text where a number belongs, an address with a part that is no
// number) stops the read with EBadValue, whose message names the member and the
// value, so the engineer can find it in the file. What was read before stays.

#include "json/JsonText.h"

#include <QString>

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vantor::devices {

class EBadValue : public std::runtime_error {
public:
    EBadValue(const std::string &path, const json::Json &value, const QString &reason);
    // "Некорректное значение «orsin.eth.ip» ("1.2.x.4"): часть «x» не является числом."
    const QString &Text() const { return text_; }

private:
    QString text_;
};

// "Некорректная конфигурация": the document lacks the device's member.
QString BadConfigurationText();

// Reads the device's member `rootKey` of a document with `read`. False, with the
// message in `error` (cleared on success), when the document lacks that member
// (BadConfigurationText), the member is no object, or `read` stops at a value it
// cannot use (EBadValue); what was read before stays.
bool ReadDeviceMember(const json::Json &root, const char *rootKey, QString *error,
                      const std::function<void(const json::Json *member)> &read);

// A member of an object; nothing when the object is no object, the member is
// absent or it is null.
const json::Json *Member(const json::Json *object, std::string_view key);

// A path for messages: "orsin" + "eth" → "orsin.eth"; Item("navet.cycle.ph", 2) →
// "navet.cycle.ph[2]".
std::string Path(const std::string &parent, std::string_view key);
std::string Item(const std::string &array, std::size_t index);

// The value as an integer: a number (a fraction is rounded) or a text holding a
// decimal integer; true and false count as 1 and 0. Nothing for an absent value.
std::optional<long long> ReadInteger(const json::Json *value, const std::string &path);
// A boolean, a number (non-zero is true) or the text "true"/"false".
std::optional<bool> ReadBool(const json::Json *value, const std::string &path);
// A text; numbers and booleans are taken as they are written.
std::optional<QString> ReadText(const json::Json *value, const std::string &path);
// The value itself when it is an object or an array (each with EBadValue otherwise).
const json::Json *ReadObject(const json::Json *value, const std::string &path);
const json::Json *ReadArray(const json::Json *value, const std::string &path);

} // namespace vantor::devices
