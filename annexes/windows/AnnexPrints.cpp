#include "annexes/windows/AnnexPrints.h"

#include "annexes/AnnexReports.h"
#include "annexes/SalaryCertificate.h"
#include "annexes/SalaryCertificateReport.h"
#include "data/DbError.h"
#include "data/TDatadeclaration.h"
#include "report/windows/ReportPreview.h"
#include "ui/Messages.h"

void showAnnexReport(TDatadeclaration &dm, int annex, QWidget *parent) {
    try {
        showReportPreview(annexReport(dm, annex, dm.activeCompany.code, dm.activeCompany.exercice), parent);
    } catch (const DbError &e) {
        showDbError(parent, e);
    }
}

void showSalaryCertificates(TDatadeclaration &dm, int fromNumber, int toNumber, QWidget *parent) {
    try {
        const ActiveCompany &company = dm.activeCompany;
        showReportPreview(
            salaryCertificatesReport(
                company, readSalaryCertificates(dm, company.code, company.exercice, fromNumber, toNumber)),
            parent);
    } catch (const DbError &e) {
        showDbError(parent, e);
    }
}
