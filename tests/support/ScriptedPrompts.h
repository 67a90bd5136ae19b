#pragma once

#include "common/UserPrompts.h"

#include <QList>
#include <QString>

// Answers questions from a script given by the test, and records everything
// the logic showed. A question the script did not expect fails the test.
class ScriptedPrompts : public IUserPrompts
{
public:
    void expect(Topic topic, Answer answer) { m_script.append({topic, answer}); }
    bool scriptDone() const { return m_script.isEmpty(); }

    Answer ask(const Question& question) override;
    void showMessage(const QString& text, const QString& file) override;
    void showError(const QString& text) override;

    QList<Question> questions;
    QStringList messages;
    QStringList messageFiles;
    QStringList errors;

private:
    struct Step
    {
        Topic topic;
        Answer answer;
    };
    QList<Step> m_script;
};
