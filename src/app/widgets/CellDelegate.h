#pragma once
// The base of the in-place cell editors of the editing grids (InPlaceViews.h).
//
// An editor opens over the cell; Enter, Escape, Tab or leaving the editor ends
// editing, and the value is stored in the model whenever the editor closes, Escape
// included (the grids have no "cancel": what was typed is kept). With
// setCommitEveryChange(true) each change of the editor's value is also stored at
// once, so other cells showing the same value follow while the editor is still open.
//
// Editors read the model's Qt::EditRole and write Qt::EditRole. Each delegate shows
// a value of its own kind (a number, a time, ...) in its display format, and any
// text (a model that formats its own cells) as it is.

#include <QStyledItemDelegate>

namespace vantor::widgets {

class CellDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit CellDelegate(QObject *parent = nullptr);

    void setCommitEveryChange(bool on) { commitEveryChange_ = on; }
    bool commitEveryChange() const { return commitEveryChange_; }

    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;

    // The text a cell shows for a value that is not text already; the base shows the
    // value as Qt converts it to text.
    virtual QString FormatValue(const QVariant &value, const QModelIndex &index) const;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

    // Stores the editor's value whenever `signal` fires, while commit-every-change
    // is on. Call from createEditor.
    template <class Editor, class... Args>
    void CommitOnChange(Editor *editor, void (Editor::*signal)(Args...)) const
    {
        connect(editor, signal, this, [this, editor] {
            if (commitEveryChange_ && !loading_)
                emit const_cast<CellDelegate *>(this)->commitData(editor);
        });
    }

    // Subclasses fill the editor inside this guard, so that filling is not taken
    // for a change by the user.
    class LoadingGuard {
    public:
        explicit LoadingGuard(const CellDelegate &delegate) : delegate_(delegate)
        {
            delegate_.loading_ = true;
        }
        ~LoadingGuard() { delegate_.loading_ = false; }
        LoadingGuard(const LoadingGuard &) = delete;
        LoadingGuard &operator=(const LoadingGuard &) = delete;

    private:
        const CellDelegate &delegate_;
    };

    // Stores the editor's value and closes it (from the editor's own signals).
    void CommitAndClose(QWidget *editor);

    bool eventFilter(QObject *object, QEvent *event) override;

private:
    bool commitEveryChange_ = false;
    mutable bool loading_ = false;
};

} // namespace vantor::widgets
