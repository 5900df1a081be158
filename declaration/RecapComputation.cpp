#include "declaration/RecapComputation.h"

#include "data/FbStatement.h"
#include "data/TDatadeclaration.h"
#include "data/Win1252.h"
#include "declaration/DeclarationError.h"
#include "declaration/FieldEncoding.h"
#include "declaration/RecapLines.h"

namespace {

constexpr const char *kOwnerProperty = "talvaneRecapComputedFor";

QString dinars(double value) {
    return shownNumber(value, 3);
}

// A row whose amount made a line negative, remembered to name it if the line cannot be written.
struct Culprit {
    int annex = 0;
    int ordre = 0;
    QString column;
    double value = 0;
};

struct Accumulator {
    double base = 0;
    double withholding = 0;
    std::optional<Culprit> negative;
};

// A source of a line with its columns found in its annex query.
struct BoundSource {
    std::size_t line;
    const recap::Source *source;
    std::vector<std::pair<int, int>> conditionColumns; // column, second column (EitherPositive) or -1
    std::vector<int> baseColumns;
    int withholdingColumn;
};

int columnOf(const Dataset &ds, const char *name, int annex) {
    const int i = ds.fieldIndex(QLatin1String(name));
    if (i < 0)
        throw DeclarationError(QStringLiteral("La colonne %1 est absente de la table de l'%2.")
                                   .arg(QLatin1String(name), annexName(annex)));
    return i;
}

std::vector<BoundSource> bind(const Dataset &ds, int annex) {
    std::vector<BoundSource> bound;
    const auto &lines = recap::lines();
    for (std::size_t l = 0; l < lines.size(); ++l) {
        for (const recap::Source &s : lines[l].sources) {
            if (s.annex != annex)
                continue;
            BoundSource b{l, &s, {}, {}, columnOf(ds, s.withholding, annex)};
            for (const recap::Condition &c : s.conditions)
                b.conditionColumns.emplace_back(
                    columnOf(ds, c.column, annex),
                    c.test == recap::Test::EitherPositive ? columnOf(ds, c.value, annex) : -1);
            for (const char *column : s.base)
                b.baseColumns.push_back(columnOf(ds, column, annex));
            bound.push_back(std::move(b));
        }
    }
    return bound;
}

qint64 wholeOrThrow(const Dataset &ds, int row, int column, int annex) {
    const QString text = ds.valueAt(row, column).toString();
    const std::optional<qint64> n = wholeNumber(win1252::encode(text));
    if (!n)
        throw DeclarationError(
            QStringLiteral("%1, numéro d'ordre %2, colonne %3 : « %4 » n'est pas un nombre "
                           "entier ; le tableau récapitulatif n'a pas pu être calculé.")
                .arg(annexName(annex))
                .arg(ds.valueAt(row, QStringLiteral("NUMEROORDRE")).toInt())
                .arg(ds.fieldName(column), text));
    return *n;
}

// An amount of a row, an empty one counting as 0; doubles are read without the variant's conversions.
double numberAt(const Dataset &ds, int row, int column) {
    const QVariant v = ds.valueAt(row, column);
    return v.typeId() == QMetaType::Double ? *static_cast<const double *>(v.constData()) : v.toDouble();
}

bool holds(const Dataset &ds, int row, const recap::Condition &c, std::pair<int, int> columns, int annex) {
    auto number = [&](int column) { return numberAt(ds, row, column); };
    const int column = columns.first;
    switch (c.test) {
    case recap::Test::Positive: return number(column) > 0;
    case recap::Test::NonNegative: return number(column) >= 0;
    case recap::Test::Negative: return number(column) < 0;
    case recap::Test::EitherPositive: return number(column) > 0 || number(columns.second) > 0;
    case recap::Test::Is: return ds.valueAt(row, column).toString() == QLatin1String(c.value);
    case recap::Test::IsNot: return ds.valueAt(row, column).toString() != QLatin1String(c.value);
    case recap::Test::WholeBelow:
        return wholeOrThrow(ds, row, column, annex) < QByteArray(c.value).toLongLong();
    case recap::Test::WholeIn: {
        const QByteArray n = QByteArray::number(wholeOrThrow(ds, row, column, annex));
        return QByteArray(c.value).split(',').contains(n);
    }
    }
    return false;
}

void add(Accumulator &acc, double *total, const Dataset &ds, int row, int column, int annex) {
    const double v = numberAt(ds, row, column);
    if (v < 0 && !acc.negative)
        acc.negative =
            Culprit{annex, ds.valueAt(row, QStringLiteral("NUMEROORDRE")).toInt(), ds.fieldName(column), v};
    *total += v;
}

QByteArray encodeLineAmount(const recap::Line &line, const Accumulator &acc, double value, const char *what,
                            qint64 *millimes) {
    QByteArray out(15, ' ');
    Fault fault = toMillimes(value, millimes);
    if (fault == Fault::None)
        fault = writeDigits(*millimes, 15, out.data());
    if (fault != Fault::None) {
        QString message =
            QStringLiteral("Ligne %1 du tableau récapitulatif : %2 (%3 dinars) %4")
                .arg(QLatin1String(line.code), QLatin1String(what), dinars(value), faultText(fault, 15));
        if (acc.negative)
            message += QStringLiteral(" ; %1, numéro d'ordre %2, colonne %3 : %4")
                           .arg(annexName(acc.negative->annex))
                           .arg(acc.negative->ordre)
                           .arg(acc.negative->column, dinars(acc.negative->value));
        throw DeclarationError(message +
                               QStringLiteral(". Le tableau récapitulatif n'a pas pu être calculé."));
    }
    return out;
}

void setOwner(TDatadeclaration &dm, const std::optional<RecapOwner> &owner) {
    dm.setProperty(kOwnerProperty, owner ? QVariant(QStringList{owner->code, owner->exercice}) : QVariant());
}

std::vector<RecapRecord> compute(TDatadeclaration &dm) {
    const auto &lines = recap::lines();
    std::vector<Accumulator> acc(lines.size());
    for (int annex = 1; annex <= 6; ++annex) {
        const Dataset &ds = dm.annexQuery(annex);
        if (ds.isEmpty())
            continue;
        const std::vector<BoundSource> sources = bind(ds, annex);
        for (int row = 0; row < ds.rowCount(); ++row) {
            for (const BoundSource &b : sources) {
                bool counts = true;
                for (std::size_t c = 0; c < b.conditionColumns.size() && counts; ++c)
                    counts = holds(ds, row, b.source->conditions[c], b.conditionColumns[c], annex);
                if (!counts)
                    continue;
                Accumulator &a = acc[b.line];
                for (int column : b.baseColumns)
                    add(a, &a.base, ds, row, column, annex);
                add(a, &a.withholding, ds, row, b.withholdingColumn, annex);
            }
        }
    }

    std::vector<RecapRecord> records;
    qint64 total = 0;
    for (std::size_t l = 0; l < lines.size(); ++l) {
        const recap::Line &line = lines[l];
        RecapRecord r;
        r.ordre = line.ordre;
        r.zone1 = line.code;
        r.zone3 = line.rate;
        qint64 millimes = 0;
        if (line.total) {
            r.zone2 = QByteArray(15, ' ');
            r.zone4 = QByteArray(15, ' ');
            // The total of the written withholdings, so that the file adds up to the millime.
            if (writeDigits(total, 15, r.zone4.data()) != Fault::None)
                throw DeclarationError(QStringLiteral("Ligne 999 du tableau récapitulatif : le total des "
                                                      "retenues dépasse 15 chiffres."));
        } else {
            r.zone2 = line.blankBase
                          ? QByteArray(15, ' ')
                          : encodeLineAmount(line, acc[l], acc[l].base, "le montant de base", &millimes);
            r.zone4 = encodeLineAmount(line, acc[l], acc[l].withholding, "le montant retenu", &millimes);
            total += millimes;
        }
        records.push_back(r);
    }
    return records;
}

// The 38 rows go in through the shared transaction with one commit at the end, rather than one commit per
// row through Itableaurecap: the table is never seen half filled, and 38 forced writes are spared.
void store(TDatadeclaration &dm, const std::vector<RecapRecord> &records) {
    FbStatement insert(dm.IBTransaction1);
    insert.prepare(
        QStringLiteral("insert into TABLEAURECAPITULATIF (ORDRE, ZONE1, ZONE2, ZONE3, ZONE4) values "
                       "(?, ?, ?, ?, ?)"));
    for (const RecapRecord &r : records) {
        insert.setParameter(0, r.ordre);
        insert.setParameter(1, r.zone1);
        insert.setParameter(2, r.zone2);
        insert.setParameter(3, r.zone3);
        insert.setParameter(4, r.zone4);
        insert.execute();
    }
    dm.commit();
    dm.Itableaurecap.reopen();
}

} // namespace

