// The input widgets shared by the windows: address field, hexadecimal spin box and
// the time-zone drop-down.
#include "app/widgets/HexSpinBox.h"
#include "app/widgets/Ipv4Edit.h"
#include "app/widgets/TimeZoneCombo.h"

#include <QApplication>
#include <QComboBox>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::widgets;

namespace {

TEST(Ipv4EditTest, ParsesOnlyFourDecimalPartsUpTo255)
{
    const struct {
        const char *text;
        bool valid;
    } cases[] = {
        {"192.168.0.1", true}, {"0.0.0.0", true},   {" 10.1.2.3 ", true},  {"255.255.255.255", true},
        {"256.1.1.1", false},  {"1.2.3", false},    {"1.2.3.4.5", false},  {"1..3.4", false},
        {"1.2.3.x", false},    {"-1.2.3.4", false}, {"1.2.3.1000", false}, {"", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Ipv4Edit::ParseAddress(QString::fromLatin1(c.text)).has_value(), c.valid) << c.text;
    const auto address = Ipv4Edit::ParseAddress(QStringLiteral("10.20.30.40"));
    ASSERT_TRUE(address);
    EXPECT_EQ(Ipv4Edit::ToValue(*address), 0x0A141E28u);
    EXPECT_EQ(Ipv4Edit::FromValue(0x0A141E28u), *address);
    EXPECT_EQ(Ipv4Edit::FormatAddress(*address), QStringLiteral("10.20.30.40"));
}

TEST(Ipv4EditTest, LeavingWithAnIncompleteAddressPutsTheLastOneBack)
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *edit = new Ipv4Edit;
    auto *other = new QLineEdit;
    layout->addWidget(edit);
    layout->addWidget(other);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QSignalSpy edited(edit, &Ipv4Edit::addressEdited);

    edit->setAddress({192, 168, 1, 1});
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "10.0.0");
    other->setFocus();
    EXPECT_EQ(edit->text(), QStringLiteral("192.168.1.1"));
    EXPECT_EQ(edit->addressValue(), 0xC0A80101u);
    EXPECT_EQ(edited.count(), 0);

    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "10.0.0.09");
    other->setFocus();
    EXPECT_EQ(edit->text(), QStringLiteral("10.0.0.9"));
    EXPECT_EQ(edit->address(), (Ipv4Edit::Octets{10, 0, 0, 9}));
    EXPECT_EQ(edited.count(), 1);
}

TEST(HexSpinBoxTest, ShowsUpperCaseDigitsPaddedAndTakesHexOnly)
{
    HexSpinBox spin;
    spin.setRange(0, 65535);
    spin.setValue(255);
    EXPECT_EQ(spin.text(), QStringLiteral("FF"));
    spin.setMinimumDigits(4);
    EXPECT_EQ(spin.text(), QStringLiteral("00FF"));
    spin.setMinimumDigits(1);
    spin.setValue(10);
    EXPECT_EQ(spin.text(), QStringLiteral("A"));

    spin.selectAll();
    QTest::keyClicks(&spin, "1gZ2");
    spin.interpretText();
    EXPECT_EQ(spin.value(), 0x12);
    spin.selectAll();
    QTest::keyClicks(&spin, "fffff"); // the fifth digit would pass 65535
    spin.interpretText();
    EXPECT_EQ(spin.value(), 0xFFFF);
}

class TimeZoneComboTest : public ::testing::Test {
protected:
    void SetUp() override { LoadTimeZones(combo_); }
    QComboBox combo_;
};

TEST_F(TimeZoneComboTest, HoldsTheListWithThisComputersZoneSelected)
{
    ASSERT_EQ(combo_.count(), static_cast<int>(TimeZoneList().size()));
    const auto selected = SelectedTimeZone(combo_);
    ASSERT_TRUE(selected);
    const TimeZoneEntry system = SystemTimeZoneEntry();
    EXPECT_EQ(selected->displayName, system.displayName);
    EXPECT_EQ(selected->bias, system.bias);
    EXPECT_EQ(combo_.currentText(), system.displayName);
}

TEST_F(TimeZoneComboTest, SelectsAKnownZoneByBiasAndName)
{
    const TimeZoneEntry &zone = TimeZoneList().front();
    const int count = combo_.count();
    EXPECT_EQ(SelectTimeZone(combo_, zone.OffsetMinutes(), zone.displayName), 0);
    EXPECT_EQ(combo_.count(), count);
    EXPECT_EQ(SelectedTimeZone(combo_), zone);
}

TEST_F(TimeZoneComboTest, AZoneThisComputerDoesNotKnowIsAddedInOrderAndSelected)
{
    const int count = combo_.count();
    // A name from another computer, and a known name with another offset.
    const QString foreign = QStringLiteral("(UTC+03:00) Волгоград");
    const int index = SelectTimeZone(combo_, 180, foreign);
    EXPECT_EQ(combo_.count(), count + 1);
    EXPECT_EQ(combo_.currentIndex(), index);
    const auto selected = SelectedTimeZone(combo_);
    ASSERT_TRUE(selected);
    EXPECT_EQ(selected->displayName, foreign);
    EXPECT_EQ(selected->OffsetMinutes(), 180);
    EXPECT_TRUE(selected->zoneId.isEmpty());
    // In sort order: no item before it has a larger offset or a later name.
    for (int i = 0; i < combo_.count(); ++i) {
        const TimeZoneEntry other{combo_.itemText(i), combo_.itemData(i, kTimeZoneBiasRole).toInt(), {}};
        if (i < index) {
            EXPECT_FALSE(TimeZoneLess(*selected, other)) << other.displayName.toStdString();
        } else if (i > index) {
            EXPECT_FALSE(TimeZoneLess(other, *selected)) << other.displayName.toStdString();
        }
    }
    // Selecting it again finds the added item.
    combo_.setCurrentIndex(0);
    EXPECT_EQ(SelectTimeZone(combo_, 180, foreign), index);
    EXPECT_EQ(combo_.count(), count + 1);

    const TimeZoneEntry &known = TimeZoneList().back();
    SelectTimeZone(combo_, known.OffsetMinutes() + 60, known.displayName);
    EXPECT_EQ(combo_.count(), count + 2);
    EXPECT_EQ(SelectedTimeZone(combo_)->bias, known.bias - 60);
}

} // namespace
