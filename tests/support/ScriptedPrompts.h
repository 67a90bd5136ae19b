#pragma once

#include "common/UserPrompts.h"
#include "tests/support/Printers.h"

#include <QList>
#include <QString>

// Answers questions from a script given by the test, and records everything
// the logic showed. A question the script did not expect fails the test.
class ScriptedPrompts : public IUserPrompts
{
public:
    void expect(Topic topic, Answer answer) { m_script.append({topic, answer}); }
    // The next open dialog picks `file`; an empty optional cancels it.
    void expectFile(std::optional<QString> file) { m_files.append(std::move(file)); }
    bool scriptDone() const { return m_script.isEmpty() && m_files.isEmpty(); }

    Answer ask(const Question& question) override;
    void showMessage(const QString& text, const QString& file) override;
    void showError(const QString& text) override;
    std::optional<QString> chooseFileToOpen(const QString& title, const QStringList& filters) override;
    void reportProgress(int done, int total, const QString& file) override;

    QList<Question> questions;
    QStringList messages;
    QStringList messageFiles;
    QStringList errors;
    QStringList dialogTitles;
    QList<QStringList> dialogFilters;
    QStringList progressFiles;

private:
    struct Step
    {
        Topic topic;
        Answer answer;
    };
    QList<Step> m_script;
    QList<std::optional<QString>> m_files;
};
