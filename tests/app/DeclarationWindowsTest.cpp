#include "tests/app/ReferenceFixture.h"

#include "data/Dataset.h"
#include "declaration/windows/DeclarationWindows.h"
#include "declaration/windows/TFrmTableaurecap.h"
#include "declaration/windows/TFrmgenerationdeclaration.h"
#include "reference/windows/CompanyWindows.h"
#include "reference/windows/ReferenceWindows.h"
#include "report/windows/ReportPreview.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWheelEvent>

namespace {

QByteArray readFile(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The records of a file, each with its CR LF.
QList<QByteArray> recordsOf(const QString &path) {
    QList<QByteArray> records;
    const QByteArray content = readFile(path);
    qsizetype start = 0;
    for (qsizetype end = content.indexOf("\r\n"); end >= 0; end = content.indexOf("\r\n", start)) {
        records << content.mid(start, end + 2 - start);
        start = end + 2;
    }
    if (start < content.size())
        records << content.mid(start);
    return records;
}

const QString kGeneration = QStringLiteral("Génération Fichier");
const QString kDone = QStringLiteral("Fichiers de déclaration Crées");

// The company 1234567AM000 of 2018, marked "O" and chosen in the company list, with rows in Annexes I, II
// and VII; the two declaration windows opened by the commands of the main window.
class DeclarationWindowsTest : public ReferenceFixture {
protected:
    void SetUp() override {
        registerReferenceWindows(registry);
        registerDeclarationWindows(registry);
        addCompany(QStringLiteral("1234567"), QStringLiteral("SOCIETE TEST"), QStringLiteral("O"));
        exec(QStringLiteral(
            "insert into ANNEXEI (CODESOCIETE, EXERCICE, NUMEROORDRE, TYPEIDENTIFIANT, "
            "IDENTIFIANTBENEFICIAIRE, NOMPRENOM, EMPLOIOCCUPE, ADRESSE, ETATCIVIL, ENFANT, DATEDEBUT, "
            "DATEFIN, REVENUIMPOSABLE, AVANTAGENATURE, TOTALREVENU, REVENUREINVESTI, RETENUEOPERES, "
            "MONTANTNET, NBJOURS, RETENUES20, RETENUECONJONCTURELLE) values ('1234567AM000', '2018', 1, "
            "'2', '01234567', 'BEN SALAH ALI', 'INGENIEUR', 'RUE DE ROME', '2', 3, '2018-01-01', "
            "'2018-12-31', 12000, 0, 12000, 0, 1500, 10500, 360, 0, 12.5)"));
        exec(QStringLiteral(
            "insert into ANNEXEII (IDENTIFIANT, EXERCICE, NUMEROORDRE, TYPEIDENTIFIANT, "
            "IDENTIFIANTBENEFICIAIRE, RAISONSOCIALE, ACTIVITE, ADRESSE, TYPEMONTANTSERVIS, MONTANTBRUT, "
            "HONORAIRESERVIS, JETONSPRESENCES, REMUNIRATIONS, PLUSVALUE, LOYERSHOTELS, RETENUESOPERES, "
            "NETSERVIS, RISTOURNES, PHYSIQUEMORALE) values ('1234567AM000', '2018', 1, '1', '0000001B', "
            "'CABINET ALPHA', 'CONSEIL', 'SFAX', '1', 0, 100, 0, 0, 0, 200, 15, 285, 0, '2')"));
        exec(QStringLiteral(
            "insert into ANNEXEVII (IDENTIFIANT, EXERCICE, NUMEROORDRE, TYPEIDENTIFIANT, "
            "IDENTIFIANTBENEFICIAIRE, RAISONSOCIALE, ACTIVITE, ADRESSE, MONTANTPAYES, RETENUALASOURCE, "
            "MONTANTNETSERVIS, PHYSIQUEMORALE, TYPEMONTANT) values ('1234567AM000', '2018', 1, '1', "
            "'5555555E', 'MANDANT ETA', 'NEGOCE', 'MONASTIR', 700, 7, 693, '2', '7')"));
        dm.activeCompany = {};
        showFrame();
        activateFrame();
        chooseFirstCompany();
    }

    void addCompany(const QString &identifiant, const QString &name, const QString &activeOn) {
        exec(QStringLiteral(
                 "insert into SOCIETE (IDENTIFIANT, CLE, CATEGORIE, ETABSECONDAIRE, RAISON_SOCIALE, "
                 "ACTIVITE, VILLE, RUE, NUMERO, CODEPOSTAL, EXERCICE, ACTIVEON) values ('%1', 'A', 'M', "
                 "'000', '%2', '%3', '%4', '%5', '%6', '%7', 2018, '%8')")
                 .arg(identifiant, name.leftJustified(40), QStringLiteral("COMMERCE").leftJustified(40),
                      QStringLiteral("TUNIS").leftJustified(40),
                      QStringLiteral("RUE DE MARSEILLE").leftJustified(72), QStringLiteral("12  "),
                      QStringLiteral("1000"), activeOn));
    }

    // The company list opened and closed on its first row, which becomes the active company.
    void chooseFirstCompany() {
        clickRibbon(QStringLiteral("Paramètres"), QStringLiteral("Sociétés"));
        auto *list = qobject_cast<Tfrmsocietes *>(frame->mdiArea()->activeSubWindow()->widget());
        ASSERT_NE(list, nullptr);
        list->close();
        flushDeletes();
        ASSERT_EQ(dm.activeCompany.code, QStringLiteral("1234567AM000"));
    }

    // Focus moves, and the correction group follows it, only in the active window; the offscreen platform
    // does not give the activation back when a message box closes.
    void activateFrame() {
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }

    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // The window a command opens, and the messages its opening shows (answered OK).
    template <typename T> T *open(const std::function<void()> &command, QStringList *messages = nullptr) {
        const QStringList shown = answerMessageBoxes(command, QMessageBox::Ok);
        if (messages)
            *messages = shown;
        else
            EXPECT_EQ(shown, QStringList());
        QMdiSubWindow *child = frame->mdiArea()->activeSubWindow();
        return child ? qobject_cast<T *>(child->widget()) : nullptr;
    }
    TFrmgenerationdeclaration *openGeneration(QStringList *messages = nullptr) {
        return open<TFrmgenerationdeclaration>([&] { clickRibbon(kGeneration, kGeneration); }, messages);
    }
    TFrmTableaurecap *openRecap(QStringList *messages = nullptr) {
        return open<TFrmTableaurecap>(
            [&] { clickRibbon(kGeneration, QStringLiteral("Tableau Récapitulatif")); }, messages);
    }

    static QStringList presence(AnnexPresencePanel *panel) {
        QStringList answers;
        for (int annex = 1; annex <= 7; ++annex)
            answers << panel->answer(annex)->text();
        return answers;
    }

    // "OK" pressed with the folder typed in; the texts of the message boxes, each answered by `button`.
    QStringList generate(TFrmgenerationdeclaration *w, const QString &folder,
                         QMessageBox::StandardButton button = QMessageBox::Yes) {
        if (!folder.isEmpty())
            typeInto(w->folderField(), folder);
        const QStringList messages =
            answerMessageBoxes([&] { QTest::mouseClick(w->okButton(), Qt::LeftButton); }, button);
        flushDeletes();
        return messages;
    }

    QStringList filesIn(const QTemporaryDir &dir) const { return QDir(dir.path()).entryList(QDir::Files); }

    static void doubleClickRow(DatasetGrid *grid, int row) {
        const QModelIndex index = grid->model()->index(row, 1);
        grid->scrollTo(index);
        const QPoint at = grid->visualRect(index).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    }

    static void click(QWidget *button) { QTest::mouseClick(button, Qt::LeftButton); }

    QTemporaryDir out;
};

TEST_F(DeclarationWindowsTest, EveryCommandOpensItsWindow) {
    const std::function<void()> generation[] = {
        [&] { clickRibbon(kGeneration, kGeneration); },
        [&] { clickRibbon(QStringLiteral("Annexes"), QStringLiteral("Génération Fichiers")); },
        [&] {
            clickMenu(QStringLiteral("Déclaration"),
                      QStringLiteral("Génération des Fichiers  de la Déclaration"));
        }};
    for (const auto &command : generation) {
        auto *w = open<TFrmgenerationdeclaration>(command);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Génération des Fichiers de Déclaration"));
    }
    const std::function<void()> recap[] = {
        [&] { clickRibbon(kGeneration, QStringLiteral("Tableau Récapitulatif")); },
        [&] { clickRibbon(QStringLiteral("Annexes"), QStringLiteral("Tableau Récapitulatif")); },
        [&] { clickMenu(QStringLiteral("Saisie"), QStringLiteral("Tableau Récapitulatif")); }};
    for (const auto &command : recap) {
        auto *w = open<TFrmTableaurecap>(command);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Tableau Récapitulatif"));
    }
    EXPECT_EQ(frame->mdiArea()->subWindowList().size(), 6);
}

TEST_F(DeclarationWindowsTest, GenerationWindowShowsTheActiveCompanyAndItsAnnexes) {
    exec(QStringLiteral("delete from TABLEAURECAPITULATIF"));
    auto *w = openGeneration();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->companyLabel()->text(), QStringLiteral("1234567AM000"));
    EXPECT_EQ(w->exerciceLabel()->text(), QStringLiteral("2018"));
    QStringList types;
    for (int i = 0; i < w->typeList()->count(); ++i)
        types << w->typeList()->itemText(i);
    EXPECT_EQ(types, (QStringList{"Spontané", "Régularisation", "Redressement"}));
    EXPECT_EQ(w->typeList()->currentText(), QStringLiteral("Spontané"));
    EXPECT_EQ(w->presence()->title(), QStringLiteral("Présence des Annexes"));
    EXPECT_EQ(presence(w->presence()), (QStringList{"Oui", "Oui", "Non", "Non", "Non", "Non", "Oui"}));
    EXPECT_EQ(w->presence()->answer(1)->palette().color(QPalette::Window), QColor(Qt::red));
    EXPECT_TRUE(w->presence()->answer(1)->autoFillBackground());
    EXPECT_FALSE(w->presence()->answer(3)->autoFillBackground());
    EXPECT_EQ(w->folderField()->text(), QString());
    // Opening computed the table.
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from TABLEAURECAPITULATIF")).toInt(), 38);
}

TEST_F(DeclarationWindowsTest, OkWithoutAUsableFolderSaysSoAndWritesNothing) {
    auto *w = openGeneration();
    ASSERT_NE(w, nullptr);
    QStringList messages = generate(w, QString());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().startsWith(QStringLiteral("Choisissez le dossier")))
        << messages.first().toStdString();
    messages = generate(w, out.filePath(QStringLiteral("absent")));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().contains(QStringLiteral("n'existe pas"))) << messages.first().toStdString();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(filesIn(out), QStringList());
}

