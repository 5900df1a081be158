#pragma once

class QWidget;
class TDatadeclaration;

// The prints of the annex browse windows, each shown in a report preview of its own that is released when
// closed. The company and fiscal year are the active company's.

// "Imprimer": the list of annex 1 to 7 with its totals.
void showAnnexReport(TDatadeclaration &dm, int annex, QWidget *parent);

// "Valider" of the panel "Impression Certificats" of Annex I: the salary withholding certificates of the
// rows whose order numbers lie from `fromNumber` to `toNumber` (an empty preview when none does).
void showSalaryCertificates(TDatadeclaration &dm, int fromNumber, int toNumber, QWidget *parent);
