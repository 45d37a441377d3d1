#pragma once
// A small XML store of named values, used for the window placement
// ("ViewSchema.xml"). A value is addressed by a path of names separated by
// backslashes ("fmMain\Left"); each name becomes an element under the root
// "Configuration". Characters not allowed in an element name are replaced by "_".
// Booleans are written "TRUE"/"FALSE"; "TRUE", "YES", "Y" and "FALSE", "NO", "N"
// are read (any case).

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace vantor {

class XmlAppStorage {
public:
    explicit XmlAppStorage(QString fileName);
    ~XmlAppStorage();

    const QString &FileName() const { return fileName_; }

    // Reads the file; a missing file gives an empty store. A malformed file gives an
    // empty store and false with the reason.
    bool Load(QString *error = nullptr);
    bool Save(QString *error = nullptr) const; // atomically

    std::optional<QString> Value(const QString &path) const;
    void SetValue(const QString &path, const QString &value);

    int ReadInteger(const QString &path, int fallback) const;
    bool ReadBoolean(const QString &path, bool fallback) const;
    void WriteInteger(const QString &path, int value);
    void WriteBoolean(const QString &path, bool value);

    QByteArray ToXml() const;

    static QString ElementName(const QString &name); // the name with invalid characters replaced

private:
    struct Node {
        QString name;
        QString value;
        std::vector<std::unique_ptr<Node>> children;
    };
    Node *Find(const QString &path, bool create);
    const Node *Find(const QString &path) const;

    QString fileName_;
    Node root_;
};

} // namespace vantor
