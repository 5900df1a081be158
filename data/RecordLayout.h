#pragma once

#include <QString>
#include <QVariant>
#include <ibase.h>
#include <vector>

// A column of a statement's result as Firebird describes it, and where it lives in a fetched record.
struct ColumnInfo {
    QString name;      // the name the result gives it (alias or column name), upper case in dialect 1
    QString relation;  // the table it comes from, empty for an expression
    QString origin;    // the table column it comes from
    short sqlType = 0; // without the null flag
    short sqlSubtype = 0;
    short sqlScale = 0;
    short sqlLen = 0;
    bool nullable = true;
    int offset = 0;
    int nullOffset = 0;

    bool isText() const { return sqlType == SQL_TEXT || sqlType == SQL_VARYING; }
    bool isFixedText() const { return sqlType == SQL_TEXT; }
    bool isNumeric() const;
    // Width in characters of a text column (one byte per character in WIN1252).
    int width() const { return isText() ? sqlLen : 0; }
};

// The fixed layout of one fetched record: every row of a result occupies recordSize() bytes, with each
// column's value and null indicator at the offsets the layout gives. Rows are kept in that form (as the
// client library delivers them) and decoded only when read.
class RecordLayout {
public:
    RecordLayout() = default;
    explicit RecordLayout(XSQLDA *sqlda); // also points the descriptor's variables at a record

    int columnCount() const { return static_cast<int>(m_columns.size()); }
    const ColumnInfo &column(int i) const { return m_columns[static_cast<std::size_t>(i)]; }
    const std::vector<ColumnInfo> &columns() const { return m_columns; }
    int indexOf(const QString &name) const; // case-insensitive, -1 when absent
    int recordSize() const { return m_recordSize; }

    // Points the descriptor's data and indicators at the given record buffer.
    void bind(XSQLDA *sqlda, char *record) const;

    bool isNull(const char *record, int col) const;
    QVariant read(const char *record, int col) const;
    // The raw WIN1252 bytes of a text column (fixed columns with their padding).
    QByteArray readBytes(const char *record, int col) const;
    // Stores a value; throws DbError when it does not fit the column (too long a text, not a number).
    void write(char *record, int col, const QVariant &value) const;
    void clear(char *record) const; // every column null

private:
    std::vector<ColumnInfo> m_columns;
    int m_recordSize = 0;
};

// Firebird's day numbers (days since 17 November 1858) and tenths of milliseconds.
QDateTime fbToDateTime(const ISC_TIMESTAMP &ts);
ISC_TIMESTAMP fbFromDateTime(const QDateTime &dt);
QDate fbToDate(ISC_DATE d);
ISC_DATE fbFromDate(const QDate &d);
// Turns a date-like value (QDate, QDateTime, or text "dd/MM/yyyy" or ISO) into a date and time.
bool toDateTime(const QVariant &value, QDateTime *out);
