#pragma once
// A small INI file in the classic form ("[Section]" lines and "Key=Value" lines),
// UTF-8, CR LF written. Section and key names compare case-insensitively. Reading
// and writing keep every other section, key and comment of the file as it was, so
// a file shared with other programs loses nothing. Lines end with CR LF unless told
// otherwise (desktop files want LF).

#include <QString>
#include <QStringList>

#include <optional>

namespace vantor {

class IniFile {
public:
    IniFile() = default;

    static IniFile FromText(const QString &text);
    void SetLineEnd(QString lineEnd) { lineEnd_ = std::move(lineEnd); }
    QString ToText() const;

    // Reads the file; a missing file gives an empty one (no error).
    static std::optional<IniFile> Load(const QString &path, QString *error = nullptr);
    // Replaces the file atomically.
    bool Save(const QString &path, QString *error = nullptr) const;

    std::optional<QString> Value(const QString &section, const QString &key) const;
    void SetValue(const QString &section, const QString &key, const QString &value);

    QString ReadString(const QString &section, const QString &key, const QString &fallback) const;
    // Decimal, or hexadecimal with "0x" or "$"; anything else gives the fallback.
    int ReadInteger(const QString &section, const QString &key, int fallback) const;
    // "0" is false, any other integer true; "true"/"false" are accepted too.
    bool ReadBool(const QString &section, const QString &key, bool fallback) const;

    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);
    void WriteBool(const QString &section, const QString &key, bool value); // "1" or "0"

private:
    // The file's lines as read; a key line is found by scanning.
    QStringList lines_;
    QString lineEnd_ = QStringLiteral("\r\n");
    int FindSection(const QString &section) const; // index of its header line, or -1
    int FindKey(int sectionLine, const QString &key) const;
};

} // namespace vantor
