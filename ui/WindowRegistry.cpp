#include "ui/WindowRegistry.h"

WindowRegistry &WindowRegistry::global() {
    static WindowRegistry registry;
    return registry;
}

void WindowRegistry::add(const QString &className, Factory factory) {
    m_factories.insert(className, std::move(factory));
}

void WindowRegistry::remove(const QString &className) {
    m_factories.remove(className);
}

QWidget *WindowRegistry::create(const QString &className, TFrmmain &frame) const {
    const auto it = m_factories.constFind(className);
    return it == m_factories.constEnd() ? nullptr : (*it)(frame);
}
