#include "declaration/windows/TFrmTableaurecap.h"

#include "data/DbError.h"
#include "data/NumberFormat.h"
#include "data/TDatadeclaration.h"
#include "declaration/DeclarationError.h"
#include "declaration/Generation.h"
#include "declaration/RecapComputation.h"
#include "declaration/windows/DeclarationWindows.h"
#include "declaration/windows/Tfrmrecap.h"
#include "ui/BrowseSearch.h"
#include "ui/BrowseWindow.h"
#include "ui/DatasetGrid.h"
#include "ui/Messages.h"

#include <QApplication>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <optional>

namespace {

const QString kAmountFormat = QStringLiteral("# ##0.000");

void showError(QWidget *parent, const QString &text) {
    QMessageBox::critical(parent, QStringLiteral("Talvane"), text);
}

QLineEdit *newAmountField(QWidget *parent) {
    auto *field = new QLineEdit(parent);
    field->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[\\d ]*([.,]\\d*)?")), field));
    field->setAlignment(Qt::AlignRight);
    return field;
}

QString shownAmount(const QVariant &value) {
    return value.isNull() ? QString() : formatNumber(value.toDouble(), kAmountFormat);
}

// The amount a field holds, blanks between the digits and a decimal comma allowed; an empty field holds 0.
std::optional<double> amountOf(const QLineEdit *field) {
    QString text = field->text();
    text.remove(QLatin1Char(' '));
    text.remove(QChar(0x00A0));
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    if (text.isEmpty())
        return 0.0;
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

} // namespace

TFrmTableaurecap::TFrmTableaurecap(TDatadeclaration &dm, QWidget *parent)
    : QWidget(parent), m_dm(dm), m_company(new QLabel(this)), m_exercice(new QLabel(this)),
      m_grid(new DatasetGrid(dm.Itableaurecap,
                             {{"N°Enreg.", "ORDRE"},
                              {"Libéllé Retenue", "libelleretenue"},
                              {"Montants Bruts", "montantsbrut"},
                              {"Taux", "taux"},
                              {"Retenues", "retenues"},
                              {"Type", "ZONE1"},
                              {"Zone2", "ZONE2"},
                              {"Zone3", "ZONE3"},
                              {"Zone4", "ZONE4"}},
                             this)),
      m_presence(new AnnexPresencePanel(
          {{}, QStringLiteral("Annexe"), QStringLiteral("Présent\nOui/Non"), false}, this)),
      m_codeTva(newUpperCaseBox(this)), m_date(new QDateEdit(this)),
      m_correction(new QGroupBox(QStringLiteral("Changement Montant"), this)),
      m_base(newAmountField(m_correction)), m_withholding(newAmountField(m_correction)) {
    setWindowTitle(QStringLiteral("Tableau Récapitulatif"));
    auto *layout = new QVBoxLayout(this);

    layout->addWidget(newTitlePanel(QStringLiteral("<<<  Tableau Récapitulatif >>>"), this));
    layout->addLayout(newCompanyLine(this, m_company, m_exercice));

    auto *body = new QHBoxLayout;
    body->addWidget(m_grid, 1);
    new WheelRowNavigator(m_grid, dm.Itableaurecap);
    auto *side = new QVBoxLayout;
    side->addWidget(m_presence);

    auto *print = new QGroupBox(this);
    auto *printForm = new QFormLayout(print);
    m_codeTva->setText(QStringLiteral("A"));
    printForm->addRow(QStringLiteral("Code Tva"), m_codeTva);
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    m_date->setDate(QDate::currentDate());
    printForm->addRow(QStringLiteral("Date\nDéclaration"), m_date);
    m_print = new QPushButton(QStringLiteral("Imprimer Récap."), print);
    m_print->setAutoDefault(false);
    printForm->addRow(m_print);
    side->addWidget(print);

    auto *correction = new QFormLayout(m_correction);
    correction->addRow(QStringLiteral("Montants Bruts"), m_base);
    correction->addRow(QStringLiteral("Montants Retenues"), m_withholding);
    auto *correctionButtons = new QHBoxLayout;
    m_validate = new QPushButton(QStringLiteral("Valider"), m_correction);
    m_correctionClose = new QPushButton(QStringLiteral("Fermer"), m_correction);
    for (QPushButton *b : {m_validate, m_correctionClose}) {
        b->setAutoDefault(false);
        correctionButtons->addWidget(b);
    }
    correction->addRow(correctionButtons);
    m_correction->hide();
    side->addWidget(m_correction);
    side->addStretch();
    body->addLayout(side);
    layout->addLayout(body, 1);

    m_close = addButtonRow(layout, this, {QStringLiteral("Fermer")}).first();

    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_print, &QPushButton::clicked, this, [this] {
        try {
            showRecapCoverSheet(m_dm, m_codeTva->text(), m_date->date(), this);
        } catch (const DeclarationError &e) {
            showError(this, e.message());
        } catch (const DbError &e) {
            showDbError(this, e);
        }
    });
    connect(m_grid, &DatasetGrid::rowDoubleClicked, this, &TFrmTableaurecap::startCorrection);
    connect(m_validate, &QPushButton::clicked, this, &TFrmTableaurecap::validateCorrection);
    connect(m_correctionClose, &QPushButton::clicked, this, &TFrmTableaurecap::hideCorrection);
    // Leaving the group for another field of the window hides it; a message box over the window does not.
    m_focusWatch = connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && isAncestorOf(now) && !m_correction->isAncestorOf(now) && m_correction->isVisible())
            hideCorrection();
    });

    open();
}

