#include "ui/EditWindow.h"

#include "data/Dataset.h"
#include "data/DbError.h"
#include "data/NumberFormat.h"
#include "ui/BrowseWindow.h"
#include "ui/Messages.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The date a date field shows as empty.
const QDate kNoDate(1900, 1, 1);

QString qtFilter(const QString &filter) {
    const qsizetype bar = filter.indexOf(QLatin1Char('|'));
    return bar < 0 ? filter
                   : filter.left(bar) + QStringLiteral(" (") + filter.mid(bar + 1) + QLatin1Char(')');
}

} // namespace

EditWindow::EditWindow(Dataset &dataset, const QString &caption, QList<EditField> fields, Policy policy,
                       QWidget *parent)
    : QWidget(parent, Qt::Window), m_dataset(dataset), m_fields(std::move(fields)), m_policy(policy) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(caption);
    m_layout = new QVBoxLayout(this);
    QFormLayout *form = nullptr;
    QString group;
    for (const EditField &f : m_fields) {
        if (!form || f.group != group) {
            group = f.group;
            form = new QFormLayout;
            if (group.isEmpty()) {
                m_layout->addLayout(form);
            } else {
                auto *box = new QGroupBox(group, this);
                box->setLayout(form);
                m_layout->addWidget(box);
            }
        }
        QWidget *row = buildField(f);
        if (f.kind == FieldKind::Check)
            form->addRow(QString(), row);
        else
            form->addRow(f.caption, row);
    }
    QVBoxLayout *layout = m_layout;

    m_buttons = addButtonRow(layout, this,
                             {QStringLiteral("OK"), QStringLiteral("Annuler"), QStringLiteral("fermer")});
    connect(m_buttons[0], &QPushButton::clicked, this, &EditWindow::accept);
    connect(m_buttons[1], &QPushButton::clicked, this, [this] {
        if (m_policy == Policy::AcceptOrAbandon)
            m_confirmed = false;
        close();
    });
    connect(m_buttons[2], &QPushButton::clicked, this, &QWidget::close);
}

QWidget *EditWindow::buildField(const EditField &f) {
    QWidget *editor = nullptr;
    QWidget *row = nullptr;
    switch (f.kind) {
    case FieldKind::Text:
    case FieldKind::Integer:
    case FieldKind::Amount:
    case FieldKind::File: {
        auto *line = new QLineEdit(this);
        if (f.kind == FieldKind::Integer)
            line->setValidator(
                new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?\\d{0,9}")), line));
        else if (f.kind == FieldKind::Amount)
            line->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("-?[\\d ]*([.,]\\d*)?")), line));
        editor = line;
        if (f.kind == FieldKind::File) {
            auto *box = new QWidget(this);
            auto *h = new QHBoxLayout(box);
            h->setContentsMargins(0, 0, 0, 0);
            h->addWidget(line);
            auto *pick = new QToolButton(box);
            pick->setText(QStringLiteral("..."));
            pick->setFocusPolicy(Qt::NoFocus);
            h->addWidget(pick);
            const QString filter = qtFilter(f.fileFilter);
            connect(pick, &QToolButton::clicked, this, [this, line, filter] {
                const QString path =
                    QFileDialog::getOpenFileName(this, QString(), line->text().trimmed(), filter);
                if (path.isEmpty())
                    return;
                line->setText(path);
                storeField(fieldOf(line), false);
            });
            row = box;
        }
        break;
    }
    case FieldKind::Date: {
        auto *date = new QDateEdit(this);
        date->setCalendarPopup(true);
        date->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        date->setMinimumDate(kNoDate);
        date->setSpecialValueText(QStringLiteral(" "));
        date->setDate(kNoDate);
        connect(date, &QDateEdit::dateChanged, this, [this, date] { storeField(fieldOf(date), false); });
        editor = date;
        break;
    }
    case FieldKind::Choice:
    case FieldKind::NumberChoice: {
        auto *combo = new QComboBox(this);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->addItems(f.choices);
        combo->setCurrentIndex(-1);
        connect(combo, &QComboBox::activated, this, [this, combo] { storeField(fieldOf(combo), false); });
        editor = combo;
        break;
    }
    case FieldKind::Check: {
        auto *check = new QCheckBox(f.caption, this);
        connect(check, &QCheckBox::toggled, this, [this, check] { storeField(fieldOf(check), false); });
        editor = check;
        break;
    }
    }
    editor->setObjectName(f.column);
    editor->setToolTip(f.hint);
    editor->installEventFilter(this);
    m_editors << editor;
    return row ? row : editor;
}

