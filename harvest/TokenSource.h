#pragma once

#include "harvest/Lexer.h"

#include <QString>

#include <vector>

class UnitFeed;

// Where the harvest loop of a unit takes its next token from. The loop acts
// on landmarks alone (markers, `unit`, "eof", the end), so a source may pass
// over every other token unread; the tokens inside a block are always read
// one by one by the harvester itself.
class TokenSource
{
public:
    virtual ~TokenSource() = default;
    // A new unit's text starts; the source reads from its beginning, with
    // letters outside ASCII continuing identifiers when `unicodeLetters`.
    virtual void begin(const QString& text, bool unicodeLetters) = 0;
    // The loop's next token at or after `pos`: fills `token`, moves `pos`
    // past it and sets `line` to the line breaks before its end. Returns the
    // code of the token before it, or NoToken when the source read every
    // token up to it (so the caller's last code is already right).
    virtual int next(qsizetype& pos, int& line, Token& token) = 0;
    // True when every token the loop passes is read, so each can have its
    // trace line; false when tokens are passed over unread.
    virtual bool readsEveryToken() const = 0;
};

// Reads every token one by one: the plain way, which the tests hold the
// skimming to.
class EveryTokenSource : public TokenSource
{
public:
    void begin(const QString& text, bool unicodeLetters) override
    {
        m_text = text;
        m_unicodeLetters = unicodeLetters;
    }
    int next(qsizetype& pos, int& line, Token& token) override;
    bool readsEveryToken() const override { return true; }

private:
    QString m_text;
    bool m_unicodeLetters = false;
};

// Jumps from landmark to landmark: the landmarks come a run at a time, from
// the worker threads of a project (a UnitFeed) or from skimming the text here.
class SkimmingSource : public TokenSource
{
public:
    // With a feed, the landmarks of its current unit; without, a skim here.
    explicit SkimmingSource(UnitFeed* feed = nullptr) : m_feed(feed) {}
    void begin(const QString& text, bool unicodeLetters) override;
    int next(qsizetype& pos, int& line, Token& token) override;
    bool readsEveryToken() const override { return false; }

private:
    void loadRun();

    UnitFeed* m_feed;
    QString m_text;
    Lexer::SkimState m_skim;
    bool m_skimDone = false;
    std::vector<Landmark> m_own;
    const Landmark* m_at = nullptr;
    const Landmark* m_end = nullptr;
};
