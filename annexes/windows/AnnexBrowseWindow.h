#pragma once

#include "exchange/GWGExporterXL.h"
#include "ui/BrowseWindow.h"

class QGroupBox;
class TDatadeclaration;
class WindowRegistry;
struct AnnexBrowseDefinition;

// The browse window of an annex, built from the annex's row of the browse table: the rows of the active
// company and fiscal year, sorting and search within them, the edit window for a new or the current row,
// deletion, verification, print, clearing of the listed rows and the copy of the previous year. Opening it
// sets the verification message flag; closing it closes the annex dataset.
class AnnexBrowseWindow : public BrowseWindow {
    Q_OBJECT
public:
    AnnexBrowseWindow(TDatadeclaration &dm, int annex, QWidget *parent = nullptr);

    int annex() const;
    // Annex I: the panel "Impression Certificats"; null elsewhere.
    QGroupBox *certificatePanel() const { return m_certificates; }
    // The exporter of "Export Excel"; its settings (the save file among them) are kept between exports.
    GWGExporterXL &exporter() { return m_exporter; }
    // The workbook the last export wrote; empty when none was written.
    const QString &exportedFile() const { return m_exported; }

protected:
    void showEvent(QShowEvent *event) override;
    void closing() override;

private:
    void loadRows();
    void addAnnexRow();
    void verify();
    void clearAnnex();
    void copyPreviousYear();
    void importFromSpreadsheet();
    void exportToSpreadsheet();
    void buildCertificatePanel();
    void printCertificates();

    TDatadeclaration &m_dm;
    const AnnexBrowseDefinition &m_definition;
    QGroupBox *m_certificates = nullptr;
    class QLineEdit *m_fromNumber = nullptr;
    class QLineEdit *m_toNumber = nullptr;

    GWGExporterXL m_exporter;
    QString m_exported;
};

class TFrmAnnexeI : public AnnexBrowseWindow {
    Q_OBJECT
public:
    explicit TFrmAnnexeI(TDatadeclaration &dm, QWidget *parent = nullptr)
        : AnnexBrowseWindow(dm, 1, parent) {}
};
class TFrmAnnexeII : public AnnexBrowseWindow {
    Q_OBJECT
public:
    explicit TFrmAnnexeII(TDatadeclaration &dm, QWidget *parent = nullptr)
        : AnnexBrowseWindow(dm, 2, parent) {}
};
class TFrmAnnexeIII : public AnnexBrowseWindow {
    Q_OBJECT
public:
    explicit TFrmAnnexeIII(TDatadeclaration &dm, QWidget *parent = nullptr)
        : AnnexBrowseWindow(dm, 3, parent) {}
};
class TFrmannexeIV : public AnnexBrowseWindow {
    Q_OBJECT
public:
    explicit TFrmannexeIV(TDatadeclaration &dm, QWidget *parent = nullptr)
        : AnnexBrowseWindow(dm, 4, parent) {}
};
class TFrmAnnexeV : public AnnexBrowseWindow {
    Q_OBJECT
public:
    explicit TFrmAnnexeV(TDatadeclaration &dm, QWidget *parent = nullptr)
        : AnnexBrowseWindow(dm, 5, parent) {}
};
class TFrmAnnexevI : public AnnexBrowseWindow {
    Q_OBJECT
public:
    explicit TFrmAnnexevI(TDatadeclaration &dm, QWidget *parent = nullptr)
        : AnnexBrowseWindow(dm, 6, parent) {}
};
class TFrmAnnexeVII : public AnnexBrowseWindow {
    Q_OBJECT
public:
    explicit TFrmAnnexeVII(TDatadeclaration &dm, QWidget *parent = nullptr)
        : AnnexBrowseWindow(dm, 7, parent) {}
};

// Adds the seven annex browse windows to a registry.
void registerAnnexWindows(WindowRegistry &registry);
