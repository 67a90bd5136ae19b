#pragma once

#include <QString>

#include <utility>

// The result of an operation whose failure is an expected outcome its caller
// handles (a file that could not be written, arguments that cannot run):
// success first, or the text that tells the user why not. It reads as a
// condition: `if (const Outcome written = tryWrite(...); !written) ...`.
// A failure that ends a command is a QuorvelError instead (CONTRIBUTING.md).
class [[nodiscard]] Outcome
{
public:
    static Outcome success() { return Outcome(true, {}); }
    static Outcome failure(QString reason) { return Outcome(false, std::move(reason)); }

    bool succeeded() const { return m_succeeded; }
    explicit operator bool() const { return m_succeeded; }
    // Why it failed; empty on success.
    const QString& reason() const { return m_reason; }

private:
    Outcome(bool succeeded, QString reason) : m_succeeded(succeeded), m_reason(std::move(reason)) {}

    bool m_succeeded;
    QString m_reason;
};
