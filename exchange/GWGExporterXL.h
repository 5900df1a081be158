#pragma once

#include "data/DbError.h"
#include "exchange/ExportSource.h"

#include <QString>
#include <cstddef>
#include <functional>
#include <memory>

class Dataset;

// An export that could not be done; the calling window shows "Error...".
class ExportError : public DbError {
public:
    explicit ExportError(const QString &message) : DbError(message) {}
};

// The spreadsheet exporter: sends rows of a dataset, or of any export source, to a new workbook. Workbooks
// are written as .xlsx by libxlsxwriter, whatever "save in 97 format" says (the setting is kept for the
// windows that show it); the window opens the written file with the desktop's spreadsheet application when
// asked to.
class GWGExporterXL {
public:
    static constexpr int kMaxRows = 0xFFFF;

    struct Progress {
        int percent = 0;
        qint64 elapsedMs = 0;
        int rowsSent = 0;
    };
    using ProgressHandler = std::function<void(const Progress &)>;

    GWGExporterXL() = default;

    // A dataset (null for none); source() gives it back, null when the source is not a dataset.
    void setSource(Dataset *source);
    Dataset *source() const { return m_dataset; }
    // Any source (null for none), shared with the caller, which may show it meanwhile.
    void setSource(std::shared_ptr<ExportSource> source);
    void setSource(std::nullptr_t) { setSource(std::shared_ptr<ExportSource>()); }
    const std::shared_ptr<ExportSource> &exportSource() const { return m_source; }

    // The three row settings stay consistent: each is at least 1, rows at most 65535; first row above last
    // row moves last row up to it, last row below first row moves first row down to it; setting either
    // recomputes rows as last - first + 1; setting rows recomputes last row as first + rows - 1.
    int firstRow() const { return m_firstRow; }
    int lastRow() const { return m_lastRow; }
    int rows() const { return m_rows; }
    void setFirstRow(int row);
    void setLastRow(int row);
    void setRows(int rows);

    bool exportVisible = true;
    bool visibleAfterExport = true;
    bool saveAfterExport = false;
    bool saveIn97Format = true; // kept, not honoured: see the class comment
    bool silentSave = true;
    QString saveFile;
    QString columnFile;
    QString titlesFile;

    // Back to the defaults, without a source.
    void reset() { *this = GWGExporterXL(); }

    // The file written when the workbook is saved: the save file, with ".xlsx" for an ".xls" name so that the
    // spreadsheet application does not refuse a workbook whose content does not match its name.
    QString savePath() const;
    // Whether the window should open the written workbook: the application "stays visible" at the end.
    bool opensWorkbook() const { return visibleAfterExport; }

    // Sends the rows (first row, at most rows rows, cut to the source) to a new workbook: a title line, then
    // one line per row, values in field order, text columns formatted as text; the column file, when it
    // exists, chooses and formats the columns, the titles file, when it exists, gives the titles. The
    // workbook goes to savePath() when saving after export, else to a new file in the temporary folder.
    // Returns the path written; throws ExportError (nothing is left half-written at the path).
    QString exportRows(const ProgressHandler &progress = {});

    // "Sended Rows : 120 in... 00:01.250": the status text of the export window.
    static QString statusText(int rowsSent, qint64 elapsedMs);

private:
    std::shared_ptr<ExportSource> m_source;
    Dataset *m_dataset = nullptr;
    int m_firstRow = 1;
    int m_lastRow = kMaxRows;
    int m_rows = kMaxRows;
};
