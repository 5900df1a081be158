#pragma once

#include <QWidget>

class AnnexPresencePanel;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class TDatadeclaration;

// The declaration files window: what the active company's declaration holds, and "OK" writing DECEMP_ and
// the annex files of the marked company into the chosen folder. Opening it recomputes the recapitulative
// table.
class TFrmgenerationdeclaration : public QWidget {
    Q_OBJECT
public:
    explicit TFrmgenerationdeclaration(TDatadeclaration &dm, QWidget *parent = nullptr);

    QLabel *companyLabel() const { return m_company; }
    QLabel *exerciceLabel() const { return m_exercice; }
    QComboBox *typeList() const { return m_type; }
    AnnexPresencePanel *presence() const { return m_presence; }
    QLineEdit *folderField() const { return m_folder; }
    QToolButton *folderButton() const { return m_pickFolder; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *closeButton() const { return m_close; }

    // "OK": the folder asked for, the marked company confirmed when it is not the one shown, then the run.
    void ok();

private:
    void open();
    void pickFolder();

    TDatadeclaration &m_dm;
    QString m_shownCode, m_shownExercice; // the company shown, empty when none was found
    QLabel *m_company;
    QLabel *m_exercice;
    QComboBox *m_type;
    AnnexPresencePanel *m_presence;
    QLineEdit *m_folder;
    QToolButton *m_pickFolder;
    QPushButton *m_ok;
    QPushButton *m_close;
};
