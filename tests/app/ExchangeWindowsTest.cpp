#include "tests/app/ReferenceFixture.h"

#include "annexes/AnnexDefinitions.h"
#include "annexes/windows/AnnexBrowseWindow.h"
#include "data/Dataset.h"
#include "exchange/ImportTargets.h"
#include "exchange/windows/ExchangeWindows.h"
#include "exchange/windows/ImportWizardDialog.h"
#include "exchange/windows/TfmImpDlgIBX.h"
#include "reference/windows/ReferenceWindows.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

namespace {

class ExchangeWindowsTest : public ReferenceFixture {
protected:
    void SetUp() override {
        registerReferenceWindows(registry);
        registerAnnexWindows(registry);
        registerExchangeWindows(registry);
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

    // Clicks `button`; in the import window that opens, `drive` sets it up, then "Importer" is clicked and
    // the window closed when the import left it open. Returns the messages shown meanwhile.
    QStringList importThrough(QAbstractButton *button,
                              const std::function<void(ImportWizardDialog *)> &drive) {
        QStringList messages;
        withModals([&] { QTest::mouseClick(button, Qt::LeftButton); },
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
                       QTimer::singleShot(0, dialog, [dialog, drive] {
                           drive(dialog);
                           QTest::mouseClick(dialog->importButton(), Qt::LeftButton);
                           if (dialog->isVisible())
                               dialog->reject();
                       });
                   });
        return messages;
    }

    static void typeFile(ImportWizardDialog *dialog, const QString &file) {
        typeInto(dialog->fileBox(), file);
        QTest::keyClick(dialog->fileBox(), Qt::Key_Return);
    }

    // "importer" of the third parties with the file typed; `seen` gets what the window showed before.
    QStringList importThirdParties(TFrmtiersgrille *tiers, const QString &file, QStringList *seen = nullptr) {
        return importThrough(tiers->button(QStringLiteral("importer")), [file, seen](ImportWizardDialog *d) {
            typeFile(d, file);
            if (seen) {
                *seen << QString::number(d->previewTable()->rowCount());
                *seen << d->previewTable()->item(0, 1)->text();
                *seen << d->mappingTable()->item(0, 0)->text() + QLatin1Char('=') +
                             d->mappingTable()->item(0, 1)->text();
            }
        });
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
    EXPECT_EQ(error, QStringList{QStringLiteral("Error...\nLe dossier du fichier « %1 » n'existe pas.")
                                     .arg(w->exporter().saveFile)});
    EXPECT_TRUE(w->exportedFile().isEmpty());
    EXPECT_TRUE(w->isEnabled());
    EXPECT_TRUE(w->grid()->isVisible());
}

// Two Annex II rows of the active company and one of another company and year, as a file gives them.
const QByteArray kAnnexIIRows =
    "1234567AM000;2018;5;1;0123456A;ALPHA;COMMERCE;TUNIS;1;100;0;0;0;0;0;15;85;0;M\n"
    "1234567AM000;2018;9;1;0123456B;BETA;SERVICES;SFAX;1;200;0;0;0;0;0;30;170;0;M\n"
    "7654321BN000;2017;1;1;0123456C;GAMMA;NEGOCE;SOUSSE;1;50;0;0;0;0;0;5;45;0;P\n";

TEST_F(ExchangeWindowsTest, ImportOfOtherSourcesStoresTheRowsAsTheFileGivesThem) {
    auto *w = openFromRibbon<TfmImpDlgIBX>(QStringLiteral("Traitements et Outils"),
                                           QStringLiteral("Importation Annexe à partir d'autres origines"));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Importation de données"));
    ASSERT_EQ(w->targetList()->count(), 10);
    EXPECT_EQ(w->targetList()->itemText(9), QStringLiteral("Sociétés"));
    EXPECT_EQ(QLatin1String(w->target().table), QLatin1String("ANNEXEI"));
    EXPECT_TRUE(w->targetDataset().isOpen());
    EXPECT_EQ(w->tabs()->tabText(w->tabs()->currentIndex()), QStringLiteral("Dataset"));

    w->targetList()->setCurrentIndex(1);
    ASSERT_EQ(QLatin1String(w->target().table), QLatin1String("ANNEXEII"));
    const QString file = writeFile(QStringLiteral("annexe2.csv"), kAnnexIIRows);
    QStringList messages =
        importThrough(w->importButton(), [file](ImportWizardDialog *d) { typeFile(d, file); });
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("3 ligne(s) importée(s)")))
        << messages[0].toStdString();
    // Numbers, codes and years as in the file; no padding or completion of the annex rules.
    EXPECT_EQ(
        scalar(
            QStringLiteral(
                "select cast(list(NUMEROORDRE || ':' || IDENTIFIANT || ':' || EXERCICE || ':' "
                "|| RAISONSOCIALE, ' ') as varchar(200)) from (select * from ANNEXEII order by IDENTIFIANT, "
                "NUMEROORDRE)"))
            .toString(),
        QStringLiteral("5:1234567AM000:2018:ALPHA 9:1234567AM000:2018:BETA 1:7654321BN000:2017:GAMMA"));
    EXPECT_EQ(w->targetDataset().rowCount(), 3);
    EXPECT_EQ(w->targetGrid()->model()->rowCount(), 3);
    EXPECT_TRUE(w->summary()->text().contains(QStringLiteral("ANNEXEII : 3 ligne(s)")));

