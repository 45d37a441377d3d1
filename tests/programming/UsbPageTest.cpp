// The programmer window's USB page over the fake libusb: the device list follows the bus
// every 750 ms while "Автообновление списка устройств" is on, and a library that cannot
// be loaded is reported once, not at every tick.
#include "app/UserDialogs.h"
#include "app/pr_sets.h"
#include "programming/mainprog.h"

#include "EventLoopWait.h"
#include "FakeUsbControl.h"

#include <QCheckBox>
#include <QLibrary>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace vantor;
using namespace vantor::programming;
using vantor::test::WaitUntil;

namespace {

class UsbPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        previous_ = TProgSettings::Current();
        settings_ = std::make_unique<TProgSettings>(dir_.filePath(QStringLiteral("bprog.ini")));
        TProgSettings::SetCurrent(settings_.get());
    }
    void TearDown() override
    {
        window_.reset();
        TProgSettings::SetCurrent(previous_);
        qunsetenv("VANTOR5_LIBUSB");
    }

    // Opens the window and turns to its USB page, as the page control would.
    void OpenOnUsbPage()
    {
        window_ = std::make_unique<TMainProgFrm>(1, kModeRead);
        window_->show();
        Find<QTabWidget>("pgcConnection")->setCurrentIndex(TMainProgFrm::kPageUsb);
    }
    template <typename T>
    T *Find(const char *name)
    {
        auto *widget = window_->findChild<T *>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QTemporaryDir dir_;
    std::unique_ptr<TProgSettings> settings_;
    TProgSettings *previous_ = nullptr;
    ScriptedDialogs dialogs_;
    std::unique_ptr<TMainProgFrm> window_;
};

TEST_F(UsbPageTest, TheListFollowsTheBusWhileAutoUpdateIsOn)
{
    qputenv("VANTOR5_LIBUSB", FAKE_LIBUSB_PATH);
    QLibrary fake(QStringLiteral(FAKE_LIBUSB_PATH));
    ASSERT_TRUE(fake.load()) << fake.errorString().toStdString();
    auto configure = reinterpret_cast<FakeUsbConfigure>(fake.resolve("fakeusb_configure"));
    ASSERT_NE(configure, nullptr);
    const auto devices = [&](int count) {
        const FakeUsbConfig config{
            count, TUSBSettings::kDefaultVID, TUSBSettings::kDefaultPID, 1, 64, 0, 5, 2, "SN-0001"};
        configure(&config);
    };
    devices(1);

    OpenOnUsbPage();
    auto *list = Find<QListWidget>("lstDevs");
    auto *timer = Find<QTimer>("tmrUsbRefresh");
    auto *refresh = Find<QPushButton>("btnRefreshUSB");
    EXPECT_EQ(list->count(), 1);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 750);
    EXPECT_FALSE(refresh->isVisibleTo(window_.get())); // the list refreshes itself
    EXPECT_TRUE(Find<QPushButton>("btnConnect")->isEnabled());

    // A second device plugged in shows up without the engineer doing anything.
    devices(2);
    EXPECT_TRUE(WaitUntil([&] { return list->count() == 2; }, 10000));

    // Switched off: the setting follows, the timer stops, the button is offered.
    Find<QCheckBox>("chkAutoUpdate")->click();
    EXPECT_FALSE(settings_->MainForm().AutoUpdateDevList());
    EXPECT_FALSE(timer->isActive());
    EXPECT_TRUE(refresh->isVisibleTo(window_.get()));
    devices(3);
    vantor::test::Pump(1600);
    EXPECT_EQ(list->count(), 2);
    refresh->click();
    EXPECT_EQ(list->count(), 3);

    // Back on, then away to the serial page: only the USB page refreshes.
    Find<QCheckBox>("chkAutoUpdate")->click();
    EXPECT_TRUE(timer->isActive());
    Find<QTabWidget>("pgcConnection")->setCurrentIndex(TMainProgFrm::kPageCom);
    EXPECT_FALSE(timer->isActive());
    EXPECT_TRUE(dialogs_.Shown().empty());
}

TEST_F(UsbPageTest, AMissingLibraryIsReportedOnceAndTheListStaysEmpty)
{
    qputenv("VANTOR5_LIBUSB", "/nonexistent/libusb-missing.so");
    OpenOnUsbPage();
    if (dialogs_.Texts(ScriptedDialogs::Kind::Error).isEmpty())
        GTEST_SKIP() << "a USB library was loaded earlier in this process";
    vantor::test::Pump(1600); // two ticks of the refresh timer, had it kept running
    const QStringList errors = dialogs_.Texts(ScriptedDialogs::Kind::Error);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("/nonexistent/libusb-missing.so")))
        << errors[0].toStdString();
    EXPECT_FALSE(Find<QTimer>("tmrUsbRefresh")->isActive());
    EXPECT_EQ(Find<QListWidget>("lstDevs")->count(), 0);
    EXPECT_FALSE(Find<QPushButton>("btnRefreshUSB")->isEnabled());
    EXPECT_FALSE(Find<QPushButton>("btnConnect")->isEnabled());
}

} // namespace
