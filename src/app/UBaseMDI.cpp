#include "app/UBaseMDI.h"

#include "app/UserDialogs.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCloseEvent>
#include <QEvent>

namespace vantor {

TfmBaseMDI::TfmBaseMDI(DeviceTag tag, QWidget *parent) : QWidget(parent), tag_(tag)
{
    setObjectName(QStringLiteral("fmBaseMDI"));
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    const QString name = DeviceName(tag);
    setWindowTitle(name.isEmpty() ? QStringLiteral("Новая конфигурация") : name);
}

TfmBaseMDI::~TfmBaseMDI() = default;

std::optional<json::Json> TfmBaseMDI::GetConfigJson()
{
    return std::nullopt;
}

bool TfmBaseMDI::LoadConfigJson(json::Json root, QString &message)
{
    message.clear();
    kept_ = std::move(root);
    MarkUnmodified();
    return true;
}

void TfmBaseMDI::FinishEditing()
{
    QWidget *focus = QApplication::focusWidget();
    if (!focus || !isAncestorOf(focus))
        return;
    QAbstractSpinBox *spin = nullptr;
    // An in-place editor is a child of its view's viewport.
    for (QWidget *editor = focus; editor && editor != this; editor = editor->parentWidget()) {
        if (!spin)
            spin = qobject_cast<QAbstractSpinBox *>(editor);
        QWidget *viewport = editor->parentWidget();
        auto *view = viewport ? qobject_cast<QAbstractItemView *>(viewport->parentWidget()) : nullptr;
        if (view && view->viewport() == viewport) {
            // commitData is a protected slot: the view finds the editor's cell itself
            // and does nothing for a widget that is not one of its editors.
            QMetaObject::invokeMethod(view, "commitData", Qt::DirectConnection, Q_ARG(QWidget *, editor));
            return;
        }
    }
    // A spin box that takes its value only when left (no keyboard tracking) takes it now.
    if (spin)
        spin->interpretText();
}

void TfmBaseMDI::MarkUnmodified()
{
    saved_ = GetConfigJson();
}

bool TfmBaseMDI::IsModified()
{
    const auto current = GetConfigJson();
    return current && current != saved_;
}

void TfmBaseMDI::relayedMessage(qintptr, qintptr)
{}

void TfmBaseMDI::closeEvent(QCloseEvent *event)
{
    FinishEditing();
    if (IsModified()) {
        const auto answer = UserDialogs::Ask(
            this, QStringLiteral("Конфигурация «%1» изменена.\nСохранить изменения?").arg(windowTitle()),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
        const bool keepOpen = answer == QMessageBox::Cancel ||
                              (answer == QMessageBox::Yes && !(saveHandler_ && saveHandler_(*this)));
        if (keepOpen) {
            event->ignore();
            return;
        }
    }
    event->accept();
    kept_.reset();
    if (!closedSent_) {
        closedSent_ = true;
        emit childClosed(this);
    }
}

void TfmBaseMDI::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowTitleChange)
        emit childCaptionChanged(this);
    QWidget::changeEvent(event);
}

} // namespace vantor
