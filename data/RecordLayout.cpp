#include "data/RecordLayout.h"

#include "data/DbError.h"
#include "data/Win1252.h"

#include <QDateTime>
#include <QTimeZone>
#include <cmath>
#include <cstring>

namespace {

constexpr int kNullFlag = 1;
constexpr qint64 kMjdToJulian = 2400001; // Julian day of 17 November 1858

int alignUp(int offset, int alignment) {
    return (offset + alignment - 1) / alignment * alignment;
}

int storageSize(const ColumnInfo &c) {
    switch (c.sqlType) {
    case SQL_VARYING: return c.sqlLen + 2;
    case SQL_TEXT: return c.sqlLen;
    case SQL_SHORT: return 2;
    case SQL_LONG:
    case SQL_FLOAT:
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIME: return 4;
    case SQL_BOOLEAN: return 1;
    case SQL_NULL: return 0;
    default: return std::max<int>(8, c.sqlLen);
    }
}

int alignment(const ColumnInfo &c) {
    switch (c.sqlType) {
    case SQL_TEXT:
    case SQL_BOOLEAN:
    case SQL_NULL: return 1;
    case SQL_VARYING:
    case SQL_SHORT: return 2;
    case SQL_LONG:
    case SQL_FLOAT:
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIME: return 4;
    default: return 8;
    }
}

template <typename T> T load(const char *p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
template <typename T> void store(char *p, T v) {
    std::memcpy(p, &v, sizeof v);
}

double pow10(int n) {
    return std::pow(10.0, n);
}

[[noreturn]] void notANumber(const ColumnInfo &c, const QVariant &value) {
    throw DbError(QStringLiteral("'%1' n'est pas une valeur numérique valide pour le champ '%2'.")
                      .arg(value.toString(), c.name));
}

// Reads a value as a number for a numeric column; text is read with '.' or ',' as decimal separator.
double numberOf(const ColumnInfo &c, const QVariant &value) {
    if (value.typeId() == QMetaType::QString) {
        QString t = value.toString().trimmed();
        t.replace(QLatin1Char(','), QLatin1Char('.'));
        bool ok = false;
        const double d = t.toDouble(&ok);
        if (!ok)
            notANumber(c, value);
        return d;
    }
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (!ok)
        notANumber(c, value);
    return d;
}

qint64 integerOf(const ColumnInfo &c, const QVariant &value) {
    if (c.sqlScale < 0)
        return std::llround(numberOf(c, value) * pow10(-c.sqlScale));
    if (value.typeId() == QMetaType::Double) {
        // A whole-number column takes no fraction: refused rather than rounded without a word.
        const double d = value.toDouble();
        if (!std::isfinite(d) || std::trunc(d) != d)
            notANumber(c, value);
        return static_cast<qint64>(d);
    }
    bool ok = false;
    const qint64 v = value.typeId() == QMetaType::QString ? value.toString().trimmed().toLongLong(&ok)
                                                          : value.toLongLong(&ok);
    if (!ok)
        notANumber(c, value);
    return v;
}

} // namespace

bool ColumnInfo::isNumeric() const {
    switch (sqlType) {
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return true;
    default: return false;
    }
}

QDate fbToDate(ISC_DATE d) {
    return QDate::fromJulianDay(static_cast<qint64>(d) + kMjdToJulian);
}
ISC_DATE fbFromDate(const QDate &d) {
    return static_cast<ISC_DATE>(d.toJulianDay() - kMjdToJulian);
}

QDateTime fbToDateTime(const ISC_TIMESTAMP &ts) {
    const QTime time = QTime::fromMSecsSinceStartOfDay(static_cast<int>(ts.timestamp_time / 10));
    return QDateTime(fbToDate(ts.timestamp_date), time, Qt::UTC);
}

ISC_TIMESTAMP fbFromDateTime(const QDateTime &dt) {
    ISC_TIMESTAMP ts;
    ts.timestamp_date = fbFromDate(dt.date());
    ts.timestamp_time = static_cast<ISC_TIME>(dt.time().msecsSinceStartOfDay()) * 10;
    return ts;
}

bool toDateTime(const QVariant &value, QDateTime *out) {
    switch (value.typeId()) {
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        *out = QDateTime(dt.date(), dt.time(), Qt::UTC);
        return dt.isValid();
    }
    case QMetaType::QDate:
        *out = QDateTime(value.toDate(), QTime(0, 0), Qt::UTC);
        return value.toDate().isValid();
    case QMetaType::QString: {
        const QString t = value.toString().trimmed();
        for (const char *format :
             {"dd/MM/yyyy", "d/M/yyyy", "yyyy-MM-dd", "dd/MM/yyyy HH:mm:ss", "yyyy-MM-ddTHH:mm:ss"}) {
            const QDateTime dt = QDateTime::fromString(t, QLatin1String(format));
            if (dt.isValid()) {
                *out = QDateTime(dt.date(), dt.time(), Qt::UTC);
                return true;
            }
        }
        return false;
    }
    default: return false;
    }
}

