#include "annexes/SalaryCertificateReport.h"

#include "annexes/SalaryCertificate.h"
#include "data/ActiveCompany.h"
#include "data/NumberFormat.h"

namespace {

using report::Band;
using report::Font;

constexpr double kWidth = 210 - 2 * 10;
constexpr double kCopyHeight = 277.0 / 2;
constexpr double kLine = 5;
const Font kText = Font{}.sized(8);
const Font kBold = kText.boldened();
const QString kAmountMask = QStringLiteral("#,##0.000");

// A label and its value on one line, the value starting at `valueLeft`.
void labelled(Band &band, double left, double top, double valueLeft, double right, const QString &label,
              const QString &value) {
    band.text(QRectF(left, top, valueLeft - left, kLine), label, kText);
    band.text(QRectF(valueLeft, top, right - valueLeft, kLine), value, kBold);
}

// One copy of the certificate, from `top`; `lower` tells the lower copy, whose signature line differs.
void certificateCopy(Band &band, double top, const ActiveCompany &company, const SalaryCertificate &c,
                     bool lower) {
    double y = top;
    for (const char *line :
         {"REPUBLIQUE TUNISIENNE", "MINISTERE DES FINANCES", "DIRECTION GENERALE", "DU CONTROLE FISCAL"}) {
        band.text(QRectF(0, y, 70, 4), QLatin1String(line), kBold.sized(7).underlined());
        y += 4;
    }
    y += 2;
    const Font title = Font{}.sized(10).boldened().underlined();
    for (const QString &line : {QStringLiteral("CERTIFICAT DE RETENUE D'IMPOT SUR LE REVENU AU TITRE"),
                                QStringLiteral("DES TRAITEMENTS, SALAIRES, PENSIONS ET RENTES VIAGERES"),
                                QStringLiteral("RETENUES EFFECTUEES DURANT L'ANNEE ") + company.exercice}) {
        band.text(QRectF(0, y, kWidth, 5), line, title, Qt::AlignCenter);
        y += 5;
    }

    y += 3;
    band.text(QRectF(0, y, kWidth, kLine), QStringLiteral("A- EMPLOYEUR OU ORGANISME PAYEUR"),
              kBold.sized(9));
    y += kLine + 1;
    labelled(band, 4, y, 60, kWidth, QStringLiteral("IDENTIFIANT"), company.code);
    labelled(band, 4, y += kLine, 60, kWidth, QStringLiteral("NOM PRENOM OU RAISON SOCIALE"),
             company.name.trimmed());
    labelled(band, 4, y += kLine, 60, kWidth, QStringLiteral("ADRESSE"), company.address.trimmed());

    y += kLine + 2;
    band.text(QRectF(0, y, kWidth, kLine), QStringLiteral("B- IDENTITE DU BENEFICIAIRE"), kBold.sized(9));
    y += kLine + 1;
    const double middle = kWidth / 2 + 10;
    labelled(band, 4, y, 40, middle, QStringLiteral("SITUATION FAMILIALE"), c.familySituation());
    labelled(band, middle, y, middle + 35, kWidth, QStringLiteral("NOMBRE D'ENFANT"), c.children);
    labelled(band, 4, y += kLine, 40, middle, QStringLiteral("NOM PRENOM "), c.name);
    labelled(band, middle, y, middle + 35, kWidth, QStringLiteral("CIN"), c.identifier);
    labelled(band, 4, y += kLine, 40, kWidth, QStringLiteral("ADRESSE"), c.address);
    y += kLine;
    const std::optional<double> months = c.period();
    labelled(band, 4, y, 40, 52, QStringLiteral("PERIODE DE TRAVAIL"),
             months ? formatNumber(*months, QStringLiteral("0")) : QString());
    band.text(QRectF(53, y, 15, kLine), QStringLiteral("MOIS"), kText);
    labelled(band, middle, y, middle + 35, kWidth, QStringLiteral("EMPLOI OCCUPE"), c.job);

    y += kLine + 3;
    const std::pair<const char *, double> amounts[] = {
        {"REVENU IMPOSABLE", c.revenuImposable},   {"AVENTAGES . NATURE", c.avantageNature},
        {"REVENU REINVESTI", c.revenuReinvesti},   {"RETENUES", c.retenueOperes},
        {"RETENUES CSS", c.retenueConjoncturelle}, {"REVENUS NETS ", c.netIncome()},
    };
    const double cell = kWidth / std::size(amounts);
    for (std::size_t i = 0; i < std::size(amounts); ++i) {
        const QRectF heading(i * cell, y, cell, 7), value(i * cell, y + 7, cell, 7);
        band.box(heading);
        band.box(value);
        band.text(heading, QLatin1String(amounts[i].first), kBold.sized(7), Qt::AlignCenter);
        band.number(value.adjusted(1, 0, -1, 0), amounts[i].second, kAmountMask, kText);
    }

    y += 14 + 4;
    band.text(
            QRectF(0, y, 120, 12),
            QStringLiteral("Je soussigné(e), certifie exacts et sincères les renseignemants figurants sur le "
                           "présent certificat et m'expose aux sanctions prévues par la loi pour toute "
                           "inexactitude."),
            kText, Qt::AlignLeft | Qt::AlignTop)
        .overflow = report::Overflow::Wrap;
    band.text(QRectF(125, y, kWidth - 125, kLine), QStringLiteral("Cachet et Signature de l'Employeur"),
              kBold, Qt::AlignCenter);
    band.text(QRectF(125, y + kLine, kWidth - 125, kLine),
              lower ? QStringLiteral("ou du Débirentier") : QStringLiteral("ou du Débirenter"), kBold,
              Qt::AlignCenter);
}

} // namespace

report::Report salaryCertificatesReport(const ActiveCompany &company,
                                        const std::vector<SalaryCertificate> &certificates) {
    report::Report r;
    r.caption = QStringLiteral("Certificats de retenue %1").arg(company.exercice);
    r.orientation = QPageLayout::Portrait;
    r.margins = QMarginsF(10, 10, 10, 10);
    for (const SalaryCertificate &c : certificates) {
        Band &page = r.details.emplace_back();
        page.height = r.contentHeight();
        certificateCopy(page, 0, company, c, false);
        page.line(QPointF(0, kCopyHeight), QPointF(kWidth, kCopyHeight), 0.3, Qt::DashLine);
        certificateCopy(page, kCopyHeight + 4, company, c, true);
    }
    return r;
}
