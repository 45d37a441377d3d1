#pragma once
// TProgSession: one programming session with a device, without windows. The programmer
// window and vantor5-tool drive it the same way:
//
//   TProgSession session(tag, mode, input, options);  // mode 0 read, 1 write, 2 firmware, 3 write file
//   session.OnStatus = ...; session.Ask = ...; session.OnFinished = ...;
//   session.Connect();        // tries, serial number, pack size; returns with state 1 or 3
//   ... when CanRunCommand(): session.RunCommand();
//   ... OnFinished(outcome) ends the operation; WorkStream() holds what was read.
//
// Everything runs on the thread of a Qt event loop. Questions, error boxes and file
// choices go through callbacks that are never called from inside a packet handler:
// each chain step that needs one runs from the one-shot job timer.

#include "link/pr_usb.h"
#include "programming/FirmwareFile.h"
#include "programming/SoundFiles.h"
#include "programming/pr_collector.h"

#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vantor::programming {

enum ProgMode : int {
    kModeRead = 0,
    kModeWrite = 1,
    kModeFirmware = 2,
    kModeWriteFile = 3,
};

// What the programmer window takes from the settings and the tool from its options.
struct ProgOptions {
    int connectType = link::kConnectSerial;
    QString port;                // serial: name (ttyUSB0) or path
    QString portCaption;         // how messages name the port; empty: the last part of its path
    link::TUSBDevice usbDevice;  // USB: the device picked in the list
    int comIntervalDelay = 1000; // ms between serial connection tries
    int comConnectTryCount = 5;
    std::optional<std::uint16_t> selectSerial; // "Подключиться к устройству с серийным номером"
    QString lastDir;                           // where the firmware file choice starts
    QString soundBaseDir;   // relative sound-file paths; empty: the current folder
    bool logTraffic = true; // hex dumps of every packet in the log
    // Timings the tests shorten.
    int silenceTimeoutMs = 4000;
    int jobDelayMs = 100;
    int selectWaitMs = 6000;
};

enum class Question {
    ContinueAfterCrcError, // "Контрольная сумма файла конфигурации не воспадает!\r\nПродолжить"
    WriteAfterReadFailure, // "Не удалось прочитать текущую конфигурацию! ... Продолжить?"
    RepeatWrite, // "Ошибка верификации конфигурации!\r\nПовторить запись?"
};

struct Outcome {
    bool ok = false;
    QString message;
};

class TProgSession {
public:
    TProgSession(int deviceTag, int mode, std::string input, ProgOptions options);
    ~TProgSession();
    TProgSession(const TProgSession &) = delete;
    TProgSession &operator=(const TProgSession &) = delete;

    // "Подключить": connects with the configured tries. Returns when connected (state 1)
    // or given up; the session (serial number, pack size) completes on the event loop.
    void Connect();
    // "Отключить": stops a running connect loop, ends the connection and the operation.
    void Disconnect();
    // Takes the choices of the next Connect (port or USB device, select-by-serial, tries,
    // timings). Only while disconnected and no connect loop runs; false otherwise. The
    // established session ends with it, as after "Отключить".
    bool SetOptions(ProgOptions options);
    const ProgOptions &Options() const { return options_; }
    // The command button: read (modes 0, 1, 3; a write follows the read) or firmware
    // update (mode 2). False when not possible now (see CanRunCommand).
    bool RunCommand();

    bool CanRunCommand() const;
    std::uint8_t ConnectionState() const { return collector_.State(); }
    bool IsConnected() const { return connected_; }
    bool IsEstablished() const { return established_; }
    bool IsBusy() const { return busy_; }
    bool IsOperationActive() const { return operationActive_; }
    bool IsConnecting() const { return connectLoop_; }
    // The pack size could not be agreed: the command cannot run on this connection.
    bool IsSessionFailed() const { return sessionFailed_; }
    QString SerialNumber() const { return serialNumber_; }
    QString PortCaption() const;

    // Mode 0: the JSON text read (Sollo-4: with the paths of fetched files).
    const std::string &WorkStream() const { return work_; }
    const std::vector<TFileObj> &Files() const { return files_; }
    const QString &LastDir() const { return options_.lastDir; }
    TTaskCollector &Collector() { return collector_; }

    // Callbacks; each may be unset (questions then answer No, choices cancel).
    std::function<void()> OnChanged;                                 // flags or state changed
    std::function<void(const QString &text)> OnStatus;               // status line (also logged)
    std::function<void(qint64 ms, const QString &text)> OnLog;       // "[ms] text" lines
    std::function<void(qint64 done, qint64 total)> OnProgress;       // bytes of the running transfer
    std::function<bool(Question question, const QString &text)> Ask; // true only for Yes
    std::function<void(const QString &text)> OnError;                // error box
    std::function<QString(const QString &lastDir)> ChooseFirmwareFile;
    // Where to save a sound file fetched from the device; empty: do not save.
    std::function<QString(int index, const QString &suggestedName)> ChooseSoundSavePath;
    std::function<void(const Outcome &outcome)> OnFinished;

    // Milliseconds since the system started, as the log shows them.
    static qint64 Ticks();

private:
    enum Job {
        kJobNone = -1,
        kJobProcessRead = 0,
        kJobRepeatWrite = 1,
        kJobWriteAnyway = 2,
        kJobReconnect = 3,
        kJobWriteSounds = 4,
        kJobWriteConfig = 5,
        kJobContinueWrite = 6
    };

    // connection
    void OnConnectionState(std::uint8_t state);
    void ConnectLoop();
    void WaitFor(int ms, const std::function<bool()> &done);
    void UserDisconnect();
    void Status(const QString &text);
    void Log(const QString &text);
    void Changed();
    void ApplyTrafficLog();
    TProgTask::ProgressCallback Progress();

    // jobs
    void Schedule(Job job);
    void RunJob();
    void Finish(bool ok, const QString &message);
    void ShowError(const QString &text);
    bool AskUser(Question question, const QString &text);

    // configuration transfer
    void ReadConfiguration();
    void ProcessRead();
    void ContinueWrite();
    void WriteConfiguration();
    void PrepareSoundFiles();
    void WriteSoundFiles();
    void StartSoundRead();
    void SoundReadStep(int step);

    // firmware
    void StartFirmware();
    void WriteFirmware();

    int tag_;
    int mode_;
    std::string input_;
    ProgOptions options_;
    TTaskCollector collector_;

    std::string work_;
    std::vector<std::uint8_t> image_;
    std::vector<TFileObj> files_;
    std::optional<FirmwareFile> firmware_;
    int step_ = 0;
    int soundFailures_ = 0;

    bool connected_ = false;
    bool established_ = false;
    bool connectRequested_ = false;
    bool stopRequested_ = false;
    bool userOperation_ = false;
    bool busy_ = false;
    bool connectLoop_ = false;
    bool operationActive_ = false;
    bool readingSounds_ = false;
    bool sessionFailed_ = false;
    QString serialNumber_;
    QString lastStatus_;
    QString lastQueueMessage_; // the queue's last word: why a connection ended

    QTimer jobTimer_;
    Job job_ = kJobNone;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace vantor::programming
