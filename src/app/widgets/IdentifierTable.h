#pragma once
// The identifier table of the device windows (`vtIDs`): group rows ("Собственный ID",
// "ID приложения" ...) that cannot be collapsed, each holding entry rows with the
// columns "Идентификаторы" (caption), "Dec" and "Hex". Values are unsigned 16-bit;
// "Dec" is edited with a decimal spin editor, "Hex" with a hexadecimal one, and every
// change of either editor is stored at once (the other column follows while typing).
//
// The window keeps its entries where it likes and shows them through an
// IdentifierSource; the model asks it for everything and never caches.

#include <QAbstractItemModel>

namespace vantor::widgets {

class InPlaceTreeView;

class IdentifierSource {
public:
    virtual ~IdentifierSource() = default;
    virtual int GroupCount() const = 0;
    virtual QString GroupCaption(int group) const = 0;
    virtual int EntryCount(int group) const = 0; // the entries shown (hidden ones left out)
    virtual QString EntryCaption(int group, int entry) const = 0;
    virtual int EntryValue(int group, int entry) const = 0;
    virtual void SetEntryValue(int group, int entry, int value) = 0;
};

class IdentifierTableModel : public QAbstractItemModel {
    Q_OBJECT

public:
    enum Column { kCaptionColumn, kDecColumn, kHexColumn, kColumnCount };

    // hexDigits: the least number of digits of the "Hex" column (1 for "%x", 2 for "%.2x").
    IdentifierTableModel(IdentifierSource &source, int hexDigits, QObject *parent = nullptr);

    // The source's groups or entries changed in number: rebuild the rows.
    void Reload();
    // Only values changed: repaint them.
    void RefreshValues();

    int hexDigits() const { return hexDigits_; }

    // Row index of an entry (column 0), for tests and selection.
    QModelIndex EntryIndex(int group, int entry, int column = kCaptionColumn) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // An entry's value was edited in the table.
    void entryEdited(int group, int entry);

private:
    IdentifierSource &source_;
    int hexDigits_;
};

// Widest an identifier table grows (pixels): captions are short, the numbers stay
// beside them on a wide window.
inline constexpr int kIdentifierViewMaximumWidth = 560;

// Sets a tree up for the model: the editors of "Dec" and "Hex", groups expanded and
// not collapsible, sensible column widths, at most kIdentifierViewMaximumWidth wide.
void SetUpIdentifierView(InPlaceTreeView &view, IdentifierTableModel &model);

} // namespace vantor::widgets
