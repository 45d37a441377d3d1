// TProgSession: connecting, the session flags, reconnects and the job timer.
#include "programming/ProgSession.h"

#include "link/Comm32.h"
#include "json/JsonText.h"

#include <algorithm>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

namespace vantor::programming {

TProgSession::TProgSession(int deviceTag, int mode, std::string input, ProgOptions options)
    : tag_(deviceTag), mode_(mode), input_(std::move(input)), options_(std::move(options)),
      collector_(options_.connectType)
{
    collector_.SetPortName(options_.port);
    if (options_.connectType == link::kConnectUsb)
        collector_.SetUsbDevice(options_.usbDevice);
    collector_.SetSilenceTimeout(options_.silenceTimeoutMs);
    collector_.OnConnectionState = [this](std::uint8_t state) { OnConnectionState(state); };
    collector_.OnMessage = [this](const QString &text) {
        lastQueueMessage_ = text;
        Status(text);
    };
    collector_.OnQueueStarted = [this] {
        busy_ = true;
        Changed();
    };
    collector_.OnQueueFinished = [this] {
        busy_ = false;
        if (OnProgress)
            OnProgress(0, 0);
        Changed();
        if (readingSounds_ && step_ >= 10) {
            const int step = ++step_;
            std::weak_ptr<bool> alive = alive_;
            QTimer::singleShot(0, [this, alive, step] {
                if (!alive.expired())
                    SoundReadStep(step);
            });
        }
    };
    ApplyTrafficLog();
    collector_.OnReconnectRequest = [this] {
        std::weak_ptr<bool> alive = alive_;
        QTimer::singleShot(0, [this, alive] {
            if (alive.expired() || connectLoop_)
                return;
            // Our own disconnect: no second, automatic reconnect from the state change.
            userOperation_ = true;
            collector_.Disconnect(true);
            userOperation_ = false;
            Connect();
        });
    };
    jobTimer_.setSingleShot(true);
    QObject::connect(&jobTimer_, &QTimer::timeout, [this] { RunJob(); });
}

TProgSession::~TProgSession()
{
    *alive_ = false;
    alive_.reset();
    jobTimer_.stop();
    OnChanged = nullptr;
    OnStatus = nullptr;
    OnLog = nullptr;
    OnFinished = nullptr;
    stopRequested_ = true;
    userOperation_ = true;
    collector_.Disconnect(true);
}

void TProgSession::ApplyTrafficLog()
{
    if (options_.logTraffic)
        collector_.OnTraffic = [this](const QString &line) { Log(line); };
    else
        collector_.OnTraffic = nullptr;
}

bool TProgSession::SetOptions(ProgOptions options)
{
    if (connectLoop_ || collector_.State() != link::kStateDisconnected)
        return false;
    if (options.connectType != collector_.ConnectType())
        collector_.SetConnectType(options.connectType);
    options_ = std::move(options);
    collector_.SetPortName(options_.port);
    if (options_.connectType == link::kConnectUsb)
        collector_.SetUsbDevice(options_.usbDevice);
    collector_.SetSilenceTimeout(options_.silenceTimeoutMs);
    ApplyTrafficLog();
    established_ = false; // another port may lead to another device
    return true;
}

qint64 TProgSession::Ticks()
{
    // CLOCK_MONOTONIC: milliseconds since the system started.
    QElapsedTimer clock;
    clock.start();
    return clock.msecsSinceReference();
}

void TProgSession::Log(const QString &text)
{
    if (OnLog)
        OnLog(Ticks(), text);
}

void TProgSession::Status(const QString &text)
{
    lastStatus_ = text;
    if (OnStatus)
        OnStatus(text);
    Log(text);
}

void TProgSession::Changed()
{
    if (OnChanged)
        OnChanged();
}

QString TProgSession::PortCaption() const
{
    if (options_.connectType == link::kConnectUsb)
        return options_.usbDevice.caption;
    if (!options_.portCaption.isEmpty())
        return options_.portCaption;
    return const_cast<TTaskCollector &>(collector_).Connection().Provider().GetDisplayName();
}

bool TProgSession::CanRunCommand() const
{
    return collector_.State() == link::kStateConnected && connected_ && !busy_ && !operationActive_;
}

TProgTask::ProgressCallback TProgSession::Progress()
{
    return [this](TProgTask &, int, std::int64_t position, std::int64_t total) {
        if (OnProgress)
            OnProgress(position, total);
    };
}

// ---- connection ----

void TProgSession::OnConnectionState(std::uint8_t state)
{
    if (OnProgress)
        OnProgress(0, 0);
    const bool byUser = userOperation_ || stopRequested_;
    const QString connectedTo = QStringLiteral("Подключено к \"%1\".").arg(PortCaption());
    switch (state) {
    case link::kStateConnecting:
        connected_ = false;
        busy_ = false;
        Status(QStringLiteral("Подключение..."));
        break;
    case link::kStateConnected:
        if (established_) {
            connected_ = true;
            Status(connectedTo);
            break;
        }
        sessionFailed_ = false;
        if (options_.connectType == link::kConnectSerial) {
            collector_.AddTask(std::make_unique<TGetSerialTask>(), [this](TProgTask &task, std::uint8_t s,
                                                                          QString &message) {
                if (s == kTaskFailed) {
                    message = QStringLiteral("Не удалось Прочитать серийный номер устройства. ") + message;
                } else if (s == kTaskDone) {
                    serialNumber_ = QString::fromUtf8(static_cast<TGetSerialTask &>(task).Serial());
                    if (mode_ != kModeRead) {
                        message = QStringLiteral("Серийный номер устройства успешно прочитан.");
                    } else {
                        Log(QStringLiteral("Серийный номер устройства успешно прочитан"));
                        message = QStringLiteral("Подключено к \"%1\".").arg(PortCaption());
                    }
                    Changed();
                }
            });
        } else {
            serialNumber_ = options_.usbDevice.serial;
        }
        if (mode_ != kModeRead) {
            collector_.AddTask(
                std::make_unique<TGetPackMaxSizeTask>(),
                [this](TProgTask &task, std::uint8_t s, QString &message) {
                    if (s == kTaskFailed) {
                        sessionFailed_ = true;
                        message = QStringLiteral("Подключиться не удалось. Возможно устройство не в "
                                                 "режиме загрузчика. ") +
                                  message;
                    } else if (s == kTaskDone) {
                        established_ = true;
                        connected_ = true;
                        collector_.SetPackSize(static_cast<TGetPackMaxSizeTask &>(task).PackSize());
                        message = QStringLiteral("Подключено к \"%1\".").arg(PortCaption());
                    }
                    Changed();
                });
        } else {
            collector_.SetPackSize(1024);
            established_ = true;
            connected_ = true;
        }
        Status(QStringLiteral("Подключено"));
        break;
    case link::kStateDisconnecting:
        if (byUser) {
            connected_ = false;
            serialNumber_.clear();
            Status(QStringLiteral("Отключение..."));
        } else if (options_.connectType == link::kConnectSerial) {
            Status(QStringLiteral("Переподключение..."));
        }
        break;
    case link::kStateDisconnected:
        // Tasks were dropped with the connection: nothing runs any more.
        busy_ = false;
        connected_ = false;
        if (operationActive_)
            Finish(false,
                   QStringLiteral("Операция прервана: связь с устройством потеряна. ") + lastQueueMessage_);
        if (byUser) {
            Status(QStringLiteral("Отключено."));
            if (stopRequested_)
                established_ = false;
        } else {
            Schedule(kJobReconnect);
        }
        break;
    }
    Changed();
}

void TProgSession::WaitFor(int ms, const std::function<bool()> &done)
{
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (done() || clock.elapsed() >= ms)
            loop.quit();
    });
    tick.start(5);
    if (!done() && ms > 0)
        loop.exec();
}

