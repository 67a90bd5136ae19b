#include "app/BatchMode.h"
#include "common/Fonts.h"
#include "common/ProgramFile.h"
#include "gui/DialogPrompts.h"
#include "gui/MainWindow.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <memory>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// A harvest allocates a few hundred thousand rows and frees each unit's text
// as it goes. The allocator's defaults give memory back to the system and
// take it again many times over, and on a virtual machine each page taken
// again costs a fault of several microseconds: memory freed is kept for the
// next unit instead, and a unit's text never gets pages of its own.
void keepFreedMemory()
{
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
    mallopt(M_TOP_PAD, 16 * 1024 * 1024);
}

// In batch mode standard error carries the program's own messages only,
// one per line, for scripts to read; Qt's diagnostics stay out of it.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        std::abort();
    }
}

int runBatch(int argc, char* argv[], bool needsFonts)
{
    qInstallMessageHandler(quietQtMessages);
    // Laying out help text for the HTML site needs fonts, not a display.
    std::unique_ptr<QCoreApplication> app;
    if (needsFonts) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(u"Quorvel"_s);
    // The output unbuffered, on its descriptor: every write is checked as it
    // happens, so a full disk or a closed pipe is seen and reported. The
    // messages are buffered: a project of real code can have ten thousand
    // warnings, and a write of each on its own took a third of a second.
    QFile out;
    QFile err;
    out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(STDERR_FILENO, QIODevice::WriteOnly);
    const int status = BatchMode::run(QCoreApplication::arguments(), out, err);
    err.flush();
    return status;
}

} // namespace

int main(int argc, char* argv[])
{
    keepFreedMemory();
    // Settings and the site of a portable program live beside it: a program
    // that cannot tell where it is would read and write in some other folder.
    if (ProgramFile::path().isEmpty()) {
        std::fprintf(stderr, "Quorvel: não foi possível saber onde está o arquivo do programa.\n");
        return BatchMode::FileError;
    }
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (BatchMode::wanted(arguments))
        return runBatch(argc, argv, arguments.contains(u"--html"_s));

    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Quorvel"_s);
    // The standard buttons and dialogs speak Portuguese.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Portuguese, QLocale::Brazil), u"qtbase"_s, u"_"_s,
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    installWindowFonts();
    DialogPrompts prompts;
    MainWindow window(prompts);
    prompts.setParentWidget(&window);
    window.showOnScreen();
    window.openFiles(QApplication::arguments().mid(1));
    return app.exec();
}
