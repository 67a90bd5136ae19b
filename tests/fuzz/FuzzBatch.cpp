// The batch command line over any arguments: an exit status of the table
// (0 to 4), never a crash; a usage error says why; a listing that succeeds is
// one JSON array. Every path stays inside a scratch folder: a '/' in an
// argument becomes '_'.
#include "app/BatchMode.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

using namespace Qt::Literals::StringLiterals;

namespace {

void check(bool condition, const char* what, const QStringList& args)
{
    if (!condition) {
        std::fprintf(stderr, "broken: %s: %s\n", what, qPrintable(args.join(u' ')));
        std::abort();
    }
}

void writeFile(const QString& name, const QByteArray& bytes)
{
    QFile file(name);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Fonts, for laying out help lines. Never destroyed: it would outlive
    // Qt's thread storage at exit.
    static auto* app = new QGuiApplication(*argc, *argv);
    Q_UNUSED(app);
    static QTemporaryDir scratch;
    QDir::setCurrent(scratch.path());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A fresh scratch folder with a unit and a project to name.
    QDir here(QDir::currentPath());
    for (const QString& entry : here.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (!QDir(here.filePath(entry)).removeRecursively())
            QFile::remove(here.filePath(entry));
    }
    writeFile(u"a.pas"_s,
              "unit A;\r\n//? Geral\r\n//* texto\r\n//@ r\r\nfunction F(x: integer): integer;\r\n");
    writeFile(u"p.dpr"_s, "uses A in 'a.pas';\r\n");
    writeFile(u"q.ini"_s, "[opcoes]\r\nCOrfaos=1\r\n");

    // Arguments end at a byte 0 or a line feed.
    QStringList args{u"Quorvel"_s};
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QByteArray& arg : bytes.split('\n')) {
        for (const QByteArray& part : arg.split('\0'))
            args.append(QString::fromUtf8(part).replace(u'/', u'_'));
        if (args.size() > 24)
            break;
    }

    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int status = BatchMode::run(args, out, err);
    check(status >= BatchMode::Success && status <= BatchMode::WriteError, "an exit status outside the table",
          args);
    if (status == BatchMode::UsageError)
        check(!err.data().isEmpty(), "a usage error without a word", args);
    if (status == BatchMode::Success && args.contains(u"--list"_s) && !args.contains(u"--help"_s) &&
        !args.contains(u"-h"_s) && !args.contains(u"--version"_s) && !args.contains(u"-v"_s)) {
        QJsonParseError error;
        const QJsonDocument json = QJsonDocument::fromJson(out.data(), &error);
        check(error.error == QJsonParseError::NoError && json.isArray(), "a listing that is no JSON array",
              args);
    }
    return 0;
}
