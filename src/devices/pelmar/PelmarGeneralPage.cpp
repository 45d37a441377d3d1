#include "devices/pelmar/PelmarGeneralPage.h"

#include "app/widgets/TimeZoneCombo.h"
#include "devices/pelmar/PelmarConfig.h"
#include "devices/pelmar/PelmarWidgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vantor {
namespace {

template <class Widget>
Widget *Named(Widget *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QFormLayout *Form(QWidget *parent)
{
    auto *form = new QFormLayout(parent);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->setLabelAlignment(Qt::AlignLeft);
    return form;
}

QLineEdit *TextField(const char *name, int width = 260)
{
    auto *edit = Named(new QLineEdit, name);
    edit->setMaxLength(kPelmarTextLength);
    edit->setMinimumWidth(width);
    return edit;
}

QSpinBox *Spin(const char *name, int maximum, const QString &suffix = {})
{
    auto *spin = Named(new QSpinBox, name);
    SetUpUnsignedSpin(*spin, maximum, suffix);
    return spin;
}

} // namespace

PelmarGeneralPage::PelmarGeneralPage(PelmarConfig &config, QWidget *parent)
    : QWidget(parent), config_(config), edObjectTitle_(TextField("edObjectTitle")),
      edSID_(TextField("edSID")), edOID_(TextField("edOID")),
      ysMinConnectionTime_(Spin("ysMinConnectionTime", 65535, QStringLiteral(" мс"))),
      ysMaxConnectionTime_(Spin("ysMaxConnectionTime", 65535, QStringLiteral(" с"))),
      ysTimeCorrectionInterval_(Spin("ysTimeCorrectionInterval", 65535, QStringLiteral(" мин"))),
      edMaxPacket_(Spin("edMaxPacket", 65535, QStringLiteral(" байт"))),
      comboTimeSource_(Named(new QComboBox, "comboTimeSource")),
      chkHackDetectorEnabled_(
          Named(new QCheckBox(QStringLiteral("Подключен датчик вскрытия")), "chkHackDetectorEnabled")),
      gbxGPS_(Named(new QGroupBox(QStringLiteral("Использовать время GPS / Глонасс")), "gbxGPS")),
      cbTimeZone_(Named(new QComboBox, "cbTimeZone")), edSO_(Spin("edSO", PelmarConfig::kMaxObjects)),
      cbUseSensorsModule_(Named(new QCheckBox(QStringLiteral("Контроллер датчиков")), "cbUseSensorsModule")),
      cbUsesEthernet_(Named(new QCheckBox(QStringLiteral("Использовать Ethernet")), "cbUsesEthernet")),
      cbUsesGPRS_(Named(new QCheckBox(QStringLiteral("Использовать GPRS")), "cbUsesGPRS")),
      priority_(new QButtonGroup(this)),
      rbMainEthernet_(Named(new QRadioButton(QStringLiteral("Ethernet")), "rbMainEthernet")),
      rbMainGPRS_(Named(new QRadioButton(QStringLiteral("GPRS")), "rbMainGPRS")),
      gbWeb_(Named(new QGroupBox(QStringLiteral(" Web сервер ")), "gbWeb")),
      edUser_(TextField("edUser", 180)), edPass_(TextField("edPass", 180)), edPort_(Spin("edPort", 65535))
{
    setObjectName(QStringLiteral("tsGeneral"));
    auto *left = new QVBoxLayout;
    left->addWidget(BuildIdentity());
    left->addWidget(BuildTimes());
    left->addWidget(BuildGps());
    left->addStretch();
    auto *right = new QVBoxLayout;
    right->addWidget(BuildParts());
    right->addWidget(BuildProtocols());
    right->addWidget(BuildWeb());
    right->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(right);
    layout->addStretch();

    for (QLineEdit *edit : {edObjectTitle_, edSID_, edOID_, edUser_, edPass_})
        connect(edit, &QLineEdit::textEdited, this, &PelmarGeneralPage::Edited);
    for (QSpinBox *spin : {ysMinConnectionTime_, ysMaxConnectionTime_, ysTimeCorrectionInterval_,
                           edMaxPacket_, edSO_, edPort_})
        connect(spin, &QSpinBox::valueChanged, this, &PelmarGeneralPage::Edited);
    for (QCheckBox *check : {chkHackDetectorEnabled_, cbUseSensorsModule_, cbUsesEthernet_, cbUsesGPRS_})
        connect(check, &QCheckBox::toggled, this, &PelmarGeneralPage::Edited);
    for (QGroupBox *group : {gbxGPS_, gbWeb_})
        connect(group, &QGroupBox::toggled, this, &PelmarGeneralPage::Edited);
    connect(comboTimeSource_, &QComboBox::currentIndexChanged, this, &PelmarGeneralPage::Edited);
    connect(cbTimeZone_, &QComboBox::currentIndexChanged, this, &PelmarGeneralPage::Edited);
    connect(priority_, &QButtonGroup::buttonToggled, this, &PelmarGeneralPage::Edited);

    // A new configuration starts with this computer's zone.
    TakeTimeZone();
    Refresh();
}

QWidget *PelmarGeneralPage::BuildIdentity()
{
    auto *group = new QGroupBox(QStringLiteral("Объект"));
    QFormLayout *form = Form(group);
    form->addRow(QStringLiteral("Название"), edObjectTitle_);
    edSID_->setToolTip(QStringLiteral("Строковый идентификатор системы"));
    form->addRow(QStringLiteral("SID"), edSID_);
    edOID_->setToolTip(QStringLiteral("Дополнительный строковый идентификатор системы"));
    form->addRow(QStringLiteral("OID"), edOID_);
    return group;
}

QWidget *PelmarGeneralPage::BuildTimes()
{
    auto *group = new QGroupBox(QStringLiteral("Связь и часы"));
    QFormLayout *form = Form(group);
    ysMinConnectionTime_->setToolTip(QStringLiteral("Минимальный интервал между посылками с сервера"));
    form->addRow(QStringLiteral("Минимальное время связи"), ysMinConnectionTime_);
    ysMaxConnectionTime_->setToolTip(QStringLiteral("Таймаут ожидания пакета с сервера до переподключения"));
    form->addRow(QStringLiteral("Максимальное время связи"), ysMaxConnectionTime_);
    ysTimeCorrectionInterval_->setToolTip(
        QStringLiteral("Как часто синхронизировать часы устройства с центром"));
    form->addRow(QStringLiteral("Интервал коррекции часов"), ysTimeCorrectionInterval_);
    form->addRow(QStringLiteral("Максимальный размер пакета"), edMaxPacket_);
    auto *note = new QLabel(QStringLiteral("0 - значение по умолчанию (задано устройством)"));
    note->setForegroundRole(QPalette::PlaceholderText);
    form->addRow(note);
    comboTimeSource_->addItems({QStringLiteral("Узел связи"), QStringLiteral("Приложение СО")});
    form->addRow(QStringLiteral("Источник коррекции часов"), comboTimeSource_);
    return group;
}

QWidget *PelmarGeneralPage::BuildGps()
{
    gbxGPS_->setCheckable(true);
    widgets::LoadTimeZones(*cbTimeZone_);
    cbTimeZone_->setMinimumWidth(300);
    cbTimeZone_->setMaximumWidth(420);
    QFormLayout *form = Form(gbxGPS_);
    form->addRow(QStringLiteral("Час. пояс :"), cbTimeZone_);
    return gbxGPS_;
}

QWidget *PelmarGeneralPage::BuildParts()
{
    auto *group = new QGroupBox(QStringLiteral("Состав"));
    QFormLayout *form = Form(group);
    // Fewer objects drop pages with their settings: the count changes when typing is
    // finished, never on the way from "1" to "12".
    edSO_->setKeyboardTracking(false);
    form->addRow(QStringLiteral("СО / КНО :"), edSO_);
    form->addRow(cbUseSensorsModule_);
    form->addRow(chkHackDetectorEnabled_);
    return group;
}

QWidget *PelmarGeneralPage::BuildProtocols()
{
    auto *group = new QGroupBox(QStringLiteral("Протоколы связи"));
    auto *layout = new QVBoxLayout(group);
    layout->addWidget(cbUsesEthernet_);
    layout->addWidget(cbUsesGPRS_);
    auto *prior = new QGroupBox(QStringLiteral("Приоритетный протокол"));
    auto *radios = new QHBoxLayout(prior);
    radios->addWidget(rbMainEthernet_);
    radios->addWidget(rbMainGPRS_);
    radios->addStretch();
    priority_->addButton(rbMainEthernet_);
    priority_->addButton(rbMainGPRS_);
    layout->addWidget(prior);
    return group;
}

QWidget *PelmarGeneralPage::BuildWeb()
{
    gbWeb_->setCheckable(true);
    // The login is stored as "user:password" in Windows-1251.
    edUser_->setValidator(new StorableTextValidator(true, QStringLiteral(":"), edUser_));
    edUser_->setToolTip(QStringLiteral("Без двоеточия; только символы кодировки Windows-1251"));
    edPass_->setValidator(new StorableTextValidator(true, {}, edPass_));
    edPass_->setToolTip(QStringLiteral("Только символы кодировки Windows-1251"));
    QFormLayout *form = Form(gbWeb_);
    form->addRow(QStringLiteral("Логин :"), edUser_);
    form->addRow(QStringLiteral("Пароль:"), edPass_);
    form->addRow(QStringLiteral("Порт :"), edPort_);
    return gbWeb_;
}

void PelmarGeneralPage::Refresh()
{
    const PelmarConfig &c = config_;
    loading_ = true;
    SetTextKeepingAll(*edObjectTitle_, c.Name, kPelmarTextLength);
    SetTextKeepingAll(*edSID_, c.Sid, kPelmarTextLength);
    SetTextKeepingAll(*edOID_, c.Oid, kPelmarTextLength);
    ysMinConnectionTime_->setValue(c.MinConnectionTime);
    ysMaxConnectionTime_->setValue(c.MaxConnectionTime);
    ysTimeCorrectionInterval_->setValue(c.TimeCorrectionInterval);
    edMaxPacket_->setValue(c.MaxPacketSize);
    comboTimeSource_->setCurrentIndex(c.TimeSource);
    chkHackDetectorEnabled_->setChecked(c.Door);
    gbxGPS_->setChecked(c.UseGpsTime);
    if (c.TimeZone)
        widgets::SelectTimeZone(*cbTimeZone_, c.TimeZone->offsetMinutes,
                                QString::fromStdString(c.TimeZone->displayName));
    edSO_->setValue(c.ObjectCount());
    cbUseSensorsModule_->setChecked(c.DetectorEnabled);
    cbUsesEthernet_->setChecked(c.Ethernet.enabled);
    cbUsesGPRS_->setChecked(c.Gprs.enabled);
    // Neither may be marked (a document that marks neither).
    priority_->setExclusive(false);
    rbMainEthernet_->setChecked(c.Priority == PelmarPriority::Ethernet);
    rbMainGPRS_->setChecked(c.Priority == PelmarPriority::Gprs);
    priority_->setExclusive(true);
    gbWeb_->setChecked(c.Web.enabled);
    SetTextKeepingAll(*edUser_, c.Web.user, kPelmarTextLength);
    SetTextKeepingAll(*edPass_, c.Web.password, kPelmarTextLength);
    edPort_->setValue(c.Web.port);
    loading_ = false;
}

void PelmarGeneralPage::TakeTimeZone()
{
    const auto zone = widgets::SelectedTimeZone(*cbTimeZone_);
    if (zone)
        config_.TimeZone = ConfigTimeZone{zone->OffsetMinutes(), zone->displayName.toStdString()};
    else
        config_.TimeZone.reset();
}

void PelmarGeneralPage::Edited()
{
    if (loading_)
        return;
    PelmarConfig &c = config_;
    c.Name = edObjectTitle_->text().toStdString();
    c.Sid = edSID_->text().toStdString();
    c.Oid = edOID_->text().toStdString();
    c.MinConnectionTime = static_cast<std::uint16_t>(ysMinConnectionTime_->value());
    c.MaxConnectionTime = static_cast<std::uint16_t>(ysMaxConnectionTime_->value());
    c.TimeCorrectionInterval = static_cast<std::uint16_t>(ysTimeCorrectionInterval_->value());
    c.MaxPacketSize = static_cast<std::uint16_t>(edMaxPacket_->value());
    c.TimeSource = std::max(0, comboTimeSource_->currentIndex());
    c.Door = chkHackDetectorEnabled_->isChecked();
    c.UseGpsTime = gbxGPS_->isChecked();
    TakeTimeZone();
    c.SetObjectCount(edSO_->value());
    c.DetectorEnabled = cbUseSensorsModule_->isChecked();
    c.Ethernet.enabled = cbUsesEthernet_->isChecked();
    c.Gprs.enabled = cbUsesGPRS_->isChecked();
    c.Priority = rbMainGPRS_->isChecked()       ? PelmarPriority::Gprs
                 : rbMainEthernet_->isChecked() ? PelmarPriority::Ethernet
                                                : PelmarPriority::None;
    c.Web.enabled = gbWeb_->isChecked();
    c.Web.user = edUser_->text().toStdString();
    c.Web.password = edPass_->text().toStdString();
    c.Web.port = static_cast<std::uint16_t>(edPort_->value());
    emit edited();
}

} // namespace vantor
