#include "harvest/DocumentationCheck.h"

#include "harvest/PascalTokens.h"
#include "harvest/SourceText.h"
#include "table/IdentifierTable.h"

#include <QSet>

using namespace Qt::Literals::StringLiterals;

namespace DocumentationCheck {

namespace {

bool isRoutineWord(const PascalToken& token)
{
    return token.is(u"procedure") || token.is(u"function") || token.is(u"constructor") ||
           token.is(u"destructor") || token.is(u"operator");
}

// Reads the interface section token by token. Only what matters to the
// routines it offers is followed: types that open a body (class, object,
// record, interface) and end with "end", headings up to their ';'.
class InterfaceReader
{
public:
    explicit InterfaceReader(QStringView text) : m_tokens(text) {}

    std::vector<Declaration> run()
    {
        // Up to the unit's "interface"; a program or a package offers nothing.
        for (read(); !atEnd() && !m_token.is(u"interface"); read()) {
            if (m_token.is(u"program") || m_token.is(u"library") || m_token.is(u"package"))
                return {};
        }
        read();
        readSection({}, true);
        return std::move(m_found);
    }

private:
    bool atEnd() const { return m_token.kind == PascalToken::End; }

    void read()
    {
        m_previous = m_token;
        m_token = m_tokens.next();
        m_tokens.takeDirectives();
    }

    // Declarations up to "implementation" (the unit's section) or "end" (a
    // type's body). `prefix` qualifies the names: "TForm1." in a class.
    void readSection(const QString& prefix, bool unitLevel)
    {
        bool visible = true; // a class's first section is public
        QString typeName;    // the last name that may be a type's, before its '='
        int angleDepth = 0;
        while (!atEnd()) {
            if (unitLevel && m_token.is(u"implementation"))
                return;
            if (!unitLevel && m_token.is(u"end")) {
                read();
                return;
            }
            if (!unitLevel && (m_token.is(u"private") || m_token.is(u"protected"))) {
                visible = false;
            } else if (!unitLevel && (m_token.is(u"public") || m_token.is(u"published"))) {
                visible = true;
            } else if (m_token.isSymbol(u'<')) {
                ++angleDepth;
            } else if (m_token.isSymbol(u'>')) {
                angleDepth = std::max(0, angleDepth - 1);
            } else if (m_token.kind == PascalToken::Word && angleDepth == 0 && !m_previous.isSymbol(u'.')) {
                if (readRoutine(prefix, visible) || readType(prefix, typeName, visible))
                    continue;
                if (!m_token.is(u"packed"))
                    typeName = m_token.text.toString();
            }
            read();
        }
    }

    // A heading: its name, then up to the ';' that ends it. A procedural
    // type or a field of one (after '=' or ':') is no routine.
    bool readRoutine(const QString& prefix, bool visible)
    {
        const bool isClassRoutine = m_token.is(u"class");
        if (!isRoutineWord(m_token) && !isClassRoutine)
            return false;
        if (m_previous.isSymbol(u'=') || m_previous.isSymbol(u':') || m_previous.isSymbol(u'(') ||
            m_previous.is(u"to"))
            return false;
        const bool marked = m_token.afterRoutineMarker;
        const int line = m_token.line;
        if (isClassRoutine) {
            read();
            if (!isRoutineWord(m_token))
                return true; // class var, class property: read on
        }
        read();
        const QString name = m_token.kind == PascalToken::Word ? m_token.text.toString() : QString();
        read();
        // "procedure IFoo.Bar = MyBar;" maps an interface's method: no routine.
        const bool mapping = m_token.isSymbol(u'.');
        if (visible && !name.isEmpty() && !mapping)
            m_found.push_back({prefix % name, line, marked});
        skipHeading();
        return true;
    }

    void skipHeading()
    {
        int depth = 0;
        for (; !atEnd(); read()) {
            if (m_token.isSymbol(u'(') || m_token.isSymbol(u'['))
                ++depth;
            else if (m_token.isSymbol(u')') || m_token.isSymbol(u']'))
                depth = std::max(0, depth - 1);
            else if (m_token.isSymbol(u';') && depth == 0)
                break;
        }
        read();
    }

    // "Name = [packed] class|object|record|interface": a body up to its
    // "end", read as a section when its routines are offered. A forward
    // declaration (class;), a class reference (class of) and a class with
    // no body (class(Exception);) have none.
    bool readType(const QString& prefix, const QString& typeName, bool visible)
    {
        if (!m_previous.isSymbol(u'=') && !m_previous.is(u"packed"))
            return false;
        const bool offers = m_token.is(u"class") || m_token.is(u"object") || m_token.is(u"record");
        const bool skipped = m_token.is(u"interface") || m_token.is(u"dispinterface");
        if (!offers && !skipped)
            return false;
        read();
        if (m_token.isSymbol(u';') || m_token.is(u"of"))
            return true;
        if (m_token.isSymbol(u'(')) {
            while (!atEnd() && !m_token.isSymbol(u')'))
                read();
            read();
            if (m_token.isSymbol(u';'))
                return true;
        }
        const QString inner = prefix % typeName % u'.';
        if (offers && visible) {
            readSection(inner, false);
        } else {
            // Read for its end only: what it declares is offered by nobody.
            const std::size_t kept = m_found.size();
            readSection(inner, false);
            m_found.resize(kept);
        }
        return true;
    }

    PascalTokens m_tokens;
    PascalToken m_token;
    PascalToken m_previous;
    std::vector<Declaration> m_found;
};

QString key(QStringView unit, QStringView name)
{
    return unit.trimmed().toString().toLower() % u'\x1f' % name.trimmed().toString().toLower();
}

} // namespace

std::vector<Declaration> offeredRoutines(QStringView text)
{
    return InterfaceReader(text).run();
}

Checker::Checker(const IdentifierTable& table)
{
    for (int place = 0; place < table.rowCount(); ++place) {
        const IdentifierRow& row = table.row(place);
        if (!row.name.isEmpty())
            m_documented.insert(key(row.unit, row.name));
    }
}

std::vector<Undocumented> Checker::undocumented(const QString& file, QStringView text,
                                                const QString& unit) const
{
    std::vector<Undocumented> missing;
    for (const Declaration& declaration : offeredRoutines(text)) {
        if (!declaration.marked && !m_documented.contains(key(unit, declaration.name)))
            missing.push_back({file, declaration.line, declaration.name});
    }
    return missing;
}

std::vector<Undocumented> check(const HarvestReport& report, const IdentifierTable& table)
{
    const Checker checker(table);
    std::vector<Undocumented> missing;
    QByteArray bytes;
    QString text;
    for (const HarvestReport::UnitFile& unit : report.unitFiles) {
        SourceText::readFile(unit.file, bytes);
        SourceText::fromBytes(bytes, text, unit.encoding);
        for (Undocumented& routine : checker.undocumented(unit.file, text, unit.unit))
            missing.push_back(std::move(routine));
    }
    return missing;
}

} // namespace DocumentationCheck
