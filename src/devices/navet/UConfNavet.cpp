#include "devices/navet/UConfNavet.h"

#include "app/DeviceButtons.h"
#include "app/widgets/CellDelegates.h"
#include "app/widgets/InPlaceViews.h"
#include "app/widgets/TimeZoneCombo.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStandardItemModel>
#include <QVBoxLayout>

namespace vantor {

namespace {

// Largest value a current or phase cell takes from the keyboard.
constexpr int kCellMaximum = 65535;

} // namespace

TfmConfNavet::TfmConfNavet(QWidget *parent) : TfmBaseMDI(kNavetTag, parent)
{
    setObjectName(QStringLiteral("fmConfNavet"));
    setWindowTitle(QStringLiteral("Конфигурация Navet"));
    BuildControls();
    RefreshControls();
    MarkUnmodified();
}

TfmConfNavet::~TfmConfNavet() = default;

QGroupBox *TfmConfNavet::CreateRadioGroup(const char *name, const QString &caption, const QStringList &items,
                                          QButtonGroup *&buttons, int *field)
{
    auto *group = new QGroupBox(caption);
    group->setObjectName(QString::fromLatin1(name));
    buttons = new QButtonGroup(group);
    auto *layout = new QVBoxLayout(group);
    for (int i = 0; i < items.size(); ++i) {
        auto *radio = new QRadioButton(items[i]);
        radio->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i));
        buttons->addButton(radio, i);
        layout->addWidget(radio);
    }
    layout->addStretch();
    connect(buttons, &QButtonGroup::idToggled, this, [this, field](int id, bool checked) {
        if (checked && !refreshing_)
            *field = id;
    });
    return group;
}

widgets::InPlaceTableView *TfmConfNavet::CreateGrid(const char *name, QStandardItemModel *&model,
                                                    const QStringList &headers)
{
    model = new QStandardItemModel(1, int(headers.size()), this);
    model->setHorizontalHeaderLabels(headers);
    for (int column = 0; column < headers.size(); ++column) {
        auto *item = new QStandardItem;
        item->setData(0, Qt::EditRole);
        item->setTextAlignment(Qt::AlignCenter);
        model->setItem(0, column, item);
    }
    auto *grid = new widgets::InPlaceTableView;
    grid->setObjectName(QString::fromLatin1(name));
    grid->setModel(model);
    // Digits only; a cell left empty becomes 0.
    grid->setItemDelegate(new widgets::IntegerCellDelegate(0, kCellMaximum, grid));
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setFixedHeight(grid->horizontalHeader()->sizeHint().height() +
                         grid->verticalHeader()->defaultSectionSize() + 2 * grid->frameWidth());
    return grid;
}

