// The page "Общее" and the window frame: defaults, ranges, what the controls write,
// the caption, and the pages the window shows.
#include "VantorWindowFixture.h"

#include "app/TimeZones.h"
#include "app/widgets/TimeZoneCombo.h"
#include "controller/ConfigDocument.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>

namespace vantor::test {
namespace {

using GeneralPageTest = VantorWindowTest;

TEST_F(GeneralPageTest, ANewWindowShowsTheDefaults)
{
    EXPECT_EQ(window_->windowTitle(), "Новая конфигурация");
    EXPECT_TRUE(Find<QGroupBox>("gbxMain")->isChecked());
    EXPECT_EQ(Find<QGroupBox>("gbxMain")->title(), " Включено");
    EXPECT_EQ(Find<QLineEdit>("edName")->text(), "Новая конфигурация");
    EXPECT_EQ(Find<QComboBox>("cbTimeZone")->currentText(), SystemTimeZoneEntry().displayName);
    EXPECT_FALSE(Find<QCheckBox>("cbAuto")->isChecked());
    EXPECT_EQ(Find<QDoubleSpinBox>("edLatitude")->value(), 0);
    EXPECT_EQ(Find<QDoubleSpinBox>("edLongitude")->value(), 0);
    EXPECT_EQ(Find<QDoubleSpinBox>("edLatitude")->decimals(), 6);

    const struct {
        const char *name;
        int value, minimum, maximum;
        const char *text;
    } spins[] = {
        {"edDayBright", 100, 0, 100, "100 %"},
        {"edNightBright", 30, 0, 100, "30 %"},
        {"edHorizon", 0, -180, 180, "0°"},
    };
    for (const auto &s : spins) {
        auto *spin = Find<QSpinBox>(s.name);
        EXPECT_EQ(spin->value(), s.value) << s.name;
        EXPECT_EQ(spin->minimum(), s.minimum) << s.name;
        EXPECT_EQ(spin->maximum(), s.maximum) << s.name;
        EXPECT_EQ(spin->text(), s.text) << s.name;
    }

    const json::Json geo = Document()["geo"];
    EXPECT_EQ(geo["tz"], SystemTimeZoneEntry().OffsetMinutes());
    EXPECT_EQ(geo["tzname"], SystemTimeZoneEntry().displayName.toStdString());
    EXPECT_FALSE(geo.contains("scheme"));

    // The pages a user sees, in order; the developer pages stay hidden.
    auto *pages = Find<QTabWidget>("pgcMain");
    QStringList visible;
    for (int i = 0; i < pages->count(); ++i)
        if (pages->isTabVisible(i))
            visible << pages->tabText(i);
    EXPECT_EQ(visible, (QStringList{"Общее", "Сигнальные группы", "Блоки и подключения"}));
    EXPECT_EQ(pages->currentIndex(), 0);
}

TEST_F(GeneralPageTest, TheControlsWriteTheDocument)
{
    auto *name = Find<QLineEdit>("edName");
    QSignalSpy captions(window_.get(), &TfmBaseMDI::childCaptionChanged);
    name->setFocus();
    name->selectAll();
    TypeText(name, QStringLiteral("Ленина — Мира"));
    EXPECT_EQ(window_->windowTitle(), "Новая конфигурация"); // until the field is left
    QTest::keyClick(name, Qt::Key_Tab);
    EXPECT_EQ(window_->windowTitle(), "Ленина — Мира");
    EXPECT_EQ(captions.count(), 1); // the tab and the main caption follow

    Find<QGroupBox>("gbxMain")->setChecked(false);
    auto *zones = Find<QComboBox>("cbTimeZone");
    const int moscow = zones->findText(QStringLiteral("(UTC+03:00) Europe/Moscow"));
    ASSERT_GE(moscow, 0);
    zones->setCurrentIndex(moscow);

    auto type = [](QAbstractSpinBox *spin, const QString &text) {
        spin->setFocus();
        spin->selectAll();
        TypeText(spin, text);
        QTest::keyClick(spin, Qt::Key_Tab);
    };
    Find<QGroupBox>("gbxMain")->setChecked(true);
    const QLocale locale = Find<QDoubleSpinBox>("edLatitude")->locale();
    type(Find<QDoubleSpinBox>("edLatitude"), locale.toString(55.751244, 'f', 6));
    type(Find<QDoubleSpinBox>("edLongitude"), locale.toString(37.6184, 'f', 4));
    type(Find<QSpinBox>("edDayBright"), QStringLiteral("85"));
    type(Find<QSpinBox>("edNightBright"), QStringLiteral("250")); // beyond 100: not taken whole
    type(Find<QSpinBox>("edHorizon"), QStringLiteral("-6"));

    const json::Json v = Document();
    EXPECT_EQ(v["n"], "Ленина — Мира");
    EXPECT_EQ(v["en"], true);
    EXPECT_EQ(v["geo"]["tz"], 180);
    EXPECT_EQ(v["geo"]["tzname"], "(UTC+03:00) Europe/Moscow");
    EXPECT_DOUBLE_EQ(v["geo"]["lat"].get<double>(), 55.751244);
    EXPECT_DOUBLE_EQ(v["geo"]["long"].get<double>(), 37.6184);
    EXPECT_EQ(v["geo"]["day_bright"], 85);
    EXPECT_LE(v["geo"]["night_bright"].get<int>(), 100);
    EXPECT_NE(v["geo"]["night_bright"], 250);
    EXPECT_EQ(v["geo"]["night_horizon"], -6);
    // Six decimals at most, trailing zeros left out.
    EXPECT_EQ(Find<QDoubleSpinBox>("edLongitude")->text(), locale.toString(37.6184, 'f', 4) + "°");
}

TEST_F(GeneralPageTest, AutoLocksTheCoordinatesButKeepsThem)
{
    Config().Latitude = 59.938630;
    Config().Longitude = 30.314130;
    window_->PageWidget(TfmConfVantor::kGeneralPage)->Refresh();
    auto *autoBox = Find<QCheckBox>("cbAuto");
    const QPoint box(8, autoBox->height() / 2);
    QTest::mouseClick(autoBox, Qt::LeftButton, Qt::NoModifier, box);
    EXPECT_TRUE(autoBox->isChecked());
    EXPECT_FALSE(Find<QDoubleSpinBox>("edLatitude")->isEnabled());
    EXPECT_FALSE(Find<QDoubleSpinBox>("edLongitude")->isEnabled());
    EXPECT_TRUE(autoBox->isEnabled());
    json::Json geo = Document()["geo"];
    EXPECT_EQ(geo["auto"], true);
    EXPECT_DOUBLE_EQ(geo["lat"].get<double>(), 59.93863);
    EXPECT_DOUBLE_EQ(geo["long"].get<double>(), 30.31413);

    // Switching the whole configuration off and on leaves the coordinates locked.
    Find<QGroupBox>("gbxMain")->setChecked(false);
    Find<QGroupBox>("gbxMain")->setChecked(true);
    EXPECT_FALSE(Find<QDoubleSpinBox>("edLatitude")->isEnabled());
    QTest::mouseClick(autoBox, Qt::LeftButton, Qt::NoModifier, box);
    EXPECT_TRUE(Find<QDoubleSpinBox>("edLatitude")->isEnabled());
    EXPECT_EQ(Document()["geo"]["auto"], false);
}

TEST_F(GeneralPageTest, LoadingShowsTheDocumentAndClampsWhatNoFieldCanShow)
{
    auto root = json::ParseObject(
        R"({"vantor5":{"n":"Пр. Мира","en":false,"geo":{"tz":345,"tzname":"(UTC+05:45) Asia/Kathmandu","auto":true,)"
        R"("lat":43.1,"long":131.9,"day_bright":140,"night_bright":-5,"night_horizon":12}}})");
    QString message;
    ASSERT_TRUE(window_->LoadConfigJson(*root, message)) << message.toStdString();
    EXPECT_EQ(window_->windowTitle(), "Пр. Мира");
    EXPECT_EQ(Find<QLineEdit>("edName")->text(), "Пр. Мира");
    EXPECT_FALSE(Find<QGroupBox>("gbxMain")->isChecked());
    EXPECT_EQ(Find<QComboBox>("cbTimeZone")->currentText(), "(UTC+05:45) Asia/Kathmandu");
    EXPECT_TRUE(Find<QCheckBox>("cbAuto")->isChecked());
    EXPECT_EQ(Find<QSpinBox>("edDayBright")->value(), 100);
    const json::Json geo = Document()["geo"];
    EXPECT_EQ(geo["tz"], 345);
    EXPECT_EQ(geo["day_bright"], 100); // written as shown
    EXPECT_EQ(geo["night_bright"], 0);
    EXPECT_EQ(geo["night_horizon"], 12);
    EXPECT_FALSE(window_->IsModified());

    // A document without "vantor5" changes nothing.
    EXPECT_FALSE(window_->LoadConfigJson(*json::ParseObject(R"({"navet":{}})"), message));
    EXPECT_EQ(message, "Некорректная конфигурация");
    EXPECT_EQ(Find<QLineEdit>("edName")->text(), "Пр. Мира");
}

TEST_F(GeneralPageTest, AZoneThisComputerDoesNotKnowIsKeptThroughOpenAndSave)
{
    // Written on another computer: a name no zone here carries.
    const auto root = json::ParseObject(
        R"({"vantor5":{"n":"Пр. Мира","geo":{"tz":345,"tzname":"(UTC+05:45) Катманду, Непал"}}})");
    QString message;
    ASSERT_TRUE(window_->LoadConfigJson(*root, message)) << message.toStdString();
    EXPECT_EQ(Find<QComboBox>("cbTimeZone")->currentText(), "(UTC+05:45) Катманду, Непал");
    const json::Json geo = Document()["geo"];
    EXPECT_EQ(geo["tz"], 345);
    EXPECT_EQ(geo["tzname"], "(UTC+05:45) Катманду, Непал");
}

} // namespace
} // namespace vantor::test
