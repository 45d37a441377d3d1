#include "controller_editor/GeneralPage.h"

#include "app/widgets/TimeZoneCombo.h"
#include "controller/VantorConfig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vantor {
namespace {

// Degrees with up to six decimals, trailing zeros left out ("55,75", "37,617635").
class CoordinateSpinBox : public QDoubleSpinBox {
public:
    CoordinateSpinBox(double limit, QWidget *parent) : QDoubleSpinBox(parent)
    {
        setDecimals(6);
        setRange(-limit, limit);
        setSingleStep(0.000001);
        setSuffix(QStringLiteral("°"));
        setAccelerated(true);
    }

    QString textFromValue(double value) const override
    {
        QString text = locale().toString(value, 'f', 6);
        const QChar point = locale().decimalPoint().front();
        if (text.contains(point)) {
            while (text.endsWith(QLatin1Char('0')))
                text.chop(1);
            if (text.endsWith(point))
                text.chop(1);
        }
        return text;
    }
};

QSpinBox *MakeSpin(const char *name, int minimum, int maximum, const QString &suffix, QWidget *parent)
{
    auto *spin = new QSpinBox(parent);
    spin->setObjectName(QLatin1String(name));
    spin->setRange(minimum, maximum);
    spin->setSuffix(suffix);
    spin->setMinimumWidth(90);
    return spin;
}

QFormLayout *MakeForm(QWidget *parent)
{
    auto *form = new QFormLayout(parent);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->setHorizontalSpacing(10);
    return form;
}

} // namespace

GeneralPage::GeneralPage(TVantorConfig &config, QWidget *parent) : VantorEditorPage(config, parent)
{
    setObjectName(QStringLiteral("tsGeneral"));

    gbxMain_ = new QGroupBox(QStringLiteral(" Включено"), this);
    gbxMain_->setObjectName(QStringLiteral("gbxMain"));
    gbxMain_->setCheckable(true);
    gbxMain_->setToolTip(QStringLiteral("Включить контроллер"));

    edName_ = new QLineEdit(gbxMain_);
    edName_->setObjectName(QStringLiteral("edName"));
    edName_->setMinimumWidth(360);
    cbTimeZone_ = new QComboBox(gbxMain_);
    cbTimeZone_->setObjectName(QStringLiteral("cbTimeZone"));
    cbTimeZone_->setMinimumWidth(360);
    widgets::LoadTimeZones(*cbTimeZone_);

    // Location: "Авто" lets the controller take it from its own receiver.
    gbxCoordinates_ = new QGroupBox(QStringLiteral("Координаты"), gbxMain_);
    gbxCoordinates_->setObjectName(QStringLiteral("gbxCoordinates"));
    cbAuto_ = new QCheckBox(QStringLiteral(" Авто"), gbxCoordinates_);
    cbAuto_->setObjectName(QStringLiteral("cbAuto"));
    coordinateFields_ = new QWidget(gbxCoordinates_);
    edLatitude_ = new CoordinateSpinBox(90, coordinateFields_);
    edLatitude_->setObjectName(QStringLiteral("edLatitude"));
    edLongitude_ = new CoordinateSpinBox(180, coordinateFields_);
    edLongitude_->setObjectName(QStringLiteral("edLongitude"));
    for (QDoubleSpinBox *edit : {edLatitude_, edLongitude_})
        edit->setMinimumWidth(140);
    auto *coordinateForm = MakeForm(coordinateFields_);
    coordinateForm->setContentsMargins(0, 0, 0, 0);
    coordinateForm->addRow(QStringLiteral("Широта :"), edLatitude_);
    coordinateForm->addRow(QStringLiteral("Долгота :"), edLongitude_);
    auto *coordinates = new QVBoxLayout(gbxCoordinates_);
    coordinates->addWidget(cbAuto_);
    coordinates->addWidget(coordinateFields_);

    auto *gbxBrightness = new QGroupBox(QStringLiteral(" Яркость"), gbxMain_);
    gbxBrightness->setObjectName(QStringLiteral("gbxBrightness"));
    edDayBright_ = MakeSpin("edDayBright", 0, 100, QStringLiteral(" %"), gbxBrightness);
    edNightBright_ = MakeSpin("edNightBright", 0, 100, QStringLiteral(" %"), gbxBrightness);
    edHorizon_ = MakeSpin("edHorizon", -180, 180, QStringLiteral("°"), gbxBrightness);
    edHorizon_->setToolTip(
        QStringLiteral("Высота солнца над горизонтом, при которой включается ночная яркость"));
    auto *brightness = MakeForm(gbxBrightness);
    brightness->addRow(QStringLiteral("Дневная :"), edDayBright_);
    brightness->addRow(QStringLiteral("Ночная :"), edNightBright_);
    brightness->addRow(QStringLiteral("Угол горизонта :"), edHorizon_);

    auto *top = MakeForm(nullptr);
    top->addRow(QStringLiteral("Наименование :"), edName_);
    top->addRow(QStringLiteral("Час. пояс :"), cbTimeZone_);
    auto *groups = new QHBoxLayout;
    groups->addWidget(gbxCoordinates_);
    groups->addWidget(gbxBrightness);
    groups->addStretch();
    auto *main = new QVBoxLayout(gbxMain_);
    main->setSpacing(12);
    main->addLayout(top);
    main->addLayout(groups);

    auto *row = new QHBoxLayout;
    row->addWidget(gbxMain_);
    row->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addStretch();

    connect(gbxMain_, &QGroupBox::toggled, this, [this](bool on) {
        config_.Enabled = on;
        emit configurationEdited();
    });
    connect(edName_, &QLineEdit::textChanged, this,
            [this](const QString &text) { config_.Name = text.toStdString(); });
    connect(edName_, &QLineEdit::editingFinished, this, &GeneralPage::nameEdited);
    connect(cbTimeZone_, &QComboBox::currentIndexChanged, this, &GeneralPage::TakeTimeZone);
    connect(cbAuto_, &QCheckBox::toggled, this, [this](bool on) {
        config_.AutoLocation = on;
        ApplyAuto(on);
    });
    connect(edLatitude_, &QDoubleSpinBox::valueChanged, this,
            [this](double value) { config_.Latitude = value; });
    connect(edLongitude_, &QDoubleSpinBox::valueChanged, this,
            [this](double value) { config_.Longitude = value; });
    connect(edDayBright_, &QSpinBox::valueChanged, this,
            [this](int value) { config_.DayBrightness = value; });
    connect(edNightBright_, &QSpinBox::valueChanged, this,
            [this](int value) { config_.NightBrightness = value; });
    connect(edHorizon_, &QSpinBox::valueChanged, this, [this](int value) { config_.HorizonAngle = value; });

    Refresh();
}

