#include "controller_editor/UConfVantor.h"

#include "app/DeviceButtons.h"

#include "app/UserDialogs.h"
#include "controller/ConfigDocument.h"
#include "controller/VantorConfig.h"
#include "controller_editor/BlocksPage.h"
#include "controller_editor/ConfigTextPage.h"
#include "controller_editor/GeneralPage.h"
#include "controller_editor/SchemePage.h"
#include "controller_editor/SigGroupsPage.h"
#include "models/ModelBridge.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace vantor {
namespace {

QToolButton *MakeBarButton(const char *name, const QString &text, const QString &hint, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setFixedSize(34, 30);
    QFont font = button->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.6);
    button->setFont(font);
    button->setStyleSheet(
        QStringLiteral("QToolButton { color: #c62828; } QToolButton:disabled { color: #b9a5a5; }"));
    return button;
}

bool DebugPagesWanted()
{
    return qEnvironmentVariable("VANTOR5_DEBUG") == QLatin1String("1");
}

} // namespace

TfmConfVantor::TfmConfVantor(QWidget *parent)
    : TfmBaseMDI(kVantorTag, parent), config_(std::make_unique<TVantorConfig>())
{
    setObjectName(QStringLiteral("fmConfVantor"));

    // Top bar: "+" and "–" at the left, device exchange at the right.
    btnAdd_ = MakeBarButton("btnAdd", QStringLiteral("+"), QStringLiteral("Добавить"), this);
    btnDelete_ = MakeBarButton("btnDelete", QStringLiteral("–"), QStringLiteral("Удалить"), this);
    btnRead_ = new QPushButton(QStringLiteral("Прочитать"), this);
    btnRead_->setObjectName(QStringLiteral("btnRead"));
    btnWrite_ = new QPushButton(QStringLiteral("Записать"), this);
    btnWrite_->setObjectName(QStringLiteral("btnWrite"));
    BindDeviceButtons(*this, btnRead_, btnWrite_);
    btnRead_->setIcon(QIcon(QStringLiteral(":/icons/open.svg")));
    btnWrite_->setIcon(QIcon(QStringLiteral(":/icons/save.svg")));
    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(4, 2, 4, 0);
    bar->setSpacing(2);
    bar->addWidget(btnAdd_);
    bar->addWidget(btnDelete_);
    bar->addStretch();
    bar->addWidget(btnRead_);
    bar->addWidget(btnWrite_);

    pgcMain_ = new QTabWidget(this);
    pgcMain_->setObjectName(QStringLiteral("pgcMain"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addLayout(bar);
    layout->addWidget(pgcMain_, 1);

    general_ = new GeneralPage(*config_);
    sigGroups_ = new SigGroupsPage(*config_);
    blocks_ = new BlocksPage(*config_);
    scheme_ = new SchemePage(*config_);
    configText_ = new ConfigTextPage(
        *config_, [this] { return GetConfigJson(); },
        [this](json::Json root, QString &message) { return LoadConfigJson(std::move(root), message); });
    AddPage(kGeneralPage, general_, QStringLiteral("Общее"));
    AddPage(kSigGroupsPage, sigGroups_, QStringLiteral("Сигнальные группы"));
    AddPage(kBlocksPage, blocks_, QStringLiteral("Блоки и подключения"));
    AddPage(kSchemePage, scheme_, QStringLiteral("Схема"));
    AddPage(kConfigPage, configText_, QStringLiteral("Конфигурация"));
    const bool debug = DebugPagesWanted();
    pgcMain_->setTabVisible(pgcMain_->indexOf(scheme_), debug);
    pgcMain_->setTabVisible(pgcMain_->indexOf(configText_), debug);

    connect(btnAdd_, &QToolButton::clicked, this, &TfmConfVantor::ShowAddMenu);
    connect(btnDelete_, &QToolButton::clicked, this, &TfmConfVantor::DeleteOnPage);
    connect(pgcMain_, &QTabWidget::currentChanged, this, &TfmConfVantor::PageChanged);
    connect(general_, &GeneralPage::nameEdited, this, &TfmConfVantor::UpdateCaption);
    connect(scheme_, &SchemePage::modelTestRequested, this, &TfmConfVantor::RunModelTest);
    auto *showConfig = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_D), this);
    showConfig->setContext(Qt::WidgetWithChildrenShortcut);
    connect(showConfig, &QShortcut::activated, this,
            [this] { pgcMain_->setTabVisible(pgcMain_->indexOf(configText_), true); });

    UpdateCaption();
    MarkUnmodified();
}

