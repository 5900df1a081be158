#include "data/Dataset.h"

#include "data/DbError.h"
#include "data/FbConnection.h"

#include <cstring>

namespace {

QString rightTrimmed(QString s) {
    qsizetype n = s.size();
    while (n > 0 && s.at(n - 1) == QLatin1Char(' '))
        --n;
    s.truncate(n);
    return s;
}

} // namespace

Dataset::Dataset(QString name, FbTransaction &transaction, QObject *parent)
    : QObject(parent), m_name(std::move(name)), m_transaction(transaction) {}

Dataset::~Dataset() = default;

void Dataset::setSql(const QString &sql) {
    if (isOpen())
        close();
    m_sql = sql;
    m_select.reset();
    m_selectPrepared = false;
    m_insert.reset();
    m_update.reset();
    m_delete.reset();
}

void Dataset::setParam(const QString &name, const QVariant &value) {
    m_params.insert(name.toLower(), value);
}

QStringList Dataset::paramNames() const {
    QStringList names;
    parseNamedParameters(m_sql, &names);
    return names;
}

void Dataset::open() {
    if (isOpen())
        return;
    if (m_sql.isEmpty())
        throw DbError(QStringLiteral("L'ensemble de données %1 n'a pas de requête SQL.").arg(m_name));
    if (!m_selectPrepared) {
        auto statement = std::make_unique<FbStatement>(m_transaction);
        statement->prepare(m_sql);
        m_select = std::move(statement);
        m_selectPrepared = true;
        m_layout = m_select->layout();
        m_stride = static_cast<std::size_t>(m_layout.recordSize());
    }
    const QStringList &names = m_select->parameterNames();
    for (int i = 0; i < names.size(); ++i)
        m_select->setParameter(i, m_params.value(names.at(i).toLower()));
    m_rows.clear();
    m_rowCount = 0;
    m_select->execute();
    if (m_select->returnsRows()) {
        try {
            fetchAll();
        } catch (...) {
            m_rows.clear();
            m_rowCount = 0;
            throw;
        }
    }
    m_current = m_rowCount > 0 ? 0 : -1;
    setState(State::Browse);
    emit reset();
    emit currentChanged(m_current);
}

void Dataset::fetchAll() {
    // Rows arrive in blocks of about a megabyte, then move block by block into one array of the exact
    // size: at no time is more than one block held twice, whatever the number of rows.
    const std::size_t perBlock = std::max<std::size_t>(1, (1u << 20) / m_stride);
    std::vector<std::vector<char>> blocks;
    std::size_t inLast = perBlock;
    for (;;) {
        if (inLast == perBlock) {
            blocks.emplace_back(perBlock * m_stride);
            inLast = 0;
        }
        if (!m_select->fetch(blocks.back().data() + inLast * m_stride))
            break;
        ++inLast;
    }
    const std::size_t total = (blocks.size() - 1) * perBlock + inLast;
    m_rows.resize(total * m_stride);
    char *out = m_rows.data();
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const std::size_t n = (b + 1 < blocks.size() ? perBlock : inLast) * m_stride;
        std::memcpy(out, blocks[b].data(), n);
        out += n;
        std::vector<char>().swap(blocks[b]);
    }
    m_rowCount = static_cast<int>(total);
}

void Dataset::close() {
    if (!isOpen())
        return;
    if (isEditing())
        cancel();
    if (m_select)
        m_select->closeCursor();
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_rowCount = 0;
    m_current = -1;
    setState(State::Inactive);
    emit reset();
}

void Dataset::reopen() {
    close();
    open();
}

void Dataset::setState(State state) {
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged();
}

bool Dataset::moveTo(int row) {
    if (row < 0 || row >= m_rowCount)
        return false;
    if (row == m_current)
        return true;
    if (isEditing())
        post();
    m_current = row;
    emit currentChanged(m_current);
    return true;
}

bool Dataset::locate(const QString &field, const QVariant &value, Qt::CaseSensitivity cs) {
    const int f = fieldIndex(field);
    if (f < 0 || !isOpen())
        return false;
    const ColumnInfo *c = column(f);
    for (int row = 0; row < m_rowCount; ++row) {
        const QVariant v = valueAt(row, f);
        if (v.isNull())
            continue;
        bool match = false;
        if (c && c->isNumeric()) {
            bool ok = false;
            const double target = value.toString().trimmed().toDouble(&ok);
            match = ok && v.toDouble() == target;
        } else if (c && c->isFixedText()) {
            match = rightTrimmed(v.toString()).compare(rightTrimmed(value.toString()), cs) == 0;
        } else {
            match = v.toString().compare(value.toString(), cs) == 0;
        }
        if (match)
            return moveTo(row);
    }
    return false;
}

int Dataset::fieldCount() const {
    return m_layout.columnCount() + static_cast<int>(m_calculated.size());
}

