#include "declaration/windows/DeclarationWindows.h"

#include "app/windows/TFrmmain.h"
#include "declaration/DeclarationError.h"
#include "declaration/windows/TFrmTableaurecap.h"
#include "declaration/windows/TFrmgenerationdeclaration.h"
#include "ui/WindowRegistry.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

AnnexPresencePanel::AnnexPresencePanel(const Look &look, QWidget *parent)
    : QGroupBox(look.title, parent), m_markPresent(look.markPresent) {
    auto *grid = new QGridLayout(this);
    int row = 0;
    if (!look.annexHeading.isEmpty() || !look.presenceHeading.isEmpty()) {
        grid->addWidget(new QLabel(look.annexHeading, this), row, 0);
        grid->addWidget(new QLabel(look.presenceHeading, this), row, 1);
        ++row;
    }
    for (int annex = 1; annex <= 7; ++annex, ++row) {
        grid->addWidget(new QLabel(annexName(annex), this), row, 0);
        auto *answer = new QLabel(this);
        answer->setAlignment(Qt::AlignCenter);
        answer->setMinimumWidth(40);
        grid->addWidget(answer, row, 1);
        m_answers[static_cast<std::size_t>(annex - 1)] = answer;
    }
    showRows({});
}

void AnnexPresencePanel::showRows(const std::array<int, 7> &rowCounts) {
    for (std::size_t i = 0; i < m_answers.size(); ++i) {
        const bool present = rowCounts[i] > 0;
        QLabel *answer = m_answers[i];
        answer->setText(present ? QStringLiteral("Oui") : QStringLiteral("Non"));
        answer->setAutoFillBackground(present && m_markPresent);
        QPalette palette = answer->parentWidget()->palette();
        if (present && m_markPresent) {
            palette.setColor(QPalette::Window, Qt::red);
            palette.setColor(QPalette::WindowText, Qt::white);
        }
        answer->setPalette(palette);
    }
}

QLabel *AnnexPresencePanel::answer(int annex) const {
    return annex >= 1 && annex <= 7 ? m_answers[static_cast<std::size_t>(annex - 1)] : nullptr;
}

QHBoxLayout *newCompanyLine(QWidget *parent, QLabel *code, QLabel *exercice) {
    auto *line = new QHBoxLayout;
    line->addWidget(new QLabel(QStringLiteral("Société:"), parent));
    line->addWidget(code);
    line->addSpacing(24);
    line->addWidget(new QLabel(QStringLiteral("Exercice:"), parent));
    line->addWidget(exercice);
    line->addStretch();
    return line;
}

void registerDeclarationWindows(WindowRegistry &registry) {
    registry.add(QStringLiteral("TFrmgenerationdeclaration"),
                 [](TFrmmain &f) { return new TFrmgenerationdeclaration(f.dm()); });
    registry.add(QStringLiteral("TFrmTableaurecap"),
                 [](TFrmmain &f) { return new TFrmTableaurecap(f.dm()); });
}