std::array<int, 7> openAnnexQueries(TDatadeclaration &dm, const QString &code, const QString &exercice) {
    std::array<int, 7> rows{};
    for (int annex = 1; annex <= 7; ++annex) {
        Dataset &ds = dm.annexQuery(annex);
        ds.close();
        ds.setParam(QStringLiteral("codesociete"), code); // Annexes I to VI
        ds.setParam(QStringLiteral("code"), code);        // Annex VII
        ds.setParam(QStringLiteral("exercice"), exercice);
        ds.open();
        rows[static_cast<std::size_t>(annex - 1)] = ds.rowCount();
    }
    return rows;
}

std::vector<RecapRecord> computeRecapFromQueries(TDatadeclaration &dm, const QString &code,
                                                 const QString &exercice) {
    setOwner(dm, std::nullopt);
    dm.ieffacerrecap.execute();
    const std::vector<RecapRecord> records = compute(dm);
    store(dm, records);
    setOwner(dm, RecapOwner{code, exercice});
    return records;
}

std::vector<RecapRecord> computeRecap(TDatadeclaration &dm, const QString &code, const QString &exercice) {
    openAnnexQueries(dm, code, exercice);
    return computeRecapFromQueries(dm, code, exercice);
}

std::vector<RecapRecord> readRecap(TDatadeclaration &dm) {
    dm.Itableaurecap.reopen();
    return recapRecords(dm.Itableaurecap);
}