int Dataset::fieldIndex(const QString &name) const {
    const int i = m_layout.indexOf(name);
    if (i >= 0)
        return i;
    for (std::size_t k = 0; k < m_calculated.size(); ++k)
        if (m_calculated[k].name.compare(name, Qt::CaseInsensitive) == 0)
            return m_layout.columnCount() + static_cast<int>(k);
    return -1;
}

QString Dataset::fieldName(int field) const {
    if (field < m_layout.columnCount())
        return m_layout.column(field).name;
    return m_calculated[static_cast<std::size_t>(field - m_layout.columnCount())].name;
}

const ColumnInfo *Dataset::column(int field) const {
    return field >= 0 && field < m_layout.columnCount() ? &m_layout.column(field) : nullptr;
}

const char *Dataset::currentRecord(int row) const {
    if (row == m_current && isEditing())
        return m_entry.data();
    return record(row);
}

QVariant Dataset::valueAt(int row, int field) const {
    if (row < 0 || row >= m_rowCount || field < 0)
        return {};
    if (field >= m_layout.columnCount()) {
        const auto k = static_cast<std::size_t>(field - m_layout.columnCount());
        return k < m_calculated.size() ? m_calculated[k].calculation(*this, row) : QVariant();
    }
    return m_layout.read(currentRecord(row), field);
}

QVariant Dataset::valueAt(int row, const QString &name) const {
    const int f = fieldIndex(name);
    if (f < 0 && isOpen())
        throw DbError(QStringLiteral("Champ '%1' introuvable dans %2.").arg(name, m_name));
    return valueAt(row, f);
}

QByteArray Dataset::bytes(const QString &name) const {
    const int f = m_layout.indexOf(name);
    if (f < 0 || m_current < 0)
        return {};
    return m_layout.readBytes(currentRecord(m_current), f);
}

QVariant Dataset::bytesAt(int row, int field) const {
    if (row < 0 || row >= m_rowCount || field < 0 || field >= m_layout.columnCount())
        return {};
    const char *record = currentRecord(row);
    if (m_layout.isNull(record, field))
        return {};
    return m_layout.readBytes(record, field);
}

void Dataset::setValue(const QString &name, const QVariant &value) {
    if (!isEditing())
        throw DbError(QStringLiteral("L'ensemble de données %1 n'est pas en mode saisie.").arg(m_name));
    const int f = m_layout.indexOf(name);
    if (f < 0) {
        if (fieldIndex(name) >= 0)
            throw DbError(QStringLiteral("Le champ '%1' est calculé et ne peut pas être modifié.").arg(name));
        throw DbError(QStringLiteral("Champ '%1' introuvable dans %2.").arg(name, m_name));
    }
    const bool emptyText = value.typeId() == QMetaType::QString && value.toString().isEmpty();
    m_layout.write(m_entry.data(), f, emptyText ? QVariant() : value);
    emit rowChanged(m_current);
}

void Dataset::runHooks(const std::vector<Hook> &hooks) {
    for (const auto &hook : hooks)
        hook(*this);
}

void Dataset::append() {
    if (!isOpen())
        throw DbError(
            QStringLiteral("Opération impossible : l'ensemble de données %1 est fermé.").arg(m_name));
    if (isEditing())
        post();
    emit rowAboutToBeInserted(m_rowCount);
    m_rows.resize(static_cast<std::size_t>(m_rowCount + 1) * m_stride);
    m_layout.clear(record(m_rowCount));
    ++m_rowCount;
    m_current = m_rowCount - 1;
    m_entry.assign(record(m_current), record(m_current) + m_stride);
    setState(State::Insert);
    emit rowInserted(m_current);
    emit currentChanged(m_current);
    try {
        runHooks(m_onNewRow);
    } catch (...) {
        cancel();
        throw;
    }
}

void Dataset::edit() {
    if (isEditing())
        return;
    if (!isOpen() || m_current < 0)
        throw DbError(
            QStringLiteral("Opération impossible : l'ensemble de données %1 est vide.").arg(m_name));
    m_entry.assign(record(m_current), record(m_current) + m_stride);
    setState(State::Edit);
}

void Dataset::cancel() {
    if (!isEditing())
        return;
    const bool inserting = m_state == State::Insert;
    m_entry.clear();
    setState(State::Browse);
    if (inserting) {
        removeRecord(m_current);
    } else {
        emit rowChanged(m_current);
    }
}

void Dataset::removeRecord(int row) {
    emit rowAboutToBeRemoved(row);
    auto begin = m_rows.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(row) * m_stride);
    m_rows.erase(begin, begin + static_cast<std::ptrdiff_t>(m_stride));
    --m_rowCount;
    if (m_current >= m_rowCount)
        m_current = m_rowCount - 1;
    emit rowRemoved(row);
    emit currentChanged(m_current);
}