// Focus moves while the children go; the group is not to be looked at then.
TFrmTableaurecap::~TFrmTableaurecap() {
    disconnect(m_focusWatch);
}

// The lookup of the active company, the presence of its annexes and the table recomputed. A failure is
// said and leaves the grid empty rather than showing lines of another company or year.
void TFrmTableaurecap::open() {
    try {
        const DeclarationOpening opening = openDeclarationWindow(m_dm);
        m_company->setText(opening.company.code);
        m_exercice->setText(opening.company.exercice);
        m_presence->showRows(opening.annexRows);
        if (!opening.recapError.isEmpty()) {
            m_dm.Itableaurecap.reopen(); // emptied by the failed computation
            showError(this, opening.recapError);
        }
    } catch (const DeclarationError &e) {
        m_dm.Itableaurecap.close();
        showError(this, e.message());
    } catch (const DbError &e) {
        m_dm.Itableaurecap.close();
        showDbError(this, e);
    }
}

void TFrmTableaurecap::startCorrection() {
    const Dataset &table = m_dm.Itableaurecap;
    if (!table.isOpen() || table.currentRow() < 0)
        return;
    m_correctedOrdre = table.value(QStringLiteral("ORDRE")).toInt();
    m_base->setText(shownAmount(table.value(QStringLiteral("montantsbrut"))));
    m_withholding->setText(shownAmount(table.value(QStringLiteral("retenues"))));
    m_correction->show();
    m_base->setFocus();
    m_base->selectAll();
}

void TFrmTableaurecap::validateCorrection() {
    auto amount = [this](QLineEdit *field, const QString &caption) {
        const std::optional<double> value = amountOf(field);
        if (!value) {
            showError(this,
                      QStringLiteral("« %1 » n'est pas un montant pour « %2 » : la ligne N° %3 n'a pas été "
                                     "modifiée.")
                          .arg(field->text(), caption)
                          .arg(m_correctedOrdre));
            field->setFocus();
        }
        return value;
    };
    const std::optional<double> base = amount(m_base, QStringLiteral("Montants Bruts"));
    if (!base)
        return;
    const std::optional<double> withholding = amount(m_withholding, QStringLiteral("Montants Retenues"));
    if (!withholding)
        return;
    try {
        correctRecapLine(m_dm, m_correctedOrdre, *base, *withholding);
        m_base->setText(shownAmount(m_dm.Itableaurecap.value(QStringLiteral("montantsbrut"))));
        m_withholding->setText(shownAmount(m_dm.Itableaurecap.value(QStringLiteral("retenues"))));
    } catch (const DeclarationError &e) {
        showError(this, e.message());
    } catch (const DbError &e) {
        showDbError(this, e);
    }
}

void TFrmTableaurecap::hideCorrection() {
    m_correction->hide();
}
