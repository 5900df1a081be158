#include "tests/app/ReferenceFixture.h"

#include "annexes/AnnexDefinitions.h"
#include "annexes/windows/AnnexBrowseWindow.h"
#include "annexes/windows/AnnexEditWindow.h"
#include "data/Dataset.h"
#include "report/windows/ReportPreview.h"

#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QWheelEvent>

namespace {

const QString kOtherCompany = QStringLiteral("7654321BM000");

class AnnexBrowseWindowsTest : public ReferenceFixture {
protected:
    void SetUp() override {
        registerAnnexWindows(registry);
        showFrame();
    }

    // A saved annex row, through the data module's rules: company, year and number, the name, the required
    // texts and choices filled, then the values given.
    void addAnnexRow(int annex, int number, const QString &name, const QVariantMap &values = {},
                     const QString &exercice = QStringLiteral("2018"), const QString &code = {}) {
        const AnnexDefinition &a = annexDefinition(annex);
        Dataset &ds = dm.annex(annex);
        ds.close();
        ds.setSql(QStringLiteral("select * from %1 where 1=0").arg(QLatin1String(a.table)));
        ds.open();
        ds.append();
        ds.setValue(QLatin1String(a.companyColumn), code.isEmpty() ? dm.activeCompany.code : code);
        ds.setValue(QStringLiteral("EXERCICE"), exercice);
        ds.setValue(QStringLiteral("NUMEROORDRE"), number);
        ds.setValue(QLatin1String(a.nameColumn), name);
        ds.setValue(QStringLiteral("IDENTIFIANTBENEFICIAIRE"), QStringLiteral("12345678"));
        for (const AnnexColumn &c : a.columns)
            if ((c.flags & Required) && ds.isNull(QLatin1String(c.column)))
                ds.setValue(QLatin1String(c.column),
                            c.field == AnnexField::Choice ? QStringLiteral("1") : QStringLiteral("TEXTE"));
        for (auto it = values.begin(); it != values.end(); ++it)
            ds.setValue(it.key(), it.value());
        ds.post();
        ds.close();
    }

    // Opens an annex window by its button "1" to "7" of the ribbon page "Annexes".
    AnnexBrowseWindow *open(int annex) {
        clickRibbon(QStringLiteral("Annexes"), QString::number(annex));
        QMdiSubWindow *child = frame->mdiArea()->activeSubWindow();
        return child ? qobject_cast<AnnexBrowseWindow *>(child->widget()) : nullptr;
    }

    // Clicks a button of the window by its hint; returns the texts of the message boxes it shows, answered
    // with `answer`.
    QStringList click(BrowseWindow *w, const QString &hint,
                      QMessageBox::StandardButton answer = QMessageBox::Ok) {
        QPushButton *b = w->button(hint);
        if (!b) {
            ADD_FAILURE() << "no button " << hint.toStdString();
            return {};
        }
        return answerMessageBoxes([&] { QTest::mouseClick(b, Qt::LeftButton); }, answer);
    }

    // Opens the grid's context menu with the mouse and clicks one of its entries.
    static void clickMenuEntry(BrowseWindow *w, const QString &entry) {
        QWidget *viewport = w->grid()->viewport();
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), viewport->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(viewport, &event);
        QMenu *menu = w->contextMenu();
        ASSERT_TRUE(menu->isVisible());
        for (QAction *a : menu->actions())
            if (a->text() == entry) {
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
                return;
            }
        ADD_FAILURE() << "no entry " << entry.toStdString();
    }

    static AnnexEditWindow *editWindowOf(QWidget *browse) {
        QCoreApplication::processEvents();
        for (AnnexEditWindow *w : browse->findChildren<AnnexEditWindow *>())
            if (w->isVisible())
                return w;
        return nullptr;
    }

