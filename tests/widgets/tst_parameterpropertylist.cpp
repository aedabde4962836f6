#include "DeviceDescription.h"
#include "DriveController.h"
#include "LanguageManager.h"
#include "ParameterAddress.h"
#include "ParameterPropertyList.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "TestSupport.h"

#include <QPointer>
#include <QTest>
#include <QTreeWidget>

namespace {

const char description[] = R"({
  "format": "KxDeviceDescription", "version": 1,
  "types": [{
    "name": "KXT-3 Wickler", "maxAxes": 3,
    "parameters": [
      {"coordinate": "D12", "name": {"de": "Zugkraft-Sollwert", "en": "Tension setpoint"},
       "unit": "N", "min": 0, "max": 2500, "decimals": 1, "default": 100, "level": 2, "category": 7},
      {"coordinate": "D20", "name": {"de": "Tänzerlagen", "en": "Dancer positions"},
       "structure": "array", "count": 3, "unit": "mm", "min": -50, "max": 50,
       "default": [0, 10, 20], "writable": [true, true, false]},
      {"coordinate": "D30", "name": {"de": "Wickelmodus", "en": "Winding mode"}, "structure": "record",
       "definedIn": [1, 3],
       "elements": [
         {"index": 0, "name": {"de": "Richtung", "en": "Direction"}, "kind": "choice",
          "choices": [{"value": 0, "de": "Rechtslauf", "en": "Clockwise"},
                      {"value": 1, "de": "Linkslauf", "en": "Counter-clockwise"}]},
         {"index": 4, "name": {"de": "Kennung", "en": "Tag"}, "kind": "text", "max": 8, "default": "R1",
          "active": false}
       ]},
      {"coordinate": "E01", "name": {"de": "Werksnummer"}, "scope": "device", "kind": "text", "max": 16}
    ]
  }],
  "controllers": [{"name": "Wickler links", "type": "KXT-3 Wickler",
                   "axes": [{"number": 1, "name": "Abwickler"}, {"number": 2, "name": "Aufwickler"},
                            {"number": 3, "name": "Tänzer"}],
                   "values": [{"coordinate": "D12", "axis": 2, "value": 312.5}]}]
})";

// The value column of the first row below `parent` (top level for null) whose property is `property`.
QString propertyValue(QTreeWidget* tree, const QString& property, QTreeWidgetItem* parent = nullptr)
{
    const int count = parent ? parent->childCount() : tree->topLevelItemCount();
    for (int i = 0; i < count; ++i) {
        QTreeWidgetItem* item = parent ? parent->child(i) : tree->topLevelItem(i);
        if (item->text(0) == property)
            return item->text(1);
    }
    return QStringLiteral("<missing %1>").arg(property);
}

QList<QTreeWidgetItem*> groupsOf(QTreeWidget* tree)
{
    QList<QTreeWidgetItem*> groups;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        if (tree->topLevelItem(i)->childCount() > 0)
            groups.append(tree->topLevelItem(i));
    }
    return groups;
}

} // namespace

class TestParameterPropertyList : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }
    void init();
    void cleanup();

    void parameterProperties_data();
    void parameterProperties();
    void elementGroups_data();
    void elementGroups();
    void notAvailable_data();
    void notAvailable();
    void clearForgetsTheAddress();
    void followsTheDevice();
    void followsTheActiveLanguage();
    void destroyedProviderLeavesNothingBehind();

private:
    ParameterSetup* setup(const char* coordinate) const
    {
        return m_controller->parameterProvider()->parameterSetup(ParameterCoordinate(QString::fromLatin1(coordinate)));
    }

    DriveController* m_controller = nullptr;
};

void TestParameterPropertyList::init()
{
    QString error;
    const QList<DriveController*> controllers =
        DeviceDescription::controllersFromBytes(QByteArray(description), nullptr, &error);
    QVERIFY2(controllers.size() == 1, qPrintable(error));
    m_controller = controllers.first();
    LanguageManager::instance()->setActiveLanguage(LanguageManager::German);
}

void TestParameterPropertyList::cleanup()
{
    delete m_controller;
    m_controller = nullptr;
    LanguageManager::instance()->setActiveLanguage(LanguageManager::German);
}

