#pragma once
// The programmer's settings, kept in "bprog.ini": section "MainForm" (the programmer
// window) and section "USB" (the USB device list). One instance for the whole run:
// read when the program starts, written back, every key, when it ends.
//
// Where the file lives: "<per-user data folder>/Morvane LTD/Vantor/bprog.ini" when
// that folder exists (names matched without regard to case, as the programmer tools
// spell it differently), otherwise "bprog.ini" beside the program.

#include "app/IniFile.h"

#include <QString>

#include <functional>

namespace vantor {

// One section of the ini file. Setters tell the owner when a value really changes.
class TSettingsBase {
public:
    explicit TSettingsBase(QString section) : section_(std::move(section)) {}
    virtual ~TSettingsBase() = default;

    const QString &Section() const { return section_; }
    virtual void Read(const IniFile &ini) = 0; // missing keys take the defaults
    virtual void Write(IniFile &ini) const = 0;

    void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

protected:
    template <typename T>
    void Assign(T &field, const T &value)
    {
        if (field == value)
            return;
        field = value;
        if (onChange_)
            onChange_();
    }

private:
    QString section_;
    std::function<void()> onChange_;
};

class TMainFormSettings : public TSettingsBase {
public:
    TMainFormSettings() : TSettingsBase(QStringLiteral("MainForm")) {}
    void Read(const IniFile &ini) override;
    void Write(IniFile &ini) const override;

    // Placement of the programmer window; -1 = not yet placed.
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Maximized() const { return maximized_; }
    void SetLeft(int v) { Assign(left_, v); }
    void SetTop(int v) { Assign(top_, v); }
    void SetWidth(int v) { Assign(width_, v); }
    void SetHeight(int v) { Assign(height_, v); }
    void SetMaximized(bool v) { Assign(maximized_, v); }

    int ConnectType() const { return connectType_; }
    void SetConnectType(int v) { Assign(connectType_, v); }
    // Writing to the log window on or off.
    bool Log() const { return log_; }
    void SetLog(bool v) { Assign(log_, v); }
    // Refresh the USB device list automatically.
    bool AutoUpdateDevList() const { return autoUpdateDevList_; }
    void SetAutoUpdateDevList(bool v) { Assign(autoUpdateDevList_, v); }
    // Folder of the last firmware file chosen.
    const QString &LastDir() const { return lastDir_; }
    void SetLastDir(const QString &v) { Assign(lastDir_, v); }

private:
    int left_ = -1, top_ = -1, width_ = -1, height_ = -1;
    bool maximized_ = false;
    int connectType_ = 0;
    bool log_ = true;
    bool autoUpdateDevList_ = true;
    QString lastDir_;
};

class TUSBSettings : public TSettingsBase {
public:
    static constexpr int kDefaultTimeout = 5000;
    static constexpr int kDefaultVID = 0x1002;
    static constexpr int kDefaultPID = 0x6666;

    TUSBSettings() : TSettingsBase(QStringLiteral("USB")) {}
    void Read(const IniFile &ini) override;
    void Write(IniFile &ini) const override;

    int Timeout() const { return timeout_; }
    void SetTimeout(int v) { Assign(timeout_, v); }
    // Vendor and product ID of the devices listed for USB.
    int VID() const { return vid_; }
    void SetVID(int v) { Assign(vid_, v); }
    int PID() const { return pid_; }
    void SetPID(int v) { Assign(pid_, v); }

private:
    int timeout_ = kDefaultTimeout;
    int vid_ = kDefaultVID;
    int pid_ = kDefaultPID;
};

class TProgSettings {
public:
    explicit TProgSettings(QString iniFileName = LocateIniFile());
    ~TProgSettings();
    TProgSettings(const TProgSettings &) = delete;
    TProgSettings &operator=(const TProgSettings &) = delete;

    // The location rule above.
    static QString LocateIniFile();
    static QString LocateIniFile(const QString &perUserDataFolder, const QString &programFolder);

    // The settings of this run (registered by the program entry), or null.
    static TProgSettings *Current();
    static void SetCurrent(TProgSettings *settings);

    const QString &FileName() const { return fileName_; }
    TMainFormSettings &MainForm() { return mainForm_; }
    const TMainFormSettings &MainForm() const { return mainForm_; }
    TUSBSettings &USB() { return usb_; }
    const TUSBSettings &USB() const { return usb_; }

    // True once any value changed since the last load or save.
    bool Modified() const { return modified_; }

    // Reads both sections; a missing file gives the defaults. An unreadable file
    // gives the defaults too and returns false with the reason.
    bool Load(QString *error = nullptr);
    // Writes every key of both sections, keeping whatever else the file holds. When
    // the program's folder cannot be written (an installed program), the file goes to
    // "<per-user data folder>/Morvane LTD/Vantor/", where the next run finds it.
    bool Save(QString *error = nullptr);

private:
    QString fileName_;
    IniFile ini_; // the file as last read, so other programs' keys survive
    TMainFormSettings mainForm_;
    TUSBSettings usb_;
    bool modified_ = false;
};

} // namespace vantor
