#include "devices/pelmar/UReg.h"

#include "app/UserDialogs.h"
#include "app/widgets/CellDelegates.h"
#include "app/widgets/InPlaceViews.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace vantor {

// The rows of a TRegServerList: "IP" (a number, first octet most significant; shown
// as "a.b.c.d"), "Порт", "URL запроса".
class RegServerModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { kIpColumn, kPortColumn, kUrlColumn, kColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void Bind(TRegServerList *list)
    {
        beginResetModel();
        list_ = list;
        endResetModel();
    }
    void Reload()
    {
        beginResetModel();
        endResetModel();
    }
    TRegServerList *list() const { return list_; }

    void Append(const TRegServer &row)
    {
        const int at = rowCount();
        beginInsertRows({}, at, at);
        list_->push_back(row);
        endInsertRows();
    }
    void Remove(int row)
    {
        beginRemoveRows({}, row, row);
        list_->erase(list_->begin() + row);
        endRemoveRows();
    }
    void Replace(TRegServerList rows)
    {
        beginResetModel();
        *list_ = std::move(rows);
        endResetModel();
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() || !list_ ? 0 : static_cast<int>(list_->size());
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : kColumnCount;
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
            return {};
        const TRegServer &row = (*list_)[static_cast<std::size_t>(index.row())];
        switch (index.column()) {
        case kIpColumn:
            return role == Qt::DisplayRole ? QVariant(QString::fromStdString(FormatIPv4(row.ip)))
                                           : QVariant(static_cast<qulonglong>(row.ip));
        case kPortColumn: return static_cast<int>(row.port);
        case kUrlColumn: return QString::fromStdString(row.url);
        default: return {};
        }
    }

    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        if (!index.isValid() || role != Qt::EditRole)
            return false;
        TRegServer &row = (*list_)[static_cast<std::size_t>(index.row())];
        const TRegServer before = row;
        switch (index.column()) {
        case kIpColumn: row.ip = static_cast<std::uint32_t>(value.toULongLong()); break;
        case kPortColumn: row.port = static_cast<std::uint16_t>(std::clamp(value.toInt(), 0, 65535)); break;
        case kUrlColumn: row.url = value.toString().left(TRegServer::kMaxUrlLength).toStdString(); break;
        default: return false;
        }
        if (row == before)
            return true;
        emit dataChanged(index, index);
        emit edited();
        return true;
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                               : Qt::NoItemFlags;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        switch (section) {
        case kIpColumn: return QStringLiteral("IP");
        case kPortColumn: return QStringLiteral("Порт");
        case kUrlColumn: return QStringLiteral("URL запроса");
        default: return {};
        }
    }

signals:
    void edited();

private:
    TRegServerList *list_ = nullptr;
};

TfrmReg::TfrmReg(QWidget *parent)
    : QWidget(parent), model_(new RegServerModel(this)), vtReg_(new widgets::InPlaceTreeView),
      btnRegDef_(new QPushButton(QStringLiteral("Default")))
{
    setObjectName(QStringLiteral("frmReg"));
    vtReg_->setObjectName(QStringLiteral("vtReg"));
    btnRegDef_->setObjectName(QStringLiteral("btnRegDef"));
    btnRegDef_->setToolTip(QStringLiteral("Вернуть два сервера регистрации по умолчанию"));

    vtReg_->setRootIsDecorated(false);
    vtReg_->setUniformRowHeights(true);
    vtReg_->setSelectionMode(QAbstractItemView::SingleSelection);
    vtReg_->setModel(model_);
    vtReg_->setItemDelegateForColumn(RegServerModel::kIpColumn, new widgets::Ipv4CellDelegate(vtReg_));
    vtReg_->setItemDelegateForColumn(RegServerModel::kPortColumn,
                                     new widgets::IntegerCellDelegate(0, 65535, vtReg_));
    auto *url = new widgets::TextCellDelegate(vtReg_);
    url->setMaxLength(TRegServer::kMaxUrlLength);
    vtReg_->setItemDelegateForColumn(RegServerModel::kUrlColumn, url);
    QHeaderView *header = vtReg_->header();
    header->setStretchLastSection(true);
    header->resizeSection(RegServerModel::kIpColumn, 130);
    header->resizeSection(RegServerModel::kPortColumn, 70);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnRegDef_);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(vtReg_);
    layout->addLayout(buttons);

    connect(model_, &RegServerModel::edited, this, &TfrmReg::edited);
    connect(btnRegDef_, &QPushButton::clicked, this, &TfrmReg::AskAndSetDefault);
}

TfrmReg::~TfrmReg() = default;

void TfrmReg::Bind(TRegServerList &list)
{
    model_->Bind(&list);
}

void TfrmReg::Reload()
{
    model_->Reload();
}

void TfrmReg::AddRow(const TRegServer &row)
{
    model_->Append(row);
    const QModelIndex added = model_->index(model_->rowCount() - 1, RegServerModel::kIpColumn);
    vtReg_->setCurrentIndex(added);
    vtReg_->scrollTo(added);
    emit edited();
}

void TfrmReg::Clear()
{
    model_->Replace({});
    emit edited();
}

void TfrmReg::SetDefault()
{
    model_->Replace(DefaultRegServers());
    emit edited();
}

bool TfrmReg::HasRows() const
{
    return model_->rowCount() > 0;
}

void TfrmReg::DeleteSelectedOrLast()
{
    if (!HasRows())
        return;
    const QModelIndexList selected = vtReg_->selectionModel()->selectedRows();
    int row = model_->rowCount() - 1;
    if (!selected.isEmpty())
        row = std::min_element(selected.begin(), selected.end())->row();
    model_->Remove(row);
    emit edited();
}

void TfrmReg::AskAndSetDefault()
{
    // Replacing a list the engineer has filled is asked first; the defaults need no question.
    const TRegServerList *list = model_->list();
    if (list && !list->empty() && *list != DefaultRegServers() &&
        UserDialogs::Ask(this, QStringLiteral("Заменить список серверов регистрации двумя серверами по "
                                              "умолчанию?")) != QMessageBox::Yes)
        return;
    SetDefault();
}

} // namespace vantor

#include "UReg.moc"
