#include "harvest/ProjectReader.h"

#include "common/AsciiCase.h"
#include "common/FileReading.h"
#include "common/QuorvelError.h"
#include "common/UnitPath.h"
#include "common/UserPrompts.h"
#include "harvest/ProjectFiles.h"
#include "harvest/SourceReferences.h"
#include "harvest/SourceSearch.h"
#include "harvest/SourceText.h"
#include "harvest/UnitFeed.h"
#include "harvest/UnitHarvester.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

ProjectReader::ProjectReader(IUserPrompts& prompts, UnitHarvester& harvester, TraceLog& trace)
    : m_prompts(prompts), m_harvester(harvester), m_trace(trace)
{}

void ProjectReader::openProject(const QString& file, const HarvestChoices& choices)
{
    m_project = {};
    if (!SourceText::fileExists(file)) {
        m_prompts.showMessage(UnitHarvester::missingFileMessage(), file, {});
        return;
    }
    const FileKind kind = ProjectFiles::kindOf(file);
    ProjectFiles::Listing listing;
    QByteArray programBytes; // a program file's own, harvested once its units are
    std::vector<SourceReferences::UsedUnit> programUses;
    if (kind == FileKind::SourceProject) {
        programBytes = SourceText::readFile(file);
        listing = readSourceProject(programBytes, choices);
        // Its units without a path, found as the compiler finds them. The
        // text is decoded again: the harvest of the units reuses the buffers.
        QString text;
        SourceText::fromBytes(programBytes, text, choices.encoding);
        programUses = SourceReferences::scan(text).units;
        addSiblingSearchPaths(file, listing);
    } else {
        QByteArray bytes;
        FileReading::read(file, bytes);
        listing = ProjectFiles::readXmlProject(file, kind, bytes);
        // A project file whose list yields no name (an empty or unreadable
        // main source, no unit marked part of it) would otherwise end with
        // nothing harvested and not a word.
        if (listing.files.empty())
            throw QuorvelError(file %
                               u": o projeto não indica nenhum arquivo de código que possa ser lido."_s);
    }
    m_project = {listing.title, listing.version};
    if (m_project.title.isEmpty() && kind == FileKind::DelphiProject && !listing.files.empty())
        m_project.title = QFileInfo(listing.files.front().path).completeBaseName(); // the main source's
    const QString folder = QFileInfo(file).absolutePath();
    SourceSearch search(folder, listing.unitFolders, listing.includeFolders);
    HarvestChoices unitChoices = choices;
    unitChoices.includeFolders = search.includeFolders();

    m_cancelled = false;
    m_harvested.clear();
    m_progressDone = 0;
    m_harvested.insert(QFileInfo(file).absoluteFilePath());
    std::vector<NamedUnit> units = listedUnits(file, listing, kind);
    for (const NamedUnit& unit : units)
        m_harvested.insert(QFileInfo(unit.path).absoluteFilePath());
    std::vector<NamedUnit> used;
    for (const SourceReferences::UsedUnit& unit : programUses) {
        if (unit.inFile.isEmpty())
            used.push_back({{}, file, unit.line, unit.name});
    }
    // The units are read and skimmed on worker threads while this one
    // harvests them; questions and messages stay here, in the units' order.
    // Each round harvests the units the last one used, until none is new.
    for (;;) {
        harvestUnits(units, unitChoices, used);
        if (m_cancelled)
            break;
        units = unitsToFollow(used, search);
        used.clear();
        if (units.empty())
            break;
    }
    // The program file's own marked comments are documented too, after its
    // units (whose worker threads have ended: the harvest's text is no longer
    // shared with them), as a unit named by its heading or its file's name.
    if (kind == FileKind::SourceProject && !m_cancelled) {
        m_harvester.harvestBytes(programBytes, file, unitChoices, programName(file));
        m_project.title = m_harvester.unitName().trimmed();
    }
}

void ProjectReader::harvestUnits(const std::vector<NamedUnit>& units, const HarvestChoices& choices,
                                 std::vector<NamedUnit>& used)
{
    if (units.empty())
        return;
    QStringList paths;
    for (const NamedUnit& unit : units)
        paths.append(unit.path);
    UnitFeed feed(paths, 0, choices.traceKeepsUnitBytes(), choices.encoding);
    const int total = m_progressDone + static_cast<int>(units.size());
    for (const NamedUnit& unit : units) {
        m_prompts.reportProgress(m_progressDone, total, unit.path);
        // A Cancel stops the harvest after the unit being read; its rows stay.
        if (m_prompts.cancelRequested()) {
            m_cancelled = true;
            break;
        }
        ++m_progressDone;
        QByteArray bytes; // kept by the trace, when it is on
        SourceText::Decoding decoding;
        SourceReferences::References references;
        if (!feed.nextUnit(m_harvester.textForFeed(), &bytes, &decoding, &references)) {
            m_prompts.showMessage(UnitHarvester::missingFileMessage(), unit.path,
                                  SourceWarning{unit.namedBy, unit.line,
                                                u"O arquivo indicado não pôde ser aberto: "_s % unit.path});
            ++m_harvester.report().unitsNotRead;
            continue;
        }
        m_harvester.harvestFromFeed(feed, unit.path, std::move(bytes), decoding, std::move(references),
                                    choices, programName(unit.path));
        const QString folder = QFileInfo(unit.path).absolutePath();
        for (const SourceReferences::UsedUnit& usedUnit : m_harvester.usedUnits()) {
            if (usedUnit.inFile.isEmpty())
                used.push_back({{}, unit.path, usedUnit.line, usedUnit.name});
            else
                used.push_back({UnitPath::resolve(folder, usedUnit.inFile), unit.path, usedUnit.line, {}});
        }
    }
}

