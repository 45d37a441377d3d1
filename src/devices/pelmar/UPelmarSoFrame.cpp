#include "devices/pelmar/UPelmarSoFrame.h"

#include "devices/pelmar/PelmarConfig.h"
#include "devices/pelmar/PelmarWidgets.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vantor {

TfrmPelmarSO::TfrmPelmarSO(PelmarConfig &config, int index, QWidget *parent)
    : QWidget(parent), config_(config), index_(index),
      gbSO_(new QGroupBox(QStringLiteral("Светофорный объект"))), edSOName_(new QLineEdit),
      edID_(new QSpinBox), intRetentionTime_(new QSpinBox),
      cbSendPhaseChanges_(new QCheckBox(QStringLiteral("Передавать сообщения о смене фазы")))
{
    setObjectName(QStringLiteral("frmPelmarSO"));
    gbSO_->setObjectName(QStringLiteral("gbSO"));
    edSOName_->setObjectName(QStringLiteral("edSOName"));
    edID_->setObjectName(QStringLiteral("edID"));
    intRetentionTime_->setObjectName(QStringLiteral("intRetentionTime"));
    cbSendPhaseChanges_->setObjectName(QStringLiteral("cbSendPhaseChanges"));

    gbSO_->setCheckable(true);
    edSOName_->setMaxLength(kPelmarTextLength);
    SetUpUnsignedSpin(*edID_, 65535);
    SetUpUnsignedSpin(*intRetentionTime_, 65535, QStringLiteral(" с"));
    intRetentionTime_->setToolTip(
        QStringLiteral("Время удержания диспетчерского управления с последнего пакета с сервера"));

    auto *form = new QFormLayout(gbSO_);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->addRow(QStringLiteral("Наименование :"), edSOName_);
    form->addRow(QStringLiteral("Идентификатор :"), edID_);
    form->addRow(QStringLiteral("Время удержания ДУ :"), intRetentionTime_);
    form->addRow(cbSendPhaseChanges_);
    edSOName_->setMinimumWidth(320);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(gbSO_);
    layout->addStretch();

    connect(gbSO_, &QGroupBox::toggled, this, [this](bool on) {
        if (loading_)
            return;
        config_.Object(index_).enabled = on;
        emit edited();
    });
    connect(edSOName_, &QLineEdit::textEdited, this, [this](const QString &text) {
        config_.Object(index_).name = text.toStdString();
        emit edited();
    });
    connect(edID_, &QSpinBox::valueChanged, this, [this](int value) {
        if (loading_)
            return;
        config_.SetObjectId(index_, static_cast<std::uint16_t>(value));
        emit idEdited(index_);
        emit edited();
    });
    connect(intRetentionTime_, &QSpinBox::valueChanged, this, [this](int value) {
        if (loading_)
            return;
        config_.Object(index_).holdTime = static_cast<std::uint16_t>(value);
        emit edited();
    });
    connect(cbSendPhaseChanges_, &QCheckBox::toggled, this, [this](bool on) {
        if (loading_)
            return;
        config_.Object(index_).phaseChangeMessages = on;
        emit edited();
    });
    Refresh();
}

void TfrmPelmarSO::Refresh()
{
    const PelmarObjectPage &page = config_.Object(index_);
    loading_ = true;
    gbSO_->setChecked(page.enabled);
    SetTextKeepingAll(*edSOName_, page.name, kPelmarTextLength);
    intRetentionTime_->setValue(page.holdTime);
    cbSendPhaseChanges_->setChecked(page.phaseChangeMessages);
    loading_ = false;
    RefreshId();
}

void TfrmPelmarSO::RefreshId()
{
    loading_ = true;
    edID_->setValue(config_.ObjectId(index_));
    loading_ = false;
}

} // namespace vantor