void GeneralPage::Refresh()
{
    {
        const QSignalBlocker b1(gbxMain_), b2(edName_), b3(cbTimeZone_), b4(cbAuto_), b5(edLatitude_),
            b6(edLongitude_), b7(edDayBright_), b8(edNightBright_), b9(edHorizon_);
        gbxMain_->setChecked(config_.Enabled);
        edName_->setText(QString::fromStdString(config_.Name));
        widgets::SelectTimeZone(*cbTimeZone_, config_.TimeZone.offsetMinutes,
                                QString::fromStdString(config_.TimeZone.displayName));
        cbAuto_->setChecked(config_.AutoLocation);
        edLatitude_->setValue(config_.Latitude);
        edLongitude_->setValue(config_.Longitude);
        edDayBright_->setValue(config_.DayBrightness);
        edNightBright_->setValue(config_.NightBrightness);
        edHorizon_->setValue(config_.HorizonAngle);
    }
    // A value beyond a field's range (from a document) is written as the field shows it.
    config_.Latitude = edLatitude_->value();
    config_.Longitude = edLongitude_->value();
    config_.DayBrightness = edDayBright_->value();
    config_.NightBrightness = edNightBright_->value();
    config_.HorizonAngle = edHorizon_->value();
    ApplyAuto(config_.AutoLocation);
}

void GeneralPage::ApplyAuto(bool automatic)
{
    // The coordinates stay in the configuration; only the fields are locked.
    coordinateFields_->setEnabled(!automatic);
}

void GeneralPage::TakeTimeZone()
{
    if (const auto zone = widgets::SelectedTimeZone(*cbTimeZone_)) {
        config_.TimeZone.offsetMinutes = zone->OffsetMinutes();
        config_.TimeZone.displayName = zone->displayName.toStdString();
    }
}

} // namespace vantor
