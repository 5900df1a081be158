#include "report/windows/ReportPreview.h"

#include "report/ReportRenderer.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QVBoxLayout>

ReportPreview::ReportPreview(report::Report report, QWidget *parent)
    : QWidget(parent, Qt::Window), m_report(std::move(report)),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(m_report.caption);
    m_printer->setDocName(m_report.caption);
    m_printer->setPageLayout(m_report.pageLayout());

    m_preview = new QPrintPreviewWidget(m_printer.get(), this);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter *printer) { report::render(m_report, *printer); });

    auto *tools = new QToolBar(this);
    tools->addAction(QStringLiteral("Imprimer"), this, [this] { print(); });
    tools->addAction(QStringLiteral("Enregistrer en PDF"), this, [this] { saveAsPdf(); });
    tools->addSeparator();
    tools->addAction(QStringLiteral("Page entière"), m_preview, &QPrintPreviewWidget::fitInView);
    tools->addAction(QStringLiteral("Largeur"), m_preview, &QPrintPreviewWidget::fitToWidth);
    tools->addAction(QStringLiteral("Zoom +"), m_preview, [this] { m_preview->zoomIn(); });
    tools->addAction(QStringLiteral("Zoom -"), m_preview, [this] { m_preview->zoomOut(); });
    tools->addSeparator();
    tools->addAction(QStringLiteral("Page précédente"), m_preview,
                     [this] { m_preview->setCurrentPage(m_preview->currentPage() - 1); });
    tools->addAction(QStringLiteral("Page suivante"), m_preview,
                     [this] { m_preview->setCurrentPage(m_preview->currentPage() + 1); });
    tools->addSeparator();
    tools->addAction(QStringLiteral("Fermer"), this, &QWidget::close);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tools);
    layout->addWidget(m_preview);
    resize(900, 700);
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(m_report.caption);
    printer.setPageLayout(m_report.pageLayout());
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted && !report::render(m_report, printer))
        QMessageBox::warning(
            this, QStringLiteral("Talvane"),
            QStringLiteral("L'impression de « %1 » n'a pas pu se faire.").arg(m_report.caption));
}

void ReportPreview::saveAsPdf() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Enregistrer en PDF"),
                                                      m_report.caption + QStringLiteral(".pdf"),
                                                      QStringLiteral("Fichiers PDF (*.pdf)"));
    if (!path.isEmpty())
        saveAsPdf(path);
}

bool ReportPreview::saveAsPdf(const QString &path) {
    QString error;
    if (report::renderToPdf(m_report, path, &error))
        return true;
    QMessageBox::warning(this, QStringLiteral("Talvane"), error);
    return false;
}

ReportPreview *showReportPreview(report::Report report, QWidget *parent) {
    auto *preview = new ReportPreview(std::move(report), parent);
    preview->show();
    return preview;
}