void TestParameterPropertyList::parameterProperties_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("expectedAddress");
    QTest::addColumn<QString>("expectedKind");
    QTest::addColumn<QString>("expectedEnglish");
    QTest::addColumn<QString>("expectedScope");
    QTest::addColumn<QString>("expectedValue");

    QTest::newRow("simple number in the axis that changed it")
        << "2.D012[00000]" << "2.D12[0]" << "Einfacher Parameter" << "Tension setpoint" << "Je Achse (alle Achsen)"
        << "312.5 N";
    QTest::newRow("simple number in an axis at its default")
        << "3.D012[00000]" << "3.D12[0]" << "Einfacher Parameter" << "Tension setpoint" << "Je Achse (alle Achsen)"
        << "100.0 N";
    QTest::newRow("per-axis parameter without axis shows the first axis")
        << "-.D012[00000]" << "1.D12[0]" << "Einfacher Parameter" << "Tension setpoint"
        << "Je Achse (alle Achsen)" << "100.0 N";
    QTest::newRow("device-wide text without English name")
        << "0.E001[00000]" << "0.E01[0]" << "Einfacher Parameter" << "Werksnummer"
        << "Gerät (für alle Achsen gemeinsam)" << "";
    QTest::newRow("device-wide parameter asked for in an axis")
        << "2.E001[00000]" << "0.E01[0]" << "Einfacher Parameter" << "Werksnummer"
        << "Gerät (für alle Achsen gemeinsam)" << "";
}

void TestParameterPropertyList::parameterProperties()
{
    QFETCH(QString, address);
    QFETCH(QString, expectedAddress);
    QFETCH(QString, expectedKind);
    QFETCH(QString, expectedEnglish);
    QFETCH(QString, expectedScope);
    QFETCH(QString, expectedValue);

    // GIVEN a property list on the controller
    ParameterPropertyList list;
    list.setParameterProvider(m_controller->parameterProvider());

    // WHEN a simple parameter is shown
    list.showParameterProperties(address);

    // THEN its description and its element's properties are listed
    QTreeWidget* tree = list.treeWidget();
    QVERIFY(list.isParameterAvailable());
    QCOMPARE(list.shownAddress(), address);
    QCOMPARE(tree->headerItem()->text(0), QStringLiteral("Eigenschaft"));
    QCOMPARE(tree->headerItem()->text(1), QStringLiteral("Wert"));
    const ParameterSetup* parameter = setup(qPrintable(ParameterAddress(address, false).coordinate().toText()));
    QCOMPARE(propertyValue(tree, QStringLiteral("Adresse")), expectedAddress);
    QCOMPARE(propertyValue(tree, QStringLiteral("Name (deutsch)")), parameter->parameterText().longText(LanguageManager::German));
    QCOMPARE(propertyValue(tree, QStringLiteral("Name (englisch)")), expectedEnglish);
    QCOMPARE(propertyValue(tree, QStringLiteral("Art")), expectedKind);
    QCOMPARE(propertyValue(tree, QStringLiteral("Gültigkeit")), expectedScope);
    QCOMPARE(propertyValue(tree, QStringLiteral("Wert")), expectedValue);
    QCOMPARE(groupsOf(tree).size(), 0);
    if (parameter->coordinate() == ParameterCoordinate(QStringLiteral("D12"))) {
        QCOMPARE(propertyValue(tree, QStringLiteral("Einheit")), QStringLiteral("N"));
        QCOMPARE(propertyValue(tree, QStringLiteral("Grenzen")), QStringLiteral("0.0 … 2500.0"));
        QCOMPARE(propertyValue(tree, QStringLiteral("Standardwert")), QStringLiteral("100.0 N"));
        QCOMPARE(propertyValue(tree, QStringLiteral("Level")), QStringLiteral("2"));
        QCOMPARE(propertyValue(tree, QStringLiteral("Kategorie")), QStringLiteral("7"));
        QCOMPARE(propertyValue(tree, QStringLiteral("Beschreibbar")), QStringLiteral("Ja"));
    } else {
        QCOMPARE(propertyValue(tree, QStringLiteral("Maximale Länge")), QStringLiteral("16"));
    }
}

