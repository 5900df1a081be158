#include "tests/app/ReferenceFixture.h"

#include "data/Dataset.h"
#include "reference/windows/CompanyWindows.h"
#include "reference/windows/ReferenceWindows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

namespace {

class ReferenceWindowsTest : public ReferenceFixture {
protected:
    void SetUp() override {
        registerReferenceWindows(registry);
        showFrame();
    }

    // Opens a window of the main window by its ribbon button on the "Paramètres" page.
    template <typename T> T *openFromRibbon(const QString &caption) {
        clickRibbon(QStringLiteral("Paramètres"), caption);
        QMdiSubWindow *child = frame->mdiArea()->activeSubWindow();
        return child ? qobject_cast<T *>(child->widget()) : nullptr;
    }

    template <typename T> static T *editWindowOf(QWidget *browse) {
        QCoreApplication::processEvents();
        for (T *w : browse->findChildren<T *>())
            if (w->isVisible())
                return w;
        return nullptr;
    }

    static void click(QWidget *window, const QString &caption) {
        for (QPushButton *b : window->findChildren<QPushButton *>())
            if (b->text() == caption && b->isVisible()) {
                QTest::mouseClick(b, Qt::LeftButton);
                return;
            }
        ADD_FAILURE() << "no button " << caption.toStdString();
    }

