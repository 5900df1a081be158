#include "declaration/RecapCoverSheet.h"
#include "declaration/DeclarationError.h"
#include "declaration/RecapCoverSheetReport.h"
#include "tests/report/ReportFixture.h"

#include <QRegularExpression>

namespace {

// Two rows in Annex I, one in Annexes II and VI, none in Annex III and the others.
class RecapCoverSheetTest : public ReportFixture {
protected:
    RecapCoverSheetTest() {
        insertAnnexRow(1, 1, {{"MONTANTNET", "1000.5"}});
        insertAnnexRow(1, 2, {{"MONTANTNET", "2000.25"}});
        insertAnnexRow(2, 1, {{"NETSERVIS", "285"}});
        insertAnnexRow(6, 1, {{"MONTANTRISTOURNES", "1234.5"}});
    }
    RecapCoverSheet sheet() { return readRecapCoverSheet(dm, QStringLiteral("B"), QDate(2019, 3, 5)); }
    QString renderedSheet() {
        const QString path = pdfPath(QStringLiteral("recap"));
        QString error;
        EXPECT_TRUE(renderRecapCoverSheet(sheet(), path, &error)) << error.toStdString();
        return path;
    }
};

TEST_F(RecapCoverSheetTest, ValuesOfTheActiveCompanyAndItsAnnexes) {
    const RecapCoverSheet s = sheet();
    EXPECT_EQ(s.fiscalYear, QStringLiteral("2018"));
    EXPECT_EQ(s.taxIdentifier, QStringLiteral("1234567A"));
    EXPECT_EQ(s.vatCode, QStringLiteral("B"));
    EXPECT_EQ(s.categoryCode, QStringLiteral("M000"));
    EXPECT_EQ(s.name, QStringLiteral("SOCIETE TEST  TUNIS"));
    EXPECT_EQ(s.address, QStringLiteral("RUE DE MARSEILLE"));
    EXPECT_EQ(s.postalCode, QStringLiteral("1000"));
    EXPECT_EQ(s.day(), QStringLiteral("5"));
    EXPECT_EQ(s.month(), QStringLiteral("3"));
    EXPECT_EQ(s.year(), QStringLiteral("2019"));
    const struct {
        int annex;
        const char *mark, *count, *net;
    } expected[] = {{1, "X", "2", "3 000.750"},
                    {2, "X", "1", "285.000"},
                    {3, "", "", ""},
                    {4, "", "", ""},
                    {5, "", "", ""},
                    {6, "X", "1", "1 234.500"},
                    {7, "", "", ""}};
    for (const auto &e : expected) {
        EXPECT_EQ(s.presenceMark(e.annex), QLatin1String(e.mark)) << e.annex;
        EXPECT_EQ(s.rowCount(e.annex), QLatin1String(e.count)) << e.annex;
        EXPECT_EQ(s.netTotal(e.annex), QString::fromUtf8(e.net)) << e.annex;
    }
}

TEST_F(RecapCoverSheetTest, RowsOfAnotherCompanyOrYearDoNotCount) {
    exec(QStringLiteral("update ANNEXEII set EXERCICE = '2017'"));
    insertAnnexRow(3, 1);
    exec(QStringLiteral("update ANNEXEIII set IDENTIFIANT = '7654321BM000'"));
    const RecapCoverSheet s = sheet();
    EXPECT_FALSE(s.annexes[1].isPresent());
    EXPECT_FALSE(s.annexes[2].isPresent());
}

TEST_F(RecapCoverSheetTest, CompanyWithoutItsRowIsRefused) {
    dm.activeCompany.name = QStringLiteral("AUTRE SOCIETE");
    try {
        sheet();
        FAIL() << "no refusal";
    } catch (const DeclarationError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("AUTRE SOCIETE"))) << e.message().toStdString();
    }
}

