#pragma once

#include "exchange/ImportSpecification.h"

#include <QString>
#include <functional>

class Dataset;
class TDatadeclaration;
struct ColumnInfo;

// A value that cannot go into its column; the reason is French and names the value.
class ConversionError : public DbError {
public:
    explicit ConversionError(const QString &reason) : DbError(reason) {}
};

// A cell of a file as the value of a column: texts read with the formats given, numbers checked against
// integer columns, spreadsheet day numbers and "dd/mm/yyyy" texts as dates. A null cell gives null.
QVariant convertCell(const QVariant &cell, const ColumnInfo &column, const ValueFormats &formats);

// How an import ended.
struct ImportResult {
    int imported = 0; // rows appended and saved
    int read = 0;     // rows of the file looked at, from the first row
    bool complete = false;
    bool cancelled = false;
    // When it stopped on a row: that row, which was not saved, and the cause.
    int failedRow = 0;
    QString failedColumn; // letters, empty when the row as a whole was refused
    QString failedField;
    QString reason;
    // The message for the user: the count, or where and why the import stopped and what to do.
    QString message;
};

// Called after each row with the rows done and the rows to do; return false to stop the import.
using ImportProgress = std::function<bool(int done, int total)>;

// Runs a specification into a dataset: for each row of the file from the first row, a row is appended,
// the mapped cells are converted to their columns and set, and the row is saved through the dataset, so
// that the rules of the data module apply (numbering, starting values, completion, commit). The import
// only appends; it stops at the first problem, cancels the row in error (nothing of it is saved) and keeps
// the rows saved before. Rows whose mapped cells are all empty are passed over. With a data module, the
// rows are made durable together at the end (also when the import stops) instead of one by one.
ImportResult runImport(const ImportSpecification &spec, Dataset &target, TDatadeclaration *dm = nullptr,
                       const ImportProgress &progress = {});
