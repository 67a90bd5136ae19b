// The project reader: harvests every unit whose path a project file names.
#include "app/QuorvelCore.h"

#include "common/AsciiCase.h"
#include "common/UserPrompts.h"
#include "harvest/SourceText.h"
#include "harvest/UnitPath.h"

#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

void QuorvelCore::AbreProjeto(const QString& arquivo)
{
    if (!SourceText::fileExists(arquivo)) {
        m_prompts.showMessage(u"O arquivo indicado não pôde ser aberto."_s, arquivo);
        return;
    }
    const QStringList units = unitsDoProjeto(SourceText::readFile(arquivo));

    // Paths in a project are relative to the project's folder.
    const QString folder = QFileInfo(arquivo).absolutePath();
    QStringList files;
    for (const QString& unit : units) {
        if (UnitPath::extension(unit) == u".pas")
            files.append(unit);
    }
    UnitPath::Resolver resolver;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString path = resolver.resolve(folder, files[i]);
        m_prompts.reportProgress(static_cast<int>(i), static_cast<int>(files.size()), path);
        AbreUnit(path);
    }
    m_prompts.reportProgress(static_cast<int>(files.size()), static_cast<int>(files.size()), QString());
}

QStringList QuorvelCore::unitsDoProjeto(QByteArrayView bytes)
{
    m_texto = SourceText::fromBytes(bytes);
    const QStringList units = LeProjeto();
    guardaUltimoToken();
    return units;
}

QStringList QuorvelCore::LeProjeto()
{
    QStringList units;
    qsizetype posicao = 0;
    m_tokenSource = m_texto;
    m_token = Token{Invalid, 0, 0, false};
    while (!tokenIsEof()) {
        const int code = ProximoToken(m_texto, posicao);
        if (m_traceEnabled)
            m_Memo1.addToken(TraceLog::Source::Project, code, TextoToken());
        if (code == StringLiteral) {
            const QString literal = TextoToken();
            units.append(lowerAsciiLetters(literal.mid(1, literal.size() - 2)));
        }
    }
    return units;
}
