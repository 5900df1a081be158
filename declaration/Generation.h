#pragma once

#include "declaration/AnnexIVerification.h"
#include "declaration/CompanyRow.h"

#include <QStringList>
#include <array>
#include <functional>

class TDatadeclaration;

// The generation run of "OK" in the declaration files window, and what that window and the recapitulative
// table window need from the domain when they open.

struct GenerationRequest {
    QString folder;          // the folder field; required
    int declarationType = 0; // position in "Spontané", "Régularisation", "Redressement"
    // Run on the marked company's Annex I rows before anything is read from the annexes.
    std::function<void(TDatadeclaration &, const CompanyRow &)> verifyAnnexI = ::verifyAnnexI;
};

struct GenerationResult {
    CompanyRow company; // the marked company, declared
    QStringList files;  // paths written, DECEMP_ first
    bool recapRecomputed = false;
    QStringList staleAnnexFiles; // files of annexes now without rows, left in the folder by an earlier run
};

// For the marked company: Annex I verification, the seven annex queries, the recapitulative table (kept
// with its corrections when it was last computed for this company and year in this run, recomputed
// otherwise), the check of every row, then DECEMP_ and the annex files. Throws DeclarationError with the
// French message to show; nothing is written then.
GenerationResult runGeneration(TDatadeclaration &dm, const GenerationRequest &request);

// What the generation and recap windows show when they open, for the active company: its row, the row
// count of each annex, and the recapitulative table recomputed. Throws DeclarationError when no company is
// chosen or none matches; a failed computation is reported in recapError and leaves the table empty.
struct DeclarationOpening {
    CompanyRow company;
    std::array<int, 7> annexRows{};
    QString recapError;
};
DeclarationOpening openDeclarationWindow(TDatadeclaration &dm);

// Before "OK" writes anything: the question to put when the marked company is not the company the window
// shows ("" when it is, or when none is marked, which the run itself reports).
QString markedCompanyQuestion(TDatadeclaration &dm, const QString &shownCode, const QString &shownExercice);
