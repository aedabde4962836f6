#include "AppTestSupport.h"

#include "DeviceType.h"
#include "DriveController.h"
#include "MainWindow.h"
#include "ParameterCustomListInformation.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListRepositoryView.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "Project.h"
#include "TestSupport.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>

namespace AppTest {

QString testTypeName()
{
    return QStringLiteral("RX-3 Prüfregler");
}

QByteArray testDescription()
{
    return QByteArrayLiteral(R"({
  "format": "KxDeviceDescription", "version": 1,
  "types": [{
    "name": "RX-3 Prüfregler", "descriptor": "RX-3 / 8 A", "maxAxes": 3,
    "parameters": [
      {"coordinate": "A10", "name": {"de": "Solldrehzahl", "en": "Speed setpoint"},
       "unit": "1/min", "min": 0, "max": 6000, "decimals": 1, "default": 100},
      {"coordinate": "A11", "name": {"de": "Betriebsart", "en": "Operating mode"}, "kind": "choice",
       "choices": [{"value": 0, "de": "Drehzahl", "en": "Speed"}, {"value": 1, "de": "Lage", "en": "Position"},
                   {"value": 7, "de": "Moment", "en": "Torque"}]},
      {"coordinate": "A12", "name": {"de": "Festdrehzahlen", "en": "Fixed speeds"}, "structure": "array",
       "count": 4, "min": -3000, "max": 3000, "default": [0, 10, 20, 30]},
      {"coordinate": "B20", "name": {"de": "Netzspannung", "en": "Mains voltage"}, "scope": "device",
       "unit": "V", "min": 180, "max": 480, "default": 400},
      {"coordinate": "B21", "name": {"de": "Freigaben", "en": "Enables"}, "scope": "device",
       "structure": "array", "count": 3, "kind": "switch"},
      {"coordinate": "C30", "name": {"de": "Typenschild", "en": "Name plate"}, "structure": "record",
       "elements": [
         {"name": {"de": "Kopf", "en": "Header"}, "hasValue": false},
         {"name": {"de": "Nennstrom", "en": "Rated current"}, "unit": "A", "min": 0, "max": 50, "decimals": 2, "default": 4.5},
         {"name": {"de": "Bezeichnung", "en": "Designation"}, "kind": "text", "max": 24},
         {"index": 5, "name": {"de": "Kühlung", "en": "Cooling"}, "kind": "choice",
          "choices": [{"value": 1, "de": "Eigen", "en": "Self"}, {"value": 2, "de": "Fremd", "en": "Forced"}]}
       ]},
      {"coordinate": "C31", "name": {"de": "Anlagenname", "en": "Plant name"}, "scope": "device", "kind": "text", "max": 40},
      {"coordinate": "D40", "name": {"de": "Bremszeit", "en": "Brake time"}, "definedIn": [1],
       "unit": "ms", "min": 0, "max": 2000, "default": 50, "level": 1},
      {"coordinate": "E50", "name": {"de": "Zwischenkreisspannung", "en": "DC link voltage"}, "writable": false,
       "unit": "V", "min": 0, "max": 900, "default": 560}
    ]
  }],
  "controllers": [{
    "name": "Prüfstand links", "type": "RX-3 Prüfregler", "descriptor": "RX-3 / 8 A, FW 2.4",
    "axes": [{"number": 1, "name": "Hubwerk", "markingColor": "#ff8000"}, {"number": 3, "name": "Drehtisch"}],
    "values": [{"coordinate": "A10", "axis": 3, "value": 1234.5}, {"coordinate": "B20", "value": 230}]
  }]
})");
}

QString writeFile(const QDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        QTest::qFail(qPrintable(QStringLiteral("cannot write ") + file.fileName()), __FILE__, __LINE__);
        return {};
    }
    return QFileInfo(file).absoluteFilePath();
}

QString writeTypesAndDescription(const QDir& typesDir, const QDir& workDir)
{
    QJsonObject typesOnly = QJsonDocument::fromJson(testDescription()).object();
    typesOnly.remove(QStringLiteral("controllers"));
    const QString types = writeFile(typesDir, QStringLiteral("rx3.json"), QJsonDocument(typesOnly).toJson());
    QJsonObject withController = QJsonDocument::fromJson(testDescription()).object();
    withController.remove(QStringLiteral("types"));
    withController.insert(QStringLiteral("includes"), QJsonArray{types});
    return writeFile(workDir, QStringLiteral("pruefstand.json"), QJsonDocument(withController).toJson());
}

