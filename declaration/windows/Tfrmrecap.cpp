#include "declaration/windows/Tfrmrecap.h"

void showRecapCoverSheet(TDatadeclaration &, const QString &, const QDate &, QWidget *) {}
