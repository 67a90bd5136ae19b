#include "table/IdentifierTable.h"
#include "tests/support/ModelTester.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace {

IdentifierRow makeRow(const QString& unit, const QString& identifier, int line = 1,
                      const QString& kind = QString(), const QString& name = QString())
{
    return IdentifierRow{unit, identifier, name, kind, QString(), line};
}

QStringList column(const IdentifierTable& table, int col)
{
    QStringList out;
    for (int r = 0; r < table.rowCount(); ++r)
        out.append(table.value(r, col).toString());
    return out;
}

} // namespace

TEST(IdentifierTable, FieldsTitlesAndWidths)
{
    IdentifierTable table;
    ModelTester tester(&table);
    EXPECT_EQ(table.columnCount(), 9);
    const QStringList names = {u"unit"_s,
                               u"nomedocumentacao"_s,
                               u"exists"_s,
                               u"documentada"_s,
                               u"identificador"_s,
                               u"nomeIdentificador"_s,
                               u"tipoIdentificador"_s,
                               u"helpIdentificador"_s,
                               u"linhaIdentificador"_s};
    for (int c = 0; c < IdentifierTable::ColumnCount; ++c) {
        EXPECT_EQ(IdentifierTable::fieldName(c), names[c]);
        EXPECT_EQ(IdentifierTable::columnOfField(names[c]), c);
    }
    EXPECT_EQ(table.headerData(IdentifierTable::Unit, Qt::Horizontal).toString(), u"Unit"_s);
    EXPECT_EQ(table.headerData(IdentifierTable::IdentifierName, Qt::Horizontal).toString(), u"Nome Id."_s);
    EXPECT_EQ(table.headerData(IdentifierTable::IdentifierType, Qt::Horizontal).toString(), u"Tipo Id."_s);
    EXPECT_EQ(table.headerData(IdentifierTable::IdentifierLine, Qt::Horizontal).toString(), u"Linha"_s);
    EXPECT_EQ(IdentifierTable::initialOrdering(),
              u"unit;identificador;nomeIdentificador;linhaIdentificador;tipoIdentificador"_s);

    IdentifierRow row{QString(35, u'u'),
                      QString(250, u'i'),
                      QString(45, u'n'),
                      QString(25, u't'),
                      QString(5000, u'h') + u"\r\n"_s,
                      7};
    ASSERT_TRUE(table.append(row));
    const IdentifierRow& stored = table.row(0);
    EXPECT_EQ(stored.unit.size(), 30);
    EXPECT_EQ(stored.identifier.size(), 200);
    EXPECT_EQ(stored.name.size(), 40);
    EXPECT_EQ(stored.type.size(), 20);
    EXPECT_EQ(stored.help, row.help);
    EXPECT_EQ(table.value(0, IdentifierTable::IdentifierLine), QVariant(7));
    for (int c : {IdentifierTable::DocumentationName, IdentifierTable::Exists, IdentifierTable::Documented})
        EXPECT_FALSE(table.value(0, c).isValid());
    EXPECT_FALSE(table.flags(table.index(0, 0)).testFlag(Qt::ItemIsEditable));
}

// A width counts characters: a character beyond the first plane is one, and
// a cut never splits its pair of surrogates.
TEST(IdentifierTable, WidthsCountCharacters)
{
    IdentifierTable table;
    table.setOrdering(u"linhaIdentificador");
    const QString emoji = u"\U0001F600"_s;
    QString emojis;
    for (int i = 0; i < 31; ++i)
        emojis += emoji;
    const struct
    {
        QString unit;
        QString kept;
    } cases[] = {
        {QString(29, u'a') + emoji, QString(29, u'a') + emoji},
        {QString(30, u'a') + emoji, QString(30, u'a')},
        {emojis, emojis.first(60)},
        {u"Conversão"_s + QString(30, u'x'), u"Conversão"_s + QString(21, u'x')},
    };
    int line = 0;
    for (const auto& c : cases)
        table.append(IdentifierRow{c.unit, u"x"_s, {}, {}, {}, ++line});
    for (int i = 0; i < table.rowCount(); ++i)
        EXPECT_EQ(table.row(i).unit, cases[i].kept) << i;
}

