#include "tests/support/TestFiles.h"

#include "common/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

TestFolder::TestFolder()
{
    EXPECT_TRUE(m_dir.isValid());
}

QString TestFolder::path(const QString& name) const
{
    return m_dir.filePath(name);
}

QString TestFolder::write(const QString& name, const QByteArray& bytes) const
{
    const QString file = path(name);
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile out(file);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate)) << file.toStdString();
    out.write(bytes);
    return file;
}

QString TestFolder::writeSource(const QString& name, const QString& text) const
{
    QString crlf = text;
    crlf.replace(u"\r\n"_s, u"\n"_s).replace(u'\n', u"\r\n"_s);
    return write(name, Windows1252::encode(crlf));
}

QString fixture(const QString& name)
{
    return QStringLiteral(QUORVEL_FIXTURES) + u'/' + name;
}
