#pragma once

#include "tests/exchange/SpreadsheetFiles.h"

// The rows of the import fixtures: the same as those of fixtures/annexes.xls (make_xls_fixture.cpp), so
// that every format is imported and checked alike.

namespace importdata {

inline QVariant s(const char *text) {
    return QString::fromUtf8(text);
}
inline QVariant n(double d) {
    return d;
}

inline testfiles::Rows annexI() {
    const QVariant end = QDate(2018, 12, 31), start = QDate(2018, 1, 1);
    return {
        {s("Code"),         s("Exercice"),
         s("N°"),           s("Type"),
         s("Identifiant"),  s("Nom"),
         s("Emploi"),       s("Adresse"),
         s("Etat civil"),   s("Enfants"),
         s("Date fin"),     s("Date début"),
         s("Jours"),        s("Revenu imposable"),
         s("Avantages"),    s("Total"),
         s("Réinvesti"),    s("Retenues"),
         s("Retenues 20%"), s("CSS"),
         s("Net")},
        {s("1234567AM000"),
         s("2018"),
         n(1),
         n(2),
         s("01234567"),
         s("Hédi Ben Salah"),
         s("Comptable"),
         s("12 rue de Marseille"),
         s("1"),
         n(2),
         end,
         start,
         n(312),
         n(12000.5),
         n(500),
         n(12500.5),
         n(0),
         n(1800.25),
         n(0),
         n(125),
         n(10700.25)},
        {s("1234567AM000"),
         s("2018"),
         n(2),
         n(2),
         s("07654321"),
         s("Amel Trabelsi"),
         s("Ingénieur"),
         s("5 avenue Habib Bourguiba"),
         s("2"),
         n(0),
         end,
         start,
         n(300),
         n(24000),
         n(0),
         n(24000),
         n(0),
         n(4800),
         n(0),
         n(240),
         n(19200)},
        {s("1234567AM000"),
         s("2018"),
         n(3),
         n(1),
         s("1234567AM000"),
         s("Karim Jaziri"),
         s("Chauffeur"),
         s("Cité El Khadra"),
         s("1"),
         n(3),
         end,
         QDate(2018, 7, 1),
         n(150),
         n(6000),
         n(0),
         n(6000),
         n(0),
         n(300),
         n(0),
         n(60),
         n(5700)},
    };
}

inline testfiles::Rows tiers() {
    return {
        {s("Code"), s("Type"), s("Physique/Morale"), s("Identifiant"), s("Nom"), s("Activité"), s("Adresse")},
        {n(1), s("1"), s("2"), s("1234567AM000"), s("Société Générale de Négoce"), s("Commerce"), s("Sfax")},
    };
}

} // namespace importdata
