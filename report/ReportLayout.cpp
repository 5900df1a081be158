#include "report/ReportLayout.h"

#include "data/NumberFormat.h"

#include <QPageSize>

namespace report {

Font Font::sized(double points) const {
    Font f = *this;
    f.pointSize = points;
    return f;
}

Font Font::boldened() const {
    Font f = *this;
    f.bold = true;
    return f;
}

Font Font::underlined() const {
    Font f = *this;
    f.underline = true;
    return f;
}

Item &Band::text(const QRectF &rect, const QString &text, const Font &font, Qt::Alignment alignment) {
    Item item;
    item.rect = rect;
    item.text = text;
    item.font = font;
    item.alignment = alignment;
    return items.emplace_back(std::move(item));
}

Item &Band::number(const QRectF &rect, double value, const QString &mask, const Font &font) {
    Item &item = text(rect, formatNumber(value, mask), font, Qt::AlignRight | Qt::AlignVCenter);
    item.overflow = Overflow::Shrink;
    return item;
}

Item &Band::arabic(const QRectF &rect, const QString &text, const Font &font, Qt::Alignment alignment) {
    Font f = font;
    f.family = QString::fromLatin1(kArabicFamily);
    Item &item = this->text(rect, text, f, alignment);
    item.rightToLeft = true;
    item.overflow = Overflow::Shrink;
    return item;
}

Item &Band::pageNumber(const QRectF &rect, const QString &prefix, const Font &font, Qt::Alignment alignment) {
    Item &item = text(rect, prefix, font, alignment);
    item.kind = Item::Kind::PageNumber;
    return item;
}

Item &Band::box(const QRectF &rect, double penWidth) {
    Item item;
    item.kind = Item::Kind::Box;
    item.rect = rect;
    item.penWidth = penWidth;
    return items.emplace_back(std::move(item));
}

Item &Band::line(const QPointF &from, const QPointF &to, double penWidth, Qt::PenStyle style) {
    Item item;
    item.kind = Item::Kind::Line;
    item.rect = QRectF(from, to);
    item.penWidth = penWidth;
    item.penStyle = style;
    return items.emplace_back(std::move(item));
}

QSizeF Report::paperSize() const {
    const QSizeF a4 = QPageSize::size(QPageSize::A4, QPageSize::Millimeter);
    return orientation == QPageLayout::Landscape ? a4.transposed() : a4;
}

double Report::contentWidth() const {
    return paperSize().width() - margins.left() - margins.right();
}

double Report::contentHeight() const {
    return paperSize().height() - margins.top() - margins.bottom();
}

QPageLayout Report::pageLayout() const {
    return QPageLayout(QPageSize(QPageSize::A4), orientation, margins, QPageLayout::Millimeter);
}

} // namespace report