void TfmConfNavet::BuildControls()
{
    auto *top = new QHBoxLayout;
    top->addStretch();
    btnRead_ = new QPushButton(QStringLiteral("Прочитать"));
    btnRead_->setObjectName(QStringLiteral("btnRead"));
    btnWrite_ = new QPushButton(QStringLiteral("Записать"));
    btnWrite_->setObjectName(QStringLiteral("btnWrite"));
    top->addWidget(btnRead_);
    top->addWidget(btnWrite_);
    BindDeviceButtons(*this, btnRead_, btnWrite_);

    // " Общие настройки "
    edProjectName_ = new QLineEdit;
    edProjectName_->setObjectName(QStringLiteral("edProjectName"));
    connect(edProjectName_, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (!refreshing_)
            config_.Name = text;
    });
    // The identifier is kept and written, but not shown.
    edID_ = new QLineEdit;
    edID_->setObjectName(QStringLiteral("edID"));
    edID_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?\\d{0,18}")), edID_));
    connect(edID_, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (!refreshing_)
            config_.Id = text.toLongLong();
    });
    lblID_ = new QLabel(QStringLiteral("Идентификатор: "));
    lblID_->setObjectName(QStringLiteral("lblID"));
    cbTimeZone_ = new QComboBox;
    cbTimeZone_->setObjectName(QStringLiteral("cbTimeZone"));
    cbTimeZone_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbTimeZone_->setMinimumContentsLength(36);
    widgets::LoadTimeZones(*cbTimeZone_);
    connect(cbTimeZone_, &QComboBox::currentIndexChanged, this, [this] {
        if (refreshing_)
            return;
        if (const auto zone = widgets::SelectedTimeZone(*cbTimeZone_))
            config_.TimeZone = *zone;
    });

    edProjectName_->setMaximumWidth(480);
    cbTimeZone_->setMaximumWidth(480);
    auto *general = new QGroupBox(QStringLiteral(" Общие настройки "));
    general->setObjectName(QStringLiteral("gbGeneral"));
    auto *form = new QFormLayout(general);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->addRow(QStringLiteral("Наименование :"), edProjectName_);
    form->addRow(lblID_, edID_);
    form->addRow(QStringLiteral("Часовой пояс :"), cbTimeZone_);
    lblID_->hide();
    edID_->hide();

    // " Светофор "
    auto *type = CreateRadioGroup("rbType", QStringLiteral(" Тип "),
                                  {QStringLiteral("Транспортный"), QStringLiteral("Реверсивный")}, rbType_,
                                  &config_.Type);
    auto *role = CreateRadioGroup("rbRole", QStringLiteral(" Роль "),
                                  {QStringLiteral("Ведомый"), QStringLiteral("Ведущий")}, rbRole_,
                                  &config_.MasterRole);

    auto *currentsBox = new QGroupBox(QStringLiteral(" Токи (mA)  "));
    currentsBox->setObjectName(QStringLiteral("gbCurrents"));
    auto *currentsLayout = new QVBoxLayout(currentsBox);
    currentsLayout->addWidget(
        CreateGrid("sgCurrents", currents_,
                   {QStringLiteral("Красный"), QStringLiteral("Зеленый"), QStringLiteral("Желтый")}));
    connect(currents_, &QStandardItemModel::itemChanged, this, [this](QStandardItem *item) {
        if (!refreshing_)
            config_.Currents[std::size_t(item->column())] = item->data(Qt::EditRole).toLongLong();
    });

    QStringList phaseHeaders;
    for (int i = 1; i <= 4; ++i)
        phaseHeaders << QStringLiteral("Ф%1").arg(i);
    auto *phasesBox = new QGroupBox(QStringLiteral(" Фазы (сек) "));
    phasesBox->setObjectName(QStringLiteral("gbPhases"));
    auto *phasesLayout = new QVBoxLayout(phasesBox);
    phasesLayout->addWidget(CreateGrid("sgPhases", phases_, phaseHeaders));
    connect(phases_, &QStandardItemModel::itemChanged, this, [this](QStandardItem *item) {
        if (!refreshing_)
            config_.Phases[std::size_t(item->column())] = item->data(Qt::EditRole).toLongLong();
    });

    auto *signal = new QGroupBox(QStringLiteral(" Светофор "));
    signal->setObjectName(QStringLiteral("gbSignal"));
    auto *choices = new QHBoxLayout;
    choices->addWidget(type);
    choices->addWidget(role);
    auto *signalLayout = new QVBoxLayout(signal);
    signalLayout->addLayout(choices);
    signalLayout->addWidget(currentsBox);
    signalLayout->addWidget(phasesBox);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(general);
    layout->addWidget(signal);
    layout->addStretch();
}

void TfmConfNavet::RefreshControls()
{
    refreshing_ = true;
    edProjectName_->setText(config_.Name);
    edID_->setText(QString::number(config_.Id));
    widgets::SelectTimeZone(*cbTimeZone_, config_.TimeZone);
    rbType_->button(config_.Type)->setChecked(true);
    rbRole_->button(config_.MasterRole)->setChecked(true);
    for (int column = 0; column < 3; ++column)
        currents_->item(0, column)->setData(qlonglong(config_.Currents[std::size_t(column)]), Qt::EditRole);
    for (int column = 0; column < 4; ++column)
        phases_->item(0, column)->setData(qlonglong(config_.Phases[std::size_t(column)]), Qt::EditRole);
    refreshing_ = false;
}

std::optional<json::Json> TfmConfNavet::GetConfigJson()
{
    return navet::GetConfigJson(config_);
}

bool TfmConfNavet::LoadConfigJson(json::Json root, QString &message)
{
    const bool loaded = navet::LoadConfigJson(config_, root, &message);
    RefreshControls();
    if (!loaded)
        return false;
    return TfmBaseMDI::LoadConfigJson(std::move(root), message);
}

} // namespace vantor
