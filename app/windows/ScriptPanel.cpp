#include "app/windows/ScriptPanel.h"

#include "data/DbError.h"
#include "data/TDatadeclaration.h"

#include <QHBoxLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

ScriptPanel::ScriptPanel(TDatadeclaration &dm, QWidget *parent)
    : QDockWidget(QStringLiteral("Exécuter Un Script"), parent),
      ExecuterSql(dm.newQuery(QStringLiteral("ExecuterSql"))), m_editor(new QPlainTextEdit),
      m_execute(new QPushButton(QStringLiteral("Exécuter Script"))),
      m_close(new QPushButton(QStringLiteral("Fermer"))) {
    setObjectName(QStringLiteral("ScriptPanel"));
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    m_editor->setObjectName(QStringLiteral("Memo"));
    m_editor->setLineWrapMode(QPlainTextEdit::NoWrap);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_execute);
    buttons->addWidget(m_close);
    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    layout->addWidget(m_editor);
    layout->addLayout(buttons);
    setWidget(content);

    connect(m_execute, &QPushButton::clicked, this, &ScriptPanel::BtnExecuterClick);
    connect(m_close, &QPushButton::clicked, this, &QWidget::hide);
}

ScriptPanel::~ScriptPanel() = default;

void ScriptPanel::BtnExecuterClick() {
    // The whole text is one statement, behind one blank.
    try {
        ExecuterSql->close();
        ExecuterSql->setSql(QLatin1Char(' ') + m_editor->toPlainText());
        ExecuterSql->open();
    } catch (const DbError &e) {
        QMessageBox::critical(this, QStringLiteral("Talvane"), e.message());
        return;
    }
    QMessageBox::information(this, QStringLiteral("Talvane"), QStringLiteral("Sql Exécuté"));
}
