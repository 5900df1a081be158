#pragma once

#include "report/ReportLayout.h"

#include <QWidget>
#include <memory>

class QPrintPreviewWidget;
class QPrinter;

// The preview of a report: its pages on screen, from which the user prints it or saves it as a PDF file.
// A window of its own over its parent; it holds its report and releases it when closed.
class ReportPreview : public QWidget {
    Q_OBJECT
public:
    explicit ReportPreview(report::Report report, QWidget *parent = nullptr);
    ~ReportPreview() override;

    const report::Report &report() const { return m_report; }
    QPrintPreviewWidget *pages() const { return m_preview; }

    void print();                        // "Imprimer": the print dialog, then the printer
    void saveAsPdf();                    // "Enregistrer en PDF": a file name, then the file
    bool saveAsPdf(const QString &path); // false after a message when the file cannot be written

private:
    report::Report m_report;
    std::unique_ptr<QPrinter> m_printer; // the preview's page device
    QPrintPreviewWidget *m_preview;
};

// Shows a new preview of the report over the parent, without waiting.
ReportPreview *showReportPreview(report::Report report, QWidget *parent);
