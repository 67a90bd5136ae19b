#pragma once

#include "common/UserPrompts.h"
#include "tests/support/Printers.h"

#include <QList>
#include <QString>

#include <functional>

// Answers questions from a script given by the test, and records everything
// the logic showed. A question the script did not expect fails the test.
class ScriptedPrompts : public IUserPrompts
{
public:
    void expect(Topic topic, Answer answer) { m_script.append({topic, answer}); }
    // The next open or save dialog picks `file`; an empty optional cancels it.
    void expectFile(std::optional<QString> file) { m_files.append(std::move(file)); }
    // The next colour or font chooser confirms that choice; empty cancels it.
    void expectColor(std::optional<quint32> color) { m_colors.append(color); }
    void expectFont(std::optional<SampleFont> font) { m_fonts.append(std::move(font)); }
    // The next connection dialog: `edit` changes the rows it is shown and
    // returns true to confirm, false to cancel.
    using ConnectionEdit = std::function<bool(QList<ConnectionParameter>&)>;
    void expectConnection(ConnectionEdit edit) { m_connections.append(std::move(edit)); }
    bool scriptDone() const
    {
        return m_script.isEmpty() && m_files.isEmpty() && m_colors.isEmpty() && m_fonts.isEmpty() &&
               m_connections.isEmpty();
    }

    Answer ask(const Question& question) override;
    void showMessage(const QString& text, const QString& file, const SourceWarning& warning) override;
    void showError(const QString& text) override;
    std::optional<QString> chooseFileToOpen(const QString& title, const QStringList& filters) override;
    std::optional<QString> chooseFileToSave(const QString& title, const QStringList& filters,
                                            const QString& suggested) override;
    void reportProgress(int done, int total, const QString& file) override;
    // The user presses Cancel once `reports` progress reports were shown.
    void cancelAfter(int reports) { m_cancelAfter = reports; }
    bool cancelRequested() override
    {
        return m_cancelAfter >= 0 && static_cast<int>(progressFiles.size()) >= m_cancelAfter;
    }
    void requestCancel() override { m_cancelAfter = 0; }
    // Runs at each progress report, as the user's hand would meanwhile.
    std::function<void()> onProgress;
    std::optional<quint32> chooseColor(quint32 initial) override;
    std::optional<SampleFont> chooseFont(const SampleFont& initial) override;
    std::optional<QList<ConnectionParameter>> editConnection(const QList<ConnectionParameter>& rows) override;

    QList<Question> questions;
    QStringList messages;
    QStringList messageFiles;
    QList<SourceWarning> messageWarnings;
    QStringList errors;
    QStringList dialogTitles;
    QList<QStringList> dialogFilters;
    QStringList progressFiles;
    int progressEnds = 0;
    QStringList saveSuggestions;
    QList<quint32> colorPresets;
    QList<SampleFont> fontPresets;
    QList<QList<ConnectionParameter>> connectionRows;

private:
    int m_cancelAfter = -1;
    struct Step
    {
        Topic topic;
        Answer answer;
    };
    QList<Step> m_script;
    QList<std::optional<QString>> m_files;
    QList<std::optional<quint32>> m_colors;
    QList<std::optional<SampleFont>> m_fonts;
    QList<ConnectionEdit> m_connections;
};
