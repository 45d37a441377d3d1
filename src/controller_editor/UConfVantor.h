#pragma once
// TfmConfVantor: the configuration window of the Vantor-5 traffic-light controller.
//
// The window owns one TVantorConfig and shows it on its pages, in this order:
// "Общее", "Сигнальные группы", "Блоки и подключения", "Направления", "Матрица
// конфликтов", "Триггеры", "Объекты", "Схема" and "Конфигурация". Pages edit the
// configuration directly; GetConfigJson and LoadConfigJson are the document writer
// and reader. The top bar's "+" and "–" act on the current page, "Прочитать" and
// "Записать" exchange the configuration with a device. "Схема" and "Конфигурация"
// are for developers: shown with VANTOR5_DEBUG=1, and Ctrl+D shows "Конфигурация".

#include "app/UBaseMDI.h"

#include <map>
#include <memory>

class QTabWidget;
class QToolButton;
class QPushButton;

namespace vantor {

class BlocksPage;
class ConfigTextPage;
class GeneralPage;
class SchemePage;
class SigGroupsPage;
class TVantorConfig;
class VantorEditorPage;

class TfmConfVantor : public TfmBaseMDI {
    Q_OBJECT

public:
    // The pages, in the order the window shows them.
    enum Page {
        kGeneralPage,
        kSigGroupsPage,
        kBlocksPage,
        kDirectionsPage,
        kConflictsPage,
        kTriggersPage,
        kObjectsPage,
        kSchemePage,
        kConfigPage,
    };

    explicit TfmConfVantor(QWidget *parent = nullptr);
    ~TfmConfVantor() override;

    // {"vantor5": {...}} of the configuration as it is now.
    std::optional<json::Json> GetConfigJson() override;
    // Replaces the configuration with root["vantor5"]; fails with "Некорректная
    // конфигурация" (and changes nothing) without it. Parts of the document that
    // could not be taken over are reported in a warning box.
    bool LoadConfigJson(json::Json root, QString &message) override;

    TVantorConfig &Config() const { return *config_; }

    // Inserts a page at its place in the order. Pages of later editors come in here.
    void AddPage(Page page, VantorEditorPage *widget, const QString &caption);
    VantorEditorPage *PageWidget(Page page) const;
    void ShowPage(Page page);
    bool IsPageVisible(Page page) const;

    // "TntButton1": one automatic step of the model library on this configuration.
    void RunModelTest();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void UpdateCaption();
    void ShowAddMenu();
    void DeleteOnPage();
    void PageChanged(int index);
    void RefreshAllPages();

    std::unique_ptr<TVantorConfig> config_;
    QTabWidget *pgcMain_;
    QToolButton *btnAdd_;
    QToolButton *btnDelete_;
    QPushButton *btnRead_;
    QPushButton *btnWrite_;
    std::map<Page, VantorEditorPage *> pages_;
    GeneralPage *general_;
    SigGroupsPage *sigGroups_;
    BlocksPage *blocks_;
    SchemePage *scheme_;
    ConfigTextPage *configText_;
    bool shownOnce_ = false;
};

} // namespace vantor
