#include "data/FbConnection.h"

#include "data/DbError.h"
#include "data/Win1252.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <vector>

namespace {

void addText(std::vector<char> &dpb, char item, const QByteArray &value) {
    dpb.push_back(item);
    dpb.push_back(static_cast<char>(value.size()));
    dpb.insert(dpb.end(), value.begin(), value.end());
}

QString quoted(const QString &text) {
    QString t = text;
    return QLatin1Char('\'') + t.replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\'');
}

} // namespace

QString fbErrorMessage(const ISC_STATUS *status) {
    QStringList lines;
    const ISC_STATUS *vector = status;
    char buffer[1024];
    while (fb_interpret(buffer, sizeof buffer, &vector) > 0) {
        // File names come in the system's UTF-8, values of the data in WIN1252.
        const QByteArray line(buffer, static_cast<qsizetype>(qstrlen(buffer)));
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8.decode(line);
        lines << (utf8.hasError() ? win1252::decode(line) : text);
    }
    return lines.join(QLatin1Char('\n'));
}

void throwFbError(const ISC_STATUS *status, const QString &context) {
    const long code = isc_sqlcode(status);
    QString message = fbErrorMessage(status);
    if (!context.isEmpty())
        message = context + QLatin1Char('\n') + message;
    throw DbError(message, code);
}

FbConnection::FbConnection(QString name) : m_name(std::move(name)) {}

FbConnection::~FbConnection() {
    try {
        close();
    } catch (const DbError &) {
        // A failed commit at the end of the run cannot be reported any more.
    }
}

void FbConnection::setCredentials(const QString &user, const QString &password) {
    m_user = user;
    m_password = password;
}

bool FbConnection::namesServer(const QString &database) {
    // "host:/path", "host/port:/path"; a Windows drive letter ("C:") is no host name.
    static const QRegularExpression server(QStringLiteral("^[^/\\\\:]{2,}(/[^/:]+)?:"));
    return server.match(database).hasMatch();
}

void FbConnection::open() {
    if (m_handle)
        return;
    std::vector<char> dpb{isc_dpb_version1};
    addText(dpb, isc_dpb_user_name, win1252::encode(m_user));
    addText(dpb, isc_dpb_password, win1252::encode(m_password));
    addText(dpb, isc_dpb_lc_ctype, QByteArrayLiteral("WIN1252"));
    dpb.push_back(isc_dpb_sql_dialect);
    dpb.push_back(4);
    for (int i = 0; i < 4; ++i)
        dpb.push_back(static_cast<char>((kDialect >> (8 * i)) & 0xFF));

    // The path goes as the file system spells it; Firebird itself reads it as bytes.
    const QByteArray path = m_database.toLocal8Bit();
    ISC_STATUS_ARRAY status;
    if (isc_attach_database(status, static_cast<short>(path.size()), path.constData(), &m_handle,
                            static_cast<short>(dpb.size()), dpb.data())) {
        m_handle = 0;
        throwFbError(status, QStringLiteral("Connexion impossible à la base \"%1\".").arg(m_database));
    }
}

void FbConnection::close() {
    if (!m_handle)
        return;
    if (m_default && m_default->isActive())
        m_default->commit();
    ISC_STATUS_ARRAY status;
    isc_detach_database(status, &m_handle);
    m_handle = 0;
}

void FbConnection::create() {
    if (m_handle)
        close();
    const QString sql = QStringLiteral("CREATE DATABASE %1 USER %2 PASSWORD %3 PAGE_SIZE 8192 "
                                       "DEFAULT CHARACTER SET WIN1252")
                            .arg(quoted(m_database), quoted(m_user), quoted(m_password));
    const QByteArray text = sql.toLocal8Bit();
    ISC_STATUS_ARRAY status;
    isc_db_handle db = 0;
    isc_tr_handle tr = 0;
    if (isc_dsql_execute_immediate(status, &db, &tr, 0, text.constData(), kDialect, nullptr))
        throwFbError(status, QStringLiteral("Création de la base \"%1\" impossible.").arg(m_database));
    isc_detach_database(status, &db);
    open();
}

FbTransaction::FbTransaction(FbConnection &connection, QString name)
    : m_connection(connection), m_name(std::move(name)) {}

FbTransaction::~FbTransaction() {
    if (m_handle) {
        ISC_STATUS_ARRAY status;
        isc_rollback_transaction(status, &m_handle);
    }
}

void FbTransaction::start() {
    if (m_handle)
        return;
    m_connection.open();
    // Read committed with record versions: the long shared transaction sees what other workstations of a
    // shared server commit, and waits on a locked row instead of failing at once.
    static const char tpb[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed, isc_tpb_rec_version,
                               isc_tpb_wait};
    ISC_STATUS_ARRAY status;
    if (isc_start_transaction(status, &m_handle, 1, m_connection.handle(),
                              static_cast<unsigned short>(sizeof tpb), tpb)) {
        m_handle = 0;
        throwFbError(status);
    }
}

void FbTransaction::commitRetaining() {
    ensureStarted();
    ISC_STATUS_ARRAY status;
    if (isc_commit_retaining(status, &m_handle))
        throwFbError(status);
}

void FbTransaction::commit() {
    if (!m_handle)
        return;
    ISC_STATUS_ARRAY status;
    if (isc_commit_transaction(status, &m_handle))
        throwFbError(status);
    m_handle = 0;
}

void FbTransaction::rollback() {
    if (!m_handle)
        return;
    ISC_STATUS_ARRAY status;
    if (isc_rollback_transaction(status, &m_handle))
        throwFbError(status);
    m_handle = 0;
}