    // Types into a field, then leaves it with Enter.
    static void enter(EditWindow *w, const QString &caption, const QString &text) {
        QWidget *field = w->editor(caption);
        ASSERT_NE(field, nullptr) << caption.toStdString();
        typeInto(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }

    // Closes a window by its close box.
    static void closeBox(QWidget *w) {
        QTest::keyClick(w, Qt::Key_F4, Qt::AltModifier); // no effect offscreen; close() is what the box sends
        w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    void addCompany(const QString &identifiant, int exercice, const QString &name,
                    const QString &activeOn = "N") {
        exec(QStringLiteral(
                 "insert into SOCIETE (IDENTIFIANT, CLE, CATEGORIE, ETABSECONDAIRE, RAISON_SOCIALE, "
                 "ACTIVITE, VILLE, RUE, EXERCICE, ACTIVEON) values ('%1', 'A', 'M', '000', '%2', "
                 "'COMMERCE', 'TUNIS', '  RUE DE MARSEILLE  ', %3, '%4')")
                 .arg(identifiant, name)
                 .arg(exercice)
                 .arg(activeOn));
    }
};

TEST_F(ReferenceWindowsTest, ClosingTheCompanyListMakesItsRowTheActiveCompany) {
    addCompany(QStringLiteral("1111111"), 2017, QStringLiteral("PREMIERE"));
    addCompany(QStringLiteral("1234567"), 2018, QStringLiteral("SOCIETE TEST                            "));
    auto *list = openFromRibbon<Tfrmsocietes>(QStringLiteral("Sociétés"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->windowTitle(), QStringLiteral("Liste des Sociétés"));
    EXPECT_EQ(dm.Isociete.sql(), QStringLiteral("select * from SOCIETE"));
    QTest::keyClick(list->grid(), Qt::Key_Down);
    click(list, QStringLiteral("Fermer"));
    flushDeletes();
    EXPECT_EQ(dm.activeCompany.code, QStringLiteral("1234567AM000"));
    EXPECT_EQ(dm.activeCompany.exercice, QStringLiteral("2018"));
    EXPECT_EQ(dm.activeCompany.name, QStringLiteral("SOCIETE TEST                            "));
    EXPECT_EQ(dm.activeCompany.address, QStringLiteral("RUE DE MARSEILLE TUNIS"));
    EXPECT_EQ(dm.activeCompany.activity, QStringLiteral("COMMERCE"));
    EXPECT_EQ(frame->activeCompanyDisplay()->text(),
              QStringLiteral("SOCIETE TEST   1234567AM000  Exercice2018"));
    EXPECT_TRUE(frame->mdiArea()->subWindowList().isEmpty());
}

TEST_F(ReferenceWindowsTest, EmptyCompanyTableGivesAnEmptyActiveCompany) {
    auto *list = openFromRibbon<Tfrmsocietes>(QStringLiteral("Sociétés"));
    ASSERT_NE(list, nullptr);
    list->close(); // the close box
    EXPECT_EQ(dm.activeCompany.code, QString());
    EXPECT_EQ(dm.activeCompany.exercice, QStringLiteral("0"));
    EXPECT_EQ(dm.activeCompany.address, QStringLiteral(" "));
    EXPECT_EQ(frame->activeCompanyDisplay()->text(), QStringLiteral("     Exercice0"));
}

TEST_F(ReferenceWindowsTest, CompanyParametersEnteredWithEnterSavedByF10) {
    auto *list = openFromRibbon<Tfrmsocietes>(QStringLiteral("Sociétés"));
    click(list, QStringLiteral("Ajouter"));
    auto *edit = editWindowOf<Tfrmparamsociete>(list);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->windowTitle(), QStringLiteral("Paramètre de la société"));
    const std::pair<const char *, const char *> typed[] = {
        {"Matricule Fiscal", "7654321"},
        {"Clé", "B"},
        {"Catégorie", "P"},
        {"N°Etablissement Secondaire", "001"},
        {"Exercice Par Défaut:", "2019"},
        {"Raison Sociale :", "NOUVELLE"},
        {"Activité :", "SERVICES"},
        {"Ville:", "SFAX"},
        {"Rue:", "RUE 1"},
        {"Numero:", "12"},
        {"Code Postal:", "3000"},
        {"Lien avec la Paie du Personnel:", "/paie/PAIE.gdb"}};
    for (const auto &[caption, text] : typed)
        enter(edit, QString::fromUtf8(caption), QString::fromUtf8(text));
    EXPECT_TRUE(edit->editor(QStringLiteral("Active O/N"))->hasFocus());
    QTest::keyClick(edit->editor(QStringLiteral("Active O/N")), Qt::Key_Space);
    QPointer<Tfrmparamsociete> guard(edit);
    QTest::keyClick(edit->editor(QStringLiteral("Code Postal:")), Qt::Key_F10);
    flushDeletes();
    EXPECT_TRUE(guard.isNull());

    auto row = [&](const char *column) {
        return scalar(QStringLiteral("select %1 from SOCIETE where IDENTIFIANT = '7654321'").arg(column))
            .toString();
    };
    EXPECT_EQ(row("CLE") + row("CATEGORIE") + row("ETABSECONDAIRE"), QStringLiteral("BP001"));
    EXPECT_EQ(row("EXERCICE"), QStringLiteral("2019"));
    EXPECT_EQ(row("RAISON_SOCIALE"), QStringLiteral("NOUVELLE").leftJustified(40));
    EXPECT_EQ(row("RUE"), QStringLiteral("RUE 1").leftJustified(72));
    EXPECT_EQ(row("NUMERO"), QStringLiteral("12  "));
    EXPECT_EQ(row("CODEPOSTAL"), QStringLiteral("3000"));
    EXPECT_EQ(row("LIENPAIE"), QStringLiteral("/paie/PAIE.gdb"));
    EXPECT_EQ(row("ACTIVEON"), QStringLiteral("O"));
}

TEST_F(ReferenceWindowsTest, CompanyParametersAbandonedOrRefused) {
    addCompany(QStringLiteral("1234567"), 2018, QStringLiteral("SOCIETE TEST"));
    auto *list = openFromRibbon<Tfrmsocietes>(QStringLiteral("Sociétés"));
    // A change abandoned by "Annuler", then by the close box.
    for (const bool byButton : {true, false}) {
        click(list, QStringLiteral("Modifier"));
        auto *edit = editWindowOf<Tfrmparamsociete>(list);
        ASSERT_NE(edit, nullptr);
        enter(edit, QStringLiteral("Raison Sociale :"), QStringLiteral("CHANGEE"));
        if (byButton)
            click(edit, QStringLiteral("Annuler"));
        else
            closeBox(edit);
        flushDeletes();
        EXPECT_EQ(scalar(QStringLiteral("select RAISON_SOCIALE from SOCIETE")).toString(),
                  QStringLiteral("SOCIETE TEST"));
        EXPECT_EQ(dm.Isociete.text(QStringLiteral("RAISON_SOCIALE")), QStringLiteral("SOCIETE TEST"));
    }
    // A new company without its key parts: the data layer's message, the window stays with the entry.
    click(list, QStringLiteral("Ajouter"));
    auto *edit = editWindowOf<Tfrmparamsociete>(list);
    enter(edit, QStringLiteral("Matricule Fiscal"), QStringLiteral("9999999"));
    const QStringList messages =
        answerMessageBoxes([&] { click(edit, QStringLiteral("OK")); }, QMessageBox::Ok);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages.first(), QStringLiteral("Le champ 'CLE' doit avoir une valeur."));
    EXPECT_TRUE(edit->isVisible());
    EXPECT_EQ(dm.Isociete.state(), Dataset::State::Insert);
    click(edit, QStringLiteral("Annuler"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from SOCIETE")).toInt(), 1);
}

TEST_F(ReferenceWindowsTest, CompanyDeletionPassword) {
    addCompany(QStringLiteral("1111111"), 2018, QStringLiteral("A"));
    addCompany(QStringLiteral("2222222"), 2018, QStringLiteral("B"));
    auto *list = openFromRibbon<Tfrmsocietes>(QStringLiteral("Sociétés"));
    auto deleteWith = [&](const QString &password) {
        withModals([&] { click(list, QStringLiteral("Supprimer")); },
                   [&](QWidget *modal) {
                       auto *dialog = qobject_cast<TFrmMotPasse *>(modal);
                       ASSERT_NE(dialog, nullptr);
                       QTest::keyClicks(dialog->passwordEdit(), password);
                       EXPECT_EQ(dialog->passwordEdit()->echoMode(), QLineEdit::Password);
                       QTest::keyClick(dialog->passwordEdit(), Qt::Key_Return);
                   });
    };
    deleteWith(QStringLiteral("mauvais")); // ignored without a word
    EXPECT_EQ(dm.Isociete.rowCount(), 2);
    deleteWith(QStringLiteral("  qorvintel "));
    EXPECT_EQ(dm.Isociete.rowCount(), 1);
    dm.commit();
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from SOCIETE")).toInt(), 1);
}

TEST_F(ReferenceWindowsTest, InitialisationNeedsTheExactPassword) {
    addThirdParty(1, QStringLiteral("GARDE"));
    exec(QStringLiteral("insert into RISTOURNE (NUMERO, CODE) values (1, 1)"));
    auto *window = openFromRibbon<TFrminitialisation>(QStringLiteral("Initialisation"));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Initialisation"));
    QTest::keyClicks(window->passwordEdit(), QStringLiteral(" qorvintel "));
    QStringList messages = answerMessageBoxes([&] { click(window, QStringLiteral("OK")); }, QMessageBox::Ok);
    EXPECT_EQ(messages, QStringList{QStringLiteral("Mot de Passe Incorrect")});
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from RISTOURNE")).toInt(), 1);

    window->passwordEdit()->clear();
    QTest::keyClicks(window->passwordEdit(), QStringLiteral("qorvintel"));
    QPointer<TFrminitialisation> guard(window);
    messages = answerMessageBoxes([&] { click(window, QStringLiteral("OK")); }, QMessageBox::Ok);
    EXPECT_EQ(messages, QStringList{QStringLiteral("Initialisation efféctuée")});
    flushDeletes();
    EXPECT_TRUE(guard.isNull());
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from RISTOURNE")).toInt(), 0);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from TIERS")).toInt(), 1);
}

TEST_F(ReferenceWindowsTest, WithholdingTypeConfirmedByF10SavedByTheCloseBox) {
    auto *types = openFromRibbon<TFrmtyperetenue>(QStringLiteral("Types Retenues"));
    ASSERT_NE(types, nullptr);
    EXPECT_EQ(types->windowTitle(), QStringLiteral("Types des Retenue"));
    EXPECT_EQ(types->grid()->model()->rowCount(), 38);
    click(types, QStringLiteral("Ajouter"));
    auto *edit = editWindowOf<TFrmtyperetenuemaj>(types);
    ASSERT_NE(edit, nullptr);
    enter(edit, QStringLiteral("N°Type"), QStringLiteral("50"));
    enter(edit, QStringLiteral("Désignation Type"), QStringLiteral("Retenue nouvelle"));
    QTest::keyClick(edit->editor(QStringLiteral("Taux")), Qt::Key_F10);
    EXPECT_TRUE(edit->isVisible());
    closeBox(edit);
    EXPECT_EQ(scalar(QStringLiteral("select DESIGNATION from TYPERETENUE where NUMEROTYPE = 50")).toString(),
              QStringLiteral("Retenue nouvelle"));
    EXPECT_EQ(scalar(QStringLiteral("select TAUX from TYPERETENUE where NUMEROTYPE = 50")).toDouble(), 0.0);

    // Without a number: the data layer's message names NUMEROTYPE and the window stays with the entry.
    click(types, QStringLiteral("Ajouter"));
    edit = editWindowOf<TFrmtyperetenuemaj>(types);
    enter(edit, QStringLiteral("Désignation Type"), QStringLiteral("Sans numéro"));
    const QStringList messages =
        answerMessageBoxes([&] { click(edit, QStringLiteral("OK")); }, QMessageBox::Ok);
    EXPECT_EQ(messages, QStringList{QStringLiteral("Le champ 'NUMEROTYPE' doit avoir une valeur.")});
    EXPECT_TRUE(edit->isVisible());
    enter(edit, QStringLiteral("N°Type"), QStringLiteral("51"));
    click(edit, QStringLiteral("OK"));
    flushDeletes();
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from TYPERETENUE")).toInt(), 40);

    types->close();
    EXPECT_FALSE(dm.ityperetenue.isOpen());
}

TEST_F(ReferenceWindowsTest, CancelAfterAddLeavesNoRow) {
    auto *tiers = openFromRibbon<TFrmtiersgrille>(QStringLiteral("Tiers"));
    ASSERT_NE(tiers, nullptr);
    EXPECT_TRUE(tiers->button(QStringLiteral("importer"))->isEnabled());
    click(tiers, QStringLiteral("Ajouter"));
    auto *edit = editWindowOf<TFrmtiersmaj>(tiers);
    enter(edit, QStringLiteral("Code"), QStringLiteral("7"));
    EXPECT_EQ(tiers->grid()->model()->rowCount(), 1); // the grid shows the row being entered
    click(edit, QStringLiteral("Annuler"));
    flushDeletes();
    EXPECT_EQ(tiers->grid()->model()->rowCount(), 0);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from TIERS")).toInt(), 0);
}

TEST_F(ReferenceWindowsTest, ThirdPartyPaddingAndCodedChoices) {
    auto *tiers = openFromRibbon<TFrmtiersgrille>(QStringLiteral("Tiers"));
    click(tiers, QStringLiteral("Ajouter"));
    auto *edit = editWindowOf<TFrmtiersmaj>(tiers);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->windowTitle(), QStringLiteral("Mise à Jour des Tiers"));
    enter(edit, QStringLiteral("Code"), QStringLiteral("42"));