    // The annex window of the active company lists its two rows only.
    auto *annex = openFromRibbon<AnnexBrowseWindow>(QStringLiteral("Annexes"), QStringLiteral("2"));
    ASSERT_NE(annex, nullptr);
    EXPECT_EQ(annex->dataset().rowCount(), 2);
    annex->close();

    // The same file again: offered again, refused by the key at its first row, nothing added.
    messages = importThrough(w->importButton(), [file](ImportWizardDialog *d) { typeFile(d, file); });
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("Ligne 1 : la ligne a été refusée")))
        << messages[0].toStdString();
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from ANNEXEII")).toInt(), 3);

    // Emptying deletes the rows of every company and year, without a question, for good.
    const QStringList none =
        answerMessageBoxes([&] { QTest::mouseClick(w->emptyButton(), Qt::LeftButton); }, QMessageBox::Ok);
    EXPECT_TRUE(none.isEmpty()) << none.join(QLatin1Char('|')).toStdString();
    dm.IBTransaction1.rollback();
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from ANNEXEII")).toInt(), 0);
    EXPECT_EQ(w->targetGrid()->model()->rowCount(), 0);
}

TEST_F(ExchangeWindowsTest, ListViewAndStringGridOnlyShowWhatIsRead) {
    auto *w = openFromRibbon<TfmImpDlgIBX>(QStringLiteral("Traitements et Outils"),
                                           QStringLiteral("Importation Annexe à partir d'autres origines"));
    ASSERT_NE(w, nullptr);
    w->targetList()->setCurrentIndex(1);
    const QString file = writeFile(QStringLiteral("annexe2.csv"), kAnnexIIRows);
    auto readFirstTwo = [file](ImportWizardDialog *d) {
        typeFile(d, file);
        d->lastRowBox()->setValue(2);
    };

    w->tabs()->setCurrentIndex(TfmImpDlgIBX::ListViewTab);
    EXPECT_TRUE(importThrough(w->importButton(), readFirstTwo).isEmpty());
    ASSERT_EQ(w->listView()->topLevelItemCount(), 2);
    EXPECT_EQ(w->listView()->headerItem()->text(6), QStringLiteral("RAISONSOCIALE"));
    EXPECT_EQ(w->listView()->topLevelItem(1)->text(6), QStringLiteral("BETA"));

    w->tabs()->setCurrentIndex(TfmImpDlgIBX::StringGridTab);
    QTableWidget *grid = w->stringGrid();
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), QStringLiteral("numeroordre of annexe1"));
    EXPECT_EQ(grid->horizontalHeaderItem(15)->text(), QStringLiteral("montantnet of annexe1"));
    EXPECT_TRUE(importThrough(w->importButton(), readFirstTwo).isEmpty());
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->item(1, 0)->text(), QStringLiteral("9"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from ANNEXEII")).toInt(), 0);

    // "Effacer" clears what the tab shows and deletes nothing.
    exec(QStringLiteral("insert into TIERS (CODE, NOMBENEFICIAIRE) values (1, 'ALPHA')"));
    QTest::mouseClick(w->emptyButton(), Qt::LeftButton);
    EXPECT_EQ(grid->rowCount(), 0);
    EXPECT_EQ(w->listView()->topLevelItemCount(), 2);
    w->tabs()->setCurrentIndex(TfmImpDlgIBX::ListViewTab);
    QTest::mouseClick(w->emptyButton(), Qt::LeftButton);
    EXPECT_EQ(w->listView()->topLevelItemCount(), 0);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from TIERS")).toInt(), 1);
}

