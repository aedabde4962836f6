#include "DriveController.h"
#include "LanguageManager.h"
#include "ParameterPropertyList.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "TestSupport.h"

#include <QTest>
#include <QTreeWidget>

namespace {

// The value column of the row labelled `property` (in the active language) below `parent` (top level for null).
QString propertyValue(QTreeWidget* tree, const char* label, QTreeWidgetItem* parent = nullptr)
{
    const QString property = ParameterPropertyList::tr(label);
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
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        if (tree->topLevelItem(i)->childCount() > 0)
            groups.append(tree->topLevelItem(i));
    return groups;
}

} // namespace

class TestParameterPropertyList : public QObject
{
    Q_OBJECT
    DriveController* m_controller = nullptr;
    std::unique_ptr<KxTest::Devices> m_devices;
    ParameterPropertyList* m_list = nullptr;

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }
    void init()
    {
        m_devices.reset(new KxTest::Devices(KxTest::project("winder")));
        QVERIFY((m_controller = m_devices->controller(0)));
        m_list = new ParameterPropertyList;
        m_list->setParameterProvider(m_controller->parameterProvider());
    }
    void cleanup()
    {
        delete m_list;
        m_devices.reset();
        LanguageManager::instance()->setActiveLanguage(LanguageManager::German);
    }

    void simpleParameter_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("expectedAddress");
        QTest::addColumn<QString>("expectedEnglish");
        QTest::addColumn<QString>("expectedScope");
        QTest::addColumn<QString>("expectedValue");
        QTest::addColumn<QString>("expectedLimits");

        QTest::newRow("number in the axis that changed it")
            << "02.D012[00000]" << "2.D12[0]" << "Tension setpoint" << "Je Achse (alle Achsen)" << "312.5 N" << "0.0 … 2500.0";
        QTest::newRow("per-axis parameter without axis shows the first axis")
            << "-.D012[00000]" << "1.D12[0]" << "Tension setpoint" << "Je Achse (alle Achsen)" << "100.0 N" << "0.0 … 2500.0";
        QTest::newRow("device-wide text without English name asked for in an axis")
            << "02.E001[00000]" << "0.E01[0]" << "Werksnummer" << "Gerät (für alle Achsen gemeinsam)" << "" << "16";
    }

    void simpleParameter()
    {
        QFETCH(QString, address);
        QFETCH(QString, expectedAddress);
        QFETCH(QString, expectedEnglish);
        QFETCH(QString, expectedScope);
        QFETCH(QString, expectedValue);
        QFETCH(QString, expectedLimits);

        // WHEN a simple parameter is shown THEN its description and its element's properties are listed
        m_list->showParameterProperties(address);
        QTreeWidget* tree = m_list->treeWidget();
        QVERIFY(m_list->isParameterAvailable());
        QCOMPARE(m_list->shownAddress(), address);
        QCOMPARE(tree->headerItem()->text(0), QStringLiteral("Eigenschaft"));
        QCOMPARE(propertyValue(tree, "Adresse"), expectedAddress);
        QCOMPARE(propertyValue(tree, "Name (englisch)"), expectedEnglish);
        QCOMPARE(propertyValue(tree, "Art"), QStringLiteral("Einfacher Parameter"));
        QCOMPARE(propertyValue(tree, "Gültigkeit"), expectedScope);
        QCOMPARE(propertyValue(tree, "Wert"), expectedValue);
        QVERIFY(groupsOf(tree).isEmpty());
        QCOMPARE(propertyValue(tree, expectedValue.isEmpty() ? "Maximale Länge" : "Grenzen"), expectedLimits);
        if (!expectedValue.isEmpty())
            QCOMPARE(propertyValue(tree, "Standardwert") + propertyValue(tree, "Level") + propertyValue(tree, "Kategorie"), QStringLiteral("100.0 N27"));
    }

    void elementGroups_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("expectedKind");
        QTest::addColumn<QString>("expectedIndices");
        QTest::addColumn<QStringList>("expectedValues");
        QTest::addColumn<QStringList>("expectedWritable");
        QTest::addColumn<QStringList>("expectedActive");

        QTest::newRow("array, second element addressed") << "01.D020[00001]" << "Feld" << "0, 1, 2"
            << QStringList{ "0 mm", "10 mm", "20 mm" } << QStringList{ "Ja", "Ja", "Nein" } << QStringList{ "Ja", "Ja", "Ja" };
        QTest::newRow("record with a gap in its indices") << "03.D030[00004]" << "Struktur" << "0, 4"
            << QStringList{ "Rechtslauf", "R1" } << QStringList{ "Ja", "Ja" } << QStringList{ "Ja", "Nein" };
    }

    void elementGroups()
    {
        QFETCH(QString, address);
        QFETCH(QString, expectedKind);
        QFETCH(QString, expectedIndices);
        QFETCH(QStringList, expectedValues);
        QFETCH(QStringList, expectedWritable);
        QFETCH(QStringList, expectedActive);

        // WHEN an array or record is shown
        if (expectedKind == QLatin1String("Feld"))
            m_list->showArrayParameterProperties(address);
        else
            m_list->showRecordParameterProperties(address);

        // THEN it has one group per element, the addressed (second) one open and current
        QTreeWidget* tree = m_list->treeWidget();
        QCOMPARE(propertyValue(tree, "Art"), expectedKind);
        QCOMPARE(propertyValue(tree, "Element-Indizes"), expectedIndices);
        QCOMPARE(propertyValue(tree, "Anzahl Elemente"), QString::number(expectedValues.size()));
        const QList<QTreeWidgetItem*> groups = groupsOf(tree);
        QCOMPARE(groups.size(), expectedValues.size());
        for (int i = 0; i < groups.size(); ++i) {
            QCOMPARE(groups.at(i)->isExpanded(), i == 1);
            QCOMPARE(propertyValue(tree, "Wert", groups.at(i)), expectedValues.at(i));
            QCOMPARE(propertyValue(tree, "Beschreibbar", groups.at(i)), expectedWritable.at(i));
            QCOMPARE(propertyValue(tree, "Aktiv", groups.at(i)), expectedActive.at(i));
        }
        QCOMPARE(tree->currentItem(), groups.at(1));
    }

    void notAvailable_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("provider");

        QTest::newRow("coordinate the device does not know") << "01.D099[00000]" << "present";
        QTest::newRow("element the array does not have") << "01.D020[00003]" << "present";
        QTest::newRow("axis the record is not defined in") << "02.D030[00000]" << "present";
        QTest::newRow("text that is no address") << "Zugkraft" << "present";
        QTest::newRow("no provider") << "01.D012[00000]" << "none";
        QTest::newRow("controller destroyed while shown") << "01.D012[00000]" << "destroyed";
    }

    void notAvailable()
    {
        QFETCH(QString, address);
        QFETCH(QString, provider);

        // GIVEN a list that shows a parameter
        m_list->showParameterProperties(QStringLiteral("01.D012[00000]"));
        QVERIFY(m_list->isParameterAvailable());
        if (provider == QLatin1String("none"))
            m_list->setParameterProvider(nullptr);

        // WHEN the device goes away, or an address is shown that names nothing on the device
        if (provider == QLatin1String("destroyed")) {
            delete m_controller;
            m_controller = nullptr;
            QVERIFY(!m_list->parameterProvider());
        } else {
            m_list->showParameterProperties(address);
        }

        // THEN one line says so
        QTreeWidget* tree = m_list->treeWidget();
        QVERIFY(!m_list->isParameterAvailable());
        QCOMPARE(m_list->shownAddress(), address);
        QCOMPARE(tree->topLevelItemCount(), 1);
        QVERIFY2(tree->topLevelItem(0)->text(0).contains(QStringLiteral("nicht verfügbar")),
                 qPrintable(tree->topLevelItem(0)->text(0)));

        // WHEN the list is cleared THEN it forgets the address
        m_list->clear();
        QVERIFY(m_list->shownAddress().isEmpty());
        QCOMPARE(tree->topLevelItemCount(), 0);
    }

    void followsTheDeviceAndTheLanguage()
    {
        // GIVEN the record's second element shown, the first group opened by the user
        m_list->showRecordParameterProperties(QStringLiteral("01.D030[00004]"));
        QTreeWidget* tree = m_list->treeWidget();
        groupsOf(tree).at(0)->setExpanded(true);
        ParameterSetup* record = KxTest::setupOf(m_controller, QStringLiteral("D30"));

        // WHEN values change in the shown axis and in another one
        QVERIFY(record->setValueText(1, 0, QStringLiteral("1")));
        QVERIFY(record->setValueText(3, 4, QStringLiteral("L9")));

        // THEN only the shown axis' value is shown, the open groups stay open
        QCOMPARE(propertyValue(tree, "Wert", groupsOf(tree).at(0)), QStringLiteral("Linkslauf"));
        QCOMPARE(propertyValue(tree, "Wert", groupsOf(tree).at(1)), QStringLiteral("R1"));
        QVERIFY(groupsOf(tree).at(0)->isExpanded() && groupsOf(tree).at(1)->isExpanded());

        // WHEN the active language switches to English THEN element names and choices follow
        LanguageManager::instance()->setActiveLanguage(LanguageManager::English);
        QCOMPARE(groupsOf(tree).at(0)->text(1), QStringLiteral("Direction"));
        QCOMPARE(propertyValue(tree, "Wert", groupsOf(tree).at(0)), QStringLiteral("Counter-clockwise"));
        QCOMPARE(propertyValue(tree, "Name (deutsch)"), QStringLiteral("Wickelmodus"));

        // WHEN the parameter is removed from the device THEN it is no longer available
        QVERIFY(m_controller->parameterProvider()->removeParameter(ParameterCoordinate(QStringLiteral("D30"))));
        QVERIFY(!m_list->isParameterAvailable());
        QCOMPARE(m_list->shownAddress(), QStringLiteral("01.D030[00004]"));
    }
};

QTEST_MAIN(TestParameterPropertyList)
#include "tst_parameterpropertylist.moc"
