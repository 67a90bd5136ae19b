// The project readers over any bytes: the literals of a source project, or
// the XML of a Lazarus project, a Lazarus package or a Delphi project (the
// first byte chooses), and the matching of the paths they find against an
// empty folder. Nothing may escape or crash; malformed XML fails with the
// file and the line, never otherwise.
#include "app/Session.h"
#include "common/QuorvelError.h"
#include "common/UnitPath.h"
#include "harvest/ProjectFiles.h"
#include "harvest/SourceReferences.h"
#include "harvest/SourceSearch.h"
#include "tests/support/SilentPrompts.h"

#include <QTemporaryDir>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    static QTemporaryDir folder;
    const FileKind kinds[] = {FileKind::SourceProject, FileKind::LazarusProject, FileKind::LazarusPackage,
                              FileKind::DelphiProject};
    const FileKind kind = kinds[data[0] % 4];
    const QByteArrayView bytes(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size - 1));
    ProjectFiles::Listing listing;
    if (kind == FileKind::SourceProject) {
        SilentPrompts prompts;
        Session session(prompts);
        listing = session.projects.readSourceProject(bytes, HarvestChoices{});
        // The references of the same text, as a unit's.
        SourceReferences::scan(QString::fromUtf8(bytes));
    } else {
        try {
            listing = ProjectFiles::readXmlProject(QStringLiteral("p.lpi"), kind, bytes);
        } catch (const QuorvelError& e) {
            if (!e.message().startsWith(QStringLiteral("p.lpi:")))
                std::abort();
        }
    }
    UnitPath::Resolver resolver;
    for (const ProjectFiles::Listing::Entry& unit : listing.files) {
        UnitPath::extension(unit.path);
        resolver.resolve(folder.path(), unit.path);
    }
    SourceSearch search(folder.path(), listing.unitFolders, listing.includeFolders);
    for (const QString& name : {QStringLiteral("System.SysUtils"), QStringLiteral("x")}) {
        search.findUnit(name);
        search.findInclude(name, folder.path());
    }
    return 0;
}
