#include "devices/pelmar/DetectorEditor.h"

#include "app/widgets/CellDelegates.h"
#include "app/widgets/InPlaceViews.h"
#include "devices/pelmar/BodTreeModel.h"
#include "devices/pelmar/DetectorLook.h"
#include "devices/pelmar/PelmarConfig.h"
#include "devices/pelmar/PelmarWidgets.h"
#include "devices/pelmar/SensorTrendsModel.h"

#include <QApplication>
#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace vantor {
namespace {

// Numbers of BODs (0..31) and sensors (1..8) share a column: the editor takes the
// range of its row from the model.
class RowRangeDelegate : public widgets::IntegerCellDelegate {
public:
    explicit RowRangeDelegate(QObject *parent)
        : IntegerCellDelegate(0, TSensorsSettings::kBodNumbers - 1, parent)
    {}
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        QWidget *editor = IntegerCellDelegate::createEditor(parent, option, index);
        auto *spin = qobject_cast<QSpinBox *>(editor);
        if (!spin)
            spin = editor->findChild<QSpinBox *>();
        if (spin)
            spin->setRange(index.data(BodTreeModel::kMinimumRole).toInt(),
                           index.data(BodTreeModel::kMaximumRole).toInt());
        return editor;
    }
};

void SetUpList(widgets::InPlaceTreeView &view)
{
    view.setRootIsDecorated(false);
    view.setUniformRowHeights(true);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setAllColumnsShowFocus(true);
    view.header()->setStretchLastSection(true);
}

} // namespace

