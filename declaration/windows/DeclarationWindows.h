#pragma once

#include <QGroupBox>
#include <array>

class QLabel;
class WindowRegistry;

// The presence of the seven annexes for a company and year: "Annexe I" to "Annexe VII", each followed by
// "Oui" when the annex holds at least one row, "Non" otherwise ("Non" until rows are shown).
class AnnexPresencePanel : public QGroupBox {
    Q_OBJECT
public:
    struct Look {
        QString title;            // the group's caption, may be empty
        QString annexHeading;     // heading of the column of annex names, may be empty
        QString presenceHeading;  // heading of the column of answers, may be empty
        bool markPresent = false; // "Oui" on a red background
    };
    AnnexPresencePanel(const Look &look, QWidget *parent);

    void showRows(const std::array<int, 7> &rowCounts);
    QLabel *answer(int annex) const; // annex 1 to 7

private:
    bool m_markPresent;
    std::array<QLabel *, 7> m_answers{};
};

// The line "Société:" code, "Exercice:" year that both windows show above their content.
class QHBoxLayout;
QHBoxLayout *newCompanyLine(QWidget *parent, QLabel *code, QLabel *exercice);

// Adds the declaration files window and the recapitulative table window to a registry.
void registerDeclarationWindows(WindowRegistry &registry);
