#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include "tests/support/Printers.h"

// A temporary folder to write test files into.
class TestFolder
{
public:
    TestFolder();
    QString path(const QString& name) const;
    // Writes `bytes` as they stand, creating sub-folders on the way.
    QString write(const QString& name, const QByteArray& bytes) const;
    // Writes `text` as Windows-1252 with CR LF line ends.
    QString writeSource(const QString& name, const QString& text) const;

private:
    QTemporaryDir m_dir;
};

QString fixture(const QString& name);