void TestParameterPropertyList::elementGroups_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("expectedKind");
    QTest::addColumn<QString>("expectedIndices");
    QTest::addColumn<int>("currentGroup");
    QTest::addColumn<QStringList>("expectedValues");
    QTest::addColumn<QStringList>("expectedWritable");
    QTest::addColumn<QStringList>("expectedActive");

    QTest::newRow("array, second element addressed") << "1.D020[00001]" << "Feld" << "0, 1, 2" << 1
        << QStringList{ "0 mm", "10 mm", "20 mm" } << QStringList{ "Ja", "Ja", "Nein" }
        << QStringList{ "Ja", "Ja", "Ja" };
    QTest::newRow("record with a gap in its indices") << "3.D030[00004]" << "Struktur" << "0, 4" << 1
        << QStringList{ "Rechtslauf", "R1" } << QStringList{ "Ja", "Ja" } << QStringList{ "Ja", "Nein" };
}

void TestParameterPropertyList::elementGroups()
{
    QFETCH(QString, address);
    QFETCH(QString, expectedKind);
    QFETCH(QString, expectedIndices);
    QFETCH(int, currentGroup);
    QFETCH(QStringList, expectedValues);
    QFETCH(QStringList, expectedWritable);
    QFETCH(QStringList, expectedActive);

    // GIVEN a property list on the controller
    ParameterPropertyList list;
    list.setParameterProvider(m_controller->parameterProvider());

    // WHEN an array or record is shown
    if (expectedKind == QLatin1String("Feld"))
        list.showArrayParameterProperties(address);
    else
        list.showRecordParameterProperties(address);

    // THEN it has one group per element, the addressed one open and current
    QTreeWidget* tree = list.treeWidget();
    QCOMPARE(propertyValue(tree, QStringLiteral("Art")), expectedKind);
    QCOMPARE(propertyValue(tree, QStringLiteral("Element-Indizes")), expectedIndices);
    QCOMPARE(propertyValue(tree, QStringLiteral("Anzahl Elemente")), QString::number(expectedValues.size()));
    const QList<QTreeWidgetItem*> groups = groupsOf(tree);
    QCOMPARE(groups.size(), expectedValues.size());
    for (int i = 0; i < groups.size(); ++i) {
        QCOMPARE(groups.at(i)->isExpanded(), i == currentGroup);
        QCOMPARE(propertyValue(tree, QStringLiteral("Wert"), groups.at(i)), expectedValues.at(i));
        QCOMPARE(propertyValue(tree, QStringLiteral("Beschreibbar"), groups.at(i)), expectedWritable.at(i));
        QCOMPARE(propertyValue(tree, QStringLiteral("Aktiv"), groups.at(i)), expectedActive.at(i));
    }
    QCOMPARE(tree->currentItem(), groups.at(currentGroup));
}

void TestParameterPropertyList::notAvailable_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("withProvider");

    QTest::newRow("coordinate the device does not know") << "1.D099[00000]" << true;
    QTest::newRow("element the array does not have") << "1.D020[00003]" << true;
    QTest::newRow("axis the record is not defined in") << "2.D030[00000]" << true;
    QTest::newRow("axis the controller does not have") << "5.D012[00000]" << true;
    QTest::newRow("text that is no address") << "Zugkraft" << true;
    QTest::newRow("no provider") << "1.D012[00000]" << false;
}

void TestParameterPropertyList::notAvailable()
{
    QFETCH(QString, address);
    QFETCH(bool, withProvider);

    // GIVEN a list that shows a parameter
    ParameterPropertyList list;
    if (withProvider)
        list.setParameterProvider(m_controller->parameterProvider());
    list.showParameterProperties(QStringLiteral("1.D012[00000]"));

    // WHEN an address is shown that names nothing on the device
    list.showParameterProperties(address);

    // THEN one line says so
    QTreeWidget* tree = list.treeWidget();
    QVERIFY(!list.isParameterAvailable());
    QCOMPARE(list.shownAddress(), address);
    QCOMPARE(tree->topLevelItemCount(), 1);
    QCOMPARE(tree->topLevelItem(0)->childCount(), 0);
    QVERIFY2(tree->topLevelItem(0)->text(0).contains(QStringLiteral("nicht verfügbar")),
             qPrintable(tree->topLevelItem(0)->text(0)));
}

