#include "report/ReportRenderer.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

namespace report {

namespace {

constexpr double kMillimetresPerInch = 25.4;
constexpr double kSmallestShrunkPoints = 4;

QFont qtFont(const Font &font) {
    QFont f(font.family);
    f.setPointSizeF(font.pointSize);
    f.setBold(font.bold);
    f.setUnderline(font.underline);
    return f;
}

double widestLine(const QString &text, const QFont &font, const QPaintDevice *device) {
    const QFontMetricsF metrics(font, device);
    double widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

// The text as it is drawn in its rectangle: elided line by line, or with a font small enough to fit.
QString fittedText(const QString &text, Overflow overflow, QFont &font, const QRectF &rect,
                   const QPaintDevice *device) {
    switch (overflow) {
    case Overflow::Wrap: return text;
    case Overflow::Shrink:
        while (font.pointSizeF() > kSmallestShrunkPoints && widestLine(text, font, device) > rect.width())
            font.setPointSizeF(font.pointSizeF() * 0.9);
        return text;
    case Overflow::Elide: break;
    }
    const QFontMetricsF metrics(font, device);
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines)
        line = metrics.elidedText(line, Qt::ElideRight, rect.width());
    return lines.join(QLatin1Char('\n'));
}

void paintItem(QPainter &painter, const Item &item, const QString &text, QPointF origin, double dotsPerMm) {
    const QRectF rect((item.rect.topLeft() + origin) * dotsPerMm, item.rect.size() * dotsPerMm);
    if (item.kind == Item::Kind::Box || item.kind == Item::Kind::Line) {
        painter.setPen(QPen(Qt::black, item.penWidth * dotsPerMm, item.penStyle));
        painter.setBrush(Qt::NoBrush);
        if (item.kind == Item::Kind::Box)
            painter.drawRect(rect);
        else
            painter.drawLine(rect.topLeft(), rect.bottomRight());
        return;
    }
    if (text.isEmpty())
        return;
    QFont font = qtFont(item.font);
    const QString shown = fittedText(text, item.overflow, font, rect, painter.device());
    painter.setPen(Qt::black);
    painter.setFont(font);
    painter.setLayoutDirection(item.rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    int flags = static_cast<int>(item.alignment | Qt::AlignAbsolute);
    if (item.overflow == Overflow::Wrap)
        flags |= Qt::TextWordWrap;
    painter.drawText(rect, flags, shown);
}

void paintBand(QPainter &painter, const Band &band, double top, int pageNumber, double dotsPerMm) {
    for (const Item &item : band.items) {
        const QString text =
            item.kind == Item::Kind::PageNumber ? item.text + QString::number(pageNumber) : item.text;
        paintItem(painter, item, text, QPointF(0, top), dotsPerMm);
    }
}

} // namespace

std::vector<Page> paginate(const Report &report) {
    const double footerTop = report.contentHeight() - report.pageFooter.height;
    std::vector<Page> pages(1);
    double y = 0;
    double bodyTop = 0; // where the bands after the page header start on the current page
    auto place = [&](const Band &band) {
        pages.back().push_back({&band, y});
        y += band.height;
    };
    auto placeHeader = [&]() {
        if (!report.pageHeader.isEmpty())
            place(report.pageHeader);
        bodyTop = y;
    };
    // A band that does not fit above the footer goes to the next page, unless the page holds nothing yet
    // beside its header: a band taller than a page stands alone and runs over.
    auto placeFlowing = [&](const Band &band) {
        if (y + band.height > footerTop && y > bodyTop) {
            pages.emplace_back();
            y = 0;
            placeHeader();
        }
        place(band);
    };

    if (!report.title.isEmpty())
        place(report.title);
    placeHeader();
    if (!report.title.isEmpty())
        bodyTop = 0; // a detail that does not fit under the title goes to the next page
    for (const Band &detail : report.details)
        placeFlowing(detail);
    if (!report.summary.isEmpty())
        placeFlowing(report.summary);
    if (!report.pageFooter.isEmpty())
        for (Page &page : pages)
            page.push_back({&report.pageFooter, footerTop});
    return pages;
}

void paintPage(QPainter &painter, const Page &page, int pageNumber) {
    const double dotsPerMm = painter.device()->logicalDpiX() / kMillimetresPerInch;
    for (const PlacedBand &placed : page)
        paintBand(painter, *placed.band, placed.top, pageNumber, dotsPerMm);
}

bool render(const Report &report, QPagedPaintDevice &device) {
    device.setPageLayout(report.pageLayout());
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const std::vector<Page> pages = paginate(report);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0)
            device.newPage();
        paintPage(painter, pages[i], static_cast<int>(i) + 1);
    }
    return painter.end();
}

bool renderToPdf(const Report &report, const QString &path, QString *error) {
    QPdfWriter writer(path);
    writer.setTitle(report.caption);
    writer.setCreator(QStringLiteral("Talvane"));
    if (render(report, writer))
        return true;
    if (error)
        *error = QStringLiteral("Le fichier PDF « %1 » ne peut pas être écrit.").arg(path);
    return false;
}

} // namespace report
