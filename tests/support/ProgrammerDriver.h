#pragma once
// Window tests against the simulated device: a device on a pseudo-terminal whose path
// is listed through VANTOR5_EXTRA_PORTS, fast connection settings, and a driver that
// works the programmer window the way an engineer does (pick the port, "Подключить",
// the command button, wait for the end).

#include "app/Settings.h"
#include "app/pr_sets.h"
#include "programming/mainprog.h"

#include "EventLoopWait.h"
#include "PtyDevice.h"

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

namespace vantor::test {

inline devsim::SimOptions FastDevice()
{
    devsim::SimOptions options;
    options.pollIntervalMs = 2;
    options.replyTimeoutMs = 150;
    return options;
}

// A simulated device listed in the programmer's port list while it lives, with the
// connection and programmer settings of a quick test.
class SimulatedDeviceLink {
public:
    explicit SimulatedDeviceLink(devsim::SimOptions options = FastDevice(), std::uint32_t baud = 0)
        : device_(std::make_unique<devsim::PtyDevice>(options, baud)),
          previousPorts_(qEnvironmentVariableIsSet("VANTOR5_EXTRA_PORTS")
                             ? std::optional(qgetenv("VANTOR5_EXTRA_PORTS"))
                             : std::nullopt),
          settings_(dir_.filePath(QStringLiteral("vantor5.xml"))),
          progSettings_(dir_.filePath(QStringLiteral("bprog.ini"))), previousSettings_(TSettings::Current()),
          previousProgSettings_(TProgSettings::Current())
    {
        qputenv("VANTOR5_EXTRA_PORTS", QByteArray::fromStdString(device_->SlavePath()));
        // A main window brings connection settings of its own: those are made quick.
        if (!TSettings::Current())
            TSettings::SetCurrent(&settings_);
        TSettings::Current()->SetComIntervalDelay(300);
        TSettings::Current()->SetComConnectTryCount(10);
        TProgSettings::SetCurrent(&progSettings_);
    }
    ~SimulatedDeviceLink()
    {
        if (TSettings::Current() == &settings_)
            TSettings::SetCurrent(previousSettings_);
        TProgSettings::SetCurrent(previousProgSettings_);
        if (previousPorts_)
            qputenv("VANTOR5_EXTRA_PORTS", *previousPorts_);
        else
            qunsetenv("VANTOR5_EXTRA_PORTS");
    }
    SimulatedDeviceLink(const SimulatedDeviceLink &) = delete;
    SimulatedDeviceLink &operator=(const SimulatedDeviceLink &) = delete;

    // Starts the device (after the test has prepared its memories through With).
    void Start() { device_->Start(); }
    QString Path() const { return QString::fromStdString(device_->SlavePath()); }
    QString Dir() const { return dir_.path(); }
    TProgSettings &ProgSettings() { return progSettings_; }

    template <typename F>
    auto With(F &&f)
    {
        return device_->With(std::forward<F>(f));
    }

private:
    std::unique_ptr<devsim::PtyDevice> device_;
    std::optional<QByteArray> previousPorts_;
    QTemporaryDir dir_;
    TSettings settings_;
    TProgSettings progSettings_;
    TSettings *previousSettings_;
    TProgSettings *previousProgSettings_;
};

// Works a programmer window: shows it, picks the simulator's port, connects.
class ProgrammerDriver {
public:
    ProgrammerDriver(programming::TMainProgFrm &window, const QString &port) : window_(window)
    {
        window_.Options().jobDelayMs = 5;
        window_.show();
        auto *ports = Find<QComboBox>("cbbPort");
        const int index = ports->findData(port, Qt::ToolTipRole);
        EXPECT_GE(index, 0) << "the simulator's port is not listed";
        ports->setCurrentIndex(index);
    }

    template <typename T>
    T *Find(const char *name) const
    {
        auto *child = window_.findChild<T *>(QString::fromLatin1(name));
        EXPECT_TRUE(child) << name;
        return child;
    }
    QPushButton *Button(const char *name) const { return Find<QPushButton>(name); }

    // "Подключить", then waits until the command can run (or the session failed).
    bool Connect()
    {
        Button("btnConnect")->click();
        return WaitUntil(
            [&] { return window_.Session().CanRunCommand() || window_.Session().IsSessionFailed(); });
    }
    // The command button, then waits until the operation has ended.
    bool Run()
    {
        Button("btnCommand")->click();
        return WaitUntil([&] { return window_.LastOutcome().has_value(); }, 60000);
    }
    // Connect and run; the window closes itself after a read, otherwise it is closed
    // here as the engineer would. Returns the dialog's result code.
    int ConnectRunClose()
    {
        EXPECT_TRUE(Connect());
        EXPECT_TRUE(Run());
        if (window_.isVisible())
            window_.reject();
        return window_.result();
    }

private:
    programming::TMainProgFrm &window_;
};

} // namespace vantor::test
