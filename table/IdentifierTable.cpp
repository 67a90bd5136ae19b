#include "table/IdentifierTable.h"

#include "common/AsciiCase.h"

#include <QCollatorSortKey>
#include <QHash>
#include <QLocale>

#include <algorithm>
#include <future>
#include <numeric>
#include <stdexcept>
#include <thread>

using namespace Qt::Literals::StringLiterals;

namespace {

struct FieldInfo
{
    QStringView name;
    QStringView title;
    int width;
};

constexpr FieldInfo kFields[IdentifierTable::ColumnCount] = {
    {u"unit", u"Unit", 30},
    {u"nomedocumentacao", u"", 30},
    {u"exists", u"", 0},
    {u"documentada", u"", 0},
    {u"identificador", u"Identificador", 200},
    {u"nomeIdentificador", u"Nome Id.", 40},
    {u"tipoIdentificador", u"Tipo Id.", 20},
    {u"helpIdentificador", u"Help Id.", 0},
    {u"linhaIdentificador", u"Linha", 0},
};

bool isGridColumn(int column)
{
    return IdentifierTable::initialColumnOrder().contains(column);
}

void cutToWidth(QString& text, int column)
{
    text.truncate(IdentifierTable::keptPart(text, column).size());
}

const QString& textOf(const IdentifierRow& row, int column)
{
    switch (column) {
    case IdentifierTable::Unit:
        return row.unit;
    case IdentifierTable::IdentifierText:
        return row.identifier;
    case IdentifierTable::IdentifierName:
        return row.name;
    case IdentifierTable::IdentifierType:
        return row.type;
    case IdentifierTable::IdentifierHelp:
        return row.help;
    default: {
        static const QString empty;
        return empty;
    }
    }
}

// The table's collation: Brazilian Portuguese, where letter case does not
// count and accents do.
QCollator tableCollator()
{
    QCollator collator(QLocale(QLocale::Portuguese, QLocale::Brazil));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

// The sort keys of `values[from, to)`, made with `collator`.
std::vector<QCollatorSortKey> sortKeysOf(const QCollator& collator, const std::vector<QString>& values,
                                         size_t from, size_t to)
{
    std::vector<QCollatorSortKey> keys;
    keys.reserve(to - from);
    for (size_t i = from; i < to; ++i)
        keys.push_back(collator.sortKey(values[i]));
    return keys;
}

// Making a key is the larger part of ordering many distinct texts, and each
// key is made alone: a long list is shared by the processors. The calling
// thread uses `collator`; every other thread a collator of its own, for a
// collator is not to be shared between threads.
std::vector<QCollatorSortKey> sortKeys(const QCollator& collator, const std::vector<QString>& values)
{
    constexpr size_t kWorthAThread = 16384;
    const size_t parts = std::clamp<size_t>(
        std::min<size_t>(std::thread::hardware_concurrency(), values.size() / kWorthAThread), 1, 4);
    std::vector<std::future<std::vector<QCollatorSortKey>>> others;
    for (size_t part = 1; part < parts; ++part) {
        others.push_back(std::async(std::launch::async, [&values, part, parts] {
            return sortKeysOf(tableCollator(), values, values.size() * part / parts,
                              values.size() * (part + 1) / parts);
        }));
    }
    std::vector<QCollatorSortKey> keys = sortKeysOf(collator, values, 0, values.size() / parts);
    keys.reserve(values.size());
    for (auto& other : others) {
        for (QCollatorSortKey& key : other.get())
            keys.push_back(std::move(key));
    }
    return keys;
}

} // namespace

IdentifierTable::IdentifierTable(QObject* parent)
    : QAbstractTableModel(parent), m_orderColumns(initialColumnOrder()), m_columnOrder(initialColumnOrder()),
      m_collator(tableCollator()), m_ranks(ColumnCount)
{}

IdentifierTable::~IdentifierTable() = default;

QString IdentifierTable::fieldName(int column)
{
    return column >= 0 && column < ColumnCount ? kFields[column].name.toString() : QString();
}

int IdentifierTable::columnOfField(QStringView name)
{
    for (int c = 0; c < ColumnCount; ++c) {
        if (kFields[c].name == name)
            return c;
    }
    return -1;
}

int IdentifierTable::fieldWidth(int column)
{
    return column >= 0 && column < ColumnCount ? kFields[column].width : 0;
}

bool IdentifierTable::isRoutine(const QString& identifier)
{
    const QString start = lowerAsciiLetters(identifier.left(9));
    if (start == u"procedure" || start == u"function ")
        return true;
    // The other routine words, whole, and any of them after "class".
    QStringView rest(identifier);
    const auto startsWithWord = [&rest](QStringView word) {
        if (!rest.startsWith(word, Qt::CaseInsensitive))
            return false;
        const QStringView after = rest.sliced(word.size());
        return after.isEmpty() || !(after.front().isLetterOrNumber() || after.front() == u'_');
    };
    if (startsWithWord(u"class")) {
        rest = rest.sliced(5).trimmed();
        if (startsWithWord(u"procedure") || startsWithWord(u"function"))
            return true;
    }
    return startsWithWord(u"constructor") || startsWithWord(u"destructor") || startsWithWord(u"operator");
}

QList<int> IdentifierTable::initialColumnOrder()
{
    return {Unit, IdentifierText, IdentifierName, IdentifierLine, IdentifierType};
}

QString IdentifierTable::initialOrdering()
{
    QStringList names;
    for (int c : initialColumnOrder())
        names.append(fieldName(c));
    return names.join(u';');
}

int IdentifierTable::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_order.size());
}

