#pragma once

#include <QString>
#include <QVariant>

class Dataset;

// The rows the exporter sends: a table of fields and values, read by row and field index. A database
// dataset and a dBase file read from disk both serve.
class ExportSource {
public:
    enum class FieldType { Text, Number, Date, Other };

    virtual ~ExportSource() = default;

    // A source that is not open has nothing to export.
    virtual bool isOpen() const { return true; }
    virtual int rowCount() const = 0;
    virtual int fieldCount() const = 0;
    virtual QString fieldName(int field) const = 0;
    virtual FieldType fieldType(int field) const = 0;
    bool isText(int field) const { return fieldType(field) == FieldType::Text; }
    // Width in characters the field's column should have; 0 lets its title decide.
    virtual int displayWidth(int field) const = 0;
    // Null for an empty value; otherwise a QString, a double or integer, a QDate or QDateTime, a bool.
    virtual QVariant value(int row, int field) const = 0;
    // Case-insensitive; -1 when absent.
    virtual int fieldIndex(const QString &name) const;
};

// A dataset as an export source: its fields and rows as they are when read, calculated fields included.
class DatasetExportSource : public ExportSource {
public:
    explicit DatasetExportSource(Dataset &dataset) : m_dataset(dataset) {}
    Dataset &dataset() const { return m_dataset; }

    bool isOpen() const override;
    int rowCount() const override;
    int fieldCount() const override;
    QString fieldName(int field) const override;
    FieldType fieldType(int field) const override;
    int displayWidth(int field) const override;
    QVariant value(int row, int field) const override;
    int fieldIndex(const QString &name) const override;

private:
    Dataset &m_dataset;
};
