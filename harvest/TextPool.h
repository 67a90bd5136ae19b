#pragma once

#include <QHashFunctions>
#include <QString>
#include <QStringView>

#include <unordered_set>

// Texts that come again and again across rows (a unit's name, the kinds, the
// common return types) are kept once and shared by every row that has them:
// a project of a quarter of a million rows would otherwise hold as many
// copies of "Procedure" and of each unit's name.
class TextPool
{
public:
    // The pooled copy of `text`, the same shared string each time the same
    // text comes again. A long text, or one past the pool's size, is copied
    // instead: it is rarely met twice.
    QString shared(QStringView text)
    {
        if (text.size() > kLongestPooled)
            return text.toString();
        if (const auto known = m_texts.find(text); known != m_texts.end())
            return *known;
        QString copy = text.toString();
        if (m_texts.size() < kMostPooled)
            m_texts.insert(copy);
        return copy;
    }

private:
    static constexpr qsizetype kLongestPooled = 64;
    static constexpr size_t kMostPooled = 1 << 16;

    struct Hash
    {
        using is_transparent = void;
        size_t operator()(QStringView text) const noexcept { return qHash(text); }
    };
    struct Equal
    {
        using is_transparent = void;
        bool operator()(QStringView a, QStringView b) const noexcept { return a == b; }
    };
    std::unordered_set<QString, Hash, Equal> m_texts;
};
