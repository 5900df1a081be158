#pragma once

#include <QString>
#include <ibase.h>

class FbTransaction;

// One attachment to a Firebird database through the C client library, in SQL dialect 1 with the WIN1252
// character set. A database name of the form "host:/path" or "host/port:/path" reaches a server; a plain
// path opens the file through the embedded engine.
class FbConnection {
public:
    static constexpr unsigned short kDialect = 1;

    explicit FbConnection(QString name = {});
    ~FbConnection();
    FbConnection(const FbConnection &) = delete;
    FbConnection &operator=(const FbConnection &) = delete;

    const QString &name() const { return m_name; }
    void setDatabaseName(const QString &path) { m_database = path; }
    const QString &databaseName() const { return m_database; }
    void setCredentials(const QString &user, const QString &password);

    void open();  // throws DbError
    void close(); // commits the open transactions first
    bool isOpen() const { return m_handle != 0; }

    // Creates a new, empty database file (dialect 1, default character set WIN1252) and attaches to it.
    void create(); // throws DbError

    isc_db_handle *handle() { return &m_handle; }

    // The default transaction, the one every dataset of this connection shares.
    void setDefaultTransaction(FbTransaction *t) { m_default = t; }
    FbTransaction *defaultTransaction() const { return m_default; }

    static bool namesServer(const QString &database);

private:
    QString m_name;
    QString m_database;
    QString m_user = QStringLiteral("SYSDBA");
    QString m_password;
    isc_db_handle m_handle = 0;
    FbTransaction *m_default = nullptr;
};

// A transaction of one connection, started on first use and kept open with commit-retaining.
class FbTransaction {
public:
    explicit FbTransaction(FbConnection &connection, QString name = {});
    ~FbTransaction();
    FbTransaction(const FbTransaction &) = delete;
    FbTransaction &operator=(const FbTransaction &) = delete;

    const QString &name() const { return m_name; }
    FbConnection &connection() { return m_connection; }
    bool isActive() const { return m_handle != 0; }

    void start();           // opens the connection when needed
    void commitRetaining(); // makes the work durable and keeps the transaction and its cursors open
    void commit();
    void rollback();
    void ensureStarted() {
        if (!m_handle)
            start();
    }
    isc_tr_handle *handle() { return &m_handle; }

private:
    FbConnection &m_connection;
    QString m_name;
    isc_tr_handle m_handle = 0;
};

// Builds the message of a failed client call from its status vector, as Firebird words it.
QString fbErrorMessage(const ISC_STATUS *status);
[[noreturn]] void throwFbError(const ISC_STATUS *status, const QString &context = {});
inline void checkFb(const ISC_STATUS *status, const QString &context = {}) {
    if (status[0] == 1 && status[1])
        throwFbError(status, context);
}
