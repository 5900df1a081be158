#pragma once

#include "exchange/SpreadsheetReader.h"

// Text files of delimited fields (libcsv): quoted fields with doubled quotes inside, records ended by CR LF,
// LF or CR. The text is read as UTF-8 when it is valid UTF-8, else as Windows-1252 (what the spreadsheet
// applications of the accountants write).
class CsvReader : public SpreadsheetReader {
public:
    // A delimiter of 0 is chosen from the first line: ';', ',' or a tab, whichever occurs most.
    explicit CsvReader(const QString &path, char delimiter = 0);
    QStringList sheets() const override;
    void readRows(int sheet, const RowHandler &handler) override;
    char delimiter() const { return m_delimiter; }

private:
    QByteArray m_data;
    bool m_utf8 = true;
    char m_delimiter = ';';
};