int IdentifierTable::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

const IdentifierRow& IdentifierTable::row(int place) const
{
    return m_rows[m_order.at(place)];
}

QVariant IdentifierTable::value(int place, int column) const
{
    const IdentifierRow& r = row(place);
    switch (column) {
    case IdentifierLine:
        return r.line;
    case DocumentationName:
    case Exists:
    case Documented:
        return {};
    default:
        return textOf(r, column);
    }
}

QVariant IdentifierTable::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role == Qt::TextAlignmentRole && index.column() == IdentifierLine)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter); // numbers align right
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    return value(index.row(), index.column());
}

QVariant IdentifierTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return kFields[section].title.toString();
}

Qt::ItemFlags IdentifierTable::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

QStringView IdentifierTable::keptPart(QStringView text, int column)
{
    // The width counts characters: a pair of surrogates is one.
    const int width = fieldWidth(column);
    if (width <= 0 || text.size() <= width)
        return text;
    qsizetype keep = 0;
    for (int characters = 0; characters < width && keep < text.size(); ++characters) {
        const bool pair =
            text[keep].isHighSurrogate() && keep + 1 < text.size() && text[keep + 1].isLowSurrogate();
        keep += pair ? 2 : 1;
    }
    return text.first(keep);
}

bool IdentifierTable::append(IdentifierRow row)
{
    if (!isOpenAndIdle())
        return false;
    cutToWidth(row.unit, Unit);
    cutToWidth(row.identifier, IdentifierText);
    cutToWidth(row.name, IdentifierName);
    cutToWidth(row.type, IdentifierType);

    const int index = static_cast<int>(m_rows.size());
    m_rows.push_back(std::move(row));
    invalidateRanks();
    if (m_bulkDepth > 0)
        return true;

    const auto at = std::upper_bound(m_order.begin(), m_order.end(), index,
                                     [&](int a, int b) { return lessThan(m_rows[a], a, m_rows[b], b); });
    const int place = static_cast<int>(at - m_order.begin());
    beginInsertRows({}, place, place);
    m_order.insert(at, index);
    endInsertRows();
    return true;
}

void IdentifierTable::setCursor(int place)
{
    if (place < -1 || place >= rowCount())
        return;
    m_cursor = place;
    Q_EMIT cursorMoved(place);
}

void IdentifierTable::clear()
{
    m_cursor = -1;
    beginResetModel();
    m_rows.clear();
    m_order.clear();
    invalidateRanks();
    endResetModel();
}

void IdentifierTable::beginBulkAppend()
{
    ++m_bulkDepth;
}

void IdentifierTable::endBulkAppend()
{
    if (m_bulkDepth == 0 || --m_bulkDepth > 0)
        return;
    if (m_order.size() == m_rows.size())
        return;
    beginResetModel();
    sortAll();
    endResetModel();
}

std::optional<QList<int>> IdentifierTable::parseOrdering(QStringView fields)
{
    QList<int> columns;
    for (QStringView name : fields.split(u';')) {
        const int column = columnOfField(name);
        if (column < 0 || !isGridColumn(column))
            return std::nullopt;
        columns.append(column);
    }
    return columns;
}

void IdentifierTable::setOrdering(QStringView fields)
{
    const std::optional<QList<int>> columns = parseOrdering(fields);
    if (!columns)
        throw std::invalid_argument("not a field list of the grid: " + fields.toString().toStdString());
    setOrdering(*columns);
}

std::vector<IdentifierTable::UnitRun> IdentifierTable::unitRuns() const
{
    std::vector<UnitRun> runs;
    for (int place = 0; place < rowCount();) {
        UnitRun run{row(place).unit, place, place};
        while (run.end < rowCount() && row(run.end).unit == run.unit)
            ++run.end;
        place = run.end;
        runs.push_back(std::move(run));
    }
    return runs;
}

void IdentifierTable::setOrdering(const QList<int>& columns)
{
    for (const int column : columns) {
        if (!isGridColumn(column))
            throw std::invalid_argument("not a column of the grid: " + std::to_string(column));
    }
    if (columns == m_orderColumns && m_order.size() == m_rows.size())
        return; // already in this order: re-applying changes nothing
    m_orderColumns = columns;
    if (m_bulkDepth > 0)
        return; // closing the bulk append places every row
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    const std::vector<int> oldOrder = m_order;
    sortAll();
    std::vector<int> newPlaceOf(m_rows.size(), -1);
    for (size_t place = 0; place < m_order.size(); ++place)
        newPlaceOf[m_order[place]] = static_cast<int>(place);
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before) {
        // A persistent index follows its row to the row's new place.
        after.append(index(newPlaceOf[oldOrder[old.row()]], old.column()));
    }
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QString IdentifierTable::ordering() const
{
    QStringList names;
    for (int c : m_orderColumns)
        names.append(fieldName(c));
    return names.join(u';');
}

