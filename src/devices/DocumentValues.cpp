#include "devices/DocumentValues.h"

#include <cmath>
#include <limits>

namespace vantor::devices {

namespace {

// The value as it stands in the file, shortened for a message.
QString Shown(const json::Json &value)
{
    QString text = QString::fromStdString(json::RenderCompact(value));
    if (text.size() > 40)
        text = text.left(37) + QStringLiteral("...");
    return text;
}

std::optional<long long> ParseDecimal(const QString &text)
{
    bool ok = false;
    const long long number = text.trimmed().toLongLong(&ok, 10);
    return ok ? std::optional<long long>(number) : std::nullopt;
}

} // namespace

EBadValue::EBadValue(const std::string &path, const json::Json &value, const QString &reason)
    : std::runtime_error(path), text_(QStringLiteral("Некорректное значение «%1» (%2): %3.")
                                          .arg(QString::fromStdString(path), Shown(value), reason))
{}

QString BadConfigurationText()
{
    return QStringLiteral("Некорректная конфигурация");
}

bool ReadDeviceMember(const json::Json &root, const char *rootKey, QString *error,
                      const std::function<void(const json::Json *member)> &read)
{
    try {
        const json::Json *member = ReadObject(Member(&root, rootKey), rootKey);
        if (!member) {
            if (error)
                *error = BadConfigurationText();
            return false;
        }
        read(member);
    } catch (const EBadValue &bad) {
        if (error)
            *error = bad.Text();
        return false;
    }
    if (error)
        error->clear();
    return true;
}

const json::Json *Member(const json::Json *object, std::string_view key)
{
    if (!object || !object->is_object())
        return nullptr;
    const auto it = object->find(key);
    if (it == object->end() || it->is_null())
        return nullptr;
    return &*it;
}

std::string Path(const std::string &parent, std::string_view key)
{
    return parent.empty() ? std::string(key) : parent + "." + std::string(key);
}

std::string Item(const std::string &array, std::size_t index)
{
    return array + "[" + std::to_string(index) + "]";
}

std::optional<long long> ReadInteger(const json::Json *value, const std::string &path)
{
    if (!value || value->is_null())
        return std::nullopt;
    if (value->is_number_integer())
        return value->get<long long>();
    if (value->is_number_unsigned()) {
        const auto number = value->get<unsigned long long>();
        if (number <= static_cast<unsigned long long>(std::numeric_limits<long long>::max()))
            return static_cast<long long>(number);
    } else if (value->is_number_float()) {
        const double number = value->get<double>();
        if (std::isfinite(number) && std::fabs(number) < 9.2e18)
            return std::llround(number);
    } else if (value->is_boolean()) {
        return value->get<bool>() ? 1 : 0;
    } else if (value->is_string()) {
        if (const auto number = ParseDecimal(QString::fromStdString(value->get<std::string>())))
            return number;
    }
    throw EBadValue(path, *value, QStringLiteral("ожидается целое число"));
}

std::optional<bool> ReadBool(const json::Json *value, const std::string &path)
{
    if (!value || value->is_null())
        return std::nullopt;
    if (value->is_boolean())
        return value->get<bool>();
    if (value->is_number())
        return value->get<double>() != 0;
    if (value->is_string()) {
        const QString text = QString::fromStdString(value->get<std::string>()).trimmed();
        if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
    }
    throw EBadValue(path, *value, QStringLiteral("ожидается true или false"));
}

std::optional<QString> ReadText(const json::Json *value, const std::string &path)
{
    if (!value || value->is_null())
        return std::nullopt;
    if (value->is_string())
        return QString::fromStdString(value->get<std::string>());
    if (value->is_number() || value->is_boolean())
        return QString::fromStdString(json::RenderCompact(*value));
    throw EBadValue(path, *value, QStringLiteral("ожидается текст"));
}

const json::Json *ReadObject(const json::Json *value, const std::string &path)
{
    if (!value || value->is_null())
        return nullptr;
    if (!value->is_object())
        throw EBadValue(path, *value, QStringLiteral("ожидается объект"));
    return value;
}

const json::Json *ReadArray(const json::Json *value, const std::string &path)
{
    if (!value || value->is_null())
        return nullptr;
    if (!value->is_array())
        throw EBadValue(path, *value, QStringLiteral("ожидается массив"));
    return value;
}

} // namespace vantor::devices