    static int previews() {
        int shown = 0;
        for (QWidget *w : QApplication::allWidgets())
            shown += qobject_cast<ReportPreview *>(w) && w->isVisible();
        return shown;
    }

    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // The rows of an annex table, every column as text, in company, year and number order.
    QStringList stored(int annex) {
        const AnnexDefinition &a = annexDefinition(annex);
        auto query = dm.newQuery(QStringLiteral("stored"));
        query->setSql(QStringLiteral("select * from %1 order by %2, EXERCICE, NUMEROORDRE")
                          .arg(QLatin1String(a.table), QLatin1String(a.companyColumn)));
        query->open();
        QStringList rows;
        for (int row = 0; row < query->rowCount(); ++row) {
            QStringList values;
            for (int f = 0; f < query->fieldCount(); ++f)
                values << query->valueAt(row, f).toString();
            rows << values.join(QLatin1Char('|'));
        }
        return rows;
    }

    QVariant storedValue(int annex, int number, const char *column, const QString &exercice = "2018") {
        const AnnexDefinition &a = annexDefinition(annex);
        return scalar(
            QStringLiteral("select %1 from %2 where %3 = '%4' and EXERCICE = '%5' and NUMEROORDRE = %6")
                .arg(QLatin1String(column), QLatin1String(a.table), QLatin1String(a.companyColumn),
                     dm.activeCompany.code, exercice)
                .arg(number));
    }

    QStringList numbers(int annex, const QString &exercice = "2018") {
        const AnnexDefinition &a = annexDefinition(annex);
        auto query = dm.newQuery(QStringLiteral("numbers"));
        query->setSql(QStringLiteral("select NUMEROORDRE from %1 where %2 = '%3' and EXERCICE = '%4' "
                                     "order by NUMEROORDRE")
                          .arg(QLatin1String(a.table), QLatin1String(a.companyColumn), dm.activeCompany.code,
                               exercice));
        query->open();
        QStringList list;
        for (int row = 0; row < query->rowCount(); ++row)
            list << query->valueAt(row, 0).toString();
        return list;
    }
};

