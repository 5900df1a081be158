#include "tests/app/ReferenceFixture.h"

#include "data/Dataset.h"
#include "reference/windows/ReferenceWindows.h"
#include "ui/BrowseSearch.h"
#include "ui/SelectionDialog.h"

#include <QDateEdit>
#include <QLabel>
#include <QWheelEvent>

namespace {

class BrowseWindowTest : public ReferenceFixture {
protected:
    void SetUp() override {
        const QStringList names = {"ABD", "ABC", "L'AMI", "BETA", "abc minuscule", "A%B", "ZED"};
        int code = 1;
        for (const QString &name : names)
            addThirdParty(code++, name);
        // Codes 1, 10 to 19, 100 and others, for the search on a number.
        for (int c : {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 100, 21, 200})
            addThirdParty(c, QStringLiteral("TIERS %1").arg(c));
        window = std::make_unique<TFrmtiersgrille>(dm);
        window->resize(900, 500);
        window->show();
        QCoreApplication::processEvents();
    }
    QStringList names() const { return shown(window->grid(), QStringLiteral("Nom Tiers")); }
    QStringList codes() const { return shown(window->grid(), QStringLiteral("Code")); }

    std::unique_ptr<TFrmtiersgrille> window;
};

TEST_F(BrowseWindowTest, OpensOnEveryThirdPartyInCodeOrderWithNoSearchColumn) {
    EXPECT_EQ(dm.Itiers.sql(), QStringLiteral("select * from tiers Order by code"));
    EXPECT_EQ(codes().first(), QStringLiteral("1"));
    EXPECT_EQ(codes().size(), 20);
    EXPECT_TRUE(window->searchLabel()->text().isEmpty());
    // No title clicked yet: typing changes nothing.
    QTest::keyClicks(window->searchBox(), QStringLiteral("a"));
    EXPECT_EQ(window->searchBox()->text(), QStringLiteral("A"));
    EXPECT_EQ(codes().size(), 20);
}

TEST_F(BrowseWindowTest, TitleClickSortsAndMarksTheColumn) {
    clickTitle(window->grid(), QStringLiteral("Nom Tiers"));
    EXPECT_EQ(window->searchLabel()->text(), QStringLiteral("Nom Tiers"));
    EXPECT_EQ(dm.Itiers.sql(), QStringLiteral("select * from TIERS Order by NOMBENEFICIAIRE"));
    const QStringList first = names();
    EXPECT_EQ(first.mid(0, 4), (QStringList{"A%B", "ABC", "ABD", "BETA"}));
    clickTitle(window->grid(), QStringLiteral("Nom Tiers"));
    EXPECT_EQ(names(), first);

    const DatasetTableModel *model = window->grid()->datasetModel();
    const int sorted = model->columnOf(QStringLiteral("Nom Tiers"));
    EXPECT_EQ(model->index(0, sorted).data(Qt::BackgroundRole).value<QColor>(), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(model->index(0, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(0xF4, 0xFF, 0xFF));
    EXPECT_EQ(window->grid()->selectionModel()->currentIndex().row(), 0);
}

TEST_F(BrowseWindowTest, SearchAsYouTypeNarrowsByPrefix) {
    window->searchBox()->setText(QStringLiteral("AB")); // typed before any title: not applied by the click
    clickTitle(window->grid(), QStringLiteral("Nom Tiers"));
    EXPECT_EQ(names().size(), 20);

    struct Case {
        const char *typed;
        QStringList expected;
    };
    const Case cases[] = {
        {"A", {"A%B", "ABC", "ABD"}},
        {"AB", {"ABC", "ABD"}},
        {"L'", {"L'AMI"}}, // the apostrophe is searched as itself
        {"%", {}},         // "%" matches every row
        {"abc", {"ABC"}},  // upper-cased as typed: the lower-case name is not found
    };
    for (const Case &c : cases) {
        window->searchBox()->clear();
        QTest::keyClicks(window->searchBox(), QString::fromUtf8(c.typed));
        if (c.expected.isEmpty())
            EXPECT_EQ(names().size(), 20) << c.typed;
        else
            EXPECT_EQ(names(), c.expected) << c.typed;
    }
    window->searchBox()->clear();
    EXPECT_EQ(names().size(), 20);
    EXPECT_EQ(dm.Itiers.sql(), QStringLiteral("select * from TIERS Order by NOMBENEFICIAIRE"));
}

TEST_F(BrowseWindowTest, CodeSearchComparesTheNumberAsText) {
    clickTitle(window->grid(), QStringLiteral("Code"));
    QTest::keyClicks(window->searchBox(), QStringLiteral("1"));
    EXPECT_EQ(codes(), (QStringList{"1", "10", "11", "12", "13", "14", "15", "16", "17", "18", "19", "100"}));
    EXPECT_EQ(dm.Itiers.sql(), QStringLiteral("select * from TIERS Where code LIKE '1%' Order by code"));
}

TEST_F(BrowseWindowTest, ColumnOutsideTheSearchCaptionsOnlySorts) {
    clickTitle(window->grid(), QStringLiteral("Type Id"));
    EXPECT_EQ(window->searchLabel()->text(), QStringLiteral("Type Id"));
    const QString sql = dm.Itiers.sql();
    QTest::keyClicks(window->searchBox(), QStringLiteral("A"));
    EXPECT_EQ(dm.Itiers.sql(), sql);
    EXPECT_EQ(codes().size(), 20);
}

TEST_F(BrowseWindowTest, RejectedStatementLeavesTheGridEmptyWithTheMessage) {
    window->enableSearch({{"Nom Tiers", "NO_SUCH_COLUMN"}},
                         BrowseSearch::plainTable(QStringLiteral("TIERS")));
    clickTitle(window->grid(), QStringLiteral("Nom Tiers"));
    const QStringList messages = answerMessageBoxes(
        [&] { QTest::keyClicks(window->searchBox(), QStringLiteral("A")); }, QMessageBox::Ok);
    ASSERT_FALSE(messages.isEmpty());
    EXPECT_TRUE(messages.first().contains(QStringLiteral("NO_SUCH_COLUMN")))
        << messages.first().toStdString();
    EXPECT_FALSE(dm.Itiers.isOpen());
    EXPECT_EQ(window->grid()->model()->rowCount(), 0);
}

TEST_F(BrowseWindowTest, MouseWheelMovesOneRowPerMessage) {
    new WheelRowNavigator(window->grid(), dm.Itiers);
    QWidget *viewport = window->grid()->viewport();
    auto turn = [&](int delta) {
        QWheelEvent wheel(QPointF(10, 10), viewport->mapToGlobal(QPointF(10, 10)), {}, QPoint(0, delta),
                          Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(viewport, &wheel);
    };
    dm.Itiers.first();
    turn(-360); // towards the user, three notches: still one row
    EXPECT_EQ(dm.Itiers.currentRow(), 1);
    turn(-120);
    turn(120);
    EXPECT_EQ(dm.Itiers.currentRow(), 1);
    EXPECT_EQ(window->grid()->selectionModel()->currentIndex().row(), 1);
    dm.Itiers.close();
    turn(-120); // closed: nothing happens
    EXPECT_FALSE(dm.Itiers.isOpen());
}

TEST_F(BrowseWindowTest, ThirdPartySelectionDialogSearchesAndReturnsTheHighlightedRow) {
    auto *dialog = new TFrmtiersselect(dm);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Tiers"));
    EXPECT_EQ(dm.Itiers.sql(), QStringLiteral("select * from tiers Order by identifiant "));
    withModals([&] { runSelectionDialog(dialog); },
               [&](QWidget *modal) {
                   auto *d = qobject_cast<SelectionDialog *>(modal);
                   ASSERT_NE(d, nullptr);
                   clickTitle(d->grid(), QStringLiteral("Nom ou Raison Sociale"));
                   QTest::keyClicks(d->searchBox(), QStringLiteral("ZE"));
                   d->close();
               });
    EXPECT_EQ(dm.Itiers.text(QStringLiteral("NOMBENEFICIAIRE")), QStringLiteral("ZED"));
}

TEST_F(BrowseWindowTest, LookupOrPick) {
    struct Case {
        const char *code;
        bool dialogShown;
        int expectedCode; // the row copied
    };
    // The dialog is closed at once: its first row (identifier order) is returned.
    const Case cases[] = {{" 12 ", false, 12}, {"999", true, 1}, {"", true, 1}};
    for (const Case &c : cases) {
        bool shownDialog = false;
        const bool found = lookupOrPick(dm.Itiers, QStringLiteral("CODE"), QString::fromUtf8(c.code), [&] {
            shownDialog = true;
            withModals([&] { runSelectionDialog(new TFrmtiersselect(dm)); }, [](QWidget *m) { m->close(); });
        });
        EXPECT_TRUE(found) << c.code;
        EXPECT_EQ(shownDialog, c.dialogShown) << c.code;
        EXPECT_EQ(dm.Itiers.value(QStringLiteral("CODE")).toInt(), c.expectedCode) << c.code;
    }
}

TEST(SelectionDialogs, TypeAndPersonnelListTheirTables) {
    TestDatabase db;
    TDatadeclaration dm;
    dm.connectDatabase(db.path());
    auto *types = new TFrmtyperetenueselect(dm);
    EXPECT_EQ(types->windowTitle(), QStringLiteral("Selection Société"));
    EXPECT_EQ(dm.ityperetenue.sql(), QStringLiteral("select * from typeretenue Order by numerotype "));
    EXPECT_EQ(types->grid()->model()->rowCount(), 38);
    EXPECT_EQ(types->searchBox(), nullptr);
    delete types;
    auto *personnel = new TFrmPERSONNELselect(dm);
    EXPECT_EQ(personnel->windowTitle(), QStringLiteral("Selection Personnel"));
    EXPECT_EQ(dm.ipersonnel.sql(), QStringLiteral("select * from personnel Order by matricule "));
    delete personnel;
}

TEST(DateRangeDialog, ConfirmedWithoutChangesGivesTodayToToday) {
    TFrmSelDateDuAu dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Selection Période"));
    dialog.duEdit()->setDate(QDate(2000, 1, 1));
    QTimer::singleShot(0, &dialog, [&] {
        for (QPushButton *b : dialog.findChildren<QPushButton *>())
            if (b->text() == QLatin1String("OK"))
                QTest::mouseClick(b, Qt::LeftButton);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.du(), QDate::currentDate());
    EXPECT_EQ(dialog.au(), QDate::currentDate());
}

} // namespace
