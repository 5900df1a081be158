#pragma once

#include "data/FbStatement.h"
#include "data/TDatadeclaration.h"

#include <QDateTime>

// The Annex I rows of the benchmarks: one company, numbered 1 to `rows`, saved in one commit.

inline constexpr const char *kBenchCompany = "1234567AM000";

inline void fillAnnexI(TDatadeclaration &dm, const QString &exercice, int rows) {
    FbStatement insert(dm.IBTransaction1);
    insert.prepare(QStringLiteral(
        "insert into ANNEXEI (CODESOCIETE, EXERCICE, NUMEROORDRE, TYPEIDENTIFIANT, IDENTIFIANTBENEFICIAIRE, "
        "NOMPRENOM, EMPLOIOCCUPE, ADRESSE, ETATCIVIL, ENFANT, DATEFIN, DATEDEBUT, REVENUIMPOSABLE, "
        "AVANTAGENATURE, TOTALREVENU, REVENUREINVESTI, RETENUEOPERES, MONTANTNET, NBJOURS, RETENUES20, "
        "REDEVANCECOMPENSATION, RETENUECONJONCTURELLE) values "
        "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    const QDateTime start(QDate(2018, 1, 1), QTime(0, 0), Qt::UTC);
    const QDateTime end(QDate(2018, 12, 31), QTime(0, 0), Qt::UTC);
    for (int i = 1; i <= rows; ++i) {
        const QVariant values[] = {kBenchCompany,
                                   exercice,
                                   i,
                                   QStringLiteral("2"),
                                   QStringLiteral("%1").arg(i, 8, 10, QLatin1Char('0')).leftJustified(13),
                                   QStringLiteral("BENEFICIAIRE NUMERO %1").arg(i).leftJustified(40),
                                   QStringLiteral("EMPLOYE DE BUREAU").leftJustified(40),
                                   QStringLiteral("%1 RUE DE LA REPUBLIQUE TUNIS").arg(i).leftJustified(120),
                                   QStringLiteral("1"),
                                   i % 4,
                                   end,
                                   start,
                                   12000.0 + i,
                                   500.0,
                                   12500.0 + i,
                                   0.0,
                                   1800.5,
                                   10700.0 + i,
                                   312.0,
                                   0.0,
                                   0.0,
                                   12.5};
        for (int p = 0; p < 22; ++p)
            insert.setParameter(p, values[p]);
        insert.execute();
    }
    dm.commit();
}