TEST_F(ExchangeWindowsTest, AnnexIImportsItsModelWorkbookThroughItsWindow) {
    ASSERT_TRUE(
        QFile::copy(QStringLiteral(EXCHANGE_FIXTURES "/annexes.xls"), folder.filePath("annexe1.xls")));
    dm.spreadsheetFolder = folder.path();
    auto *w = openFromRibbon<AnnexBrowseWindow>(QStringLiteral("Annexes"), QStringLiteral("1"));
    ASSERT_NE(w, nullptr);
    QString offered;
    int firstRow = 0;
    const QStringList messages =
        importThrough(w->button(QStringLiteral("Importation des Données à partir d'Excel et Autres")),
                      [&](ImportWizardDialog *d) {
                          offered = QFileInfo(d->fileBox()->text()).fileName();
                          firstRow = d->firstRowBox()->value();
                      });
    EXPECT_EQ(offered, QStringLiteral("annexe1.xls"));
    EXPECT_EQ(firstRow, 2);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("3 ligne(s) importée(s)")))
        << messages[0].toStdString();
    EXPECT_EQ(w->dataset().rowCount(), 3);
    EXPECT_EQ(
        scalar(QStringLiteral("select NOMPRENOM from ANNEXEI where NUMEROORDRE = 1")).toString().trimmed(),
        QStringLiteral("Hédi Ben Salah"));
}

TEST_F(ExchangeWindowsTest, TheImportWindowReadsTheFormatAndRowsChosenAndCanBeInterrupted) {
    auto *tiers = openFromRibbon<TFrmtiersgrille>(QStringLiteral("Paramètres"), QStringLiteral("Tiers"));
    ASSERT_NE(tiers, nullptr);
    // Comma-separated text in a .txt, which the extension alone would read as tab-separated.
    const QString file = writeFile(QStringLiteral("tiers.txt"), "1,1,1,1234567A,ALPHA,COMMERCE,TUNIS\n"
                                                                "2,2,1,07123456,BETA,SERVICES,SFAX\n"
                                                                "3,2,1,07123457,GAMMA,SERVICES,SOUSSE\n"
                                                                "4,2,1,07123458,DELTA,SERVICES,GABES\n");
    QStringList messages =
        importThrough(tiers->button(QStringLiteral("importer")), [file](ImportWizardDialog *d) {
            typeFile(d, file);
            d->formatBox()->setCurrentIndex(
                d->formatBox()->findText(QStringLiteral("Texte délimité (.csv)")));
            d->delimiterBox()->setCurrentIndex(d->delimiterBox()->findText(QStringLiteral("Virgule ,")));
            EXPECT_EQ(d->previewTable()->columnCount(), 7);
            d->firstRowBox()->setValue(2);
            d->lastRowBox()->setValue(3);
        });
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("2 ligne(s) importée(s)")))
        << messages[0].toStdString();
    EXPECT_EQ(
        scalar(QStringLiteral(
                   "select cast(list(CODE, ',') as varchar(50)) from (select CODE from TIERS order by CODE)"))
            .toString(),
        QStringLiteral("2,3"));

    // "Interrompre" pressed as the import starts: it stops after the row in hand, which stays saved.
    exec(QStringLiteral("delete from TIERS"));
    messages = importThrough(tiers->button(QStringLiteral("importer")), [file](ImportWizardDialog *d) {
        typeFile(d, file);
        d->formatBox()->setCurrentIndex(d->formatBox()->findText(QStringLiteral("Texte délimité (.csv)")));
        d->delimiterBox()->setCurrentIndex(d->delimiterBox()->findText(QStringLiteral("Virgule ,")));
        QTimer::singleShot(0, d, [d] {
            EXPECT_TRUE(d->isImporting());
            QTest::mouseClick(d->stopButton(), Qt::LeftButton);
        });
    });
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Importation interrompue à la ligne 1")))
        << messages[0].toStdString();
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from TIERS")).toInt(), 1);
}

} // namespace
