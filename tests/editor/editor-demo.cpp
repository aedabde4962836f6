// Manual check of the list editor: shows a variable parameter list of the
// sample project in a list tree, with help, colour strip and properties of
// the current cell. Double click or F2 edits a value in place, Ctrl+1..9
// copies it to the axis of that column, Ctrl+0 to all axes.
//
//   kx-editor-demo [project.json] [--parameters A10,A20,...] [--screenshot file.png [--delay ms]]

#include "ParameterCustomList.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListTreeWidget.h"

#include "DeviceDescription.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "HelpWidget.h"
#include "ParameterPropertyList.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "System.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QLabel>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kx-editor-demo"));

    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("project"), QStringLiteral("device description of the project"));
    const QCommandLineOption parametersOption(QStringLiteral("parameters"),
                                              QStringLiteral("comma-separated parameters to list"),
                                              QStringLiteral("list"));
    const QCommandLineOption screenshotOption(QStringLiteral("screenshot"),
                                              QStringLiteral("save a picture of the window and quit"),
                                              QStringLiteral("file"));
    const QCommandLineOption delayOption(QStringLiteral("delay"),
                                         QStringLiteral("milliseconds before the picture is taken"),
                                         QStringLiteral("ms"), QStringLiteral("300"));
    parser.addOption(parametersOption);
    parser.addOption(screenshotOption);
    parser.addOption(delayOption);
    parser.process(app);

    const QString path = parser.positionalArguments().value(
        0, QDir(QStringLiteral(KX_DATA_DIR)).filePath(QStringLiteral("sample-project.json")));
    QObject owner;
    QString error;
    const QList<DriveController*> controllers = DeviceDescription::controllersFromFile(path, &owner, &error);
    if (controllers.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(error.isEmpty() ? QStringLiteral("no controllers") : error));
        return 1;
    }

    QList<QPointer<DriveControllerAxis>> axes;
    for (DriveController* controller : controllers) {
        for (int number : controller->axisNumbers())
            axes.append(controller->axis(number));
    }

    auto* list = static_cast<ParameterCustomList*>(ParameterCustomListRepository::instance().createList());
    list->setAxes(axes);
    QStringList parameters = parser.value(parametersOption).split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (parameters.isEmpty()) {
        // Single values, selection lists, arrays and records of the sample
        // catalogue; another project gets its first parameters instead.
        parameters = QStringList{"A10", "A12", "C01", "C07", "C32", "C30", "D30"};
        ParameterProvider* provider = controllers.first()->parameterProvider();
        if (!provider->parameterSetup(ParameterCoordinate(parameters.first()))) {
            parameters.clear();
            const QList<ParameterCoordinate> coordinates = provider->allCoordinates();
            for (int i = 0; i < coordinates.size() && i < 12; ++i)
                parameters << coordinates.at(i).toText();
        }
    }
    for (const QString& parameter : qAsConst(parameters))
        list->addEntry(parameter.trimmed().toUpper());

    QWidget window;
    window.setWindowTitle(QStringLiteral("Variable Parameterliste - Demo"));
    window.resize(1100, 640);
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    auto* splitter = new QSplitter(Qt::Vertical, &window);
    auto* tree = new ParameterCustomListTreeWidget(splitter);
    auto* bottom = new QWidget(splitter);
    auto* bottomLayout = new QVBoxLayout(bottom);
    bottomLayout->setContentsMargins(0, 0, 0, 0);
    bottomLayout->setSpacing(2);
    auto* colorStrip = new QWidget(bottom);
    colorStrip->setFixedHeight(2);
    auto* bottomSplitter = new QSplitter(Qt::Horizontal, bottom);
    auto* help = new HelpWidget(bottomSplitter);
    help->initialize(System::instance().helpSystem(QStringLiteral("parameter")));
    auto* properties = new ParameterPropertyList(bottomSplitter);
    bottomLayout->addWidget(colorStrip);
    bottomLayout->addWidget(bottomSplitter, 1);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);
    layout->addWidget(new QLabel(QStringLiteral("Doppelklick, Eingabe oder F2: Wert bearbeiten  ·  Strg+1..9: Wert in die "
                                                "Spalte kopieren  ·  Strg+0: an alle Achsen  ·  R: neu lesen  ·  "
                                                "Entf: entfernen  ·  Rechtsklick: Kontextmenü"), &window));

    tree->setHelpWidget(help);
    tree->setColorWidget(colorStrip);
    tree->setPropertyList(properties);
    tree->setParameterCustomList(list);
    for (int column = 0; column < tree->columnCount(); ++column)
        tree->resizeColumnToContents(column);

    window.show();
    if (parser.isSet(screenshotOption)) {
        const QString file = parser.value(screenshotOption);
        QTimer::singleShot(parser.value(delayOption).toInt(), &window, [&window, file] {
            window.grab().save(file);
            QApplication::quit();
        });
    }
    return app.exec();
}