TEST(IdentifierTable, OrdersByUnitThenIdentifierIgnoringCaseButNotAccents)
{
    IdentifierTable table;
    ModelTester tester(&table);
    table.append(makeRow(u"UB"_s, u"procedure Zeta;"_s));
    table.append(makeRow(u"UA"_s, u"function b;"_s));
    table.append(makeRow(u"ua"_s, u"Ajuda"_s));
    table.append(makeRow(u"UA"_s, u"Édito"_s));
    table.append(makeRow(u"UA"_s, u"edito"_s));
    table.append(makeRow(u"UA"_s, u"Linha (3)"_s));
    table.append(makeRow(u""_s, u"Sem unit"_s));
    EXPECT_EQ(column(table, IdentifierTable::IdentifierText),
              (QStringList{u"Sem unit"_s, u"Ajuda"_s, u"edito"_s, u"Édito"_s, u"function b;"_s,
                           u"Linha (3)"_s, u"procedure Zeta;"_s}));
}

TEST(IdentifierTable, LinesCompareAsNumbersAndTiesKeepHarvestOrder)
{
    IdentifierTable table;
    ModelTester tester(&table);
    table.setOrdering(u"linhaIdentificador");
    table.append(makeRow(u"U"_s, u"dez"_s, 10));
    table.append(makeRow(u"U"_s, u"nove"_s, 9));
    table.append(makeRow(u"U"_s, u"primeiro empate"_s, 100));
    table.append(makeRow(u"U"_s, u"segundo empate"_s, 100));
    table.append(makeRow(u"U"_s, u"Terceiro Empate"_s, 100));
    EXPECT_EQ(
        column(table, IdentifierTable::IdentifierText),
        (QStringList{u"nove"_s, u"dez"_s, u"primeiro empate"_s, u"segundo empate"_s, u"Terceiro Empate"_s}));

    // Rows equal on every key: case alone does not tell them apart.
    IdentifierTable same;
    same.append(makeRow(u"U"_s, u"abc"_s));
    same.append(makeRow(u"u"_s, u"ABC"_s));
    same.append(makeRow(u"U"_s, u"Abc"_s));
    EXPECT_EQ(column(same, IdentifierTable::IdentifierText), (QStringList{u"abc"_s, u"ABC"_s, u"Abc"_s}));
}

TEST(IdentifierTable, ReorderingFollowsTheFieldListAndReapplyingChangesNothing)
{
    IdentifierTable table;
    ModelTester tester(&table);
    table.beginBulkAppend();
    table.append(makeRow(u"B"_s, u"b1"_s, 5));
    table.append(makeRow(u"A"_s, u"a1"_s, 9));
    table.append(makeRow(u"A"_s, u"a2"_s, 1));
    table.append(makeRow(u"B"_s, u"b2"_s, 2));
    EXPECT_EQ(table.rowCount(), 0); // not placed before the bulk append ends
    table.endBulkAppend();
    EXPECT_EQ(column(table, IdentifierTable::IdentifierText),
              (QStringList{u"a1"_s, u"a2"_s, u"b1"_s, u"b2"_s}));

    QPersistentModelIndex followed = table.index(1, IdentifierTable::IdentifierText); // a2
    table.setOrdering(u"linhaIdentificador;unit;identificador;nomeIdentificador;tipoIdentificador");
    EXPECT_EQ(column(table, IdentifierTable::IdentifierText),
              (QStringList{u"a2"_s, u"b2"_s, u"b1"_s, u"a1"_s}));
    EXPECT_EQ(followed.data().toString(), u"a2"_s);
    EXPECT_EQ(followed.row(), 0);

    QSignalSpy layout(&table, &QAbstractItemModel::layoutChanged);
    table.setOrdering(u"linhaIdentificador;unit;identificador;nomeIdentificador;tipoIdentificador");
    table.setOrdering(u"linhaIdentificador;unit;identificador;nomeIdentificador;tipoIdentificador");
    EXPECT_EQ(layout.count(), 0);
    EXPECT_EQ(column(table, IdentifierTable::IdentifierText),
              (QStringList{u"a2"_s, u"b2"_s, u"b1"_s, u"a1"_s}));

    // A row added later takes its place in the ordering in force.
    table.append(makeRow(u"C"_s, u"c1"_s, 3));
    EXPECT_EQ(column(table, IdentifierTable::IdentifierText),
              (QStringList{u"a2"_s, u"b2"_s, u"c1"_s, u"b1"_s, u"a1"_s}));

    table.clear();
    EXPECT_EQ(table.rowCount(), 0);
    EXPECT_EQ(table.ordering(),
              u"linhaIdentificador;unit;identificador;nomeIdentificador;tipoIdentificador"_s);
}

