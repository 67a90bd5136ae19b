// The outputs built from any table: the rich-text document and the help site.
// The document stays well formed (braces balanced, no raw control byte) and
// the site stays inside its folder, with a folder of its own for every unit
// name and every page whole.
#include "app/QuorvelCore.h"
#include "output/ModernSite.h"
#include "output/RtfWriter.h"
#include "table/IdentifierTable.h"
#include "tests/support/SilentPrompts.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <cstdlib>

using namespace Qt::Literals::StringLiterals;

namespace {

// Rows from the bytes: fields end at a byte 0, rows at a byte 1; the kind is
// chosen by the first byte of the kind field so every kind is reached.
std::vector<IdentifierRow> rowsOf(QByteArrayView bytes)
{
    static const QString kinds[] = {u"Help"_s, u"Coment.Órfão"_s, u"Tabela MySQL"_s, QString(),
                                    u" integer"_s};
    std::vector<IdentifierRow> rows;
    for (QByteArrayView record : QByteArray(bytes.toByteArray()).split('\x01')) {
        const QList<QByteArray> f = record.toByteArray().split('\0');
        auto field = [&](int i) { return i < f.size() ? QString::fromUtf8(f[i]) : QString(); };
        const int kind = f.size() > 2 && !f[2].isEmpty() ? static_cast<unsigned char>(f[2][0]) % 5 : 0;
        rows.push_back(
            {field(0), field(1), field(3), kinds[kind], field(4), static_cast<int>(record.size())});
        if (rows.size() == 64)
            break;
    }
    return rows;
}

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

void checkRtf(const QByteArray& rtf)
{
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        check(static_cast<unsigned char>(c) >= 0x20 || c == '\r' || c == '\n',
              "a raw control byte in the RTF");
        if (c == '\\') {
            ++i; // an escaped character or the first of a control word
            continue;
        }
        depth += c == '{' ? 1 : c == '}' ? -1 : 0;
        check(depth >= 0 || i + 1 == rtf.size(), "an RTF group closed before it opened");
    }
    check(depth == 0, "unbalanced RTF groups");
}

void checkSite(const QString& root, const IdentifierTable& table)
{
    // Only the site's folder below the root, and every page ends its last line.
    check(QDir(root).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden) ==
              QStringList{QStringLiteral("HELP")},
          "something written beside the site");
    QDirIterator pages(root + u"/HELP"_s, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (pages.hasNext()) {
        QFile page(pages.next());
        check(page.open(QIODevice::ReadOnly) && page.readAll().endsWith("\r\n"), "a page cut short");
    }
    // As many unit folders as unit names.
    QSet<QString> units;
    for (int i = 0; i < table.rowCount(); ++i)
        units.insert(table.row(i).unit);
    const auto folders = QDir(root + u"/HELP"_s).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    check(folders.size() == units.size(), "two unit names share a folder");
}

// The modern site of the same table: whatever the comments hold, a page has
// only its own two scripts and no address that runs code.
void checkModernSite(const IdentifierTable& table)
{
    const ModernSite site{HtmlFormat(), DocumentationOptions()};
    site.makeFiles({u"T"_s, {}}, table, [](ModernSite::File file) {
        if (!file.name.endsWith(u".html"_s))
            return;
        // Every '<' of a page is markup, as a comment's own are escaped.
        static const QRegularExpression active(u"<[a-z]+[^>]*\\s(on[a-z]+\\s*=|href=\"\\s*javascript:)"_s,
                                               QRegularExpression::CaseInsensitiveOption);
        const QString page = QString::fromUtf8(file.bytes);
        check(page.count(u"<script"_s, Qt::CaseInsensitive) == 2,
              "markup from a comment reached a modern page");
        check(!active.match(page).hasMatch(), "an active attribute in a page");
    });
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Fonts, for laying out help lines. Never destroyed: it would outlive
    // Qt's thread storage at exit.
    static auto* app = new QGuiApplication(*argc, *argv);
    Q_UNUSED(app);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QTemporaryDir root;
    SilentPrompts prompts;
    QuorvelCore core(prompts);
    core.setSettingsFile(root.filePath(u"Quorvel.ini"_s)); // none: every switch at its default
    core.setProgramFolder(root.path() + u'/');
    const auto bytes = QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (IdentifierRow& row : rowsOf(bytes))
        core.identifiers().append(std::move(row));
    core.buildDocument();
    checkRtf(RtfWriter::toRtf(core.documentLines()));
    check(core.runHtml(), "the site was not written");
    checkSite(root.path(), core.identifiers());
    checkModernSite(core.identifiers());
    return 0;
}
