// Timings of the parts of Quorvel that must stay fast on huge projects. Each
// figure is the best of a few runs; the caller compares them with reading the
// same bytes.
//   quorvel_bench table ROWS       ordering a table of ROWS rows
//   quorvel_bench grid ROWS        scrolling the grid over ROWS rows
//   quorvel_bench output PROJECT   rich-text build and save, after a harvest
//   quorvel_bench harvest PROJECT  opening a project as the window does (with
//                                  the trace) and as batch mode does (without)
//   quorvel_bench window PROJECT   the document and the site built in the main
//                                  window, its grid and help box showing the
//                                  table, beside the same without a window
//   quorvel_bench rewrite FOLDER   the floor of a site: every file under FOLDER
//                                  written again, each to a new file renamed
//                                  over it, as plainly as the system allows
#include "app/QuorvelCore.h"
#include "gui/DocumentView.h"
#include "gui/MainWindow.h"
#include "output/RtfWriter.h"
#include "table/IdentifierTable.h"
#include "tests/support/SilentPrompts.h"

#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <random>
#include <unistd.h>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

double bestOf(int runs, const std::function<void()>& run)
{
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        best = std::min(best, timer.nsecsElapsed() / 1e9);
    }
    return best;
}

// Rows that look like a harvest's: a few thousand units, identifiers of every
// kind, accented help texts.
void fill(IdentifierTable& table, int rows)
{
    std::mt19937 rng(7);
    const QStringList words = {u"Calcula"_s, u"Grava"_s,  u"Lê"_s,    u"Ação"_s,     u"Importa"_s,
                               u"Exporta"_s, u"Valida"_s, u"Órgão"_s, u"Consulta"_s, u"Atualiza"_s};
    const QStringList kinds = {QString(), QString(),         u" integer"_s,
                               u"Help"_s, u"Tabela MySQL"_s, u"Coment.Órfão"_s};
    table.beginBulkAppend();
    for (int i = 0; i < rows; ++i) {
        const QString unit = u"U%1Modulo"_s.arg(rng() % 3000);
        const QString name =
            words[rng() % words.size()] % words[rng() % words.size()] % QString::number(rng() % 997);
        const QString& kind = kinds[rng() % kinds.size()];
        const QString id = kind == u"Help"  ? name
                           : kind.isEmpty() ? u"procedure T."_s % name % u"(Sender: TObject);"_s
                                            : u"function T."_s % name % u"(a: integer): integer;"_s;
        table.append(IdentifierRow{unit, id, u"T."_s % name, kind, u"Ajuda de "_s % name,
                                   static_cast<int>(rng() % 20000)});
    }
    table.endBulkAppend();
}

int benchTable(int rows)
{
    IdentifierTable table;
    QElapsedTimer timer;
    timer.start();
    fill(table, rows);
    const double build = timer.nsecsElapsed() / 1e9;
    const QString dragged = u"linhaIdentificador;unit;identificador;nomeIdentificador;tipoIdentificador"_s;
    const QString initial = IdentifierTable::initialOrdering();
    const double drag = bestOf(3,
                               [&] {
                                   table.setOrdering(dragged);
                                   table.setOrdering(initial);
                               }) /
                        2;
    std::printf("table: %d rows stored and ordered in %.2f s; reordering after a column drag: %.3f s\n", rows,
                build, drag);
    return 0;
}

int benchGrid(int rows)
{
    IdentifierTable table;
    fill(table, rows);
    QTableView view;
    view.setModel(&table);
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.verticalHeader()->setDefaultSectionSize(17);
    view.resize(786, 480);
    view.show();
    QScrollBar* bar = view.verticalScrollBar();
    QElapsedTimer timer;
    double worst = 0;
    double total = 0;
    const int steps = 200;
    for (int i = 0; i < steps; ++i) {
        timer.start();
        bar->setValue(static_cast<int>(static_cast<qint64>(bar->maximum()) * i / (steps - 1)));
        view.viewport()->grab(); // renders the visible rows, as a repaint would
        const double step = timer.nsecsElapsed() / 1e9;
        worst = std::max(worst, step);
        total += step;
    }
    std::printf("grid: %d rows, %d jumps across the grid: %.1f ms each on average, the slowest %.1f ms\n",
                rows, steps, 1000 * total / steps, 1000 * worst);
    return 0;
}

