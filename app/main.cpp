#include "MainWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("KxSuite"));
    QApplication::setApplicationName(QStringLiteral("KX Suite"));
    QApplication::setApplicationVersion(QStringLiteral(KX_APP_VERSION));

    QCommandLineParser parser;
    // QSettings keeps its files below XDG_CONFIG_HOME, so setting it gives a
    // run of its own settings (remembered folders, recent projects).
    parser.setApplicationDescription(
        QApplication::translate("main",
                                "Projekte mit Antriebsreglern bearbeiten.\n\n"
                                "Einstellungen (zuletzt geöffnete Projekte, Verzeichnisse der Dateidialoge) liegen "
                                "unter $XDG_CONFIG_HOME/KxSuite, ohne XDG_CONFIG_HOME unter ~/.config/KxSuite."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption simulatorOption(QStringLiteral("simulator"),
        QApplication::translate("main", "Startet den Antriebssimulator für das Projekt und verbindet alle Regler damit."));
    parser.addOption(simulatorOption);
    parser.addPositionalArgument(QStringLiteral("datei"),
                                 QApplication::translate("main", "Projektdatei (*.kxproj) oder Gerätebeschreibung (*.json)"));
    parser.process(application);

    MainWindow window;
    window.show();
    const QStringList files = parser.positionalArguments();
    if (!files.isEmpty())
        window.openFile(files.constFirst());
    else if (QFileInfo::exists(MainWindow::defaultProjectPath()))
        window.openFile(MainWindow::defaultProjectPath());
    if (parser.isSet(simulatorOption))
        window.startSimulator();
    return application.exec();
}
