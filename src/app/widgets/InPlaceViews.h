#pragma once
// The editing grids: every list of the program is one of these two views.
//
// A left click on an editable cell (the model's Qt::ItemIsEditable) opens that
// cell's editor over it at once; the editor comes from the delegate set for the
// column or row (CellDelegates.h). Enter, Escape, Tab or a click elsewhere ends
// editing and the value is stored in the model. F2 or typing on the current cell
// opens its editor from the keyboard. Cells without the editable flag open nothing.
//
//   auto *grid = new InPlaceTableView;
//   grid->setModel(model);
//   grid->setItemDelegateForColumn(1, new IntegerCellDelegate(0, 65535, grid));

#include <QTableView>
#include <QTreeView>

namespace vantor::widgets {

class InPlaceTreeView : public QTreeView {
    Q_OBJECT

public:
    explicit InPlaceTreeView(QWidget *parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent *event) override;
};

class InPlaceTableView : public QTableView {
    Q_OBJECT

public:
    explicit InPlaceTableView(QWidget *parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent *event) override;
};

} // namespace vantor::widgets
