#include "app/USettings.h"

#include "app/Settings.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vantor {

TfmSettings::TfmSettings(QWidget *parent)
    : QDialog(parent), seComIntervalDelay_(new QSpinBox), seComConnectTryCount_(new QSpinBox)
{
    setObjectName(QStringLiteral("fmSettings"));
    setWindowTitle(QStringLiteral("Настройки"));

    seComIntervalDelay_->setObjectName(QStringLiteral("seComIntervalDelay"));
    seComIntervalDelay_->setRange(TSettings::kMinComIntervalDelay, TSettings::kMaxComIntervalDelay);
    seComIntervalDelay_->setSingleStep(50);
    seComIntervalDelay_->setAccelerated(true);
    seComConnectTryCount_->setObjectName(QStringLiteral("seComConnectTryCount"));
    seComConnectTryCount_->setRange(TSettings::kMinComConnectTryCount, TSettings::kMaxComConnectTryCount);

    auto *group = new QGroupBox(QStringLiteral(" Подключение "));
    group->setObjectName(QStringLiteral("gbConnection"));
    auto *form = new QFormLayout(group);
    form->addRow(QStringLiteral("Задержка подключения (мс) : "), seComIntervalDelay_);
    form->addRow(QStringLiteral("Макс. кол-во попыток :"), seComConnectTryCount_);

    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("tsMainPage"));
    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(group);
    pageLayout->addStretch();

    auto *pages = new QTabWidget;
    pages->setObjectName(QStringLiteral("pgcSettings"));
    pages->addTab(page, QStringLiteral("Главное"));

    auto *buttons = new QDialogButtonBox;
    QPushButton *ok = buttons->addButton(QStringLiteral("ОК"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    QPushButton *cancel = buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}

void TfmSettings::LoadFrom(const TSettings &settings)
{
    seComIntervalDelay_->setValue(settings.ComIntervalDelay());
    seComConnectTryCount_->setValue(settings.ComConnectTryCount());
}

void TfmSettings::StoreTo(TSettings &settings) const
{
    settings.SetComIntervalDelay(static_cast<std::uint16_t>(seComIntervalDelay_->value()));
    settings.SetComConnectTryCount(static_cast<std::uint8_t>(seComConnectTryCount_->value()));
}

} // namespace vantor
