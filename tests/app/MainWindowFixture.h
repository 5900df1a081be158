#pragma once

#include "app/windows/TFrmmain.h"
#include "tests/support/DataModuleFixture.h"
#include "ui/WindowRegistry.h"

#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os) {
    *os << '"' << s.toStdString() << '"';
}

// A main window over a data module connected to a fresh database, shown on the offscreen platform.
class MainWindowFixture : public DataModuleFixture {
protected:
    // Builds the main window with the windows of `registry` (registered before the window is built).
    TFrmmain &showFrame() {
        frame = std::make_unique<TFrmmain>(dm, registry);
        frame->show();
        return *frame;
    }

    // Brings a ribbon page forward by its tab, then clicks one of its buttons.
    void clickRibbon(const QString &page, const QString &caption) {
        QTabBar *tabs = frame->ribbon()->tabBar();
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->tabText(i) == page)
                QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(i).center());
        ASSERT_EQ(frame->ribbon()->tabText(frame->ribbon()->currentIndex()), page);
        QToolButton *button = frame->findButton(CommandPlace::Ribbon, page, caption);
        ASSERT_NE(button, nullptr) << caption.toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }

    void clickQuickBar(const QString &captionOrHint) {
        QToolButton *button = frame->findButton(CommandPlace::QuickBar, {}, captionOrHint);
        ASSERT_NE(button, nullptr) << captionOrHint.toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }

    QMenu *menu(const QString &title) const {
        for (QAction *a : frame->menuBar()->actions())
            if (a->menu() && a->text() == title)
                return a->menu();
        return nullptr;
    }

    // Opens a menu of the menu bar with the mouse and clicks one of its entries.
    void clickMenu(const QString &title, const QString &entry) {
        QMenu *m = menu(title);
        ASSERT_NE(m, nullptr) << title.toStdString();
        QMenuBar *bar = frame->menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(m->menuAction()).center());
        ASSERT_TRUE(m->isVisible()) << title.toStdString();
        QAction *target = nullptr;
        for (QAction *a : m->actions())
            if (a->text() == entry)
                target = a;
        ASSERT_NE(target, nullptr) << entry.toStdString();
        QTest::mouseClick(m, Qt::LeftButton, {}, m->actionGeometry(target).center());
        if (m->isVisible())
            m->hide();
    }

    // Runs an action and accepts every message box it shows; returns their texts in order.
    static QStringList acceptMessageBoxes(const std::function<void()> &action) {
        QStringList texts;
        QTimer timer;
        timer.setInterval(0);
        QObject::connect(&timer, &QTimer::timeout, [&texts] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (box && box->isVisible()) {
                texts << box->text();
                box->accept();
            }
        });
        timer.start();
        action();
        QCoreApplication::processEvents();
        return texts;
    }

    // Runs an action that opens modal windows; each one (message box or dialog) is handed to `answer` when
    // it appears, which is expected to close it.
    static void withModals(const std::function<void()> &action,
                           const std::function<void(QWidget *)> &answer) {
        QTimer timer;
        timer.setInterval(0);
        QPointer<QWidget> last;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (modal && modal->isVisible() && modal != last) {
                last = modal;
                answer(modal);
            }
        });
        timer.start();
        action();
        QCoreApplication::processEvents();
    }

    // Runs an action and answers every message box it shows with `button` (or its only button); returns
    // their texts in order.
    static QStringList answerMessageBoxes(const std::function<void()> &action,
                                          QMessageBox::StandardButton button) {
        QStringList texts;
        withModals(action, [&](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            if (!box)
                return;
            texts << box->text();
            if (QAbstractButton *b = box->button(button))
                b->click();
            else
                box->accept();
        });
        return texts;
    }

    WindowRegistry registry;
    std::unique_ptr<TFrmmain> frame;
};
