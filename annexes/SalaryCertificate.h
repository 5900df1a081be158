#pragma once

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

class TDatadeclaration;

// What the salary withholding certificate of an employee shows, from the employee's Annex I row.
struct SalaryCertificate {
    int numeroOrdre = 0;
    QString name, children, job, address, etatCivil, identifier;
    QDate start, end;
    double revenuImposable = 0, avantageNature = 0, revenuReinvesti = 0, retenueOperes = 0,
           retenueConjoncturelle = 0;

    // The months worked: the days from DATEDEBUT to DATEFIN over 30 (12.13 for a whole year); none when a
    // date is missing.
    std::optional<double> period() const;
    // "Célibataire", "Marié", "Divorcé" or "Veuf" for ETATCIVIL "1" to "4"; empty otherwise.
    QString familySituation() const;
    // The net income: taxable income less the withholdings and the social solidarity contribution.
    double netIncome() const { return revenuImposable - retenueOperes - retenueConjoncturelle; }
};

// The certificates of a company's Annex I rows of a fiscal year whose order numbers lie from `from` to
// `to`, in the order of the numbers; none when `from` exceeds `to`. Throws DbError.
std::vector<SalaryCertificate> readSalaryCertificates(TDatadeclaration &dm, const QString &code,
                                                      const QString &exercice, int from, int to);
