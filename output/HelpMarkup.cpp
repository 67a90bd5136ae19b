#include "output/HelpMarkup.h"

#include <QRegularExpression>

#include <QStringList>
#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace HelpMarkup {

QString escaped(QStringView text)
{
    // Runs of characters that need nothing are copied whole.
    const auto special = [](char16_t c) {
        return c == u'&' || c == u'<' || c == u'>' || c == u'"' || c == u'\'';
    };
    const char16_t* begin = text.utf16();
    const char16_t* end = begin + text.size();
    const char16_t* run = std::find_if(begin, end, special);
    if (run == end)
        return text.toString();
    QString out;
    out.reserve(text.size() + 16);
    const char16_t* from = begin;
    while (run != end) {
        out.append(QStringView(from, run));
        switch (*run) {
        case u'&':
            out += u"&amp;";
            break;
        case u'<':
            out += u"&lt;";
            break;
        case u'>':
            out += u"&gt;";
            break;
        case u'"':
            out += u"&quot;";
            break;
        default:
            out += u"&#39;";
            break;
        }
        from = run + 1;
        run = std::find_if(from, end, special);
    }
    out.append(QStringView(from, end));
    return out;
}

namespace {

bool isBlock(QStringView tag)
{
    return tag == u"pre" || tag == u"ul" || tag == u"ol" || tag == u"li";
}

// A safe address: http, https, or relative (no scheme at all).
bool isSafeHref(const QString& href)
{
    static const QRegularExpression scheme(u"^[a-zA-Z][a-zA-Z0-9+.-]*:"_s);
    const QString trimmed = href.trimmed();
    if (trimmed.startsWith(u"//"))
        return false; // another host, with this page's scheme
    const QRegularExpressionMatch m = scheme.match(trimmed);
    if (!m.hasMatch())
        return true;
    const QString s = m.captured(0).toLower();
    return s == u"http:" || s == u"https:";
}

class Renderer
{
public:
    Renderer(const Links& links, const QString& self) : m_links(links), m_self(self) {}

    QString run(const QString& help)
    {
        const QStringList paragraphs = help.split(u"\r\n"_s);
        for (const QString& paragraph : paragraphs) {
            if (paragraph.trimmed().isEmpty())
                continue;
            m_out += u"<div class=\"p\">"_s;
            paragraphBody(paragraph);
            closeAll();
            m_out += u"</div>\n"_s;
        }
        return m_out;
    }

private:
    void paragraphBody(const QString& text)
    {
        // <name attributes> or </name>, names in any letter case.
        static const QRegularExpression tag(u"<(/?)([a-zA-Z]+)((?:\\s+[^<>]*)?)\\s*(/?)>"_s);
        if (!text.contains(u'<')) {
            plain(text);
            return;
        }
        qsizetype at = 0;
        for (const QRegularExpressionMatch& m : tag.globalMatch(text)) {
            plain(QStringView(text).sliced(at, m.capturedStart() - at));
            at = m.capturedEnd();
            if (!takeTag(m.captured(1) == u"/", m.captured(2).toLower(), m.captured(3)))
                plain(m.capturedView());
        }
        plain(QStringView(text).sliced(at));
    }

    // True when the tag was written as markup; false: it shows as text.
    bool takeTag(bool closing, const QString& name, const QString& attributes)
    {
        static const QStringList inlineTags{u"b"_s, u"i"_s, u"u"_s, u"em"_s, u"strong"_s, u"code"_s};
        if (name == u"br") {
            if (closing)
                return false;
            m_out += u"<br>"_s;
            return true;
        }
        if (name == u"p") { // a paragraph of its own: closes what is open
            if (closing)
                return true; // its end is the next paragraph's start
            closeAll();
            m_out += u"</div>\n<div class=\"p\">"_s;
            return true;
        }
        const bool known = inlineTags.contains(name) || isBlock(name) || name == u"a";
        if (!known)
            return false;
        if (closing) {
            if (!m_open.contains(name))
                return false;
            while (!m_open.isEmpty()) { // closes what was left open inside it
                const QString last = m_open.takeLast();
                m_out += u"</"_s % last % u'>';
                if (last == name)
                    break;
            }
            return true;
        }
        if (name == u"li" && !(m_open.contains(u"ul"_s) || m_open.contains(u"ol"_s)))
            return false;
        if (name == u"a") {
            if (m_open.contains(u"a"_s))
                return false;
            static const QRegularExpression href(u"^\\s*href\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)')\\s*$"_s,
                                                 QRegularExpression::CaseInsensitiveOption);
            const QRegularExpressionMatch m = href.match(attributes);
            if (!m.hasMatch())
                return false;
            const QString target = m.captured(1).isNull() ? m.captured(2) : m.captured(1);
            if (!isSafeHref(target))
                return false;
            m_out += u"<a href=\""_s % escaped(target) % u"\">"_s;
        } else {
            if (!attributes.trimmed().isEmpty())
                return false;
            // Inline elements hold no blocks: what is inline is closed first.
            if (isBlock(name)) {
                while (!m_open.isEmpty() && !isBlock(m_open.last()))
                    m_out += u"</"_s % m_open.takeLast() % u'>';
            }
            m_out += u'<' % name % u'>';
        }
        m_open.append(name);
        return true;
    }

    void closeAll()
    {
        while (!m_open.isEmpty())
            m_out += u"</"_s % m_open.takeLast() % u'>';
    }

    // Text between tags: escaped, and each documented name a link, outside
    // links and code.
    void plain(QStringView text)
    {
        if (m_links.isEmpty() || m_open.contains(u"a"_s) || m_open.contains(u"code"_s) ||
            m_open.contains(u"pre"_s)) {
            m_out += escaped(text);
            return;
        }
        // Words, dotted names whole (TForm1.Soma), read by hand: this runs
        // over every help text of the site.
        const auto isStart = [](QChar c) { return c.isLetter() || c == u'_'; };
        const auto isInside = [](QChar c) { return c.isLetterOrNumber() || c == u'_'; };
        qsizetype at = 0;
        qsizetype p = 0;
        const qsizetype n = text.size();
        while (p < n) {
            if (!isStart(text[p]) || (p > 0 && isInside(text[p - 1]))) {
                ++p;
                continue;
            }
            qsizetype end = p + 1;
            for (;;) {
                while (end < n && isInside(text[end]))
                    ++end;
                if (end + 1 < n && text[end] == u'.' && isStart(text[end + 1]))
                    end += 2;
                else
                    break;
            }
            const QStringView found = text.sliced(p, end - p);
            // Lower-cased into a buffer that keeps its room: no word costs
            // an allocation.
            m_word.resize(found.size());
            for (qsizetype i = 0; i < found.size(); ++i) {
                const QChar c = found[i];
                m_word[i] = c.unicode() < 0x80 ? QChar(c.unicode() | ((c >= u'A' && c <= u'Z') ? 0x20 : 0))
                                               : c.toLower();
            }
            const QString& name = m_word;
            const auto link = m_links.constFind(name);
            if (link != m_links.constEnd() && name != m_self) {
                m_out += escaped(text.sliced(at, p - at));
                m_out += u"<a href=\""_s % escaped(*link) % u"\">"_s % escaped(found) % u"</a>"_s;
                at = end;
            }
            p = end;
        }
        m_out += escaped(text.sliced(at));
    }

    const Links& m_links;
    const QString& m_self;
    QString m_out;
    QStringList m_open; // the tags open, innermost last
    QString m_word;
};

} // namespace

QString toHtml(const QString& help, const Links& links, const QString& self)
{
    return Renderer(links, self).run(help);
}

} // namespace HelpMarkup
