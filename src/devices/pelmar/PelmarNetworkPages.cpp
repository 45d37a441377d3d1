#include "devices/pelmar/PelmarNetworkPages.h"

#include "devices/pelmar/MacAddress.h"
#include "devices/pelmar/PelmarConfig.h"
#include "devices/pelmar/PelmarWidgets.h"
#include "devices/pelmar/UReg.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vantor {
namespace {

QLineEdit *Field(const char *name, int maxLength, int width)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(maxLength);
    edit->setMinimumWidth(width);
    return edit;
}

QFormLayout *Form(QWidget *parent)
{
    auto *form = new QFormLayout(parent);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    return form;
}

QGroupBox *RegGroup(TfrmReg *frame)
{
    auto *group = new QGroupBox(QStringLiteral("Серверы регистрации"));
    auto *layout = new QVBoxLayout(group);
    layout->addWidget(frame);
    return group;
}

constexpr int kAddressLength = 15; // "255.255.255.255"
constexpr int kMacLength = 17;     // "02-1A-2B-3C-4D-5E"

} // namespace

// ---- PelmarServerFields ----

PelmarServerFields::PelmarServerFields(const char *addressName, const char *portName, const char *fixName,
                                       QWidget *parent)
    : QObject(parent), address_(Field(addressName, kPelmarTextLength, 220)), port_(new QSpinBox),
      fix_(new QCheckBox(QStringLiteral("Фиксированный адрес")))
{
    port_->setObjectName(QString::fromLatin1(portName));
    fix_->setObjectName(QString::fromLatin1(fixName));
    address_->setValidator(new StorableTextValidator(false, QStringLiteral(":"), address_));
    address_->setToolTip(QStringLiteral("IP-адрес или имя сервера"));
    SetUpUnsignedSpin(*port_, 65535);
    port_->setMinimum(1);
    fix_->setToolTip(QStringLiteral("При фиксированном адресе нет обращения к серверам регистрации для "
                                    "уточнения адреса сервера"));
    connect(address_, &QLineEdit::textEdited, this, &PelmarServerFields::edited);
    connect(port_, &QSpinBox::valueChanged, this, &PelmarServerFields::edited);
    connect(fix_, &QCheckBox::toggled, this, &PelmarServerFields::edited);
}

QWidget *PelmarServerFields::Group()
{
    auto *group = new QGroupBox(QStringLiteral("Параметры сервера"));
    QFormLayout *form = Form(group);
    form->addRow(QStringLiteral("IP-адрес"), address_);
    form->addRow(QStringLiteral("Порт"), port_);
    form->addRow(fix_);
    return group;
}

void PelmarServerFields::Refresh(const PelmarServer &server)
{
    SetTextKeepingAll(*address_, server.address, kPelmarTextLength);
    port_->setValue(server.port);
    fix_->setChecked(server.fixed);
}

void PelmarServerFields::Store(PelmarServer &server) const
{
    server.address = address_->text().toStdString();
    server.port = static_cast<std::uint16_t>(port_->value());
    server.fixed = fix_->isChecked();
}

// ---- PelmarGprsPage ----

PelmarGprsPage::PelmarGprsPage(PelmarConfig &config, QWidget *parent)
    : QWidget(parent), config_(config), edPIN_(Field("edPIN", 4, 80)),
      edAPN_(Field("edAPN", kPelmarTextLength, 220)), edLogin_(Field("edLogin", kPelmarTextLength, 220)),
      edPassword_(Field("edPassword", kPelmarTextLength, 220)),
      server_(new PelmarServerFields("edRegIP", "edRegPort", "cbFixServer", this)), frmRegGPRS_(new TfrmReg)
{
    setObjectName(QStringLiteral("tsGPRS"));
    frmRegGPRS_->setObjectName(QStringLiteral("frmRegGPRS"));
    edPIN_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), edPIN_));

    auto *sim = new QGroupBox(QStringLiteral("Настройки GPRS"));
    QFormLayout *form = Form(sim);
    form->addRow(QStringLiteral("PIN-код"), edPIN_);
    form->addRow(QStringLiteral("Точка доступа"), edAPN_);
    form->addRow(QStringLiteral("Логин"), edLogin_);
    form->addRow(QStringLiteral("Пароль"), edPassword_);
    auto *top = new QHBoxLayout;
    top->addWidget(sim);
    top->addWidget(server_->Group());
    top->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(RegGroup(frmRegGPRS_), 1);

    for (QLineEdit *edit : {edPIN_, edAPN_, edLogin_, edPassword_})
        connect(edit, &QLineEdit::textEdited, this, &PelmarGprsPage::Edited);
    connect(server_, &PelmarServerFields::edited, this, &PelmarGprsPage::Edited);
    connect(frmRegGPRS_, &TfrmReg::edited, this, &PelmarGprsPage::edited);
    frmRegGPRS_->Bind(config_.Gprs.regs);
    Refresh();
}

void PelmarGprsPage::Refresh()
{
    const PelmarGprs &g = config_.Gprs;
    loading_ = true;
    SetTextKeepingAll(*edPIN_, g.pin, 4);
    SetTextKeepingAll(*edAPN_, g.apn, kPelmarTextLength);
    SetTextKeepingAll(*edLogin_, g.user, kPelmarTextLength);
    SetTextKeepingAll(*edPassword_, g.password, kPelmarTextLength);
    server_->Refresh(g.server);
    frmRegGPRS_->Reload();
    loading_ = false;
}

