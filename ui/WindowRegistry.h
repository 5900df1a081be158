#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;
class TFrmmain;

// The windows the main window can open, by window class name ("TFrmAnnexeI", "Tfrmsocietes", ...). Each
// subsystem adds its windows before the main window is built; a command whose window is not here stays
// disabled. A factory makes a new instance each time it is called.
class WindowRegistry {
public:
    using Factory = std::function<QWidget *(TFrmmain &)>;

    // The registry of the application.
    static WindowRegistry &global();

    void add(const QString &className, Factory factory); // replaces a factory of the same name
    void remove(const QString &className);
    bool contains(const QString &className) const { return m_factories.contains(className); }
    QStringList classNames() const { return m_factories.keys(); }

    // A new instance of the window, or null when the class is not registered.
    QWidget *create(const QString &className, TFrmmain &frame) const;

private:
    QHash<QString, Factory> m_factories;
};
