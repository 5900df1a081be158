#pragma once

#include "exchange/SpreadsheetReader.h"

#include <QString>
#include <vector>

// A source column (its letters, "A".."XFD") read into a field of the target dataset.
struct ColumnMapping {
    QString source;
    QString field;
    bool operator==(const ColumnMapping &) const = default;
};

// How the texts of a file are read as numbers and dates. The defaults are the import settings of the
// program: "." decimal separator, a blank between thousands, dates dd/mm/yyyy with "/" and four-digit
// years, times with ":"; the regional settings of the system are never used.
struct ValueFormats {
    QChar decimalSeparator = QLatin1Char('.');
    QChar thousandsSeparator = QLatin1Char(' ');
    QChar dateSeparator = QLatin1Char('/');
    QChar timeSeparator = QLatin1Char(':');
    bool fourDigitYears = true;
    bool operator==(const ValueFormats &) const = default;
};

// Everything the import wizard needs to run an import again: the file, the sheet, the rows, the mapping
// and the formats. Saved as a small JSON file, so that a monthly import is set once.
struct ImportSpecification {
    QString file;
    SpreadsheetFormat format = SpreadsheetFormat::Auto;
    char delimiter = 0; // of text files; 0: chosen from the first line
    int sheet = 0;      // index in the workbook
    QString sheetName;  // preferred to the index when the workbook has a sheet of that name
    int firstRow = 1;   // 1-based number of the first row read
    int lastRow = 0;    // of the last row read; 0: to the end
    std::vector<ColumnMapping> mappings;
    ValueFormats formats;

    // "CODESOCIETE A, EXERCICE B": the way mappings are written in the presets and shown to the user.
    static std::vector<ColumnMapping> parseMappings(const QString &text);
    QString mappingText() const;
    const ColumnMapping *mappingOf(const QString &field) const;

    // Throw DbError naming the file when it cannot be written or read, or holds nonsense.
    void save(const QString &path) const;
    static ImportSpecification load(const QString &path);
    bool operator==(const ImportSpecification &) const = default;
};