void TestParameterPropertyList::clearForgetsTheAddress()
{
    // GIVEN a list that shows an array
    ParameterPropertyList list;
    list.setParameterProvider(m_controller->parameterProvider());
    list.showArrayParameterProperties(QStringLiteral("1.D020[00000]"));
    QVERIFY(list.treeWidget()->topLevelItemCount() > 1);

    // WHEN it is cleared, and a value of the array changes afterwards
    list.clear();
    QVERIFY(setup("D20")->setValueText(1, 0, QStringLiteral("5")));

    // THEN it stays empty
    QVERIFY(list.shownAddress().isEmpty());
    QCOMPARE(list.treeWidget()->topLevelItemCount(), 0);
}

void TestParameterPropertyList::followsTheDevice()
{
    // GIVEN a list that shows the second array element, the first group opened by the user
    ParameterPropertyList list;
    list.setParameterProvider(m_controller->parameterProvider());
    list.showArrayParameterProperties(QStringLiteral("2.D020[00001]"));
    QTreeWidget* tree = list.treeWidget();
    groupsOf(tree).at(0)->setExpanded(true);

    // WHEN a value changes in the shown axis, and one in another axis
    QVERIFY(setup("D20")->setValueText(2, 0, QStringLiteral("-12")));
    QVERIFY(setup("D20")->setValueText(1, 1, QStringLiteral("33")));

    // THEN the shown axis' value is shown and the open groups stay open
    QList<QTreeWidgetItem*> groups = groupsOf(tree);
    QCOMPARE(propertyValue(tree, QStringLiteral("Wert"), groups.at(0)), QStringLiteral("-12 mm"));
    QCOMPARE(propertyValue(tree, QStringLiteral("Wert"), groups.at(1)), QStringLiteral("10 mm"));
    QVERIFY(groups.at(0)->isExpanded());
    QVERIFY(groups.at(1)->isExpanded());
    QVERIFY(!groups.at(2)->isExpanded());

    // WHEN the parameter is removed from the device
    QVERIFY(m_controller->parameterProvider()->removeParameter(ParameterCoordinate(QStringLiteral("D20"))));

    // THEN the list says it is no longer available
    QVERIFY(!list.isParameterAvailable());
    QCOMPARE(tree->topLevelItemCount(), 1);
}

void TestParameterPropertyList::followsTheActiveLanguage()
{
    // GIVEN a list that shows a record with named elements and a selection list
    ParameterPropertyList list;
    list.setParameterProvider(m_controller->parameterProvider());
    list.showRecordParameterProperties(QStringLiteral("1.D030[00000]"));
    QTreeWidget* tree = list.treeWidget();
    QCOMPARE(groupsOf(tree).at(0)->text(1), QStringLiteral("Richtung"));
    QCOMPARE(propertyValue(tree, QStringLiteral("Wert"), groupsOf(tree).at(0)), QStringLiteral("Rechtslauf"));

    // WHEN the active language switches to English
    LanguageManager::instance()->setActiveLanguage(LanguageManager::English);

    // THEN element names and choices follow, the same address still shown
    QCOMPARE(list.shownAddress(), QStringLiteral("1.D030[00000]"));
    QCOMPARE(groupsOf(tree).at(0)->text(1), QStringLiteral("Direction"));
    QCOMPARE(propertyValue(tree, QStringLiteral("Wert"), groupsOf(tree).at(0)), QStringLiteral("Clockwise"));
    QCOMPARE(propertyValue(tree, QStringLiteral("Name (deutsch)")), QStringLiteral("Wickelmodus"));
}

void TestParameterPropertyList::destroyedProviderLeavesNothingBehind()
{
    // GIVEN a list that shows a record of a controller
    ParameterPropertyList list;
    list.setParameterProvider(m_controller->parameterProvider());
    list.showRecordParameterProperties(QStringLiteral("1.D030[00000]"));
    QVERIFY(list.isParameterAvailable());

    // WHEN the controller is destroyed
    delete m_controller;
    m_controller = nullptr;

    // THEN the list has no provider and shows the parameter as not available
    QVERIFY(!list.parameterProvider());
    QVERIFY(!list.isParameterAvailable());
    QCOMPARE(list.treeWidget()->topLevelItemCount(), 1);
    list.showParameterProperties(QStringLiteral("1.D012[00000]"));
    QVERIFY(!list.isParameterAvailable());
}

QTEST_MAIN(TestParameterPropertyList)
#include "tst_parameterpropertylist.moc"
