#include "annexes/windows/AnnexEditWindow.h"

#include "annexes/AnnexDefinitions.h"
#include "data/DbError.h"
#include "data/TDatadeclaration.h"
#include "ui/Messages.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHash>
#include <QLabel>
#include <QShowEvent>

namespace {

FieldKind kindOf(AnnexField field) {
    switch (field) {
    case AnnexField::Text: return FieldKind::Text;
    case AnnexField::Integer: return FieldKind::Integer;
    case AnnexField::Fixed2:
    case AnnexField::Amount:
    case AnnexField::Rate: return FieldKind::Amount;
    case AnnexField::Date: return FieldKind::Date;
    case AnnexField::Choice: return FieldKind::Choice;
    case AnnexField::Check: return FieldKind::Check;
    case AnnexField::TypeNumber: return FieldKind::NumberChoice;
    }
    return FieldKind::Text;
}

// The withholding types as the Annex VII list shows them: "number:designation", in number order.
struct WithholdingTypes {
    QStringList items;
    QHash<QString, QString> designations; // by number
};

WithholdingTypes readWithholdingTypes(TDatadeclaration &dm) {
    WithholdingTypes types;
    auto query = dm.newQuery(QStringLiteral("typesretenue"));
    query->setSql(
        QStringList{QStringLiteral(" select  * from TYPERETENUE"), QStringLiteral("order by numerotype")});
    query->open();
    for (int row = 0; row < query->rowCount(); ++row) {
        const QString number = query->valueAt(row, QStringLiteral("NUMEROTYPE")).toString().trimmed();
        const QString designation = query->valueAt(row, QStringLiteral("DESIGNATION")).toString();
        types.items << number + QLatin1Char(':') + designation;
        types.designations.insert(number, designation);
    }
    return types;
}

QList<EditField> fieldsOf(const AnnexDefinition &a, const QStringList &typeItems) {
    QList<EditField> fields;
    for (const AnnexColumn &c : a.columns) {
        if (c.flags & Hidden)
            continue;
        EditField f(c.label, c.column, kindOf(c.field), c.flags & Padded,
                    c.field == AnnexField::TypeNumber ? typeItems : c.choices);
        f.skipped = c.flags & NoTabStop;
        f.hint = c.hint ? QString::fromUtf8(c.hint) : QString();
        f.group = (c.flags & Heading) ? QStringLiteral("Identité Déclarant") : QString();
        fields << f;
    }
    return fields;
}

double valueOf(const Dataset &ds, const QString &column) {
    return ds.value(column).toDouble(); // an empty amount counts as 0
}

} // namespace

AnnexEditWindow::AnnexEditWindow(TDatadeclaration &dm, int annex, QWidget *parent)
    : EditWindow(
          dm.annex(annex), QString::fromUtf8(annexDefinition(annex).editCaption),
          fieldsOf(annexDefinition(annex), annex == 7 ? readWithholdingTypes(dm).items : QStringList()),
          Policy::AcceptOrAbandon, parent),
      m_dm(dm), m_definition(annexDefinition(annex)) {
    setHeading(QString::fromUtf8(m_definition.heading));
    if (annex == 7) {
        // The designation of the type of the row current when the window is made, then of the type chosen.
        m_designations = readWithholdingTypes(dm).designations;
        auto *combo = qobject_cast<QComboBox *>(editor(QStringLiteral("Type des Montants Payés:")));
        m_typeLabel = new QLabel(this);
        m_typeLabel->setObjectName(QStringLiteral("typeLabel"));
        if (auto *form = combo ? qobject_cast<QFormLayout *>(combo->parentWidget()->layout()) : nullptr)
            form->addRow(QString(), m_typeLabel);
        const Dataset &ds = dataset();
        m_typeLabel->setText(ds.isOpen() && ds.currentRow() >= 0
                                 ? m_designations.value(ds.text(QStringLiteral("TYPEMONTANT")).trimmed())
                                 : QString());
    }
    setFieldLeftHandler([this](const QString &column) { fieldLeft(column); });
}

void AnnexEditWindow::showEvent(QShowEvent *event) {
    EditWindow::showEvent(event);
    if (m_definition.number == 1)
        applyCivilStatus(false);
}

// A single employee has no dependent child to declare: the count is 0 and passed by.
void AnnexEditWindow::applyCivilStatus(bool reset) {
    const bool single = dataset().text(QStringLiteral("ETATCIVIL")) == QLatin1String("1");
    if (single && reset && dataset().isEditing()) {
        dataset().setValue(QStringLiteral("ENFANT"), 0);
        loadField(QStringLiteral("ENFANT"));
    }
    setFieldReadOnly(QStringLiteral("ENFANT"), single);
    setFieldSkipped(QStringLiteral("ENFANT"), single);
}

void AnnexEditWindow::fieldLeft(const QString &column) {
    Dataset &ds = dataset();
    try {
        for (const AnnexWindowSum &s : m_definition.windowSums) {
            if (!s.leaving.contains(column, Qt::CaseInsensitive))
                continue;
            double value = 0;
            for (const QString &c : s.sum.plus)
                value += valueOf(ds, c);
            for (const QString &c : s.sum.minus)
                value -= valueOf(ds, c);
            ds.setValue(QLatin1String(s.sum.target), value);
            loadField(QLatin1String(s.sum.target));
        }
        if (m_definition.number == 1 && column == QLatin1String("DATEFIN")) {
            const QDate start = ds.value(QStringLiteral("DATEDEBUT")).toDate();
            const QDate end = ds.value(QStringLiteral("DATEFIN")).toDate();
            if (start.isValid() && end.isValid()) {
                ds.setValue(QStringLiteral("NBJOURS"), static_cast<double>(start.daysTo(end) + 1));
                loadField(QStringLiteral("NBJOURS"));
            }
        }
        if (m_definition.number == 1 && column == QLatin1String("ETATCIVIL"))
            applyCivilStatus(true);
        if (m_typeLabel && column == QLatin1String("TYPEMONTANT"))
            m_typeLabel->setText(m_designations.value(ds.text(QStringLiteral("TYPEMONTANT")).trimmed()));
    } catch (const DbError &e) {
        showDbError(this, e);
    }
}

AnnexEditWindow *newAnnexEditWindow(TDatadeclaration &dm, int annex, QWidget *parent) {
    switch (annex) {
    case 1: return new TFrmAnnexeimaj(dm, parent);
    case 2: return new TFrmAnnexeIImaj(dm, parent);
    case 3: return new TFrmannexeIIImaj(dm, parent);
    case 4: return new TFrmannexeivmaj(dm, parent);
    case 5: return new TFrmannexeVmaj(dm, parent);
    case 6: return new TFrmAnnexevimaj(dm, parent);
    default: return new TFrmannexeVIImaj(dm, parent);
    }
}