void PelmarGprsPage::Edited()
{
    if (loading_)
        return;
    PelmarGprs &g = config_.Gprs;
    g.pin = edPIN_->text().toStdString();
    g.apn = edAPN_->text().toStdString();
    g.user = edLogin_->text().toStdString();
    g.password = edPassword_->text().toStdString();
    server_->Store(g.server);
    emit edited();
}

// ---- PelmarEthernetPage ----

PelmarEthernetPage::PelmarEthernetPage(PelmarConfig &config, QWidget *parent)
    : QWidget(parent), config_(config), edMAC_(Field("edMAC", kMacLength, 160)),
      btnRandMac_(new QPushButton(QStringLiteral("Случайный"))),
      cbUseDHCP_(new QCheckBox(QStringLiteral("DHCP"))), edSelfIP_(Field("edSelfIP", kAddressLength, 160)),
      edGateIP_(Field("edGateIP", kAddressLength, 160)), edMask_(Field("edMask", kAddressLength, 160)),
      cbCanPing_(new QCheckBox(QStringLiteral("Разрешить ping"))),
      server_(new PelmarServerFields("edServerIP", "edServerPort", "cbFixEthServer", this)),
      frmRegEthernet_(new TfrmReg)
{
    setObjectName(QStringLiteral("tsEthernet"));
    btnRandMac_->setObjectName(QStringLiteral("btnRandMac"));
    cbUseDHCP_->setObjectName(QStringLiteral("cbUseDHCP"));
    cbCanPing_->setObjectName(QStringLiteral("cbCanPing"));
    frmRegEthernet_->setObjectName(QStringLiteral("frmRegEthernet"));
    edMAC_->setToolTip(QStringLiteral("MAC-адрес устройства"));
    btnRandMac_->setToolTip(QStringLiteral("Задать случайный MAC-адрес"));
    cbCanPing_->setToolTip(QStringLiteral("Разрешить проверку соединения"));

    auto *device = new QGroupBox(QStringLiteral("Настройки устройства"));
    QFormLayout *form = Form(device);
    auto *mac = new QHBoxLayout;
    mac->addWidget(edMAC_);
    mac->addWidget(btnRandMac_);
    form->addRow(QStringLiteral("MAC-адрес"), mac);
    form->addRow(cbUseDHCP_);
    form->addRow(QStringLiteral("IP-адрес"), edSelfIP_);
    form->addRow(QStringLiteral("IP-адрес шлюза"), edGateIP_);
    form->addRow(QStringLiteral("Маска подсети"), edMask_);
    form->addRow(cbCanPing_);
    auto *top = new QHBoxLayout;
    top->addWidget(device);
    top->addWidget(server_->Group(), 0, Qt::AlignTop);
    top->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(RegGroup(frmRegEthernet_), 1);

    for (QLineEdit *edit : {edMAC_, edSelfIP_, edGateIP_, edMask_})
        connect(edit, &QLineEdit::textEdited, this, &PelmarEthernetPage::Edited);
    for (QCheckBox *check : {cbUseDHCP_, cbCanPing_})
        connect(check, &QCheckBox::toggled, this, &PelmarEthernetPage::Edited);
    connect(server_, &PelmarServerFields::edited, this, &PelmarEthernetPage::Edited);
    connect(btnRandMac_, &QPushButton::clicked, this, [this] {
        config_.Ethernet.mac = RandomMacAddress();
        Refresh();
        emit edited();
    });
    connect(frmRegEthernet_, &TfrmReg::edited, this, &PelmarEthernetPage::edited);
    frmRegEthernet_->Bind(config_.Ethernet.regs);
    Refresh();
}

void PelmarEthernetPage::Refresh()
{
    const PelmarEthernet &e = config_.Ethernet;
    loading_ = true;
    SetTextKeepingAll(*edMAC_, e.mac, kMacLength);
    cbUseDHCP_->setChecked(e.dhcp);
    SetTextKeepingAll(*edSelfIP_, e.ip, kAddressLength);
    SetTextKeepingAll(*edGateIP_, e.gate, kAddressLength);
    SetTextKeepingAll(*edMask_, e.mask, kAddressLength);
    cbCanPing_->setChecked(e.ping);
    server_->Refresh(e.server);
    frmRegEthernet_->Reload();
    loading_ = false;
    ApplyDhcp();
}

void PelmarEthernetPage::ApplyDhcp()
{
    for (QLineEdit *edit : {edSelfIP_, edGateIP_, edMask_})
        edit->setEnabled(!cbUseDHCP_->isChecked());
}

void PelmarEthernetPage::Edited()
{
    ApplyDhcp();
    if (loading_)
        return;
    PelmarEthernet &e = config_.Ethernet;
    e.mac = edMAC_->text().toStdString();
    e.dhcp = cbUseDHCP_->isChecked();
    e.ip = edSelfIP_->text().toStdString();
    e.gate = edGateIP_->text().toStdString();
    e.mask = edMask_->text().toStdString();
    e.ping = cbCanPing_->isChecked();
    server_->Store(e.server);
    emit edited();
}

} // namespace vantor
