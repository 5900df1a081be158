#pragma once

#include <QWidget>

class AnnexPresencePanel;
class DatasetGrid;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TDatadeclaration;

// The recapitulative table window: the 38 lines recomputed for the active company when it opens, the
// correction of a line's base and withholding, and the cover sheet.
class TFrmTableaurecap : public QWidget {
    Q_OBJECT
public:
    explicit TFrmTableaurecap(TDatadeclaration &dm, QWidget *parent = nullptr);
    ~TFrmTableaurecap() override;

    QLabel *companyLabel() const { return m_company; }
    QLabel *exerciceLabel() const { return m_exercice; }
    DatasetGrid *grid() const { return m_grid; }
    AnnexPresencePanel *presence() const { return m_presence; }
    QLineEdit *codeTvaField() const { return m_codeTva; }
    QDateEdit *declarationDateField() const { return m_date; }
    QPushButton *printButton() const { return m_print; }
    QPushButton *closeButton() const { return m_close; }
    QGroupBox *correctionGroup() const { return m_correction; }
    QLineEdit *baseField() const { return m_base; }
    QLineEdit *withholdingField() const { return m_withholding; }
    QPushButton *validateButton() const { return m_validate; }
    QPushButton *correctionCloseButton() const { return m_correctionClose; }

private:
    void open();
    void startCorrection();
    void validateCorrection();
    void hideCorrection();

    TDatadeclaration &m_dm;
    QLabel *m_company;
    QLabel *m_exercice;
    DatasetGrid *m_grid;
    AnnexPresencePanel *m_presence;
    QLineEdit *m_codeTva;
    QDateEdit *m_date;
    QPushButton *m_print;
    QPushButton *m_close;
    QGroupBox *m_correction;
    QLineEdit *m_base;
    QLineEdit *m_withholding;
    QPushButton *m_validate;
    QPushButton *m_correctionClose;
    QMetaObject::Connection m_focusWatch;
    int m_correctedOrdre = 0; // the line double-clicked, corrected by "Valider"
};