TEST_F(DeclarationWindowsTest, OkWritesTheFilesThenCloses) {
    // A file of an earlier run whose annex has no rows now is left alone, and named.
    {
        QFile old(out.filePath(QStringLiteral("ANXEMP_3_18_1")));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("earlier run\r\n");
    }
    QPointer<TFrmgenerationdeclaration> w = openGeneration();
    ASSERT_FALSE(w.isNull());
    w->typeList()->setFocus();
    QTest::keyClick(w->typeList(), Qt::Key_Down);
    QTest::keyClick(w->typeList(), Qt::Key_Down);
    EXPECT_EQ(w->typeList()->currentText(), QStringLiteral("Redressement"));
    const QStringList messages = generate(w, out.path());
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages.first(), kDone);
    EXPECT_TRUE(
        messages.last().contains(QDir::toNativeSeparators(out.filePath(QStringLiteral("ANXEMP_3_18_1")))))
        << messages.last().toStdString();
    EXPECT_TRUE(w.isNull());

    EXPECT_EQ(filesIn(out),
              (QStringList{"ANXEMP_1_18_1", "ANXEMP_2_18_1", "ANXEMP_3_18_1", "ANXEMP_7_18_1", "DECEMP_18"}));
    EXPECT_EQ(readFile(out.filePath(QStringLiteral("ANXEMP_3_18_1"))), QByteArray("earlier run\r\n"));
    const QList<QByteArray> records = recordsOf(out.filePath(QStringLiteral("DECEMP_18")));
    ASSERT_EQ(records.size(), 39);
    for (const QByteArray &r : records) {
        EXPECT_EQ(r.size(), 40) << r.toStdString();
        EXPECT_TRUE(r.endsWith("\r\n"));
    }
    EXPECT_EQ(records.first(), "0001234567AM00020180011110" + QByteArray(12, ' ') + "\r\n");
    const QList<QByteArray> annexI = recordsOf(out.filePath(QStringLiteral("ANXEMP_1_18_1")));
    ASSERT_EQ(annexI.size(), 3);
    EXPECT_EQ(annexI.first().left(28), QByteArray("E11234567AM0002018An12000001"));
}

