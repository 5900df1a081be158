#pragma once

#include "report/ReportLayout.h"

#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace report {

// A band as it stands on a page: its top, in millimetres from the top margin.
struct PlacedBand {
    const Band *band;
    double top;
};
using Page = std::vector<PlacedBand>;

// The pages of a report: the title on the first, then the page header, the details as long as they fit
// above the page footer, a new page for the first that does not, the summary after the last detail (on a
// page of its own when it does not fit), the footer at the foot of every page. Always one page at least.
std::vector<Page> paginate(const Report &report);

// Paints one page, the painter's origin being the top left corner of the margins.
void paintPage(QPainter &painter, const Page &page, int pageNumber);

// Sets the report's page layout on a paged device (a PDF writer or a printer) and paints every page on it.
// False when the device cannot be painted on.
bool render(const Report &report, QPagedPaintDevice &device);

// Writes the report as a PDF file. False, with a French message, when the file cannot be written.
bool renderToPdf(const Report &report, const QString &path, QString *error = nullptr);

} // namespace report
