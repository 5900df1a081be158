#include "declaration/DeclarationCheck.h"

#include "declaration/RecapLines.h"
#include "declaration/RecordFormats.h"
#include "declaration/RecordWriter.h"

#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <map>
#include <optional>

namespace {

bool allDigits(QByteArrayView v) {
    for (char c : v)
        if (c < '0' || c > '9')
            return false;
    return !v.isEmpty();
}

bool allBlanks(QByteArrayView v) {
    for (char c : v)
        if (c != ' ')
            return false;
    return true;
}

QString shown(QByteArrayView v) {
    return QStringLiteral("« %1 »").arg(QString::fromLatin1(v.data(), v.size()));
}

QByteArrayView at(QByteArrayView record, const Field &f) {
    return record.sliced(f.first - 1, f.width);
}

// The company block that every record of the declaration repeats.
struct Declarant {
    QByteArray code, exercice;
};

class FolderCheck {
public:
    explicit FolderCheck(QString folder) : m_dir(std::move(folder)) {}
    QStringList run();

private:
    std::optional<std::vector<QByteArray>> read(const QString &name);
    void problem(const QString &file, int record, const Field *f, const QString &text) {
        if (f && f->width > 1)
            m_problems << QStringLiteral("%1, enregistrement %2, positions %3-%4 : %5")
                              .arg(file)
                              .arg(record)
                              .arg(f->first)
                              .arg(f->last())
                              .arg(text);
        else if (f)
            m_problems << QStringLiteral("%1, enregistrement %2, position %3 : %4")
                              .arg(file)
                              .arg(record)
                              .arg(f->first)
                              .arg(text);
        else if (record > 0)
            m_problems << QStringLiteral("%1, enregistrement %2 : %3").arg(file).arg(record).arg(text);
        else
            m_problems << QStringLiteral("%1 : %2").arg(file, text);
    }
    // The fields of a record of the given format that need no other record; returns false when the
    // record's length forbids reading its fields.
    bool checkFields(const QString &file, int index, QByteArrayView record, const RecordFormat &format,
                     int annex, const Declarant &declarant);
    std::optional<QByteArray> checkDeclaration(const QString &file, const QString &year,
                                               Declarant *declarant);
    void checkAnnex(const QString &file, int annex, const QString &year, const Declarant &declarant);

