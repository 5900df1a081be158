#pragma once

#include "app/windows/MainCommands.h"
#include "ui/WindowRegistry.h"

#include <QMainWindow>
#include <vector>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QTabWidget;
class QToolBar;
class QToolButton;
struct ActiveCompany;
class ScriptPanel;
class TDatadeclaration;

// The main window: a frame whose child windows are the windows of the program, with the ribbon, the main
// menu, the quick-access bar, the active company display and the script panel. Its commands open their
// windows through the window registry; a command whose window is not registered is disabled.
class TFrmmain : public QMainWindow {
    Q_OBJECT
public:
    explicit TFrmmain(TDatadeclaration &dm, const WindowRegistry &registry = WindowRegistry::global(),
                      QWidget *parent = nullptr);
    ~TFrmmain() override;

    TDatadeclaration &dm() const { return m_dm; }
    QMdiArea *mdiArea() const { return m_mdi; }
    QTabWidget *ribbon() const { return m_ribbon; }
    QToolBar *quickBar() const { return m_quickBar; }
    ScriptPanel *scriptPanel() const { return m_scriptPanel; }
    QLabel *activeCompanyDisplay() const { return m_companyDisplay; }

    // Stores the active company in the data module and shows it.
    void setActiveCompany(const ActiveCompany &company);
    // Shows the active company the data module holds.
    void refreshActiveCompanyDisplay();

    // A new instance of a registered window, shown as a child of the frame without waiting; it frees
    // itself when closed. Null when the window is not registered.
    QMdiSubWindow *openWindow(const QString &className);

    // A command by its place, its ribbon page or menu (ignored on the quick-access bar) and its caption
    // or hint; null when there is none.
    QAction *findCommand(CommandPlace place, const QString &container, const QString &captionOrHint) const;
    // The button of a ribbon or quick-access bar command; null for a menu entry.
    QToolButton *findButton(CommandPlace place, const QString &container, const QString &captionOrHint) const;
    // The disabled commands, as "page or menu > caption".
    QStringList disabledCommands() const;

private:
    void buildMenus();
    QTabWidget *buildRibbon();
    void buildQuickBar();
    QAction *makeAction(const MainCommand &command);
    void runCommand(const MainCommand &command);

    TDatadeclaration &m_dm;
    const WindowRegistry &m_registry;
    QMdiArea *m_mdi;
    QTabWidget *m_ribbon = nullptr;
    QToolBar *m_quickBar = nullptr;
    QLabel *m_companyDisplay = nullptr;
    ScriptPanel *m_scriptPanel = nullptr;
    std::vector<QAction *> m_actions; // one per command, in the order of mainCommands()
};
