#pragma once

#include "exchange/ImportWizard.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;

// The window of the import wizard: the file and its sheet, the first row read, a preview of the first rows,
// the mapping of the target's fields to the file's columns, the saved import settings, and the import
// itself with its progress, which the user can interrupt. The import only appends rows to the target; the
// caller reads it again after. A window that only shows what a file holds gives a display handler: the
// import then reads the rows and hands them over, and nothing is stored.
class ImportWizardDialog : public QDialog {
    Q_OBJECT
public:
    ImportWizardDialog(Dataset &target, TDatadeclaration *dm, QWidget *parent = nullptr);
    ~ImportWizardDialog() override;

    using DisplayHandler =
        std::function<void(const QStringList &fields, const std::vector<ImportWizard::ShownRow> &rows)>;
    void setDisplayHandler(DisplayHandler handler) { m_display = std::move(handler); }

    ImportWizard &wizard() { return m_wizard; }
    // The preset import settings of a table, the annexes' files in `modelsFolder`.
    void usePreset(const QString &table, const QString &modelsFolder);

    QLineEdit *fileBox() const { return m_file; }
    QComboBox *sheetBox() const { return m_sheets; }
    QComboBox *formatBox() const { return m_format; }
    QComboBox *delimiterBox() const { return m_delimiter; }
    QSpinBox *firstRowBox() const { return m_firstRow; }
    QSpinBox *lastRowBox() const { return m_lastRow; }
    QTableWidget *previewTable() const { return m_preview; }
    QTableWidget *mappingTable() const { return m_mapping; }
    QProgressBar *progressBar() const { return m_progress; }
    QPushButton *importButton() const { return m_import; }
    QPushButton *stopButton() const { return m_stop; }
    bool isImporting() const { return m_importing; }
    // How the last import ended (nothing imported before the first).
    const ImportResult &lastResult() const { return m_result; }

    // The file of the box opened: its sheets and first rows shown; an unreadable file is reported.
    void openFile();
    // The settings of the boxes and of the mapping table given to the wizard.
    void applyBoxes();
    void saveSettings(const QString &path);
    void loadSettings(const QString &path);
    void runImport();
    // While an import runs, closing the window interrupts it instead.
    void reject() override;

private:
    // The file, format and separator of the boxes given to the wizard, and its settings shown again.
    void useFileOfBoxes();
    void previewWhenPresent();
    bool keepGoing(int done, int total);
    void showSettings();
    void showPreview();
    void chooseFile();

    ImportWizard m_wizard;
    ImportResult m_result;
    QLineEdit *m_file;
    QComboBox *m_sheets;
    QComboBox *m_format;
    QComboBox *m_delimiter;
    QSpinBox *m_firstRow;
    QSpinBox *m_lastRow;
    QTableWidget *m_preview;
    QTableWidget *m_mapping;
    QProgressBar *m_progress;
    QPushButton *m_import;
    QPushButton *m_stop;
    QList<QWidget *> m_lockedWhileImporting;
    DisplayHandler m_display;
    bool m_showing = false;
    bool m_importing = false;
    bool m_stopAsked = false;
    qint64 m_lastEvents = 0;
};
