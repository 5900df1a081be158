#pragma once

#include "declaration/DeclarationError.h"
#include "tests/support/DataModuleFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <ostream>

// Readable failures: texts as texts.
inline void PrintTo(const QString &s, std::ostream *os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QByteArray &b, std::ostream *os) {
    *os << '"' << b.toStdString() << '"';
}

inline QByteArray readFile(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A data module on a fresh database holding the company 1234567AM000 (fiscal year 2018, marked "O", its
// texts stored without their padding), and the folder the files are written into.
class DeclarationFixture : public DataModuleFixture {
protected:
    DeclarationFixture() {
        exec(QStringLiteral("insert into SOCIETE (IDENTIFIANT, CLE, CATEGORIE, ETABSECONDAIRE, "
                            "RAISON_SOCIALE, ACTIVITE, VILLE, "
                            "RUE, NUMERO, CODEPOSTAL, EXERCICE, ACTIVEON) values ('1234567', 'A', 'M', "
                            "'000', 'SOCIETE TEST', "
                            "'COMMERCE', 'TUNIS', 'RUE DE MARSEILLE', '12', '1000', 2018, 'O')"));
    }

    // One row in every annex, two in Annexes I, II and VI: empty amounts, an empty date, NBJOURS 25.5, an
    // amount of 1234.5675, a TYPEMONTANT stored " 7", texts shorter than their columns, and rows that count
    // on several recap lines. The expected files in tests/declaration/expected are written from these rows.
    void insertRowsInEveryAnnex() {
        exec(QStringLiteral(
            "insert into ANNEXEI (CODESOCIETE, EXERCICE, NUMEROORDRE, TYPEIDENTIFIANT, "
            "IDENTIFIANTBENEFICIAIRE, "
            "NOMPRENOM, EMPLOIOCCUPE, ADRESSE, ETATCIVIL, ENFANT, DATEFIN, DATEDEBUT, REVENUIMPOSABLE, "
            "AVANTAGENATURE, TOTALREVENU, REVENUREINVESTI, RETENUEOPERES, MONTANTNET, NBJOURS, RETENUES20, "
            "RETENUECONJONCTURELLE) values ('1234567AM000', '2018', 1, '2', '01234567', 'BEN SALAH ALI', "
            "'  INGENIEUR', ' 5 RUE DE ROME  ', '2', 3, null, '2018-01-01', 1234.5675, 0, 1234.5675, 0, "
            "100.25, "
            "1134.318, 25.5, null, 12.5)"));
        exec(QStringLiteral(
            "insert into ANNEXEI (CODESOCIETE, EXERCICE, NUMEROORDRE, TYPEIDENTIFIANT, "
            "IDENTIFIANTBENEFICIAIRE, "
            "NOMPRENOM, EMPLOIOCCUPE, ADRESSE, ETATCIVIL, ENFANT, DATEFIN, DATEDEBUT, REVENUIMPOSABLE, "
            "AVANTAGENATURE, TOTALREVENU, REVENUREINVESTI, RETENUEOPERES, MONTANTNET, NBJOURS, RETENUES20, "
            "RETENUECONJONCTURELLE) values ('1234567AM000', '2018', 2, '3', 'P1234567', 'DUPONT MARIE', "
            "'COMPTABLE', 'AV BOURGUIBA', '1', 0, '2018-12-31', '2018-03-01', 12000, 500, 12500, 0, 0, "
            "12450, "
            "312, 50, 0)"));
        exec(QStringLiteral(
            "insert into ANNEXEII (IDENTIFIANT, EXERCICE, NUMEROORDRE, TYPEIDENTIFIANT, "
            "IDENTIFIANTBENEFICIAIRE, "
            "RAISONSOCIALE, ACTIVITE, ADRESSE, TYPEMONTANTSERVIS, MONTANTBRUT, HONORAIRESERVIS, "
            "JETONSPRESENCES, "
            "REMUNIRATIONS, PLUSVALUE, LOYERSHOTELS, RETENUESOPERES, NETSERVIS, RISTOURNES, PHYSIQUEMORALE) "
            "values ('1234567AM000', '2018', 1, '1', '0000001B', 'CABINET ALPHA', 'CONSEIL', 'SFAX', '1', 0, "
            "100, "
            "0, 0, 0, 200, 15, 285, 0, '2')"));
        exec(QStringLiteral(
            "insert into ANNEXEII (IDENTIFIANT, EXERCICE, NUMEROORDRE, TYPEIDENTIFIANT, "
            "IDENTIFIANTBENEFICIAIRE, "
            "RAISONSOCIALE, ACTIVITE, ADRESSE, TYPEMONTANTSERVIS, MONTANTBRUT, HONORAIRESERVIS, "
            "JETONSPRESENCES, "
            "REMUNIRATIONS, PLUSVALUE, LOYERSHOTELS, RETENUESOPERES, NETSERVIS, RISTOURNES, PHYSIQUEMORALE, "
            "TYPEMONTSERVISEXPORTATION, ACTIONJETON, MONTANTPRIMESCONSEIL) values ('1234567AM000', '2018', "
            "2, "
            "'2', '07654321', 'BEN ALI SAMI', 'ADMINISTRATEUR', 'SOUSSE', '6', 1000, 0, 300, 0, 0, 0, 150, "
            "850, "
            "0, '1', '1', 'O', 300)"));
        exec(QStringLiteral(
            "insert into ANNEXEIII (IDENTIFIANT, EXERCICE, NUMEROORDRE, TYPEIDENTIFIANT, "
            "IDENTIFIANTBENEFICIAIRE, "
            "RAISONSOCIALE, ACTIVITE, ADRESSE, INTERETDESCOMPTES, INTERETCAPITAUX, INTERETPRETS, "
            "MONTANTRETENUES, "
            "NETSERVIS, PHYSIQUEMORALE) values ('1234567AM000', '2018', 1, '1', '1111111C', 'BANQUE BETA', "
            "'BANQUE', 'TUNIS', 500, 1000, 0, 300, 1200, '2')"));
        exec(QStringLiteral(
            "insert into ANNEXEIV (IDENTIFIANT, EXERCICE, NUMEROORDRE, TYPEIDENTIFIANT, "
            "IDENTIFIANTBENEFICIAIRE, "
            "RAISONSOCIALE, ACTIVITE, ADRESSE, TYPEMONTANTSERVIS, TAUXMONTANT, MONTANTBRUTS, "
            "TAUXREMUNIRATIONS, "
            "REMUNIRATIONS, TAUXPLUSVALUE, TAUXVALEURMOBILIERE, REVENUSVELEURMOBILIER, RETENUS, NETSERVIS, "
            "PHYSIQUEMORALE, MONTANTPLUSVALUE, MONTANPARADIS, ACTIONPART) values ('1234567AM000', '2018', 1, "
            "'4', 'FR12345', 'SOCIETE GAMMA', 'ETUDES', 'PARIS', '7', 15, 2000, 2.5, 400, 0, 0.5, 100, 350, "
            "3150, '2', 1000, 0, 'O')"));
        exec(QStringLiteral(
            "insert into ANNEXEV (IDENTIFIANT, EXERCICE, NUMEROORDRE, TYPEIDENTIFIANT, "
            "IDENTIFIANTBENEFICIAIRE, "
            "RAISONSOCIALE, ACTIVITE, ADRESSE, MARCHES, RETENUESMARCHES, ASSIETETVA, RETENUESURTVA, "
            "MARCHEETRANGER, RETENUEMARCHEETRANGER, NETSERVIS, RISTOURNES, PHYSIQUEMORALE) values "
            "('1234567AM000', '2018', 1, '1', '2222222D', 'ENTREPRISE DELTA', 'TRAVAUX', 'BIZERTE', 5000, "
            "75, "
            "1000, 250, 0, 0, 4675, 0, '2')"));
        exec(QStringLiteral(
            "insert into ANNEXEVI (IDENTIFIANT, EXERCICE, NUMEROORDRE, TYPEIDENTIFIANT, "
            "IDENTIFIANTBENEFICIAIRE, RAISONSOCIALE, ACTIVITE, ADRESSE, PHYSIQUEMORALE) values "
            "('1234567AM000', '2018', 1, '2', '03333333', 'CLIENT EPSILON', 'DETAIL', 'NABEUL', "
            "'1')"));
        exec(QStringLiteral(
            "insert into ANNEXEVI (IDENTIFIANT, EXERCICE, NUMEROORDRE, TYPEIDENTIFIANT, "
            "IDENTIFIANTBENEFICIAIRE, "
            "RAISONSOCIALE, ACTIVITE, ADRESSE, PHYSIQUEMORALE, MONTANTPPFORFAITAIRE, AVANCEPPFORFAITAIRE, "
            "MONTANTJEUX, RETENUEJEUX) values ('1234567AM000', '2018', 2, '2', '04444444', 'CLIENT ZETA', "
            "'EPICERIE', 'GABES', '1', 2000, 20, 100, 25)"));
        exec(QStringLiteral("insert into ANNEXEVII (IDENTIFIANT, EXERCICE, NUMEROORDRE, TYPEIDENTIFIANT, "
                            "IDENTIFIANTBENEFICIAIRE, "
                            "RAISONSOCIALE, ACTIVITE, ADRESSE, MONTANTPAYES, RETENUALASOURCE, "
                            "MONTANTNETSERVIS, PHYSIQUEMORALE, "
                            "TYPEMONTANT) values ('1234567AM000', '2018', 1, '1', '5555555E', 'MANDANT ETA', "
                            "'NEGOCE', 'MONASTIR', "
                            "700, 7, 693, '2', ' 7')"));
    }

    // The fixture's annex rows again, undoing any change made to them.
    void resetAnnexes() {
        for (const char *table :
             {"ANNEXEI", "ANNEXEII", "ANNEXEIII", "ANNEXEIV", "ANNEXEV", "ANNEXEVI", "ANNEXEVII"})
            exec(QStringLiteral("delete from ") + QLatin1String(table));
        insertRowsInEveryAnnex();
    }

    QStringList filesWritten() const { return QDir(out.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir out;
};
