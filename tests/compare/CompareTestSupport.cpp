#include "CompareTestSupport.h"

#include "DeviceDescription.h"
#include "DriveController.h"
#include "ParameterAddress.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace CompareTest {

QByteArray portalProject()
{
    return R"({"format": "KxDeviceDescription", "version": 1,
  "types": [{
    "name": "KXC-2 Doppelachse", "descriptor": "Doppelachsregler 4 A", "maxAxes": 2,
    "parameters": [
      {"coordinate": "A10", "name": {"de": "Drehzahlgrenze"}, "unit": "1/min", "max": 6000, "default": 3000},
      {"coordinate": "A11", "name": {"de": "Stromgrenzen"}, "structure": "array", "count": 3, "unit": "A", "max": 50, "default": 10,
       "elements": [{"name": {"de": "Phase U"}}, {"name": {"de": "Phase V"}}, {"name": {"de": "Phase W"}}]},
      {"coordinate": "C20", "name": {"de": "Kennung & Typ <kurz>"}, "kind": "text", "max": 32, "default": "Standard"},
      {"coordinate": "G01", "scope": "device", "name": {"de": "Netzfrequenz"}, "kind": "choice",
       "choices": [{"value": 50, "de": "50 Hz", "en": "50 Hz"}, {"value": 60, "de": "60 Hz", "en": "60 Hz"}]},
      {"coordinate": "H30", "name": {"de": "Nur Achse zwei"}, "definedIn": [2], "max": 10, "default": 1}
    ]}, {
    "name": "KXC-1 Einzelachse", "descriptor": "Einzelachsregler 2 A", "maxAxes": 1,
    "parameters": [
      {"coordinate": "A10", "name": {"de": "Drehzahlgrenze"}, "unit": "1/min", "max": 9000, "default": 1500},
      {"coordinate": "A11", "name": {"de": "Stromgrenzen"}, "structure": "array", "count": 4, "unit": "A", "max": 20, "default": 10,
       "elements": [{"name": {"de": "Phase U"}}, {"name": {"de": "Phase V"}}, {"name": {"de": "Phase W"}}, {"name": {"de": "Bremse"}}]},
      {"coordinate": "P50", "name": {"de": "Pendelweg"}, "unit": "mm", "max": 500, "default": 20}
    ]}],
  "controllers": [
    {"name": "Portal", "type": "KXC-2 Doppelachse",
     "axes": [{"number": 1, "name": "X", "markingColor": "#3060c0"}, {"number": 2, "name": "Y", "markingColor": "#c03060"}],
     "values": [{"coordinate": "A10", "axis": 2, "value": 4500},
                {"coordinate": "A11", "axis": 2, "element": 1, "value": 12},
                {"coordinate": "C20", "axis": 1, "value": "Achse <1> & Co"}]},
    {"name": "Portal Süd", "type": "KXC-2 Doppelachse", "descriptor": "Doppelachsregler 4 A, Ausführung Süd",
     "axes": [{"number": 1, "name": "X2"}, {"number": 2, "name": "Y2"}],
     "values": [{"coordinate": "A10", "axis": 2, "value": 4500},
                {"coordinate": "A11", "axis": 2, "element": 1, "value": 12},
                {"coordinate": "C20", "axis": 1, "value": "Achse <1> & Co"},
                {"coordinate": "C20", "axis": 2, "value": "Achse <1> & Co"}]},
    {"name": "Einzel", "type": "KXC-1 Einzelachse", "axes": [{"number": 1, "name": "S"}]}
  ]})";
}

Project::Project(const QByteArray& json)
{
    QString error;
    const QList<DriveController*> controllers = DeviceDescription::controllersFromBytes(json, &m_owner, &error);
    for (DriveController* controller : controllers)
        m_controllers.append(controller);
    if (!error.isEmpty())
        QTest::qFail(qPrintable(QStringLiteral("device description refused: ") + error), __FILE__, __LINE__);
}

DriveController* Project::controller(const QString& name) const
{
    for (const QPointer<DriveController>& controller : m_controllers) {
        if (controller && controller->name() == name)
            return controller;
    }
    QTest::qFail(qPrintable(QStringLiteral("no controller ") + name), __FILE__, __LINE__);
    return nullptr;
}

QList<DriveController*> Project::controllers() const
{
    QList<DriveController*> result;
    for (const QPointer<DriveController>& controller : m_controllers) {
        if (controller)
            result.append(controller);
    }
    return result;
}

void writeValue(DriveController* controller, int axisNumber, const QString& assignment)
{
    const QString target = assignment.section(QLatin1Char('='), 0, 0);
    const QString value = assignment.section(QLatin1Char('='), 1);
    const ParameterAddress address(target, true);
    ParameterSetup* setup = controller->parameterProvider()->parameterSetup(address.coordinate()).data();
    QString refusal;
    if (!setup || !setup->setValueText(axisNumber, address.element(), value, &refusal))
        QTest::qFail(qPrintable(QStringLiteral("cannot write %1: %2").arg(assignment, refusal)), __FILE__, __LINE__);
}

QString rowKey(const QTreeWidgetItem* row)
{
    return row->text(0).section(QLatin1Char(' '), 0, 0);
}

QList<QTreeWidgetItem*> allRows(QTreeWidget* tree, bool visibleOnly)
{
    QList<QTreeWidgetItem*> rows;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = tree->topLevelItem(i);
        if (!visibleOnly || !row->isHidden())
            rows.append(row);
        for (int j = 0; j < row->childCount(); ++j) {
            if (!visibleOnly || (!row->isHidden() && !row->child(j)->isHidden()))
                rows.append(row->child(j));
        }
    }
    return rows;
}

QTreeWidgetItem* findRow(QTreeWidget* tree, const QString& key)
{
    for (QTreeWidgetItem* row : allRows(tree)) {
        if (rowKey(row) == key)
            return row;
    }
    return nullptr;
}

QStringList rowKeys(QTreeWidget* tree, bool visibleOnly)
{
    QStringList keys;
    for (QTreeWidgetItem* row : allRows(tree, visibleOnly))
        keys.append(rowKey(row));
    return keys;
}

namespace {

void answerWhenShown(const QString& fileName, FileDialogAnswer* answer, int attemptsLeft)
{
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) {
        if (attemptsLeft > 0)
            QTimer::singleShot(20, [=] { answerWhenShown(fileName, answer, attemptsLeft - 1); });
        return;
    }
    answer->seen = true;
    answer->title = dialog->windowTitle();
    answer->nameFilters = dialog->nameFilters();
    answer->directory = dialog->directory().absolutePath();
    if (fileName.isEmpty()) {
        dialog->reject();
        return;
    }
    QObject::connect(dialog, &QFileDialog::fileSelected,
                     [answer](const QString& selected) { answer->selected = selected; });
    if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        edit->setText(fileName);
    else
        dialog->selectFile(fileName);
    static_cast<QDialog*>(dialog)->accept();
}

} // namespace

void answerNextFileDialog(const QString& fileName, FileDialogAnswer* answer)
{
    QTimer::singleShot(0, [=] { answerWhenShown(fileName, answer, 250); });
}

} // namespace CompareTest