TEST_F(AnnexBrowseWindowsTest, EachWindowOpensOnTheActiveCompanyAndYear) {
    const struct Case {
        int annex;
        const char *className;
        const char *caption;
        const char *banner;
        QStringList titles;
        const char *statement;
        bool readWhenShown;
    } cases[] = {
        {1,
         "TFrmAnnexeI",
         "Annexe I",
         "<<<  Annexe I Traitements, salaires, pensions, rentes viagères payés et contribution sociale de "
         "solidarité>>>",
         {"Code declarant", "Exercice", "N°Ordre", "Id. Bénéficiaire", "Nom & Prénom", "Rev. Imposable",
          "Ret. Opérées", "C S S", "Retenues 20%", "Net Servis"},
         "select * from ANNEXEI  where codesociete=:code and exercice=:exercice order by NUMEROORDRE",
         true},
        {2,
         "TFrmAnnexeII",
         "AnnexeII",
         "<<<  Annexe II Montants servis à des résidents en Tunisie: Courtage,Loyer, Honoraires,revenus "
         "immobiliers ...>>>",
         {"Code declarant", "Exercice", "N°Ordre", "Id.Bénéficiaire", "Nom Prénom Ou Raison Sociale",
          "Hon. & Comm", "Ret. Opérées", "Rém. Artistes", "Honoraire Bur Exp", "Net Servis"},
         "select *  from ANNEXEII where IDENTIFIANT=:code and exercice=:exercice",
         false},
        {3,
         "TFrmAnnexeIII",
         "Annexe III",
         "<<<Annexe III :Revenus des capitaux mobiliers, intérêts des comptes spéciaux d’épargne et intérêts "
         "des prêts.>>>",
         {"Code declarant", "Exercice", "N°Ordre", "Id. Bénéficiaire", "Nom & Prénom ou Raison Sociale",
          "Int. Comptes", "Ret. Opérées", "Net Servis"},
         "select * from ANNEXEIII where IDENTIFIANT=:code and exercice=:exercice",
         false},
        {4,
         "TFrmannexeIV",
         "Annexe IV",
         "<<<  Annexe IV Montants servis à des non résidents: Courtage,Loyer, Honoraires,revenus immobiliers "
         "...>>>",
         {"Code declarant", "Exercice", "N°Ordre", "Id.Bénéficiaire", "Nom Prénom Ou Raison Sociale",
          "Hon. & Comm", "Ret. Opérées", "Net Servis"},
         "select * from ANNEXEIV  where IDENTIFIANT=:code and exercice=:exercice",
         false},
        {5,
         "TFrmAnnexeV",
         "Annexe V",
         "<<<  Annexe V:Autres montants payés et soumis à la retenue à la source.>>>",
         {"Code déclarant", "Année", "N°Ord.", "Id.Bénéficiaire", "Nom Prénom Ou Raison Sociale",
          "Export Soum.10%", "Ret Exp 10%", "Marchés", "Ret/Marchés", "Marchés Pub.", "Retenue TVA/M.P",
          "Marchés Etranger", "Ret Mar.Etranger", "Net Servis"},
         "select * from ANNEXEV where IDENTIFIANT=:code and exercice=:exercice",
         false},
        {6,
         "TFrmAnnexevI",
         "Annexe VI",
         "<<<  Annexe VI:Ristournes commerciales et non commerciales et Autres >>>",
         {"Code declarant", "Exercice", "N°Ordre", "Id. Bénéficiaire", "Nom & Prénom",
          "Montant des Ristournes"},
         "select * from ANNEXEVI where IDENTIFIANT=:code and exercice=:exercice",
         true},
        {7,
         "TFrmAnnexeVII",
         "Annexe VII",
         "<<< AnnexeVII:Montants payés pour autrui >>>",
         {"Code declarant", "Exercice", "N°Ordre", "Id. Bénéficiaire", "Nom & Prénom ou Raison Sociale",
          "Montants Payés", "Ret. Opérées", "Net Servis"},
         "select * from ANNEXEvII where IDENTIFIANT=:code and exercice=:exercice",
         false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.className);
        EXPECT_FALSE(frame->disabledCommands().contains(QStringLiteral("Annexes > %1").arg(c.annex)));
        addAnnexRow(c.annex, 1, QStringLiteral("LISTEE"));
        addAnnexRow(c.annex, 2, QStringLiteral("ANNEE PRECEDENTE"), {}, QStringLiteral("2017"));
        addAnnexRow(c.annex, 3, QStringLiteral("AUTRE SOCIETE"), {}, QStringLiteral("2018"), kOtherCompany);
        dm.verificationMessage = false;

        AnnexBrowseWindow *w = open(c.annex);
        ASSERT_NE(w, nullptr);
        EXPECT_STREQ(w->metaObject()->className(), c.className);
        EXPECT_EQ(w->windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_EQ(w->findChild<QLabel *>(QStringLiteral("titlePanel"))->text(), QString::fromUtf8(c.banner));
        QStringList titles;
        for (const GridColumn &column : w->grid()->datasetModel()->columns())
            titles << column.caption;
        EXPECT_EQ(titles, c.titles);
        Dataset &ds = dm.annex(c.annex);
        EXPECT_EQ(ds.sql(), QString::fromUtf8(c.statement));
        EXPECT_EQ(shown(w->grid(), c.titles[4]), QStringList{"LISTEE"});
        EXPECT_TRUE(dm.verificationMessage);
        EXPECT_TRUE(frame->mdiArea()->activeSubWindow()->isMaximized());
        EXPECT_TRUE(w->searchLabel()->text().isEmpty());

        // The rows are read again when the window is shown once more, in Annexes I and VI only.
        ds.close();
        w->hide();
        w->show();
        EXPECT_EQ(ds.isOpen(), c.readWhenShown);

        EXPECT_TRUE(
            w->button(QStringLiteral("Importation des Données à partir d'Excel et Autres"))->isEnabled());
        EXPECT_TRUE(w->button(QStringLiteral("Export Excel"))->isEnabled());
        EXPECT_EQ(w->button(QStringLiteral("Imprimer Certificat de Retenue à la source")) != nullptr,
                  c.annex == 1);
        EXPECT_EQ(w->certificatePanel() != nullptr, c.annex == 1);
        QStringList entries;
        for (QAction *a : w->contextMenu()->actions())
            entries << a->text();
        EXPECT_EQ(entries,
                  (QStringList{"Ajouter", "Modifier", "Supprimer", "Vérification", "Imprimer", "Fermer"}));

        ds.reopen();
        click(w, QStringLiteral("Fermer"));
        flushDeletes();
        EXPECT_TRUE(frame->mdiArea()->subWindowList().isEmpty());
        EXPECT_FALSE(ds.isOpen());
    }
}

TEST_F(AnnexBrowseWindowsTest, VerificationAfterASearchVerifiesOnlyTheRowsFound) {
    const QVariantMap amounts{{"MONTANTBRUT", 100.0}, {"RETENUESOPERES", 15.0}, {"NETSERVIS", 0.0}};
    addAnnexRow(2, 1, QStringLiteral("ALPHA"), amounts);
    addAnnexRow(2, 2, QStringLiteral("ALPHB"), amounts);
    addAnnexRow(2, 3, QStringLiteral("BETA"), amounts);
    AnnexBrowseWindow *w = open(2);
    clickTitle(w->grid(), QStringLiteral("Nom Prénom Ou Raison Sociale"));
    typeInto(w->searchBox(), QStringLiteral("ALP"));
    EXPECT_EQ(shown(w->grid(), QStringLiteral("Nom Prénom Ou Raison Sociale")),
              (QStringList{"ALPHA", "ALPHB"}));

    EXPECT_EQ(click(w, QStringLiteral("Vérifier")), QStringList{"Vérification Terminée"});
    for (int number : {1, 2}) {
        EXPECT_EQ(storedValue(2, number, "IDENTIFIANTBENEFICIAIRE").toString(),
                  QStringLiteral("12345678     "));
        EXPECT_EQ(storedValue(2, number, "RAISONSOCIALE").toString().size(), 40);
        EXPECT_EQ(storedValue(2, number, "NETSERVIS").toDouble(), 85.0);
    }
    EXPECT_EQ(storedValue(2, 3, "IDENTIFIANTBENEFICIAIRE").toString(), QStringLiteral("12345678"));
    EXPECT_EQ(storedValue(2, 3, "NETSERVIS").toDouble(), 0.0);

    // Once more, then by the context menu: nothing more changes. Without the flag, no message.
    const QStringList once = stored(2);
    EXPECT_EQ(answerMessageBoxes([&] { clickMenuEntry(w, QStringLiteral("Vérification")); }, QMessageBox::Ok),
              QStringList{"Vérification Terminée"});
    EXPECT_EQ(stored(2), once);
    dm.verificationMessage = false;
    EXPECT_TRUE(click(w, QStringLiteral("Vérifier")).isEmpty());
    EXPECT_EQ(stored(2), once);

    // A row deleted behind the window's back: its save is refused, the verification stops there with the
    // data layer's message and leaves no entry pending.
    dm.verificationMessage = true;
    w->searchBox()->clear();
    ASSERT_EQ(w->grid()->model()->rowCount(), 3);
    exec(QStringLiteral("delete from ANNEXEII where NUMEROORDRE = 3"));
    const QStringList messages = click(w, QStringLiteral("Vérifier"));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().startsWith(QStringLiteral("L'enregistrement n'existe plus")))
        << messages.first().toStdString();
    EXPECT_FALSE(dm.annex(2).isEditing());
    EXPECT_EQ(stored(2), once.mid(0, 2));
}

