// A Pelmar-3 document opened from a .vt5 file in the main window and saved again
// comes back whole, time zone of another computer included.
#include "app/MainWindowFixture.h"

#include "devices/pelmar/PelmarConfig.h"
#include "devices/pelmar/PelmarDocument.h"
#include "devices/pelmar/UConfPelmar.h"

#include <QApplication>
#include <QSpinBox>
#include <QTest>

using namespace vantor;
using vantor::test::MainWindowTest;

namespace {

json::Json FullDocument()
{
    PelmarConfig c;
    c.Name = "Ленина — Мира";
    c.Sid = "S";
    c.Oid = "O";
    c.MinConnectionTime = 100;
    c.MaxConnectionTime = 60;
    c.TimeCorrectionInterval = 30;
    c.TimeSource = 1;
    c.Door = true;
    c.UseGpsTime = true;
    c.TimeZone = ConfigTimeZone{317, "(UTC+05:17) Nowhere/Test"}; // in no computer's list
    c.MaxPacketSize = 900;
    c.Priority = PelmarPriority::None;
    c.Gprs = {
        true, "0000", "apn.example", "u", "p", {"gw.example.net", 7000, true}, {{0x0A000001U, 8080, "r/x"}}};
    c.Ethernet.enabled = true;
    c.Ethernet.mac = "02-00-5E-00-00-01";
    c.Ethernet.dhcp = true;
    c.Ethernet.ip = "10.0.0.2";
    c.Ethernet.ping = true;
    c.Ethernet.server = {"10.0.0.1", 9000, false};
    c.Web = {true, "Оператор", "секрет:1", 8080};
    c.SetObjectCount(3);
    c.Object(1) = {false, "", 20, true};
    c.SetObjectId(2, 999);
    c.DetectorEnabled = true;
    c.DetectorName = "";
    TSensorTrend *north = c.Sensors.AddTrend();
    north->SetName("Север");
    c.Sensors.AddTrend()->SetName("");
    TBOD *bod = c.Sensors.AddBod();
    bod->SetNumber(5);
    bod->SetDistance(-300);
    bod->AddSensor()->SetDirection(north);
    bod->AddSensor()->SetNumber(6);
    TBOD *twin = c.Sensors.AddBod();
    twin->SetNumber(5); // duplicates are kept
    twin->AddSensor();
    return GetConfigJson(c);
}

TEST_F(MainWindowTest, PelmarDocumentSurvivesOpenAndSave)
{
    const json::Json document = FullDocument();
    ASSERT_TRUE(WriteConfigFile(Path("pelmar.vt5"), document));
    ASSERT_TRUE(main_->OpenConfigFile(Path("pelmar.vt5")));
    EXPECT_TRUE(dialogs_.Shown().empty());
    auto *window = qobject_cast<TfmConfPelmar *>(main_->activeDeviceWindow());
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->IsModified());

    ASSERT_TRUE(main_->SaveWindowToFile(*window, Path("again.vt5")));
    const auto saved = ReadConfigFile(Path("again.vt5"));
    ASSERT_TRUE(saved);
    EXPECT_EQ(json::RenderIndented(*saved), json::RenderIndented(document));
}

TEST_F(MainWindowTest, NewPelmarWindowSavesWhatItShows)
{
    main_->NewConfiguration(kPelmarTag);
    auto *window = qobject_cast<TfmConfPelmar *>(main_->activeDeviceWindow());
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(main_->SaveWindowToFile(*window, Path("new.vt5")));
    main_->CloseAll();
    Flush();
    ASSERT_TRUE(main_->OpenConfigFile(Path("new.vt5")));
    auto *reopened = qobject_cast<TfmConfPelmar *>(main_->activeDeviceWindow());
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->GetConfigJson(), ReadConfigFile(Path("new.vt5")));
}

TEST_F(MainWindowTest, AnObjectCountStillBeingTypedIsSaved)
{
    // The count takes effect when it is finished (Enter or leaving the field); Ctrl+S
    // while typing it finishes it.
    QApplication::setActiveWindow(main_.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(main_.get()));
    main_->NewConfiguration(kPelmarTag);
    auto *window = qobject_cast<TfmConfPelmar *>(main_->activeDeviceWindow());
    ASSERT_NE(window, nullptr);
    auto *count = window->findChild<QSpinBox *>(QStringLiteral("edSO"));
    ASSERT_NE(count, nullptr);
    count->setFocus();
    count->selectAll();
    QTest::keyClicks(count, "3");
    ASSERT_TRUE(count->hasFocus());
    ASSERT_TRUE(main_->SaveWindowToFile(*window, Path("typed.vt5")));
    const auto saved = ReadConfigFile(Path("typed.vt5"));
    ASSERT_TRUE(saved);
    EXPECT_EQ((*saved)["revur"]["so"].size(), 3u);
    EXPECT_EQ(*saved, window->GetConfigJson());
}

} // namespace
