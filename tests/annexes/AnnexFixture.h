#pragma once

#include "annexes/AnnexDefinitions.h"
#include "tests/support/DataModuleFixture.h"

// The annex datasets of a data module over a fresh database, opened on the active company.
class AnnexFixture : public DataModuleFixture {
protected:
    Dataset &openAnnex(int number) {
        const AnnexDefinition &a = annexDefinition(number);
        Dataset &ds = dm.annex(number);
        ds.close();
        ds.setSql(QStringLiteral("select * from %1 where %2=:code and exercice=:exercice order by NUMEROORDRE")
                      .arg(QLatin1String(a.table), QLatin1String(a.companyColumn)));
        ds.setParam(QStringLiteral("code"), dm.activeCompany.code);
        ds.setParam(QStringLiteral("exercice"), dm.activeCompany.exercice);
        ds.open();
        return ds;
    }

    // A new row of the active company with every required text filled.
    void appendFilled(int number, const QString &name = QStringLiteral("BENEFICIAIRE")) {
        const AnnexDefinition &a = annexDefinition(number);
        Dataset &ds = dm.annex(number);
        ds.append();
        ds.setValue(QLatin1String(a.companyColumn), dm.activeCompany.code);
        ds.setValue(QStringLiteral("EXERCICE"), dm.activeCompany.exercice);
        for (const AnnexColumn &c : a.columns)
            if ((c.flags & Required) && ds.isNull(QLatin1String(c.column)))
                ds.setValue(QLatin1String(c.column),
                            c.field == AnnexField::Choice ? QStringLiteral("1") : name);
    }
};
