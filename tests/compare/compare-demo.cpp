// Shows the comparison of two axes of a project file.
//   kx-compare-demo [--differences] [--screenshot file.png] [project.json [controllerA axisA controllerB axisB]]
// Controllers are given by their position in the file (from 0). With
// --screenshot the view is drawn into the file and the program ends.

#include "AxisCompareView.h"

#include "DeviceDescription.h"
#include "DriveController.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QMessageBox>
#include <QTimer>

#include <memory>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QStringList arguments = application.arguments();
    const bool differencesOnly = arguments.removeAll(QStringLiteral("--differences")) > 0;
    QString screenshot;
    const int screenshotAt = arguments.indexOf(QStringLiteral("--screenshot"));
    if (screenshotAt > 0) {
        screenshot = arguments.value(screenshotAt + 1);
        arguments.erase(arguments.begin() + screenshotAt, arguments.begin() + qMin(screenshotAt + 2, arguments.size()));
    }
    const QString path = arguments.value(1, QDir(QStringLiteral(KX_DATA_DIR)).filePath(QStringLiteral("sample-project.json")));

    QObject owner;
    QString error;
    const QList<DriveController*> controllers = DeviceDescription::controllersFromFile(path, &owner, &error);
    if (controllers.isEmpty()) {
        QMessageBox::critical(nullptr, QStringLiteral("kx-compare-demo"), error.isEmpty() ? path : error);
        return 1;
    }
    const int a = qBound(0, arguments.value(2, QStringLiteral("0")).toInt(), controllers.size() - 1);
    const int b = qBound(0, arguments.value(4, QString::number(controllers.size() > 1 ? 1 : 0)).toInt(), controllers.size() - 1);
    const int axisA = arguments.value(3, QString::number(controllers.at(a)->axisNumbers().value(0, 1))).toInt();
    const int axisB = arguments.value(5, QString::number(controllers.at(b)->axisNumbers().value(0, 1))).toInt();

    std::unique_ptr<AxisCompareView> view(AxisCompareView::createAxisCompareView());
    view->setAxisA(controllers.at(a), axisA);
    view->setAxisB(controllers.at(b), axisB);
    view->compare();
    view->setWindowTitle(QStringLiteral("%1:%2 / %3:%4 - %5")
                             .arg(controllers.at(a)->name()).arg(axisA)
                             .arg(controllers.at(b)->name()).arg(axisB)
                             .arg(view->axesAreEqual() ? QStringLiteral("gleich") : QStringLiteral("verschieden")));
    view->resize(900, 600);
    view->show();
    if (differencesOnly) {
        if (auto* box = view->findChild<QCheckBox*>(QStringLiteral("differencesOnly")))
            box->setChecked(true);
    }
    if (!screenshot.isEmpty()) {
        QTimer::singleShot(300, view.get(), [&] {
            view->grab().save(screenshot);
            application.quit();
        });
    }
    return application.exec();
}
