#pragma once

#include "exchange/SpreadsheetReader.h"

#include <vector>

// Excel 97-2003 workbooks (.xls, BIFF) through FreeXL, which hands dates and times as such. FreeXL can crash
// on a damaged file, so the workbook is read whole in a child process: a crash there becomes an error here.
class XlsReader : public SpreadsheetReader {
public:
    explicit XlsReader(const QString &path);
    QStringList sheets() const override { return m_names; }
    void readRows(int sheet, const RowHandler &handler) override;

private:
    QStringList m_names;
    std::vector<std::vector<SheetRow>> m_rows; // by sheet
};
