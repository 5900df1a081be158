#pragma once

#include "exchange/ImportWizard.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;

// The window of the import wizard: the file and its sheet, the first row read, a preview of the first rows,
// the mapping of the target's fields to the file's columns, the saved import settings, and the import
// itself with its progress. The import only appends rows to the target; the caller reads it again after.
class ImportWizardDialog : public QDialog {
    Q_OBJECT
public:
    ImportWizardDialog(Dataset &target, TDatadeclaration *dm, QWidget *parent = nullptr);
    ~ImportWizardDialog() override;

    ImportWizard &wizard() { return m_wizard; }
    // The preset import settings of a table, the annexes' files in `modelsFolder`.
    void usePreset(const QString &table, const QString &modelsFolder);

    QLineEdit *fileBox() const { return m_file; }
    QComboBox *sheetBox() const { return m_sheets; }
    QSpinBox *firstRowBox() const { return m_firstRow; }
    QTableWidget *previewTable() const { return m_preview; }
    QTableWidget *mappingTable() const { return m_mapping; }
    QProgressBar *progressBar() const { return m_progress; }
    QPushButton *importButton() const { return m_import; }
    // How the last import ended (nothing imported before the first).
    const ImportResult &lastResult() const { return m_result; }

    // The file of the box opened: its sheets and first rows shown; an unreadable file is reported.
    void openFile();
    // The settings of the boxes and of the mapping table given to the wizard.
    void applyBoxes();
    void saveSettings(const QString &path);
    void loadSettings(const QString &path);
    void runImport();

private:
    void showSettings();
    void showPreview();
    void chooseFile();

    ImportWizard m_wizard;
    ImportResult m_result;
    QLineEdit *m_file;
    QComboBox *m_sheets;
    QSpinBox *m_firstRow;
    QTableWidget *m_preview;
    QTableWidget *m_mapping;
    QProgressBar *m_progress;
    QPushButton *m_import;
    bool m_showing = false;
};
