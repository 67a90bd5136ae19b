#include "harvest/ProjectReader.h"

#include "common/AsciiCase.h"
#include "common/FileReading.h"
#include "common/QuorvelError.h"
#include "common/UnitPath.h"
#include "common/UserPrompts.h"
#include "harvest/ProjectFiles.h"
#include "harvest/SourceText.h"
#include "harvest/UnitFeed.h"
#include "harvest/UnitHarvester.h"

#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

ProjectReader::ProjectReader(IUserPrompts& prompts, UnitHarvester& harvester, TraceLog& trace)
    : m_prompts(prompts), m_harvester(harvester), m_trace(trace)
{}

void ProjectReader::AbreProjeto(const QString& arquivo)
{
    if (!SourceText::fileExists(arquivo)) {
        m_prompts.showMessage(UnitHarvester::mensagemArquivoInexistente(), arquivo);
        return;
    }
    const TipoArquivo tipo = ProjectFiles::tipoDe(arquivo);
    QStringList listed;
    if (tipo == TipoArquivo::ProjetoFonte) {
        listed = unitsDoProjeto(SourceText::readFile(arquivo));
    } else {
        QByteArray bytes;
        FileReading::read(arquivo, bytes);
        listed = ProjectFiles::unitsDoXml(arquivo, tipo, bytes);
        // A project file whose list yields no name (an empty or unreadable
        // main source, no unit marked part of it) would otherwise end with
        // nothing harvested and not a word.
        if (listed.isEmpty())
            throw QuorvelError(arquivo %
                               u": o projeto não indica nenhum arquivo de código que possa ser lido."_s);
    }
    const QStringList paths = caminhosDasUnits(arquivo, listed, tipo);

    // The units are read and skimmed on worker threads while this one
    // harvests them; questions and messages stay here, in the units' order.
    m_cancelled = false;
    UnitFeed feed(paths, 0, m_harvester.traceKeepsUnitBytes(), m_harvester.codificacao());
    const int total = static_cast<int>(paths.size());
    for (int i = 0; i < total; ++i) {
        m_prompts.reportProgress(i, total, paths[i]);
        // A Cancel stops the harvest after the unit being read; its rows stay.
        if (m_prompts.cancelRequested()) {
            m_cancelled = true;
            break;
        }
        QByteArray bytes; // kept by the trace, when it is on
        SourceText::Leitura leitura;
        if (!feed.nextUnit(m_harvester.textForFeed(), &bytes, &leitura)) {
            m_prompts.showMessage(UnitHarvester::mensagemArquivoInexistente(), paths[i]);
            continue;
        }
        m_harvester.harvestFromFeed(feed, paths[i], std::move(bytes), leitura);
    }
}

QStringList ProjectReader::caminhosDasUnits(const QString& arquivo, const QStringList& listed,
                                            TipoArquivo tipo)
{
    // Paths in a project are relative to the project's folder. Of a source
    // project's literals only the ".pas" paths are units; an XML project's
    // list holds nothing else.
    const QString folder = QFileInfo(arquivo).absolutePath();
    UnitPath::Resolver resolver;
    QStringList paths;
    for (const QString& unit : listed) {
        if (tipo != TipoArquivo::ProjetoFonte || UnitPath::extension(unit) == u".pas")
            paths.append(resolver.resolve(folder, unit));
    }
    return paths;
}

QStringList ProjectReader::unitsDoProjeto(QByteArrayView bytes)
{
    QString texto;
    const SourceText::Leitura leitura = SourceText::fromBytes(bytes, texto, m_harvester.codificacao());
    const QStringList units = LeProjeto(texto, leitura.utf8);
    m_harvester.lexer().keepLastToken();
    return units;
}

QStringList ProjectReader::LeProjeto(const QString& texto, bool unicodeLetters)
{
    LexerState& lexer = m_harvester.lexer();
    QStringList units;
    qsizetype posicao = 0;
    lexer.startText(texto, unicodeLetters);
    lexer.setNoToken();
    while (!lexer.tokenIsEof()) {
        const int code = lexer.ProximoToken(texto, posicao);
        if (m_harvester.traceEnabled())
            m_trace.addToken(TraceLog::Source::Project, code, lexer.TextoToken());
        if (code == StringLiteral) {
            const QString literal = lexer.TextoToken();
            units.append(lowerAsciiLetters(literal.mid(1, literal.size() - 2)));
        }
    }
    return units;
}
