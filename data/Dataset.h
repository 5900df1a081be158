#pragma once

#include "data/FbStatement.h"

#include <QHash>
#include <QObject>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

class FbTransaction;

// A dataset: an SQL text with named parameters, the rows it fetched, a current row and an entry state,
// as the windows of the program use them. Rows are kept in the record layout of the statement and decoded
// when read. A dataset with a write key (a table and its key columns) saves its rows through insert,
// update and delete statements built from its columns; the rules of the data module hang on its hooks.
class Dataset : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    using Hook = std::function<void(Dataset &)>;
    using Calculation = std::function<QVariant(const Dataset &, int row)>;

    Dataset(QString name, FbTransaction &transaction, QObject *parent = nullptr);
    ~Dataset() override;

    const QString &name() const { return m_name; }
    FbTransaction &transaction() { return m_transaction; }

    // SQL text and parameters.
    void setSql(const QString &sql);
    void setSql(const QStringList &lines) { setSql(lines.join(QLatin1Char('\n'))); }
    const QString &sql() const { return m_sql; }
    void clearSql() { setSql(QString()); }
    void setParam(const QString &name, const QVariant &value);
    QVariant param(const QString &name) const { return m_params.value(name.toLower()); }
    QStringList paramNames() const; // of the current SQL text

    // Opening, closing and moving.
    void open();
    void close();
    void reopen(); // close and open again with the SQL and parameters held
    bool isOpen() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Edit || m_state == State::Insert; }
    int rowCount() const { return m_rowCount; }
    bool isEmpty() const { return m_rowCount == 0; }
    int currentRow() const { return m_current; }
    bool first() { return moveTo(0); }
    bool last() { return moveTo(m_rowCount - 1); }
    bool next() { return moveTo(m_current + 1); }
    bool prior() { return moveTo(m_current - 1); }
    bool moveTo(int row); // posts a pending entry first; false when out of range
    bool eof() const { return m_rowCount == 0 || m_current >= m_rowCount - 1; }
    bool bof() const { return m_current <= 0; }
    // Moves to the first row whose field equals the value; false (and no move) when there is none.
    bool locate(const QString &field, const QVariant &value, Qt::CaseSensitivity cs = Qt::CaseSensitive);

    // Fields: the statement's columns, then the calculated fields.
    int fieldCount() const;
    int fieldIndex(const QString &name) const; // case-insensitive, -1 when absent
    QString fieldName(int field) const;
    const ColumnInfo *column(int field) const; // null for a calculated field
    const RecordLayout &layout() const { return m_layout; }
    QVariant valueAt(int row, int field) const;
    QVariant valueAt(int row, const QString &name) const;
    QVariant value(const QString &name) const { return valueAt(m_current, name); }
    QString text(const QString &name) const { return value(name).toString(); }
    double number(const QString &name) const { return value(name).toDouble(); }
    bool isNull(const QString &name) const { return value(name).isNull(); }
    // Raw WIN1252 bytes of a text column of the current row, fixed columns with their padding.
    QByteArray bytes(const QString &name) const;
    // The same at a row, by field index, without decoding the text: a null QVariant when the column is
    // null, else a QByteArray. For the writers that copy stored bytes as they are.
    QVariant bytesAt(int row, int field) const;
    // Sets a field of the row in entry (an empty text becomes null); throws DbError when the dataset is not
    // in entry, the field is unknown or read-only, or the value does not fit the column.
    void setValue(const QString &name, const QVariant &value);

    // Entry.
    void append();
    void edit();
    void post();
    void cancel();
    void remove();

    // Write key: the table written and its key columns; without one the dataset is read-only.
    void setWriteKey(const QString &table, const QStringList &keyColumns);
    bool isWritable() const { return !m_table.isEmpty(); }
    const QString &writeTable() const { return m_table; }

    void addCalculatedField(const QString &name, Calculation calculation);
    void setDisplayFormat(const QString &field, const QString &format);
    QString displayFormat(const QString &field) const { return m_formats.value(field.toUpper()); }

    // Rules, run in the order they were added.
    void addNewRowHook(Hook hook) { m_onNewRow.push_back(std::move(hook)); }
    void addBeforePostHook(Hook hook) { m_beforePost.push_back(std::move(hook)); }
    void addAfterPostHook(Hook hook) { m_afterPost.push_back(std::move(hook)); }
    void addAfterDeleteHook(Hook hook) { m_afterDelete.push_back(std::move(hook)); }

signals:
    void reset();             // opened, closed or fetched again
    void rowChanged(int row); // a value of the row changed
    // A row is inserted or removed between these two signals, so that a view can follow it row by row.
    void rowAboutToBeInserted(int row);
    void rowInserted(int row);
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);
    void currentChanged(int row);
    void stateChanged();

private:
    struct Calculated {
        QString name;
        Calculation calculation;
    };
    char *record(int row) { return m_rows.data() + static_cast<std::size_t>(row) * m_stride; }
    const char *record(int row) const { return m_rows.data() + static_cast<std::size_t>(row) * m_stride; }
    const char *currentRecord(int row) const;
    void setState(State state);
    void fetchAll();
    void checkRequired() const;
    void ensureWriteStatements();
    void bindKey(FbStatement &statement, int firstIndex, const char *oldRecord);
    void runHooks(const std::vector<Hook> &hooks);
    void removeRecord(int row);

    QString m_name;
    FbTransaction &m_transaction;
    QString m_sql;
    QHash<QString, QVariant> m_params;
    std::unique_ptr<FbStatement> m_select;
    bool m_selectPrepared = false;
    RecordLayout m_layout;
    std::vector<char> m_rows;
    std::size_t m_stride = 0;
    int m_rowCount = 0;
    int m_current = -1;
    State m_state = State::Inactive;
    std::vector<char> m_entry; // the row in entry
    std::vector<Calculated> m_calculated;
    QHash<QString, QString> m_formats;

    QString m_table;
    QStringList m_key;
    std::vector<int> m_writeColumns; // columns of the write table, in statement order
    std::vector<int> m_keyColumns;
    std::unique_ptr<FbStatement> m_insert;
    std::unique_ptr<FbStatement> m_update;
    std::unique_ptr<FbStatement> m_delete;

    std::vector<Hook> m_onNewRow, m_beforePost, m_afterPost, m_afterDelete;
};
