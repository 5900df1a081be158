#include "exchange/windows/ExchangeWindows.h"

#include "app/windows/TFrmmain.h"
#include "exchange/windows/TFrmexportexcell.h"
#include "exchange/windows/TfmImpDlgIBX.h"
#include "ui/WindowRegistry.h"

void registerExchangeWindows(WindowRegistry &registry) {
    registry.add(QStringLiteral("TfmImpDlgIBX"), [](TFrmmain &f) { return new TfmImpDlgIBX(f.dm()); });
    registerExportWindow(registry);
}