TEST_F(DeclarationWindowsTest, FolderPickerFillsTheFolderField) {
    auto *w = openGeneration();
    ASSERT_NE(w, nullptr);
    withModals([&] { click(w->folderButton()); },
               [&](QWidget *modal) {
                   auto *dialog = qobject_cast<QFileDialog *>(modal);
                   ASSERT_NE(dialog, nullptr);
                   dialog->setDirectory(out.path());
                   static_cast<QDialog *>(dialog)->accept(); // the chosen folder, as "Choose" gives it
               });
    EXPECT_EQ(QDir::fromNativeSeparators(w->folderField()->text()), out.path());
    EXPECT_EQ(generate(w, QString()), QStringList{kDone});
    EXPECT_TRUE(QFile::exists(out.filePath(QStringLiteral("DECEMP_18"))));
}

// The files are those of the marked company; when it is not the one shown, the user says which.
TEST_F(DeclarationWindowsTest, MarkedCompanyOtherThanTheOneShownIsAskedFor) {
    addCompany(QStringLiteral("7654321"), QStringLiteral("AUTRE SOCIETE"), QStringLiteral("O"));
    auto *w = openGeneration();
    ASSERT_NE(w, nullptr);
    QStringList messages = generate(w, out.path(), QMessageBox::No);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().contains(QStringLiteral("7654321AM000"))) << messages.first().toStdString();
    EXPECT_TRUE(messages.first().contains(QStringLiteral("1234567AM000"))) << messages.first().toStdString();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(filesIn(out), QStringList());

    messages = generate(w, QString(), QMessageBox::Yes);
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages.last(), kDone);
    EXPECT_EQ(filesIn(out), QStringList{QStringLiteral("DECEMP_18")});
    EXPECT_EQ(recordsOf(out.filePath(QStringLiteral("DECEMP_18"))).first(),
              "0007654321AM00020181111111" + QByteArray(12, ' ') + "\r\n");
}