    // A coded choice picked from the list keeps its digit.
    auto *type = qobject_cast<QComboBox *>(edit->editor(QStringLiteral("Type Identifiant")));
    ASSERT_NE(type, nullptr);
    EXPECT_TRUE(type->hasFocus());
    EXPECT_EQ(type->count(), 4);
    type->showPopup();
    QAbstractItemView *list = type->view();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(type->model()->index(1, 0)).center());
    EXPECT_EQ(type->currentText(), QStringLiteral("2: N° CIN"));
    EXPECT_EQ(dm.Itiers.text(QStringLiteral("TYPEIDENTIFIANT")), QStringLiteral("2"));
    QTest::keyClick(type, Qt::Key_Return);

    enter(edit, QStringLiteral("Identifiant du Bénéficiaire"), QStringLiteral("01234567"));
    enter(edit, QStringLiteral("Physique/Morale"), QStringLiteral("1 tape"));
    enter(edit, QStringLiteral("Nom ou Raison Sociale"), QStringLiteral("DIX LETTRE"));
    enter(edit, QStringLiteral("Activité"), QString());
    click(edit, QStringLiteral("OK"));
    flushDeletes();

    auto column = [&](const char *c) {
        return scalar(QStringLiteral("select %1 from TIERS where CODE = 42").arg(c)).toString();
    };
    EXPECT_EQ(column("TYPEIDENTIFIANT"), QStringLiteral("2"));
    EXPECT_EQ(column("PHYSIQUEMORALE"), QStringLiteral("1"));
    EXPECT_EQ(column("IDENTIFIANT"), QStringLiteral("01234567     "));
    EXPECT_EQ(column("NOMBENEFICIAIRE"), QStringLiteral("DIX LETTRE") + QString(30, QLatin1Char(' ')));
    EXPECT_EQ(column("ACTIVITE"), QString(40, QLatin1Char(' '))); // left empty: blanks to the width
    EXPECT_EQ(column("ADRESSE"), QString(120, QLatin1Char(' '))); // left by the click on "OK"

    // Modifier shows the stored code with its label; "Supprimer" asks first.
    click(tiers, QStringLiteral("Modifier"));
    edit = editWindowOf<TFrmtiersmaj>(tiers);
    EXPECT_EQ(qobject_cast<QComboBox *>(edit->editor(QStringLiteral("Type Identifiant")))->currentText(),
              QStringLiteral("2: N° CIN"));
    click(edit, QStringLiteral("fermer"));
    flushDeletes();
    answerMessageBoxes([&] { click(tiers, QStringLiteral("Supprimer")); }, QMessageBox::No);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from TIERS")).toInt(), 1);
    const QStringList asked =
        answerMessageBoxes([&] { click(tiers, QStringLiteral("Supprimer")); }, QMessageBox::Yes);
    EXPECT_EQ(asked, QStringList{QStringLiteral("Voulez-vous supprimer l'enregistrement en cours ?")});
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from TIERS")).toInt(), 0);
}

