#pragma once

#include <QMarginsF>
#include <QPageLayout>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <vector>

// What a report is made of: an A4 page with margins and bands of items. Every length is in millimetres;
// the items of a band are placed from the band's top left corner, which stands on the left margin.
namespace report {

inline constexpr const char *kLatinFamily = "Noto Sans";
inline constexpr const char *kArabicFamily = "Noto Sans Arabic";

struct Font {
    QString family = QString::fromLatin1(kLatinFamily);
    double pointSize = 8;
    bool bold = false;
    bool underline = false;

    Font sized(double points) const;
    Font boldened() const;
    Font underlined() const;
};

// What a text does when it is wider than its rectangle.
enum class Overflow {
    Elide,  // a line too wide ends with an ellipsis
    Shrink, // the font is made smaller until the text fits (numbers keep all their digits)
    Wrap,   // lines are broken between words
};

struct Item {
    enum class Kind { Text, PageNumber, Box, Line };
    Kind kind = Kind::Text;
    QRectF rect;  // a line runs from the top left corner of its rectangle to the bottom right one
    QString text; // a page number is printed after its text; "\n" starts a new line
    Font font;
    // Absolute alignment: Qt::AlignRight is the right edge of the rectangle whatever the direction.
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool rightToLeft = false;
    Overflow overflow = Overflow::Elide;
    double penWidth = 0.2;
    Qt::PenStyle penStyle = Qt::SolidLine;
};

struct Band {
    double height = 0;
    std::vector<Item> items;

    bool isEmpty() const { return height <= 0 && items.empty(); }

    Item &text(const QRectF &rect, const QString &text, const Font &font = {},
               Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);
    // A number through a display mask ("##0.000", "# ##0.000", "####0", ...; empty: the shortest exact
    // text), right-aligned, shrunk rather than cut when it is too wide.
    Item &number(const QRectF &rect, double value, const QString &mask, const Font &font = {});
    // A right-to-left text in the Arabic font, right-aligned unless told otherwise, shrunk rather than cut.
    Item &arabic(const QRectF &rect, const QString &text, const Font &font = {},
                 Qt::Alignment alignment = Qt::AlignRight | Qt::AlignVCenter);
    Item &pageNumber(const QRectF &rect, const QString &prefix, const Font &font = {},
                     Qt::Alignment alignment = Qt::AlignRight | Qt::AlignVCenter);
    Item &box(const QRectF &rect, double penWidth = 0.2);
    Item &line(const QPointF &from, const QPointF &to, double penWidth = 0.2,
               Qt::PenStyle style = Qt::SolidLine);
};

// A report: a title band printed once at the top of the first page, a page header at the top of every page
// (under the title on the first; column headings, say), the detail bands one after the other, a summary band
// after the last detail and a page footer at the bottom of every page. A band never straddles two pages.
struct Report {
    QString caption; // the preview's window title and the PDF's title
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins{10, 10, 10, 10}; // left, top, right, bottom
    Band title;
    Band pageHeader;
    std::vector<Band> details;
    Band summary;
    Band pageFooter;

    QSizeF paperSize() const; // A4 in the report's orientation
    double contentWidth() const;
    double contentHeight() const;
    QPageLayout pageLayout() const;
};

} // namespace report
