#include "app/XmlAppStorage.h"

#include "app/FileIo.h"

#include <QFile>
#include <QStringList>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <functional>

namespace vantor {

namespace {

QStringList SplitPath(const QString &path)
{
    QStringList names;
    for (const QString &part : path.split(QLatin1Char('\\'), Qt::SkipEmptyParts))
        names << XmlAppStorage::ElementName(part);
    return names;
}

bool IsNameStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool IsNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('-') || c == QLatin1Char('.');
}

} // namespace

XmlAppStorage::XmlAppStorage(QString fileName) : fileName_(std::move(fileName))
{
    root_.name = QStringLiteral("Configuration");
}

XmlAppStorage::~XmlAppStorage() = default;

QString XmlAppStorage::ElementName(const QString &name)
{
    QString result = name;
    for (qsizetype i = 0; i < result.size(); ++i) {
        const bool ok = i == 0 ? IsNameStart(result[i]) : IsNameChar(result[i]);
        if (!ok)
            result[i] = QLatin1Char('_');
    }
    return result.isEmpty() ? QStringLiteral("_") : result;
}

XmlAppStorage::Node *XmlAppStorage::Find(const QString &path, bool create)
{
    Node *node = &root_;
    for (const QString &name : SplitPath(path)) {
        Node *next = nullptr;
        for (auto &child : node->children)
            if (child->name == name) {
                next = child.get();
                break;
            }
        if (!next) {
            if (!create)
                return nullptr;
            node->children.push_back(std::make_unique<Node>());
            next = node->children.back().get();
            next->name = name;
        }
        node = next;
    }
    return node == &root_ ? nullptr : node;
}

const XmlAppStorage::Node *XmlAppStorage::Find(const QString &path) const
{
    return const_cast<XmlAppStorage *>(this)->Find(path, false);
}

std::optional<QString> XmlAppStorage::Value(const QString &path) const
{
    const Node *node = Find(path);
    if (!node || !node->children.empty())
        return std::nullopt;
    return node->value;
}

void XmlAppStorage::SetValue(const QString &path, const QString &value)
{
    if (Node *node = Find(path, true)) {
        node->children.clear();
        node->value = value;
    }
}

int XmlAppStorage::ReadInteger(const QString &path, int fallback) const
{
    const auto value = Value(path);
    bool ok = false;
    const int number = value ? value->trimmed().toInt(&ok) : 0;
    return ok ? number : fallback;
}

bool XmlAppStorage::ReadBoolean(const QString &path, bool fallback) const
{
    const auto value = Value(path);
    if (!value)
        return fallback;
    const QString text = value->trimmed().toUpper();
    if (text == QLatin1String("TRUE") || text == QLatin1String("YES") || text == QLatin1String("Y"))
        return true;
    if (text == QLatin1String("FALSE") || text == QLatin1String("NO") || text == QLatin1String("N"))
        return false;
    return fallback;
}

void XmlAppStorage::WriteInteger(const QString &path, int value)
{
    SetValue(path, QString::number(value));
}

void XmlAppStorage::WriteBoolean(const QString &path, bool value)
{
    SetValue(path, value ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
}

bool XmlAppStorage::Load(QString *error)
{
    root_.children.clear();
    if (!QFile::exists(fileName_))
        return true;
    const auto bytes = ReadWholeFile(fileName_, error);
    if (!bytes)
        return false;
    QXmlStreamReader xml(QByteArray::fromStdString(*bytes));
    std::function<void(Node &)> readChildren = [&](Node &parent) {
        while (xml.readNext() != QXmlStreamReader::Invalid && !xml.atEnd()) {
            if (xml.isEndElement())
                return;
            if (xml.isCharacters() && !xml.isWhitespace())
                parent.value += xml.text();
            if (xml.isStartElement()) {
                parent.children.push_back(std::make_unique<Node>());
                Node &child = *parent.children.back();
                child.name = xml.name().toString();
                readChildren(child);
            }
        }
    };
    if (xml.readNextStartElement() && xml.name() == root_.name)
        readChildren(root_);
    else if (!xml.hasError())
        xml.raiseError(QStringLiteral("нет корневого элемента Configuration"));
    if (xml.hasError()) {
        root_.children.clear();
        if (error)
            *error = QStringLiteral("Файл «%1» повреждён: %2").arg(fileName_, xml.errorString());
        return false;
    }
    return true;
}

QByteArray XmlAppStorage::ToXml() const
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    std::function<void(const Node &)> write = [&](const Node &node) {
        if (node.children.empty()) {
            xml.writeTextElement(node.name, node.value);
            return;
        }
        xml.writeStartElement(node.name);
        for (const auto &child : node.children)
            write(*child);
        xml.writeEndElement();
    };
    xml.writeStartElement(root_.name);
    for (const auto &child : root_.children)
        write(*child);
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

bool XmlAppStorage::Save(QString *error) const
{
    const QByteArray bytes = ToXml();
    return WriteFileAtomically(fileName_, std::string_view(bytes.constData(), bytes.size()), error);
}

} // namespace vantor