// Without a company found, both windows say so and open all the same: nothing shown present, an empty
// recap grid, and "OK" still writing the files of the marked company once confirmed.
TEST_F(DeclarationWindowsTest, OpeningWithoutTheActiveCompanySaysSoAndStaysUsable) {
    struct Case {
        ActiveCompany active;
        const char *message;
    } cases[] = {
        {{},
         "Aucune société n'est choisie : choisissez la société dans la liste des sociétés, puis fermez la "
         "liste."},
        {{"1234567AM000", "2018", "INCONNUE", " ", ""},
         "La société « INCONNUE » (exercice 2018) est introuvable dans la liste des sociétés : "
         "choisissez-la de nouveau dans la liste."},
    };
    const ActiveCompany chosen = dm.activeCompany;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message);
        // The table computed for the company chosen first: its lines are not to be shown for another.
        frame->setActiveCompany(chosen);
        auto *before = openRecap();
        ASSERT_NE(before, nullptr);
        ASSERT_EQ(before->grid()->model()->rowCount(), 38);
        before->close();
        flushDeletes();
        frame->setActiveCompany(c.active);
        QStringList messages;
        auto *recap = openRecap(&messages);
        ASSERT_NE(recap, nullptr);
        EXPECT_EQ(messages, QStringList{QString::fromUtf8(c.message)});
        EXPECT_EQ(recap->grid()->model()->rowCount(), 0);
        EXPECT_EQ(presence(recap->presence()), QStringList(7, QStringLiteral("Non")));

        auto *w = openGeneration(&messages);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(messages, QStringList{QString::fromUtf8(c.message)});
        EXPECT_EQ(w->companyLabel()->text(), QString());
        EXPECT_EQ(presence(w->presence()), QStringList(7, QStringLiteral("Non")));
        QTemporaryDir folder;
        messages = generate(w, folder.path(), QMessageBox::Yes);
        ASSERT_EQ(messages.size(), 2);
        EXPECT_TRUE(messages.first().contains(QStringLiteral("1234567AM000")))
            << messages.first().toStdString();
        EXPECT_EQ(messages.last(), kDone);
        EXPECT_TRUE(QFile::exists(folder.filePath(QStringLiteral("DECEMP_18"))));
        recap->close();
        flushDeletes();
    }
}

