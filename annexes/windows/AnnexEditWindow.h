#pragma once

#include "ui/EditWindow.h"

#include <QHash>

class QLabel;
class TDatadeclaration;
struct AnnexDefinition;

// The edit window of an annex, built from the annex's table of columns over the current row of its annex
// dataset: the "Identité Déclarant" panel, the beneficiary, the amounts, the heading box; the sums the
// window computes when a field is left; F10 and "OK" accept, "Annuler" abandons, "fermer" closes without
// changing the result.
class AnnexEditWindow : public EditWindow {
    Q_OBJECT
public:
    AnnexEditWindow(TDatadeclaration &dm, int annex, QWidget *parent = nullptr);
    const AnnexDefinition &definition() const { return m_definition; }
    QLabel *typeLabel() const { return m_typeLabel; } // Annex VII: the designation of the chosen type

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fieldLeft(const QString &column);
    void applyCivilStatus(bool reset);
    TDatadeclaration &m_dm;
    const AnnexDefinition &m_definition;
    QLabel *m_typeLabel = nullptr;
    QHash<QString, QString> m_designations; // Annex VII: withholding type designations by number
};

class TFrmAnnexeimaj : public AnnexEditWindow {
    Q_OBJECT
public:
    explicit TFrmAnnexeimaj(TDatadeclaration &dm, QWidget *parent = nullptr)
        : AnnexEditWindow(dm, 1, parent) {}
};
class TFrmAnnexeIImaj : public AnnexEditWindow {
    Q_OBJECT
public:
    explicit TFrmAnnexeIImaj(TDatadeclaration &dm, QWidget *parent = nullptr)
        : AnnexEditWindow(dm, 2, parent) {}
};
class TFrmannexeIIImaj : public AnnexEditWindow {
    Q_OBJECT
public:
    explicit TFrmannexeIIImaj(TDatadeclaration &dm, QWidget *parent = nullptr)
        : AnnexEditWindow(dm, 3, parent) {}
};
class TFrmannexeivmaj : public AnnexEditWindow {
    Q_OBJECT
public:
    explicit TFrmannexeivmaj(TDatadeclaration &dm, QWidget *parent = nullptr)
        : AnnexEditWindow(dm, 4, parent) {}
};
class TFrmannexeVmaj : public AnnexEditWindow {
    Q_OBJECT
public:
    explicit TFrmannexeVmaj(TDatadeclaration &dm, QWidget *parent = nullptr)
        : AnnexEditWindow(dm, 5, parent) {}
};
class TFrmAnnexevimaj : public AnnexEditWindow {
    Q_OBJECT
public:
    explicit TFrmAnnexevimaj(TDatadeclaration &dm, QWidget *parent = nullptr)
        : AnnexEditWindow(dm, 6, parent) {}
};
class TFrmannexeVIImaj : public AnnexEditWindow {
    Q_OBJECT
public:
    explicit TFrmannexeVIImaj(TDatadeclaration &dm, QWidget *parent = nullptr)
        : AnnexEditWindow(dm, 7, parent) {}
};

// The edit window of annex 1 to 7, of its own class.
AnnexEditWindow *newAnnexEditWindow(TDatadeclaration &dm, int annex, QWidget *parent);
