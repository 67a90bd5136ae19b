#pragma once

#include "common/UserPrompts.h"

#include <QElapsedTimer>
#include <QPointer>

#include <memory>

class OpeningProgress;
class QWidget;

// The user's answers through real dialogs: information message boxes with the
// standard buttons (in Portuguese, from Qt's own translations), the open
// dialog, the error box and the progress of a long opening (OpeningProgress).
class DialogPrompts : public IUserPrompts
{
public:
    DialogPrompts();
    ~DialogPrompts() override;

    void setParentWidget(QWidget* parent) { m_parent = parent; }
    // How long an opening runs before its progress shows, in milliseconds.
    void setProgressDelay(int milliseconds) { m_progressDelay = milliseconds; }
    // The progress of the opening under way, while it shows.
    OpeningProgress* progress() const { return m_progress.get(); }

    Answer ask(const Question& question) override;
    void showMessage(const QString& text, const QString& file, const SourceWarning& warning) override;
    void showError(const QString& text) override;
    std::optional<QString> chooseFileToOpen(const QString& title, const QStringList& filters) override;
    std::optional<QString> chooseFileToSave(const QString& title, const QStringList& filters,
                                            const QString& suggested) override;
    void reportProgress(int done, int total, const QString& file) override;
    bool cancelRequested() override;
    void requestCancel() override;
    std::optional<quint32> chooseColor(quint32 initial) override;
    std::optional<SampleFont> chooseFont(const SampleFont& initial) override;
    std::optional<QList<ConnectionParameter>> editConnection(const QList<ConnectionParameter>& rows) override;

private:
    // Hides the progress dialog while another dialog is up; the time the user
    // spends answering does not count as the opening's.
    class PauseProgress;

    QPointer<QWidget> m_parent;
    QElapsedTimer m_sinceLastAnswer;
    std::unique_ptr<OpeningProgress> m_progress;
    int m_progressDelay = 500;
    bool m_cancelRequested = false;
};