void Dataset::setWriteKey(const QString &table, const QStringList &keyColumns) {
    m_table = table;
    m_key = keyColumns;
    m_insert.reset();
    m_update.reset();
    m_delete.reset();
    m_writeColumns.clear();
}

void Dataset::ensureWriteStatements() {
    if (!isWritable())
        throw DbError(QStringLiteral("L'ensemble de données %1 est en lecture seule.").arg(m_name));
    if (m_insert)
        return;
    m_writeColumns.clear();
    m_keyColumns.clear();
    QStringList names;
    for (int i = 0; i < m_layout.columnCount(); ++i) {
        const ColumnInfo &c = m_layout.column(i);
        if (c.relation.compare(m_table, Qt::CaseInsensitive) == 0 && !c.origin.isEmpty()) {
            m_writeColumns.push_back(i);
            names << c.origin;
        }
    }
    QStringList where;
    for (const QString &k : m_key) {
        const int i = m_layout.indexOf(k);
        if (i < 0)
            throw DbError(QStringLiteral("La clé %1 de %2 est absente de la requête.").arg(k, m_name));
        m_keyColumns.push_back(i);
        // A key column of the recap table may be empty: an empty value must still find its row.
        where << k + QStringLiteral(" is not distinct from ?");
    }
    QStringList marks, sets;
    for (const QString &n : names) {
        marks << QStringLiteral("?");
        sets << n + QStringLiteral("=?");
    }
    const QString whereText = where.join(QStringLiteral(" and "));
    auto insert = std::make_unique<FbStatement>(m_transaction);
    insert->prepare(QStringLiteral("insert into %1 (%2) values (%3)")
                        .arg(m_table, names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
    auto update = std::make_unique<FbStatement>(m_transaction);
    update->prepare(
        QStringLiteral("update %1 set %2 where %3").arg(m_table, sets.join(QLatin1Char(',')), whereText));
    auto remove = std::make_unique<FbStatement>(m_transaction);
    remove->prepare(QStringLiteral("delete from %1 where %2").arg(m_table, whereText));
    m_insert = std::move(insert);
    m_update = std::move(update);
    m_delete = std::move(remove);
}

void Dataset::bindKey(FbStatement &statement, int firstIndex, const char *oldRecord) {
    for (std::size_t k = 0; k < m_keyColumns.size(); ++k)
        statement.setParameter(firstIndex + static_cast<int>(k), m_layout.read(oldRecord, m_keyColumns[k]));
}

void Dataset::checkRequired() const {
    for (int i : m_writeColumns) {
        const ColumnInfo &c = m_layout.column(i);
        // Blanks alone are no value: padding turns an empty text into blanks, which must not pass as filled.
        if (!c.nullable && (m_layout.isNull(m_entry.data(), i) ||
                            (c.isText() && m_layout.read(m_entry.data(), i).toString().trimmed().isEmpty())))
            throw DbError(QStringLiteral("Le champ '%1' doit avoir une valeur.").arg(c.name));
    }
}

void Dataset::post() {
    if (!isEditing())
        return;
    runHooks(m_beforePost);
    ensureWriteStatements();
    checkRequired();
    FbStatement &statement = m_state == State::Insert ? *m_insert : *m_update;
    int p = 0;
    for (int i : m_writeColumns)
        statement.setParameter(p++, m_layout.read(m_entry.data(), i));
    if (m_state == State::Edit)
        bindKey(statement, p, record(m_current));
    statement.execute();
    if (m_state == State::Edit && statement.affectedRows() == 0) {
        // Deleted or re-keyed by another workstation since it was read: saying "saved" would lose the
        // change without a word.
        throw DbError(QStringLiteral("L'enregistrement n'existe plus dans la table %1 (supprimé ou modifié "
                                     "depuis sa lecture) : la modification n'a pas été enregistrée.")
                          .arg(m_table));
    }
    std::memcpy(record(m_current), m_entry.data(), m_stride);
    m_entry.clear();
    setState(State::Browse);
    emit rowChanged(m_current);
    runHooks(m_afterPost);
}

void Dataset::remove() {
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_state == State::Edit)
        cancel();
    if (!isOpen() || m_current < 0)
        throw DbError(
            QStringLiteral("Opération impossible : l'ensemble de données %1 est vide.").arg(m_name));
    ensureWriteStatements();
    bindKey(*m_delete, 0, record(m_current));
    m_delete->execute();
    removeRecord(m_current);
    runHooks(m_afterDelete);
}

void Dataset::addCalculatedField(const QString &name, Calculation calculation) {
    m_calculated.push_back({name, std::move(calculation)});
}

void Dataset::setDisplayFormat(const QString &field, const QString &format) {
    m_formats.insert(field.toUpper(), format);
}
