#pragma once

#include <QStringList>

#include <optional>

class IUserPrompts;
class IdentifierTable;
class SettingsLocation;
struct OpcoesDocumentacao;

// The rich-text documentation: paragraphs built from the identifier table in
// its current order, which the document view shows and Salvar writes as a
// Rich Text Format file.
class Documento
{
public:
    Documento(IUserPrompts& prompts, const SettingsLocation& settings, IdentifierTable& table);

    // Rebuilds the document with the inclusion switches of the settings,
    // leaving the table's cursor on its last row.
    void GeraDocumentacao();
    // The document's paragraphs for a table: for each run of rows of one
    // unit, "Unit <name>;", then each included row's identifier and help.
    static QStringList paragrafos(const IdentifierTable& table, const OpcoesDocumentacao& opcoes);
    // Empties the document (Novo).
    void limpa();
    const QStringList& reDocumentacao() const { return m_reDocumentacao; }
    // Grows with every change of the document, so a view knows when to redraw.
    int revisaoDocumentacao() const { return m_revisao; }

    // The save dialog, then the document written as Rich Text Format. Returns
    // the file written, nothing when cancelled; throws QuorvelError when the
    // file cannot be created.
    std::optional<QString> SalvarExecute();
    // ".rtf" appended unless the name already ends in exactly ".rtf".
    static QString comExtensaoRtf(const QString& nome);

private:
    IUserPrompts& m_prompts;
    const SettingsLocation& m_settings;
    IdentifierTable& m_table;
    QStringList m_reDocumentacao;
    int m_revisao = 0;
    QString m_nomeArquivoRtf;
};
