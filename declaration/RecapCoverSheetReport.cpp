#include "declaration/RecapCoverSheetReport.h"

#include "annexes/AnnexDefinitions.h"
#include "declaration/RecapCoverSheet.h"
#include "report/ReportRenderer.h"

namespace {

using report::Band;
using report::Font;

// A4 portrait less 8 mm on either side; the form is drawn from its right edge.
constexpr double kWidth = 210 - 2 * 8;
constexpr double kRow = 7;

// A rectangle placed by its distance from the right edge of the page's printable width.
QRectF fromRight(double right, double top, double width, double height = kRow) {
    return {kWidth - right - width, top, width, height};
}

const Font kCaption = Font{}.sized(10);
const Font kHeading = kCaption.sized(11).boldened();
const Font kField = Font{}.sized(10);
constexpr Qt::Alignment kCentred = Qt::AlignCenter;

// A caption with its footnote mark "(1)" just to its left.
void captionWithNote(Band &band, const QRectF &rect, const QString &caption, const Font &font) {
    band.arabic(rect, caption, font);
    band.text(QRectF(rect.left() - 9, rect.top(), 8, rect.height()), QStringLiteral("(1)"), kField.sized(8),
              Qt::AlignRight | Qt::AlignVCenter);
}

// A filled field: its value in a box.
void field(Band &band, const QRectF &rect, const QString &value) {
    band.box(rect);
    band.text(rect.adjusted(1, 0, -1, 0), value, kField, Qt::AlignRight | Qt::AlignVCenter);
}

void heading(Band &band, const RecapCoverSheet &sheet) {
    band.arabic(fromRight(0, 0, 80, 6), QStringLiteral("الجمهورية التونسية"), kHeading);
    band.arabic(fromRight(0, 6, 80, 6), QStringLiteral("وزارة المالية"), kHeading);
    band.arabic(fromRight(0, 12, 80, 6), QStringLiteral("الإدارة العامة للأداءات"), kHeading);
    band.arabic(QRectF(0, 22, kWidth, 10),
                QStringLiteral("تصريح المؤجر لسنة") + QLatin1Char(' ') + sheet.fiscalYear,
                kCaption.sized(15).boldened(), kCentred);
}

void filingDate(Band &band, const RecapCoverSheet &sheet) {
    const double y = 36;
    band.arabic(fromRight(0, y, 40), QStringLiteral("تاريخ الإحالة    اليوم "), kCaption);
    field(band, fromRight(42, y, 14), sheet.day());
    band.arabic(fromRight(58, y, 14), QStringLiteral("الشهر"), kCaption);
    field(band, fromRight(74, y, 14), sheet.month());
    band.arabic(fromRight(90, y, 14), QStringLiteral("السنة"), kCaption);
    field(band, fromRight(106, y, 22), sheet.year());
}

void company(Band &band, const RecapCoverSheet &sheet) {
    band.box(QRectF(0, 47, kWidth, 55));
    const double y = 50;
    band.arabic(fromRight(2, y, 30, 12), QStringLiteral("المعرف الجبائي"), kCaption);
    field(band, fromRight(34, y + 2, 30, 8), sheet.taxIdentifier);
    band.arabic(fromRight(68, y, 30, 12),
                QStringLiteral("رمز الأداء على ") + QLatin1Char('\n') + QStringLiteral("القيمة المضافة"),
                kCaption);
    field(band, fromRight(100, y + 2, 16, 8), sheet.vatCode);
    band.arabic(fromRight(120, y, 22, 12), QStringLiteral("رمز الصنف"), kCaption);
    field(band, fromRight(144, y + 2, 20, 8), sheet.categoryCode);

    struct Line {
        const char *caption;
        QString value;
        double width;
    };
    const Line lines[] = {
        {"الإسم واللقب او الاسم الاجتماعي", sheet.name, 133},
        {"العنوان", sheet.address, 133},
        {"الترقيم البريدي", sheet.postalCode, 25},
    };
    double top = 66;
    for (const Line &line : lines) {
        band.arabic(fromRight(2, top, 55, 8), QString::fromUtf8(line.caption), kCaption);
        field(band, fromRight(59, top, line.width, 8), line.value);
        top += 11;
    }
}

void medium(Band &band) {
    band.arabic(fromRight(0, 106, 80), QStringLiteral("معلومات تتعلق بالحامل"), kHeading);
    const double y = 115;
    captionWithNote(band, fromRight(2, y, 30), QStringLiteral("نوعية الحامل "), kCaption);
    band.box(fromRight(44, y + 1, 5, 5));
    band.text(fromRight(44, y + 1, 5, 5), QStringLiteral("X"), kField, kCentred);
    band.arabic(fromRight(51, y, 55), QStringLiteral("قرص لنظام القراءة بالليزر"), kCaption);
    band.box(fromRight(110, y + 1, 5, 5));
    band.arabic(fromRight(117, y, 77), QStringLiteral("دعائم مغناطيسية للمعالجة الألية للمعلومات"), kCaption);
}

// The annexes: a column per annex from right to left, under a column of row headings.
void annexes(Band &band, const RecapCoverSheet &sheet) {
    const double headingWidth = 44;
    const double columnWidth = (kWidth - headingWidth) / 7;
    const double top = 128;
    struct Row {
        double height;
        QString heading;
        bool note;
    };
    const Row rows[] = {
        {12, QStringLiteral("الملاحق"), false},
        {10, QStringLiteral("الملاحيق المودعة"), true},
        {10, QStringLiteral("عدد المنتفعين"), false},
        {14, QStringLiteral("المجموع الصافي ") + QLatin1Char('\n') + QStringLiteral("الوارد بالملحق"), false},
    };
    double y = top;
    for (std::size_t r = 0; r < std::size(rows); ++r) {
        const Row &row = rows[r];
        const QRectF cell = fromRight(0, y, headingWidth, row.height);
        band.box(cell);
        if (row.note)
            captionWithNote(band, cell.adjusted(10, 0, -1, 0), row.heading, kCaption);
        else
            band.arabic(cell.adjusted(1, 0, -1, 0), row.heading, kCaption);
        for (int annex = 1; annex <= 7; ++annex) {
            const QRectF c = fromRight(headingWidth + (annex - 1) * columnWidth, y, columnWidth, row.height);
            band.box(c);
            const QRectF inside = c.adjusted(1, 0, -1, 0);
            switch (r) {
            case 0:
                band.arabic(QRectF(inside.left(), y, inside.width(), 6), QStringLiteral("ملحق عدد "),
                            kCaption, kCentred);
                band.text(QRectF(inside.left(), y + 6, inside.width(), 6),
                          QString::fromLatin1(annexDefinition(annex).roman), kField, kCentred);
                break;
            case 1: band.text(inside, sheet.presenceMark(annex), kField.boldened(), kCentred); break;
            case 2:
                band.text(inside, sheet.rowCount(annex), kField, kCentred).overflow =
                    report::Overflow::Shrink;
                break;
            default:
                band.text(inside, sheet.netTotal(annex), kField, kCentred).overflow =
                    report::Overflow::Shrink;
            }
        }
        y += row.height;
    }
}

void certification(Band &band) {
    band.arabic(fromRight(0, 180, kWidth),
                QStringLiteral("إني الممضي أسفله أشهد بصحة المعلومات المتضمنة بهذا الحامل"), kCaption);
    band.arabic(fromRight(0, 189, 40), QStringLiteral("ختم وإمضاء المصرح"), kCaption);
    band.line(QPointF(kWidth - 110, 195), QPointF(kWidth - 42, 195), 0.3, Qt::DotLine);
}

// A caption followed on its left by a dotted line running to the left edge of the receipt.
void dottedCaption(Band &band, double top, double width, const QString &caption) {
    band.arabic(fromRight(2, top, width), caption, kCaption);
    band.line(QPointF(4, top + kRow - 1), QPointF(kWidth - 4 - width, top + kRow - 1), 0.3, Qt::DotLine);
}

void receipt(Band &band) {
    band.box(QRectF(0, 200, kWidth, 63));
    captionWithNote(band, fromRight(2, 202, 30), QStringLiteral("وصل تسليم"), kHeading);
    const char *const kinds[] = {"وقتي", "أولي", "تصحيحي أول", "تصحيحي ثاني", "نهائي"};
    for (int i = 0; i < 5; ++i) {
        band.box(fromRight(4 + i * 36, 212, 5, 5));
        band.arabic(fromRight(11 + i * 36, 211, 27), QString::fromUtf8(kinds[i]), kCaption);
    }
    dottedCaption(band, 220, 62, QStringLiteral("يشهد رئيس مكتب مراقبة الأداءات ب"));
    dottedCaption(band, 229, 34, QStringLiteral("أنه تسلم من السيد"));
    band.arabic(fromRight(2, 238, kWidth - 4),
                QStringLiteral("حامل ممغنط يتعلق بتصريح المؤجر لسنة  ............. ويتعين على المعني بالأمر "
                               "الاتصال بمكتب مراقبة الاداءات"),
                kCaption);
    band.arabic(fromRight(2, 246, 140),
                QStringLiteral("يوم ...............من شهر ..............لاعلامه بمأل الحامل"), kCaption);
    const double y = 254;
    band.arabic(fromRight(2, y, 20), QStringLiteral("بتاريخ"), kCaption);
    band.arabic(fromRight(24, y, 12), QStringLiteral("اليوم"), kCaption);
    band.box(fromRight(37, y, 12));
    band.arabic(fromRight(51, y, 12), QStringLiteral("الشهر"), kCaption);
    band.box(fromRight(64, y, 12));
    band.arabic(fromRight(78, y, 12), QStringLiteral("السنة"), kCaption);
    band.box(fromRight(91, y, 18));
}

void footnote(Band &band) {
    band.text(fromRight(0, 268, 6), QStringLiteral("(1"), kField.sized(8), Qt::AlignRight | Qt::AlignVCenter);
    band.arabic(fromRight(7, 268, 90), QStringLiteral("ضع العلامة (X) في الخانة المناسبة"),
                kCaption.sized(9));
}

} // namespace

report::Report recapCoverSheetReport(const RecapCoverSheet &sheet) {
    report::Report r;
    r.caption = QStringLiteral("Déclaration de l'employeur %1").arg(sheet.fiscalYear);
    r.orientation = QPageLayout::Portrait;
    r.margins = QMarginsF(8, 10, 8, 10);
    Band &page = r.title;
    page.height = r.contentHeight();
    heading(page, sheet);
    filingDate(page, sheet);
    company(page, sheet);
    medium(page);
    annexes(page, sheet);
    certification(page);
    receipt(page);
    footnote(page);
    return r;
}

bool renderRecapCoverSheet(const RecapCoverSheet &sheet, const QString &pdfPath, QString *error) {
    return report::renderToPdf(recapCoverSheetReport(sheet), pdfPath, error);
}
