#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <vector>

// The kinds of files the opening command takes, told by their extension in
// any letter case.
enum class FileKind
{
    SourceProject,  // .dpr, .lpr (Lazarus program), .dpk (Delphi package): its literals name the units
    LazarusProject, // .lpi: the units marked part of the project
    LazarusPackage, // .lpk: the package's files
    DelphiProject,  // .dproj: its main source and its DCCReference units
    Unit,           // anything else, .pas and .pp among them
};

namespace ProjectFiles {

FileKind kindOf(const QString& file);
// True for the files a user opens: every project kind and the units' .pas
// and .pp (a file dropped on the window, for instance).
bool opens(const QString& file);
// The open dialog's filters: the two of old first, the first selected, then
// every project kind and every unit kind.
QStringList openFilters();

// What a project file says of its sources, as written there: paths are
// relative to the file's folder, with either separator.
struct Listing
{
    struct Entry
    {
        QString path;
        int line = 0; // of the project file, where it names the file
    };
    std::vector<Entry> files;   // in the project's order
    QStringList unitFolders;    // searched for units the sources use
    QStringList includeFolders; // searched for {$I} files
    QString title;              // the project\'s own title, when it has one
    QString version;            // its version information, when it keeps one
};

// What an XML project file (.lpi, .lpk, .dproj) lists. The search paths
// leave out entries with macros ($(LazarusDir)), which name no folder of
// the project. Throws QuorvelError "FILE:LINE: projeto malformado: ..."
// when the XML is not well formed.
Listing readXmlProject(const QString& file, FileKind kind, QByteArrayView bytes);

} // namespace ProjectFiles