int EditWindow::fieldOfColumn(const QString &column) const {
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].column.compare(column, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void EditWindow::setHeading(const QString &text) {
    auto *heading = new QLabel(text, this);
    heading->setObjectName(QStringLiteral("heading"));
    heading->setWordWrap(true);
    heading->setFrameShape(QFrame::Box);
    heading->setMargin(6);
    m_layout->insertWidget(0, heading);
}

void EditWindow::setFieldSkipped(const QString &column, bool skipped) {
    const int i = fieldOfColumn(column);
    if (i >= 0)
        m_fields[i].skipped = skipped;
}

void EditWindow::setFieldReadOnly(const QString &column, bool readOnly) {
    const int i = fieldOfColumn(column);
    if (i < 0)
        return;
    if (auto *line = qobject_cast<QLineEdit *>(m_editors[i]))
        line->setReadOnly(readOnly);
    else
        m_editors[i]->setEnabled(!readOnly);
}

void EditWindow::loadField(const QString &column) {
    const int i = fieldOfColumn(column);
    if (i >= 0) {
        m_storing = true;
        loadField(i);
        m_storing = false;
    }
}

QWidget *EditWindow::editor(const QString &caption) const {
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].caption == caption)
            return m_editors[i];
    return nullptr;
}

QPushButton *EditWindow::button(const QString &caption) const {
    for (QPushButton *b : m_buttons)
        if (b->text() == caption)
            return b;
    return nullptr;
}

int EditWindow::fieldOf(QObject *widget) const {
    for (int i = 0; i < m_editors.size(); ++i)
        if (m_editors[i] == widget)
            return i;
    return -1;
}

void EditWindow::loadFields() {
    m_storing = true;
    for (int i = 0; i < m_fields.size(); ++i)
        loadField(i);
    m_storing = false;
}

void EditWindow::loadField(int i) {
    {
        const EditField &f = m_fields[i];
        const QVariant v =
            m_dataset.isOpen() && m_dataset.currentRow() >= 0 ? m_dataset.value(f.column) : QVariant();
        QWidget *w = m_editors[i];
        switch (f.kind) {
        case FieldKind::Text:
        case FieldKind::File:
        case FieldKind::Integer:
            static_cast<QLineEdit *>(w)->setText(v.isNull() ? QString() : v.toString());
            break;
        case FieldKind::Amount:
            static_cast<QLineEdit *>(w)->setText(v.isNull() ? QString()
                                                            : QString::number(v.toDouble(), 'g', 15));
            break;
        case FieldKind::Date: {
            QDate d = v.typeId() == QMetaType::QDateTime ? v.toDateTime().date() : v.toDate();
            static_cast<QDateEdit *>(w)->setDate(d.isValid() ? d : kNoDate);
            break;
        }
        case FieldKind::Choice: {
            auto *combo = static_cast<QComboBox *>(w);
            const QString code = v.toString().trimmed();
            int item = -1;
            for (int c = 0; !code.isEmpty() && c < combo->count(); ++c)
                if (combo->itemText(c).startsWith(code))
                    item = c;
            combo->setCurrentIndex(item);
            combo->setEditText(item >= 0 ? combo->itemText(item) : v.toString());
            break;
        }
        case FieldKind::NumberChoice: {
            auto *combo = static_cast<QComboBox *>(w);
            const QString code = v.toString().trimmed();
            int item = -1;
            for (int c = 0; !code.isEmpty() && c < combo->count(); ++c)
                if (combo->itemText(c).section(QLatin1Char(':'), 0, 0).trimmed() == code)
                    item = c;
            combo->setCurrentIndex(item);
            combo->setEditText(item >= 0 ? combo->itemText(item) : code);
            break;
        }
        case FieldKind::Check:
            static_cast<QCheckBox *>(w)->setChecked(v.toString() == QLatin1String("O"));
            break;
        }
    }
}

