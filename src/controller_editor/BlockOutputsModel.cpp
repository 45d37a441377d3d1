#include "controller_editor/BlockOutputsModel.h"

#include "app/widgets/CellDelegates.h"
#include "controller/VantorConfig.h"
#include "controller_editor/VantorIcons.h"
#include "controller_editor/WiringMime.h"
#include "models/VantorModels.h"

#include <QColor>
#include <QLocale>
#include <QMimeData>

namespace vantor {
namespace {

QString Decimal(double value)
{
    return widgets::NumberCellDelegate::Format(value, 2, QLocale());
}

// The model output's field behind a number column.
double *NumberField(TVantorModelOutput &output, int column)
{
    switch (column) {
    case BlockOutputsModel::kPowerColumn: return &output.Power;
    case BlockOutputsModel::kShortCurrentColumn: return &output.IShort;
    case BlockOutputsModel::kOffCurrentColumn: return &output.IOff;
    case BlockOutputsModel::kOnCurrentColumn: return &output.IOn;
    case BlockOutputsModel::kOffVoltageColumn: return &output.UOff;
    case BlockOutputsModel::kOnVoltageColumn: return &output.UOn;
    default: return nullptr;
    }
}

std::int32_t *BrightnessField(TVantorModelOutput &output, int column)
{
    if (column == BlockOutputsModel::kDayColumn)
        return &output.DayBright;
    if (column == BlockOutputsModel::kNightColumn)
        return &output.NightBright;
    return nullptr;
}

} // namespace

BlockOutputsModel::BlockOutputsModel(TVantorConfig &config, TController &block, QObject *parent)
    : QAbstractTableModel(parent), config_(config), block_(block)
{}

int BlockOutputsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : block_.Outputs.Count();
}

int BlockOutputsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

TControllerOutput *BlockOutputsModel::OutputAt(const QModelIndex &index) const
{
    return index.isValid() && index.model() == this ? block_.Output(index.row()) : nullptr;
}

QVariant BlockOutputsModel::data(const QModelIndex &index, int role) const
{
    TControllerOutput *output = OutputAt(index);
    if (output == nullptr)
        return {};
    TVantorModelOutput &settings = *output->ModelOutput;
    const bool wired = output->Owner != nullptr;
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        switch (column) {
        case kCaptionColumn: return QString::fromStdString(settings.Name);
        case kPowerColumn:
            if (settings.Power == kPowerSwitched)
                return QStringLiteral("Вкл");
            return settings.Power != 0 ? Decimal(settings.Power) : QString();
        case kDayColumn:
        case kNightColumn: {
            const std::int32_t value = *BrightnessField(settings, column);
            return value != -1 ? QString::number(value) : QString();
        }
        case kRedControlColumn:
        case kGreenControlColumn: return QString();
        case kLampsColumn: return config_.OutputUseCount(output);
        default: {
            const double value = *NumberField(settings, column);
            return value != 0 ? Decimal(value) : QString();
        }
        }
    case Qt::EditRole:
        if (const double *number = NumberField(settings, column))
            return *number;
        if (const std::int32_t *brightness = BrightnessField(settings, column))
            return *brightness;
        return {};
    case Qt::DecorationRole:
        if (column == kCaptionColumn)
            return editor::GroupImage(17);
        if (column == kRedControlColumn && wired && settings.RedControl)
            return editor::RedCheckIcon();
        if (column == kGreenControlColumn && wired && settings.GreenControl)
            return editor::GreenCheckIcon();
        return {};
    case Qt::BackgroundRole:
        if (wired)
            return QColor(0xe6, 0xf4, 0xea); // wired outputs stand out
        return {};
    case Qt::TextAlignmentRole:
        return column == kCaptionColumn ? int(Qt::AlignLeft | Qt::AlignVCenter) : int(Qt::AlignCenter);
    case Qt::ToolTipRole:
        if (wired && column == kCaptionColumn && output->Owner != nullptr)
            return QStringLiteral("Подключен к группе %1")
                .arg(QString::fromStdString(output->Owner->DefaultName()));
        if (!wired && column != kCaptionColumn)
            return QStringLiteral("Параметры задаются у подключенных выходов");
        return {};
    default: return {};
    }
}

