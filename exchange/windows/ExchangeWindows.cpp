#include "exchange/windows/ExchangeWindows.h"

#include "app/windows/TFrmmain.h"
#include "exchange/GWGExporterXL.h"
#include "exchange/windows/TFrmexportexcell.h"
#include "exchange/windows/TfmImpDlgIBX.h"
#include "ui/Messages.h"
#include "ui/WindowRegistry.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>

void registerExchangeWindows(WindowRegistry &registry) {
    registry.add(QStringLiteral("TfmImpDlgIBX"), [](TFrmmain &f) { return new TfmImpDlgIBX(f.dm()); });
    registerExportWindow(registry);
}

void finishExport(QWidget *window, const GWGExporterXL &exporter, const QString &written,
                  const QString &failure) {
    if (!failure.isEmpty() || written.isEmpty()) {
        showMessage(window, QStringLiteral("Error...\n") + failure);
        return;
    }
    const bool offscreen = QGuiApplication::platformName() == QLatin1String("offscreen") ||
                           qEnvironmentVariable("QT_QPA_PLATFORM") == QLatin1String("offscreen");
    if (exporter.opensWorkbook() && !offscreen)
        QDesktopServices::openUrl(QUrl::fromLocalFile(written));
}
