#include "declaration/Generation.h"

#include "data/TDatadeclaration.h"
#include "data/Win1252.h"
#include "declaration/DeclarationError.h"
#include "declaration/DeclarationFiles.h"
#include "declaration/RecapComputation.h"
#include "declaration/RecordFormats.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr int kMaxFaultsShown = 10;

void checkFolder(const QString &folder) {
    if (folder.trimmed().isEmpty())
        throw DeclarationError(QStringLiteral("Choisissez le dossier où écrire les fichiers de déclaration "
                                              "(Emplacement des Fichiers Résultats)."));
    if (!QFileInfo(folder).isDir())
        throw DeclarationError(
            QStringLiteral("Le dossier « %1 » n'existe pas : choisissez un dossier existant.")
                .arg(QDir::toNativeSeparators(folder)));
}

CompanyRow markedCompanyOrThrow(TDatadeclaration &dm) {
    std::optional<CompanyRow> marked = markedCompanyRow(dm);
    if (!marked)
        throw DeclarationError(
            QStringLiteral("Aucune société n'est marquée « O » : cochez « Active O/N » dans les "
                           "paramètres de la société à déclarer. Aucun fichier n'a été écrit."));
    if (!marked->hasFourDigitYear())
        throw DeclarationError(
            QStringLiteral("L'exercice « %1 » de la société marquée %2 n'est pas une année de "
                           "quatre chiffres. Aucun fichier n'a été écrit.")
                .arg(marked->exercice, marked->code));
    return *marked;
}

QString faultsMessage(const QStringList &faults) {
    QStringList shown = faults.mid(0, kMaxFaultsShown);
    if (faults.size() > kMaxFaultsShown)
        shown << QStringLiteral("… et %1 autres anomalies.").arg(faults.size() - kMaxFaultsShown);
    return QStringLiteral("Les fichiers de déclaration ne peuvent pas être écrits :\n") +
           shown.join(QLatin1Char('\n')) + QStringLiteral("\nAucun fichier n'a été écrit.");
}

} // namespace

GenerationResult runGeneration(TDatadeclaration &dm, const GenerationRequest &request) {
    if (request.declarationType < 0 || request.declarationType > 2)
        throw DeclarationError(
            QStringLiteral("Le type de déclaration doit être 0 (Spontané), 1 (Régularisation) "
                           "ou 2 (Redressement)."));
    checkFolder(request.folder);
    GenerationResult result;
    result.company = markedCompanyOrThrow(dm);
    const CompanyRow &company = result.company;

    dm.verificationMessage = false; // the verification runs without its closing message
    if (request.verifyAnnexI)
        request.verifyAnnexI(dm, company);

    const std::array<int, 7> rows = openAnnexQueries(dm, company.code, company.exercice);
    // The table has no company column: it is written as it stands (corrections included) only when this run
    // computed it for the company declared.
    if (recapComputedFor(dm) == RecapOwner{company.code, company.exercice}) {
        dm.Itableaurecap.reopen();
    } else {
        computeRecapFromQueries(dm, company.code, company.exercice);
        result.recapRecomputed = true;
    }

    DeclarationContent content;
    content.company = company;
    content.declarationType = request.declarationType;
    for (int annex = 1; annex <= 7; ++annex)
        content.annexes[static_cast<std::size_t>(annex - 1)] = &dm.annexQuery(annex);
    content.recap = &dm.Itableaurecap;
    const QStringList faults = checkBeforeWriting(content);
    if (!faults.isEmpty())
        throw DeclarationError(faultsMessage(faults));

    result.files = writeDeclarationFiles(content, request.folder);
    const QDir dir(request.folder);
    for (int annex = 1; annex <= 7; ++annex) {
        const QString stale = dir.filePath(annexFileName(annex, company.exercice));
        if (rows[static_cast<std::size_t>(annex - 1)] == 0 && QFileInfo::exists(stale))
            result.staleAnnexFiles << stale;
    }
    return result;
}

DeclarationOpening openDeclarationWindow(TDatadeclaration &dm) {
    DeclarationOpening opening;
    opening.company = activeCompanyRowOrThrow(dm);
    opening.annexRows = openAnnexQueries(dm, opening.company.code, opening.company.exercice);
    try {
        computeRecapFromQueries(dm, opening.company.code, opening.company.exercice);
    } catch (const DeclarationError &e) {
        opening.recapError = e.message();
    }
    return opening;
}

QString markedCompanyQuestion(TDatadeclaration &dm, const QString &shownCode, const QString &shownExercice) {
    const std::optional<CompanyRow> marked = markedCompanyRow(dm);
    if (!marked || (marked->code == shownCode && marked->exercice == shownExercice))
        return {};
    return QStringLiteral(
               "Les fichiers sont écrits pour la société marquée « O », %1 (%2, exercice %3), et non "
               "pour la société affichée (%4, exercice %5). Écrire les fichiers de la société "
               "marquée ?")
        .arg(win1252::decode(marked->raisonSociale).trimmed(), marked->code, marked->exercice, shownCode,
             shownExercice);
}
