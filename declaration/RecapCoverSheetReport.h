#pragma once

#include "report/ReportLayout.h"

#include <QString>

struct RecapCoverSheet;

// The cover sheet of the employer's declaration as a report: one A4 portrait page in Arabic, laid out
// right to left, with the filled fields of the sheet.
report::Report recapCoverSheetReport(const RecapCoverSheet &sheet);

// The sheet written as a PDF file; false, with a French message, when the file cannot be written.
bool renderRecapCoverSheet(const RecapCoverSheet &sheet, const QString &pdfPath, QString *error = nullptr);
