#pragma once
// The detector module's editor: the tab "Контроллер датчиков" of the Pelmar-3 window
// with its sub-tabs "Направления" (vtTrends), "Блоки обработки детекторов (БОД)"
// (vtBlocks) and "Общие" (the module's name).
//
// The window routes its "+" and "–" here while this tab is shown and asks here
// whether they are enabled. On the direction sub-tab "+" adds a direction; elsewhere
// it opens pmAddSens ("Добавить БОД", "Добавить датчик (детектор)") under the button.
// A click on a sensor's direction opens pmTrends under the cell.

#include <QWidget>

class QAction;
class QLineEdit;
class QMenu;
class QModelIndex;
class QTabWidget;

namespace vantor {

namespace widgets {
class InPlaceTreeView;
}

class BodTreeModel;
class PelmarConfig;
class SensorTrendsModel;
class TBOD;
class TSensor;

class DetectorEditor : public QWidget {
    Q_OBJECT

public:
    enum Page { kTrendsPage, kBlocksPage, kGeneralPage };

    explicit DetectorEditor(PelmarConfig &config, QWidget *parent = nullptr);
    ~DetectorEditor() override;

    // After the module was replaced (a document was read).
    void Reload();

    bool CanAdd() const;
    // "+": anchor is the button the menu opens under.
    void Add(QWidget *anchor);
    bool CanDelete() const;
    // "–": the focused direction, BOD (with its sensors) or sensor.
    void Delete();

    // The direction menu of a sensor's direction cell, opened under it.
    void OpenTrendMenu(const QModelIndex &cell);

    QMenu *addMenu() const { return pmAddSens_; }
    QMenu *trendMenu() const { return pmTrends_; }

signals:
    // The module changed.
    void edited();
    // What "+" and "–" may do changed (focus, sub-tab, lists).
    void actionsChanged();

private:
    int CurrentPage() const;
    // The focused BOD, or the BOD of the focused sensor.
    TBOD *FocusedBod() const;
    void AddTrend();
    void AddBod();
    void AddSensor();
    void DeleteTrend();
    void DeleteBlockRow();
    // Re-sorts the BOD list and focuses the BOD or sensor (editing its cell in column).
    void ReloadBlocks(TBOD *bod, TSensor *sensor, int column = 0, bool edit = false);
    void Focus(widgets::InPlaceTreeView *view, const QModelIndex &index, bool edit);
    void EndEditing();

    PelmarConfig &config_;
    QTabWidget *pgcDetector_;
    widgets::InPlaceTreeView *vtTrends_;
    widgets::InPlaceTreeView *vtBlocks_;
    SensorTrendsModel *trends_;
    BodTreeModel *blocks_;
    QLineEdit *edDetName_;
    QMenu *pmAddSens_;
    QAction *miAddBod_;
    QAction *miAddSensor_;
    QMenu *pmTrends_;
};

} // namespace vantor