std::unique_ptr<MainWindow> openWindow(const QString& typesDir, const QString& description,
                                       const QStringList& moreControllers)
{
    auto window = std::make_unique<MainWindow>(typesDir);
    window->setInteractive(false);
    bool opened = window->openFile(description);
    for (const QString& name : moreControllers)
        opened = opened && window->project()->addController(testTypeName(), name, 2);
    if (!opened)
        QTest::qFail("cannot open the test project", __FILE__, __LINE__);
    return opened ? std::move(window) : nullptr;
}

QString axisCaption(const QString& controller, const char* axisName)
{
    return controller + QLatin1Char('\n') + QString::fromUtf8(axisName);
}

QStringList axisCaptions(QWidget* window)
{
    auto* tree = window->findChild<QTreeWidget*>(QStringLiteral("parameterTreeWidget"));
    QStringList captions;
    for (int column = 1; tree && column < tree->columnCount(); ++column)
        captions << tree->headerItem()->text(column);
    return captions;
}

QTreeWidgetItem* listRow(MainWindow& window, const QString& identifier)
{
    window.findChild<QAction*>(QStringLiteral("actionParameterCustomLists"))->trigger();
    for (QTreeWidgetItem* row : KxTest::treeRows(ParameterCustomListRepositoryView::instance().findChild<QTreeWidget*>())) {
        if (row->data(0, Qt::UserRole).toString() == identifier)
            return row;
    }
    return nullptr;
}

QWidget* openListWindow(MainWindow& window, const QString& identifier, const QStringList& axes)
{
    QTreeWidgetItem* row = listRow(window, identifier);
    if (!row)
        return nullptr;
    KxTest::whenModal<QDialog>([axes](QDialog* dialog) {
        for (QTreeWidgetItem* item : KxTest::treeRows(dialog->findChild<QTreeWidget*>())) {
            if (item->parent()) {
                const QString controller = item->parent()->text(0).section(QStringLiteral(" ("), 0, 0);
                item->setCheckState(0, axes.contains(controller + QLatin1Char('\n') + item->text(0)) ? Qt::Checked : Qt::Unchecked);
            }
        }
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    row->treeWidget()->setCurrentItem(row);
    QTest::keyClick(row->treeWidget(), Qt::Key_Return);
    QWidget* opened = nullptr;
    const bool shown = QTest::qWaitFor([&] {
        for (QWidget* each : window.findChildren<QWidget*>(QStringLiteral("ParameterCustomListWidget"))) {
            if (each->isVisible() && each->windowTitle().endsWith(ParameterCustomListRepository::instance().list(identifier)->name()))
                opened = each;
        }
        return opened && (axes.isEmpty() || axisCaptions(opened) == axes);
    });
    return shown ? opened : nullptr;
}

QString entries(const ParameterCustomListInformation* list)
{
    QStringList lines = QString::fromUtf8(list->exportText()).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    for (QString& line : lines) {
        if (!line.endsWith(QLatin1Char(']')))
            continue;
        QStringList elements = line.section(QLatin1Char('['), 1).chopped(1).split(QLatin1Char('/'));
        std::sort(elements.begin(), elements.end());
        line = line.section(QLatin1Char('['), 0, 0) + QLatin1Char('[') + elements.join(QLatin1Char('/')) + QLatin1Char(']');
    }
    return lines.join(QLatin1Char(' '));
}

QStringList snapshot(const QList<DriveController*>& controllers)
{
    QStringList lines;
    for (DriveController* controller : controllers) {
        const ParameterProvider* provider = controller->parameterProvider();
        lines << QStringList{controller->type()->name, controller->name(), controller->descriptor()->text(),
                             provider->isReadOnly() ? QStringLiteral("read-only") : QStringLiteral("writable")}
                     .join(QLatin1Char('|'));
        for (int number : controller->axisNumbers()) {
            const QColor color = controller->markingColor(number);
            lines << QStringLiteral("axis %1|%2|%3").arg(number).arg(controller->axisName(number),
                                                                    color.isValid() ? color.name(QColor::HexArgb) : QString());
        }
        // values in a fixed order, since sets hand out their elements in any
        QStringList values;
        for (const ParameterCoordinate& coordinate : provider->allCoordinates()) {
            const QPointer<ParameterSetup> setup = provider->parameterSetup(coordinate);
            for (eLivingSpace space : setup ? setup->livingSpaces() : QList<eLivingSpace>()) {
                for (quint16 element : setup->valueElementIndices())
                    values << QStringLiteral("%1|%2|%3|%4").arg(coordinate.toText()).arg(space).arg(element).arg(
                        setup->valueText(space, element, false));
            }
        }
        values.sort();
        lines += values;
    }
    return lines;
}

} // namespace AppTest