TEST_F(ReferenceWindowsTest, PersonnelEntryAndNumberOrderAfterClosing) {
    exec(QStringLiteral("insert into PERSONNEL (MATRICULE, NOMPRENOM) values ('B2', 'SECOND')"));
    exec(QStringLiteral("insert into PERSONNEL (MATRICULE, NOMPRENOM) values ('A1', 'PREMIER')"));
    auto *personnel = openFromRibbon<TFrmpersonnel>(QStringLiteral("Personnel"));
    ASSERT_NE(personnel, nullptr);
    EXPECT_EQ(personnel->windowTitle(), QStringLiteral("Personnel"));
    click(personnel, QStringLiteral("Ajouter"));
    auto *edit = editWindowOf<TFrmpersonnelmaj>(personnel);
    ASSERT_NE(edit, nullptr);
    enter(edit, QStringLiteral("Matricule"), QStringLiteral("C3"));
    enter(edit, QStringLiteral("Nom Prénom"), QStringLiteral("DOUZE LETTRE"));
    enter(edit, QStringLiteral("Emploi Occupé"), QStringLiteral("COMPTABLE"));
    enter(edit, QStringLiteral("Dernière Adresse du Bénéficiaire"), QStringLiteral("TUNIS"));
    enter(edit, QStringLiteral("Situation Familiale"), QStringLiteral("4"));
    EXPECT_EQ(dm.ipersonnel.text(QStringLiteral("ETATCIVIL")), QStringLiteral("4"));
    enter(edit, QStringLiteral("Nombre d'Enfant à Charge"), QStringLiteral("3x")); // the letter is refused
    enter(edit, QStringLiteral("Type Identifiant"), QStringLiteral("2"));
    enter(edit, QStringLiteral("Identifiant"), QStringLiteral("0123"));
    qobject_cast<QDateEdit *>(edit->editor(QStringLiteral("Date début de la Période de Travail")))
        ->setDate(QDate(2018, 1, 1));
    QTest::keyClick(edit->editor(QStringLiteral("Identifiant")), Qt::Key_F10);
    click(edit, QStringLiteral("Annuler")); // confirmed before: saved on closing
    flushDeletes();

    auto column = [&](const char *c) {
        return scalar(QStringLiteral("select %1 from PERSONNEL where MATRICULE = 'C3'").arg(c));
    };
    EXPECT_EQ(column("NOMPRENOM").toString(), QStringLiteral("DOUZE LETTRE") + QString(28, QLatin1Char(' ')));
    EXPECT_EQ(column("ETATCIVIL").toString(), QStringLiteral("4"));
    EXPECT_EQ(column("ENFANT").toInt(), 3);
    EXPECT_EQ(column("TYPEIDENTIFIANT").toString(), QStringLiteral("2"));
    EXPECT_EQ(column("IDENTIFIANT").toString(), QStringLiteral("0123")); // not padded
    EXPECT_EQ(column("DATEDEBUT").toDateTime().date(), QDate(2018, 1, 1));
    EXPECT_TRUE(column("DATEFIN").isNull());

    personnel->close();
    flushDeletes();
    EXPECT_EQ(dm.ipersonnel.sql(), QStringLiteral("select * from personnel Order by matricule "));
    personnel = openFromRibbon<TFrmpersonnel>(QStringLiteral("Personnel"));
    EXPECT_EQ(shown(personnel->grid(), QStringLiteral("Matricule")), (QStringList{"A1", "B2", "C3"}));
}

} // namespace

