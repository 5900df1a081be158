#pragma once

#include <QDockWidget>
#include <memory>

class Dataset;
class QPlainTextEdit;
class QPushButton;
class TDatadeclaration;

// The panel "Exécuter Un Script": one statement typed by the user, run on the main connection within the
// shared transaction. The panel does not commit; the work becomes durable at the next commit of the run.
class ScriptPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit ScriptPanel(TDatadeclaration &dm, QWidget *parent = nullptr);
    ~ScriptPanel() override;

    QPlainTextEdit *editor() const { return m_editor; }
    QPushButton *executeButton() const { return m_execute; }
    QPushButton *closeButton() const { return m_close; }

private:
    void BtnExecuterClick();

    std::unique_ptr<Dataset> ExecuterSql;
    QPlainTextEdit *m_editor;
    QPushButton *m_execute;
    QPushButton *m_close;
};
