#pragma once

#include "report/ReportLayout.h"

#include <QStringList>
#include <vector>

class TDatadeclaration;

// The list of each annex's rows with their totals, the global statement of withholdings of the annex, as
// one table of data read by one piece of code.

enum class AnnexReportValue {
    Text,
    Number, // printed in the shortest exact form (counts, days)
    Amount, // through the report's amount mask
};

struct AnnexReportColumn {
    const char *heading;    // "\n" between the two lines of a heading
    QStringList columns;    // the annex column printed, or several summed, an empty one counting as 0
    AnnexReportValue value; // Text columns are never totalled
    double share;           // of the page's width, against the other columns' shares
    bool totalled = false;  // its sum stands under it in the summary
};

// A labelled sum at the left of the summary; without a column, the label alone ("Totaux").
struct AnnexReportTotal {
    const char *label;
    const char *column = nullptr;
};

struct AnnexReportDefinition {
    int annex;
    const char *caption; // of the preview: "Etat Annexe I"
    const char *title;
    const char *subtitle;
    QPageLayout::Orientation orientation;
    const char *amountMask; // empty: the default format
    std::vector<AnnexReportColumn> columns;
    std::vector<AnnexReportTotal> totals;
};

const AnnexReportDefinition &annexReportDefinition(int annex); // 1 to 7

// The list of an annex for a company and fiscal year, its rows in the database's order, as a report: A4
// (landscape, Annex VI portrait), the title band with the annex name, subtitle and column headings on the
// first page, a line per row, the totals after the last, an empty page footer. Throws DbError.
report::Report annexReport(TDatadeclaration &dm, int annex, const QString &code, const QString &exercice);
