#include "tests/app/MainWindowFixture.h"

#include "app/windows/ScriptPanel.h"
#include "data/DbError.h"

#include <QPlainTextEdit>
#include <QPushButton>

class ScriptPanelTest : public MainWindowFixture {
protected:
    ScriptPanelTest() { showFrame(); }

    ScriptPanel *panel() const { return frame->scriptPanel(); }
    void showPanel() {
        clickRibbon(QStringLiteral("Traitements et Outils"), QStringLiteral("Exécuter Script"));
    }

    // Types a text in the panel (Enter between lines) and runs it; the texts of the message boxes shown.
    QStringList type(const QString &text) {
        panel()->editor()->clear();
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QTest::keyClick(panel()->editor(), Qt::Key_Return);
            QTest::keyClicks(panel()->editor(), lines[i]);
        }
        EXPECT_EQ(panel()->editor()->toPlainText(), text);
        return acceptMessageBoxes([&] { QTest::mouseClick(panel()->executeButton(), Qt::LeftButton); });
    }

    // The message of the data layer for a statement, run directly.
    QString errorOf(const QString &sql) {
        auto query = dm.newQuery(QStringLiteral("direct"));
        query->setSql(sql);
        try {
            query->open();
        } catch (const DbError &e) {
            return e.message();
        }
        return {};
    }
};

TEST_F(ScriptPanelTest, ShownByTheRibbonHiddenByFermerKeepingTheText) {
    EXPECT_FALSE(panel()->isVisible());
    EXPECT_EQ(panel()->windowTitle(), QStringLiteral("Exécuter Un Script"));
    showPanel();
    ASSERT_TRUE(panel()->isVisible());
    QTest::keyClicks(panel()->editor(), QStringLiteral("select * from TIERS"));
    QTest::mouseClick(panel()->closeButton(), Qt::LeftButton);
    EXPECT_FALSE(panel()->isVisible());
    showPanel();
    EXPECT_TRUE(panel()->isVisible());
    EXPECT_EQ(panel()->editor()->toPlainText(), QStringLiteral("select * from TIERS"));
}

TEST_F(ScriptPanelTest, RejectedStatementsShowTheDatabaseMessage) {
    showPanel();
    const QString cases[] = {
        QString(), // sent as one blank
        QStringLiteral("selec * from TIERS"),
        QStringLiteral("insert into TIERS (CODE)\nvalues ('abc')"),
        QStringLiteral("select * from ABSENTE"),
    };
    for (const QString &text : cases) {
        const QString expected = errorOf(QLatin1Char(' ') + text);
        ASSERT_FALSE(expected.isEmpty()) << text.toStdString();
        EXPECT_EQ(type(text), QStringList{expected}) << text.toStdString();
    }
    EXPECT_TRUE(errorOf(QStringLiteral(" select * from ABSENTE")).contains(QStringLiteral("ABSENTE")));
}

// The statement runs in the shared transaction: the windows see its work at once, other attachments only
// after a commit, which the panel does not make.
TEST_F(ScriptPanelTest, AcceptedStatementsRunInTheSharedTransactionWithoutCommit) {
    showPanel();
    EXPECT_EQ(type(QStringLiteral("insert into TIERS (CODE) values (5)")),
              QStringList{QStringLiteral("Sql Exécuté")});
    EXPECT_EQ(type(QStringLiteral("insert into TIERS (CODE, NOMBENEFICIAIRE)\nvalues (6, 'DEUX LIGNES')")),
              QStringList{QStringLiteral("Sql Exécuté")});
    EXPECT_EQ(type(QStringLiteral("select * from TIERS")), QStringList{QStringLiteral("Sql Exécuté")});
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from TIERS where CODE in (5, 6)")).toInt(), 2);
    EXPECT_EQ(scalar(QStringLiteral("select NOMBENEFICIAIRE from TIERS where CODE = 6")).toString(),
              QStringLiteral("DEUX LIGNES"));

    FbConnection other;
    other.setDatabaseName(db.path());
    other.setCredentials(QLatin1String(TDatadeclaration::kUser), QLatin1String(TDatadeclaration::kPassword));
    FbTransaction transaction(other);
    Dataset count(QStringLiteral("count"), transaction);
    count.setSql(QStringLiteral("select count(*) from TIERS"));
    count.open();
    EXPECT_EQ(count.valueAt(0, 0).toInt(), 0);
}
