#pragma once

#include "data/DbError.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

// A file that cannot be read: the message, in French, names the file and where in it the fault lies. It is
// a DbError so that every window that reports the data layer's errors reports these too.
class SpreadsheetError : public DbError {
public:
    explicit SpreadsheetError(const QString &message) : DbError(message) {}
};

// One row of a sheet: its number in the file (1-based, as the spreadsheet application shows it; rows that
// hold nothing are skipped, so numbers may jump) and its cells from column A. A cell is null when empty,
// a QString for text, a double for a number, a QDate or QDateTime for a date, a QTime for a time, a bool.
struct SheetRow {
    int number = 0;
    QVariantList cells;
};

// Reads the sheets of one file, whatever its format, as rows of cells.
class SpreadsheetReader {
public:
    // Return false to stop reading.
    using RowHandler = std::function<bool(const SheetRow &row)>;

    virtual ~SpreadsheetReader() = default;
    const QString &path() const { return m_path; }
    // The names of the sheets, in the workbook's order; a text file has one, named after the file.
    virtual QStringList sheets() const = 0;
    // Hands the rows of a sheet (index in sheets()) to the handler in order; throws SpreadsheetError.
    virtual void readRows(int sheet, const RowHandler &handler) = 0;

    // The first rows of a sheet, for a preview.
    std::vector<SheetRow> preview(int sheet, int rows);
    std::vector<SheetRow> readAll(int sheet);

protected:
    explicit SpreadsheetReader(QString path) : m_path(std::move(path)) {}
    // "Fichier « x.xlsx »" followed by the text: the opening of every message.
    [[noreturn]] void fail(const QString &what) const;
    void checkSheet(int sheet) const;

private:
    QString m_path;
};

enum class SpreadsheetFormat { Auto, Xls, Xlsx, Ods, Csv, Tab };

// The reader of a file, chosen by `format` or else by its extension (.xls, .xlsx, .ods, .csv, .txt, .tsv,
// .tab); throws SpreadsheetError when the file is missing, unreadable or of a kind no reader knows.
// `delimiter` applies to text files; 0 lets a .csv choose between ';' and ',' from its first line.
std::unique_ptr<SpreadsheetReader>
openSpreadsheet(const QString &path, SpreadsheetFormat format = SpreadsheetFormat::Auto, char delimiter = 0);

// Spreadsheet column letters: 0 -> "A", 25 -> "Z", 26 -> "AA"; and back (-1 when not a column name).
QString columnLetters(int column);
int columnIndex(const QString &letters);
// The largest column a reader accepts (XFD, as in the spreadsheet applications).
inline constexpr int kMaxColumns = 16384;
inline constexpr int kMaxRows = 1048576;

// The cell as the preview shows it: dates as dd/MM/yyyy, numbers with '.' as decimal separator.
QString cellText(const QVariant &cell);