RecordLayout::RecordLayout(XSQLDA *sqlda) {
    int offset = 0;
    m_columns.reserve(static_cast<std::size_t>(sqlda->sqld));
    for (int i = 0; i < sqlda->sqld; ++i) {
        const XSQLVAR &v = sqlda->sqlvar[i];
        ColumnInfo c;
        c.name = win1252::decode(v.aliasname, v.aliasname_length);
        if (c.name.isEmpty())
            c.name = win1252::decode(v.sqlname, v.sqlname_length);
        c.relation = win1252::decode(v.relname, v.relname_length);
        c.origin = win1252::decode(v.sqlname, v.sqlname_length);
        c.sqlType = static_cast<short>(v.sqltype & ~kNullFlag);
        c.nullable = (v.sqltype & kNullFlag) != 0;
        c.sqlSubtype = v.sqlsubtype;
        c.sqlScale = v.sqlscale;
        c.sqlLen = v.sqllen;
        offset = alignUp(offset, alignment(c));
        c.offset = offset;
        offset += storageSize(c);
        m_columns.push_back(c);
    }
    offset = alignUp(offset, 2);
    for (auto &c : m_columns) {
        c.nullOffset = offset;
        offset += 2;
    }
    m_recordSize = alignUp(std::max(offset, 1), 8);
    for (int i = 0; i < sqlda->sqld; ++i)
        sqlda->sqlvar[i].sqltype =
            static_cast<short>(m_columns[static_cast<std::size_t>(i)].sqlType | kNullFlag);
}

void RecordLayout::bind(XSQLDA *sqlda, char *record) const {
    for (int i = 0; i < columnCount(); ++i) {
        const ColumnInfo &c = m_columns[static_cast<std::size_t>(i)];
        sqlda->sqlvar[i].sqldata = record + c.offset;
        sqlda->sqlvar[i].sqlind = reinterpret_cast<short *>(record + c.nullOffset);
    }
}