std::vector<ProjectReader::NamedUnit> ProjectReader::unitsToFollow(const std::vector<NamedUnit>& used,
                                                                   SourceSearch& search)
{
    std::vector<NamedUnit> found;
    for (const NamedUnit& unit : used) {
        // A name is looked up once; a path (from "in '...'") is taken as it is.
        std::optional<QString> path;
        if (unit.name.isEmpty()) {
            if (QFileInfo(unit.path).isFile())
                path = unit.path;
        } else {
            const QString key = u"unit:"_s % unit.name.toLower();
            if (m_harvested.contains(key))
                continue;
            m_harvested.insert(key);
            path = search.findUnit(unit.name);
            if (!path)
                m_harvester.report().addNotFound(unit.name);
        }
        if (!path)
            continue;
        const QString absolute = QFileInfo(*path).absoluteFilePath();
        if (m_harvested.contains(absolute))
            continue;
        m_harvested.insert(absolute);
        found.push_back({*path, unit.namedBy, unit.line, {}});
    }
    return found;
}

void ProjectReader::addSiblingSearchPaths(const QString& file, ProjectFiles::Listing& listing)
{
    // The project file Lazarus or Delphi keeps beside a program holds its
    // search paths: P.lpr beside P.lpi, P.dpr beside P.dproj.
    const QFileInfo program(file);
    const QDir folder = program.absoluteDir();
    for (const QFileInfo& sibling : folder.entryInfoList(QDir::Files)) {
        const FileKind kind = ProjectFiles::kindOf(sibling.fileName());
        if ((kind != FileKind::LazarusProject && kind != FileKind::DelphiProject) ||
            sibling.completeBaseName().compare(program.completeBaseName(), Qt::CaseInsensitive) != 0)
            continue;
        try {
            QByteArray bytes;
            FileReading::read(sibling.filePath(), bytes);
            const ProjectFiles::Listing options =
                ProjectFiles::readXmlProject(sibling.filePath(), kind, bytes);
            listing.unitFolders += options.unitFolders;
            listing.includeFolders += options.includeFolders;
        } catch (const QuorvelError&) {
            // Only the program was asked for: a sibling that cannot be read
            // leaves it with its own folder, as it had before.
        }
    }
}

QString ProjectReader::programName(const QString& path)
{
    const QString extension = UnitPath::extension(path).toLower();
    if (extension != u".dpr" && extension != u".lpr" && extension != u".dpk")
        return {};
    return QFileInfo(path).completeBaseName();
}

std::vector<ProjectReader::NamedUnit>
ProjectReader::listedUnits(const QString& file, const ProjectFiles::Listing& listing, FileKind kind)
{
    // Paths in a project are relative to the project's folder. Of a source
    // project's literals only the ".pas" paths are units; an XML project's
    // list holds nothing else.
    const QString folder = QFileInfo(file).absolutePath();
    UnitPath::Resolver resolver;
    std::vector<NamedUnit> units;
    for (const ProjectFiles::Listing::Entry& entry : listing.files) {
        if (kind != FileKind::SourceProject || UnitPath::extension(entry.path) == u".pas")
            units.push_back({resolver.resolve(folder, entry.path), file, entry.line, {}});
    }
    return units;
}

ProjectFiles::Listing ProjectReader::readSourceProject(QByteArrayView bytes, const HarvestChoices& choices)
{
    QString text;
    const SourceText::Decoding decoding = SourceText::fromBytes(bytes, text, choices.encoding);
    ProjectFiles::Listing listing;
    readProjectLiterals(text, decoding.utf8, choices.trace, listing);
    m_harvester.lexer().keepLastToken();
    return listing;
}

void ProjectReader::readProjectLiterals(const QString& text, bool unicodeLetters, bool trace,
                                        ProjectFiles::Listing& listing)
{
    LexerState& lexer = m_harvester.lexer();
    qsizetype position = 0;
    lexer.startText(text, unicodeLetters);
    lexer.setNoToken();
    while (!lexer.tokenIsEof()) {
        const int code = lexer.nextToken(text, position);
        if (trace)
            m_trace.addToken(TraceLog::Source::Project, code, lexer.tokenText());
        if (code == StringLiteral) {
            const QString literal = lexer.tokenText();
            listing.files.push_back(
                {lowerAsciiLetters(literal.mid(1, literal.size() - 2)), lexer.currentLine() + 1});
        }
    }
}