TEST_F(AnnexBrowseWindowsTest, ClearingAfterASearchDeletesOnlyTheRowsFound) {
    addAnnexRow(3, 1, QStringLiteral("DUPONT"));
    addAnnexRow(3, 2, QStringLiteral("MARTIN"));
    addAnnexRow(3, 3, QStringLiteral("DURAND"));
    addAnnexRow(3, 1, QStringLiteral("DUBOIS"), {}, QStringLiteral("2017"));
    AnnexBrowseWindow *w = open(3);
    clickTitle(w->grid(), QStringLiteral("Nom & Prénom ou Raison Sociale"));
    typeInto(w->searchBox(), QStringLiteral("DU"));
    ASSERT_EQ(w->grid()->model()->rowCount(), 2);

    const QString clear = QStringLiteral("Effacer Toutes  les données de l'annexe");
    EXPECT_EQ(click(w, clear, QMessageBox::No),
              QStringList{"Voulez-vous la suppression de toutes les données de l'annexe ?"});
    EXPECT_EQ(w->grid()->model()->rowCount(), 2);
    click(w, clear, QMessageBox::Yes);
    EXPECT_EQ(w->grid()->model()->rowCount(), 0);
    dm.commit();
    EXPECT_EQ(numbers(3), QStringList{"2"});
    EXPECT_EQ(numbers(3, QStringLiteral("2017")), QStringList{"1"});
    w->searchBox()->clear();
    EXPECT_EQ(shown(w->grid(), QStringLiteral("Nom & Prénom ou Raison Sociale")), QStringList{"MARTIN"});
}

