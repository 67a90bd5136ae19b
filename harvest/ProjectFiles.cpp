#include "harvest/ProjectFiles.h"

#include "common/Encoding.h"
#include "common/QuorvelError.h"
#include "common/UnitPath.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

using ProjectFiles::Listing;

bool endsWithAny(const QString& name, std::initializer_list<QStringView> extensions)
{
    for (const QStringView extension : extensions) {
        if (name.endsWith(extension, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

// An entry of a Lazarus list in either form Lazarus writes: <Unit> or the
// numbered <Unit0>, <Unit1>, ... (likewise <Item>, <Item1>, ...).
bool isListEntry(QStringView element, QStringView stem)
{
    if (!element.startsWith(stem))
        return false;
    for (const QChar c : element.sliced(stem.size())) {
        if (!c.isDigit())
            return false;
    }
    return true;
}

// Walks the elements of an XML file, handing each start to `onStart` with
// the path of the elements open around it. `onStart` returns true when it
// read the element to its end (readElementText), so the path stays right.
template <typename OnStart> void walk(QXmlStreamReader& xml, OnStart onStart)
{
    QStringList path;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::DTD) {
            // Lazarus and Delphi never write one, and its entities are how
            // a small file expands into gigabytes: read no further.
            xml.raiseError(u"um arquivo de projeto não tem DTD"_s);
        } else if (token == QXmlStreamReader::EndElement) {
            if (!path.isEmpty())
                path.removeLast();
        } else if (token == QXmlStreamReader::StartElement) {
            const QString name = xml.name().toString();
            if (!onStart(name, path))
                path.append(name);
        }
    }
}

// For each entry `stem` of the list `list` inside `section` of a Lazarus
// file: the Value of its Filename, its line, and, when `flag` is given,
// whether that child's Value is "True".
struct LazarusEntry
{
    QString filename;
    int line = 0;
    bool flagged = false;
};

// The folders of a search path as Lazarus and Delphi write it: separated by
// ';', relative to the project; an entry with a macro is left out.
void addSearchPath(QStringList& folders, QStringView value)
{
    for (QStringView folder : value.split(u';', Qt::SkipEmptyParts)) {
        folder = folder.trimmed();
        if (!folder.isEmpty() && !folder.contains(u"$(") && !folders.contains(folder))
            folders.append(folder.toString());
    }
}

// <CompilerOptions><SearchPaths><OtherUnitFiles Value=".."/>, and
// <IncludeFiles>, of a Lazarus project or package.
void readLazarusSearchPath(QXmlStreamReader& xml, const QString& name, const QStringList& path,
                           Listing& listing)
{
    if (path.size() < 2 || path.last() != u"SearchPaths" || path[path.size() - 2] != u"CompilerOptions")
        return;
    const QStringView value = xml.attributes().value(QLatin1StringView("Value"));
    if (name == u"OtherUnitFiles")
        addSearchPath(listing.unitFolders, value);
    else if (name == u"IncludeFiles")
        addSearchPath(listing.includeFolders, value);
}

// A Lazarus project's <Title> and <VersionInfo>, a package's <Name> and
// <Version>.
struct LazarusVersion
{
    bool used = false;
    QString parts[4];
};

void readLazarusIdentity(QXmlStreamReader& xml, const QString& name, const QStringList& path,
                         Listing& listing, LazarusVersion& version)
{
    const QString value = xml.attributes().value(QLatin1StringView("Value")).toString();
    const QString parent = path.isEmpty() ? QString() : path.last();
    if (name == u"Title" && parent == u"General") {
        listing.title = value;
    } else if (name == u"Name" && parent == u"Package") {
        listing.title = value;
    } else if (parent == u"VersionInfo") {
        static constexpr QStringView kParts[] = {u"MajorVersionNr", u"MinorVersionNr", u"RevisionNr",
                                                 u"BuildNr"};
        if (name == u"UseVersionInfo")
            version.used = value.compare(u"True", Qt::CaseInsensitive) == 0;
        for (int i = 0; i < 4; ++i) {
            if (name == kParts[i])
                version.parts[i] = value;
        }
    } else if (name == u"Version" && parent == u"Package") {
        version.used = true;
        version.parts[0] = xml.attributes().value(QLatin1StringView("Major")).toString();
        version.parts[1] = xml.attributes().value(QLatin1StringView("Minor")).toString();
        version.parts[2] = xml.attributes().value(QLatin1StringView("Release")).toString();
        version.parts[3] = xml.attributes().value(QLatin1StringView("Build")).toString();
    }
}

// "1.2.3", with the build when it is not 0; missing parts are 0, as the
// tools that write them mean.
QString versionText(const QString (&parts)[4])
{
    QString text = (parts[0].isEmpty() ? u"0"_s : parts[0]) % u'.' %
                   (parts[1].isEmpty() ? u"0"_s : parts[1]) % u'.' % (parts[2].isEmpty() ? u"0"_s : parts[2]);
    if (!parts[3].isEmpty() && parts[3] != u"0")
        text += u'.' % parts[3];
    return text;
}

std::vector<LazarusEntry> lazarusEntries(QXmlStreamReader& xml, QStringView section, QStringView list,
                                         QStringView stem, QStringView flag, Listing& listing)
{
    std::vector<LazarusEntry> entries;
    LazarusVersion version;
    walk(xml, [&](const QString& name, const QStringList& path) {
        const qsizetype depth = path.size();
        if (depth >= 2 && path[depth - 1] == list && path[depth - 2] == section && isListEntry(name, stem)) {
            entries.push_back({{}, static_cast<int>(xml.lineNumber()), false});
        } else if (depth >= 3 && path[depth - 2] == list && path[depth - 3] == section &&
                   isListEntry(path[depth - 1], stem) && !entries.empty()) {
            const QString value = xml.attributes().value(QLatin1StringView("Value")).toString();
            if (name == u"Filename")
                entries.back().filename = value;
            else if (!flag.isEmpty() && name == flag)
                entries.back().flagged = value.compare(u"True", Qt::CaseInsensitive) == 0;
        } else {
            readLazarusSearchPath(xml, name, path, listing);
            readLazarusIdentity(xml, name, path, listing, version);
        }
        return false;
    });
    if (version.used)
        listing.version = versionText(version.parts);
    return entries;
}

void lazarusProject(QXmlStreamReader& xml, Listing& listing)
{
    for (const LazarusEntry& e :
         lazarusEntries(xml, u"ProjectOptions", u"Units", u"Unit", u"IsPartOfProject", listing)) {
        if (e.flagged && endsWithAny(e.filename, {u".pas", u".pp", u".lpr"}))
            listing.files.push_back({e.filename, e.line});
    }
}

void lazarusPackage(QXmlStreamReader& xml, Listing& listing)
{
    for (const LazarusEntry& e : lazarusEntries(xml, u"Package", u"Files", u"Item", {}, listing)) {
        if (endsWithAny(e.filename, {u".pas", u".pp"}))
            listing.files.push_back({e.filename, e.line});
    }
}

// The main source (the <MainSource> of a <PropertyGroup>; the one inside
// <DelphiCompile> is a marker, not a file), then the DCCReference units;
// the search paths of DCC_UnitSearchPath and DCC_IncludePath.
void delphiProject(QXmlStreamReader& xml, Listing& listing)
{
    Listing::Entry mainSource;
    QString version[4];
    bool versioned = false;
    walk(xml, [&](const QString& name, const QStringList& path) {
        const bool inGroup = !path.isEmpty() && path.last() == u"PropertyGroup";
        if (name == u"DCCReference") {
            const QString include = xml.attributes().value(QLatin1StringView("Include")).toString();
            if (endsWithAny(include, {u".pas"}))
                listing.files.push_back({include, static_cast<int>(xml.lineNumber())});
        } else if (name == u"MainSource" && inGroup && mainSource.path.isEmpty()) {
            mainSource.line = static_cast<int>(xml.lineNumber());
            mainSource.path = xml.readElementText().trimmed();
            return true;
        } else if ((name == u"DCC_UnitSearchPath" || name == u"DCC_IncludePath") && inGroup) {
            QStringList& folders =
                name == u"DCC_UnitSearchPath" ? listing.unitFolders : listing.includeFolders;
            addSearchPath(folders, xml.readElementText());
            return true;
        } else if (inGroup && name.startsWith(u"VerInfo_")) {
            static constexpr QStringView kParts[] = {u"VerInfo_MajorVer", u"VerInfo_MinorVer",
                                                     u"VerInfo_Release", u"VerInfo_Build"};
            for (int i = 0; i < 4; ++i) {
                if (name == kParts[i] && version[i].isEmpty()) {
                    version[i] = xml.readElementText().trimmed();
                    versioned = true;
                    return true;
                }
            }
        }
        return false;
    });
    if (versioned)
        listing.version = versionText(version);
    if (!mainSource.path.isEmpty())
        listing.files.insert(listing.files.begin(), mainSource);
}

Listing listingOf(QXmlStreamReader& xml, FileKind kind)
{
    Listing listing;
    switch (kind) {
    case FileKind::LazarusProject:
        lazarusProject(xml, listing);
        break;
    case FileKind::LazarusPackage:
        lazarusPackage(xml, listing);
        break;
    case FileKind::DelphiProject:
        delphiProject(xml, listing);
        break;
    case FileKind::SourceProject:
    case FileKind::Unit:
        break;
    }
    return listing;
}

// True when an XML file is UTF-8: it declares so, or declares no encoding
// and has no UTF-16 mark (UTF-8 is XML's own).
bool isUtf8Xml(QByteArrayView bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return false;
    static const QRegularExpression declaration(
        u"^(?:\\xEF\\xBB\\xBF)?\\s*<\\?xml[^>]*?encoding\\s*=\\s*[\"']([^\"']*)"_s);
    const QByteArrayView head = bytes.first(std::min<qsizetype>(bytes.size(), 200));
    const QRegularExpressionMatch match = declaration.match(QString::fromLatin1(head));
    return !match.hasMatch() || match.captured(1).compare(u"utf-8", Qt::CaseInsensitive) == 0 ||
           match.captured(1).compare(u"utf8", Qt::CaseInsensitive) == 0;
}

// The line of the reader's error. The reader decodes ahead of what it
// parses, and says line 1 for a byte that is no UTF-8 wherever it stands:
// when the text before that byte is well formed, the byte is the error.
qint64 errorLine(const QXmlStreamReader& xml, QByteArrayView bytes, FileKind kind)
{
    if (!isUtf8Xml(bytes))
        return xml.lineNumber();
    const qsizetype invalid = Utf8::firstInvalid(bytes);
    if (invalid < 0)
        return xml.lineNumber();
    QXmlStreamReader before(bytes.first(invalid).toByteArray());
    listingOf(before, kind);
    if (before.hasError() && before.error() != QXmlStreamReader::PrematureEndOfDocumentError)
        return before.lineNumber();
    return 1 + bytes.first(invalid).count('\n');
}

} // namespace

namespace ProjectFiles {

FileKind kindOf(const QString& file)
{
    // In any letter case: Windows tools save "P.DPR" as readily as "p.dpr".
    const QString extension = UnitPath::extension(file).toLower();
    if (extension == u".dpr" || extension == u".lpr" || extension == u".dpk")
        return FileKind::SourceProject;
    if (extension == u".lpi")
        return FileKind::LazarusProject;
    if (extension == u".lpk")
        return FileKind::LazarusPackage;
    if (extension == u".dproj")
        return FileKind::DelphiProject;
    return FileKind::Unit;
}

bool opens(const QString& file)
{
    const QString extension = UnitPath::extension(file).toLower();
    return kindOf(file) != FileKind::Unit || extension == u".pas" || extension == u".pp";
}

QStringList openFilters()
{
    return {u"Projetos Delphi (*.dpr)"_s, u"Units Delphi (*.pas)"_s,
            u"Todos os projetos (*.dpr *.lpr *.dpk *.lpi *.lpk *.dproj)"_s, u"Todas as units (*.pas *.pp)"_s};
}

Listing readXmlProject(const QString& file, FileKind kind, QByteArrayView bytes)
{
    QXmlStreamReader xml(bytes.toByteArray());
    Listing listing = listingOf(xml, kind);
    if (xml.hasError())
        throw QuorvelError(u"%1:%2: projeto malformado: %3"_s.arg(file)
                               .arg(errorLine(xml, bytes, kind))
                               .arg(xml.errorString()));
    return listing;
}

} // namespace ProjectFiles
