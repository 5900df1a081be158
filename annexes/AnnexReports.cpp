#include "annexes/AnnexReports.h"

#include "data/NumberFormat.h"
#include "data/TDatadeclaration.h"

#include <algorithm>

namespace {

using V = AnnexReportValue;

const QStringList kWithholdingsI{"RETENUEOPERES", "RETENUES20", "REDEVANCECOMPENSATION",
                                 "RETENUECONJONCTURELLE"};

// The first five columns of Annexes II to VII, the beneficiary.
std::vector<AnnexReportColumn> beneficiary(std::vector<AnnexReportColumn> amounts) {
    std::vector<AnnexReportColumn> columns{
        {"N°", {"NUMEROORDRE"}, V::Number, 3},
        {"Identifiant\n Bénéficiaire", {"IDENTIFIANTBENEFICIAIRE"}, V::Text, 8},
        {"Nom & Raison Sociale", {"RAISONSOCIALE"}, V::Text, 15},
        {"Activité", {"ACTIVITE"}, V::Text, 10},
        {"Adresse", {"ADRESSE"}, V::Text, 16},
    };
    for (AnnexReportColumn &c : amounts) {
        c.totalled = true;
        columns.push_back(std::move(c));
    }
    return columns;
}

const std::vector<AnnexReportDefinition> &definitions() {
    constexpr auto landscape = QPageLayout::Landscape;
    static const std::vector<AnnexReportDefinition> all = {
        {1,
         "Etat Annexe I",
         "Annexe I",
         "Traitements, salaires, pensions et rentes viagères payés",
         landscape,
         "##0.000",
         {
             {"N°", {"NUMEROORDRE"}, V::Number, 3},
             {"Identifiant\n Bénéficiaire", {"IDENTIFIANTBENEFICIAIRE"}, V::Text, 7},
             {"Nom & Prénom", {"NOMPRENOM"}, V::Text, 14},
             {"Emploi Occupé", {"EMPLOIOCCUPE"}, V::Text, 9},
             {"Adresse", {"ADRESSE"}, V::Text, 14},
             {"Etat\nCivil", {"ETATCIVIL"}, V::Text, 3},
             {"Nbr\nEnf", {"ENFANT"}, V::Number, 3},
             {"Pér.\nTravail\nJours", {"NBJOURS"}, V::Number, 4},
             {"Revenus\nImposables", {"REVENUIMPOSABLE"}, V::Amount, 8, true},
             {"Avantages\nEn Nature", {"AVANTAGENATURE"}, V::Amount, 8, true},
             {"Revenus\nRéinvestis", {"REVENUREINVESTI"}, V::Amount, 8, true},
             {"Ret. R.Com\n20%+R.CGC", kWithholdingsI, V::Amount, 8, true},
             {"Nets\nServis", {"MONTANTNET"}, V::Amount, 8, true},
         },
         {{"Total Ret. Reg Comm.", "RETENUEOPERES"},
          {"Total Ret. 20%", "RETENUES20"},
          {"Total R.C.G.C", "REDEVANCECOMPENSATION"}}},
        {2,
         "Etat Annexe II",
         "Annexe II",
         "Honoraires, Commissions, Courtages pour des Résidents",
         landscape,
         "##0.000",
         beneficiary({
             {"Montants\nHonoraires", {"MONTANTBRUT", "HONORAIRESERVIS"}, V::Amount, 8},
             {"Jetons de\nPrésence", {"JETONSPRESENCES"}, V::Amount, 8},
             {"Rémun.\nérations", {"REMUNIRATIONS"}, V::Amount, 8},
             {"+Value\nImmobil.", {"PLUSVALUE"}, V::Amount, 8},
             {"Loyers\nHotels", {"LOYERSHOTELS"}, V::Amount, 8},
             {"Retenues\nOpérées", {"RETENUESOPERES"}, V::Amount, 8},
         }),
         {{"Totaux"}}},
        {3,
         "Etat Annexe III",
         "Annexe III",
         "Intérêts des Comptes, Capitaux et des Prets",
         landscape,
         "##0.000",
         beneficiary({
             {"Intérêts\nComptes", {"INTERETDESCOMPTES"}, V::Amount, 8},
             {"Intérêts \nCapitaux", {"INTERETCAPITAUX"}, V::Amount, 8},
             {"Intérêts \nPrêts", {"INTERETPRETS"}, V::Amount, 8},
             {"Retenues\nOpérées", {"MONTANTRETENUES"}, V::Amount, 8},
             {"Montants Nets\nServis", {"NETSERVIS"}, V::Amount, 8},
         }),
         {{"Totaux"}}},
        {4,
         "Etat Annexe IV",
         "Annexe IV",
         "Honoraires, Courtages,  Pour des Non Résidents",
         landscape,
         "",
         beneficiary({
             {"Montants\nBruts", {"MONTANTBRUTS"}, V::Amount, 8},
             {"Rémun.", {"REMUNIRATIONS"}, V::Amount, 8},
             {"+Value\nImmo.", {"PLUSVALUE"}, V::Amount, 8},
             {"Jetons\nde Présence", {"REVENUSVELEURMOBILIER"}, V::Amount, 8},
             {"Retenues\nOpérées", {"RETENUS"}, V::Amount, 8},
             {"Montants\nServis", {"NETSERVIS"}, V::Amount, 8},
         }),
         {{"Totaux"}}},
        {5,
         "Etat Annexe V",
         "Annexe V",
         "Marchés",
         landscape,
         "",
         beneficiary({
             {"Marchés \n>1000", {"MARCHES"}, V::Amount, 8},
             {"Retenus\n>1000", {"RETENUESMARCHES"}, V::Amount, 8},
             {"Assiete Tva\n>1000", {"ASSIETETVA"}, V::Amount, 8},
             {"Retenus/Tva\n>1000", {"RETENUESURTVA"}, V::Amount, 8},
             {"Marchés\nN.Résid.", {"MARCHEETRANGER"}, V::Amount, 8},
             {"Retenus\nMar N.Rés.", {"RETENUEMARCHEETRANGER"}, V::Amount, 8},
         }),
         {{"Totaux"}}},
        {6,
         "Etat Annexe VI",
         "Annexe VI",
         "Montants des Ristournes Commerciales et non Commerciales",
         QPageLayout::Portrait,
         "## ##0.000",
         beneficiary({{"Montant Ristournes", {"MONTANTRISTOURNES"}, V::Amount, 12}}),
         {{"Totaux"}}},
        {7,
         "Etat Annexe VII",
         "Annexe VII",
         "Montants Payés pour Autrui",
         landscape,
         "##0.000",
         beneficiary({
             {"Montants\nPayés", {"MONTANTPAYES"}, V::Amount, 8},
             {"Retenues\nOpérées", {"RETENUALASOURCE"}, V::Amount, 8},
             {"Montants Nets\nServis", {"MONTANTNETSERVIS"}, V::Amount, 8},
         }),
         {{"Totaux"}}},
    };
    return all;
}

using report::Band;
using report::Font;

constexpr double kLine = 5;
const Font kBody = Font{}.sized(7);
const Font kBold = kBody.boldened();

// The columns' places across the page's width, in proportion to their shares.
std::vector<QRectF> columnPlaces(const AnnexReportDefinition &d, double width, double height) {
    double shares = 0;
    for (const AnnexReportColumn &c : d.columns)
        shares += c.share;
    std::vector<QRectF> places;
    double x = 0;
    for (const AnnexReportColumn &c : d.columns) {
        const double w = width * c.share / shares;
        places.emplace_back(x + 0.5, 0, w - 1, height);
        x += w;
    }
    return places;
}

// The columns of a row summed, an empty one counting as 0.
double sum(const Dataset &rows, int row, const QStringList &columns) {
    double total = 0;
    for (const QString &column : columns)
        total += rows.valueAt(row, column).toDouble();
    return total;
}

// The same over every row, accumulated from the stored values.
double total(const Dataset &rows, const QStringList &columns) {
    double total = 0;
    for (int row = 0; row < rows.rowCount(); ++row)
        total += sum(rows, row, columns);
    return total;
}

QString shown(const Dataset &rows, int row, const AnnexReportColumn &c, const QString &mask) {
    if (c.columns.size() == 1) {
        const QVariant v = rows.valueAt(row, c.columns.first());
        if (v.isNull())
            return {};
        if (c.value == V::Text)
            return v.toString().trimmed();
    }
    return formatNumber(sum(rows, row, c.columns), c.value == V::Amount ? mask : QString());
}

Band titleBand(const AnnexReportDefinition &d, const std::vector<QRectF> &places, double width) {
    Band band;
    band.text(QRectF(0, 0, width, 8), QString::fromUtf8(d.title), Font{}.sized(14).boldened());
    band.text(QRectF(0, 8, width, 7), QString::fromUtf8(d.subtitle), Font{}.sized(10));
    const double top = 17, height = 11;
    for (std::size_t i = 0; i < d.columns.size(); ++i) {
        const QRectF place = places[i].translated(0, top).adjusted(0, 0, 0, height - places[i].height());
        const Qt::Alignment align = d.columns[i].value == V::Text ? Qt::AlignLeft : Qt::AlignRight;
        band.text(place, QString::fromUtf8(d.columns[i].heading), kBold, align | Qt::AlignBottom);
    }
    band.line(QPointF(0, top + height + 0.5), QPointF(width, top + height + 0.5));
    band.height = top + height + 1.5;
    return band;
}

} // namespace