TEST_F(AnnexBrowseWindowsTest, CopyOfThePreviousYearKeepsTheOrderNumbers) {
    const struct Case {
        int annex;
        const char *amount;
    } cases[] = {{1, "REVENUIMPOSABLE"}, {5, "MARCHES"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.annex);
        const QString year2017 = QStringLiteral("2017");
        addAnnexRow(c.annex, 1, QStringLiteral("DEJA LA"));
        for (int number : {3, 7, 12})
            addAnnexRow(c.annex, number, QStringLiteral("COPIE %1").arg(number), {{c.amount, number * 100.5}},
                        year2017);
        addAnnexRow(c.annex, 20, QStringLiteral("AUTRE SOCIETE"), {}, year2017, kOtherCompany);
        addAnnexRow(c.annex, 30, QStringLiteral("AVANT"), {}, QStringLiteral("2016"));
        AnnexBrowseWindow *w = open(c.annex);

        EXPECT_TRUE(click(w, QStringLiteral("Importation des Données de l'année N-1")).isEmpty());
        EXPECT_EQ(numbers(c.annex), (QStringList{"1", "3", "7", "12"}));
        EXPECT_EQ(numbers(c.annex, year2017), (QStringList{"3", "7", "12"}));
        EXPECT_EQ(storedValue(c.annex, 7, annexDefinition(c.annex).nameColumn).toString(),
                  QStringLiteral("COPIE 7"));
        EXPECT_EQ(storedValue(c.annex, 7, c.amount).toDouble(), 703.5);
        EXPECT_EQ(w->grid()->model()->rowCount(), 4);

        // A new row is numbered after the highest copied, under the active company and year.
        click(w, QStringLiteral("Ajouter"));
        AnnexEditWindow *edit = editWindowOf(w);
        ASSERT_NE(edit, nullptr);
        Dataset &ds = dm.annex(c.annex);
        EXPECT_EQ(ds.state(), Dataset::State::Insert);
        EXPECT_EQ(ds.value(QStringLiteral("NUMEROORDRE")).toInt(), 13);
        EXPECT_EQ(ds.text(QLatin1String(annexDefinition(c.annex).companyColumn)), dm.activeCompany.code);
        EXPECT_EQ(ds.text(QStringLiteral("EXERCICE")), QStringLiteral("2018"));
        QTest::mouseClick(edit->button(QStringLiteral("Annuler")), Qt::LeftButton);
        flushDeletes();
        EXPECT_FALSE(ds.isEditing());

        // Again, once number 3 of the year is gone: 3 is copied, 7 is taken and refused by the table's key,
        // which stops the copy with a message saying where; nothing stays pending.
        exec(QStringLiteral("delete from %1 where EXERCICE = '2018' and NUMEROORDRE = 3")
                 .arg(QLatin1String(annexDefinition(c.annex).table)));
        w->reopenDataset();
        const QStringList messages = click(w, QStringLiteral("Importation des Données de l'année N-1"));
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages.first().startsWith(
            QStringLiteral("La copie de l'année 2017 s'est arrêtée au N°Ordre 7, qui n'a pas pu être "
                           "enregistré en 2018 (lignes copiées avant : 1).\nviolation of PRIMARY")))
            << messages.first().toStdString();
        EXPECT_FALSE(ds.isEditing());
        EXPECT_EQ(w->grid()->model()->rowCount(), 4);
        EXPECT_EQ(numbers(c.annex), (QStringList{"1", "3", "7", "12"}));
        EXPECT_EQ(storedValue(c.annex, 3, annexDefinition(c.annex).nameColumn).toString(),
                  QStringLiteral("COPIE 3"));
        w->close();
        flushDeletes();
    }
}