DetectorEditor::DetectorEditor(PelmarConfig &config, QWidget *parent)
    : QWidget(parent), config_(config), pgcDetector_(new QTabWidget), vtTrends_(new widgets::InPlaceTreeView),
      vtBlocks_(new widgets::InPlaceTreeView), trends_(new SensorTrendsModel(config.Sensors, this)),
      blocks_(new BodTreeModel(config.Sensors, this)), edDetName_(new QLineEdit), pmAddSens_(new QMenu(this)),
      miAddBod_(pmAddSens_->addAction(QStringLiteral("Добавить БОД"))),
      miAddSensor_(pmAddSens_->addAction(QStringLiteral("Добавить датчик (детектор)"))),
      pmTrends_(new QMenu(this))
{
    setObjectName(QStringLiteral("frmDetector"));
    pgcDetector_->setObjectName(QStringLiteral("pgcDetector"));
    vtTrends_->setObjectName(QStringLiteral("vtTrends"));
    vtBlocks_->setObjectName(QStringLiteral("vtBlocks"));
    edDetName_->setObjectName(QStringLiteral("edDetName"));
    pmAddSens_->setObjectName(QStringLiteral("pmAddSens"));
    miAddBod_->setObjectName(QStringLiteral("miAddBod"));
    miAddSensor_->setObjectName(QStringLiteral("miAddSensor"));
    pmTrends_->setObjectName(QStringLiteral("pmTrends"));

    SetUpList(*vtTrends_);
    vtTrends_->setModel(trends_);
    vtTrends_->setItemDelegateForColumn(SensorTrendsModel::kNameColumn,
                                        new widgets::TextCellDelegate(vtTrends_));
    vtTrends_->header()->resizeSection(SensorTrendsModel::kNumberColumn, 60);
    // Names are short: on a wide window the lists keep their cells together.
    vtTrends_->setMaximumWidth(560);

    SetUpList(*vtBlocks_);
    vtBlocks_->setRootIsDecorated(true);
    vtBlocks_->setModel(blocks_);
    vtBlocks_->setItemDelegateForColumn(BodTreeModel::kNumberColumn, new RowRangeDelegate(vtBlocks_));
    vtBlocks_->setItemDelegateForColumn(BodTreeModel::kNameColumn, new widgets::TextCellDelegate(vtBlocks_));
    auto *distance = new widgets::IntegerCellDelegate(-1000, 1000, vtBlocks_);
    distance->setSuffix(QStringLiteral(" м"));
    distance->setBlankValue(0);
    vtBlocks_->setItemDelegateForColumn(BodTreeModel::kDistanceColumn, distance);
    QHeaderView *header = vtBlocks_->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(BodTreeModel::kNameColumn, QHeaderView::Stretch);
    header->resizeSection(BodTreeModel::kNumberColumn, 130);
    header->resizeSection(BodTreeModel::kDistanceColumn, 220);
    vtBlocks_->setMaximumWidth(820);

    auto *general = new QWidget;
    general->setObjectName(QStringLiteral("tsDetGeneral"));
    auto *form = new QFormLayout(general);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    edDetName_->setMinimumWidth(320);
    edDetName_->setMaxLength(kPelmarTextLength);
    form->addRow(QStringLiteral("Наименование :"), edDetName_);

    pgcDetector_->addTab(vtTrends_, QStringLiteral("Направления"));
    pgcDetector_->addTab(vtBlocks_, QStringLiteral("Блоки обработки детекторов (БОД)"));
    pgcDetector_->addTab(general, QStringLiteral("Общие"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pgcDetector_);

    config_.Sensors.SetOnChange([this] { emit edited(); });
    connect(edDetName_, &QLineEdit::textEdited, this, [this](const QString &text) {
        config_.DetectorName = text.toStdString();
        emit edited();
    });
    connect(pgcDetector_, &QTabWidget::currentChanged, this, [this] {
        EndEditing();
        emit actionsChanged();
    });
    connect(vtTrends_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &DetectorEditor::actionsChanged);
    connect(vtBlocks_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &DetectorEditor::actionsChanged);
    connect(trends_, &QAbstractItemModel::dataChanged, this, [this] { blocks_->Refresh(); });
    connect(vtBlocks_, &QAbstractItemView::clicked, this, &DetectorEditor::OpenTrendMenu);
    connect(vtBlocks_, &QAbstractItemView::activated, this, &DetectorEditor::OpenTrendMenu);
    // Re-sorting waits until the number's editor has closed.
    connect(
        blocks_, &BodTreeModel::numberEdited, this,
        [this] {
            const QModelIndex current = vtBlocks_->currentIndex();
            ReloadBlocks(blocks_->Bod(current), blocks_->Sensor(current), current.column());
        },
        Qt::QueuedConnection);
    connect(miAddBod_, &QAction::triggered, this, &DetectorEditor::AddBod);
    connect(miAddSensor_, &QAction::triggered, this, &DetectorEditor::AddSensor);
    Reload();
}

DetectorEditor::~DetectorEditor()
{
    config_.Sensors.SetOnChange({});
}

void DetectorEditor::Reload()
{
    EndEditing();
    edDetName_->setMaxLength(std::max<int>(
        kPelmarTextLength, static_cast<int>(QString::fromStdString(config_.DetectorName).size())));
    edDetName_->setText(QString::fromStdString(config_.DetectorName));
    edDetName_->setCursorPosition(0);
    trends_->Reload();
    ReloadBlocks(nullptr, nullptr);
    emit actionsChanged();
}

int DetectorEditor::CurrentPage() const
{
    return pgcDetector_->currentIndex();
}

TBOD *DetectorEditor::FocusedBod() const
{
    return blocks_->BodOf(vtBlocks_->currentIndex());
}

bool DetectorEditor::CanAdd() const
{
    const TSensorsSettings &s = config_.Sensors;
    if (CurrentPage() == kTrendsPage)
        return s.CanAddTrend();
    const TBOD *bod = FocusedBod();
    return s.CanAddBod() || (bod && bod->CanAddSensor());
}

void DetectorEditor::Add(QWidget *anchor)
{
    if (!CanAdd())
        return;
    if (CurrentPage() == kTrendsPage) {
        AddTrend();
        return;
    }
    const TBOD *bod = FocusedBod();
    miAddBod_->setEnabled(config_.Sensors.CanAddBod());
    miAddSensor_->setEnabled(CurrentPage() == kBlocksPage && bod && bod->CanAddSensor());
    const QPoint at = anchor ? anchor->mapToGlobal(QPoint(0, anchor->height())) : QCursor::pos();
    pmAddSens_->popup(at);
}

bool DetectorEditor::CanDelete() const
{
    switch (CurrentPage()) {
    case kTrendsPage: return config_.Sensors.CanRemoveTrend(trends_->Trend(vtTrends_->currentIndex()));
    case kBlocksPage: {
        const QModelIndex current = vtBlocks_->currentIndex();
        if (blocks_->Bod(current))
            return true;
        const TSensor *sensor = blocks_->Sensor(current);
        return sensor && sensor->Owner()->CanRemoveSensor(sensor);
    }
    default: return false;
    }
}

void DetectorEditor::Delete()
{
    if (!CanDelete())
        return;
    EndEditing();
    if (CurrentPage() == kTrendsPage)
        DeleteTrend();
    else
        DeleteBlockRow();
    emit actionsChanged();
}

void DetectorEditor::AddTrend()
{
    if (!config_.Sensors.CanAddTrend())
        return;
    EndEditing();
    TSensorTrend *trend = config_.Sensors.AddTrend();
    trends_->Reload();
    Focus(vtTrends_, trends_->IndexOf(trend, SensorTrendsModel::kNameColumn), true);
    emit actionsChanged();
}

void DetectorEditor::AddBod()
{
    if (!config_.Sensors.CanAddBod())
        return;
    EndEditing();
    TBOD *bod = config_.Sensors.AddBod();
    bod->AddSensor(); // a BOD always starts with one sensor
    pgcDetector_->setCurrentIndex(kBlocksPage);
    ReloadBlocks(bod, nullptr, BodTreeModel::kNameColumn, true);
    emit actionsChanged();
}

void DetectorEditor::AddSensor()
{
    TBOD *bod = FocusedBod();
    if (CurrentPage() != kBlocksPage || !bod || !bod->CanAddSensor())
        return;
    EndEditing();
    TSensor *sensor = bod->AddSensor();
    ReloadBlocks(bod, sensor);
    emit actionsChanged();
}

void DetectorEditor::DeleteTrend()
{
    const int row = vtTrends_->currentIndex().row();
    if (!config_.Sensors.RemoveTrend(trends_->Trend(vtTrends_->currentIndex())))
        return;
    trends_->Reload();
    blocks_->Refresh(); // positions shown with sensors' directions moved up
    const int count = trends_->rowCount();
    if (count > 0)
        Focus(vtTrends_, trends_->index(std::min(row, count - 1), SensorTrendsModel::kNameColumn), false);
}

void DetectorEditor::DeleteBlockRow()
{
    const QModelIndex current = vtBlocks_->currentIndex();
    const QModelIndex parent = current.parent();
    const int rows = blocks_->rowCount(parent);
    // Focus goes to the next sibling, else the previous one, else the parent.
    const QModelIndex next = current.row() + 1 < rows ? blocks_->index(current.row() + 1, 0, parent)
                             : current.row() > 0      ? blocks_->index(current.row() - 1, 0, parent)
                                                      : parent;
    TBOD *focusBod = blocks_->Bod(next);
    TSensor *focusSensor = blocks_->Sensor(next);
    // The row's object is freed below while the tree still shows it, and the change it
    // announces asks for the focused block: nothing may be focused by then.
    vtBlocks_->setCurrentIndex(QModelIndex());
    if (TSensor *sensor = blocks_->Sensor(current))
        sensor->Owner()->RemoveSensor(sensor);
    else
        config_.Sensors.RemoveBod(blocks_->Bod(current));
    ReloadBlocks(focusBod, focusSensor);
    trends_->Refresh(); // directions may no longer be in use
}

void DetectorEditor::ReloadBlocks(TBOD *bod, TSensor *sensor, int column, bool edit)
{
    blocks_->Reload();
    vtBlocks_->expandAll();
    const QModelIndex target = sensor ? blocks_->IndexOf(sensor, column) : blocks_->IndexOf(bod, column);
    if (target.isValid())
        Focus(vtBlocks_, target, edit);
    trends_->Refresh();
}

void DetectorEditor::Focus(widgets::InPlaceTreeView *view, const QModelIndex &index, bool edit)
{
    view->setCurrentIndex(index);
    view->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view->scrollTo(index);
    if (!edit)
        return;
    // Opened once the menu or button that asked for it has finished with the focus.
    QTimer::singleShot(0, view, [view, cell = QPersistentModelIndex(index)] {
        if (!cell.isValid() || !view->isVisible())
            return;
        view->setFocus();
        view->edit(cell);
    });
}

void DetectorEditor::OpenTrendMenu(const QModelIndex &cell)
{
    TSensor *sensor = blocks_->Sensor(cell);
    if (!sensor || cell.column() != BodTreeModel::kNameColumn)
        return;
    const TSensorsSettings &s = config_.Sensors;
    pmTrends_->clear();
    const auto choose = [this, sensor](TSensorTrend *trend) {
        sensor->SetDirection(trend);
        blocks_->Refresh();
        trends_->Refresh();
        emit actionsChanged();
    };
    QAction *none = pmTrends_->addAction(NoneText());
    none->setCheckable(true);
    none->setChecked(!sensor->Direction());
    none->setEnabled(sensor->Direction() != nullptr);
    connect(none, &QAction::triggered, this, [choose] { choose(nullptr); });
    pmTrends_->addSeparator();
    for (int i = 0; i < s.TrendCount(); ++i) {
        TSensorTrend *trend = s.Trend(i);
        QAction *item = pmTrends_->addAction(
            QStringLiteral("%1 [#%2]").arg(QString::fromStdString(trend->Name())).arg(i + 1));
        item->setCheckable(true);
        item->setChecked(sensor->Direction() == trend);
        item->setEnabled(sensor->Direction() != trend);
        connect(item, &QAction::triggered, this, [choose, trend] { choose(trend); });
    }
    const QRect rect = vtBlocks_->visualRect(cell);
    pmTrends_->popup(vtBlocks_->viewport()->mapToGlobal(rect.bottomLeft()));
}

void DetectorEditor::EndEditing()
{
    // An open cell editor stores its value when it loses the focus.
    QWidget *focus = QApplication::focusWidget();
    if (focus && (vtTrends_->isAncestorOf(focus) || vtBlocks_->isAncestorOf(focus)) && focus != vtTrends_ &&
        focus != vtBlocks_)
        focus->clearFocus();
}

} // namespace vantor