int benchOutput(const QString& project)
{
    SilentPrompts prompts; // errors surface as exceptions
    QuorvelCore core(prompts);
    QTemporaryDir dir;
    core.setSettingsFile(dir.filePath(u"Quorvel.ini"_s));
    core.setOpeningChoices(OpeningChoices{std::nullopt, false, false});
    core.answerTables(QuorvelCore::TableAnswer::NoTables);
    core.openFile(project);
    const QString file = dir.filePath(u"doc.rtf"_s);
    const double rtf = bestOf(3, [&] {
        core.buildDocument();
        RtfWriter::save(core.documentLines(), file);
    });
    // Showing it, as the main window's document view does, and scrolling it
    // from top to bottom a page at a time.
    DocumentView view;
    QFont courier(u"Courier New"_s);
    courier.setPixelSize(11);
    view.setFont(courier);
    view.resize(1024, 380);
    view.show();
    const double show = bestOf(3, [&] {
        view.setLines(core.documentLines());
        view.viewport()->grab();
    });
    double slowestPage = 0;
    const int pages = 200;
    QScrollBar* bar = view.verticalScrollBar();
    for (int i = 0; i <= pages; ++i) {
        QElapsedTimer timer;
        timer.start();
        bar->setValue(static_cast<int>(static_cast<qint64>(bar->maximum()) * i / pages));
        view.viewport()->grab();
        slowestPage = std::max(slowestPage, timer.nsecsElapsed() / 1e9);
    }
    std::printf("rtf: %d rows, build and save: %.2f s (%.1f MB written); showing it: %.3f s; "
                "the slowest page while scrolling: %.1f ms\n",
                core.identifiers().rowCount(), rtf, QFileInfo(file).size() / 1048576.0, show,
                1000 * slowestPage);
    return 0;
}

int benchHarvest(const QString& project)
{
    auto open = [&](bool trace) {
        return bestOf(3, [&] {
            SilentPrompts prompts;
            QuorvelCore core(prompts);
            core.setOpeningChoices(OpeningChoices{std::nullopt, trace, false});
            core.answerTables(QuorvelCore::TableAnswer::NoTables);
            core.openFile(project);
        });
    };
    const double window = open(true);
    const double batch = open(false);
    std::printf("harvest: with the trace (the window) %.2f s, without (batch mode) %.2f s\n", window, batch);
    return 0;
}

// The document and the site as the window builds them: its grid and its help
// box show the table the writers read. Beside them, the same built by a core
// with no window, as batch mode does.
int benchWindow(const QString& project)
{
    QTemporaryDir dir;
    const auto build = [&](QuorvelCore& core) {
        core.setSettingsFile(dir.filePath(u"Quorvel.ini"_s));
        core.setOpeningChoices(OpeningChoices{std::nullopt, false, false});
        core.answerTables(QuorvelCore::TableAnswer::NoTables);
        core.openFile(project);
        const QString site = dir.filePath(u"site"_s);
        const double document = bestOf(3, [&] { core.buildDocument(); });
        double html = 1e9;
        for (int i = 0; i < 3; ++i) { // each run into a new folder: no question to answer
            QDir(site).removeRecursively();
            QElapsedTimer timer;
            timer.start();
            core.writeSite(u"App"_s, u"1"_s, site);
            html = std::min(html, timer.nsecsElapsed() / 1e9);
        }
        QDir(site).removeRecursively();
        return std::pair{document, html};
    };
    SilentPrompts prompts;
    MainWindow window(prompts);
    window.show();
    QApplication::processEvents();
    const auto [windowDocument, windowSite] = build(window.core());
    QuorvelCore core(prompts);
    const auto [batchDocument, batchSite] = build(core);
    std::printf("window: %d rows, document %.3f s (without a window %.3f s), site %.2f s (without a window "
                "%.2f s)\n",
                window.core().identifiers().rowCount(), windowDocument, batchDocument, windowSite, batchSite);
    return 0;
}

// Reads every file under `folder`, then writes each one's bytes again to a new
// file beside it and renames that over it: what writing those pages costs on
// this file system, with nothing of the program's own.
int benchRewrite(const QString& folder)
{
    std::vector<std::pair<QByteArray, QByteArray>> files; // encoded path, bytes
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    qint64 total = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return 1;
        files.emplace_back(QFile::encodeName(path), file.readAll());
        total += files.back().second.size();
    }
    QElapsedTimer timer;
    timer.start();
    for (const auto& [path, bytes] : files) {
        const QByteArray temporary = path + ".tmp";
        const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd < 0 || ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size())) != bytes.size() ||
            ::close(fd) != 0 || ::rename(temporary.constData(), path.constData()) != 0) {
            std::perror(path.constData());
            return 1;
        }
    }
    std::printf("rewrite: %zu files, %.1f MB in %.2f s\n", files.size(), total / 1048576.0,
                timer.nsecsElapsed() / 1e9);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() == 3 && args[1] == u"table")
        return benchTable(args[2].toInt());
    if (args.size() == 3 && args[1] == u"grid")
        return benchGrid(args[2].toInt());
    if (args.size() == 3 && args[1] == u"output")
        return benchOutput(args[2]);
    if (args.size() == 3 && args[1] == u"harvest")
        return benchHarvest(args[2]);
    if (args.size() == 3 && args[1] == u"window")
        return benchWindow(args[2]);
    if (args.size() == 3 && args[1] == u"rewrite")
        return benchRewrite(args[2]);
    std::fprintf(stderr,
                 "uso: quorvel_bench table|grid LINHAS | output|harvest|window PROJETO | rewrite PASTA\n");
    return 1;
}
