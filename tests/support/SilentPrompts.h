#pragma once

#include "common/UserPrompts.h"

// Answers every question without a user (No where it can, OK otherwise),
// shows nothing and chooses nothing: for the benchmarks and the fuzz targets.
class SilentPrompts : public IUserPrompts
{
public:
    Answer ask(const Question& q) override { return answerWithoutAButton(q); }
    void showMessage(const QString&, const QString&, const SourceWarning&) override {}
    void showError(const QString&) override {}
    std::optional<QString> chooseFileToOpen(const QString&, const QStringList&) override { return {}; }
    std::optional<QString> chooseFileToSave(const QString&, const QStringList&, const QString&) override
    {
        return {};
    }
    std::optional<quint32> chooseColor(quint32) override { return {}; }
    std::optional<SampleFont> chooseFont(const SampleFont&) override { return {}; }
    std::optional<QList<ConnectionParameter>> editConnection(const QList<ConnectionParameter>&) override
    {
        return {};
    }
};
