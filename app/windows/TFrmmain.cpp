#include "app/windows/TFrmmain.h"

#include "app/windows/ScriptPanel.h"
#include "data/DbError.h"
#include "data/TDatadeclaration.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString text(const char *s) {
    return s ? QString::fromUtf8(s) : QString();
}

QString captionOrHint(const MainCommand &c) {
    return c.caption ? text(c.caption) : text(c.hint);
}

} // namespace

TFrmmain::TFrmmain(TDatadeclaration &dm, const WindowRegistry &registry, QWidget *parent)
    : QMainWindow(parent), m_dm(dm), m_registry(registry), m_mdi(new QMdiArea) {
    setWindowTitle(QStringLiteral("Talvane 2018"));
    setObjectName(QStringLiteral("Frmmain"));

    for (const MainCommand &c : mainCommands())
        m_actions.push_back(makeAction(c));

    buildMenus();
    buildQuickBar();

    m_mdi->setObjectName(QStringLiteral("Frame"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildRibbon());
    layout->addWidget(m_mdi, 1);
    setCentralWidget(central);

    m_scriptPanel = new ScriptPanel(dm, this);
    addDockWidget(Qt::BottomDockWidgetArea, m_scriptPanel);
    m_scriptPanel->hide();
}

TFrmmain::~TFrmmain() = default;

QAction *TFrmmain::makeAction(const MainCommand &c) {
    auto *action = new QAction(captionOrHint(c), this);
    action->setObjectName(QLatin1String(c.id));
    if (c.hint)
        action->setToolTip(text(c.hint));
    if (c.action == CommandAction::PreviousWindow)
        action->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    else if (c.action == CommandAction::NextWindow)
        action->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    const bool enabled = c.action == CommandAction::OpenWindow ? m_registry.contains(text(c.window))
                                                               : c.action != CommandAction::None;
    action->setEnabled(enabled);
    connect(action, &QAction::triggered, this, [this, &c] { runCommand(c); });
    return action;
}

void TFrmmain::buildMenus() {
    for (const char *name : kMainMenus) {
        QMenu *menu = menuBar()->addMenu(text(name));
        int group = -1;
        for (std::size_t i = 0; i < mainCommands().size(); ++i) {
            const MainCommand &c = mainCommands()[i];
            if (c.place != CommandPlace::Menu || qstrcmp(c.container, name) != 0)
                continue;
            if (group >= 0 && c.group != group)
                menu->addSeparator();
            group = c.group;
            menu->addAction(m_actions[i]);
        }
    }
}

QTabWidget *TFrmmain::buildRibbon() {
    m_ribbon = new QTabWidget;
    m_ribbon->setObjectName(QStringLiteral("Ribbon"));
    m_ribbon->setDocumentMode(true);
    m_ribbon->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    for (const char *name : kRibbonPages) {
        auto *page = new QWidget;
        page->setObjectName(text(name));
        auto *row = new QHBoxLayout(page);
        for (std::size_t i = 0; i < mainCommands().size(); ++i) {
            const MainCommand &c = mainCommands()[i];
            if (c.place != CommandPlace::Ribbon || qstrcmp(c.container, name) != 0)
                continue;
            auto *button = new QToolButton;
            button->setDefaultAction(m_actions[i]);
            button->setToolButtonStyle(Qt::ToolButtonTextOnly);
            button->setAutoRaise(true);
            button->setFixedSize(qMax(64, button->sizeHint().width()), 48);
            row->addWidget(button);
        }
        row->addStretch();
        // A page wider than the window scrolls rather than cutting its captions.
        auto *scroller = new QScrollArea;
        scroller->setFrameShape(QFrame::NoFrame);
        scroller->setWidgetResizable(true);
        scroller->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scroller->setWidget(page);
        scroller->setFixedHeight(page->sizeHint().height() +
                                 scroller->horizontalScrollBar()->sizeHint().height());
        m_ribbon->addTab(scroller, text(name));
    }
    auto *banner = new QLabel(QStringLiteral("Talvane 2018 - Retenues à la Source"));
    banner->setStyleSheet(QStringLiteral("font-weight: bold; font-style: italic; padding: 0 12px;"));
    m_ribbon->setCornerWidget(banner, Qt::TopRightCorner);
    m_ribbon->setCurrentIndex(0);
    return m_ribbon;
}

void TFrmmain::buildQuickBar() {
    m_quickBar = addToolBar(QStringLiteral("Accès rapide"));
    m_quickBar->setObjectName(QStringLiteral("QuickBar"));
    m_quickBar->setMovable(false);
    m_quickBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    int group = 0;
    for (std::size_t i = 0; i < mainCommands().size(); ++i) {
        const MainCommand &c = mainCommands()[i];
        if (c.place != CommandPlace::QuickBar)
            continue;
        if (c.group != group) {
            // The active company sits between the quick-access buttons and "Quitter".
            if (group == 0) {
                m_quickBar->addSeparator();
                auto *label = new QLabel(QStringLiteral("Société Active"));
                label->setContentsMargins(8, 0, 8, 0);
                m_quickBar->addWidget(label);
                m_companyDisplay = new QLabel(QStringLiteral("Societeactive"));
                m_companyDisplay->setObjectName(QStringLiteral("Societeactive"));
                m_companyDisplay->setStyleSheet(QStringLiteral("font-weight: bold;"));
                m_quickBar->addWidget(m_companyDisplay);
                auto *spacer = new QWidget;
                spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
                m_quickBar->addWidget(spacer);
            } else {
                m_quickBar->addSeparator();
            }
            group = c.group;
        }
        m_quickBar->addAction(m_actions[i]);
        if (!c.caption) {
            if (auto *button = qobject_cast<QToolButton *>(m_quickBar->widgetForAction(m_actions[i])))
                button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        }
    }
}

void TFrmmain::runCommand(const MainCommand &c) {
    switch (c.action) {
    case CommandAction::OpenWindow: try { openWindow(text(c.window));
        } catch (const DbError &e) {
            QMessageBox::critical(this, QStringLiteral("Talvane"), e.message());
        }
        break;
    case CommandAction::ShowScriptPanel:
        m_scriptPanel->show();
        m_scriptPanel->raise();
        break;
    case CommandAction::PreviousWindow: m_mdi->activatePreviousSubWindow(); break;
    case CommandAction::NextWindow: m_mdi->activateNextSubWindow(); break;
    case CommandAction::Calculator:
        // Outside the program: whether it starts is not reported.
        QProcess::startDetached(QStringLiteral("../Calc.exe"), {});
        break;
    case CommandAction::Quit: QCoreApplication::exit(0); break;
    case CommandAction::None: break;
    }
}

QMdiSubWindow *TFrmmain::openWindow(const QString &className) {
    QWidget *window = m_registry.create(className, *this);
    if (!window)
        return nullptr;
    window->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow *child = m_mdi->addSubWindow(window);
    child->setAttribute(Qt::WA_DeleteOnClose);
    // A window that closes itself (its "Fermer" button) takes its frame with it.
    connect(window, &QObject::destroyed, child, &QMdiSubWindow::close);
    child->show();
    m_mdi->setActiveSubWindow(child);
    return child;
}

void TFrmmain::setActiveCompany(const ActiveCompany &company) {
    m_dm.activeCompany = company;
    refreshActiveCompanyDisplay();
}

void TFrmmain::refreshActiveCompanyDisplay() {
    const ActiveCompany &c = m_dm.activeCompany;
    m_companyDisplay->setText(c.name.trimmed() + QStringLiteral("   ") + c.code +
                              QStringLiteral("  Exercice") + c.exercice);
}

QAction *TFrmmain::findCommand(CommandPlace place, const QString &container, const QString &caption) const {
    for (std::size_t i = 0; i < mainCommands().size(); ++i) {
        const MainCommand &c = mainCommands()[i];
        if (c.place == place && (place == CommandPlace::QuickBar || text(c.container) == container) &&
            (text(c.caption) == caption || text(c.hint) == caption))
            return m_actions[i];
    }
    return nullptr;
}

QToolButton *TFrmmain::findButton(CommandPlace place, const QString &container,
                                  const QString &caption) const {
    QAction *action = findCommand(place, container, caption);
    if (!action)
        return nullptr;
    if (place == CommandPlace::QuickBar)
        return qobject_cast<QToolButton *>(m_quickBar->widgetForAction(action));
    if (place == CommandPlace::Ribbon) {
        const QWidget *page = m_ribbon->findChild<QWidget *>(container);
        for (QToolButton *button : page ? page->findChildren<QToolButton *>() : QList<QToolButton *>())
            if (button->defaultAction() == action)
                return button;
    }
    return nullptr;
}

QStringList TFrmmain::disabledCommands() const {
    QStringList disabled;
    for (std::size_t i = 0; i < mainCommands().size(); ++i) {
        const MainCommand &c = mainCommands()[i];
        if (!m_actions[i]->isEnabled())
            disabled << (c.container ? text(c.container) : QStringLiteral("Accès rapide")) +
                            QStringLiteral(" > ") + captionOrHint(c);
    }
    return disabled;
}
