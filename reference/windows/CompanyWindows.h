#pragma once

#include "ui/BrowseWindow.h"
#include "ui/EditWindow.h"

#include <QDialog>

class QLineEdit;
class TDatadeclaration;
class TFrmmain;

// The company list, the first window the user sees. Closing it, by any means, makes its current row the
// active company.
class Tfrmsocietes : public BrowseWindow {
    Q_OBJECT
public:
    explicit Tfrmsocietes(TFrmmain &frame, QWidget *parent = nullptr);

    void ajouter();
    void modifier();
    void supprimer();

protected:
    void showEvent(QShowEvent *event) override;
    void closing() override;

private:
    TFrmmain &m_frame;
};

// The parameters of the current company row: F10 and "OK" save and close.
class Tfrmparamsociete : public EditWindow {
    Q_OBJECT
public:
    explicit Tfrmparamsociete(TDatadeclaration &dm, QWidget *parent = nullptr);
};

// The password asked before a company is deleted.
class TFrmMotPasse : public QDialog {
    Q_OBJECT
public:
    explicit TFrmMotPasse(QWidget *parent = nullptr);
    QString password() const;
    QLineEdit *passwordEdit() const { return m_password; }

private:
    QLineEdit *m_password;
};

// The initialisation of the database, guarded by the password typed exactly.
class TFrminitialisation : public QWidget {
    Q_OBJECT
public:
    explicit TFrminitialisation(TDatadeclaration &dm, QWidget *parent = nullptr);
    QLineEdit *passwordEdit() const { return m_password; }
    void ok();

private:
    TDatadeclaration &m_dm;
    QLineEdit *m_password;
};

// The password of the deletions and of the initialisation.
inline constexpr const char *kAdministrationPassword = "qorvintel";