int RecordLayout::indexOf(const QString &name) const {
    for (int i = 0; i < columnCount(); ++i)
        if (m_columns[static_cast<std::size_t>(i)].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool RecordLayout::isNull(const char *record, int col) const {
    return load<short>(record + column(col).nullOffset) < 0;
}

void RecordLayout::clear(char *record) const {
    std::memset(record, 0, static_cast<std::size_t>(m_recordSize));
    for (const auto &c : m_columns)
        store<short>(record + c.nullOffset, -1);
}

QByteArray RecordLayout::readBytes(const char *record, int col) const {
    const ColumnInfo &c = column(col);
    if (isNull(record, col))
        return {};
    const char *p = record + c.offset;
    if (c.sqlType == SQL_VARYING)
        return QByteArray(p + 2, load<short>(p));
    if (c.sqlType == SQL_TEXT)
        return QByteArray(p, c.sqlLen);
    return read(record, col).toString().toLatin1();
}

QVariant RecordLayout::read(const char *record, int col) const {
    const ColumnInfo &c = column(col);
    if (isNull(record, col))
        return {};
    const char *p = record + c.offset;
    switch (c.sqlType) {
    case SQL_VARYING: return win1252::decode(p + 2, load<short>(p));
    case SQL_TEXT: return win1252::decode(p, c.sqlLen);
    case SQL_SHORT:
        if (c.sqlScale < 0)
            return load<short>(p) / pow10(-c.sqlScale);
        return static_cast<int>(load<short>(p));
    case SQL_LONG:
        if (c.sqlScale < 0)
            return load<ISC_LONG>(p) / pow10(-c.sqlScale);
        return static_cast<int>(load<ISC_LONG>(p));
    case SQL_INT64:
        if (c.sqlScale < 0)
            return static_cast<double>(load<ISC_INT64>(p)) / pow10(-c.sqlScale);
        return static_cast<qlonglong>(load<ISC_INT64>(p));
    case SQL_FLOAT: return static_cast<double>(load<float>(p));
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return load<double>(p);
    case SQL_TIMESTAMP: return fbToDateTime(load<ISC_TIMESTAMP>(p));
    case SQL_TYPE_DATE: return fbToDate(load<ISC_DATE>(p));
    case SQL_TYPE_TIME: return QTime::fromMSecsSinceStartOfDay(static_cast<int>(load<ISC_TIME>(p) / 10));
    case SQL_BOOLEAN: return *p != 0;
    case SQL_BLOB: return QStringLiteral("(BLOB)");
    default: return {};
    }
}

void RecordLayout::write(char *record, int col, const QVariant &value) const {
    const ColumnInfo &c = column(col);
    char *p = record + c.offset;
    if (!value.isValid() || value.isNull()) {
        store<short>(record + c.nullOffset, -1);
        return;
    }
    switch (c.sqlType) {
    case SQL_VARYING:
    case SQL_TEXT: {
        QByteArray bytes;
        if (value.typeId() == QMetaType::QByteArray) {
            bytes = value.toByteArray();
        } else {
            bool representable = true;
            bytes = win1252::encode(value.toString(), &representable);
            if (!representable)
                throw DbError(
                    QStringLiteral("Le champ '%1' contient des caractères que la base (WIN1252) ne peut "
                                   "pas enregistrer : \"%2\".")
                        .arg(c.name, value.toString()));
        }
        if (bytes.size() > c.sqlLen)
            throw DbError(QStringLiteral("La valeur du champ '%1' dépasse sa longueur de %2 caractères.")
                              .arg(c.name)
                              .arg(c.sqlLen));
        if (c.sqlType == SQL_VARYING) {
            store<short>(p, static_cast<short>(bytes.size()));
            std::memcpy(p + 2, bytes.constData(), static_cast<std::size_t>(bytes.size()));
        } else {
            std::memset(p, ' ', static_cast<std::size_t>(c.sqlLen));
            std::memcpy(p, bytes.constData(), static_cast<std::size_t>(bytes.size()));
        }
        break;
    }
    case SQL_SHORT: store<short>(p, static_cast<short>(integerOf(c, value))); break;
    case SQL_LONG: store<ISC_LONG>(p, static_cast<ISC_LONG>(integerOf(c, value))); break;
    case SQL_INT64: store<ISC_INT64>(p, integerOf(c, value)); break;
    case SQL_FLOAT: store<float>(p, static_cast<float>(numberOf(c, value))); break;
    case SQL_DOUBLE:
    case SQL_D_FLOAT: store<double>(p, numberOf(c, value)); break;
    case SQL_TIMESTAMP:
    case SQL_TYPE_DATE: {
        QDateTime dt;
        if (!toDateTime(value, &dt))
            throw DbError(QStringLiteral("'%1' n'est pas une date valide pour le champ '%2'.")
                              .arg(value.toString(), c.name));
        if (c.sqlType == SQL_TIMESTAMP)
            store<ISC_TIMESTAMP>(p, fbFromDateTime(dt));
        else
            store<ISC_DATE>(p, fbFromDate(dt.date()));
        break;
    }
    case SQL_TYPE_TIME:
        store<ISC_TIME>(p, static_cast<ISC_TIME>(value.toTime().msecsSinceStartOfDay()) * 10);
        break;
    case SQL_BOOLEAN: *p = value.toBool() ? 1 : 0; break;
    default: throw DbError(QStringLiteral("Le champ '%1' ne peut pas être modifié.").arg(c.name));
    }
    store<short>(record + c.nullOffset, 0);
}
