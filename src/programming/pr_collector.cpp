#include "programming/pr_collector.h"

#include "link/Comm32.h"
#include "link/UsbProvider.h"

#include <algorithm>

namespace vantor::programming {

TTaskCollector::TTaskCollector(int connectType, link::TDAO::ProviderFactory factory)
    : connectType_(connectType), factory_(std::move(factory))
{
    silence_.setSingleShot(true);
    QObject::connect(&silence_, &QTimer::timeout, [this] { OnSilence(); });
    MakeConnection();
}

TTaskCollector::~TTaskCollector()
{
    silence_.stop();
    OnConnectionState = nullptr;
    OnMessage = nullptr;
    tasks_.clear();
    current_ = nullptr;
    if (dao_) {
        dao_->OnStateChange = nullptr;
        dao_->Disconnect();
    }
}

void TTaskCollector::MakeConnection()
{
    if (dao_) {
        dao_->OnStateChange = nullptr;
        dao_->OnPacket = nullptr;
        dao_->OnMessage = nullptr;
        dao_->OnTraffic = nullptr;
        dao_->OnReconnectRequest = nullptr;
        dao_->Disconnect();
        // We may be inside one of its callbacks: free it on the next turn of the loop.
        retired_.push_back(std::move(dao_));
        QTimer::singleShot(0, &silence_, [this] { retired_.clear(); }); // never after our end
    }
    dao_ = std::make_unique<link::TDAO>(connectType_, factory_);
    if (connectType_ == link::kConnectUsb && usbDevice_.device && !factory_)
        static_cast<link::TUSBProvider &>(dao_->Provider()).SetDevice(usbDevice_);
    dao_->OnPacket = [this](const std::uint8_t *p, std::size_t n) { HandlePacket(p, n); };
    dao_->OnStateChange = [this] {
        if (OnConnectionState)
            OnConnectionState(dao_->State());
    };
    dao_->OnMessage = [this](const QString &text) {
        if (OnMessage)
            OnMessage(text);
    };
    dao_->OnTraffic = [this](const QString &line) {
        if (OnTraffic)
            OnTraffic(line);
    };
    dao_->OnReconnectRequest = [this] {
        if (OnReconnectRequest)
            OnReconnectRequest();
    };
}

void TTaskCollector::SetUsbDevice(const link::TUSBDevice &device)
{
    usbDevice_ = device;
    if (connectType_ == link::kConnectUsb && !factory_)
        static_cast<link::TUSBProvider &>(dao_->Provider()).SetDevice(device);
}

void TTaskCollector::SetConnectType(int type)
{
    if (type == connectType_)
        return;
    Disconnect(true);
    connectType_ = type;
    MakeConnection();
}

void TTaskCollector::SetPackSize(std::uint32_t size)
{
    packSize_ = std::clamp<std::uint32_t>(size, 1, kMaxPackSize);
}

void TTaskCollector::Connect()
{
    if (dao_->State() != link::kStateDisconnected)
        return;
    if (connectType_ == link::kConnectSerial)
        dao_->SetAddress(portName_);
    if (dao_->Connect())
        silence_.start(silenceMs_);
}

void TTaskCollector::Disconnect(bool full)
{
    const std::uint8_t state = dao_->State();
    if (state != link::kStateConnecting && state != link::kStateConnected)
        return;
    silence_.stop();
    DropTasks();
    if (full && connectType_ == link::kConnectSerial)
        link::SetLinkBaudRate(115200);
    dao_->Disconnect();
}

void TTaskCollector::Reset()
{
    DropTasks();
    silence_.stop();
    MakeConnection();
}

void TTaskCollector::DropTasks()
{
    current_ = nullptr;
    if (tasks_.empty())
        return;
    // A task's own callback may be what drops it: free the tasks on the next turn.
    for (auto &task : tasks_)
        dropped_.push_back(std::move(task));
    tasks_.clear();
    QTimer::singleShot(0, &silence_, [this] { dropped_.clear(); }); // never after our end
}

TProgTask *TTaskCollector::AddTask(std::unique_ptr<TProgTask> task, TProgTask::StateCallback onStateChange)
{
    task->OnStateChange = std::move(onStateChange);
    TProgTask *raw = task.get();
    tasks_.push_back(std::move(task));
    Advance();
    return raw;
}

void TTaskCollector::Advance()
{
    // A callback that adds or finishes tasks during an advance only asks for another round.
    if (advancing_) {
        advanceAgain_ = true;
        return;
    }
    advancing_ = true;
    do {
        advanceAgain_ = false;
        AdvanceOnce();
    } while (advanceAgain_);
    advancing_ = false;
}

void TTaskCollector::AdvanceOnce()
{
    TProgTask *previous = current_;
    if (abort_) {
        abort_ = false;
        DropTasks();
    } else if (!current_ || current_->State() != kTaskRunning) {
        current_ = nullptr;
        for (auto &task : tasks_) {
            if (task->State() == kTaskQueued || task->State() == kTaskRunning) {
                current_ = task.get();
                break;
            }
        }
        if (current_ && current_->State() == kTaskQueued) {
            if (!previous && OnQueueStarted)
                OnQueueStarted();
            ChangeState(*current_, kTaskRunning,
                        QStringLiteral("Запуск: ") + current_->Caption() + QStringLiteral("..."));
        }
    }
    if (previous && !current_ && OnQueueFinished)
        OnQueueFinished();
}

void TTaskCollector::ChangeState(TProgTask &task, std::uint8_t state, QString message)
{
    if (task.State() == state)
        return;
    task.SetState(state);
    if (task.OnStateChange) {
        const auto callback = task.OnStateChange; // survives the task being dropped inside
        callback(task, state, message);
    }
    if (!message.isEmpty() && OnMessage)
        OnMessage(message);
}

void TTaskCollector::Finish(TProgTask *task, std::uint8_t state, const QString &reason)
{
    // The task stays alive until its callbacks are through; the list owns it meanwhile.
    std::unique_ptr<TProgTask> keep;
    auto it = std::find_if(tasks_.begin(), tasks_.end(), [task](const auto &t) { return t.get() == task; });
    if (it == tasks_.end())
        return;
    QString message;
    if (state == kTaskFailed)
        message = QStringLiteral("Ошибка: %1 (%2).").arg(reason, task->Caption());
    else
        message =
            reason.isEmpty() ? QStringLiteral("Готово: ") + task->Caption() + QStringLiteral(".") : reason;
    ChangeState(*task, state, message);
    Advance();
    lastResult_ = state;
    it = std::find_if(tasks_.begin(), tasks_.end(), [task](const auto &t) { return t.get() == task; });
    if (it != tasks_.end()) {
        if (current_ == task)
            current_ = nullptr;
        keep = std::move(*it);
        tasks_.erase(it);
    }
}

void TTaskCollector::SendRequest(TProgTask &task)
{
    const int length = BuildPacket(task, buffer_.data());
    if (length > 0)
        dao_->Send(buffer_.data(), std::size_t(length));
}

void TTaskCollector::SendNow(TProgTask &task)
{
    const int length = BuildPacket(task, buffer_.data());
    if (length <= 0)
        return;
    dao_->Send(buffer_.data(), std::size_t(length));
    if (connectType_ == link::kConnectUsb)
        std::fill_n(buffer_.begin(), length, 0);
}

void TTaskCollector::HandlePacket(const std::uint8_t *packet, std::size_t length)
{
    if (dao_->State() != link::kStateConnected)
        return;
    Advance();
    silence_.start(silenceMs_);
    const std::uint8_t command = packet[8];
    TProgTask *task = current_;
    if (command != link::kPollCommand) {
        if (!task)
            return;
        QString reason;
        const std::uint8_t state = MatchAnswer(*task, packet, length, &reason);
        if (state == kTaskFailed || state == kTaskDone)
            Finish(task, state, reason);
        else if (task->SendCount() != 0 && task->SendCount() > task->MaxTries())
            Finish(task, kTaskFailed, QStringLiteral("истекло количество попыток выполнить команду"));
        return;
    }
    if (!task) {
        dao_->Send(packet, length); // the poll, echoed unchanged
        return;
    }
    if (dynamic_cast<TSendSerialNumberTask *>(task) && task->SendCount() > task->MaxTries()) {
        Finish(task, kTaskDone, {});
        // The poll still gets its reply, so the device need not wait for it in vain.
        if (current_)
            SendRequest(*current_);
        else
            dao_->Send(packet, length);
        return;
    }
    SendRequest(*task);
}

void TTaskCollector::OnSilence()
{
    const std::uint8_t state = dao_->State();
    if (state != link::kStateConnecting && state != link::kStateConnected)
        return;
    if (OnMessage)
        OnMessage(QStringLiteral("Timeout - нет связи либо поток данных неопознан"));
    Disconnect(true);
}

} // namespace vantor::programming
