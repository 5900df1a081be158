#include "declaration/windows/TFrmgenerationdeclaration.h"

#include "data/DbError.h"
#include "data/TDatadeclaration.h"
#include "declaration/DeclarationError.h"
#include "declaration/Generation.h"
#include "declaration/windows/DeclarationWindows.h"
#include "ui/BrowseWindow.h"
#include "ui/Messages.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

void showError(QWidget *parent, const QString &text) {
    QMessageBox::critical(parent, QStringLiteral("Talvane"), text);
}

} // namespace

TFrmgenerationdeclaration::TFrmgenerationdeclaration(TDatadeclaration &dm, QWidget *parent)
    : QWidget(parent), m_dm(dm), m_company(new QLabel(this)), m_exercice(new QLabel(this)),
      m_type(new QComboBox(this)),
      m_presence(new AnnexPresencePanel({QStringLiteral("Présence des Annexes"), {}, {}, true}, this)),
      m_folder(new QLineEdit(this)), m_pickFolder(new QToolButton(this)) {
    setWindowTitle(QStringLiteral("Génération des Fichiers de Déclaration"));
    auto *layout = new QVBoxLayout(this);

    layout->addLayout(newCompanyLine(this, m_company, m_exercice));

    auto *form = new QFormLayout;
    m_type->addItems(
        {QStringLiteral("Spontané"), QStringLiteral("Régularisation"), QStringLiteral("Redressement")});
    m_type->setCurrentIndex(0);
    form->addRow(QStringLiteral("Type Déclaration"), m_type);
    layout->addLayout(form);

    layout->addWidget(m_presence);

    layout->addWidget(new QLabel(QStringLiteral("Emplacement des Fichiers Résultats"), this));
    auto *folder = new QHBoxLayout;
    folder->addWidget(m_folder, 1);
    m_pickFolder->setText(QStringLiteral("..."));
    m_pickFolder->setToolTip(QStringLiteral("Emplacement des Fichiers Résultats"));
    folder->addWidget(m_pickFolder);
    layout->addLayout(folder);
    connect(m_pickFolder, &QToolButton::clicked, this, &TFrmgenerationdeclaration::pickFolder);

    const QList<QPushButton *> buttons =
        addButtonRow(layout, this, {QStringLiteral("OK"), QStringLiteral("Fermer")});
    m_ok = buttons[0];
    m_close = buttons[1];
    connect(m_ok, &QPushButton::clicked, this, &TFrmgenerationdeclaration::ok);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);

    open();
}

// What the active company's declaration holds; a failure is said and leaves the window usable, every annex
// shown absent.
void TFrmgenerationdeclaration::open() {
    try {
        const DeclarationOpening opening = openDeclarationWindow(m_dm);
        m_shownCode = opening.company.code;
        m_shownExercice = opening.company.exercice;
        m_company->setText(m_shownCode);
        m_exercice->setText(m_shownExercice);
        m_presence->showRows(opening.annexRows);
        if (!opening.recapError.isEmpty())
            showError(this, opening.recapError);
    } catch (const DeclarationError &e) {
        showError(this, e.message());
    } catch (const DbError &e) {
        showDbError(this, e);
    }
}

void TFrmgenerationdeclaration::pickFolder() {
    const QString folder = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Emplacement des Fichiers Résultats"), m_folder->text());
    if (!folder.isEmpty())
        m_folder->setText(QDir::toNativeSeparators(folder));
}

void TFrmgenerationdeclaration::ok() {
    const QString folder = m_folder->text().trimmed();
    if (folder.isEmpty()) {
        showError(this, QStringLiteral("Choisissez le dossier où écrire les fichiers de déclaration "
                                       "(Emplacement des Fichiers Résultats). Aucun fichier n'a été écrit."));
        m_folder->setFocus();
        return;
    }
    try {
        const QString question = markedCompanyQuestion(m_dm, m_shownCode, m_shownExercice);
        if (!question.isEmpty() &&
            QMessageBox::question(this, QStringLiteral("Confirmation"), question,
                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
            return;
        const GenerationResult result =
            runGeneration(m_dm, {QDir::fromNativeSeparators(folder), m_type->currentIndex()});
        showMessage(this, QStringLiteral("Fichiers de déclaration Crées"));
        if (!result.staleAnnexFiles.isEmpty()) {
            QStringList names;
            for (const QString &path : result.staleAnnexFiles)
                names << QDir::toNativeSeparators(path);
            QMessageBox::warning(
                this, QStringLiteral("Talvane"),
                QStringLiteral("Ces fichiers d'une génération précédente sont restés dans le "
                               "dossier, alors que leur annexe n'a plus de lignes ; ils ne "
                               "font pas partie de cette déclaration :\n") +
                    names.join(QLatin1Char('\n')));
        }
        close();
    } catch (const DeclarationError &e) {
        showError(this, e.message());
    } catch (const DbError &e) {
        showDbError(this, e);
    }
}
