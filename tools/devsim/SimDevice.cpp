#include "SimDevice.h"

#include "link/Checksums.h"

#include <algorithm>
#include <cstring>

namespace vantor::devsim {
namespace {

constexpr std::uint32_t kMagic = 0xAA55A55Au;
constexpr std::size_t kLargestPacket = 33801 + 18;
constexpr std::uint32_t kPage = 4096;
// The answer to a command the device does not support: a packet of its own command code.
constexpr std::uint8_t kUnsupported = 0xFF;

std::uint32_t U32(const std::uint8_t *p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

void Put32(Bytes &out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(std::uint8_t(v >> (8 * i)));
}

Bytes Frame(std::uint8_t command, const Bytes &payload)
{
    Bytes packet;
    packet.reserve(payload.size() + 10);
    Put32(packet, kMagic);
    Put32(packet, std::uint32_t(payload.size() + 1));
    packet.push_back(command);
    packet.insert(packet.end(), payload.begin(), payload.end());
    packet.push_back(Crc8(packet.data(), packet.size()));
    return packet;
}

std::string Hex(std::uint32_t v)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", v);
    return text;
}

} // namespace

SimDevice::SimDevice(SimOptions options)
    : options_(std::move(options)), random_(options_.seed), config_(kConfigMemory, 0xFF),
      sound_(kSoundMemory, 0xFF)
{
    nextPoll_ = Clock::now();
}

void SimDevice::Log(const std::string &line)
{
    if (OnLog)
        OnLog(line);
}

bool SimDevice::Chance(double probability)
{
    if (probability <= 0)
        return false;
    return std::uniform_real_distribution<double>(0, 1)(random_) < probability;
}

std::uint32_t SimDevice::SelectNumber() const
{
    if (options_.selectNumber >= 0)
        return std::uint32_t(options_.selectNumber);
    try {
        return std::uint32_t(std::stoul(options_.serial));
    } catch (...) {
        return 0;
    }
}

bool SimDevice::FailVerification()
{
    ++verifications_;
    return verifications_ <= options_.failVerifyFirst || Chance(options_.failVerify);
}

void SimDevice::ClearHistory()
{
    requests_.clear();
    sent_.clear();
    echoes_ = polls_ = badPackets_ = 0;
}

int SimDevice::RequestCount(std::uint8_t command) const
{
    return int(std::count_if(requests_.begin(), requests_.end(),
                             [command](const Request &r) { return r.command == command; }));
}

Clock::time_point SimDevice::NextEvent() const
{
    if (paused_)
        return Clock::now() + std::chrono::milliseconds(50);
    if (silentUntil_ > Clock::now())
        return silentUntil_;
    return awaitingReply_ ? replyDeadline_ : nextPoll_;
}

void SimDevice::Advance(Clock::time_point now)
{
    if (paused_ || now < silentUntil_ || deselected_)
        return;
    if (awaitingReply_ && now >= replyDeadline_) {
        awaitingReply_ = false;
        nextPoll_ = now;
    }
    if (!awaitingReply_ && now >= nextPoll_)
        SendPoll(now);
}

void SimDevice::SendPoll(Clock::time_point now)
{
    ++polls_;
    awaitingReply_ = true;
    replyDeadline_ = now + std::chrono::milliseconds(options_.replyTimeoutMs);
    Send(Frame(0, {}), now);
}

void SimDevice::Send(Bytes packet, Clock::time_point now)
{
    if (options_.recordSent)
        sent_.push_back(packet);
    if (Chance(options_.corruptCrc)) {
        packet.back() ^= 0x5A;
        Log("fault: CRC-8 corrupted");
    }
    if (packet.size() > 1 && Chance(options_.dropByte)) {
        packet.erase(packet.begin() + std::ptrdiff_t(random_() % packet.size()));
        Log("fault: byte dropped");
    }
    if (Chance(options_.insertBytes)) {
        const std::size_t count = 1 + random_() % 3;
        const std::size_t at = random_() % (packet.size() + 1);
        Bytes noise(count);
        for (auto &b : noise)
            b = std::uint8_t(random_());
        packet.insert(packet.begin() + std::ptrdiff_t(at), noise.begin(), noise.end());
        Log("fault: " + std::to_string(count) + " byte(s) inserted");
    }
    if (options_.splitChunk == 0 || packet.size() <= options_.splitChunk) {
        outgoing_.push_back({std::move(packet), now});
        return;
    }
    auto at = now;
    for (std::size_t i = 0; i < packet.size(); i += options_.splitChunk) {
        const std::size_t n = std::min(options_.splitChunk, packet.size() - i);
        outgoing_.push_back(
            {Bytes(packet.begin() + std::ptrdiff_t(i), packet.begin() + std::ptrdiff_t(i + n)), at});
        at += std::chrono::milliseconds(1);
    }
}

void SimDevice::Receive(const std::uint8_t *bytes, std::size_t length, Clock::time_point now)
{
    if (now < silentUntil_)
        return; // a silent device hears nothing either
    input_.insert(input_.end(), bytes, bytes + length);
    std::size_t at = 0;
    while (input_.size() - at >= 10) {
        if (U32(&input_[at]) != kMagic) {
            ++at;
            continue;
        }
        const std::size_t total = std::size_t(U32(&input_[at + 4])) + 9;
        if (total < 10 || total > kLargestPacket) {
            ++at;
            continue;
        }
        if (input_.size() - at < total)
            break; // wait for the rest
        if (Crc8(&input_[at], total - 1) != input_[at + total - 1]) {
            ++badPackets_;
            Log("bad packet skipped (CRC-8)");
            ++at;
            continue;
        }
        const Bytes packet(input_.begin() + std::ptrdiff_t(at), input_.begin() + std::ptrdiff_t(at + total));
        at += total;
        HandlePacket(packet, now);
        if (now < silentUntil_) {
            input_.clear();
            return;
        }
    }
    input_.erase(input_.begin(), input_.begin() + std::ptrdiff_t(at));
}

void SimDevice::Answer(std::uint8_t command, Bytes payload, Clock::time_point now)
{
    Send(Frame(command, payload), now);
    awaitingReply_ = false;
    nextPoll_ = now; // the next poll follows the answer at once
    ++answers_;
    if (options_.silenceEvery > 0 && answers_ % options_.silenceEvery == 0 && options_.silenceMs > 0 &&
        (options_.silenceLimit == 0 || silences_ < options_.silenceLimit)) {
        ++silences_;
        silentUntil_ = now + std::chrono::milliseconds(options_.silenceMs); // after this answer
        Log("fault: silent for " + std::to_string(options_.silenceMs) + " ms");
    }
}

void SimDevice::HandlePacket(const Bytes &packet, Clock::time_point now)
{
    const std::uint8_t command = packet[8];
    const std::uint8_t *p = packet.data() + 9;
    const std::size_t n = packet.size() - 10;

    if (command == 15) {
        const std::uint32_t wanted = n >= 2 ? std::uint32_t(p[0] | p[1] << 8) : 0xFFFFFFFFu;
        requests_.push_back({command, wanted, 0});
        deselected_ = wanted != SelectNumber();
        Log("select by serial " + std::to_string(wanted) + (deselected_ ? ": not me, silent" : ": selected"));
        if (!deselected_)
            Answer(15, {}, now);
        return;
    }
    if (deselected_)
        return;
    if (command == 0) {
        ++echoes_;
        awaitingReply_ = false;
        nextPoll_ = now + std::chrono::milliseconds(options_.pollIntervalMs);
        return;
    }

    if (command == options_.muteCommand) {
        awaitingReply_ = false; // ignored: poll again after the interval, as after an echo
        nextPoll_ = now + std::chrono::milliseconds(options_.pollIntervalMs);
        return;
    }
    const bool wrongAddress = Chance(options_.wrongAddress);
    const bool wrongLength = Chance(options_.wrongLength);
    const bool wrongIndex = Chance(options_.wrongIndex);
    const bool errorCode = Chance(options_.errorCode);
    const std::uint32_t pack = options_.packSize;
    auto crossesPack = [pack](std::uint32_t address, std::uint32_t length) {
        return length > pack || (length > 0 && address / pack != (address + length - 1) / pack);
    };

    switch (command) {
    case 1:
    case 7:
    case 10: { // writes: u32 address, u32 length, data -> address, length, error
        if (n < 8)
            return;
        const std::uint32_t address = U32(p), length = U32(p + 4);
        requests_.push_back({command, address, length});
        std::int8_t error = 0;
        Bytes *memory = command == 7 ? &config_ : command == 10 ? &sound_ : nullptr;
        if (n - 8 != length)
            error = 2;
        else if (crossesPack(address, length))
            error = 3;
        else if (memory && std::uint64_t(address) + length > memory->size())
            error = 4;
        if (error == 0) {
            if (memory) {
                std::memcpy(memory->data() + address, p + 8, length);
            } else {
                for (std::uint32_t i = 0; i < length; ++i) {
                    Bytes &page = firmwarePages_[(address + i) / kPage];
                    if (page.empty())
                        page.assign(kPage, 0xFF);
                    page[(address + i) % kPage] = p[8 + i];
                }
            }
        }
        Log("write (" + std::to_string(command) + ") " + std::to_string(length) + " bytes at " +
            std::to_string(address) + (error ? ", error " + std::to_string(error) : ""));
        Bytes answer;
        Put32(answer, address + (wrongAddress ? 1 : 0));
        Put32(answer, length + (wrongLength ? 1 : 0));
        answer.push_back(std::uint8_t(errorCode ? 1 : error));
        Answer(command, answer, now);
        return;
    }
    case 2: { // verify firmware block
        if (n < 12)
            return;
        const std::uint32_t address = U32(p), size = U32(p + 4), crc = U32(p + 8);
        requests_.push_back({command, address, size});
        const Bytes block = FirmwareAt(address, size);
        std::int8_t error = Crc32(block.data(), block.size()) == crc ? 0 : 1;
        if (FailVerification())
            error = 1;
        Log("verify block " + std::to_string(size) + " bytes at " + Hex(address) +
            (error ? ": differs" : ": ok"));
        Bytes answer;
        Put32(answer, address + (wrongAddress ? 1 : 0));
        Put32(answer, size + (wrongLength ? 1 : 0));
        answer.push_back(std::uint8_t(errorCode ? 1 : error));
        Answer(command, answer, now);
        return;
    }
    case 3:
        requests_.push_back({command, 0, 0});
        if (!options_.answersPackSize) {
            Log("pack size asked: not supported outside the bootloader");
            Answer(kUnsupported, {}, now);
            return;
        }
        Log("pack size asked: " + std::to_string(pack));
        {
            Bytes answer;
            Put32(answer, pack);
            Answer(command, answer, now);
        }
        return;
    case 4:
        if (n < 4)
            return;
        requests_.push_back({command, U32(p), 0});
        entryPoint_ = U32(p);
        Log("entry point " + Hex(U32(p)));
        Answer(command, {std::uint8_t(errorCode ? 1 : 0)}, now);
        return;
    case 5: {
        requests_.push_back({command, 0, std::uint32_t(n)});
        const auto end = std::find(p, p + n, 0);
        options_.serial.assign(p, end);
        Log("serial number set: " + options_.serial);
        Answer(command, {std::uint8_t(errorCode ? 1 : 0)}, now);
        return;
    }
    case 6: {
        requests_.push_back({command, 0, 0});
        Bytes answer;
        if (options_.serial.empty()) {
            answer.push_back(0xFF);
        } else {
            answer.assign(options_.serial.begin(), options_.serial.end());
            answer.push_back(0);
        }
        Answer(command, answer, now);
        return;
    }
    case 8: {
        requests_.push_back({command, 0, 0});
        const std::uint32_t size = U32(config_.data());
        std::int8_t status = 1;
        if (size != 0xFFFFFFFFu && std::uint64_t(size) + 8 <= config_.size())
            status = Crc32(config_.data() + 4, size) == U32(config_.data() + 4 + size) ? 0 : 2;
        if (FailVerification())
            status = 2;
        Log(std::string("verify configuration: ") + (status ? "differs" : "ok"));
        Answer(command, {std::uint8_t(errorCode ? 1 : status)}, now);
        return;
    }
    case 9: {
        if (n < 8)
            return;
        const std::uint32_t address = U32(p), length = U32(p + 4);
        requests_.push_back({command, address, length});
        std::uint32_t delivered = std::min(length, pack);
        if (address >= config_.size())
            delivered = 0;
        else
            delivered = std::uint32_t(std::min<std::uint64_t>(delivered, config_.size() - address));
        Bytes answer;
        Put32(answer, address + (wrongAddress ? 1 : 0));
        Put32(answer, delivered + (wrongLength ? 1 : 0));
        answer.push_back(std::uint8_t(errorCode ? 1 : 0));
        answer.insert(
            answer.end(), config_.begin() + std::ptrdiff_t(std::min<std::size_t>(address, config_.size())),
            config_.begin() + std::ptrdiff_t(std::min<std::size_t>(address, config_.size()) + delivered));
        Log("read configuration " + std::to_string(delivered) + " bytes at " + std::to_string(address));
        Answer(command, answer, now);
        return;
    }
    case 12: {
        if (n < 9)
            return;
        const std::uint8_t index = p[0];
        const std::uint32_t size = U32(p + 1), crc = U32(p + 5);
        requests_.push_back({command, index, size});
        std::size_t offset = 0, stored = 0;
        std::int8_t status = 1;
        if (FindSoundFile(index, &offset, &stored) && stored == size &&
            Crc32(sound_.data() + offset, stored) == crc)
            status = 0;
        if (FailVerification())
            status = 1;
        Log("verify sound file " + std::to_string(index + 1) + (status ? ": differs" : ": same"));
        Answer(command, {std::uint8_t(index + (wrongIndex ? 1 : 0)), std::uint8_t(errorCode ? 1 : status)},
               now);
        return;
    }
    case 13: {
        if (n < 9)
            return;
        const std::uint8_t index = p[0];
        const std::uint32_t offset = U32(p + 1), length = U32(p + 5);
        requests_.push_back({command, index, length});
        std::size_t at = 0, size = 0;
        std::uint32_t delivered = 0;
        if (FindSoundFile(index, &at, &size) && offset < size)
            delivered = std::uint32_t(std::min<std::uint64_t>({length, pack, size - offset}));
        Bytes answer{std::uint8_t(index + (wrongIndex ? 1 : 0))};
        Put32(answer, offset + (wrongAddress ? 1 : 0));
        Put32(answer, delivered + (wrongLength ? 1 : 0));
        answer.insert(answer.end(), sound_.begin() + std::ptrdiff_t(at + offset),
                      sound_.begin() + std::ptrdiff_t(at + offset + delivered));
        Log("read sound file " + std::to_string(index + 1) + ": " + std::to_string(delivered) + " bytes at " +
            std::to_string(offset));
        Answer(command, answer, now);
        return;
    }
    case 14: {
        if (n < 1)
            return;
        const std::uint8_t index = p[0];
        requests_.push_back({command, index, 0});
        std::size_t at = 0, size = 0;
        const std::int32_t record = FindSoundFile(index, &at, &size) ? std::int32_t(size + 4) : -1;
        Bytes answer{std::uint8_t(index + (wrongIndex ? 1 : 0))};
        Put32(answer, std::uint32_t(record));
        Log("sound file " + std::to_string(index + 1) + " size asked: " + std::to_string(record));
        Answer(command, answer, now);
        return;
    }
    default: Log("unknown command " + std::to_string(command) + ": not answered"); return;
    }
}

bool SimDevice::FindSoundFile(std::size_t index, std::size_t *offset, std::size_t *size) const
{
    std::size_t at = 0;
    for (std::size_t i = 0;; ++i) {
        if (at + 4 > sound_.size())
            return false;
        const std::uint32_t record = U32(sound_.data() + at);
        if (record == 0xFFFFFFFFu || record < 4 || at + record > sound_.size())
            return false;
        const std::size_t fileSize = record - 4;
        if (i == index) {
            *offset = at + 4;
            *size = fileSize;
            return true;
        }
        at += 4 + (fileSize + 3) / 4 * 4;
    }
}

Bytes SimDevice::BuildSoundArea(const std::vector<Bytes> &files)
{
    Bytes area;
    for (const Bytes &file : files) {
        Put32(area, std::uint32_t(file.size() + 4));
        area.insert(area.end(), file.begin(), file.end());
        area.resize((area.size() + 3) / 4 * 4, 0xFF);
    }
    Put32(area, 0xFFFFFFFFu);
    return area;
}

void SimDevice::SetSoundFiles(const std::vector<Bytes> &files)
{
    std::fill(sound_.begin(), sound_.end(), 0xFF);
    const Bytes area = BuildSoundArea(files);
    std::copy(area.begin(), area.end(), sound_.begin());
}

std::vector<Bytes> SimDevice::SoundFiles() const
{
    std::vector<Bytes> files;
    std::size_t at = 0, size = 0;
    for (std::size_t i = 0; FindSoundFile(i, &at, &size); ++i)
        files.emplace_back(sound_.begin() + std::ptrdiff_t(at), sound_.begin() + std::ptrdiff_t(at + size));
    return files;
}

void SimDevice::LoadImage(const Bytes &image)
{
    std::fill(config_.begin(), config_.end(), 0xFF);
    std::copy_n(image.begin(), std::min(image.size(), config_.size()), config_.begin());
}

Bytes SimDevice::StoredImage() const
{
    const std::uint32_t size = U32(config_.data());
    if (size == 0xFFFFFFFFu || std::uint64_t(size) + 8 > config_.size())
        return {};
    return Bytes(config_.begin(), config_.begin() + std::ptrdiff_t(size + 8));
}

void SimDevice::StoreJson(const std::string &text)
{
    Bytes image;
    Put32(image, std::uint32_t(text.size()));
    image.insert(image.end(), text.begin(), text.end());
    Put32(image, Crc32(text.data(), text.size()));
    LoadImage(image);
}

std::string SimDevice::StoredJson() const
{
    const Bytes image = StoredImage();
    if (image.size() < 8)
        return {};
    return std::string(image.begin() + 4, image.end() - 4);
}

Bytes SimDevice::FirmwareAt(std::uint32_t address, std::uint32_t size) const
{
    Bytes out(size, 0xFF);
    for (std::uint32_t i = 0; i < size; ++i) {
        auto page = firmwarePages_.find((address + i) / kPage);
        if (page != firmwarePages_.end())
            out[i] = page->second[(address + i) % kPage];
    }
    return out;
}

} // namespace vantor::devsim
