#pragma once

#include "exchange/SpreadsheetReader.h"

// OpenDocument spreadsheets (.ods): content.xml read from the zip through QuaZip with QXmlStreamReader.
// Repeated rows and cells are expanded only where they hold a value, so the million empty rows that end
// every sheet cost nothing.
class OdsReader : public SpreadsheetReader {
public:
    explicit OdsReader(const QString &path);
    QStringList sheets() const override { return m_names; }
    void readRows(int sheet, const RowHandler &handler) override;

private:
    [[noreturn]] void xmlFail(qint64 line, qint64 column, const QString &error) const;
    QByteArray m_content;
    QStringList m_names;
};
