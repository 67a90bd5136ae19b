#pragma once

#include <QString>

// The fixed texts of the help window's three pages, hard-wrapped lines; a line
// of one or two blanks stands between paragraphs.
namespace AjudaTextos {

QString funcionamento();
QString recursosQuorvel();
QString sobreQuorvel();
// The contact lines of the program's makers.
QString contato();

} // namespace AjudaTextos