TEST_F(AnnexBrowseWindowsTest, SearchKeepsTheRowsOfTheActiveCompanyAndYear) {
    const QStringList orderOne{"1", "10", "15", "19", "100", "101"};
    const struct Case {
        int annex;
        const char *title;
        const char *typed;
        const char *shownTitle;
        QStringList expected;
        const char *sort;   // after the title click
        const char *search; // after the typing
    } cases[] = {
        {1, "N°Ordre", "1", "N°Ordre", orderOne,
         "select * from annexei where codesociete =:Societe and exercice=:exercice  Order by NUMEROORDRE",
         "select * from annexei where codesociete =:Societe and exercice=:exercice and NUMEROORDRE LIKE '1%' "
         "Order by NUMEROORDRE"},
        {2, "N°Ordre", "1", "N°Ordre", orderOne,
         "select * from annexeii where  identifiant =:Societe and exercice=:exercice  Order by NUMEROORDRE",
         "select * from annexeii where  identifiant =:Societe and exercice=:exercice and NUMEROORDRE LIKE "
         "'1%' "
         "Order by IDENTIFIANT, EXERCICE, NUMEROORDRE"},
        {5, "N°Ord.", "1", "N°Ord.", orderOne,
         "select * from annexev where  identifiant =:Societe and exercice=:exercice  Order by NUMEROORDRE",
         "select * from annexev where  identifiant =:Societe and exercice=:exercice and NUMEROORDRE LIKE "
         "'1%' "
         "Order by NUMEROORDRE"},
        {7,
         "Nom & Prénom ou Raison Sociale",
         "L'A",
         "N°Ordre",
         {"2"},
         "select * from annexevii where  identifiant =:Societe and exercice=:exercice  Order by "
         "RAISONSOCIALE",
         "select * from annexevii where  identifiant =:Societe and exercice=:exercice and RAISONSOCIALE LIKE "
         "'L''A%' Order by RAISONSOCIALE"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.annex);
        for (int number : {1, 2, 9, 10, 15, 19, 20, 100, 101, 200})
            addAnnexRow(c.annex, number,
                        number == 2 ? QStringLiteral("L'AMI") : QStringLiteral("NOM %1").arg(number));
        addAnnexRow(c.annex, 11, QStringLiteral("L'AUTRE"), {}, QStringLiteral("2017"));
        addAnnexRow(c.annex, 12, QStringLiteral("L'AUTRE"), {}, QStringLiteral("2018"), kOtherCompany);
        AnnexBrowseWindow *w = open(c.annex);
        clickTitle(w->grid(), QString::fromUtf8(c.title));
        EXPECT_EQ(w->searchLabel()->text(), QString::fromUtf8(c.title));
        EXPECT_EQ(dm.annex(c.annex).sql(), QString::fromUtf8(c.sort));
        EXPECT_EQ(w->grid()->model()->rowCount(), 10);
        typeInto(w->searchBox(), QString::fromUtf8(c.typed));
        EXPECT_EQ(dm.annex(c.annex).sql(), QString::fromUtf8(c.search));
        EXPECT_EQ(shown(w->grid(), QString::fromUtf8(c.shownTitle)), c.expected);
        w->searchBox()->clear();
        EXPECT_EQ(w->grid()->model()->rowCount(), 10);
        w->close();
        flushDeletes();
    }
}

