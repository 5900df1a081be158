#include "annexes/windows/AnnexBrowseWindow.h"
#include "app/windows/TFrmmain.h"
#include "data/Configuration.h"
#include "data/DbError.h"
#include "data/QuitOnSignal.h"
#include "data/TDatadeclaration.h"
#include "declaration/windows/DeclarationWindows.h"
#include "exchange/windows/ExchangeWindows.h"
#include "reference/windows/ReferenceWindows.h"
#include "ui/WindowRegistry.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>

namespace {

// With TALVANE_STARTUP_REPORT set to a file, the start-up is reported there instead of on the screen: the
// caption of the main window once shown, then the connection error (empty when connected). The program
// then ends. The start-up checks run the program this way.
void writeStartupReport(const QString &path, const TFrmmain &frmmain, const QString &error) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    const QString window = frmmain.isVisible() ? frmmain.windowTitle() : QString();
    file.write((QStringLiteral("window=") + window + QStringLiteral("\nerror=") + error).toUtf8());
}

} // namespace

int main(int argc, char **argv) {
    blockQuitSignals();
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Talvane"));
    quitEventLoopOnSignals();

    QCommandLineParser parser;
    const QCommandLineOption databaseOption(
        QStringLiteral("database"),
        QStringLiteral("la base à utiliser à la place de celle de ../CheminBase.ini"),
        QStringLiteral("CHEMIN"));
    parser.addOption(databaseOption);
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.errorText()));
        return 2;
    }
    const QString reportPath = qEnvironmentVariable("TALVANE_STARTUP_REPORT");

    TDatadeclaration dm;
    QString startupError;
    try {
        const Configuration configuration = Configuration::read();
        if (parser.isSet(databaseOption)) {
            dm.spreadsheetFolder = configuration.spreadsheetFolder;
            dm.connectDatabase(parser.value(databaseOption));
        } else {
            dm.connectDatabase(configuration);
        }
    } catch (const DbError &e) {
        // Start-up goes on; every later use of the data tries to connect again.
        startupError = e.message();
        if (reportPath.isEmpty())
            QMessageBox::critical(nullptr, QStringLiteral("Talvane"), startupError);
    }

    registerReferenceWindows(WindowRegistry::global());
    registerAnnexWindows(WindowRegistry::global());
    registerDeclarationWindows(WindowRegistry::global());
    registerExchangeWindows(WindowRegistry::global());
    TFrmmain frmmain(dm);
    frmmain.showMaximized();
    // Set before the company list opens: a message it shows must not hold the report back.
    bool reported = false;
    if (!reportPath.isEmpty()) {
        QTimer::singleShot(0, &frmmain, [&] {
            writeStartupReport(reportPath, frmmain, startupError);
            reported = true;
            QCoreApplication::exit(0);
        });
    }
    try {
        frmmain.openWindow(QStringLiteral("Tfrmsocietes"));
    } catch (const DbError &e) {
        if (reportPath.isEmpty())
            QMessageBox::critical(&frmmain, QStringLiteral("Talvane"), e.message());
    }

    // Reported from the event loop of a message: the main loop is not to start.
    if (reported)
        return 0;
    return app.exec();
}
