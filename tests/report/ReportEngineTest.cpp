#include "report/ReportRenderer.h"
#include "tests/report/PdfReader.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using report::Band;

namespace {

class ReportEngineTest : public ::testing::Test {
protected:
    QString render(const report::Report &r) {
        const QString path = dir.filePath(QStringLiteral("report.pdf"));
        QString error;
        EXPECT_TRUE(report::renderToPdf(r, path, &error)) << error.toStdString();
        return path;
    }
    QTemporaryDir dir;
};

Band textBand(double height, const QString &text, double width = 100) {
    Band band;
    band.height = height;
    band.text(QRectF(0, 0, width, height), text);
    return band;
}

// A list long enough for several pages: title, column headings, 80 lines, totals, page numbers.
report::Report longList() {
    report::Report r;
    r.title = textBand(20, QStringLiteral("TITRE DE LA LISTE"));
    r.pageHeader = textBand(8, QStringLiteral("COLONNES"));
    for (int i = 0; i < 80; ++i)
        r.details.push_back(textBand(5, QStringLiteral("ligne%1").arg(i)));
    r.summary = textBand(10, QStringLiteral("Totaux"));
    r.pageFooter.height = 8;
    r.pageFooter.pageNumber(QRectF(0, 0, 100, 8), QStringLiteral("Page:"), {}, Qt::AlignLeft);
    return r;
}

TEST_F(ReportEngineTest, DetailsFlowOverPagesBetweenTitleAndFooters) {
    const QString path = render(longList());
    const int pages = pdf::pageCount(path);
    ASSERT_GE(pages, 2);
    const QString first = pdf::text(path, 1);
    EXPECT_TRUE(first.contains(QStringLiteral("TITRE DE LA LISTE")));
    EXPECT_TRUE(first.contains(QStringLiteral("ligne0")));
    for (int page = 1; page <= pages; ++page) {
        const QString text = pdf::text(path, page);
        EXPECT_TRUE(text.contains(QStringLiteral("COLONNES"))) << page;
        EXPECT_TRUE(text.contains(QStringLiteral("Page:%1").arg(page))) << page;
        if (page > 1) {
            EXPECT_FALSE(text.contains(QStringLiteral("TITRE"))) << page;
        }
    }
    const QString last = pdf::text(path, pages);
    EXPECT_GT(last.indexOf(QStringLiteral("Totaux")), last.indexOf(QStringLiteral("ligne79")));

    // Every line once, in order, above the footer of its page.
    std::map<int, double> footerTop;
    std::vector<QString> lines;
    for (const pdf::Word &w : pdf::words(path))
        if (w.text.startsWith(QStringLiteral("Page:")))
            footerTop[w.page] = w.box.top();
    for (const pdf::Word &w : pdf::words(path))
        if (w.text.startsWith(QStringLiteral("ligne"))) {
            lines.push_back(w.text);
            EXPECT_LT(w.box.bottom(), footerTop[w.page]) << w.text.toStdString();
        }
    ASSERT_EQ(lines.size(), 80u);
    for (int i = 0; i < 80; ++i)
        EXPECT_EQ(lines[static_cast<std::size_t>(i)], QStringLiteral("ligne%1").arg(i));
}

TEST_F(ReportEngineTest, EmptyReportIsOnePageWithTitleAndSummary) {
    report::Report r = longList();
    r.details.clear();
    const QString path = render(r);
    EXPECT_EQ(pdf::pageCount(path), 1);
    const QString text = pdf::text(path);
    EXPECT_TRUE(text.contains(QStringLiteral("TITRE DE LA LISTE")));
    EXPECT_TRUE(text.contains(QStringLiteral("Totaux")));
    EXPECT_TRUE(text.contains(QStringLiteral("Page:1")));
}

TEST_F(ReportEngineTest, PortraitAndLandscapeA4) {
    report::Report r = longList();
    EXPECT_EQ(pdf::pageSize(render(r)), QSize(595, 842));
    r.orientation = QPageLayout::Landscape;
    EXPECT_EQ(pdf::pageSize(render(r)), QSize(842, 595));
}

TEST_F(ReportEngineTest, NumbersThroughTheirMasksKeepAllTheirDigits) {
    struct Case {
        double value;
        const char *mask;
        const char *shown;
    };
    const Case cases[] = {
        {1234567.8915, "##0.000", "1234567.892"},
        {1234567.891, "## ##0.000", "1 234 567.891"},
        {1234567.891, "#,##0.000", "1 234 567.891"},
        {-1234.5, "### ##0.000", "-1 234.500"},
        {42, "####0", "42"},
        {0, "##0.000", "0.000"},
        {1234.5, "", "1234.5"},
    };
    report::Report r;
    for (const Case &c : cases) {
        Band band;
        band.height = 8;
        band.text(QRectF(0, 0, 30, 8), QString::fromLatin1(c.mask));
        band.number(QRectF(40, 0, 12, 8), c.value, QString::fromLatin1(c.mask)); // narrower than the text
        r.details.push_back(band);
    }
    const QString text = pdf::text(render(r));
    for (const Case &c : cases)
        EXPECT_TRUE(text.contains(QString::fromLatin1(c.shown))) << c.shown << "\n" << text.toStdString();
}

TEST_F(ReportEngineTest, ArabicReadsBackRightToLeftAgainstTheEdgeItIsAlignedTo) {
    const QString caption = QStringLiteral("الإدارة العامة للأداءات");
    report::Report r;
    r.margins = QMarginsF(8, 10, 8, 10);
    r.title.height = 30;
    r.title.arabic(QRectF(0, 0, r.contentWidth(), 10), caption);
    r.title.arabic(QRectF(0, 10, r.contentWidth(), 10), QStringLiteral("الملاحق"), {}, Qt::AlignLeft);
    const QString path = render(r);
    EXPECT_TRUE(pdf::text(path).contains(caption));

    // pdftotext gives Arabic glyph by glyph: the extent of a line is that of its glyphs.
    constexpr double pointsPerMm = 72 / 25.4;
    double captionRight = 0, annexesLeft = 1e9;
    for (const pdf::Word &w : pdf::words(path)) {
        if (w.box.center().y() < 20 * pointsPerMm)
            captionRight = std::max(captionRight, w.box.right());
        else
            annexesLeft = std::min(annexesLeft, w.box.left());
    }
    EXPECT_NEAR(captionRight, (210 - 8) * pointsPerMm, 3);
    EXPECT_NEAR(annexesLeft, 8 * pointsPerMm, 3);
}

TEST_F(ReportEngineTest, TextTooLongForItsPlaceIsElided) {
    report::Report r;
    r.details.push_back(
        textBand(6, QStringLiteral("ADRESSE TRES LONGUE QUI NE TIENT PAS DANS SA COLONNE"), 30));
    const QString text = pdf::text(render(r));
    EXPECT_TRUE(text.contains(QStringLiteral("ADRESSE"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("COLONNE"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("…")) || text.contains(QStringLiteral("...")))
        << text.toStdString();
}

TEST_F(ReportEngineTest, UnwritableFileIsRefusedWithItsName) {
    const QString path = dir.filePath(QStringLiteral("absent/folder/report.pdf"));
    QString error;
    EXPECT_FALSE(report::renderToPdf(longList(), path, &error));
    EXPECT_TRUE(error.contains(path)) << error.toStdString();
}

} // namespace