TEST_F(DeclarationWindowsTest, RecapWindowShowsTheThirtyEightLines) {
    auto *w = openRecap();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->findChild<QLabel *>(QStringLiteral("titlePanel"))->text(),
              QStringLiteral("<<<  Tableau Récapitulatif >>>"));
    EXPECT_EQ(w->companyLabel()->text(), QStringLiteral("1234567AM000"));
    EXPECT_EQ(w->exerciceLabel()->text(), QStringLiteral("2018"));
    EXPECT_EQ(presence(w->presence()), (QStringList{"Oui", "Oui", "Non", "Non", "Non", "Non", "Oui"}));
    DatasetGrid *grid = w->grid();
    QStringList titles;
    for (const GridColumn &c : grid->datasetModel()->columns())
        titles << c.caption;
    EXPECT_EQ(titles, (QStringList{"N°Enreg.", "Libéllé Retenue", "Montants Bruts", "Taux", "Retenues",
                                   "Type", "Zone2", "Zone3", "Zone4"}));
    ASSERT_EQ(grid->model()->rowCount(), 38);
    const QStringList ordre = shown(grid, QStringLiteral("N°Enreg."));
    EXPECT_EQ(ordre.first(), QStringLiteral("1"));
    EXPECT_EQ(ordre.last(), QStringLiteral("38"));
    const QStringList type = shown(grid, QStringLiteral("Type"));
    const QStringList base = shown(grid, QStringLiteral("Montants Bruts"));
    const QStringList rate = shown(grid, QStringLiteral("Taux"));
    const QStringList withheld = shown(grid, QStringLiteral("Retenues"));
    EXPECT_EQ(type[2], QStringLiteral("300"));
    EXPECT_EQ(base[2], QString());
    EXPECT_EQ(rate[2], QString());
    EXPECT_EQ(withheld[2], QStringLiteral("12.500"));
    EXPECT_EQ(type[37], QStringLiteral("999"));
    EXPECT_EQ(base[37], QString());
    EXPECT_EQ(rate[37], QString());
    EXPECT_EQ(type[3], QStringLiteral("021"));
    EXPECT_EQ(rate[3], QStringLiteral("15"));
    EXPECT_EQ(shown(grid, QStringLiteral("Zone3"))[3], QStringLiteral("01500"));
    EXPECT_EQ(shown(grid, QStringLiteral("Libéllé Retenue"))[0],
              scalar(QStringLiteral("select DESIGNATION from TYPERETENUE where NUMEROTYPE = 1")).toString());

    EXPECT_EQ(w->codeTvaField()->text(), QStringLiteral("A"));
    typeInto(w->codeTvaField(), QStringLiteral("b"));
    EXPECT_EQ(w->codeTvaField()->text(), QStringLiteral("B"));
    EXPECT_EQ(w->declarationDateField()->date(), QDate::currentDate());
    EXPECT_FALSE(w->correctionGroup()->isVisible());
}