// Writes a field into the row in entry; `leaving` pads a padded text. False (with the message shown) when
// the dataset refuses the value.
bool EditWindow::storeField(int index, bool leaving) {
    if (m_storing || index < 0 || !m_dataset.isEditing())
        return true;
    const EditField &f = m_fields[index];
    QWidget *w = m_editors[index];
    QVariant value;
    switch (f.kind) {
    case FieldKind::Text:
    case FieldKind::File: {
        auto *line = static_cast<QLineEdit *>(w);
        QString text = line->text();
        if (leaving && f.padded) {
            const int field = m_dataset.fieldIndex(f.column);
            const ColumnInfo *c = field >= 0 ? m_dataset.column(field) : nullptr;
            const int width = c ? c->width() : 0;
            if (text.size() < width) {
                text += QString(width - text.size(), QLatin1Char(' '));
                m_storing = true;
                line->setText(text);
                m_storing = false;
            }
        }
        value = text;
        break;
    }
    case FieldKind::Integer:
    case FieldKind::Amount: {
        QString text = static_cast<QLineEdit *>(w)->text();
        text.remove(QLatin1Char(' '));
        text.replace(QLatin1Char(','), QLatin1Char('.'));
        if (!text.isEmpty()) {
            bool ok = false;
            const double number = text.toDouble(&ok);
            if (!ok) {
                showMessage(this,
                            QStringLiteral("'%1' n'est pas une valeur numérique valide pour le champ '%2'.")
                                .arg(static_cast<QLineEdit *>(w)->text(), f.caption));
                return false;
            }
            value = f.kind == FieldKind::Integer ? QVariant(text.toLongLong()) : QVariant(number);
        }
        break;
    }
    case FieldKind::Date: {
        const QDate d = static_cast<QDateEdit *>(w)->date();
        if (d != kNoDate)
            value = d;
        break;
    }
    case FieldKind::Choice: {
        const QString text = static_cast<QComboBox *>(w)->currentText();
        if (!text.isEmpty())
            value = text.left(1);
        break;
    }
    case FieldKind::NumberChoice: {
        const QString number =
            static_cast<QComboBox *>(w)->currentText().section(QLatin1Char(':'), 0, 0).trimmed();
        if (!number.isEmpty())
            value = number;
        break;
    }
    case FieldKind::Check:
        value = static_cast<QCheckBox *>(w)->isChecked() ? QStringLiteral("O") : QStringLiteral("N");
        break;
    }
    try {
        m_dataset.setValue(f.column, value);
    } catch (const DbError &e) {
        showDbError(this, e);
        return false;
    }
    return true;
}

bool EditWindow::storeFocusedField() {
    QWidget *focus = focusWidget();
    for (int i = 0; i < m_editors.size(); ++i)
        if (m_editors[i] == focus || m_editors[i]->isAncestorOf(focus))
            return storeField(i, true);
    return true;
}

void EditWindow::moveFocus(int from, int step) {
    const int n = static_cast<int>(m_editors.size());
    for (int k = 1; k <= n; ++k) {
        QWidget *w = m_editors[((from + step * k) % n + n) % n];
        if (w->isEnabled() && !m_fields[((from + step * k) % n + n) % n].skipped) {
            w->setFocus(Qt::TabFocusReason);
            if (auto *line = qobject_cast<QLineEdit *>(w))
                line->selectAll();
            return;
        }
    }
}

// Enter and Up: the field is stored and its consequences applied (a field the next one depends on may
// change whether that one is passed by) before the focus moves.
void EditWindow::leaveField(int index, int step) {
    if (!storeField(index, true))
        return;
    if (m_leftHandler && m_dataset.isEditing())
        m_leftHandler(m_fields[index].column);
    m_leaving = true;
    moveFocus(index, step);
    m_leaving = false;
}

bool EditWindow::eventFilter(QObject *watched, QEvent *event) {
    const int index = fieldOf(watched);
    if (index < 0)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::FocusOut) {
        if (!storeField(index, true))
            QMetaObject::invokeMethod(m_editors[index], qOverload<>(&QWidget::setFocus),
                                      Qt::QueuedConnection);
        else if (!m_leaving && m_leftHandler && m_dataset.isEditing())
            m_leftHandler(m_fields[index].column);
        return false;
    }
    if (event->type() != QEvent::KeyPress || m_fields[index].kind == FieldKind::Check)
        return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: leaveField(index, 1); return true;
    case Qt::Key_Up: leaveField(index, -1); return true;
    case Qt::Key_F10:
        if (m_policy == Policy::SaveAndClose) {
            accept();
        } else if (storeField(index, true)) {
            m_confirmed = true;
        }
        return true;
    default: return false;
    }
}

void EditWindow::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        loadFields();
        if (!m_editors.isEmpty())
            m_editors.first()->setFocus(Qt::OtherFocusReason);
    }
}

bool EditWindow::save() {
    if (!storeFocusedField())
        return false;
    try {
        m_dataset.post();
    } catch (const DbError &e) {
        showDbError(this, e);
        return false;
    }
    return true;
}

// "OK", and F10 when F10 saves.
void EditWindow::accept() {
    if (m_policy != Policy::SaveAndClose) {
        m_confirmed = true;
        close();
        return;
    }
    if (!save())
        return;
    m_saved = true;
    close();
}

void EditWindow::closeEvent(QCloseEvent *event) {
    if (m_policy != Policy::SaveAndClose) {
        if (m_confirmed && !save()) {
            // The entry stays for the user to mend and confirm again, or to abandon.
            m_confirmed = false;
            event->ignore();
            return;
        }
        m_dataset.cancel();
    } else if (m_saved) {
        // The row is saved once more, unchanged, when the window closes after a save.
        try {
            if (m_dataset.isOpen() && m_dataset.currentRow() >= 0) {
                m_dataset.edit();
                m_dataset.post();
            }
        } catch (const DbError &e) {
            m_dataset.cancel();
            showDbError(this, e);
        }
    } else {
        m_dataset.cancel();
    }
    event->accept();
}
