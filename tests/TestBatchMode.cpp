#include "app/BatchMode.h"
#include "tests/support/TestFiles.h"

#include <QBuffer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

struct BatchRun
{
    int status;
    QByteArray out;
    QString err;     // every line but the summary
    QString summary; // the last line, without its line break
};

BatchRun runBatch(const QStringList& args)
{
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int status = BatchMode::run(QStringList{u"Quorvel"_s} + args, out, err);
    QString said = QString::fromUtf8(err.data());
    QString summary;
    const qsizetype last = said.lastIndexOf(u'\n', -2) + 1;
    if (said.sliced(last).startsWith(u"Resumo: "_s)) {
        summary = said.sliced(last).chopped(1);
        said.truncate(last);
    }
    return {status, out.data(), said, summary};
}

QJsonArray parse(const QByteArray& json)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    EXPECT_TRUE(doc.isArray());
    return doc.array();
}

} // namespace

TEST(BatchMode, ListsEveryRowWithAllNineFields)
{
    TestFolder folder;
    const QString b =
        folder.writeSource(u"b.pas"_s, u"unit UB;\n//? Ajuda \"B\"\n//* um\\dois\n//* três\n"_s);
    const QString a =
        folder.writeSource(u"a.pas"_s, u"unit UA;\n//@ Soma\nfunction Soma(x: integer): integer;\n"_s);
    const BatchRun run = runBatch({u"--list"_s, b, a});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonArray rows = parse(run.out);
    ASSERT_EQ(rows.size(), 2);
    const QJsonObject first = rows[0].toObject();
    EXPECT_EQ(first.keys().size(), 9);
    EXPECT_EQ(first[u"unit"].toString(), u"UA"_s);
    EXPECT_EQ(first[u"identificador"].toString(), u"function Soma(x: integer): integer;"_s);
    EXPECT_EQ(first[u"nomeIdentificador"].toString(), u"Soma"_s);
    EXPECT_EQ(first[u"tipoIdentificador"].toString(), u" integer"_s);
    EXPECT_EQ(first[u"helpIdentificador"].toString(), u"Soma"_s);
    EXPECT_EQ(first[u"linhaIdentificador"], QJsonValue(2));
    EXPECT_EQ(first[u"nomedocumentacao"], QJsonValue(u""_s));
    EXPECT_EQ(first[u"exists"], QJsonValue(false));
    EXPECT_EQ(first[u"documentada"], QJsonValue(false));
    const QJsonObject second = rows[1].toObject();
    EXPECT_EQ(second[u"identificador"].toString(), u"Ajuda \"B\""_s);
    EXPECT_EQ(second[u"helpIdentificador"].toString(), u"um\\dois\r\ntrês"_s);
    EXPECT_TRUE(run.out.contains("\\r\\n"));
}

TEST(BatchMode, OrderOptionAndOrphanWarnings)
{
    TestFolder folder;
    const QString a = folder.writeSource(u"a.pas"_s, u"unit A;\nx;\n//* órfão\nx;\n//? z\n"_s);
    const QString b = folder.writeSource(u"b.pas"_s, u"unit B;\n//? y\n"_s);
    const BatchRun run = runBatch({u"--list"_s, u"--order"_s, u"linhaIdentificador;unit"_s, a, b});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err,
              a % u":3: aviso: Foi encontrado um comentário para documentação sem uma identificação de tipo "
                  u"na linha (3)\n"_s);
    const QJsonArray rows = parse(run.out);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].toObject()[u"unit"].toString(), u"B"_s);
    EXPECT_EQ(rows[1].toObject()[u"identificador"].toString(), u"Linha (3)"_s);
    EXPECT_EQ(rows[2].toObject()[u"identificador"].toString(), u"z"_s);
}

TEST(BatchMode, AMissingFileIsReportedAndTheOthersStillListed)
{
    TestFolder folder;
    const QString a = folder.writeSource(u"a.pas"_s, u"//? a\n"_s);
    const QString missing = folder.path(u"falta.pas"_s);
    const BatchRun run = runBatch({u"--list"_s, missing, a});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, missing % u": O arquivo indicado não pôde ser aberto.\n"_s);
    EXPECT_EQ(parse(run.out).size(), 1);
}