bool BlockOutputsModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    TControllerOutput *output = OutputAt(index);
    if (role != Qt::EditRole || output == nullptr || !(flags(index) & Qt::ItemIsEditable))
        return false;
    TVantorModelOutput &settings = *output->ModelOutput;
    bool ok = false;
    if (double *number = NumberField(settings, index.column())) {
        const double typed = value.toDouble(&ok);
        if (!ok || typed == *number)
            return false;
        *number = typed;
    } else if (std::int32_t *brightness = BrightnessField(settings, index.column())) {
        const int typed = value.toInt(&ok);
        if (!ok || typed == *brightness)
            return false;
        *brightness = typed;
    } else {
        return false;
    }
    emit dataChanged(index, index);
    emit edited();
    return true;
}

Qt::ItemFlags BlockOutputsModel::flags(const QModelIndex &index) const
{
    TControllerOutput *output = OutputAt(index);
    if (output == nullptr)
        return Qt::ItemIsDropEnabled;
    Qt::ItemFlags flags =
        Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    const int column = index.column();
    const bool valueColumn = NumberField(*output->ModelOutput, column) != nullptr ||
                             BrightnessField(*output->ModelOutput, column) != nullptr;
    if (output->Owner != nullptr && valueColumn)
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant BlockOutputsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount)
        return {};
    static const char *const kCaptions[] = {"№",      "Мощн",    "День",    "Ночь",     "КК",       "КЗ",
                                            "Ток кз", "Ток вык", "Ток вкл", "Напр вык", "Напр вкл", "Подкл."};
    static const char *const kHints[] = {"Выход блока",
                                         "Мощность нагрузки, Вт («Вкл»: -3)",
                                         "Дневная яркость, %",
                                         "Ночная яркость, %",
                                         "Контроль красного",
                                         "Контроль зеленого",
                                         "Ток короткого замыкания, А",
                                         "Ток выключенной лампы, А",
                                         "Ток включенной лампы, А",
                                         "Напряжение выключенной лампы, В",
                                         "Напряжение включенной лампы, В",
                                         "Число ламп светофоров, подключенных к выходу"};
    if (role == Qt::DisplayRole)
        return QString::fromUtf8(kCaptions[section]);
    if (role == Qt::ToolTipRole)
        return QString::fromUtf8(kHints[section]);
    return {};
}

QStringList BlockOutputsModel::mimeTypes() const
{
    return {editor::kLampMimeType};
}

QMimeData *BlockOutputsModel::mimeData(const QModelIndexList &indexes) const
{
    for (const QModelIndex &index : indexes)
        if (TControllerOutput *output = OutputAt(index))
            return editor::EncodeOutput(config_, *output);
    return nullptr;
}

TControllerOutput *BlockOutputsModel::DropTarget(int row, const QModelIndex &parent) const
{
    // Dropped onto a row (parent is that row), or between rows of the flat list.
    if (parent.isValid())
        return OutputAt(parent);
    return row >= 0 ? block_.Output(row) : nullptr;
}

bool BlockOutputsModel::canDropMimeData(const QMimeData *data, Qt::DropAction, int row, int,
                                        const QModelIndex &parent) const
{
    return DropTarget(row, parent) != nullptr && editor::DecodeLamp(config_, data).has_value();
}

bool BlockOutputsModel::dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                                     const QModelIndex &parent)
{
    if (action == Qt::IgnoreAction || !canDropMimeData(data, action, row, column, parent))
        return false;
    TControllerOutput *output = DropTarget(row, parent);
    const editor::LampRef lamp = *editor::DecodeLamp(config_, data);
    if (lamp.lampPos >= 0) {
        config_.Wire(lamp.head, lamp.lampPos, output);
    } else if (!config_.WireHead(lamp.head, output)) {
        return false; // not enough free outputs from here on: nothing changes
    }
    RefreshAll();
    emit wiringChanged();
    return true;
}

bool BlockOutputsModel::ToggleMonitoring(const QModelIndex &index)
{
    TControllerOutput *output = OutputAt(index);
    if (output == nullptr || output->Owner == nullptr)
        return false;
    TVantorModelOutput &settings = *output->ModelOutput;
    if (index.column() == kRedControlColumn)
        settings.RedControl = !settings.RedControl;
    else if (index.column() == kGreenControlColumn)
        settings.GreenControl = !settings.GreenControl;
    else
        return false;
    emit dataChanged(index, index);
    emit edited();
    return true;
}

void BlockOutputsModel::RefreshAll()
{
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, kColumnCount - 1));
}

} // namespace vantor
