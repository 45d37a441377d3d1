#include "app/UserDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QWidget>

namespace vantor {

ScriptedDialogs *ScriptedDialogs::active_ = nullptr;

namespace {

// The folder of the last file chosen in any file dialog, for the next one.
QString &LastDirectory()
{
    static QString directory;
    return directory;
}

QMessageBox::StandardButton ShowBox(QWidget *parent, QMessageBox::Icon icon, const QString &caption,
                                    const QString &text, QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, caption, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    const int result = box.exec();
    return static_cast<QMessageBox::StandardButton>(result);
}

} // namespace

QString UserDialogs::ErrorCaption()
{
    return QStringLiteral("Ошибка");
}

QString UserDialogs::QuestionCaption()
{
    return QStringLiteral("Подтверждение");
}

void UserDialogs::ShowError(QWidget *parent, const QString &text, const QString &caption, bool raise)
{
    const QString title = caption.isEmpty() ? ErrorCaption() : caption;
    if (ScriptedDialogs *script = ScriptedDialogs::active_) {
        script->shown_.push_back({ScriptedDialogs::Kind::Error, title, text, {}, {}});
        return;
    }
    if (raise && parent) {
        parent->window()->raise();
        parent->window()->activateWindow();
    }
    ShowBox(parent, QMessageBox::Critical, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

void UserDialogs::ShowWarning(QWidget *parent, const QString &text, const QString &caption)
{
    const QString title = caption.isEmpty() ? QStringLiteral("Предупреждение") : caption;
    if (ScriptedDialogs *script = ScriptedDialogs::active_) {
        script->shown_.push_back({ScriptedDialogs::Kind::Warning, title, text, {}, {}});
        return;
    }
    ShowBox(parent, QMessageBox::Warning, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

void UserDialogs::ShowInformation(QWidget *parent, const QString &text, const QString &caption)
{
    const QString title = caption.isEmpty() ? QStringLiteral("Информация") : caption;
    if (ScriptedDialogs *script = ScriptedDialogs::active_) {
        script->shown_.push_back({ScriptedDialogs::Kind::Information, title, text, {}, {}});
        return;
    }
    ShowBox(parent, QMessageBox::Information, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

QMessageBox::StandardButton UserDialogs::Ask(QWidget *parent, const QString &text,
                                             QMessageBox::StandardButtons buttons,
                                             QMessageBox::StandardButton defaultButton,
                                             const QString &caption)
{
    const QString title = caption.isEmpty() ? QuestionCaption() : caption;
    if (ScriptedDialogs *script = ScriptedDialogs::active_) {
        script->shown_.push_back({ScriptedDialogs::Kind::Question, title, text, {}, {}});
        if (script->answers_.empty())
            return defaultButton;
        const QMessageBox::StandardButton answer = script->answers_.front();
        script->answers_.pop_front();
        return answer;
    }
    return ShowBox(parent, QMessageBox::Question, title, text, buttons, defaultButton);
}

namespace {

QString ChooseFile(QWidget *parent, const FileDialogOptions &options, bool save)
{
    QFileDialog dialog(parent, options.title);
    dialog.setNameFilter(options.filter);
    dialog.setDefaultSuffix(options.defaultSuffix);
    dialog.setDirectory(options.directory.isEmpty() ? LastDirectory() : options.directory);
    if (!options.fileName.isEmpty())
        dialog.selectFile(options.fileName);
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString path = dialog.selectedFiles().constFirst();
    LastDirectory() = QFileInfo(path).absolutePath();
    return path;
}

QString ScriptedFile(ScriptedDialogs::Kind kind, const FileDialogOptions &options,
                     std::vector<ScriptedDialogs::Entry> &shown, std::deque<QString> &files)
{
    shown.push_back({kind, options.title, options.filter, options.defaultSuffix, options.directory});
    if (files.empty())
        return {};
    QString path = files.front();
    files.pop_front();
    return path;
}

} // namespace

QString UserDialogs::ChooseFileToOpen(QWidget *parent, const FileDialogOptions &options)
{
    if (ScriptedDialogs *script = ScriptedDialogs::active_)
        return ScriptedFile(ScriptedDialogs::Kind::OpenFile, options, script->shown_, script->files_);
    return ChooseFile(parent, options, false);
}

QString UserDialogs::ChooseFileToSave(QWidget *parent, const FileDialogOptions &options)
{
    if (ScriptedDialogs *script = ScriptedDialogs::active_)
        return ScriptedFile(ScriptedDialogs::Kind::SaveFile, options, script->shown_, script->files_);
    return ChooseFile(parent, options, true);
}

int UserDialogs::Exec(QDialog &dialog)
{
    if (ScriptedDialogs *script = ScriptedDialogs::active_) {
        script->shown_.push_back({ScriptedDialogs::Kind::Dialog,
                                  dialog.windowTitle(),
                                  QString::fromLatin1(dialog.metaObject()->className()),
                                  {},
                                  {}});
        if (script->handlers_.empty())
            return QDialog::Rejected;
        auto handler = std::move(script->handlers_.front());
        script->handlers_.pop_front();
        return handler(dialog);
    }
    return dialog.exec();
}

ScriptedDialogs::ScriptedDialogs() : previous_(active_)
{
    active_ = this;
}

ScriptedDialogs::~ScriptedDialogs()
{
    active_ = previous_;
}

void ScriptedDialogs::AnswerNext(QMessageBox::StandardButton button)
{
    answers_.push_back(button);
}

void ScriptedDialogs::ChooseNextFile(const QString &path)
{
    files_.push_back(path);
}

void ScriptedDialogs::HandleNextDialog(std::function<int(QDialog &)> handler)
{
    handlers_.push_back(std::move(handler));
}

std::vector<ScriptedDialogs::Entry> ScriptedDialogs::Take()
{
    std::vector<Entry> taken;
    taken.swap(shown_);
    return taken;
}

QStringList ScriptedDialogs::Texts(Kind kind) const
{
    QStringList texts;
    for (const auto &entry : shown_)
        if (entry.kind == kind)
            texts << entry.text;
    return texts;
}

} // namespace vantor
