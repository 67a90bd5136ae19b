#pragma once

#include <QHash>
#include <QString>

// A comment's help text as HTML for the modern site. The text is text:
// everything is escaped but a short list of simple tags people write in
// comments (b, i, u, em, strong, code, pre, br, p, ul, ol, li, and a with an
// http, https or relative href), which are kept when they nest properly.
// Paragraphs of the comment (line breaks) become paragraphs; a word that
// names a documented routine or unit links to it.
namespace HelpMarkup {

// Lower-cased name -> the address it links to.
using Links = QHash<QString, QString>;

// `self`, lower-cased, is the name the text documents: it does not link to
// itself.
QString toHtml(const QString& help, const Links& links = {}, const QString& self = {});

// Escapes &, <, >, " and '.
QString escaped(QStringView text);

} // namespace HelpMarkup
