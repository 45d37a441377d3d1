#include "app/Settings.h"

#include "app/AppDataPaths.h"
#include "app/FileIo.h"

#include <QFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <limits>

namespace vantor {

namespace {

TSettings *g_current = nullptr;

const char kBanner[] = "\r\n***********************************\r\n*\r\n*  DON'T MODIFY THIS FILE\r\n*\r\n"
                       "***********************************\r\n";

template <typename T>
bool ReadUnsigned(const QString &text, T &value)
{
    bool ok = false;
    const qulonglong number = text.trimmed().toULongLong(&ok);
    if (!ok || number > std::numeric_limits<T>::max())
        return false;
    value = static_cast<T>(number);
    return true;
}

} // namespace

TSettings::TSettings(QString fileName) : fileName_(std::move(fileName))
{}

TSettings::~TSettings()
{
    if (g_current == this)
        g_current = nullptr;
}

QString TSettings::DefaultFileName()
{
    return UserProgramFolder() + ProgramName() + QStringLiteral(".xml");
}

TSettings *TSettings::Current()
{
    return g_current;
}

void TSettings::SetCurrent(TSettings *settings)
{
    g_current = settings;
}

void TSettings::SetComIntervalDelay(std::uint16_t value)
{
    if (value == comIntervalDelay_)
        return;
    comIntervalDelay_ = value;
    modified_ = true;
}

void TSettings::SetComConnectTryCount(std::uint8_t value)
{
    if (value == comConnectTryCount_)
        return;
    comConnectTryCount_ = value;
    modified_ = true;
}

bool TSettings::Load(QString *error)
{
    if (!QFile::exists(fileName_))
        return true;
    const auto bytes = ReadWholeFile(fileName_, error);
    if (!bytes)
        return false;

    std::uint16_t delay = kDefaultComIntervalDelay;
    std::uint8_t tries = kDefaultComConnectTryCount;
    QXmlStreamReader xml(QByteArray::fromStdString(*bytes));
    if (xml.readNextStartElement() && xml.name() == QLatin1String("Root")) {
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("ComIntervalDelay"))
                ReadUnsigned(xml.readElementText(), delay);
            else if (xml.name() == QLatin1String("ComConnectTryCount"))
                ReadUnsigned(xml.readElementText(), tries);
            else
                xml.skipCurrentElement();
        }
    } else if (!xml.hasError()) {
        xml.raiseError(QStringLiteral("нет корневого элемента Root"));
    }
    if (xml.hasError()) {
        if (error)
            *error = QStringLiteral("Файл настроек «%1» повреждён: %2 (строка %3)")
                         .arg(fileName_, xml.errorString())
                         .arg(xml.lineNumber());
        return false;
    }
    comIntervalDelay_ = delay;
    comConnectTryCount_ = tries;
    modified_ = false;
    return true;
}

QByteArray TSettings::ToXml() const
{
    QByteArray body;
    QXmlStreamWriter xml(&body);
    xml.setAutoFormatting(true);
    xml.writeComment(QString::fromLatin1(kBanner));
    xml.writeStartElement(QStringLiteral("Root"));
    xml.writeTextElement(QStringLiteral("ComIntervalDelay"), QString::number(comIntervalDelay_));
    xml.writeTextElement(QStringLiteral("ComConnectTryCount"), QString::number(comConnectTryCount_));
    xml.writeEndElement();
    xml.writeEndDocument();
    return QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n") + body;
}

bool TSettings::Save(QString *error)
{
    const QByteArray bytes = ToXml();
    if (!WriteFileAtomically(fileName_, std::string_view(bytes.constData(), bytes.size()), error))
        return false;
    modified_ = false;
    return true;
}

} // namespace vantor