TEST(IdentifierTable, PlacingRowsAtOnceAgreesWithPlacingThemOneByOne)
{
    // A bulk append sorts column by column, ranking later columns only where
    // earlier ones tie; a single append compares rows with the collator. Few
    // values per field, differing in case and accents, make ties at every level.
    const QStringList units{u"UA"_s, u"ua"_s, u"UB"_s, u"Ação"_s, u"acao"_s};
    const QStringList texts{u"a"_s, u"A"_s, u"á"_s, u"b"_s, u"B1"_s, u"b1"_s, u" "_s, u""_s};
    const QStringList orderings{
        u"unit;identificador;nomeIdentificador;tipoIdentificador;linhaIdentificador"_s,
        u"tipoIdentificador;nomeIdentificador"_s,
        u"linhaIdentificador;identificador"_s,
        u"nomeIdentificador;unit;linhaIdentificador;tipoIdentificador"_s,
    };
    std::mt19937 random(20261210);
    auto pick = [&](const QStringList& from) {
        return from[static_cast<qsizetype>(random() % static_cast<unsigned>(from.size()))];
    };
    auto rowsOf = [](const IdentifierTable& table) {
        QStringList out;
        for (int i = 0; i < table.rowCount(); ++i) {
            const IdentifierRow& r = table.row(i);
            out.append(r.unit % u'|' % r.identifier % u'|' % r.name % u'|' % r.type % u'|' % r.help % u'|' %
                       QString::number(r.line));
        }
        return out;
    };
    for (const QString& ordering : orderings) {
        SCOPED_TRACE(ordering.toStdString());
        IdentifierTable atOnce;
        IdentifierTable oneByOne;
        IdentifierTable reordered; // placed in the first ordering, then reordered
        atOnce.setOrdering(ordering);
        oneByOne.setOrdering(ordering);
        atOnce.beginBulkAppend();
        reordered.beginBulkAppend();
        for (int i = 0; i < 400; ++i) {
            const IdentifierRow row{pick(units), pick(texts),        pick(texts),
                                    pick(texts), QString::number(i), static_cast<int>(random() % 4)};
            atOnce.append(row);
            oneByOne.append(row);
            reordered.append(row);
        }
        atOnce.endBulkAppend();
        reordered.endBulkAppend();
        reordered.setOrdering(ordering);
        const QStringList expected = rowsOf(oneByOne);
        EXPECT_EQ(rowsOf(atOnce), expected);
        EXPECT_EQ(rowsOf(reordered), expected);
    }
}

TEST(IdentifierTable, OnlyGridFieldsCanOrderTheTable)
{
    IdentifierTable table;
    for (QStringView bad : {u"helpIdentificador", u"exists", u"Unit", u"unit;", u"", u"unit;nada"})
        EXPECT_THROW(table.setOrdering(bad), std::invalid_argument) << bad.toString().toStdString();
    EXPECT_EQ(table.ordering(), IdentifierTable::initialOrdering());
}

TEST(IdentifierTable, AClosedTableTakesNoRow)
{
    IdentifierTable table;
    table.setOpen(false);
    EXPECT_FALSE(table.append(makeRow(u"U"_s, u"x"_s)));
    EXPECT_EQ(table.rowCount(), 0);
}
