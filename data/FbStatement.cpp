#include "data/FbStatement.h"

#include "data/DbError.h"
#include "data/FbConnection.h"
#include "data/Win1252.h"

#include <cstdlib>
#include <cstring>

QString parseNamedParameters(const QString &sql, QStringList *names) {
    QString out;
    out.reserve(sql.size());
    const qsizetype n = sql.size();
    auto isNameStart = [](QChar c) { return c.isLetter() || c == QLatin1Char('_'); };
    auto isNameChar = [](QChar c) {
        return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
    };
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const qsizetype end = sql.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? n : end + 1;
            out += sql.mid(i, stop - i);
            i = stop - 1;
        } else if (c == QLatin1Char('-') && i + 1 < n && sql.at(i + 1) == QLatin1Char('-')) {
            const qsizetype end = sql.indexOf(QLatin1Char('\n'), i);
            const qsizetype stop = end < 0 ? n : end;
            out += sql.mid(i, stop - i);
            i = stop - 1;
        } else if (c == QLatin1Char('/') && i + 1 < n && sql.at(i + 1) == QLatin1Char('*')) {
            const qsizetype end = sql.indexOf(QLatin1String("*/"), i + 2);
            const qsizetype stop = end < 0 ? n : end + 2;
            out += sql.mid(i, stop - i);
            i = stop - 1;
        } else if (c == QLatin1Char(':') && i + 1 < n && isNameStart(sql.at(i + 1))) {
            qsizetype j = i + 1;
            while (j < n && isNameChar(sql.at(j)))
                ++j;
            names->append(sql.mid(i + 1, j - i - 1));
            out += QLatin1Char('?');
            i = j - 1;
        } else {
            out += c;
        }
    }
    return out;
}

struct FbStatement::Sqlda {
    explicit Sqlda(int n) : count(std::max(n, 1)) {
        data = static_cast<XSQLDA *>(std::calloc(1, XSQLDA_LENGTH(count)));
        data->version = SQLDA_VERSION1;
        data->sqln = static_cast<short>(count);
    }
    ~Sqlda() { std::free(data); }
    Sqlda(const Sqlda &) = delete;
    Sqlda &operator=(const Sqlda &) = delete;
    int count;
    XSQLDA *data;
};

FbStatement::FbStatement(FbTransaction &transaction) : m_transaction(transaction) {}

FbStatement::~FbStatement() {
    release();
}

void FbStatement::release() {
    if (m_handle) {
        ISC_STATUS_ARRAY status;
        isc_dsql_free_statement(status, &m_handle, DSQL_drop);
        m_handle = 0;
    }
    m_cursorOpen = false;
}

void FbStatement::prepare(const QString &sql, bool namedParameters) {
    release();
    m_paramNames.clear();
    bool representable = true;
    const QByteArray text =
        win1252::encode(namedParameters ? parseNamedParameters(sql, &m_paramNames) : sql, &representable);
    if (!representable)
        throw DbError(QStringLiteral("La requête contient des caractères que la base (WIN1252) ne peut pas "
                                     "représenter : rien n'a été exécuté."));
    m_transaction.ensureStarted();
    FbConnection &connection = m_transaction.connection();
    ISC_STATUS_ARRAY status;
    if (isc_dsql_allocate_statement(status, connection.handle(), &m_handle))
        throwFbError(status);

    m_out = std::make_unique<Sqlda>(20);
    if (isc_dsql_prepare(status, m_transaction.handle(), &m_handle, 0, text.constData(),
                         FbConnection::kDialect, m_out->data)) {
        ISC_STATUS_ARRAY ignored;
        isc_dsql_free_statement(ignored, &m_handle, DSQL_drop);
        m_handle = 0;
        throwFbError(status);
    }
    if (m_out->data->sqld > m_out->count) {
        m_out = std::make_unique<Sqlda>(m_out->data->sqld);
        if (isc_dsql_describe(status, &m_handle, 1, m_out->data))
            throwFbError(status);
    }
    m_outLayout = RecordLayout(m_out->data);
    m_outRecord.assign(static_cast<std::size_t>(m_outLayout.recordSize()), 0);

    m_in = std::make_unique<Sqlda>(static_cast<int>(m_paramNames.size()));
    if (isc_dsql_describe_bind(status, &m_handle, 1, m_in->data))
        throwFbError(status);
    if (m_in->data->sqld > m_in->count) {
        m_in = std::make_unique<Sqlda>(m_in->data->sqld);
        if (isc_dsql_describe_bind(status, &m_handle, 1, m_in->data))
            throwFbError(status);
    }
    // Positional '?' typed by the caller have no name; give them their position.
    while (m_paramNames.size() < m_in->data->sqld)
        m_paramNames << QString::number(m_paramNames.size() + 1);
    m_inLayout = RecordLayout(m_in->data);
    m_inRecord.assign(static_cast<std::size_t>(m_inLayout.recordSize()), 0);
    m_inLayout.clear(m_inRecord.data());

    const char item = isc_info_sql_stmt_type;
    char info[16];
    if (isc_dsql_sql_info(status, &m_handle, 1, &item, sizeof info, info))
        throwFbError(status);
    int type = 0;
    if (info[0] == isc_info_sql_stmt_type) {
        const short len = static_cast<short>(isc_vax_integer(info + 1, 2));
        type = static_cast<int>(isc_vax_integer(info + 3, len));
    }
    switch (type) {
    case isc_info_sql_stmt_select: m_kind = Kind::Select; break;
    case isc_info_sql_stmt_select_for_upd: m_kind = Kind::SelectForUpdate; break;
    case isc_info_sql_stmt_insert: m_kind = Kind::Insert; break;
    case isc_info_sql_stmt_update: m_kind = Kind::Update; break;
    case isc_info_sql_stmt_delete: m_kind = Kind::Delete; break;
    case isc_info_sql_stmt_ddl: m_kind = Kind::Ddl; break;
    case isc_info_sql_stmt_exec_procedure: m_kind = Kind::ExecProcedure; break;
    default: m_kind = Kind::Other; break;
    }
}