// "Imprimer Récap." previews the cover sheet of the code and date typed; saved as PDF, the sheet shows them.
TEST_F(DeclarationWindowsTest, PrintPreviewsTheCoverSheetOfTheCodeAndDateTyped) {
    auto *w = openRecap();
    ASSERT_NE(w, nullptr);
    typeInto(w->codeTvaField(), QStringLiteral("xyz"));
    QDateEdit *date = w->declarationDateField();
    QTest::keyClick(w->codeTvaField(), Qt::Key_Tab); // into the date, its day selected
    ASSERT_TRUE(date->hasFocus());
    QTest::keyClicks(date, QStringLiteral("05032019"));
    ASSERT_EQ(date->date(), QDate(2019, 3, 5));
    click(w->printButton());
    ReportPreview *preview = nullptr;
    for (QWidget *widget : QApplication::allWidgets())
        if (auto *p = qobject_cast<ReportPreview *>(widget); p && p->isVisible())
            preview = p;
    ASSERT_NE(preview, nullptr);
    const QString pdfPath = out.filePath(QStringLiteral("recap.pdf"));
    ASSERT_TRUE(preview->saveAsPdf(pdfPath));
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {pdfPath, QStringLiteral("-")});
    ASSERT_TRUE(pdftotext.waitForFinished());
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QStringLiteral("XYZ"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("2019"))) << text.toStdString();
    preview->close();
}