TEST_F(RecapCoverSheetTest, OnePortraitPageWithEveryCaption) {
    const QString path = renderedSheet();
    EXPECT_EQ(pdf::pageCount(path), 1);
    EXPECT_EQ(pdf::pageSize(path), QSize(595, 842));
    const QString text = pdf::text(path);
    const char *const captions[] = {
        "الجمهورية التونسية",
        "وزارة المالية",
        "الإدارة العامة للأداءات",
        "تصريح المؤجر لسنة",
        "تاريخ الإحالة    اليوم ",
        "الشهر",
        "السنة",
        "المعرف الجبائي",
        "رمز الأداء على ",
        "القيمة المضافة",
        "رمز الصنف",
        "الإسم واللقب او الاسم الاجتماعي",
        "العنوان",
        "الترقيم البريدي",
        "معلومات تتعلق بالحامل",
        "نوعية الحامل ",
        "(1)",
        "قرص لنظام القراءة بالليزر",
        "دعائم مغناطيسية للمعالجة الألية للمعلومات",
        "الملاحق",
        "ملحق عدد ",
        "الملاحيق المودعة",
        "عدد المنتفعين",
        "المجموع الصافي ",
        "الوارد بالملحق",
        "إني الممضي أسفله أشهد بصحة المعلومات المتضمنة بهذا الحامل",
        "ختم وإمضاء المصرح",
        "وصل تسليم",
        "وقتي",
        "أولي",
        "تصحيحي أول",
        "تصحيحي ثاني",
        "نهائي",
        "يشهد رئيس مكتب مراقبة الأداءات ب",
        "أنه تسلم من السيد",
        "حامل ممغنط يتعلق بتصريح المؤجر لسنة  ............. ويتعين على المعني بالأمر الاتصال بمكتب مراقبة "
        "الاداءات",
        "يوم ...............من شهر ..............لاعلامه بمأل الحامل",
        "بتاريخ",
        "ضع العلامة (X) في الخانة المناسبة",
        "(1",
    };
    // pdftotext gives the runs of a line in their visual order and a mirrored parenthesis as its mirror: a
    // caption is found when one line holds all its words.
    const QStringList lines = text.split(QLatin1Char('\n'));
    const QRegularExpression separators(QStringLiteral("[\\s.()]+"));
    for (const char *caption : captions) {
        const QStringList words =
            pdf::normalised(QString::fromUtf8(caption)).split(separators, Qt::SkipEmptyParts);
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const QString &line) {
            return std::all_of(words.begin(), words.end(),
                               [&](const QString &w) { return line.contains(w); });
        })) << caption;
    }
    for (const char *roman : {"I", "II", "III", "IV", "V", "VI", "VII"})
        EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("\\b%1\\b").arg(QLatin1String(roman)))))
            << roman;
}

TEST_F(RecapCoverSheetTest, FilledFieldsOnTheSheet) {
    const QString text = pdf::text(renderedSheet());
    auto lineWith = [&](const QString &part) { return pdf::lineWith(text, part); };
    const QString title = lineWith(QStringLiteral("تصريح المؤجر لسنة"));
    EXPECT_TRUE(title.contains(QStringLiteral("2018"))) << title.toStdString();
    const QString date = lineWith(QStringLiteral("تاريخ الإحالة"));
    QStringList numbers;
    for (const auto &m : QRegularExpression(QStringLiteral("\\d+")).globalMatch(date))
        numbers << m.captured();
    numbers.sort();
    EXPECT_EQ(numbers, (QStringList{"2019", "3", "5"})) << date.toStdString();
    for (const char *value : {"1234567A", "M000", "SOCIETE TEST TUNIS", "RUE DE MARSEILLE", "1000",
                              "3 000.750", "285.000", "1 234.500"})
        EXPECT_TRUE(text.contains(QLatin1String(value))) << value;
    EXPECT_TRUE(
        lineWith(QStringLiteral("المعرف الجبائي")).contains(QRegularExpression(QStringLiteral("\\bB\\b"))));
}

// An absent annex leaves its column blank under its number; a present one shows its mark, count and total.
TEST_F(RecapCoverSheetTest, AbsentAnnexLeavesItsBoxCountAndTotalBlank) {
    const std::vector<pdf::Word> words = pdf::words(renderedSheet());
    auto under = [&](const char *roman) {
        QStringList found;
        const auto heading = std::find_if(words.begin(), words.end(),
                                          [&](const pdf::Word &w) { return w.text == QLatin1String(roman); });
        if (heading == words.end())
            return QStringList{QStringLiteral("no heading")};
        const double x = heading->box.center().x(), top = heading->box.bottom();
        for (const pdf::Word &w : words)
            if (std::abs(w.box.center().x() - x) < 25 && w.box.top() > top && w.box.top() < top + 100)
                found << w.text;
        return found;
    };
    EXPECT_EQ(under("III"), QStringList());
    EXPECT_EQ(under("VII"), QStringList());
    EXPECT_EQ(under("II"), (QStringList{"X", "1", "285.000"}));
    EXPECT_EQ(under("I"), (QStringList{"X", "2", "3", "000.750"}));
}

} // namespace
