#include "programming/pr_tasts.h"

#include "link/Packet.h"

#include <algorithm>
#include <cstring>

namespace vantor::programming {

using link::ReadU32;
using link::WriteU32;

namespace {

// A read answer must fit the receive buffer: 19 bytes of framing and header around the data.
constexpr std::uint32_t kLargestReadChunk = std::uint32_t(link::kReceiveBufferSize - 19);

QString Malformed(std::size_t length)
{
    return QStringLiteral("неверный формат ответа устройства (%1 байт)").arg(length);
}

} // namespace

TProgTask::TProgTask(std::uint8_t command, QString caption) : caption_(std::move(caption)), command_(command)
{}

TProgTask::~TProgTask() = default;

int TProgTask::BuildRequest(std::uint8_t *)
{
    return -1;
}

int TSimpleProgTask::BuildRequest(std::uint8_t *)
{
    return 0;
}

std::uint8_t TSimpleProgTask::ParseAnswer(const std::uint8_t *payload, std::size_t length, QString *)
{
    OnAnswer(payload, length);
    return kTaskDone;
}

// ---- TWriteTask ----

TWriteTask::TWriteTask(std::uint8_t command, QString caption, std::uint32_t start,
                       std::shared_ptr<const Bytes> source, std::size_t sourceOffset, std::uint32_t total,
                       std::uint32_t packSize)
    : TProgTask(command, std::move(caption)), start_(start), current_(start), source_(std::move(source)),
      sourceOffset_(sourceOffset), total_(total), pack_(std::clamp<std::uint32_t>(packSize, 1, kMaxPackSize))
{}

std::uint32_t TWriteTask::ChunkLength() const
{
    const std::uint32_t remaining = start_ + total_ - current_;
    return std::min(remaining, pack_ - current_ % pack_);
}

int TWriteTask::BuildRequest(std::uint8_t *payload)
{
    length_ = ChunkLength();
    WriteU32(payload, current_);
    WriteU32(payload + 4, length_);
    if (length_ > 0)
        std::memcpy(payload + 8, source_->data() + sourceOffset_ + (current_ - start_), length_);
    return int(8 + length_);
}

std::uint8_t TWriteTask::ParseAnswer(const std::uint8_t *payload, std::size_t length, QString *message)
{
    if (length < 9) {
        *message = Malformed(length);
        return kTaskFailed;
    }
    const std::uint32_t address = ReadU32(payload);
    const std::uint32_t size = ReadU32(payload + 4);
    const int error = std::int8_t(payload[8]);
    if (error != 0) {
        *message = QStringLiteral("ошибка записи (%1): запись %2 байт в адрес %3")
                       .arg(error)
                       .arg(length_)
                       .arg(current_);
        return kTaskFailed;
    }
    if (address != current_) {
        *message = QStringLiteral("на команду записи вернулся другой адрес: %1 вместо %2")
                       .arg(address)
                       .arg(current_);
        return kTaskFailed;
    }
    if (size != length_) {
        *message =
            QStringLiteral("на команду записи вернулся другой размер: %1 вместо %2").arg(size).arg(length_);
        return kTaskFailed;
    }
    current_ += length_;
    Progress(current_ - start_, total_);
    if (current_ - start_ < total_) {
        ClearSendCount();
        return kTaskRunning;
    }
    return kTaskDone;
}

// ---- TVerifyTask ----

TVerifyTask::TVerifyTask(QString caption, std::uint32_t address, std::uint32_t size, std::uint32_t crc)
    : TProgTask(2, std::move(caption)), address_(address), size_(size), crc_(crc)
{}

int TVerifyTask::BuildRequest(std::uint8_t *payload)
{
    WriteU32(payload, address_);
    WriteU32(payload + 4, size_);
    WriteU32(payload + 8, crc_);
    return 12;
}

std::uint8_t TVerifyTask::ParseAnswer(const std::uint8_t *payload, std::size_t length, QString *message)
{
    if (length < 9) {
        *message = Malformed(length);
        return kTaskFailed;
    }
    const std::uint32_t address = ReadU32(payload);
    const std::uint32_t size = ReadU32(payload + 4);
    const int error = std::int8_t(payload[8]);
    if (error != 0) {
        *message = QStringLiteral("ошибка верификации (%1) [%2 байт в адрес %3]")
                       .arg(error)
                       .arg(size_)
                       .arg(address_);
        return kTaskFailed;
    }
    if (address != address_) {
        *message = QStringLiteral("на команду верификации вернулся другой адрес: %1 вместо %2")
                       .arg(address)
                       .arg(address_);
        return kTaskFailed;
    }
    if (size != size_) {
        *message = QStringLiteral("на команду верификации вернулся другой размер: %1 вместо %2")
                       .arg(size)
                       .arg(size_);
        return kTaskFailed;
    }
    return kTaskDone;
}

// ---- TGetPackMaxSizeTask ----

TGetPackMaxSizeTask::TGetPackMaxSizeTask()
    : TSimpleProgTask(3, QStringLiteral("запрос максимального размера пакета"))
{}

std::uint8_t TGetPackMaxSizeTask::ParseAnswer(const std::uint8_t *payload, std::size_t length,
                                              QString *message)
{
    // A size the queue could not use is a failure rather than a division by zero later.
    if (length < 4) {
        *message = Malformed(length);
        return kTaskFailed;
    }
    if (ReadU32(payload) == 0) {
        *message = QStringLiteral("устройство сообщило нулевой размер пакета");
        return kTaskFailed;
    }
    return TSimpleProgTask::ParseAnswer(payload, length, message);
}

void TGetPackMaxSizeTask::OnAnswer(const std::uint8_t *payload, std::size_t length)
{
    if (length >= 4)
        size_ = ReadU32(payload);
}

// ---- TSetExecutionPointTask ----

TSetExecutionPointTask::TSetExecutionPointTask(std::uint32_t entry)
    : TProgTask(4,
                QStringLiteral("запись точки входа в программу (%1).").arg(entry, 8, 16, QLatin1Char('0'))),
      entry_(entry)
{}

int TSetExecutionPointTask::BuildRequest(std::uint8_t *payload)
{
    WriteU32(payload, entry_);
    return 4;
}

std::uint8_t TSetExecutionPointTask::ParseAnswer(const std::uint8_t *payload, std::size_t length,
                                                 QString *message)
{
    if (length < 1) {
        *message = Malformed(length);
        return kTaskFailed;
    }
    const int status = std::int8_t(payload[0]);
    if (status != 0) {
        *message = QStringLiteral("ошибка записи точки входа в программу (%1)").arg(status);
        return kTaskFailed;
    }
    return kTaskDone;
}

// ---- TSetSerialNumberTask ----

TSetSerialNumberTask::TSetSerialNumberTask(const QString &serial)
    : TProgTask(5, QStringLiteral("запись серийного номера \"%1\"").arg(serial)), serial_(serial.toUtf8())
{}

int TSetSerialNumberTask::BuildRequest(std::uint8_t *payload)
{
    const int n = int(std::min<qsizetype>(serial_.size(), qsizetype(kMaxPackSize) - 1));
    std::memcpy(payload, serial_.constData(), std::size_t(n));
    payload[n] = 0;
    return n + 1;
}

std::uint8_t TSetSerialNumberTask::ParseAnswer(const std::uint8_t *payload, std::size_t length,
                                               QString *message)
{
    if (length < 1) {
        *message = Malformed(length);
        return kTaskFailed;
    }
    const int status = std::int8_t(payload[0]);
    if (status != 0) {
        *message = QStringLiteral("ошибка записи серийного номера (%1)").arg(status);
        return kTaskFailed;
    }
    return kTaskDone;
}

// ---- TGetSerialTask ----

TGetSerialTask::TGetSerialTask() : TSimpleProgTask(6, QStringLiteral("чтение серийного номера устройства"))
{}

void TGetSerialTask::OnAnswer(const std::uint8_t *payload, std::size_t length)
{
    if (length == 0)
        return;
    if (payload[0] == 0xFF) {
        serial_.clear();
        return;
    }
    const auto *end = std::find(payload, payload + length, 0);
    serial_ = QByteArray(reinterpret_cast<const char *>(payload), qsizetype(end - payload));
}

// ---- TVerifyConfTask ----

TVerifyConfTask::TVerifyConfTask() : TProgTask(8, QStringLiteral("Верификация конфигурации"))
{}

int TVerifyConfTask::BuildRequest(std::uint8_t *)
{
    return 0;
}

std::uint8_t TVerifyConfTask::ParseAnswer(const std::uint8_t *payload, std::size_t length, QString *message)
{
    if (length < 1) {
        *message = Malformed(length);
        return kTaskFailed;
    }
    const int status = std::int8_t(payload[0]);
    if (status != 0) {
        *message = QStringLiteral("Ошибка верификации %1").arg(status);
        return kTaskFailed;
    }
    return kTaskDone;
}

// ---- TReadTask ----

TReadTask::TReadTask(QString caption, std::uint32_t packSize)
    : TProgTask(9, std::move(caption)), pack_(std::clamp<std::uint32_t>(packSize, 1, kLargestReadChunk)),
      length_(pack_)
{}

int TReadTask::BuildRequest(std::uint8_t *payload)
{
    WriteU32(payload, current_);
    WriteU32(payload + 4, length_);
    return 8;
}

std::uint8_t TReadTask::ParseAnswer(const std::uint8_t *payload, std::size_t length, QString *message)
{
    if (length < 9) {
        *message = Malformed(length);
        return kTaskFailed;
    }
    const std::uint32_t address = ReadU32(payload);
    const std::uint32_t delivered = ReadU32(payload + 4);
    const int error = std::int8_t(payload[8]);
    const std::uint8_t *data = payload + 9;
    if (error != 0) {
        *message = QStringLiteral("ошибка чтения (%1): чтение %2 байт из адреса %3")
                       .arg(error)
                       .arg(length_)
                       .arg(current_);
        return kTaskFailed;
    }
    if (address != current_) {
        *message = QStringLiteral("на команду чтения вернулся другой адрес: %1 вместо %2")
                       .arg(address)
                       .arg(current_);
        return kTaskFailed;
    }
    // The answer must carry the bytes it claims.
    if (delivered > length - 9) {
        *message = Malformed(length);
        return kTaskFailed;
    }
    if (current_ == 0 && !sizeRead_) {
        if (delivered < 4)
            return kTaskRunning; // no progress: the retry count keeps growing
        storedSize_ = ReadU32(data);
        sizeRead_ = true;
        if (storedSize_ == kNoConfiguration) {
            *message = QStringLiteral("Отсутствует файл конфигурации в устройстве");
            return kTaskFailed;
        }
        if (storedSize_ >= kSizeLimit) {
            *message = QStringLiteral("Некорректный размер файла конфигурации");
            return kTaskFailed;
        }
        image_.assign(std::size_t(storedSize_) + 8, 0);
    }
    // Never past the image, whatever the device delivered.
    const std::uint32_t take = std::min<std::uint32_t>(delivered, std::uint32_t(image_.size()) - current_);
    if (take == 0)
        return kTaskRunning;
    std::memcpy(image_.data() + current_, data, take);
    current_ += take;
    Progress(current_, std::int64_t(image_.size()));
    if (current_ < image_.size()) {
        length_ = std::min<std::uint32_t>(pack_, std::uint32_t(image_.size()) - current_);
        ClearSendCount();
        return kTaskRunning;
    }
    return kTaskDone;
}

// ---- TVerifyFileTask ----

TVerifyFileTask::TVerifyFileTask(std::uint8_t index, std::uint32_t size, std::uint32_t crc)
    : TProgTask(12, QStringLiteral("Верификация звукового файла %1").arg(int(index) + 1)), index_(index),
      size_(size), crc_(crc)
{}

int TVerifyFileTask::BuildRequest(std::uint8_t *payload)
{
    payload[0] = index_;
    WriteU32(payload + 1, size_);
    WriteU32(payload + 5, crc_);
    return 9;
}

std::uint8_t TVerifyFileTask::ParseAnswer(const std::uint8_t *payload, std::size_t length, QString *message)
{
    if (length < 2) {
        *message = Malformed(length);
        return kTaskFailed;
    }
    if (payload[0] != index_) {
        *message = QStringLiteral("Сравнивается не тот файл. Ожидаем %1, пришел %2")
                       .arg(int(index_) + 1)
                       .arg(int(payload[0]) + 1);
        return kTaskFailed;
    }
    const int status = std::int8_t(payload[1]);
    if (status != 0) {
        *message = QStringLiteral("Ошибка верификации %1").arg(status);
        return kTaskFailed;
    }
    *message = QStringLiteral("Контрольная сумма файла %1 совпадает").arg(int(index_) + 1);
    return kTaskDone;
}

// ---- TReadFileTask ----

TReadFileTask::TReadFileTask(QString caption, std::uint8_t index, std::uint32_t total, std::uint32_t packSize)
    : TProgTask(13, std::move(caption)), index_(index), total_(total),
      pack_(std::clamp<std::uint32_t>(packSize, 1, kLargestReadChunk))
{
    data_.reserve(total);
}

int TReadFileTask::BuildRequest(std::uint8_t *payload)
{
    payload[0] = index_;
    WriteU32(payload + 1, current_);
    WriteU32(payload + 5, std::min(pack_, total_ - current_));
    return 9;
}

std::uint8_t TReadFileTask::ParseAnswer(const std::uint8_t *payload, std::size_t length, QString *message)
{
    if (length < 9) {
        *message = Malformed(length);
        return kTaskFailed;
    }
    const std::uint32_t offset = ReadU32(payload + 1);
    const std::uint32_t delivered = ReadU32(payload + 5);
    if (offset != current_) {
        *message =
            QStringLiteral("на команду чтения вернулся другой адрес: %1 вместо %2").arg(offset).arg(current_);
        return kTaskFailed;
    }
    if (payload[0] != index_) {
        *message = QStringLiteral("на команду чтения вернулся другой номер файла: %1 вместо %2")
                       .arg(int(payload[0]) + 1)
                       .arg(int(index_) + 1);
        return kTaskFailed;
    }
    if (delivered > length - 9) {
        *message = Malformed(length);
        return kTaskFailed;
    }
    const std::uint32_t take = std::min(delivered, total_ - current_);
    data_.insert(data_.end(), payload + 9, payload + 9 + take);
    current_ += take;
    Progress(current_, total_);
    if (current_ >= total_)
        return kTaskDone;
    if (take > 0)
        ClearSendCount();
    return kTaskRunning;
}

// ---- TGetFilesizeTask ----

TGetFilesizeTask::TGetFilesizeTask(std::uint8_t index)
    : TProgTask(14, QStringLiteral("чтение рамера файла: %1").arg(int(index) + 1)), index_(index)
{}

int TGetFilesizeTask::BuildRequest(std::uint8_t *payload)
{
    payload[0] = index_;
    return 1;
}

std::uint8_t TGetFilesizeTask::ParseAnswer(const std::uint8_t *payload, std::size_t length, QString *message)
{
    if (length >= 5 && payload[0] == index_) {
        const std::int32_t record = std::int32_t(ReadU32(payload + 1));
        if (record == -1) {
            *message = QStringLiteral("Файла с номером %1 не существует").arg(int(index_) + 1);
            return kTaskFailed;
        }
        if (record >= 4) {
            record_ = record;
            return kTaskDone;
        }
    }
    *message = QStringLiteral("Неизвестная ошибка");
    return kTaskFailed;
}

// ---- TSendSerialNumberTask ----

TSendSerialNumberTask::TSendSerialNumberTask(std::uint16_t serial)
    : TProgTask(15, QStringLiteral("проверка серийного номера \"%1\"").arg(serial)), serial_(serial)
{}

int TSendSerialNumberTask::BuildRequest(std::uint8_t *payload)
{
    link::WriteU16(payload, serial_);
    return 2;
}

std::uint8_t TSendSerialNumberTask::ParseAnswer(const std::uint8_t *, std::size_t, QString *)
{
    return kTaskDone;
}

// ---- packets ----

int BuildPacket(TProgTask &task, std::uint8_t *buffer)
{
    const int length = task.BuildRequest(buffer + link::kPacketHeaderSize);
    if (length < 0)
        return -1;
    link::FramePacket(buffer, task.Command(), std::size_t(length));
    task.MarkSent();
    return length + int(link::kPacketOverhead);
}

std::uint8_t MatchAnswer(TProgTask &task, const std::uint8_t *packet, std::size_t length, QString *message)
{
    if (!task.Sent() || length < link::kPacketOverhead || packet[8] != task.Command())
        return task.State();
    return task.ParseAnswer(packet + link::kPacketHeaderSize, length - link::kPacketOverhead, message);
}

} // namespace vantor::programming