TEST_F(DeclarationWindowsTest, MouseWheelMovesAlongTheLines) {
    auto *w = openRecap();
    ASSERT_NE(w, nullptr);
    QWidget *viewport = w->grid()->viewport();
    auto turn = [&](int delta) {
        QWheelEvent wheel(QPointF(10, 10), viewport->mapToGlobal(QPointF(10, 10)), {}, QPoint(0, delta),
                          Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(viewport, &wheel);
    };
    dm.Itableaurecap.first();
    turn(-120);
    turn(-120);
    EXPECT_EQ(dm.Itableaurecap.currentRow(), 2);
    turn(120);
    EXPECT_EQ(dm.Itableaurecap.currentRow(), 1);
    EXPECT_EQ(w->grid()->selectionModel()->currentIndex().row(), 1);
}

TEST_F(DeclarationWindowsTest, DoubleClickThenValiderCorrectsTheLine) {
    auto *w = openRecap();
    ASSERT_NE(w, nullptr);
    DatasetGrid *grid = w->grid();
    const QString computed = shown(grid, QStringLiteral("Montants Bruts"))[3];
    doubleClickRow(grid, 3); // line 021
    ASSERT_TRUE(w->correctionGroup()->isVisible());
    EXPECT_EQ(w->correctionGroup()->title(), QStringLiteral("Changement Montant"));
    EXPECT_EQ(w->baseField()->text(), computed);
    EXPECT_EQ(w->withholdingField()->text(), shown(grid, QStringLiteral("Retenues"))[3]);

    // What is not an amount is refused, naming the field; nothing is saved.
    typeInto(w->baseField(), QStringLiteral("."));
    QStringList messages = answerMessageBoxes([&] { click(w->validateButton()); }, QMessageBox::Ok);
    EXPECT_EQ(messages, QStringList{QStringLiteral(
                            "« . » n'est pas un montant pour « Montants Bruts » : la ligne N° 4 n'a pas été "
                            "modifiée.")});
    EXPECT_EQ(shown(grid, QStringLiteral("Montants Bruts"))[3], computed);
    EXPECT_TRUE(w->correctionGroup()->isVisible());

    typeInto(w->baseField(), QStringLiteral("1234.5"));
    typeInto(w->withholdingField(), QStringLiteral("10,25"));
    messages = answerMessageBoxes([&] { click(w->validateButton()); }, QMessageBox::Ok);
    EXPECT_EQ(messages, QStringList());
    EXPECT_EQ(scalar(QStringLiteral("select ZONE2 from TABLEAURECAPITULATIF where ORDRE = 4")).toString(),
              QStringLiteral("000000001234500"));
    EXPECT_EQ(scalar(QStringLiteral("select ZONE4 from TABLEAURECAPITULATIF where ORDRE = 4")).toString(),
              QStringLiteral("000000000010250"));
    EXPECT_EQ(shown(grid, QStringLiteral("Montants Bruts"))[3], QStringLiteral("1 234.500"));
    EXPECT_EQ(shown(grid, QStringLiteral("Retenues"))[3], QStringLiteral("10.250"));
    EXPECT_EQ(shown(grid, QStringLiteral("Zone2"))[3], QStringLiteral("000000001234500"));
    EXPECT_TRUE(w->correctionGroup()->isVisible());
    EXPECT_EQ(w->baseField()->text(), QStringLiteral("1 234.500"));

    click(w->correctionCloseButton());
    EXPECT_FALSE(w->correctionGroup()->isVisible());
    // Leaving the group for the grid hides it too, without saving.
    activateFrame();
    doubleClickRow(grid, 2);
    ASSERT_TRUE(w->correctionGroup()->isVisible());
    typeInto(w->baseField(), QStringLiteral("99"));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(5, 1)).center());
    EXPECT_FALSE(w->correctionGroup()->isVisible());
    EXPECT_EQ(scalar(QStringLiteral("select ZONE2 from TABLEAURECAPITULATIF where ORDRE = 3")).toString(),
              QString(15, QLatin1Char(' ')));
}

// The table has no company column: a correction reaches DECEMP_ when the table it was made on is the one
// computed for the marked company, that is when no window opening has recomputed it since.
TEST_F(DeclarationWindowsTest, CorrectionReachesTheDeclarationUntilAWindowRecomputesTheTable) {
    const QByteArray corrected =
        "021" + QByteArray("000000001234500") + "01500" + QByteArray(15, '0') + "\r\n";
    struct Case {
        const char *order;
        bool generationFirst; // the generation window opened before the correction
        bool carried;
    } cases[] = {{"generation window open, then the correction: carried", true, true},
                 {"the correction, then the generation window opened: recomputed", false, false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.order);
        QPointer<TFrmgenerationdeclaration> generation;
        if (c.generationFirst)
            generation = openGeneration();
        auto *recap = openRecap();
        ASSERT_NE(recap, nullptr);
        doubleClickRow(recap->grid(), 3);
        typeInto(recap->baseField(), QStringLiteral("1234.5"));
        typeInto(recap->withholdingField(), QStringLiteral("0"));
        EXPECT_EQ(answerMessageBoxes([&] { click(recap->validateButton()); }, QMessageBox::Ok),
                  QStringList());
        click(recap->closeButton());
        flushDeletes();
        if (!c.generationFirst)
            generation = openGeneration();
        ASSERT_FALSE(generation.isNull());
        QTemporaryDir folder;
        EXPECT_EQ(generate(generation, folder.path()), QStringList{kDone});
        const QList<QByteArray> records = recordsOf(folder.filePath(QStringLiteral("DECEMP_18")));
        ASSERT_EQ(records.size(), 39);
        EXPECT_EQ(records[4] == corrected, c.carried) << records[4].toStdString();
        EXPECT_EQ(records[4].left(3), QByteArray("021"));
    }
}

} // namespace