std::vector<RecapRecord> recapRecords(const Dataset &t) {
    std::vector<RecapRecord> records;
    records.reserve(static_cast<std::size_t>(t.rowCount()));
    for (int row = 0; row < t.rowCount(); ++row) {
        auto zone = [&](const char *name) {
            return win1252::encode(t.valueAt(row, QLatin1String(name)).toString());
        };
        records.push_back({t.valueAt(row, QStringLiteral("ORDRE")).toInt(), zone("ZONE1"), zone("ZONE2"),
                           zone("ZONE3"), zone("ZONE4")});
    }
    return records;
}

std::optional<RecapOwner> recapComputedFor(const TDatadeclaration &dm) {
    const QStringList owner = dm.property(kOwnerProperty).toStringList();
    if (owner.size() != 2)
        return std::nullopt;
    return RecapOwner{owner.at(0), owner.at(1)};
}

void checkRecapForWriting(const std::vector<RecapRecord> &records) {
    const auto &lines = recap::lines();
    const QString recompute = QStringLiteral(" Rouvrez le tableau récapitulatif pour le recalculer.");
    if (records.size() != lines.size())
        throw DeclarationError(QStringLiteral("Le tableau récapitulatif contient %1 lignes au lieu de %2.")
                                   .arg(records.size())
                                   .arg(lines.size()) +
                               recompute);
    auto digits = [](const QByteArray &zone, int width) {
        if (zone.size() != width)
            return false;
        for (char c : zone)
            if (c < '0' || c > '9')
                return false;
        return true;
    };
    auto blank = [](const QByteArray &zone, int width) { return zone == QByteArray(width, ' '); };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const recap::Line &line = lines[i];
        const RecapRecord &r = records[i];
        const QString where = QStringLiteral("Tableau récapitulatif, ligne N° %1").arg(i + 1);
        if (r.ordre != line.ordre || r.zone1 != line.code)
            throw DeclarationError(where +
                                   QStringLiteral(" : le code « %1 » (ordre %2) est attendu, le tableau "
                                                  "porte « %3 » (ordre %4).")
                                       .arg(QLatin1String(line.code))
                                       .arg(line.ordre)
                                       .arg(QString::fromLatin1(r.zone1))
                                       .arg(r.ordre) +
                                   recompute);
        auto check = [&](const QByteArray &zone, int width, bool mayBeBlank, const char *name) {
            if (digits(zone, width) || (mayBeBlank && blank(zone, width)))
                return;
            throw DeclarationError(
                where + QStringLiteral(" (code %1), %2 : « %3 » n'est pas un nombre de %4 "
                                       "chiffres.")
                            .arg(QLatin1String(line.code), QLatin1String(name), win1252::decode(zone))
                            .arg(width));
        };
        check(r.zone2, 15, line.blankBase, "ZONE2");
        check(r.zone3, 5, line.blankBase, "ZONE3");
        check(r.zone4, 15, false, "ZONE4");
    }
}

void correctRecapLine(TDatadeclaration &dm, int ordre, double base, double withholding) {
    Dataset &t = dm.Itableaurecap;
    if (!t.isOpen())
        t.open();
    if (!t.locate(QStringLiteral("ORDRE"), ordre))
        throw DeclarationError(
            QStringLiteral("La ligne N° %1 n'est pas dans le tableau récapitulatif.").arg(ordre));
    auto encode = [&](double value, const char *what) {
        Fault fault = Fault::None;
        const QByteArray zone = encodedField(Encoding::Amount, value, 15, &fault);
        if (fault != Fault::None)
            throw DeclarationError(QStringLiteral("%1 %2 %3 : la ligne n'a pas été modifiée.")
                                       .arg(QLatin1String(what), dinars(value), faultText(fault, 15)));
        return win1252::decode(zone);
    };
    const QString zone2 = encode(base, "Le montant brut");
    const QString zone4 = encode(withholding, "Le montant retenu");
    t.edit();
    try {
        t.setValue(QStringLiteral("ZONE2"), zone2);
        t.setValue(QStringLiteral("ZONE4"), zone4);
        t.post();
    } catch (...) {
        t.cancel();
        throw;
    }
}
