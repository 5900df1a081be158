#pragma once

class GWGExporterXL;
class QString;
class QWidget;
class WindowRegistry;

// Adds the windows of the spreadsheet exchange that the main window opens.
void registerExchangeWindows(WindowRegistry &registry);

// The end of an export from a window, once the window is given back to the user: a failure shows
// "Error..." with its reason; a workbook written is opened with the desktop's spreadsheet application when
// the exporter asks for it (never on the offscreen platform, where no application is to be started).
void finishExport(QWidget *window, const GWGExporterXL &exporter, const QString &written,
                  const QString &failure);
