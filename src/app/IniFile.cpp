#include "app/IniFile.h"

#include "app/FileIo.h"

#include <QFile>
#include <QRegularExpression>

namespace vantor {

namespace {

bool IsSectionHeader(const QString &line, QString *name = nullptr)
{
    const QString trimmed = line.trimmed();
    if (trimmed.size() < 2 || !trimmed.startsWith(QLatin1Char('[')) || !trimmed.endsWith(QLatin1Char(']')))
        return false;
    if (name)
        *name = trimmed.mid(1, trimmed.size() - 2).trimmed();
    return true;
}

bool SplitKeyLine(const QString &line, QString *key, QString *value)
{
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith(QLatin1Char(';')) || trimmed.startsWith(QLatin1Char('#')))
        return false;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return false;
    *key = line.left(eq).trimmed();
    if (value)
        *value = line.mid(eq + 1).trimmed();
    return !key->isEmpty();
}

} // namespace

IniFile IniFile::FromText(const QString &text)
{
    IniFile ini;
    QString body = text;
    if (body.startsWith(QChar(0xFEFF)))
        body.remove(0, 1);
    ini.lines_ = body.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    while (!ini.lines_.isEmpty() && ini.lines_.constLast().trimmed().isEmpty())
        ini.lines_.removeLast();
    return ini;
}

QString IniFile::ToText() const
{
    QString text;
    for (const QString &line : lines_)
        text += line + lineEnd_;
    return text;
}

std::optional<IniFile> IniFile::Load(const QString &path, QString *error)
{
    if (!QFile::exists(path))
        return IniFile();
    const auto bytes = ReadWholeFile(path, error);
    if (!bytes)
        return std::nullopt;
    return FromText(QString::fromUtf8(bytes->data(), static_cast<qsizetype>(bytes->size())));
}

bool IniFile::Save(const QString &path, QString *error) const
{
    const QByteArray bytes = ToText().toUtf8();
    return WriteFileAtomically(path, std::string_view(bytes.constData(), bytes.size()), error);
}

int IniFile::FindSection(const QString &section) const
{
    QString name;
    for (int i = 0; i < lines_.size(); ++i)
        if (IsSectionHeader(lines_[i], &name) && name.compare(section, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int IniFile::FindKey(int sectionLine, const QString &key) const
{
    QString name;
    for (int i = sectionLine + 1; i < lines_.size() && !IsSectionHeader(lines_[i]); ++i)
        if (SplitKeyLine(lines_[i], &name, nullptr) && name.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

std::optional<QString> IniFile::Value(const QString &section, const QString &key) const
{
    const int sectionLine = FindSection(section);
    if (sectionLine < 0)
        return std::nullopt;
    const int keyLine = FindKey(sectionLine, key);
    if (keyLine < 0)
        return std::nullopt;
    QString name, value;
    SplitKeyLine(lines_[keyLine], &name, &value);
    return value;
}

void IniFile::SetValue(const QString &section, const QString &key, const QString &value)
{
    // Line breaks would split the value into lines of their own.
    QString clean = value;
    clean.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString line = key + QLatin1Char('=') + clean;
    int sectionLine = FindSection(section);
    if (sectionLine < 0) {
        if (!lines_.isEmpty())
            lines_ << QString();
        lines_ << QLatin1Char('[') + section + QLatin1Char(']') << line;
        return;
    }
    const int keyLine = FindKey(sectionLine, key);
    if (keyLine >= 0) {
        lines_[keyLine] = line;
        return;
    }
    // After the section's last key line (blank lines before the next section stay there).
    int insertAt = sectionLine + 1;
    for (int i = sectionLine + 1; i < lines_.size() && !IsSectionHeader(lines_[i]); ++i)
        if (!lines_[i].trimmed().isEmpty())
            insertAt = i + 1;
    lines_.insert(insertAt, line);
}

QString IniFile::ReadString(const QString &section, const QString &key, const QString &fallback) const
{
    return Value(section, key).value_or(fallback);
}

int IniFile::ReadInteger(const QString &section, const QString &key, int fallback) const
{
    const auto value = Value(section, key);
    if (!value)
        return fallback;
    QString text = *value;
    bool ok = false;
    int number = 0;
    if (text.startsWith(QLatin1Char('$')))
        number = text.mid(1).toInt(&ok, 16);
    else if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        number = text.mid(2).toInt(&ok, 16);
    else if (text.startsWith(QLatin1String("-0x"), Qt::CaseInsensitive))
        number = -text.mid(3).toInt(&ok, 16);
    else
        number = text.toInt(&ok, 10);
    return ok ? number : fallback;
}

bool IniFile::ReadBool(const QString &section, const QString &key, bool fallback) const
{
    const auto value = Value(section, key);
    if (!value)
        return fallback;
    if (value->compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (value->compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    SetValue(section, key, value);
}

void IniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    SetValue(section, key, QString::number(value));
}

void IniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    SetValue(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace vantor
