#pragma once
// The connection settings of serial links, kept in "<program>.xml" in the per-user
// program folder and edited in the settings dialog.
//
// File layout:
//   <?xml version="1.0" encoding="utf-8"?>
//   <!-- DON'T MODIFY THIS FILE banner -->
//   <Root><ComIntervalDelay>1000</ComIntervalDelay><ComConnectTryCount>5</ComConnectTryCount></Root>
// Unknown elements are ignored; a value that is not a number of its type keeps the default.

#include <QString>

#include <cstdint>

namespace vantor {

class TSettings {
public:
    static constexpr std::uint16_t kDefaultComIntervalDelay = 1000;
    static constexpr std::uint8_t kDefaultComConnectTryCount = 5;
    // Ranges offered by the settings dialog.
    static constexpr int kMinComIntervalDelay = 150;
    static constexpr int kMaxComIntervalDelay = 10000;
    static constexpr int kMinComConnectTryCount = 1;
    static constexpr int kMaxComConnectTryCount = 100;

    explicit TSettings(QString fileName);
    ~TSettings();
    TSettings(const TSettings &) = delete;
    TSettings &operator=(const TSettings &) = delete;

    // "<per-user program folder>/<program>.xml"; throws EAppDataPath.
    static QString DefaultFileName();

    // The settings of this run (registered by their owner, the main window), or null.
    static TSettings *Current();
    static void SetCurrent(TSettings *settings);

    const QString &FileName() const { return fileName_; }

    // Reads the file when it exists; a missing file leaves the defaults and is no
    // error. An unreadable or malformed file also leaves the defaults and returns
    // false with the reason.
    bool Load(QString *error = nullptr);
    // Writes the file (atomically) and clears the modified flag.
    bool Save(QString *error = nullptr);

    // Milliseconds to wait between two attempts to connect over a serial port.
    std::uint16_t ComIntervalDelay() const { return comIntervalDelay_; }
    void SetComIntervalDelay(std::uint16_t value);
    // How many times to try to connect over a serial port.
    std::uint8_t ComConnectTryCount() const { return comConnectTryCount_; }
    void SetComConnectTryCount(std::uint8_t value);

    // Set by the setters when a value really changed since the last load or save.
    bool Modified() const { return modified_; }

    // The document Save writes.
    QByteArray ToXml() const;

private:
    QString fileName_;
    std::uint16_t comIntervalDelay_ = kDefaultComIntervalDelay;
    std::uint8_t comConnectTryCount_ = kDefaultComConnectTryCount;
    bool modified_ = false;
};

} // namespace vantor
