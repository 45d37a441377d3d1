#pragma once
// Sollo-4 sound files in a configuration transfer. The document's "sollo" member lists
// the files ("files": [{"file": PATH, ...}, ...]); the device keeps them in its sound
// area as records in list order: u32 L = size + 4, the bytes, 0xFF padding to a multiple
// of 4; after the last record the terminator 0xFFFFFFFF. Files are addressed by their
// position among the elements that have a "file" member.

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantor::programming {

// TFileObj: one sound file of the transfer.
struct TFileObj {
    QString path;              // on this computer
    std::uint32_t size = 0;    // bytes
    bool sameOnDevice = false; // set by the last verification
    bool existsOnPc = false;
    bool sizeKnown = false;             // read from the device
    std::vector<std::uint8_t> contents; // the file's bytes (from the PC, or read from the device)
};

// The "file" members of "sollo"."files", in order; nothing when the text is no object.
// Elements without a "file" member are skipped; a "file" that is not text gives "".
std::optional<std::vector<QString>> SoundPaths(const std::string &documentText);

// A relative path is taken relative to baseDir (the current folder when empty).
QString ResolveSoundPath(const QString &path, const QString &baseDir);

// Bytes a file of this size occupies in the sound area.
std::uint32_t SoundRecordSize(std::uint32_t fileSize);

// The records of files[first..] and the terminator.
std::vector<std::uint8_t> BuildSoundArea(const std::vector<TFileObj> &files, std::size_t first);

// The document text (compact) with the "file" members set to these paths, in order.
std::string WriteSoundPaths(const std::string &documentText, const std::vector<QString> &paths);

} // namespace vantor::programming
