#include "tests/support/ScriptedPrompts.h"

#include <gtest/gtest.h>

Answer ScriptedPrompts::ask(const Question& question)
{
    questions.append(question);
    if (m_script.isEmpty()) {
        ADD_FAILURE() << "unexpected question: " << question.text.toStdString();
        return question.defaultAnswer;
    }
    const Step step = m_script.takeFirst();
    EXPECT_EQ(int(step.topic), int(question.topic)) << question.text.toStdString();
    EXPECT_TRUE(question.buttons.contains(step.answer))
        << "the scripted answer is not a button of the question";
    return step.answer;
}

void ScriptedPrompts::showMessage(const QString& text, const QString& file, const SourceWarning& warning)
{
    messages.append(text);
    messageFiles.append(file);
    messageWarnings.append(warning);
}

void ScriptedPrompts::showError(const QString& text)
{
    errors.append(text);
}

std::optional<QString> ScriptedPrompts::chooseFileToOpen(const QString& title, const QStringList& filters)
{
    dialogTitles.append(title);
    dialogFilters.append(filters);
    if (m_files.isEmpty()) {
        ADD_FAILURE() << "unexpected open dialog";
        return {};
    }
    return m_files.takeFirst();
}

void ScriptedPrompts::reportProgress(int done, int total, const QString& file)
{
    if (!file.isEmpty() && done < total)
        progressFiles.append(file);
    else
        ++progressEnds;
    if (onProgress && !file.isEmpty() && done < total)
        onProgress();
}

std::optional<quint32> ScriptedPrompts::chooseColor(quint32 initial)
{
    colorPresets.append(initial);
    if (m_colors.isEmpty()) {
        ADD_FAILURE() << "unexpected colour dialog";
        return {};
    }
    return m_colors.takeFirst();
}

std::optional<SampleFont> ScriptedPrompts::chooseFont(const SampleFont& initial)
{
    fontPresets.append(initial);
    if (m_fonts.isEmpty()) {
        ADD_FAILURE() << "unexpected font dialog";
        return {};
    }
    return m_fonts.takeFirst();
}

std::optional<QList<ConnectionParameter>>
ScriptedPrompts::editConnection(const QList<ConnectionParameter>& rows)
{
    connectionRows.append(rows);
    if (m_connections.isEmpty()) {
        ADD_FAILURE() << "unexpected connection dialog";
        return {};
    }
    QList<ConnectionParameter> edited = rows;
    if (!m_connections.takeFirst()(edited))
        return {};
    return edited;
}

std::optional<QString> ScriptedPrompts::chooseFileToSave(const QString& title, const QStringList& filters,
                                                         const QString& suggested)
{
    saveSuggestions.append(suggested);
    return chooseFileToOpen(title, filters);
}
