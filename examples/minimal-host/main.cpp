// A minimal host of the variable parameter lists: one drive controller with two
// axes, a list stored into the project and read back, and both views.
#include <AxisCompareView.h>
#include <ParameterCustomListInformation.h>
#include <ParameterCustomListRepository.h>
#include <ParameterCustomListRepositoryHost.h>
#include <ParameterCustomListRepositoryView.h>

#include <DeviceDescription.h>
#include <FileStorageView.h>
#include <System.h>

#include <QApplication>
#include <QMainWindow>
#include <QTimer>
#include <cstdio>
#include <memory>

static const char description[] = R"({ "format": "KxDeviceDescription", "version": 1,
  "types": [ { "name": "KXD-1 Demo", "maxAxes": 2, "parameters": [
    { "coordinate": "A10", "name": { "de": "Nenndrehzahl" }, "max": 6000, "default": 1500 },
    { "coordinate": "A20", "name": { "de": "Netzfrequenz" }, "scope": "device", "min": 45, "max": 65, "default": 50 } ] } ],
  "controllers": [ { "name": "Demo", "type": "KXD-1 Demo",
    "axes": [ { "number": 1 }, { "number": 2 } ],
    "values": [ { "coordinate": "A10", "axis": 2, "value": 3000 } ] } ] })";

// The library sees the project's controllers only through this class. Emit
// hostContentChanged() whenever controllers or axes are added, removed or
// renumbered; keep the order stable, lists store axes by controller position.
class DemoHost : public ParameterCustomListRepositoryHost
{
public:
    QList<DriveController*> controllers;
    QList<DriveController*> driveControllers() override { return controllers; }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    int failures = 0;
    auto check = [&failures](bool ok, const char* what) {
        if (!ok) { std::fprintf(stderr, "FAILED: %s\n", what); ++failures; }
    };

    QMainWindow mainWindow;   // the library's windows become its dialogs
    System::instance().setMainWindow(&mainWindow);

    DemoHost host;
    QString error;
    host.controllers = DeviceDescription::controllersFromBytes(description, &host, &error);
    check(host.controllers.size() == 1, qPrintable(error));
    if (host.controllers.isEmpty())
        return 1;

    ParameterCustomListRepository& repository = ParameterCustomListRepository::instance();
    repository.initialize(&host);   // once, before any list is used
    check(repository.driveControllerAxes().size() == 2, "the host's axes reach the repository");

    ParameterCustomListInformation* list = repository.createList();
    list->addEntry("A10");
    list->addEntry("A20");
    const QString identifier = list->identifier();
    const QByteArray entries = list->exportText();

    FileStorageView project;        // normally the storage of the project file
    repository.save(&project);
    repository.clear();
    check(repository.content().isEmpty(), "clear() removes every list");
    repository.load(&project);      // when a project is opened
    const QList<ParameterCustomListInformation*> lists = repository.content();
    check(lists.size() == 1 && lists.first()->identifier() == identifier, "the list comes back");
    check(!lists.isEmpty() && lists.first()->exportText() == entries, "its parameters come back");

    ParameterCustomListRepositoryView& repositoryView = ParameterCustomListRepositoryView::instance();
    repositoryView.show();
    check(repositoryView.parentWidget() == &mainWindow, "the repository view is a dialog of the main window");

    std::unique_ptr<AxisCompareView> compareView(AxisCompareView::createAxisCompareView());
    compareView->setAxisA(host.controllers.first(), 1);
    compareView->setAxisB(host.controllers.first(), 2);
    compareView->compare();
    compareView->show();
    check(!compareView->axesAreEqual(), "the rated speeds of the two axes differ");

    mainWindow.show();
    if (app.arguments().contains("--quit"))   // headless smoke run
        QTimer::singleShot(0, &app, &QApplication::quit);
    const int result = app.exec();
    return failures == 0 ? result : 1;
}
