#include "declaration/AnnexIVerification.h"

#include "annexes/AnnexVerification.h"
#include "data/TDatadeclaration.h"
#include "declaration/CompanyRow.h"

void verifyAnnexI(TDatadeclaration &dm, const CompanyRow &company) {
    // The run says nothing itself: the window tells when the files are written.
    dm.verificationMessage = false;
    Dataset &annex = dm.iannexei;
    annex.close();
    annex.setSql(QStringList{QStringLiteral("select * from ANNEXEI"),
                             QStringLiteral("where codesociete=:code and exercice=:exercice")});
    annex.setParam(QStringLiteral("code"), company.code);
    annex.setParam(QStringLiteral("exercice"), company.exercice);
    annex.open();
    verifyAnnex(dm, 1);
}
