#include "tests/app/ReferenceFixture.h"

#include "annexes/AnnexDefinitions.h"
#include "annexes/windows/AnnexBrowseWindow.h"
#include "data/Dataset.h"
#include "exchange/windows/ImportWizardDialog.h"
#include "reference/windows/ReferenceWindows.h"

#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QTableWidget>
#include <QTemporaryDir>

namespace {

class ExchangeWindowsTest : public ReferenceFixture {
protected:
    void SetUp() override {
        registerReferenceWindows(registry);
        registerAnnexWindows(registry);
        showFrame();
        ASSERT_TRUE(folder.isValid());
    }

    template <typename T> T *openFromRibbon(const QString &page, const QString &caption) {
        clickRibbon(page, caption);
        QMdiSubWindow *child = frame->mdiArea()->activeSubWindow();
        return child ? qobject_cast<T *>(child->widget()) : nullptr;
    }

    QString writeFile(const QString &name, const QByteArray &bytes) {
        const QString path = folder.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    // Clicks "importer" of the third parties, then, in the import window, types the file, imports and closes
    // the window when the import left it open. Returns the messages shown; `seen` gets what the window
    // showed before the import.
    QStringList importThirdParties(TFrmtiersgrille *tiers, const QString &file, QStringList *seen = nullptr) {
        QStringList messages;
        withModals([&] { QTest::mouseClick(tiers->button(QStringLiteral("importer")), Qt::LeftButton); },
                   [&](QWidget *modal) {
                       if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                           messages << box->text();
                           box->accept();
                           return;
                       }
                       auto *dialog = qobject_cast<ImportWizardDialog *>(modal);
                       if (!dialog) {
                           ADD_FAILURE() << "unexpected window " << modal->metaObject()->className();
                           modal->close();
                           return;
                       }
                       // Driven once this answer returns, so that the messages it shows are answered too.
                       QTimer::singleShot(0, dialog, [this, dialog, file, seen] {
                           typeInto(dialog->fileBox(), file);
                           QTest::keyClick(dialog->fileBox(), Qt::Key_Return);
                           if (seen) {
                               *seen << QString::number(dialog->previewTable()->rowCount());
                               *seen << dialog->previewTable()->item(0, 1)->text();
                               *seen << dialog->mappingTable()->item(0, 0)->text() + QLatin1Char('=') +
                                            dialog->mappingTable()->item(0, 1)->text();
                           }
                           QTest::mouseClick(dialog->importButton(), Qt::LeftButton);
                           if (dialog->isVisible())
                               dialog->reject();
                       });
                   });
        return messages;
    }

    QTemporaryDir folder;
};

TEST_F(ExchangeWindowsTest, ThirdPartiesImportedFromATextFileAppearInTheGrid) {
    auto *tiers = openFromRibbon<TFrmtiersgrille>(QStringLiteral("Paramètres"), QStringLiteral("Tiers"));
    ASSERT_NE(tiers, nullptr);
    const QString file = writeFile(QStringLiteral("tiers.csv"), "1;1;1;1234567A;ALPHA;COMMERCE;TUNIS\n"
                                                                "2;2;1;07123456;BETA;SERVICES;SFAX\n");
    QStringList seen;
    const QStringList messages = importThirdParties(tiers, file, &seen);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("CODE=A")}));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("2 ligne(s) importée(s)")))
        << messages[0].toStdString();
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from TIERS")).toInt(), 2);
    EXPECT_EQ(shown(tiers->grid(), QStringLiteral("Nom Tiers")),
              (QStringList{QStringLiteral("ALPHA"), QStringLiteral("BETA")}));
}

TEST_F(ExchangeWindowsTest, ABadRowStopsTheImportAndKeepsTheRowsBefore) {
    auto *tiers = openFromRibbon<TFrmtiersgrille>(QStringLiteral("Paramètres"), QStringLiteral("Tiers"));
    ASSERT_NE(tiers, nullptr);
    const QString file = writeFile(QStringLiteral("tiers.csv"), "1;1;1;1234567A;ALPHA;COMMERCE;TUNIS\n"
                                                                "X2;2;1;07123456;BETA;SERVICES;SFAX\n"
                                                                "3;2;1;07123457;GAMMA;SERVICES;SOUSSE\n");
    const QStringList messages = importThirdParties(tiers, file);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("Ligne 2, colonne A (CODE)")))
        << messages[0].toStdString();
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from TIERS")).toInt(), 1);
    EXPECT_EQ(shown(tiers->grid(), QStringLiteral("Nom Tiers")), QStringList{QStringLiteral("ALPHA")});
}

TEST_F(ExchangeWindowsTest, ExportOfAnnexIWritesTheWorkbookQuietly) {
    for (int number : {1, 2, 3}) {
        const AnnexDefinition &a = annexDefinition(1);
        Dataset &ds = dm.annex(1);
        ds.close();
        ds.setSql(QStringLiteral("select * from ANNEXEI where 1=0"));
        ds.open();
        ds.append();
        ds.setValue(QLatin1String(a.companyColumn), dm.activeCompany.code);
        ds.setValue(QStringLiteral("EXERCICE"), dm.activeCompany.exercice);
        ds.setValue(QStringLiteral("NUMEROORDRE"), number);
        ds.setValue(QLatin1String(a.nameColumn), QStringLiteral("BENEFICIAIRE %1").arg(number));
        ds.setValue(QStringLiteral("IDENTIFIANTBENEFICIAIRE"), QStringLiteral("12345678"));
        for (const AnnexColumn &c : a.columns)
            if ((c.flags & Required) && ds.isNull(QLatin1String(c.column)))
                ds.setValue(QLatin1String(c.column),
                            c.field == AnnexField::Choice ? QStringLiteral("1") : QStringLiteral("TEXTE"));
        ds.post();
        ds.close();
    }
    auto *w = openFromRibbon<AnnexBrowseWindow>(QStringLiteral("Annexes"), QStringLiteral("1"));
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(w->dataset().rowCount(), 3);
    w->exporter().saveAfterExport = true;
    w->exporter().saveFile = folder.filePath(QStringLiteral("annexe1.xlsx"));
    const QStringList none = answerMessageBoxes(
        [&] { QTest::mouseClick(w->button(QStringLiteral("Export Excel")), Qt::LeftButton); },
        QMessageBox::Ok);
    EXPECT_TRUE(none.isEmpty()) << none.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(w->exportedFile(), w->exporter().savePath());
    EXPECT_TRUE(QFile::exists(w->exportedFile()));
    EXPECT_EQ(w->exporter().rows(), 3);
    EXPECT_TRUE(w->isEnabled());
    EXPECT_TRUE(w->grid()->isVisible());

    // A save file in a folder that does not exist: "Error...", the window given back.
    w->exporter().saveFile = folder.filePath(QStringLiteral("absent/annexe1.xlsx"));
    const QStringList error = answerMessageBoxes(
        [&] { QTest::mouseClick(w->button(QStringLiteral("Export Excel")), Qt::LeftButton); },
        QMessageBox::Ok);
    EXPECT_EQ(error, QStringList{QStringLiteral("Error...")});
    EXPECT_TRUE(w->exportedFile().isEmpty());
    EXPECT_TRUE(w->isEnabled());
    EXPECT_TRUE(w->grid()->isVisible());
}

} // namespace
