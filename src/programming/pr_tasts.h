#pragma once
// Device commands as tasks. Each task produces one request packet at a time (on every
// poll while it runs) and interprets the device's answers; chunked tasks walk through
// their data one pack at a time. States: 0 queued, 1 running, 2 failed, 3 done.

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace vantor::programming {

using Bytes = std::vector<std::uint8_t>;

enum TaskState : std::uint8_t {
    kTaskQueued = 0,
    kTaskRunning = 1,
    kTaskFailed = 2,
    kTaskDone = 3,
};

// Largest request: pack size (at most 33,801) + address and length + framing.
inline constexpr std::size_t kPacketBufferSize = 33801 + 8 + 10;
inline constexpr std::uint32_t kMaxPackSize = 33801;

class TProgTask {
public:
    // (task, new state, message the callback may rewrite)
    using StateCallback = std::function<void(TProgTask &task, std::uint8_t state, QString &message)>;
    // (task, 0, bytes done, total)
    using ProgressCallback =
        std::function<void(TProgTask &task, int, std::int64_t position, std::int64_t total)>;

    TProgTask(std::uint8_t command, QString caption);
    virtual ~TProgTask();

    // Writes the request payload at `payload` (room for kPacketBufferSize - 10 bytes);
    // returns its length, or -1 when the task has no request.
    virtual int BuildRequest(std::uint8_t *payload);
    // Interprets an answer's payload; returns the new state and, for failures, the reason.
    virtual std::uint8_t ParseAnswer(const std::uint8_t *payload, std::size_t length, QString *message) = 0;
    virtual int MaxTries() const { return 5; }

    std::uint8_t Command() const { return command_; }
    const QString &Caption() const { return caption_; }
    std::uint8_t State() const { return state_; }
    bool Sent() const { return sent_; }
    int SendCount() const { return sendCount_; }
    int Tag = 0; // for the caller: block or file index

    StateCallback OnStateChange;
    ProgressCallback OnProgress;

    // Used by the packet builder and the queue.
    void MarkSent()
    {
        sent_ = true;
        ++sendCount_;
    }
    void SetState(std::uint8_t state) { state_ = state; }

protected:
    void ClearSendCount() { sendCount_ = 0; }
    void Progress(std::int64_t position, std::int64_t total)
    {
        if (OnProgress)
            OnProgress(*this, 0, position, total);
    }
    QString caption_;

private:
    std::uint8_t command_;
    bool sent_ = false;
    std::uint8_t state_ = kTaskQueued;
    int sendCount_ = 0;
};

// A task with an empty request whose every answer completes it.
class TSimpleProgTask : public TProgTask {
public:
    using TProgTask::TProgTask;
    int BuildRequest(std::uint8_t *payload) override;
    std::uint8_t ParseAnswer(const std::uint8_t *payload, std::size_t length, QString *message) override;

protected:
    virtual void OnAnswer(const std::uint8_t *payload, std::size_t length) = 0;
};

// Commands 1, 7 and 10: data written in chunks that never cross a multiple of the pack
// size in the device's address space.
class TWriteTask : public TProgTask {
public:
    TWriteTask(std::uint8_t command, QString caption, std::uint32_t start,
               std::shared_ptr<const Bytes> source, std::size_t sourceOffset, std::uint32_t total,
               std::uint32_t packSize);
    int BuildRequest(std::uint8_t *payload) override;
    std::uint8_t ParseAnswer(const std::uint8_t *payload, std::size_t length, QString *message) override;
    std::uint32_t CurrentAddress() const { return current_; }
    std::uint32_t CurrentLength() const { return length_; }

private:
    std::uint32_t ChunkLength() const;
    std::uint32_t start_;
    std::uint32_t current_;
    std::uint32_t length_ = 0;
    std::shared_ptr<const Bytes> source_;
    std::size_t sourceOffset_;
    std::uint32_t total_;
    std::uint32_t pack_;
};

// Command 2: the device checks a firmware block against its CRC-32.
class TVerifyTask : public TProgTask {
public:
    TVerifyTask(QString caption, std::uint32_t address, std::uint32_t size, std::uint32_t crc);
    int BuildRequest(std::uint8_t *payload) override;
    std::uint8_t ParseAnswer(const std::uint8_t *payload, std::size_t length, QString *message) override;

private:
    std::uint32_t address_, size_, crc_;
};

// Command 3: the largest data length per request.
class TGetPackMaxSizeTask : public TSimpleProgTask {
public:
    TGetPackMaxSizeTask();
    std::uint8_t ParseAnswer(const std::uint8_t *payload, std::size_t length, QString *message) override;
    std::uint32_t PackSize() const { return size_; }

protected:
    void OnAnswer(const std::uint8_t *payload, std::size_t length) override;

private:
    std::uint32_t size_ = 0;
};

// Command 4.
class TSetExecutionPointTask : public TProgTask {
public:
    explicit TSetExecutionPointTask(std::uint32_t entry);
    int BuildRequest(std::uint8_t *payload) override;
    std::uint8_t ParseAnswer(const std::uint8_t *payload, std::size_t length, QString *message) override;

private:
    std::uint32_t entry_;
};

// Command 5.
class TSetSerialNumberTask : public TProgTask {
public:
    explicit TSetSerialNumberTask(const QString &serial);
    int BuildRequest(std::uint8_t *payload) override;
    std::uint8_t ParseAnswer(const std::uint8_t *payload, std::size_t length, QString *message) override;

private:
    QByteArray serial_;
};

// Command 6.
class TGetSerialTask : public TSimpleProgTask {
public:
    TGetSerialTask();
    // UTF-8 as the device sent it; empty when it has none.
    const QByteArray &Serial() const { return serial_; }

protected:
    void OnAnswer(const std::uint8_t *payload, std::size_t length) override;

private:
    QByteArray serial_;
};

// Command 8: the device checks its stored configuration image.
class TVerifyConfTask : public TProgTask {
public:
    TVerifyConfTask();
    int BuildRequest(std::uint8_t *payload) override;
    std::uint8_t ParseAnswer(const std::uint8_t *payload, std::size_t length, QString *message) override;
};

// Command 9: the configuration image (N, JSON text, CRC-32), read from address 0.
class TReadTask : public TProgTask {
public:
    static constexpr std::uint32_t kNoConfiguration = 0xFFFFFFFFu;
    static constexpr std::uint32_t kSizeLimit = 0x300000u; // 3 MiB

    TReadTask(QString caption, std::uint32_t packSize);
    int BuildRequest(std::uint8_t *payload) override;
    std::uint8_t ParseAnswer(const std::uint8_t *payload, std::size_t length, QString *message) override;

    // N of the image, once the first chunk has arrived.
    bool SizeRead() const { return sizeRead_; }
    std::uint32_t StoredSize() const { return storedSize_; }
    const Bytes &Image() const { return image_; }

private:
    std::uint32_t pack_;
    std::uint32_t current_ = 0;
    std::uint32_t length_;
    bool sizeRead_ = false;
    std::uint32_t storedSize_ = 0;
    Bytes image_;
};

// Command 12: the device compares one sound file with a size and CRC-32.
class TVerifyFileTask : public TProgTask {
public:
    TVerifyFileTask(std::uint8_t index, std::uint32_t size, std::uint32_t crc);
    int BuildRequest(std::uint8_t *payload) override;
    std::uint8_t ParseAnswer(const std::uint8_t *payload, std::size_t length, QString *message) override;
    std::uint8_t Index() const { return index_; }

private:
    std::uint8_t index_;
    std::uint32_t size_, crc_;
};

// Command 13: one sound file read in chunks.
class TReadFileTask : public TProgTask {
public:
    TReadFileTask(QString caption, std::uint8_t index, std::uint32_t total, std::uint32_t packSize);
    int BuildRequest(std::uint8_t *payload) override;
    std::uint8_t ParseAnswer(const std::uint8_t *payload, std::size_t length, QString *message) override;
    const Bytes &Data() const { return data_; }

private:
    std::uint8_t index_;
    std::uint32_t total_;
    std::uint32_t pack_;
    std::uint32_t current_ = 0;
    Bytes data_;
};

// Command 14: the stored record length of a sound file.
class TGetFilesizeTask : public TProgTask {
public:
    explicit TGetFilesizeTask(std::uint8_t index);
    int BuildRequest(std::uint8_t *payload) override;
    std::uint8_t ParseAnswer(const std::uint8_t *payload, std::size_t length, QString *message) override;
    // Record length L (file size + 4).
    std::int32_t RecordLength() const { return record_; }

private:
    std::uint8_t index_;
    std::int32_t record_ = -1;
};

// Command 15: selects one device on a shared line; sent once when the port opens and
// on the first poll, done on the second poll or on any answer.
class TSendSerialNumberTask : public TProgTask {
public:
    explicit TSendSerialNumberTask(std::uint16_t serial);
    int BuildRequest(std::uint8_t *payload) override;
    std::uint8_t ParseAnswer(const std::uint8_t *payload, std::size_t length, QString *message) override;
    int MaxTries() const override { return 1; }

private:
    std::uint16_t serial_;
};

// Builds the task's request packet into buffer (kPacketBufferSize bytes). Returns the
// packet length, or -1 when the task has nothing to send. Marks the task sent.
int BuildPacket(TProgTask &task, std::uint8_t *buffer);

// The task's new state after this answer packet: unchanged when the task has not been
// sent or the command differs; otherwise what its parser says (message: the reason).
std::uint8_t MatchAnswer(TProgTask &task, const std::uint8_t *packet, std::size_t length, QString *message);

} // namespace vantor::programming
