#include "tests/app/ReferenceFixture.h"

#include "annexes/AnnexDefinitions.h"
#include "annexes/windows/AnnexEditWindow.h"
#include "data/Dataset.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPointer>

namespace {

class AnnexEditWindowsTest : public ReferenceFixture {
protected:
    // The edit window on a new row of an annex, as "Ajouter" makes it.
    AnnexEditWindow *addRow(int annex) {
        const AnnexDefinition &a = annexDefinition(annex);
        Dataset &ds = dm.annex(annex);
        ds.close();
        ds.setSql(QStringLiteral("select * from %1 where %2=:code and exercice=:exercice")
                      .arg(QLatin1String(a.table), QLatin1String(a.companyColumn)));
        ds.setParam(QStringLiteral("code"), dm.activeCompany.code);
        ds.setParam(QStringLiteral("exercice"), dm.activeCompany.exercice);
        ds.open();
        AnnexEditWindow *w = newAnnexEditWindow(dm, annex, &owner);
        ds.append();
        ds.setValue(QLatin1String(a.companyColumn), dm.activeCompany.code);
        ds.setValue(QStringLiteral("EXERCICE"), dm.activeCompany.exercice);
        w->show();
        QCoreApplication::processEvents();
        return w;
    }
    // Types into the field of a label and leaves it with Enter.
    static void enter(EditWindow *w, const char *label, const QString &text) {
        QWidget *field = w->editor(QString::fromUtf8(label));
        ASSERT_NE(field, nullptr) << label;
        typeInto(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }
    static void click(QWidget *w, const char *caption) {
        for (QPushButton *b : w->findChildren<QPushButton *>())
            if (b->text() == QLatin1String(caption))
                QTest::mouseClick(b, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void fillIdentity(EditWindow *w, int annex) {
        const AnnexDefinition &a = annexDefinition(annex);
        for (const AnnexColumn &c : a.columns)
            if ((c.flags & Required) && !(c.flags & Heading) && !(c.flags & (StartZero | Complete)))
                enter(w, c.label,
                      c.field == AnnexField::Choice ? QStringLiteral("1") : QStringLiteral("NOM"));
    }
    int rows(int annex) {
        return scalar(
                   QStringLiteral("select count(*) from %1").arg(QLatin1String(annexDefinition(annex).table)))
            .toInt();
    }

    QWidget owner;
};

// The sums each window computes as a field is left; they differ from the verification's on purpose.
TEST_F(AnnexEditWindowsTest, NetsComputedOnLeavingAField) {
    struct Case {
        int annex;
        std::vector<std::pair<const char *, const char *>> typed; // in window order, the last one left
        const char *target;
        double expected;
    } cases[] = {
        {1,
         {{"Revenu Imposable", "1000"},
          {"Valeur des Avantages en Nature ", "200"},
          {"Revenu Réinvesti", "50"},
          {"Retenues Opérées (Régime Commun)", "100"},
          {"Retenues Opérées au Taux de 20%", "10"},
          {"Contribution Sociale de Solidarité", "5"}},
         "MONTANTNET",
         1035},
        {2,
         {{"Montant Brut (honoraires, commissions, courtages, loyers, rémunérations)", "100"},
          {"Rémunérations et primes des membres des conseils et comités", "70"},
          {"Montants des Retenues Opérées:", "15"}},
         "NETSERVIS",
         85},
        {3, {{"Intérêts des Comptes Spéciaux d'Epargne", "40"}, {"Retenus Opérées:", "4"}}, "NETSERVIS", 36},
        {5,
         {{"Montants des Opérations d'Exportation et des Ventes taxées à 10%", "500"},
          {"Montants des Autres Opérations (1000 D et plus)", "2000"}},
         "NETSERVIS",
         2000},
        {7, {{"Montants Payés:", "300"}, {"Retenus Opérées:", "45"}}, "MONTANTNETSERVIS", 255},
    };
    for (const Case &c : cases) {
        AnnexEditWindow *w = addRow(c.annex);
        for (const auto &[label, text] : c.typed)
            enter(w, label, QString::fromUtf8(text));
        EXPECT_DOUBLE_EQ(dm.annex(c.annex).number(QLatin1String(c.target)), c.expected) << c.annex;
        click(w, "Annuler");
    }
}

TEST_F(AnnexEditWindowsTest, AnnexIDurationTotalAndCivilStatus) {
    AnnexEditWindow *w = addRow(1);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Mise à Jour Annexe I"));
    EXPECT_EQ(dm.iannexei.text(QStringLiteral("TYPEIDENTIFIANT")), QStringLiteral("2"));
    enter(w, "Nombre d'Enfant à Charge", QStringLiteral("3"));
    // Single: no child, and the count is passed by.
    enter(w, "Situation Familiale", QStringLiteral("1"));
    EXPECT_EQ(dm.iannexei.value(QStringLiteral("ENFANT")).toInt(), 0);
    EXPECT_TRUE(w->editor(QStringLiteral("Date Début de la Période de Travail"))->hasFocus());

    auto *start = qobject_cast<QDateEdit *>(w->editor(QStringLiteral("Date Début de la Période de Travail")));
    auto *end = qobject_cast<QDateEdit *>(w->editor(QStringLiteral("Date Fin de la Période de Travail")));
    start->setDate(QDate(2018, 1, 1));
    QTest::keyClick(start, Qt::Key_Return);
    end->setDate(QDate(2018, 12, 31));
    QTest::keyClick(end, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(dm.iannexei.number(QStringLiteral("NBJOURS")), 365);

    // The total income waits for the benefits field to be left, and is passed by.
    enter(w, "Revenu Imposable", QStringLiteral("800"));
    EXPECT_DOUBLE_EQ(dm.iannexei.number(QStringLiteral("TOTALREVENU")), 0);
    enter(w, "Valeur des Avantages en Nature ", QStringLiteral("20"));
    EXPECT_DOUBLE_EQ(dm.iannexei.number(QStringLiteral("TOTALREVENU")), 820);
    EXPECT_TRUE(w->editor(QStringLiteral("Revenu Réinvesti"))->hasFocus());
}

TEST_F(AnnexEditWindowsTest, AcceptAbandonAndClose) {
    struct Case {
        const char *what;
        bool f10;
        const char *closing;
        int rowsAfter;
    } cases[] = {
        {"F10 then fermer saves", true, "fermer", 1},
        {"fermer without F10 abandons", false, "fermer", 1},
        {"Annuler after F10 abandons", true, "Annuler", 1},
        {"OK saves", false, "OK", 2},
    };
    for (const Case &c : cases) {
        AnnexEditWindow *w = addRow(3);
        fillIdentity(w, 3);
        if (c.f10)
            QTest::keyClick(w->editor(QStringLiteral("Retenus Opérées:")), Qt::Key_F10);
        QPointer<AnnexEditWindow> guard(w);
        click(w, c.closing);
        EXPECT_TRUE(guard.isNull()) << c.what;
        EXPECT_FALSE(dm.iannexeiii.isEditing()) << c.what;
        EXPECT_EQ(rows(3), c.rowsAfter) << c.what;
    }
    // The saved rows hold 0 in every amount never touched, and the padded identity.
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from ANNEXEIII where INTERETCAPITAUX = 0 and "
                                    "RAISONSOCIALE = '%1'")
                         .arg(QStringLiteral("NOM").leftJustified(40)))
                  .toInt(),
              2);
}

TEST_F(AnnexEditWindowsTest, FailedSaveKeepsTheWindowOpenWithTheMessage) {
    AnnexEditWindow *w = addRow(1);
    enter(w, "Identifiant du Bénéficiaire", QStringLiteral("12345678"));
    EXPECT_EQ(dm.iannexei.text(QStringLiteral("IDENTIFIANTBENEFICIAIRE")), QStringLiteral("12345678     "));
    enter(w, "Nom & Prénom", QString()); // left empty: padded to blanks, still no name
    const QStringList messages = answerMessageBoxes([&] { click(w, "OK"); }, QMessageBox::Ok);
    EXPECT_EQ(messages, QStringList{QStringLiteral("Le champ 'NOMPRENOM' doit avoir une valeur.")});
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(dm.iannexei.state(), Dataset::State::Insert);
    EXPECT_EQ(rows(1), 0);
    click(w, "Annuler");
    EXPECT_EQ(dm.iannexei.rowCount(), 0);
}

TEST_F(AnnexEditWindowsTest, AnnexIICheckBoxesWriteTheirOwnColumns) {
    AnnexEditWindow *w = addRow(2);
    for (const char *box : {"Action et Part Sociale", "Opérateurs Téléphoniques"}) {
        auto *check = qobject_cast<QCheckBox *>(w->editor(QString::fromUtf8(box)));
        ASSERT_NE(check, nullptr) << box;
        check->setFocus();
        QTest::keyClick(check, Qt::Key_Space);
    }
    EXPECT_EQ(dm.iannexeii.text(QStringLiteral("ACTIONJETON")), QStringLiteral("O"));
    EXPECT_EQ(dm.iannexeii.text(QStringLiteral("OPERATEURTELEPHONIQUE")), QStringLiteral("O"));
    click(w, "Annuler");
}

TEST_F(AnnexEditWindowsTest, AnnexVIIKindsOfAmountsAreTheWithholdingTypes) {
    exec(QStringLiteral("update TYPERETENUE set DESIGNATION = 'Honoraires' where NUMEROTYPE = 12"));
    AnnexEditWindow *w = addRow(7);
    auto *kinds = qobject_cast<QComboBox *>(w->editor(QStringLiteral("Type des Montants Payés:")));
    ASSERT_NE(kinds, nullptr);
    ASSERT_EQ(kinds->count(), 38);
    EXPECT_EQ(kinds->itemText(11), QStringLiteral("12:Honoraires"));
    EXPECT_TRUE(w->typeLabel()->text().isEmpty());
    typeInto(kinds, QStringLiteral("12")); // completed to its item as typed
    EXPECT_EQ(kinds->currentText(), QStringLiteral("12:Honoraires"));
    QTest::keyClick(kinds, Qt::Key_Return);
    EXPECT_EQ(dm.iannexevii.text(QStringLiteral("TYPEMONTANT")).trimmed(), QStringLiteral("12"));
    EXPECT_EQ(w->typeLabel()->text(), QStringLiteral("Honoraires"));
    click(w, "Annuler");
}

} // namespace
