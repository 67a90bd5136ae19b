#include "output/HelpMarkup.h"

#include <QRegularExpression>
#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace HelpMarkup {

QString escaped(QStringView text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
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
        case u'\'':
            out += u"&#39;";
            break;
        default:
            out += c;
        }
    }
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
        static const QRegularExpression word(u"[\\p{L}_][\\p{L}\\p{N}_]*(?:\\.[\\p{L}_][\\p{L}\\p{N}_]*)*"_s);
        qsizetype at = 0;
        for (const QRegularExpressionMatch& m : word.globalMatch(text)) {
            const QString name = m.captured(0).toLower();
            const auto link = m_links.constFind(name);
            if (link == m_links.constEnd() || name == m_self)
                continue;
            m_out += escaped(text.sliced(at, m.capturedStart() - at));
            m_out += u"<a href=\""_s % escaped(*link) % u"\">"_s % escaped(m.capturedView()) % u"</a>"_s;
            at = m.capturedEnd();
        }
        m_out += escaped(text.sliced(at));
    }

    const Links& m_links;
    const QString& m_self;
    QString m_out;
    QStringList m_open; // the tags open, innermost last
};

} // namespace

QString toHtml(const QString& help, const Links& links, const QString& self)
{
    return Renderer(links, self).run(help);
}

} // namespace HelpMarkup
