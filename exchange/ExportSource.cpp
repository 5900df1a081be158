#include "exchange/ExportSource.h"

#include "data/Dataset.h"

int ExportSource::fieldIndex(const QString &name) const {
    for (int f = 0; f < fieldCount(); ++f)
        if (fieldName(f).compare(name, Qt::CaseInsensitive) == 0)
            return f;
    return -1;
}

bool DatasetExportSource::isOpen() const {
    return m_dataset.isOpen();
}

int DatasetExportSource::rowCount() const {
    return m_dataset.isOpen() ? m_dataset.rowCount() : 0;
}

int DatasetExportSource::fieldCount() const {
    return m_dataset.isOpen() ? m_dataset.fieldCount() : 0;
}

QString DatasetExportSource::fieldName(int field) const {
    return m_dataset.fieldName(field);
}

ExportSource::FieldType DatasetExportSource::fieldType(int field) const {
    const ColumnInfo *c = m_dataset.column(field);
    if (!c)
        return FieldType::Other;
    if (c->isText())
        return FieldType::Text;
    if (c->isNumeric())
        return FieldType::Number;
    if (c->sqlType == SQL_TIMESTAMP || c->sqlType == SQL_TYPE_DATE)
        return FieldType::Date;
    return FieldType::Other;
}

int DatasetExportSource::displayWidth(int field) const {
    // A calculated field has no declared width: ten characters.
    const ColumnInfo *c = m_dataset.column(field);
    return c ? c->width() : 10;
}

QVariant DatasetExportSource::value(int row, int field) const {
    return m_dataset.valueAt(row, field);
}

int DatasetExportSource::fieldIndex(const QString &name) const {
    return m_dataset.fieldIndex(name);
}
