#include "controller_editor/WiringMime.h"

#include "controller/VantorConfig.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>

namespace vantor::editor {
namespace {

// The configuration's address identifies it within this process; the positions are
// looked up again on reading.
QMimeData *Encode(const QString &type, const TVantorConfig &config, qint32 a, qint32 b, qint32 c)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << static_cast<quint64>(reinterpret_cast<quintptr>(&config)) << a << b << c;
    auto *data = new QMimeData;
    data->setData(type, bytes);
    return data;
}

bool Decode(const QString &type, const TVantorConfig &config, const QMimeData *data, qint32 &a, qint32 &b,
            qint32 &c)
{
    if (data == nullptr || !data->hasFormat(type))
        return false;
    QDataStream in(data->data(type));
    quint64 owner = 0;
    in >> owner >> a >> b >> c;
    return in.status() == QDataStream::Ok && owner == reinterpret_cast<quintptr>(&config);
}

} // namespace

QMimeData *EncodeOutput(const TVantorConfig &config, const TControllerOutput &output)
{
    return Encode(kOutputMimeType, config, config.Blocks.IndexOf(output.Block), output.Number() - 1, 0);
}

TControllerOutput *DecodeOutput(const TVantorConfig &config, const QMimeData *data)
{
    qint32 block = 0, output = 0, unused = 0;
    if (!Decode(kOutputMimeType, config, data, block, output, unused))
        return nullptr;
    const TController *owner = config.Blocks.At(block);
    return owner != nullptr ? owner->Output(output) : nullptr;
}

QMimeData *EncodeLamp(const TVantorConfig &config, const LampRef &lamp)
{
    const TTrendGroup *group = lamp.head->Group();
    return Encode(kLampMimeType, config, config.Groups.IndexOf(group), group->HeadPosition(lamp.head),
                  lamp.lampPos);
}

std::optional<LampRef> DecodeLamp(const TVantorConfig &config, const QMimeData *data)
{
    qint32 group = 0, head = 0, lamp = 0;
    if (!Decode(kLampMimeType, config, data, group, head, lamp))
        return std::nullopt;
    const TTrendGroup *owner = config.Groups.At(group);
    TSemaphoreObject *object = owner != nullptr ? owner->Heads.At(head) : nullptr;
    if (object == nullptr || (lamp != -1 && !object->HasLamp(lamp)))
        return std::nullopt;
    return LampRef{object, lamp};
}

} // namespace vantor::editor
