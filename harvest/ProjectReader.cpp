#include "harvest/ProjectReader.h"

#include "common/AsciiCase.h"
#include "common/FileReading.h"
#include "common/QuorvelError.h"
#include "common/UnitPath.h"
#include "common/UserPrompts.h"
#include "harvest/ProjectFiles.h"
#include "harvest/SourceText.h"
#include "harvest/UnitFeed.h"
#include "harvest/UnitHarvester.h"

#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

ProjectReader::ProjectReader(IUserPrompts& prompts, UnitHarvester& harvester, TraceLog& trace)
    : m_prompts(prompts), m_harvester(harvester), m_trace(trace)
{}

void ProjectReader::openProject(const QString& file, const HarvestChoices& choices)
{
    if (!SourceText::fileExists(file)) {
        m_prompts.showMessage(UnitHarvester::missingFileMessage(), file);
        return;
    }
    const FileKind kind = ProjectFiles::kindOf(file);
    QStringList listed;
    QByteArray programBytes; // a program file's own, harvested once its units are
    if (kind == FileKind::SourceProject) {
        programBytes = SourceText::readFile(file);
        listed = unitsOfSourceProject(programBytes, choices);
    } else {
        QByteArray bytes;
        FileReading::read(file, bytes);
        listed = ProjectFiles::unitsOfXmlProject(file, kind, bytes);
        // A project file whose list yields no name (an empty or unreadable
        // main source, no unit marked part of it) would otherwise end with
        // nothing harvested and not a word.
        if (listed.isEmpty())
            throw QuorvelError(file %
                               u": o projeto não indica nenhum arquivo de código que possa ser lido."_s);
    }
    const QStringList paths = unitPaths(file, listed, kind);

    // The units are read and skimmed on worker threads while this one
    // harvests them; questions and messages stay here, in the units' order.
    m_cancelled = false;
    harvestUnits(paths, choices);
    // The program file's own marked comments are documented too, after its
    // units (whose worker threads have ended: the harvest's text is no longer
    // shared with them), as a unit named by its heading or its file's name.
    if (kind == FileKind::SourceProject && !m_cancelled)
        m_harvester.harvestBytes(programBytes, file, choices, programName(file));
}

void ProjectReader::harvestUnits(const QStringList& paths, const HarvestChoices& choices)
{
    UnitFeed feed(paths, 0, choices.traceKeepsUnitBytes(), choices.encoding);
    const int total = static_cast<int>(paths.size());
    for (int i = 0; i < total; ++i) {
        m_prompts.reportProgress(i, total, paths[i]);
        // A Cancel stops the harvest after the unit being read; its rows stay.
        if (m_prompts.cancelRequested()) {
            m_cancelled = true;
            break;
        }
        QByteArray bytes; // kept by the trace, when it is on
        SourceText::Decoding decoding;
        if (!feed.nextUnit(m_harvester.textForFeed(), &bytes, &decoding)) {
            m_prompts.showMessage(UnitHarvester::missingFileMessage(), paths[i]);
            continue;
        }
        m_harvester.harvestFromFeed(feed, paths[i], std::move(bytes), decoding, choices,
                                    programName(paths[i]));
    }
}

QString ProjectReader::programName(const QString& path)
{
    const QString extension = UnitPath::extension(path).toLower();
    if (extension != u".dpr" && extension != u".lpr" && extension != u".dpk")
        return {};
    return QFileInfo(path).completeBaseName();
}

QStringList ProjectReader::unitPaths(const QString& file, const QStringList& listed, FileKind kind)
{
    // Paths in a project are relative to the project's folder. Of a source
    // project's literals only the ".pas" paths are units; an XML project's
    // list holds nothing else.
    const QString folder = QFileInfo(file).absolutePath();
    UnitPath::Resolver resolver;
    QStringList paths;
    for (const QString& unit : listed) {
        if (kind != FileKind::SourceProject || UnitPath::extension(unit) == u".pas")
            paths.append(resolver.resolve(folder, unit));
    }
    return paths;
}

QStringList ProjectReader::unitsOfSourceProject(QByteArrayView bytes, const HarvestChoices& choices)
{
    QString text;
    const SourceText::Decoding decoding = SourceText::fromBytes(bytes, text, choices.encoding);
    const QStringList units = readProjectLiterals(text, decoding.utf8, choices.trace);
    m_harvester.lexer().keepLastToken();
    return units;
}

QStringList ProjectReader::readProjectLiterals(const QString& text, bool unicodeLetters, bool trace)
{
    LexerState& lexer = m_harvester.lexer();
    QStringList units;
    qsizetype position = 0;
    lexer.startText(text, unicodeLetters);
    lexer.setNoToken();
    while (!lexer.tokenIsEof()) {
        const int code = lexer.nextToken(text, position);
        if (trace)
            m_trace.addToken(TraceLog::Source::Project, code, lexer.tokenText());
        if (code == StringLiteral) {
            const QString literal = lexer.tokenText();
            units.append(lowerAsciiLetters(literal.mid(1, literal.size() - 2)));
        }
    }
    return units;
}
