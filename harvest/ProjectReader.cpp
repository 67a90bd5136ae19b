// The project reader: harvests every unit whose path a project file names.
#include "app/QuorvelCore.h"

#include "common/AsciiCase.h"
#include "common/UserPrompts.h"
#include "harvest/SourceText.h"
#include "harvest/UnitFeed.h"
#include "harvest/UnitPath.h"

#include <QFileInfo>
#include <QScopeGuard>

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
    QStringList paths;
    paths.reserve(files.size());
    for (const QString& file : files)
        paths.append(resolver.resolve(folder, file));

    // The units are read and skimmed on worker threads while this one
    // harvests them; questions and messages stay here, in the units' order.
    UnitFeed feed(paths, 0, traceKeepsUnitBytes());
    const auto noFeed = qScopeGuard([this] { m_feed = nullptr; });
    const int total = static_cast<int>(paths.size());
    for (int i = 0; i < total; ++i) {
        m_prompts.reportProgress(i, total, paths[i]);
        QByteArray bytes; // kept by the trace, when it is on
        if (!feed.nextUnit(m_texto, &bytes)) {
            m_prompts.showMessage(u"O arquivo indicado não pôde ser aberto."_s, paths[i]);
            continue;
        }
        m_tokenSource.clear();
        m_feed = &feed;
        harvestText(paths[i], std::move(bytes));
    }
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
