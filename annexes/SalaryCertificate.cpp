#include "annexes/SalaryCertificate.h"

#include "data/TDatadeclaration.h"

std::optional<double> SalaryCertificate::period() const {
    if (!start.isValid() || !end.isValid())
        return std::nullopt;
    return static_cast<double>(start.daysTo(end)) / 30;
}

QString SalaryCertificate::familySituation() const {
    static const QString situations[] = {QStringLiteral("Célibataire"), QStringLiteral("Marié"),
                                         QStringLiteral("Divorcé"), QStringLiteral("Veuf")};
    const QString code = etatCivil.trimmed();
    if (code.size() != 1 || code < QLatin1String("1") || code > QLatin1String("4"))
        return {};
    return situations[code.at(0).unicode() - '1'];
}

std::vector<SalaryCertificate> readSalaryCertificates(TDatadeclaration &dm, const QString &code,
                                                      const QString &exercice, int from, int to) {
    auto rows = dm.newQuery(QStringLiteral("Tfrmcertificatimpot"));
    rows->setSql(QStringList{
        QStringLiteral(
            "select numeroordre, NOMPRENOM, ENFANT, emploioccupe, adresse, etatcivil, "
            "identifiantbeneficiaire, Datedebut, Datefin, revenuimposable, avantagenature, "
            "totalrevenu, revenureinvesti, retenueoperes, montantnet, nbjours, RETENUECONJONCTURELLE, "
            "retenues20 from ANNEXEI"),
        QStringLiteral(
            "WHERE  codesociete=:code and exercice=:exercice and numeroordre between :numero1  and "
            ":numero2"),
        QStringLiteral("order by numeroordre")});
    rows->setParam(QStringLiteral("code"), code);
    rows->setParam(QStringLiteral("exercice"), exercice);
    rows->setParam(QStringLiteral("numero1"), from);
    rows->setParam(QStringLiteral("numero2"), to);
    rows->open();

    std::vector<SalaryCertificate> certificates;
    for (int row = 0; row < rows->rowCount(); ++row) {
        auto value = [&](const char *column) { return rows->valueAt(row, QLatin1String(column)); };
        auto text = [&](const char *column) { return value(column).toString().trimmed(); };
        auto amount = [&](const char *column) { return value(column).toDouble(); };
        SalaryCertificate c;
        c.numeroOrdre = value("NUMEROORDRE").toInt();
        c.name = text("NOMPRENOM");
        c.children = text("ENFANT");
        c.job = text("EMPLOIOCCUPE");
        c.address = text("ADRESSE");
        c.etatCivil = text("ETATCIVIL");
        c.identifier = text("IDENTIFIANTBENEFICIAIRE");
        c.start = value("DATEDEBUT").toDate();
        c.end = value("DATEFIN").toDate();
        c.revenuImposable = amount("REVENUIMPOSABLE");
        c.avantageNature = amount("AVANTAGENATURE");
        c.revenuReinvesti = amount("REVENUREINVESTI");
        c.retenueOperes = amount("RETENUEOPERES");
        c.retenueConjoncturelle = amount("RETENUECONJONCTURELLE");
        certificates.push_back(std::move(c));
    }
    return certificates;
}
