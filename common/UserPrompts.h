#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

// The standard buttons of a question, in the order they are shown.
enum class Answer
{
    Yes,
    No,
    NoToAll,
    YesToAll,
    Ok,
};

// What a question is about, so that a non-interactive answerer can tell the
// questions apart without parsing their texts.
enum class Topic
{
    OrphanComment,
    TableFirstQuestion,
    TableLaterQuestion,
    TableNotice,
    OverwriteFolder,
    EncodingNotice, // a file forced to UTF-8 that is not
    SiteWritten,    // where the help site is, and whether to open it
    NothingMarked,  // a command found no marked comment at all: how to mark them
    NoRoutine,      // a //@ block that no routine heading follows
    IncludeMissing, // an {$I} file that is nowhere to be found
};

// A warning about a place in the sources, as a report without questions
// gives it: "FILE:LINE: aviso: TEXT", the form compilers use, which editors
// and build pipelines recognise. No text: no warning.
struct SourceWarning
{
    QString file;
    int line = 0;
    QString text;
};

// A font as the options window keeps it; the colour is a screen colour (red
// in the lowest byte).
struct SampleFont
{
    QString face;
    int points = 8;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    quint32 colour = 0;
    bool operator==(const SampleFont&) const = default;
};

// One row of the connection dialog: key and value.
using ConnectionParameter = QPair<QString, QString>;

struct Question
{
    Topic topic;
    QString text; // a carriage return breaks the line
    QList<Answer> buttons;
    Answer defaultAnswer = Answer::Yes;
    QString file;          // the file being read when the question came up, if any
    int line = 0;          // its line, counted from 1, when the question is about one
    SourceWarning warning; // what it warns of, for a reader who cannot be asked
};

// The answer of a question closed without a button (Escape, the title bar's
// close button, nobody to answer): No where it is offered, otherwise the first
// button.
inline Answer answerWithoutAButton(const Question& question)
{
    return question.buttons.contains(Answer::No) ? Answer::No : question.buttons.value(0, Answer::Ok);
}

// Every question, notice and error box the logic needs from the user goes
// through this interface: real dialogs in the window, options in batch mode,
// a script in the tests.
class IUserPrompts
{
public:
    virtual ~IUserPrompts() = default;

    // An information dialog with the given standard buttons.
    virtual Answer ask(const Question& question) = 0;
    // The plain message box with only OK; `file` names the file it is about,
    // when there is one; `warning`, when it has a text, is the same as a
    // warning about the place that caused it.
    virtual void showMessage(const QString& text, const QString& file, const SourceWarning& warning) = 0;
    // The error box at a command's boundary.
    virtual void showError(const QString& text) = 0;

    // The open dialog: `filters` in order, the first selected ("Projetos
    // (*.dpr)"); the typed name need not exist. Empty when cancelled.
    virtual std::optional<QString> chooseFileToOpen(const QString& title, const QStringList& filters) = 0;

    // The save dialog with its single filter, preset with the last name.
    virtual std::optional<QString> chooseFileToSave(const QString& title, const QStringList& filters,
                                                    const QString& suggested) = 0;

    // The colour and font choosers, preset with the current value; empty when
    // the user cancels.
    virtual std::optional<quint32> chooseColor(quint32 initial) = 0;
    virtual std::optional<SampleFont> chooseFont(const SampleFont& initial) = 0;

    // The "Conexão MySQL" dialog on the given rows: the rows as the user left
    // them on "Confirmar", empty on "Cancelar" or when the window is closed.
    virtual std::optional<QList<ConnectionParameter>>
    editConnection(const QList<ConnectionParameter>& rows) = 0;

    // How far a long command has come: `done` of `total` units (or rows),
    // `file` the one being read or written now (empty when all are done).
    // Only a window shows it.
    virtual void reportProgress(int done, int total, const QString& file)
    {
        Q_UNUSED(done);
        Q_UNUSED(total);
        Q_UNUSED(file);
    }
    // Whether the user asked the running opening to stop (the progress
    // dialog's Cancel, or closing the window); asked between two units.
    virtual bool cancelRequested() { return false; }
    // The window is closing: the running opening stops as a Cancel stops it.
    virtual void requestCancel() {}
};