bool FbStatement::setParameter(const QString &name, const QVariant &value) {
    bool found = false;
    for (int i = 0; i < m_paramNames.size(); ++i) {
        if (m_paramNames.at(i).compare(name, Qt::CaseInsensitive) == 0) {
            setParameter(i, value);
            found = true;
        }
    }
    return found;
}

void FbStatement::setParameter(int index, const QVariant &value) {
    try {
        m_inLayout.write(m_inRecord.data(), index, value);
    } catch (const DbError &e) {
        throw DbError(QStringLiteral("Paramètre '%1' : %2").arg(m_paramNames.value(index), e.message()));
    }
}

void FbStatement::execute() {
    if (!m_handle)
        throw DbError(QStringLiteral("Requête non préparée."));
    closeCursor();
    m_inLayout.bind(m_in->data, m_inRecord.data());
    m_outLayout.bind(m_out->data, m_outRecord.data());
    XSQLDA *in = m_in->data->sqld > 0 ? m_in->data : nullptr;
    m_transaction.ensureStarted();
    ISC_STATUS_ARRAY status;
    if (m_kind == Kind::ExecProcedure) {
        if (isc_dsql_execute2(status, m_transaction.handle(), &m_handle, 1, in,
                              m_out->data->sqld > 0 ? m_out->data : nullptr))
            throwFbError(status);
        return;
    }
    if (isc_dsql_execute(status, m_transaction.handle(), &m_handle, 1, in))
        throwFbError(status);
    m_cursorOpen = returnsRows();
}

bool FbStatement::fetch(char *record) {
    if (!m_cursorOpen)
        return false;
    m_outLayout.bind(m_out->data, record);
    ISC_STATUS_ARRAY status;
    const ISC_STATUS rc = isc_dsql_fetch(status, &m_handle, 1, m_out->data);
    if (rc == 100) {
        closeCursor();
        return false;
    }
    if (rc) {
        closeCursor();
        throwFbError(status);
    }
    return true;
}

void FbStatement::closeCursor() {
    if (m_cursorOpen && m_handle) {
        ISC_STATUS_ARRAY status;
        isc_dsql_free_statement(status, &m_handle, DSQL_close);
    }
    m_cursorOpen = false;
}

int FbStatement::affectedRows() {
    const char item = isc_info_sql_records;
    char info[64];
    ISC_STATUS_ARRAY status;
    if (isc_dsql_sql_info(status, &m_handle, 1, &item, sizeof info, info))
        throwFbError(status);
    if (info[0] != isc_info_sql_records)
        return 0;
    int total = 0;
    const char *p = info + 3;
    while (*p != isc_info_end) {
        const char kind = *p++;
        const short len = static_cast<short>(isc_vax_integer(p, 2));
        p += 2;
        const int count = static_cast<int>(isc_vax_integer(p, len));
        p += len;
        if (kind == isc_info_req_insert_count || kind == isc_info_req_update_count ||
            kind == isc_info_req_delete_count)
            total += count;
    }
    return total;
}
