#pragma once

#include <QDate>
#include <QString>

class QWidget;
class TDatadeclaration;

// The cover sheet of the employer's declaration, in Arabic on one A4 page, for the active company: shown in
// the report preview, from which the user prints it or saves it as PDF.
void showRecapCoverSheet(TDatadeclaration &dm, const QString &codeTva, const QDate &declarationDate,
                         QWidget *parent);
