#pragma once
// The simulated device: a traffic-control device as seen over its link, written from the
// wire protocol alone. Plain C++ without Qt, so the pseudo-terminal simulator
// (vantor5-devsim) and the fake USB library of the tests run the same device.
//
// The device drives the exchange: it sends a poll, waits for the host's reply (an echo
// or a request), answers a request at once and polls again right after its answer;
// after an echo it waits the poll interval. A poll that gets no reply within the reply
// timeout is repeated.
//
// Memories: the configuration memory (4 MiB, erased = 0xFF, so an empty device reports
// N = 0xFFFFFFFF), the firmware memory of the bootloader (sparse, erased = 0xFF) and
// the sound-file area (16 MiB). Writes must not cross a multiple of the pack size.
// Commands the device does not support are answered with an empty packet of command
// 0xFF, so the host's retry count runs out instead of waiting forever.

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace vantor::devsim {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

struct SimOptions {
    std::uint32_t packSize = 1024; // answer of command 3 and the device's largest chunk
    std::string serial = "1001";   // answer of command 6; empty: none (0xFF)
    int selectNumber = -1;         // number command 15 selects; -1: the serial as a number
    int pollIntervalMs = 20;       // after an echo, before the next poll
    int replyTimeoutMs = 400;      // a poll without reply is repeated after this
    bool answersPackSize = true;   // false: command 3 is not answered (not in the bootloader)

    // Faults, on a schedule drawn from the seed. Probabilities are per packet sent.
    std::uint64_t seed = 1;
    double corruptCrc = 0;      // flip the CRC-8 byte
    double dropByte = 0;        // leave out one byte
    double insertBytes = 0;     // add 1 to 3 random bytes
    std::size_t splitChunk = 0; // send packets in pieces of at most this many bytes
    double wrongAddress = 0;    // answers: address or offset off by one
    double wrongLength = 0;     // answers: length off by one
    double wrongIndex = 0;      // answers: file index off by one
    double errorCode = 0;       // answers: error or status byte 1
    double failVerify = 0;      // verifications (2, 8, 12) fail
    int failVerifyFirst = 0;    // the first N verifications fail
    int silenceEvery = 0;       // after every N-th answer ...
    int silenceMs = 0;          // ... send nothing and ignore everything for this long
    int silenceLimit = 0;       // at most this many silences (0: no limit)
    int muteCommand = -1;       // this command is never answered (the device keeps polling)
    bool recordSent = false;    // keep every packet as meant before faults (tests)
};

// One piece of output and the earliest time it may go out.
struct OutChunk {
    Bytes bytes;
    Clock::time_point notBefore;
};

class SimDevice {
public:
    static constexpr std::size_t kConfigMemory = 4u << 20;
    static constexpr std::size_t kSoundMemory = 16u << 20;

    explicit SimDevice(SimOptions options);

    // Bytes from the host, in arrival order.
    void Receive(const std::uint8_t *bytes, std::size_t length, Clock::time_point now);
    // Runs the poll schedule and the end of a silence.
    void Advance(Clock::time_point now);
    // When Advance has something to do next.
    Clock::time_point NextEvent() const;
    // Output waiting to be sent, in order.
    std::deque<OutChunk> &Outgoing() { return outgoing_; }
    bool Silent(Clock::time_point now) const { return now < silentUntil_; }
    // Stops polling until Resume (the USB fake: nobody reads).
    void Pause(bool paused) { paused_ = paused; }

    // Configuration memory: the stored image (N, text, CRC-32), or nothing when erased.
    void LoadImage(const Bytes &image);
    Bytes StoredImage() const;
    // Puts a well-formed image holding this JSON text.
    void StoreJson(const std::string &text);
    // The JSON text of a well-formed image; empty when N is invalid.
    std::string StoredJson() const;
    Bytes &ConfigMemory() { return config_; }

    // Sound-file area: records of the files in order, then the terminator.
    void SetSoundFiles(const std::vector<Bytes> &files);
    std::vector<Bytes> SoundFiles() const;
    Bytes &SoundArea() { return sound_; }

    // Firmware memory written with command 1, and the entry point of command 4.
    Bytes FirmwareAt(std::uint32_t address, std::uint32_t size) const;
    std::int64_t EntryPoint() const { return entryPoint_; }

    std::string Serial() const { return options_.serial; }

    // What the device did.
    struct Request {
        std::uint8_t command;
        std::uint32_t address; // or file index for 12..14
        std::uint32_t length;
    };
    const std::vector<Request> &Requests() const { return requests_; }
    int RequestCount(std::uint8_t command) const;
    int EchoCount() const { return echoes_; }
    int PollCount() const { return polls_; }
    int BadPacketCount() const { return badPackets_; }
    const std::vector<Bytes> &SentPackets() const { return sent_; }
    void ClearHistory();

    std::function<void(const std::string &line)> OnLog;

    // The sound-area bytes for these files (records and terminator).
    static Bytes BuildSoundArea(const std::vector<Bytes> &files);

private:
    void HandlePacket(const Bytes &packet, Clock::time_point now);
    void Answer(std::uint8_t command, Bytes payload, Clock::time_point now);
    void Send(Bytes packet, Clock::time_point now);
    void SendPoll(Clock::time_point now);
    bool Chance(double probability);
    void Log(const std::string &line);
    // Offset and size of sound file `index`, or false.
    bool FindSoundFile(std::size_t index, std::size_t *offset, std::size_t *size) const;
    std::uint32_t SelectNumber() const;

    SimOptions options_;
    std::mt19937_64 random_;
    Bytes input_;
    std::deque<OutChunk> outgoing_;
    Bytes config_;
    Bytes sound_;
    std::map<std::uint32_t, Bytes> firmwarePages_; // 4 KiB pages
    std::int64_t entryPoint_ = -1;
    bool deselected_ = false;
    bool paused_ = false;
    bool awaitingReply_ = false;
    Clock::time_point nextPoll_;
    Clock::time_point replyDeadline_;
    Clock::time_point silentUntil_;
    int answers_ = 0;
    int silences_ = 0;
    int verifications_ = 0;
    bool FailVerification();
    int echoes_ = 0;
    int polls_ = 0;
    int badPackets_ = 0;
    std::vector<Request> requests_;
    std::vector<Bytes> sent_;
};

} // namespace vantor::devsim