TfmConfVantor::~TfmConfVantor()
{
    // The pages refer to the configuration: they go first.
    pgcMain_->blockSignals(true);
    delete pgcMain_;
}

void TfmConfVantor::AddPage(Page page, VantorEditorPage *widget, const QString &caption)
{
    int position = 0;
    for (const auto &[other, existing] : pages_)
        if (other < page)
            ++position;
    pages_[page] = widget;
    pgcMain_->insertTab(position, widget, caption);
    // The other pages never keep showing objects that are gone: they follow at once.
    connect(widget, &VantorEditorPage::configurationEdited, this, [this, widget] {
        for (const auto &[other, page] : pages_)
            if (page != widget)
                page->Refresh();
    });
}

VantorEditorPage *TfmConfVantor::PageWidget(Page page) const
{
    const auto it = pages_.find(page);
    return it == pages_.end() ? nullptr : it->second;
}

void TfmConfVantor::ShowPage(Page page)
{
    if (VantorEditorPage *widget = PageWidget(page)) {
        pgcMain_->setTabVisible(pgcMain_->indexOf(widget), true);
        pgcMain_->setCurrentWidget(widget);
    }
}

bool TfmConfVantor::IsPageVisible(Page page) const
{
    VantorEditorPage *widget = PageWidget(page);
    return widget != nullptr && pgcMain_->isTabVisible(pgcMain_->indexOf(widget));
}

void TfmConfVantor::showEvent(QShowEvent *event)
{
    TfmBaseMDI::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        pgcMain_->setCurrentWidget(general_);
    }
}

std::optional<json::Json> TfmConfVantor::GetConfigJson()
{
    return vantor::GetConfigJson(*config_);
}

bool TfmConfVantor::LoadConfigJson(json::Json root, QString &message)
{
    std::string error;
    std::vector<std::string> warnings;
    if (!vantor::LoadConfigJson(*config_, root, &error, &warnings)) {
        message = QString::fromStdString(error);
        return false;
    }
    RefreshAllPages();
    configText_->ShowDocument(root);
    UpdateCaption();
    if (!warnings.empty()) {
        QString text = QStringLiteral("Часть конфигурации «%1» не удалось прочитать:\n")
                           .arg(QString::fromStdString(config_->Name));
        for (const std::string &warning : warnings)
            text += QStringLiteral("\n• ") + QString::fromStdString(warning);
        text += QStringLiteral("\n\nПри сохранении эти данные будут потеряны.");
        UserDialogs::ShowWarning(this, text);
    }
    return TfmBaseMDI::LoadConfigJson(std::move(root), message);
}

void TfmConfVantor::RefreshAllPages()
{
    for (const auto &[page, widget] : pages_)
        widget->Refresh();
}

void TfmConfVantor::UpdateCaption()
{
    const QString name = QString::fromStdString(config_->Name).trimmed();
    setWindowTitle(name.isEmpty() ? QStringLiteral("Конфигурация без наименования") : name);
}

void TfmConfVantor::PageChanged(int index)
{
    if (auto *page = qobject_cast<VantorEditorPage *>(pgcMain_->widget(index)))
        page->Refresh();
}

void TfmConfVantor::ShowAddMenu()
{
    auto *page = qobject_cast<VantorEditorPage *>(pgcMain_->currentWidget());
    if (page == nullptr)
        return;
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("pmAdd"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    page->FillAddMenu(*menu);
    if (menu->isEmpty()) {
        delete menu;
        return;
    }
    menu->popup(btnAdd_->mapToGlobal(QPoint(0, btnAdd_->height())));
}

void TfmConfVantor::DeleteOnPage()
{
    auto *page = qobject_cast<VantorEditorPage *>(pgcMain_->currentWidget());
    if (page == nullptr)
        return;
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("pmDelete"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    page->FillDeleteMenu(*menu);
    if (menu->isEmpty()) {
        delete menu;
        page->DeleteSelected();
        return;
    }
    menu->popup(btnDelete_->mapToGlobal(QPoint(0, btnDelete_->height())));
}

void TfmConfVantor::RunModelTest()
{
    const ModelLibrary *library = ModelLibrary::Current();
    if (library == nullptr)
        return;
    ModelBridge(*library).RunAutomaticStep(GetConfigJson(), ControllerTime(QDateTime::currentDateTime()));
}

} // namespace vantor
