#pragma once

#include "exchange/ExportSource.h"

#include <QByteArray>
#include <vector>

// A dBase III/IV table (.DBF) read whole from its file, as an export source. Texts are decoded as
// Windows-1252 and trimmed on the right; numbers (N, F) come as doubles, dates (D) as QDate, logicals (L)
// as bools; blank values are null. A value that does not read as its type is given as its text, so that
// nothing of the file is lost. Fields of other types are read as text. Deleted records are left out.
class DbfTable : public ExportSource {
public:
    struct Field {
        QString name;
        char type = 'C';
        int length = 0;
        int decimals = 0;
        int offset = 0; // in the record, after the deletion flag
    };

    // Throws SpreadsheetError, naming the file and the fault: a file missing, too short, truncated or whose
    // header is not one of a dBase table; a Paradox table (.DB) is refused by its name.
    explicit DbfTable(const QString &path);

    const QString &path() const { return m_path; }
    const std::vector<Field> &fields() const { return m_fields; }

    int rowCount() const override { return static_cast<int>(m_records.size()); }
    int fieldCount() const override { return static_cast<int>(m_fields.size()); }
    QString fieldName(int field) const override;
    FieldType fieldType(int field) const override;
    int displayWidth(int field) const override;
    QVariant value(int row, int field) const override;

private:
    [[noreturn]] void fail(const QString &what) const;
    void readHeader();

    QString m_path;
    QByteArray m_data;
    std::vector<Field> m_fields;
    std::vector<qsizetype> m_records; // offset of each record kept
};