namespace {

TEST_F(ReferenceWindowsTest, MainWindowCommandsOpenTheReferenceWindows) {
    for (const char *command : {"Paramètres > Sociétés", "Paramètres > Types Retenues", "Paramètres > Tiers",
                                "Paramètres > Personnel", "Paramètres > Initialisation",
                                "Parametres > Types de Retenues", "Saisie > Identification des Tiers",
                                "Saisie > Identification du Personnel", "Accès rapide > Sociétés"})
        EXPECT_FALSE(frame->disabledCommands().contains(QString::fromUtf8(command))) << command;
    clickMenu(QStringLiteral("Saisie"), QStringLiteral("Identification du Personnel"));
    clickMenu(QStringLiteral("Parametres"), QStringLiteral("Types de Retenues"));
    QStringList opened;
    for (QMdiSubWindow *child : frame->mdiArea()->subWindowList())
        opened << QString::fromLatin1(child->widget()->metaObject()->className());
    EXPECT_EQ(opened, (QStringList{"TFrmpersonnel", "TFrmtyperetenue"}));
}

} // namespace

namespace {

// The edit windows close with their browse window, through their own closing: nothing stays pending on
// the shared dataset, to be saved silently by a later move.
TEST_F(ReferenceWindowsTest, ClosingABrowseWindowClosesItsEditWindowFirst) {
    auto *list = openFromRibbon<Tfrmsocietes>(QStringLiteral("Sociétés"));
    click(list, QStringLiteral("Ajouter"));
    enter(editWindowOf<Tfrmparamsociete>(list), QStringLiteral("Matricule Fiscal"),
          QStringLiteral("7654321"));
    click(list, QStringLiteral("Fermer"));
    flushDeletes();
    EXPECT_FALSE(dm.Isociete.isEditing());
    EXPECT_EQ(dm.Isociete.rowCount(), 0);

    auto *tiers = openFromRibbon<TFrmtiersgrille>(QStringLiteral("Tiers"));
    click(tiers, QStringLiteral("Ajouter"));
    auto *edit = editWindowOf<TFrmtiersmaj>(tiers);
    enter(edit, QStringLiteral("Code"), QStringLiteral("5"));
    QTest::keyClick(edit->editor(QStringLiteral("Type Identifiant")), Qt::Key_F10);
    click(tiers, QStringLiteral("Fermer"));
    flushDeletes();
    EXPECT_FALSE(dm.Itiers.isEditing());
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from TIERS where CODE = 5")).toInt(), 1);
}

} // namespace
