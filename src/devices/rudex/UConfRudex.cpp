#include "devices/rudex/UConfRudex.h"

#include "app/DeviceButtons.h"
#include "app/widgets/IdentifierTable.h"
#include "app/widgets/InPlaceViews.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace vantor {

// The table's view of the configuration's identifiers: one group per IdGroup, each
// with the entries of that group.
class TfmConfRudex::IdSource : public widgets::IdentifierSource {
public:
    explicit IdSource(rudex::RudexConfig &config) : config_(config) {}

    int GroupCount() const override { return 2; }
    QString GroupCaption(int group) const override
    {
        return group == rudex::kOwnIdGroup ? QStringLiteral("Собственный ID")
                                           : QStringLiteral("ID приложения");
    }
    int EntryCount(int group) const override
    {
        int count = 0;
        for (const auto &entry : config_.Ids)
            count += entry->Group == group;
        return count;
    }
    QString EntryCaption(int group, int entry) const override { return Entry(group, entry).Caption; }
    int EntryValue(int group, int entry) const override { return Entry(group, entry).Value; }
    void SetEntryValue(int group, int entry, int value) override
    {
        Entry(group, entry).Value = static_cast<std::uint16_t>(value);
    }

private:
    rudex::TIDObject &Entry(int group, int entry) const
    {
        for (const auto &item : config_.Ids)
            if (item->Group == group && entry-- == 0)
                return *item;
        Q_UNREACHABLE();
    }

    rudex::RudexConfig &config_;
};

TfmConfRudex::TfmConfRudex(QWidget *parent)
    : TfmBaseMDI(kRudexTag, parent), idSource_(std::make_unique<IdSource>(config_))
{
    setObjectName(QStringLiteral("fmConfRudex"));
    setWindowTitle(QStringLiteral("Контроллер электросчетчиков"));
    BuildControls();
    RefreshControls();
    MarkUnmodified();
}

TfmConfRudex::~TfmConfRudex() = default;

void TfmConfRudex::BuildControls()
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

    gbRudex_ = new QGroupBox(QStringLiteral(" Контроллер электросчетчиков "));
    gbRudex_->setObjectName(QStringLiteral("gbRudex"));
    gbRudex_->setCheckable(true);
    connect(gbRudex_, &QGroupBox::toggled, this, [this](bool on) { config_.Enabled = on; });

    edName_ = new QLineEdit;
    edName_->setObjectName(QStringLiteral("edName"));
    connect(edName_, &QLineEdit::textChanged, this, [this](const QString &text) { config_.Name = text; });
    edPass_ = new QLineEdit;
    edPass_->setObjectName(QStringLiteral("edPass"));
    edPass_->setEchoMode(QLineEdit::Password);
    edPass_->setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // typed characters show as *
    connect(edPass_, &QLineEdit::textChanged, this, [this](const QString &text) { config_.Password = text; });
    cbDefaultPass_ = new QCheckBox(QStringLiteral("Пароль по умолчанию"));
    cbDefaultPass_->setObjectName(QStringLiteral("cbDefaultPass"));
    connect(cbDefaultPass_, &QCheckBox::toggled, this, [this](bool on) { config_.DefaultPassword = on; });

    for (QLineEdit *field : {edName_, edPass_})
        field->setMaximumWidth(420);
    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->addRow(QStringLiteral("Наименование :"), edName_);
    form->addRow(QStringLiteral("Пароль:"), edPass_);
    form->addRow(QString(), cbDefaultPass_);

    vtIDs_ = new widgets::InPlaceTreeView;
    vtIDs_->setObjectName(QStringLiteral("vtIDs"));
    idModel_ = new widgets::IdentifierTableModel(*idSource_, 1, this);
    widgets::SetUpIdentifierView(*vtIDs_, *idModel_);

    auto *group = new QVBoxLayout(gbRudex_);
    group->addLayout(form);
    group->addWidget(vtIDs_, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(gbRudex_, 1);
}

void TfmConfRudex::RefreshControls()
{
    const QSignalBlocker blockGroup(gbRudex_);
    const QSignalBlocker blockName(edName_);
    const QSignalBlocker blockPass(edPass_);
    const QSignalBlocker blockDefault(cbDefaultPass_);
    gbRudex_->setChecked(config_.Enabled);
    edName_->setText(config_.Name);
    edPass_->setText(config_.Password);
    cbDefaultPass_->setChecked(config_.DefaultPassword);
    idModel_->Reload();
}

std::optional<json::Json> TfmConfRudex::GetConfigJson()
{
    return rudex::GetConfigJson(config_);
}

bool TfmConfRudex::LoadConfigJson(json::Json root, QString &message)
{
    const bool loaded = rudex::LoadConfigJson(config_, root, &message);
    RefreshControls();
    if (!loaded)
        return false;
    return TfmBaseMDI::LoadConfigJson(std::move(root), message);
}

} // namespace vantor
