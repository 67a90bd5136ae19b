#include "harvest/TokenSource.h"

#include "harvest/UnitFeed.h"

int EveryTokenSource::next(qsizetype& pos, int& line, Token& token)
{
    Lexer::next(m_text, pos, line, token, m_unicodeLetters);
    return NoToken;
}

void SkimmingSource::begin(const QString& text, bool unicodeLetters)
{
    m_text = text;
    m_skim = Lexer::SkimState();
    m_skim.unicodeLetters = unicodeLetters;
    m_skimDone = false;
    m_own.clear();
    m_at = m_end = nullptr;
}

int SkimmingSource::next(qsizetype& pos, int& line, Token& token)
{
    // Landmarks before `pos` were read by the blocks already.
    while (m_at == m_end || m_at->start < pos) {
        if (m_at == m_end)
            loadRun();
        else
            ++m_at;
    }
    const Landmark& marco = *m_at;
    token = Token{marco.code, marco.start, marco.length, false};
    pos = marco.start + marco.length;
    line = marco.line;
    return marco.previousCode;
}

void SkimmingSource::loadRun()
{
    const std::vector<Landmark>* run = &m_own;
    if (m_feed != nullptr) {
        run = &m_feed->nextLandmarks();
    } else if (!m_skimDone) {
        // The text is skimmed here a run at a time.
        constexpr qsizetype kRunTokens = 4096;
        m_own.clear();
        m_skimDone = Lexer::skim(m_text, m_skim, kRunTokens, m_own);
    }
    m_at = run->data();
    m_end = run->data() + run->size();
}
