#pragma once

#include <QList>
#include <QStringList>
#include <QWidget>
#include <functional>

class Dataset;
class QPushButton;

// What an edit field holds and how it is entered.
enum class FieldKind {
    Text,         // a line of text, at most the column's width
    Integer,      // digits only
    Amount,       // digits and a decimal point
    Date,         // a date with a calendar drop-down; empty when the column is null
    Choice,       // a drop-down list of coded choices that also takes typed text; stores the first character
    NumberChoice, // a drop-down list of "number:label" items; stores the number
    Check,        // a check box storing "O" when ticked and "N" otherwise
    File,         // a path, typed or chosen with a file picker that is not a tab stop
};

// One field of an edit window: its caption, its column and how it is entered. A padded text is filled with
// blanks to the column's width when the user leaves it.
struct EditField {
    EditField(const char *caption, const char *column, FieldKind kind = FieldKind::Text, bool padded = false,
              QStringList choices = {}, const char *fileFilter = "")
        : caption(QString::fromUtf8(caption)), column(QString::fromUtf8(column)), kind(kind), padded(padded),
          choices(std::move(choices)), fileFilter(QString::fromUtf8(fileFilter)) {}

    QString caption;
    QString column;
    FieldKind kind = FieldKind::Text;
    bool padded = false;
    QStringList choices; // Choice
    QString fileFilter;  // File, as "Label|*.ext"
    QString group;       // consecutive fields of one group share a framed panel of that title
    QString hint;
    bool skipped = false; // editable, but Enter and Up pass it by
};

// The behaviour shared by edit windows over the current row of a shared dataset: the fields in their order,
// Enter to the next field, Up to the previous one, F10, and the buttons "OK", "Annuler" and "fermer".
class EditWindow : public QWidget {
    Q_OBJECT
public:
    enum class Policy {
        // F10 and "OK" confirm the entry; every closing saves a confirmed entry and abandons any other.
        ConfirmThenSaveOnClose,
        // F10 and "OK" save at once and close; any other closing abandons the entry.
        SaveAndClose,
        // F10 and "OK" accept, "Annuler" abandons, "fermer" keeps the result; closing saves an accepted
        // entry.
        AcceptOrAbandon,
    };

    EditWindow(Dataset &dataset, const QString &caption, QList<EditField> fields, Policy policy,
               QWidget *parent = nullptr);

    Dataset &dataset() const { return m_dataset; }
    QWidget *editor(const QString &caption) const; // the field's widget, null when absent
    QPushButton *button(const QString &caption) const;
    bool isConfirmed() const { return m_confirmed; }

    // Reads the row into the fields again, all of them or one.
    void loadFields();
    void loadField(const QString &column);

    // A text above the fields that recalls what the window covers.
    void setHeading(const QString &text);
    // Whether Enter and Up pass a field by, and whether it can be changed.
    void setFieldSkipped(const QString &column, bool skipped);
    void setFieldReadOnly(const QString &column, bool readOnly);
    // Called with the column of a field once the user has left it and its value is in the row.
    void setFieldLeftHandler(std::function<void(const QString &column)> handler) {
        m_leftHandler = std::move(handler);
    }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildField(const EditField &field);
    int fieldOf(QObject *widget) const;
    int fieldOfColumn(const QString &column) const;
    void loadField(int index);
    bool storeField(int index, bool leaving);
    bool storeFocusedField();
    void moveFocus(int from, int step);
    void leaveField(int index, int step);
    bool save();
    void accept();

    Dataset &m_dataset;
    QList<EditField> m_fields;
    QList<QWidget *> m_editors;
    QList<QPushButton *> m_buttons;
    Policy m_policy;
    bool m_confirmed = false; // ConfirmThenSaveOnClose: the entry is to be saved on closing
    bool m_saved = false;     // SaveAndClose: the entry was saved by "OK" or F10
    bool m_storing = false;
    bool m_leaving = false; // the field left by Enter or Up has had its consequences applied
    class QVBoxLayout *m_layout;
    std::function<void(const QString &)> m_leftHandler;
};
