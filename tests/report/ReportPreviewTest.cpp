#include "report/windows/ReportPreview.h"
#include "annexes/windows/AnnexPrints.h"
#include "declaration/windows/Tfrmrecap.h"
#include "tests/report/ReportFixture.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPrintPreviewWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

// The prints as the browse and recap windows start them: a preview over a parent window.
class ReportPreviewTest : public ReportFixture {
protected:
    ReportPreviewTest() { parent.show(); }
    ~ReportPreviewTest() override {
        for (ReportPreview *p : previews())
            delete p;
    }

    static std::vector<ReportPreview *> previews() {
        std::vector<ReportPreview *> found;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *p = qobject_cast<ReportPreview *>(w); p && p->isVisible())
                found.push_back(p);
        return found;
    }
    static int pageCount(ReportPreview *p) {
        p->pages()->updatePreview();
        QApplication::processEvents();
        return p->pages()->pageCount();
    }
    // Closes a preview with its "Fermer" button; true when the window is then gone.
    static bool closedByItsButton(ReportPreview *p) {
        QPointer<ReportPreview> guard(p);
        for (QToolButton *b : p->findChildren<QToolButton *>())
            if (b->text() == QStringLiteral("Fermer"))
                QTest::mouseClick(b, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return guard.isNull();
    }

    QWidget parent;
};

TEST_F(ReportPreviewTest, AnnexListOpensInAPreviewReleasedWhenClosed) {
    insertAnnexRow(2, 1, {{"RAISONSOCIALE", "'CABINET ALPHA'"}});
    showAnnexReport(dm, 2, &parent);
    const auto shown = previews();
    ASSERT_EQ(shown.size(), 1u);
    ReportPreview *preview = shown.front();
    EXPECT_EQ(preview->windowTitle(), QStringLiteral("Etat Annexe II"));
    EXPECT_EQ(pageCount(preview), 1);
    const QString path = pdfPath(QStringLiteral("saved"));
    ASSERT_TRUE(preview->saveAsPdf(path));
    EXPECT_TRUE(pdf::text(path).contains(QStringLiteral("CABINET ALPHA")));
    EXPECT_TRUE(closedByItsButton(preview));
}

TEST_F(ReportPreviewTest, CertificatesAndCoverSheetOpenInPreviews) {
    insertAnnexRow(1, 1);
    insertAnnexRow(1, 2);
    showSalaryCertificates(dm, 1, 2, &parent);
    ASSERT_EQ(previews().size(), 1u);
    EXPECT_EQ(pageCount(previews().front()), 2);
    EXPECT_TRUE(closedByItsButton(previews().front()));

    showRecapCoverSheet(dm, QStringLiteral("A"), QDate(2019, 3, 5), &parent);
    ASSERT_EQ(previews().size(), 1u);
    EXPECT_EQ(pageCount(previews().front()), 1);
    EXPECT_TRUE(closedByItsButton(previews().front()));
}

TEST_F(ReportPreviewTest, CoverSheetWithoutTheCompanyRowSaysSoAndShowsNothing) {
    dm.activeCompany.name = QStringLiteral("AUTRE SOCIETE");
    QString said;
    QTimer::singleShot(0, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            said = box->text();
            box->accept();
        }
    });
    showRecapCoverSheet(dm, QStringLiteral("A"), QDate(2019, 3, 5), &parent);
    EXPECT_TRUE(said.contains(QStringLiteral("AUTRE SOCIETE"))) << said.toStdString();
    EXPECT_TRUE(previews().empty());
}

} // namespace
