#pragma once

#include <QAbstractTableModel>
#include <QCollator>
#include <QList>
#include <QString>

#include <deque>
#include <optional>
#include <vector>

// One documented block: the values stored by insertIdentifier. The three
// fields no operation sets (nomedocumentacao, exists, documentada) stay empty
// in every row and are not kept.
struct IdentifierRow
{
    QString unit;
    QString identifier;
    QString name;
    QString type;
    QString help;
    int line = 0;
};

// The identifier table: every documented block of the files opened
// since the last Novo, in the order given by a list of its fields.
class IdentifierTable : public QAbstractTableModel
{
    Q_OBJECT

public:
    // The fields in their declared order.
    enum Column
    {
        Unit,
        DocumentationName,
        Exists,
        Documented,
        IdentifierText,
        IdentifierName,
        IdentifierType,
        IdentifierHelp,
        IdentifierLine,
        ColumnCount
    };

    explicit IdentifierTable(QObject* parent = nullptr);
    ~IdentifierTable() override;

    static QString fieldName(int column);
    // The column of a field name (exact), or -1.
    static int columnOfField(QStringView name);
    // Stored texts longer than this are cut; 0 for fields without a limit.
    static int fieldWidth(int column);
    // The part of `text` that a row keeps in the column: all of it, or as
    // many characters as its width allows (never UTF-16 units, never bytes).
    static QStringView keptPart(QStringView text, int column);
    // A row of no special kind is a procedure or function when the first nine
    // characters of its identifier, A to Z lower-cased, are "procedure" or
    // "function " (the word and one blank).
    static bool isRoutine(const QString& identifier);
    // The fields the grid shows, in its initial column order.
    static QList<int> initialColumnOrder();
    static QString initialOrdering();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The row at a place of the current order.
    const IdentifierRow& row(int place) const;
    QVariant value(int place, int column) const;

    // Rows are only taken while the table is open and idle.
    bool isOpenAndIdle() const { return m_open; }
    void setOpen(bool open) { m_open = open; }

    // Stores a row, cutting texts to their field widths; it takes its place in
    // the current ordering. Returns false when the table did not take it.
    bool append(IdentifierRow row);
    void clear();

    // While a bulk append is open, appended rows are collected without signals
    // and without being placed; closing it places them all at once, which is
    // how an opening command stores thousands of rows quickly.
    void beginBulkAppend();
    void endBulkAppend();

    // The table's cursor: the current row, which the grid follows. -1 when the
    // table is empty.
    int cursor() const { return m_cursor; }
    void setCursor(int place);

    // The ordering: the grid's columns, ascending on each, the first one
    // first. Throws std::invalid_argument for a column the grid lacks.
    void setOrdering(const QList<int>& columns);
    QList<int> orderingColumns() const { return m_orderColumns; }
    // The grid's columns in display order, which the ordering follows once
    // applied (a title click, a column drag, the end of every opening).
    void setColumnOrder(const QList<int>& columns) { m_columnOrder = columns; }
    const QList<int>& columnOrder() const { return m_columnOrder; }
    void applyColumnOrder() { setOrdering(m_columnOrder); }
    // The same as field names joined by ';', as users write it.
    void setOrdering(QStringView fields);
    QString ordering() const;
    // The columns of field names joined by ';', or nothing when a name is no
    // column of the grid.
    static std::optional<QList<int>> parseOrdering(QStringView fields);

    // The runs of rows of one unit, in table order: rows first to end - 1.
    struct UnitRun
    {
        QString unit;
        int first;
        int end;
    };
    std::vector<UnitRun> unitRuns() const;

Q_SIGNALS:
    void cursorMoved(int place);

private:
    bool lessThan(const IdentifierRow& a, int indexA, const IdentifierRow& b, int indexB) const;
    void sortAll();
    const std::vector<int>& ranksOf(int column) const;
    // Writes to rankOfRow[row], for each of `rows`, the rank of the row's value
    // in `column` among the values of `rows`.
    void rankRows(int column, const std::vector<int>& rows, std::vector<int>& rankOfRow) const;
    void invalidateRanks();

    std::deque<IdentifierRow> m_rows; // in harvest order; never moved as it grows
    std::vector<int> m_order;         // indices into m_rows in table order
    QList<int> m_orderColumns;
    QList<int> m_columnOrder;
    QCollator m_collator;
    mutable std::vector<std::vector<int>> m_ranks; // per column, per row; empty when stale
    bool m_open = true;
    int m_cursor = -1;
    int m_bulkDepth = 0;
};