TEST_F(AnnexBrowseWindowsTest, MouseWheelMovesRowByRow) {
    for (int number : {1, 2, 3})
        addAnnexRow(4, number, QStringLiteral("NOM %1").arg(number));
    AnnexBrowseWindow *w = open(4);
    QWidget *viewport = w->grid()->viewport();
    auto turn = [&](int delta) {
        QWheelEvent wheel(QPointF(10, 10), viewport->mapToGlobal(QPointF(10, 10)), {}, QPoint(0, delta),
                          Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(viewport, &wheel);
    };
    Dataset &ds = dm.annex(4);
    EXPECT_EQ(ds.currentRow(), 0);
    turn(-360);
    turn(-120);
    EXPECT_EQ(ds.currentRow(), 2);
    turn(120);
    EXPECT_EQ(ds.currentRow(), 1);
    EXPECT_EQ(w->grid()->selectionModel()->currentIndex().row(), 1);
}

TEST_F(AnnexBrowseWindowsTest, DoubleClickChangesDeletionAsksAndWaitsForTheCommit) {
    for (int number : {1, 2})
        addAnnexRow(6, number, QStringLiteral("NOM %1").arg(number));
    AnnexBrowseWindow *w = open(6);
    Dataset &ds = dm.annex(6);
    DatasetGrid *grid = w->grid();
    const QPoint second = grid->visualRect(grid->model()->index(1, 2)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, second);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, second);
    AnnexEditWindow *edit = editWindowOf(w);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(ds.state(), Dataset::State::Edit);
    EXPECT_EQ(ds.value(QStringLiteral("NUMEROORDRE")).toInt(), 2);
    QTest::mouseClick(edit->button(QStringLiteral("Annuler")), Qt::LeftButton);
    flushDeletes();

    EXPECT_EQ(click(w, QStringLiteral("Supprimer"), QMessageBox::No),
              QStringList{"Voulez-vous supprimer l'enregistrement en cours ?"});
    EXPECT_EQ(grid->model()->rowCount(), 2);
    answerMessageBoxes([&] { clickMenuEntry(w, QStringLiteral("Supprimer")); }, QMessageBox::Yes);
    EXPECT_EQ(shown(grid, QStringLiteral("N°Ordre")), QStringList{"1"});
    dm.commit();
    EXPECT_EQ(numbers(6), QStringList{"1"});
}

TEST_F(AnnexBrowseWindowsTest, CertificatePanelAsksForOrderNumbersThenPrints) {
    addAnnexRow(1, 2, QStringLiteral("SALARIE"));
    AnnexBrowseWindow *w = open(1);
    QGroupBox *panel = w->certificatePanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->title(), QStringLiteral("Impression Certificats"));
    EXPECT_FALSE(panel->isVisible());
    click(w, QStringLiteral("Imprimer Certificat de Retenue à la source"));
    EXPECT_TRUE(panel->isVisible());
    QStringList labels;
    for (QLabel *label : panel->findChildren<QLabel *>())
        labels << label->text();
    EXPECT_EQ(labels, (QStringList{"Du N°:", "Au N°:"}));
    QPushButton *validate = nullptr;
    QPushButton *close = nullptr;
    for (QPushButton *b : panel->findChildren<QPushButton *>())
        (b->text() == QStringLiteral("Valider") ? validate : close) = b;
    ASSERT_TRUE(validate && close);
    EXPECT_EQ(close->text(), QStringLiteral("Fermer"));

    auto *from = qobject_cast<QLineEdit *>(panel->findChildren<QLineEdit *>().value(0));
    typeInto(from, QStringLiteral("x5"));
    EXPECT_EQ(from->text(), QStringLiteral("5"));
    const QStringList messages =
        answerMessageBoxes([&] { QTest::mouseClick(validate, Qt::LeftButton); }, QMessageBox::Ok);
    EXPECT_EQ(messages, QStringList{"« Au N°: » : indiquez un numéro d'ordre."});
    EXPECT_TRUE(panel->isVisible());
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(w->isVisible());

    // A valid range hides the panel and shows the certificates; "Imprimer" shows the annex's list.
    click(w, QStringLiteral("Imprimer Certificat de Retenue à la source"));
    typeInto(panel->findChildren<QLineEdit *>().value(1), QStringLiteral("3"));
    EXPECT_TRUE(
        answerMessageBoxes([&] { QTest::mouseClick(validate, Qt::LeftButton); }, QMessageBox::Ok).isEmpty());
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(previews(), 1);
    click(w, QStringLiteral("Imprimer etat Global des Retenues"));
    EXPECT_EQ(previews(), 2);
}

} // namespace
