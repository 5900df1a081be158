#include "annexes/AnnexVerification.h"

#include "annexes/AnnexDefinitions.h"
#include "data/TDatadeclaration.h"

#include <vector>

QString paddedText(const QString &text, int width) {
    if (text.size() >= width)
        return text;
    const QString trimmed = text.trimmed();
    return trimmed + QString(width - trimmed.size(), QLatin1Char(' '));
}

namespace {

struct Change {
    QString column;
    QVariant value;
};

double sumOf(const Dataset &ds, int row, const QStringList &columns, const std::vector<Change> &changes) {
    double sum = 0;
    for (const QString &c : columns) {
        QVariant v = ds.valueAt(row, c);
        for (const Change &change : changes)
            if (change.column.compare(c, Qt::CaseInsensitive) == 0)
                v = change.value;
        sum += v.toDouble();
    }
    return sum;
}

bool same(const QVariant &stored, const QVariant &value) {
    if (stored.isNull() || value.isNull())
        return stored.isNull() == value.isNull();
    if (value.typeId() == QMetaType::Double)
        return stored.toDouble() == value.toDouble();
    return stored.toString() == value.toString();
}

// What the verification makes of one row: the columns whose value it changes.
std::vector<Change> changesOf(const AnnexDefinition &a, const Dataset &ds, int row) {
    std::vector<Change> changes;
    auto change = [&](const QString &column, const QVariant &value) {
        if (!same(ds.valueAt(row, column), value))
            changes.push_back({column, value});
    };
    for (const QString &column : a.paddedByVerification()) {
        const int field = ds.fieldIndex(column);
        const ColumnInfo *info = field >= 0 ? ds.column(field) : nullptr;
        if (info)
            change(column, paddedText(ds.valueAt(row, field).toString(), info->width()));
    }
    for (const AnnexColumn &c : a.columns)
        if ((c.flags & Complete) && ds.valueAt(row, QLatin1String(c.column)).isNull())
            change(QLatin1String(c.column),
                   c.emptyText ? QVariant(QString::fromUtf8(c.emptyText)) : QVariant(0.0));
    if (a.verificationSum.isSet())
        change(QLatin1String(a.verificationSum.target), sumOf(ds, row, a.verificationSum.plus, changes) -
                                                            sumOf(ds, row, a.verificationSum.minus, changes));
    return changes;
}

} // namespace

VerificationResult verifyAnnex(TDatadeclaration &dm, int number) {
    const AnnexDefinition &a = annexDefinition(number);
    Dataset &ds = dm.annex(number);
    VerificationResult result;
    if (!ds.isOpen())
        return result;
    ds.post(); // an entry in progress is saved first, as moving off it would
    const TDatadeclaration::BatchedCommits batch(dm);
    for (int row = 0; row < ds.rowCount(); ++row) {
        ++result.rows;
        const std::vector<Change> changes = changesOf(a, ds, row);
        if (changes.empty())
            continue;
        ds.moveTo(row);
        ds.edit();
        for (const Change &c : changes)
            ds.setValue(c.column, c.value);
        ds.post();
        ++result.saved;
    }
    return result;
}
