#include "devices/pelmar/UConfPelmar.h"

#include "app/DeviceButtons.h"
#include "app/widgets/IdentifierTable.h"
#include "app/widgets/InPlaceViews.h"
#include "devices/pelmar/DetectorEditor.h"
#include "devices/pelmar/MacAddress.h"
#include "devices/pelmar/PelmarDocument.h"
#include "devices/pelmar/PelmarGeneralPage.h"
#include "devices/pelmar/PelmarNetworkPages.h"
#include "devices/pelmar/UPelmarSoFrame.h"
#include "devices/pelmar/UReg.h"

#include <QAction>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace vantor {

TfmConfPelmar::TfmConfPelmar(QWidget *parent)
    : TfmBaseMDI(kPelmarTag, parent), idSource_(config_), actPlus_(new QAction(QStringLiteral("+"), this)),
      actMinus_(new QAction(QStringLiteral("–"), this)), btnAdd_(new QToolButton), btnDel_(new QToolButton),
      btnRead_(new QPushButton(QStringLiteral("Прочитать"))),
      btnWrite_(new QPushButton(QStringLiteral("Записать"))), pgcMain_(new QTabWidget),
      vtIDs_(new widgets::InPlaceTreeView), ids_(new widgets::IdentifierTableModel(idSource_, 2, this)),
      pgcSO_(new QTabWidget)
{
    setObjectName(QStringLiteral("fmConfPelmar"));
    setWindowTitle(QStringLiteral("Конфигурация Pelmar"));
    config_.Ethernet.mac = RandomMacAddress();

    general_ = new PelmarGeneralPage(config_);
    gprs_ = new PelmarGprsPage(config_);
    ethernet_ = new PelmarEthernetPage(config_);
    detector_ = new DetectorEditor(config_);
    detector_->setObjectName(QStringLiteral("tsDetector"));
    pgcMain_->setObjectName(QStringLiteral("pgcMain"));
    pgcMain_->addTab(general_, QStringLiteral("Общие"));
    pgcMain_->addTab(gprs_, QStringLiteral("GPRS"));
    pgcMain_->addTab(ethernet_, QStringLiteral("Ethernet"));
    pgcMain_->addTab(BuildIdsTab(), QStringLiteral("Идентификаторы"));
    pgcMain_->addTab(BuildObjectsTab(), QStringLiteral("СО / КНО"));
    pgcMain_->addTab(detector_, QStringLiteral("Контроллер датчиков"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(BuildTopPanel());
    layout->addWidget(pgcMain_, 1);

    connect(general_, &PelmarGeneralPage::edited, this, &TfmConfPelmar::OnEdited);
    connect(gprs_, &PelmarGprsPage::edited, this, &TfmConfPelmar::OnEdited);
    connect(ethernet_, &PelmarEthernetPage::edited, this, &TfmConfPelmar::OnEdited);
    connect(detector_, &DetectorEditor::edited, this, &TfmConfPelmar::OnEdited);
    connect(detector_, &DetectorEditor::actionsChanged, this, &TfmConfPelmar::UpdateActions);
    connect(pgcMain_, &QTabWidget::currentChanged, this, &TfmConfPelmar::UpdateActions);
    for (TfrmReg *frame : {gprs_->regs(), ethernet_->regs()})
        connect(frame->view()->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &TfmConfPelmar::UpdateActions);
    connect(ids_, &widgets::IdentifierTableModel::entryEdited, this, [this](int group, int entry) {
        if (const auto object = idSource_.ObjectOfEntry(group, entry);
            object && *object < static_cast<int>(soPages_.size()))
            soPages_[static_cast<std::size_t>(*object)]->RefreshId();
    });
    connect(actPlus_, &QAction::triggered, this, &TfmConfPelmar::Plus);
    connect(actMinus_, &QAction::triggered, this, &TfmConfPelmar::Minus);

    RefreshAll();
}

TfmConfPelmar::~TfmConfPelmar()
{
    // The pages edit config_, a member: they go while it still exists.
    delete pgcMain_;
}

QWidget *TfmConfPelmar::BuildTopPanel()
{
    actPlus_->setObjectName(QStringLiteral("actPlus"));
    actPlus_->setToolTip(QStringLiteral("Добавить"));
    actMinus_->setObjectName(QStringLiteral("actMinus"));
    actMinus_->setToolTip(QStringLiteral("Удалить"));
    btnAdd_->setObjectName(QStringLiteral("btnAdd"));
    btnAdd_->setDefaultAction(actPlus_);
    btnDel_->setObjectName(QStringLiteral("btnDel"));
    btnDel_->setDefaultAction(actMinus_);
    for (QToolButton *button : {btnAdd_, btnDel_})
        button->setMinimumSize(32, 28);
    btnRead_->setObjectName(QStringLiteral("btnRead"));
    btnWrite_->setObjectName(QStringLiteral("btnWrite"));
    // Both go through the programmer window; disabled, saying why, while there is none.
    BindDeviceButtons(*this, btnRead_, btnWrite_);

    auto *panel = new QWidget;
    panel->setObjectName(QStringLiteral("pnlTop"));
    auto *layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(btnAdd_);
    layout->addWidget(btnDel_);
    layout->addStretch();
    layout->addWidget(btnRead_);
    layout->addWidget(btnWrite_);
    return panel;
}

QWidget *TfmConfPelmar::BuildIdsTab()
{
    vtIDs_->setObjectName(QStringLiteral("vtIDs"));
    vtIDs_->setModel(ids_);
    widgets::SetUpIdentifierView(*vtIDs_, *ids_);
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("tsIDs"));
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(vtIDs_);
    return page;
}

QWidget *TfmConfPelmar::BuildObjectsTab()
{
    pgcSO_->setObjectName(QStringLiteral("pgcSO"));
    pgcSO_->setUsesScrollButtons(true);
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("tsSO"));
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(pgcSO_);
    return page;
}