void TProgSession::Connect()
{
    if (connectLoop_)
        return;
    connectLoop_ = true;
    connectRequested_ = true;
    userOperation_ = true;
    stopRequested_ = false;
    Changed();
    ConnectLoop();
    userOperation_ = false;
    connectRequested_ = false;
    connectLoop_ = false;
    Changed();
}

void TProgSession::ConnectLoop()
{
    std::weak_ptr<bool> alive = alive_;
    if (options_.connectType == link::kConnectUsb) {
        try {
            collector_.Connect();
        } catch (const std::exception &e) {
            Status(QString::fromUtf8(e.what()));
        }
        return;
    }
    collector_.Disconnect(true);
    link::SetLinkBaudRate(10417);
    const int tries = std::max(1, options_.comConnectTryCount);
    for (int i = 0;; ++i) {
        try {
            if (i > 0 && collector_.State() != link::kStateConnected)
                collector_.Disconnect(false);
            collector_.Connect();
            int wait = options_.comIntervalDelay;
            if (options_.selectSerial && collector_.State() != link::kStateDisconnected) {
                TProgTask *task =
                    collector_.AddTask(std::make_unique<TSendSerialNumberTask>(*options_.selectSerial));
                collector_.SendNow(*task);
                wait = options_.selectWaitMs;
            }
            // A try succeeds once the device has sent something; it is given the whole
            // interval to do so, the last try too.
            WaitFor(wait, [&] {
                return alive.expired() || stopRequested_ || collector_.State() == link::kStateConnected;
            });
        } catch (const std::exception &e) {
            Status(QString::fromUtf8(e.what())); // ends this try only
        }
        if (alive.expired())
            return;
        if (collector_.State() == link::kStateConnected || i + 1 >= tries || stopRequested_)
            break;
    }
    if (collector_.State() != link::kStateConnected && !stopRequested_)
        UserDisconnect();
}