TEST(BatchMode, UsageHelpAndVersion)
{
    struct Case
    {
        QStringList args;
        int status;
    };
    const Case cases[] = {
        {{}, 1},
        {{u"--list"_s}, 1},
        {{u"--list"_s, u"--order"_s, u"helpIdentificador"_s, u"a.pas"_s}, 1},
        {{u"--list"_s, u"--order"_s}, 1},
        {{u"--bogus"_s, u"a.pas"_s}, 1},
        {{u"--help"_s}, 0},
        {{u"--version"_s}, 0},
        // Options of the site without the site, and a site with no folder.
        {{u"--output"_s, u"x"_s, u"--force"_s, u"a.pas"_s}, 1},
        {{u"--list"_s, u"--force"_s, u"a.pas"_s}, 1},
        {{u"--html"_s, u"--output"_s, u""_s, u"a.pas"_s}, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(runBatch(c.args).status, c.status) << c.args.join(u' ').toStdString();
    EXPECT_TRUE(runBatch({u"--help"_s}).out.contains("--list"));
    EXPECT_EQ(runBatch({u"--version"_s}).out, QByteArray("Quorvel v1.1\n"));
    EXPECT_TRUE(BatchMode::wanted({u"Quorvel"_s, u"--list"_s, u"x.pas"_s}));
    EXPECT_FALSE(BatchMode::wanted({u"Quorvel"_s, u"x.pas"_s}));
    EXPECT_TRUE(BatchMode::wanted({u"Quorvel"_s, u"--output"_s, u"x"_s, u"--force"_s, u"x.pas"_s}));
}

// Output that cannot be written is a failure with its reason, never a
// success with a listing cut short.
TEST(BatchMode, AFullOutputIsAWriteError)
{
    TestFolder folder;
    const QString a = folder.writeSource(u"a.pas"_s, u"//? a\n"_s);
    for (const QStringList& args : {QStringList{u"--list"_s, a}, QStringList{u"--version"_s}}) {
        QProcess process;
        process.setStandardOutputFile(u"/dev/full"_s);
        process.start(QStringLiteral(QUORVEL_BINARY), args);
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 4) << args.join(u' ').toStdString();
        EXPECT_TRUE(process.readAllStandardError().contains("No space left on device"));
    }
}

TEST(BatchMode, TheProgramRunsWithoutADisplay)
{
    TestFolder folder;
    const QString a = folder.writeSource(u"a.pas"_s, u"//? a\n"_s);
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(u"DISPLAY"_s);
    env.remove(u"WAYLAND_DISPLAY"_s);
    env.remove(u"QT_QPA_PLATFORM"_s);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QUORVEL_BINARY), {u"--list"_s, a});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QJsonArray rows = parse(process.readAllStandardOutput());
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].toObject()[u"nomeIdentificador"].toString(), u"Help a"_s);
}

// The program is whatever the loader was asked to run: started through the
// dynamic loader, as tools such as debuggers and sandboxes do, it reads its
// own arguments and never runs anything else, however its file is named.
TEST(BatchMode, StartedThroughTheDynamicLoaderItIsStillItself)
{
    const QString loader = u"/lib64/ld-linux-x86-64.so.2"_s;
    ASSERT_TRUE(QFileInfo::exists(loader));
    TestFolder folder;
    const QString a = folder.writeSource(u"a.pas"_s, u"//? a\n"_s);
    const auto run = [&](const QStringList& args) {
        QProcess process;
        process.start(loader, QStringList{QStringLiteral(QUORVEL_BINARY)} + args);
        EXPECT_TRUE(process.waitForFinished(30000));
        return std::pair{process.exitCode(), process.readAllStandardOutput()};
    };
    EXPECT_EQ(run({u"--version"_s}), std::pair(0, QByteArray("Quorvel v1.1\n")));
    const auto [status, listing] = run({u"--list"_s, a});
    EXPECT_EQ(status, 0);
    EXPECT_EQ(parse(listing).size(), 1);
}

// A run that finds no marked comment at all says so, with the markers and
// where the README explains them; one that finds some, or cannot read its
// file, does not.
TEST(BatchMode, NothingMarkedIsSaidWithAReminder)
{
    TestFolder folder;
    const QString plain = folder.writeSource(u"plain.pas"_s, u"unit Plain;\n// só um comentário\n"_s);
    const QString marked = folder.writeSource(u"marked.pas"_s, u"unit Marked;\n//? Geral\n"_s);
    const BatchRun nothing = runBatch({u"--list"_s, plain});
    EXPECT_EQ(nothing.status, 0);
    EXPECT_EQ(parse(nothing.out).size(), 0);
    EXPECT_TRUE(nothing.err.startsWith(u"Nenhum comentário marcado para a documentação foi encontrado."_s))
        << nothing.err.toStdString();
    EXPECT_TRUE(nothing.err.contains(u"//@ (rotina)"_s));
    EXPECT_TRUE(nothing.err.contains(u"Documenting your project"_s));
    EXPECT_EQ(nothing.err.count(u'\n'), 1);
    EXPECT_FALSE(runBatch({u"--list"_s, plain, marked}).err.contains(u"Nenhum comentário"_s));
    EXPECT_FALSE(runBatch({u"--list"_s, folder.path(u"falta.pas"_s)}).err.contains(u"Nenhum comentário"_s));
}
