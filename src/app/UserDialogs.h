#pragma once
// Every message box, question and file dialog of the program goes through here, so
// that a test can answer them (ScriptedDialogs) instead of blocking on a modal window.

#include <QMessageBox>
#include <QString>

#include <deque>
#include <functional>
#include <vector>

class QDialog;
class QWidget;

namespace vantor {

struct FileDialogOptions {
    QString title;
    QString filter;        // Qt form: "Файлы конфигурации Vantor-5 (*.vt5)"
    QString defaultSuffix; // added when the typed name has none ("vt5")
    QString directory;     // where to start; empty: the folder of the last choice
    QString fileName = {}; // the name offered (save dialogs); empty: none
};

class UserDialogs {
public:
    static QString ErrorCaption();    // "Ошибка"
    static QString QuestionCaption(); // "Подтверждение"

    // An error box with an OK button. raise brings the program's window to the
    // front first (errors found while nothing of the program is on screen yet).
    static void ShowError(QWidget *parent, const QString &text, const QString &caption = {},
                          bool raise = false);
    static void ShowWarning(QWidget *parent, const QString &text, const QString &caption = {});
    static void ShowInformation(QWidget *parent, const QString &text, const QString &caption = {});

    // A question; returns the button pressed (the default button when the box is
    // closed another way, or Cancel/No when Escape is pressed).
    static QMessageBox::StandardButton
    Ask(QWidget *parent, const QString &text,
        QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No,
        QMessageBox::StandardButton defaultButton = QMessageBox::No, const QString &caption = {});

    // The chosen path, or empty when the user cancelled. Opening requires an
    // existing file; saving asks before replacing one.
    static QString ChooseFileToOpen(QWidget *parent, const FileDialogOptions &options);
    static QString ChooseFileToSave(QWidget *parent, const FileDialogOptions &options);

    // Runs a modal dialog and returns its result code (QDialog::Accepted or Rejected).
    static int Exec(QDialog &dialog);
};

// While one exists, UserDialogs shows nothing: it records what would have been shown
// and answers from the queues below. An empty queue answers like a user who presses
// Enter on a message box (the default button) and cancels a file or other dialog.
class ScriptedDialogs {
public:
    enum class Kind { Error, Warning, Information, Question, OpenFile, SaveFile, Dialog };
    struct Entry {
        Kind kind;
        QString caption;   // caption or dialog title
        QString text;      // message text; for file dialogs the filter; for dialogs the class name
        QString detail;    // file dialogs: the default suffix
        QString directory; // file dialogs: the folder asked to start in (empty: the last one)
    };

    ScriptedDialogs();
    ~ScriptedDialogs();
    ScriptedDialogs(const ScriptedDialogs &) = delete;
    ScriptedDialogs &operator=(const ScriptedDialogs &) = delete;

    void AnswerNext(QMessageBox::StandardButton button);
    void ChooseNextFile(const QString &path); // an empty path cancels
    // The handler gets the dialog, already set up, and returns its result code.
    void HandleNextDialog(std::function<int(QDialog &)> handler);

    const std::vector<Entry> &Shown() const { return shown_; }
    std::vector<Entry> Take(); // what was shown, and forget it
    QStringList Texts(Kind kind) const;

private:
    friend class UserDialogs;
    static ScriptedDialogs *active_;
    ScriptedDialogs *previous_;
    std::deque<QMessageBox::StandardButton> answers_;
    std::deque<QString> files_;
    std::deque<std::function<int(QDialog &)>> handlers_;
    std::vector<Entry> shown_;
};

} // namespace vantor
