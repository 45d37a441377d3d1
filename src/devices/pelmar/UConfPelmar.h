#pragma once
// TfmConfPelmar: the configuration window of the Pelmar-3 communication and
// detector-controller unit ("Конфигурация Pelmar").
//
// The window owns one PelmarConfig; every page edits it directly, so GetConfigJson
// is the document writer's output and LoadConfigJson the reader's, after which the
// pages are refreshed. Tabs follow the switches of "Общие": "GPRS", "Ethernet" and
// "Контроллер датчиков" show while their protocol or module is used, "СО / КНО"
// while there are traffic-light objects. "+" and "–" act on the shown tab's list.

#include "app/UBaseMDI.h"
#include "devices/pelmar/PelmarConfig.h"
#include "devices/pelmar/PelmarIdSource.h"

#include <memory>
#include <vector>

class QAction;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace vantor {

namespace widgets {
class IdentifierTableModel;
class InPlaceTreeView;
} // namespace widgets

class DetectorEditor;
class PelmarEthernetPage;
class PelmarGeneralPage;
class PelmarGprsPage;
class TfrmPelmarSO;
class TfrmReg;

class TfmConfPelmar : public TfmBaseMDI {
    Q_OBJECT

public:
    // Tabs of pgcMain, in order.
    enum Tab { kGeneralTab, kGprsTab, kEthernetTab, kIdsTab, kObjectsTab, kDetectorTab };

    explicit TfmConfPelmar(QWidget *parent = nullptr);
    ~TfmConfPelmar() override;

    std::optional<json::Json> GetConfigJson() override;
    bool LoadConfigJson(json::Json root, QString &message) override;

    const PelmarConfig &config() const { return config_; }
    DetectorEditor *detectorEditor() const { return detector_; }
    widgets::IdentifierTableModel *idModel() const { return ids_; }

private:
    QWidget *BuildTopPanel();
    QWidget *BuildIdsTab();
    QWidget *BuildObjectsTab();
    // Controls from the configuration (after a document was read).
    void RefreshAll();
    // A page changed the configuration: tabs, object pages, identifier rows, actions.
    void OnEdited();
    void ApplyTabRules();
    // Adds or removes object pages at the end until they match the object count;
    // rebuild starts from none.
    void SyncObjectPages(bool rebuild);
    void UpdateActions();
    TfrmReg *CurrentRegFrame() const;
    void Plus();
    void Minus();

    PelmarConfig config_;
    PelmarIdSource idSource_;
    bool loading_ = false;
    int shownObjects_ = -1;
    bool shownDetector_ = false;

    QAction *actPlus_;
    QAction *actMinus_;
    QToolButton *btnAdd_;
    QToolButton *btnDel_;
    QPushButton *btnRead_;
    QPushButton *btnWrite_;
    QTabWidget *pgcMain_;
    PelmarGeneralPage *general_;
    PelmarGprsPage *gprs_;
    PelmarEthernetPage *ethernet_;
    widgets::InPlaceTreeView *vtIDs_;
    widgets::IdentifierTableModel *ids_;
    QTabWidget *pgcSO_;
    std::vector<TfrmPelmarSO *> soPages_;
    DetectorEditor *detector_;
};

} // namespace vantor