const AnnexReportDefinition &annexReportDefinition(int annex) {
    return definitions().at(static_cast<std::size_t>(std::clamp(annex, 1, 7) - 1));
}

report::Report annexReport(TDatadeclaration &dm, int annex, const QString &code, const QString &exercice) {
    const AnnexReportDefinition &d = annexReportDefinition(annex);
    const AnnexTable &table = kAnnexTables.at(static_cast<std::size_t>(d.annex - 1));
    auto rows = dm.newQuery(QLatin1String(d.caption));
    rows->setSql(QStringList{QStringLiteral("select *"),
                             QStringLiteral("from ") + QString::fromLatin1(table.table).toLower(),
                             QStringLiteral("where %1=:codesociete and exercice=:exercice")
                                 .arg(QLatin1String(table.companyColumn))});
    rows->setParam(QStringLiteral("codesociete"), code);
    rows->setParam(QStringLiteral("exercice"), exercice);
    rows->open();

    report::Report r;
    r.caption = QString::fromUtf8(d.caption);
    r.orientation = d.orientation;
    const double width = r.contentWidth();
    const std::vector<QRectF> places = columnPlaces(d, width, kLine);
    const QString mask = QString::fromLatin1(d.amountMask);
    r.title = titleBand(d, places, width);

    for (int row = 0; row < rows->rowCount(); ++row) {
        Band &line = r.details.emplace_back();
        line.height = kLine;
        for (std::size_t i = 0; i < d.columns.size(); ++i) {
            const AnnexReportColumn &c = d.columns[i];
            const QString text = shown(*rows, row, c, mask);
            if (c.value == V::Text)
                line.text(places[i], text, kBody);
            else
                line.text(places[i], text, kBody, Qt::AlignRight | Qt::AlignVCenter).overflow =
                    report::Overflow::Shrink;
        }
    }

    // The summary: the labelled totals stacked at the left, the column sums under their columns.
    Band &summary = r.summary;
    summary.line(QPointF(0, 0.5), QPointF(width, 0.5));
    for (std::size_t i = 0; i < d.columns.size(); ++i) {
        const AnnexReportColumn &c = d.columns[i];
        if (!c.totalled)
            continue;
        summary.number(places[i].translated(0, 1), total(*rows, c.columns), mask, kBold);
    }
    double y = 1;
    for (const AnnexReportTotal &t : d.totals) {
        summary.text(QRectF(0.5, y, 40, kLine), QString::fromUtf8(t.label), kBold);
        if (t.column)
            summary.number(QRectF(40, y, 25, kLine), total(*rows, {QLatin1String(t.column)}), mask, kBold);
        y += kLine;
    }
    summary.height = y + 1;
    r.pageFooter.height = 8; // empty
    return r;
}