std::optional<json::Json> TfmConfPelmar::GetConfigJson()
{
    return vantor::GetConfigJson(config_);
}

bool TfmConfPelmar::LoadConfigJson(json::Json root, QString &message)
{
    std::string error;
    loading_ = true;
    const bool ok = vantor::LoadConfigJson(config_, root, &error);
    loading_ = false;
    // Even a read that stopped at a bad member shows what it read.
    RefreshAll();
    if (!ok) {
        message = QString::fromStdString(error);
        return false;
    }
    pgcMain_->setCurrentIndex(kGeneralTab);
    return TfmBaseMDI::LoadConfigJson(std::move(root), message);
}

void TfmConfPelmar::RefreshAll()
{
    general_->Refresh();
    gprs_->Refresh();
    ethernet_->Refresh();
    SyncObjectPages(true);
    for (TfrmPelmarSO *page : soPages_)
        page->Refresh();
    detector_->Reload();
    shownObjects_ = config_.ObjectCount();
    shownDetector_ = config_.DetectorEnabled;
    ids_->Reload();
    vtIDs_->expandAll();
    ApplyTabRules();
    UpdateActions();
}

void TfmConfPelmar::OnEdited()
{
    if (loading_)
        return;
    SyncObjectPages(false);
    if (shownObjects_ != config_.ObjectCount() || shownDetector_ != config_.DetectorEnabled) {
        shownObjects_ = config_.ObjectCount();
        shownDetector_ = config_.DetectorEnabled;
        ids_->Reload();
        vtIDs_->expandAll();
    }
    ApplyTabRules();
    UpdateActions();
}

void TfmConfPelmar::ApplyTabRules()
{
    pgcMain_->setTabVisible(kGprsTab, config_.Gprs.enabled);
    pgcMain_->setTabVisible(kEthernetTab, config_.Ethernet.enabled);
    pgcMain_->setTabVisible(kObjectsTab, config_.ObjectCount() > 0);
    pgcMain_->setTabVisible(kDetectorTab, config_.DetectorEnabled);
}

void TfmConfPelmar::SyncObjectPages(bool rebuild)
{
    const auto count = static_cast<std::size_t>(config_.ObjectCount());
    while (!soPages_.empty() && (rebuild || soPages_.size() > count)) {
        delete soPages_.back(); // leaves its tab
        soPages_.pop_back();
    }
    while (soPages_.size() < count) {
        const int index = static_cast<int>(soPages_.size());
        auto *page = new TfrmPelmarSO(config_, index);
        page->setObjectName(QStringLiteral("frmPelmarSO%1").arg(index + 1));
        connect(page, &TfrmPelmarSO::edited, this, &TfmConfPelmar::OnEdited);
        connect(page, &TfrmPelmarSO::idEdited, ids_, &widgets::IdentifierTableModel::RefreshValues);
        // The caption names the identifier the object had when its page was made.
        pgcSO_->addTab(page, QStringLiteral("СО %1").arg(config_.ObjectId(index)));
        soPages_.push_back(page);
    }
}

TfrmReg *TfmConfPelmar::CurrentRegFrame() const
{
    switch (pgcMain_->currentIndex()) {
    case kGprsTab: return gprs_->regs();
    case kEthernetTab: return ethernet_->regs();
    default: return nullptr;
    }
}

void TfmConfPelmar::UpdateActions()
{
    bool plus = false;
    bool minus = false;
    if (const TfrmReg *frame = CurrentRegFrame()) {
        plus = true;
        minus = frame->HasRows();
    } else if (pgcMain_->currentIndex() == kDetectorTab) {
        plus = detector_->CanAdd();
        minus = detector_->CanDelete();
    }
    actPlus_->setEnabled(plus);
    actMinus_->setEnabled(minus);
}

void TfmConfPelmar::Plus()
{
    if (TfrmReg *frame = CurrentRegFrame())
        frame->AddRow();
    else if (pgcMain_->currentIndex() == kDetectorTab)
        detector_->Add(btnAdd_);
    UpdateActions();
}

void TfmConfPelmar::Minus()
{
    if (TfrmReg *frame = CurrentRegFrame())
        frame->DeleteSelectedOrLast();
    else if (pgcMain_->currentIndex() == kDetectorTab)
        detector_->Delete();
    UpdateActions();
}

} // namespace vantor
