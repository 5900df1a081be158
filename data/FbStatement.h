#pragma once

#include "data/RecordLayout.h"

#include <QStringList>
#include <QVariant>
#include <memory>

class FbTransaction;

// Splits ":name" parameters out of an SQL text: returns the text with '?' in their place and the names
// in order of appearance (a name used twice appears twice). Quoted texts, quoted names and comments are
// left alone.
QString parseNamedParameters(const QString &sql, QStringList *names);

// A prepared statement of one transaction, with named parameters.
class FbStatement {
public:
    enum class Kind { Select, SelectForUpdate, Insert, Update, Delete, Ddl, ExecProcedure, Other };

    explicit FbStatement(FbTransaction &transaction);
    ~FbStatement();
    FbStatement(const FbStatement &) = delete;
    FbStatement &operator=(const FbStatement &) = delete;

    // Throws DbError with Firebird's message. Without named parameters the text goes as written (the body
    // of a stored procedure uses ":name" for its own variables).
    void prepare(const QString &sql, bool namedParameters = true);
    bool isPrepared() const { return m_handle != 0; }
    Kind kind() const { return m_kind; }
    bool returnsRows() const { return m_kind == Kind::Select || m_kind == Kind::SelectForUpdate; }

    const QStringList &parameterNames() const { return m_paramNames; }
    int parameterCount() const { return static_cast<int>(m_paramNames.size()); }
    // Sets every occurrence of the named parameter (case-insensitive); false when the statement has none.
    bool setParameter(const QString &name, const QVariant &value);
    void setParameter(int index, const QVariant &value);

    // Runs the statement; a query opens its cursor, read by fetch().
    void execute();
    // Fills `record` (layout().recordSize() bytes) with the next row; false at the end.
    bool fetch(char *record);
    void closeCursor();
    // Rows changed by the last insert, update or delete.
    int affectedRows();

    const RecordLayout &layout() const { return m_outLayout; }
    // For statements that return one row of output without a cursor (EXECUTE PROCEDURE).
    const std::vector<char> &outputRecord() const { return m_outRecord; }

private:
    struct Sqlda;
    FbTransaction &m_transaction;
    isc_stmt_handle m_handle = 0;
    Kind m_kind = Kind::Other;
    QStringList m_paramNames;
    std::unique_ptr<Sqlda> m_in;
    std::unique_ptr<Sqlda> m_out;
    RecordLayout m_inLayout;
    RecordLayout m_outLayout;
    std::vector<char> m_inRecord;
    std::vector<char> m_outRecord;
    bool m_cursorOpen = false;
    void release();
};