    QDir m_dir;
    QStringList m_problems;
};

std::optional<std::vector<QByteArray>> FolderCheck::read(const QString &name) {
    QFile file(m_dir.filePath(name));
    if (!file.open(QIODevice::ReadOnly)) {
        problem(name, 0, nullptr, QStringLiteral("illisible (%1).").arg(file.errorString()));
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    std::vector<QByteArray> records;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        const bool terminated = end >= 0;
        if (!terminated)
            end = bytes.size();
        QByteArray record = bytes.mid(start, end - start);
        const int index = static_cast<int>(records.size()) + 1;
        if (terminated && record.endsWith('\r'))
            record.chop(1);
        else if (terminated)
            problem(name, index, nullptr, QStringLiteral("fin d'enregistrement LF sans CR."));
        else
            problem(name, index, nullptr,
                    QStringLiteral("le dernier enregistrement n'est pas terminé par CR LF."));
        records.push_back(std::move(record));
        start = end + 1;
    }
    if (records.empty())
        problem(name, 0, nullptr, QStringLiteral("le fichier est vide."));
    return records;
}

bool FolderCheck::checkFields(const QString &file, int index, QByteArrayView record,
                              const RecordFormat &format, int annex, const Declarant &declarant) {
    if (record.size() != format.width) {
        problem(file, index, nullptr,
                QStringLiteral("%1 caractères au lieu de %2.").arg(record.size()).arg(format.width));
        return false;
    }
    for (const Field &f : format.fields) {
        const QByteArrayView v = at(record, f);
        switch (f.source) {
        case Source::Constant: {
            QByteArray expected(f.name);
            expected.replace('#', QByteArray::number(annex));
            if (v != expected && &f != &format.fields.front()) // the record type is checked with the order
                problem(file, index, &f, QStringLiteral("%1 au lieu de %2.").arg(shown(v), shown(expected)));
            break;
        }
        case Source::Declarant:
            if (v != declarant.code)
                problem(
                    file, index, &f,
                    QStringLiteral("code déclarant %1 au lieu de %2.").arg(shown(v), shown(declarant.code)));
            break;
        case Source::Exercice:
            if (v != declarant.exercice)
                problem(
                    file, index, &f,
                    QStringLiteral("exercice %1 au lieu de %2.").arg(shown(v), shown(declarant.exercice)));
            break;
        case Source::DeclarationType:
            if (v != "0" && v != "1" && v != "2")
                problem(file, index, &f,
                        QStringLiteral("type de déclaration %1 : 0, 1 ou 2 attendu.").arg(shown(v)));
            break;
        case Source::Presence:
            if (v != "0" && v != "1")
                problem(file, index, &f,
                        QStringLiteral("indicateur de présence %1 : 0 ou 1 attendu.").arg(shown(v)));
            break;
        case Source::Blank:
            if (!allBlanks(v))
                problem(file, index, &f, QStringLiteral("blancs attendus, %1 trouvé.").arg(shown(v)));
            break;
        case Source::RowCount:
        case Source::Sum:
        case Source::Column:
            if (f.encoding != Encoding::StoredText && f.encoding != Encoding::TrimmedText &&
                f.encoding != Encoding::Filler && !allDigits(v))
                problem(file, index, &f, QStringLiteral("%1 n'est pas un nombre.").arg(shown(v)));
            break;
        case Source::Company: break;
        }
    }
    return true;
}

std::optional<QByteArray> FolderCheck::checkDeclaration(const QString &file, const QString &year,
                                                        Declarant *declarant) {
    const std::optional<std::vector<QByteArray>> records = read(file);
    if (!records || records->empty())
        return std::nullopt;
    const RecordFormat &header = declarationHeaderFormat();
    const QByteArray &first = records->front();
    if (!first.startsWith("000"))
        problem(file, 1, &header.fields.front(),
                QStringLiteral("l'en-tête doit commencer par « 000 », %1 trouvé.")
                    .arg(shown(QByteArrayView(first).first(std::min<qsizetype>(3, first.size())))));
    std::optional<QByteArray> flags;
    if (first.size() == header.width) {
        declarant->code = first.mid(3, 12);
        declarant->exercice = first.mid(15, 4);
        if (!allDigits(declarant->exercice) || !declarant->exercice.endsWith(year.toLatin1()))
            problem(file, 1, &header.fields[2],
                    QStringLiteral("exercice %1 : une année finissant par %2 est attendue.")
                        .arg(shown(declarant->exercice), year));
        if (checkFields(file, 1, first, header, 0, *declarant))
            flags = first.mid(19, 7);
    } else {
        checkFields(file, 1, first, header, 0, *declarant);
    }

    const auto &lines = recap::lines();
    if (records->size() != lines.size() + 1)
        problem(file, 0, nullptr,
                QStringLiteral("%1 lignes de tableau récapitulatif au lieu de %2.")
                    .arg(records->size() - 1)
                    .arg(lines.size()));
    const RecordFormat &format = recapRecordFormat();
    const Field &zone1 = format.fields[0], &zone2 = format.fields[1], &zone3 = format.fields[2],
                &zone4 = format.fields[3];
    qint64 withheld = 0;
    bool totalKnown = true;
    for (std::size_t i = 1; i < records->size(); ++i) {
        const int index = static_cast<int>(i) + 1;
        const QByteArray &record = (*records)[i];
        if (record.size() != format.width) {
            problem(file, index, nullptr,
                    QStringLiteral("%1 caractères au lieu de %2.").arg(record.size()).arg(format.width));
            totalKnown = false;
            continue;
        }
        const recap::Line *line = i <= lines.size() ? &lines[i - 1] : nullptr;
        if (!line) {
            problem(file, index, &zone1,
                    QStringLiteral("ligne en trop %1 après la ligne 999.").arg(shown(at(record, zone1))));
            continue;
        }
        if (at(record, zone1) != line->code)
            problem(file, index, &zone1,
                    QStringLiteral("code de ligne %1 au lieu de « %2 ».")
                        .arg(shown(at(record, zone1)), QLatin1String(line->code)));
        for (const Field *z : {&zone2, &zone3, &zone4}) {
            const QByteArrayView v = at(record, *z);
            const bool mayBeBlank = line->blankBase && z != &zone4;
            if (!allDigits(v) && !(mayBeBlank && allBlanks(v))) {
                problem(file, index, z, QStringLiteral("%1 n'est pas un nombre.").arg(shown(v)));
                if (z == &zone4)
                    totalKnown = false;
            }
        }
        const qint64 amount = at(record, zone4).toLongLong();
        if (!line->total) {
            withheld += amount;
        } else if (totalKnown && amount != withheld) {
            problem(file, index, &zone4,
                    QStringLiteral("le total %1 n'est pas la somme des retenues des lignes, %2.")
                        .arg(shown(at(record, zone4)),
                             QString::number(withheld).rightJustified(15, QLatin1Char('0'))));
        }
    }
    return flags;
}

void FolderCheck::checkAnnex(const QString &file, int annex, const QString &year, const Declarant &expected) {
    const std::optional<std::vector<QByteArray>> records = read(file);
    if (!records || records->empty())
        return;
    Declarant declarant = expected;
    if (declarant.code.isEmpty() && records->front().size() >= 18) {
        declarant.code = records->front().mid(2, 12);
        declarant.exercice = records->front().mid(14, 4);
        if (!declarant.exercice.endsWith(year.toLatin1()))
            problem(file, 1, &annexFormat(annex).header.fields[2],
                    QStringLiteral("exercice %1 : une année finissant par %2 est attendue.")
                        .arg(shown(declarant.exercice), year));
    }
    const AnnexFormat &format = annexFormat(annex);
    const QByteArray n = QByteArray::number(annex);
    const std::vector<const Field *> amounts = amountFields(format.line);
    std::vector<qint64> sums(amounts.size(), 0);
    std::vector<bool> sumKnown(amounts.size(), true);
    qint64 lineCount = 0;
    std::optional<std::pair<int, QByteArray>> header, totals;
    for (std::size_t i = 0; i < records->size(); ++i) {
        const int index = static_cast<int>(i) + 1;
        const QByteArray &record = (*records)[i];
        const QByteArray type = record.left(2);
        const char expectedKind = i == 0 ? 'E' : i + 1 == records->size() ? 'T' : 'L';
        const QByteArray expectedType = expectedKind + n;
        if (type != expectedType)
            problem(file, index, &format.line.fields.front(),
                    QStringLiteral("type d'enregistrement %1 au lieu de « %2 ».")
                        .arg(shown(type), QString::fromLatin1(expectedType)));
        const RecordFormat *recordFormat = type == "E" + n   ? &format.header
                                           : type == "L" + n ? &format.line
                                           : type == "T" + n ? &format.totals
                                                             : nullptr;
        if (type == "L" + n)
            ++lineCount;
        if (!recordFormat) {
            if (record.size() != kAnnexRecordWidth)
                problem(
                    file, index, nullptr,
                    QStringLiteral("%1 caractères au lieu de %2.").arg(record.size()).arg(kAnnexRecordWidth));
            continue;
        }
        const bool readable = checkFields(file, index, record, *recordFormat, annex, declarant);
        if (recordFormat == &format.header && readable && !header)
            header = std::make_pair(index, record);
        else if (recordFormat == &format.totals && readable)
            totals = std::make_pair(index, record);
        else if (recordFormat == &format.line) {
            for (std::size_t s = 0; s < amounts.size(); ++s) {
                const QByteArrayView v = readable ? at(record, *amounts[s]) : QByteArrayView();
                if (readable && allDigits(v))
                    sums[s] += v.toLongLong();
                else
                    sumKnown[s] = false;
            }
        }
    }
    if (header) {
        for (const Field &f : format.header.fields) {
            if (f.source != Source::RowCount)
                continue;
            const QByteArrayView v = at(header->second, f);
            if (allDigits(v) && v.toLongLong() != lineCount)
                problem(file, header->first, &f,
                        QStringLiteral("%1 enregistrements L annoncés, le fichier en a %2.")
                            .arg(v.toLongLong())
                            .arg(lineCount));
        }
    }
    if (totals) {
        for (const Field &f : format.totals.fields) {
            if (f.source != Source::Sum)
                continue;
            for (std::size_t s = 0; s < amounts.size(); ++s) {
                if (QByteArrayView(amounts[s]->name) != QByteArrayView(f.name) || !sumKnown[s])
                    continue;
                const QByteArrayView v = at(totals->second, f);
                if (allDigits(v) && v.toLongLong() != sums[s])
                    problem(file, totals->first, &f,
                            QStringLiteral("total %1 de %2, la somme des enregistrements L est %3.")
                                .arg(shown(v), QLatin1String(f.name),
                                     QString::number(sums[s]).rightJustified(15, QLatin1Char('0'))));
            }
        }
    }
}

QStringList FolderCheck::run() {
    if (!m_dir.exists())
        return {QStringLiteral("%1 : le dossier n'existe pas.").arg(QDir::toNativeSeparators(m_dir.path()))};
    static const QRegularExpression declarationName(QStringLiteral("^DECEMP_(\\d\\d)$"));
    static const QRegularExpression annexName(QStringLiteral("^ANXEMP_([1-7])_(\\d\\d)_1$"));
    std::map<QString, bool> years; // year -> has DECEMP_
    std::map<QString, std::map<int, QString>> annexes;
    for (const QString &name : m_dir.entryList(QDir::Files, QDir::Name)) {
        if (const auto m = declarationName.match(name); m.hasMatch())
            years[m.captured(1)] = true;
        else if (const auto m = annexName.match(name); m.hasMatch()) {
            annexes[m.captured(2)][m.captured(1).toInt()] = name;
            years.emplace(m.captured(2), false);
        }
    }
    if (years.empty())
        return {QStringLiteral("%1 : aucun fichier DECEMP_ ni ANXEMP_ dans le dossier.")
                    .arg(QDir::toNativeSeparators(m_dir.path()))};
    for (const auto &[year, hasDeclaration] : years) {
        const QString declaration = QStringLiteral("DECEMP_") + year;
        Declarant declarant;
        std::optional<QByteArray> flags;
        if (hasDeclaration)
            flags = checkDeclaration(declaration, year, &declarant);
        else
            problem(annexes[year].begin()->second, 0, nullptr,
                    QStringLiteral("le fichier %1 est absent du dossier.").arg(declaration));
        const auto &present = annexes[year];
        if (flags) {
            const RecordFormat &header = declarationHeaderFormat();
            for (int annex = 1; annex <= 7; ++annex) {
                const Field &f = header.fields[static_cast<std::size_t>(2 + annex)];
                const char flag = flags->at(annex - 1);
                const QString name = QStringLiteral("ANXEMP_%1_%2_1").arg(annex).arg(year);
                if (flag == '0' && !present.count(annex))
                    problem(declaration, 1, &f,
                            QStringLiteral("l'annexe %1 est déclarée présente mais le fichier %2 est absent.")
                                .arg(annex)
                                .arg(name));
                else if (flag == '1' && present.count(annex))
                    problem(declaration, 1, &f,
                            QStringLiteral("l'annexe %1 est déclarée absente mais le fichier %2 est présent.")
                                .arg(annex)
                                .arg(name));
            }
        }
        for (const auto &[annex, name] : present)
            checkAnnex(name, annex, year, declarant);
    }
    return m_problems;
}

} // namespace

QStringList checkDeclarationFolder(const QString &folder) {
    return FolderCheck(folder).run();
}
