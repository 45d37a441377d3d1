#include "app/widgets/EmptyText.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QLabel>

namespace vantor::widgets {
namespace {

class EmptyTextLabel : public QLabel {
public:
    EmptyTextLabel(QAbstractItemView &view, const QString &text) : QLabel(text, view.viewport()), view_(view)
    {
        setObjectName(QStringLiteral("lblEmptyText"));
        setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        setForegroundRole(QPalette::PlaceholderText);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        view.viewport()->installEventFilter(this);
        if (QAbstractItemModel *model = view.model()) {
            for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
                connect(model, signal, this, &EmptyTextLabel::Update);
            connect(model, &QAbstractItemModel::modelReset, this, &EmptyTextLabel::Update);
            connect(model, &QAbstractItemModel::layoutChanged, this, &EmptyTextLabel::Update);
        }
        Update();
    }

protected:
    // The viewport is this label's parent. It is asked through the parent rather than
    // the view because the viewport still sends events while the view is being
    // destroyed, when the view is no longer a scroll area.
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (object == parentWidget() && event->type() == QEvent::Resize)
            Place();
        return QLabel::eventFilter(object, event);
    }

private:
    void Update()
    {
        const QAbstractItemModel *model = view_.model();
        setVisible(model == nullptr || model->rowCount() == 0);
        Place();
    }

    void Place()
    {
        // A little below the top, as lists show it.
        setGeometry(0, 12, parentWidget()->width(), sizeHint().height());
    }

    QAbstractItemView &view_;
};

} // namespace

void SetEmptyText(QAbstractItemView &view, const QString &text)
{
    if (auto *existing = view.viewport()->findChild<QLabel *>(QStringLiteral("lblEmptyText")))
        delete existing;
    new EmptyTextLabel(view, text);
}

} // namespace vantor::widgets
