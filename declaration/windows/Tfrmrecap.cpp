#include "declaration/windows/Tfrmrecap.h"

#include "data/DbError.h"
#include "declaration/DeclarationError.h"
#include "declaration/RecapCoverSheet.h"
#include "declaration/RecapCoverSheetReport.h"
#include "report/windows/ReportPreview.h"
#include "ui/Messages.h"

void showRecapCoverSheet(TDatadeclaration &dm, const QString &codeTva, const QDate &declarationDate,
                         QWidget *parent) {
    try {
        showReportPreview(recapCoverSheetReport(readRecapCoverSheet(dm, codeTva, declarationDate)), parent);
    } catch (const DeclarationError &e) {
        showMessage(parent, e.message());
    } catch (const DbError &e) {
        showDbError(parent, e);
    }
}
