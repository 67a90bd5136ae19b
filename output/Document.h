#pragma once

#include <QStringList>

#include <optional>

class IUserPrompts;
class IdentifierTable;
class SettingsLocation;
struct DocumentationOptions;

// The rich-text documentation: paragraphs built from the identifier table in
// its current order, which the document view shows and Salvar writes as a
// Rich Text Format file.
class Document
{
public:
    Document(IUserPrompts& prompts, const SettingsLocation& settings, IdentifierTable& table);

    // Rebuilds the document with the inclusion switches of the settings,
    // leaving the table's cursor on its last row.
    void buildDocument();
    // The document's paragraphs for a table: for each run of rows of one
    // unit, "Unit <name>;", then each included row's identifier and help.
    static QStringList paragraphs(const IdentifierTable& table, const DocumentationOptions& options);
    // Empties the document (Novo).
    void clear();
    const QStringList& documentLines() const { return m_documentLines; }
    // Grows with every change of the document, so a view knows when to redraw.
    int documentRevision() const { return m_revision; }

    // The save dialog, then the document written as Rich Text Format. Returns
    // the file written, nothing when cancelled; throws QuorvelError when the
    // file cannot be created.
    std::optional<QString> runSave();
    // ".rtf" appended unless the name already ends in exactly ".rtf".
    static QString withRtfExtension(const QString& name);

private:
    IUserPrompts& m_prompts;
    const SettingsLocation& m_settings;
    IdentifierTable& m_table;
    QStringList m_documentLines;
    int m_revision = 0;
    QString m_rtfFileName;
};
