#pragma once

#include "exchange/GWGExporterXL.h"

#include <QStackedWidget>
#include <memory>

class Dataset;
class DatasetGrid;
class ExportSourceModel;
class QAbstractButton;
class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QTableView;
class QToolBar;
class TDatadeclaration;
class TFrmmain;
class WindowRegistry;

// The export window: a table of the active company and year, or a dBase table read from a file, sent to a
// workbook by the exporter, with the exporter's settings in boxes. Showing the window makes the marked
// company the active company.
class TFrmexportexcell : public QWidget {
    Q_OBJECT
public:
    explicit TFrmexportexcell(TFrmmain &frame, QWidget *parent = nullptr);
    ~TFrmexportexcell() override;

    GWGExporterXL &exporter() { return m_exporter; }

    QListWidget *tableList() const { return m_tables; }
    QLineEdit *firstRowBox() const { return m_firstRow; }
    QLineEdit *lastRowBox() const { return m_lastRow; }
    QLineEdit *rowsBox() const { return m_rows; }
    QLineEdit *saveFileBox() const { return m_saveFile; }
    QLineEdit *columnFileBox() const { return m_columnFile; }
    QLineEdit *titlesFileBox() const { return m_titlesFile; }
    QCheckBox *checkBox(const QString &caption) const;
    // A button of the toolbar or beside the boxes, by caption; null when there is none.
    QAbstractButton *button(const QString &caption) const;
    // What the grid area shows: the table chosen in the list or the table read from a file.
    QWidget *grid() const { return m_grids; }
    DatasetGrid *tableGrid() const { return m_tableGrid; }
    QTableView *fileGrid() const { return m_fileGrid; }
    QProgressBar *progressBar() const { return m_progress; }
    QLabel *statusLabel() const { return m_status; }

    // The boxes shown again from the exporter.
    void refreshBoxes();
    // Sends the source to a workbook; the window is disabled meanwhile.
    void exportRows();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildSettings();
    void showRows(const QLineEdit *except);
    QLineEdit *addRowBox(QGridLayout *grid, int row, const QString &caption, void (GWGExporterXL::*set)(int));
    void chooseTable(int entry);
    void openFileTable();
    void closeTable();
    void resetExporter();
    void chooseSaveFile();
    void chooseColumnFile();
    void chooseTitlesFile();
    void takeMarkedCompany();
    void showFileTable(std::shared_ptr<ExportSource> table);

    TFrmmain &m_frame;
    TDatadeclaration &m_dm;
    GWGExporterXL m_exporter;
    std::unique_ptr<Dataset> m_table; // the table chosen in the list
    QToolBar *m_toolBar;
    QListWidget *m_tables;
    QLineEdit *m_firstRow = nullptr;
    QLineEdit *m_lastRow = nullptr;
    QLineEdit *m_rows = nullptr;
    QLineEdit *m_saveFile = nullptr;
    QLineEdit *m_columnFile = nullptr;
    QLineEdit *m_titlesFile = nullptr;
    QList<QCheckBox *> m_checks;
    QList<QAbstractButton *> m_buttons;
    QStackedWidget *m_grids;
    DatasetGrid *m_tableGrid = nullptr;
    QTableView *m_fileGrid;
    ExportSourceModel *m_fileModel;
    QProgressBar *m_progress;
    QLabel *m_status;
};

// Adds the export window to the windows the main window opens.
void registerExportWindow(WindowRegistry &registry);