bool IdentifierTable::lessThan(const IdentifierRow& a, int indexA, const IdentifierRow& b, int indexB) const
{
    for (int column : m_orderColumns) {
        int cmp = 0;
        if (column == IdentifierLine)
            cmp = (a.line > b.line) - (a.line < b.line);
        else
            cmp = m_collator.compare(textOf(a, column), textOf(b, column));
        if (cmp != 0)
            return cmp < 0;
    }
    return indexA < indexB;
}

const std::vector<int>& IdentifierTable::ranksOf(int column) const
{
    std::vector<int>& ranks = m_ranks[column];
    if (ranks.size() == m_rows.size())
        return ranks;
    std::vector<int> rows(m_rows.size());
    std::iota(rows.begin(), rows.end(), 0);
    ranks.assign(m_rows.size(), 0);
    rankRows(column, rows, ranks);
    return ranks;
}

void IdentifierTable::rankRows(int column, const std::vector<int>& rows, std::vector<int>& rankOfRow) const
{
    if (column == IdentifierLine) {
        for (int row : rows)
            rankOfRow[static_cast<size_t>(row)] = m_rows[static_cast<size_t>(row)].line;
        return;
    }
    // One sort key per distinct value, not one per comparison: units and kinds
    // repeat across thousands of rows.
    QHash<QString, int> idOfValue;
    std::vector<QString> values;
    for (int row : rows) {
        const QString& text = textOf(m_rows[static_cast<size_t>(row)], column);
        auto it = idOfValue.constFind(text);
        if (it == idOfValue.constEnd())
            it = idOfValue.insert(text, static_cast<int>(values.size())), values.push_back(text);
        rankOfRow[static_cast<size_t>(row)] = it.value(); // the value's id for now
    }
    const std::vector<QCollatorSortKey> keys = sortKeys(m_collator, values);
    std::vector<int> byKey(values.size());
    std::iota(byKey.begin(), byKey.end(), 0);
    std::sort(byKey.begin(), byKey.end(), [&](int a, int b) { return keys[a].compare(keys[b]) < 0; });
    std::vector<int> rankOfValue(values.size());
    int rank = 0;
    for (size_t i = 0; i < byKey.size(); ++i) {
        if (i > 0 && keys[byKey[i - 1]].compare(keys[byKey[i]]) != 0)
            ++rank;
        rankOfValue[byKey[i]] = rank;
    }
    for (int row : rows)
        rankOfRow[static_cast<size_t>(row)] = rankOfValue[rankOfRow[static_cast<size_t>(row)]];
}

void IdentifierTable::invalidateRanks()
{
    for (auto& ranks : m_ranks)
        ranks.clear();
}

void IdentifierTable::sortAll()
{
    const size_t n = m_rows.size();
    m_order.resize(n);
    std::iota(m_order.begin(), m_order.end(), 0);
    // Column by column: the first orders every row, each later one only the
    // stretches of rows that the earlier ones left tied. A column needed for
    // most rows is ranked whole and kept for the next ordering; one needed for
    // a few (the help's long texts, typically) is ranked for those alone.
    struct Stretch
    {
        size_t begin;
        size_t end;
    };
    std::vector<Stretch> tied;
    if (n > 1)
        tied.push_back({0, n});
    std::vector<int> rank(n);
    std::vector<int> rows;
    for (const int column : m_orderColumns) {
        if (tied.empty())
            break;
        size_t tiedRows = 0;
        for (const Stretch& s : tied)
            tiedRows += s.end - s.begin;
        if (m_ranks[column].size() == n || tiedRows * 2 >= n) {
            rank = ranksOf(column); // most rows: worth keeping for a later ordering
        } else {
            rows.clear();
            for (const Stretch& s : tied)
                rows.insert(rows.end(), m_order.begin() + s.begin, m_order.begin() + s.end);
            rankRows(column, rows, rank);
        }
        std::vector<Stretch> stillTied;
        for (const Stretch& s : tied) {
            // Equal ranks keep harvest order.
            std::sort(m_order.begin() + s.begin, m_order.begin() + s.end,
                      [&](int a, int b) { return rank[a] != rank[b] ? rank[a] < rank[b] : a < b; });
            for (size_t i = s.begin; i < s.end;) {
                size_t j = i + 1;
                while (j < s.end && rank[m_order[j]] == rank[m_order[i]])
                    ++j;
                if (j - i > 1)
                    stillTied.push_back({i, j});
                i = j;
            }
        }
        tied = std::move(stillTied);
    }
}
