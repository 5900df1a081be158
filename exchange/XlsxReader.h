#pragma once

#include "exchange/SpreadsheetReader.h"

#include <QHash>
#include <QSet>
#include <memory>

class ZipPackage;

// Office Open XML workbooks (.xlsx): the zip read through QuaZip, its parts with QXmlStreamReader. Numbers
// whose cell style is a date format come back as dates.
class XlsxReader : public SpreadsheetReader {
public:
    explicit XlsxReader(const QString &path);
    ~XlsxReader() override;
    QStringList sheets() const override { return m_names; }
    void readRows(int sheet, const RowHandler &handler) override;

private:
    enum class Kind { Number, Date, DateTime, Time };
    void readWorkbook();
    void readSharedStrings();
    void readStyles();
    [[noreturn]] void xmlFail(const QString &part, qint64 line, qint64 column, const QString &error) const;
    QVariant numberCell(const QString &text, int style, const QString &part, const QString &ref) const;

    std::unique_ptr<ZipPackage> m_zip;
    QStringList m_names;
    QStringList m_parts; // the part of each sheet
    QStringList m_strings;
    std::vector<Kind> m_styles; // by cell style index
    bool m_date1904 = false;
};

// A spreadsheet serial day number (days since 30/12/1899, or since 1/1/1904) as a date and time.
QDateTime serialToDateTime(double serial, bool date1904 = false);