void TProgSession::UserDisconnect()
{
    stopRequested_ = true;
    userOperation_ = true;
    established_ = false;
    jobTimer_.stop();
    job_ = kJobNone;
    collector_.Disconnect(true);
    if (operationActive_)
        Finish(false, lastStatus_);
    connected_ = false;
    Changed();
}

void TProgSession::Disconnect()
{
    UserDisconnect();
    if (!connectLoop_)
        userOperation_ = false;
}

bool TProgSession::RunCommand()
{
    if (!CanRunCommand())
        return false;
    operationActive_ = true;
    Changed();
    if (mode_ == kModeWriteFile) {
        // Bytes that are no JSON document would replace the device's configuration with garbage.
        json::ParseError why;
        if (!json::ParseObject(input_, &why)) {
            const QString text =
                QStringLiteral("Файл не является конфигурацией JSON: %1 (строка %2, столбец %3)")
                    .arg(QString::fromStdString(why.reason))
                    .arg(why.line)
                    .arg(why.column);
            Status(text);
            ShowError(text);
            Finish(false, text);
            return true;
        }
    }
    if (mode_ == kModeFirmware)
        StartFirmware();
    else
        ReadConfiguration();
    return true;
}

// ---- jobs ----

void TProgSession::Schedule(Job job)
{
    job_ = job;
    jobTimer_.start(options_.jobDelayMs);
}

void TProgSession::RunJob()
{
    const Job job = job_;
    job_ = kJobNone;
    switch (job) {
    case kJobProcessRead: ProcessRead(); break;
    case kJobRepeatWrite:
        if (AskUser(Question::RepeatWrite,
                    QStringLiteral("Ошибка верификации конфигурации!\r\nПовторить запись?")))
            WriteConfiguration();
        else
            Finish(false, lastStatus_);
        break;
    case kJobWriteAnyway:
        if (AskUser(Question::WriteAfterReadFailure,
                    QStringLiteral(
                        "Не удалось прочитать текущую конфигурацию!\r\nЗапись текущей конфигурации сотрет "
                        "другие записи!\r\nПродолжить?")))
            ContinueWrite();
        else
            Finish(false, lastStatus_);
        break;
    case kJobReconnect:
        if (connected_)
            collector_.Disconnect(false);
        collector_.Reset();
        Connect();
        break;
    case kJobWriteSounds: WriteSoundFiles(); break;
    case kJobWriteConfig: WriteConfiguration(); break;
    case kJobContinueWrite: ContinueWrite(); break;
    case kJobNone: break;
    }
}

void TProgSession::Finish(bool ok, const QString &message)
{
    if (!operationActive_)
        return;
    operationActive_ = false;
    readingSounds_ = false;
    std::weak_ptr<bool> alive = alive_;
    const Outcome outcome{ok, message};
    Changed();
    QTimer::singleShot(0, [this, alive, outcome] {
        if (!alive.expired() && OnFinished)
            OnFinished(outcome);
    });
}

void TProgSession::ShowError(const QString &text)
{
    std::weak_ptr<bool> alive = alive_;
    QTimer::singleShot(0, [this, alive, text] {
        if (!alive.expired() && OnError)
            OnError(text);
    });
}

bool TProgSession::AskUser(Question question, const QString &text)
{
    Log(text);
    return Ask && Ask(question, text);
}

} // namespace vantor::programming
