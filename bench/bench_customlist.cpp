#include "AxisCompareReport.h"
#include "AxisCompareView.h"
#include "ParameterCustomList.h"
#include "ParameterCustomListEntry.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListTreeWidget.h"
#include "ParameterCustomListWidget.h"
#include "ListTestSupport.h"

#include "DeviceDescription.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "LanguageManager.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"

#include <QCheckBox>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <map>
#include <memory>

using namespace KxTest;

namespace {

// More parameters than the largest list holds, so that entries can be added.
constexpr int ListCatalogueSize = 6000;

void sizes(const char* column)
{
    QTest::addColumn<int>(column);
    QTest::newRow("2000") << 2000;
    QTest::newRow("5000") << 5000;
}

// A single-valued parameter writable on the list's first axis, with two
// accepted raw texts to switch between.
struct Toggle
{
    ParameterCustomListEntry* entry = nullptr;
    ParameterSetup* setup = nullptr;
    eLivingSpace space = LivingSpaceNone;
    quint16 element = 0;
    QStringList texts;
};

Toggle writableValue(ParameterCustomList* list)
{
    const eLivingSpace space = list->axes().value(0)->axisNumber();
    for (ParameterCustomListEntry* entry : qAsConst(list->entries())) {
        ParameterSetup* setup = entry->parameterSetup(0);
        if (!setup || setup->valueElementIndices().size() != 1)
            continue;
        const quint16 element = *setup->valueElementIndices().cbegin();
        if (!setup->isWritable(space, element))
            continue;
        QStringList texts;
        for (const QString& text : {QString::number(setup->minimum(element)), QString::number(setup->maximum(element))}) {
            if (setup->checkValueText(space, element, text).isEmpty() && !texts.contains(text))
                texts << text;
        }
        if (texts.size() == 2)
            return Toggle{entry, setup, space, element, texts};
    }
    return Toggle();
}

QTreeWidgetItem* rowOf(ParameterCustomListTreeWidget* tree, const ParameterCustomListEntry* entry)
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        if (tree->entryOf(tree->topLevelItem(i)) == entry)
            return tree->topLevelItem(i);
    }
    return nullptr;
}

} // namespace

// List windows over 4 axes (2 controllers with 2 axes each) and comparisons of
// two axes, on synthetic catalogues of thousands of parameters.
class BenchCustomList : public QObject
{
    Q_OBJECT

    // One list window and one comparison at a time: every open window
    // follows the controllers and the language, and would be timed as well.
    struct Window
    {
        int rows = 0;
        ParameterCustomList* list = nullptr;
        std::unique_ptr<ParameterCustomListWidget> widget;
        ParameterCustomListTreeWidget* tree() const { return widget->findChild<ParameterCustomListTreeWidget*>(); }
    };

    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<Host> m_host;
    Window m_window;
    std::map<int, std::unique_ptr<Devices>> m_compareDevices;
    std::unique_ptr<AxisCompareView> m_view;
    int m_viewParameters = 0;

    // A shown window over all four axes, without a list unless `attach`.
    Window& openWindow(int rows, bool attach)
    {
        closeWindow();
        m_window.rows = rows;
        m_window.list = qobject_cast<ParameterCustomList*>(ParameterCustomListRepository::instance().createList());
        m_window.list->setAxes(m_host->allAxes());
        m_window.list->setCoordinates(m_host->controller(0)->parameterProvider()->allCoordinates().mid(0, rows));
        m_window.widget.reset(new ParameterCustomListWidget);
        if (attach)
            m_window.widget->setParameterCustomList(m_window.list);
        m_window.widget->show();
        if (!QTest::qWaitForWindowExposed(m_window.widget.get()))
            QTest::qFail("list window not exposed", __FILE__, __LINE__);
        deliver();
        return m_window;
    }

    void closeWindow()
    {
        m_window.widget.reset();
        if (m_window.list)
            ParameterCustomListRepository::instance().deleteList(m_window.list);
        m_window = Window();
        deliver();
    }

    // The window of the fill benchmark, or a new one for a benchmark run alone.
    Window& window(int rows)
    {
        return m_window.widget && m_window.rows == rows ? m_window : openWindow(rows, true);
    }

    Devices& compareDevices(int parameters)
    {
        std::unique_ptr<Devices>& devices = m_compareDevices[parameters];
        if (!devices)
            devices.reset(new Devices(syntheticDeviceDescription(parameters, 2, 2, 11)));
        return *devices;
    }

    AxisCompareView& openView(int parameters)
    {
        m_view.reset(AxisCompareView::createAxisCompareView());
        m_viewParameters = parameters;
        m_view->show();
        if (!QTest::qWaitForWindowExposed(m_view.get()))
            QTest::qFail("comparison not exposed", __FILE__, __LINE__);
        return *m_view;
    }

    // Axis 1 of the first controller against axis 2 of the second: global and
    // per-axis parameters, values set on either controller.
    void compare(AxisCompareView& view, Devices& devices)
    {
        view.setAxisA(devices.controller(0), 1);
        view.setAxisB(devices.controller(1), 2);
        view.compare();
        deliver();
    }

    AxisCompareView& comparedView(int parameters)
    {
        if (m_view && m_viewParameters == parameters)
            return *m_view;
        compare(openView(parameters), compareDevices(parameters));
        return *m_view;
    }

private slots:
    void initTestCase()
    {
        initTestEnvironment();
        m_mainWindow.reset(new MainWindow);
        m_host.reset(new Host(syntheticDeviceDescription(ListCatalogueSize, 2, 2, 7)));
        ParameterCustomListRepository::instance().initialize(m_host.get());
        QCOMPARE(m_host->allAxes().size(), 4);
    }

    void cleanupTestCase()
    {
        m_view.reset();
        closeWindow();
        deliver();
    }

    void listFill_data() { sizes("rows"); }
    void listFill()
    {
        QFETCH(int, rows);
        Window& window = openWindow(rows, false);
        ParameterCustomListTreeWidget* tree = window.tree();
        QCOMPARE(tree->topLevelItemCount(), 0);

        QBENCHMARK_ONCE {
            window.widget->setParameterCustomList(window.list);
            deliver();
            tree->viewport()->repaint();
        }
        QCOMPARE(tree->topLevelItemCount(), rows);
        QCOMPARE(tree->columnCount(), 5);
        // Filled to the last cell: the last axis of the last value row.
        QVERIFY(!treeRows(tree).last()->text(4).isEmpty());
    }

    void listValueChange_data() { sizes("rows"); }
    void listValueChange()
    {
        QFETCH(int, rows);
        Window& window = this->window(rows);
        const Toggle toggle = writableValue(window.list);
        QVERIFY(toggle.setup);
        int writes = 0;

        QBENCHMARK {
            QVERIFY(toggle.setup->setValueText(toggle.space, toggle.element, toggle.texts.at(++writes % 2)));
            deliver();
        }
        QTreeWidgetItem* row = rowOf(window.tree(), toggle.entry);
        QVERIFY(row);
        const QString shown = row->text(1);
        QVERIFY(toggle.setup->setValueText(toggle.space, toggle.element, toggle.texts.at(++writes % 2)));
        deliver();
        QVERIFY(row->text(1) != shown);
        QCOMPARE(row->text(1), toggle.setup->valueText(toggle.space, toggle.element, true));
    }

    void listAddEntry_data() { sizes("rows"); }
    void listAddEntry()
    {
        QFETCH(int, rows);
        Window& window = this->window(rows);
        const QList<ParameterCoordinate> catalogue = m_host->controller(0)->parameterProvider()->allCoordinates();
        QStringList added;

        QBENCHMARK {
            QVERIFY2(rows + added.size() < catalogue.size(), "catalogue too small for the iterations");
            const QString coordinate = catalogue.at(rows + added.size()).toText();
            window.list->addEntry(coordinate);
            deliver();
            added << coordinate;
        }
        QCOMPARE(window.tree()->topLevelItemCount(), rows + added.size());
        QCOMPARE(window.tree()->currentItem()->text(0).section(QLatin1Char(' '), 0, 0), added.last());

        for (const QString& coordinate : qAsConst(added))
            window.list->removeEntry(coordinate);
        deliver();
        QCOMPARE(window.tree()->topLevelItemCount(), rows);
    }

    void listLanguageSwitch_data() { sizes("rows"); }
    void listLanguageSwitch()
    {
        QFETCH(int, rows);
        ParameterCustomListTreeWidget* tree = window(rows).tree();
        LanguageManager* languages = LanguageManager::instance();
        const QString german = tree->topLevelItem(0)->text(0);
        int switches = 0;

        QBENCHMARK {
            languages->setActiveLanguage(++switches % 2 ? LanguageManager::English : LanguageManager::German);
            deliver();
        }
        languages->setActiveLanguage(LanguageManager::English);
        deliver();
        const QString english = tree->topLevelItem(0)->text(0);
        languages->setActiveLanguage(LanguageManager::German);
        deliver();
        QVERIFY2(english != german, qPrintable(english));
        QCOMPARE(tree->topLevelItem(0)->text(0), german);
    }

    void compareAxes_data() { sizes("parameters"); }
    void compareAxes()
    {
        QFETCH(int, parameters);
        Devices& devices = compareDevices(parameters);
        closeWindow();
        AxisCompareView& view = openView(parameters);

        QBENCHMARK_ONCE {
            compare(view, devices);
        }
        QSet<quint16> both;
        for (const ParameterCoordinate& c : devices.controller(0)->parameterProvider()->parameterCoordinates(1))
            both.insert(c.toNumber());
        for (const ParameterCoordinate& c : devices.controller(1)->parameterProvider()->parameterCoordinates(2))
            both.insert(c.toNumber());
        QCOMPARE(view.findChild<QTreeWidget*>()->topLevelItemCount(), both.size());
        QVERIFY(!view.axesAreEqual());
    }

    void compareDifferencesOnly_data() { sizes("parameters"); }
    void compareDifferencesOnly()
    {
        QFETCH(int, parameters);
        AxisCompareView& view = comparedView(parameters);
        auto* onlyDifferences = view.findChild<QCheckBox*>(QStringLiteral("differencesOnly"));
        QTreeWidget* tree = view.findChild<QTreeWidget*>();
        QVERIFY(onlyDifferences);

        QBENCHMARK {
            onlyDifferences->toggle();
            deliver();
        }
        onlyDifferences->setChecked(true);
        deliver();
        const QList<QTreeWidgetItem*> visible = treeRows(tree, true);
        QVERIFY(!visible.isEmpty());
        QVERIFY(visible.size() < treeRows(tree).size());
        for (QTreeWidgetItem* row : visible) {
            if (row->parent())
                QVERIFY2(AxisCompareReport::valuesDiffer(row), qPrintable(row->text(0)));
        }
        onlyDifferences->setChecked(false);
        deliver();
        QCOMPARE(treeRows(tree, true).size(), treeRows(tree).size());
    }

    void compareReport_data() { sizes("parameters"); }
    void compareReport()
    {
        QFETCH(int, parameters);
        AxisCompareView& view = comparedView(parameters);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Achsvergleich.html"));

        Devices& devices = compareDevices(parameters);
        QTreeWidget* tree = view.findChild<QTreeWidget*>();

        // What the view's export button writes once the file is chosen.
        QBENCHMARK {
            const QString body = AxisCompareReport::body(tree, AxisCompareReport::side(devices.controller(0), 1),
                                                         AxisCompareReport::side(devices.controller(1), 2));
            QVERIFY(AxisCompareReport::write(path, AxisCompareReport::document(body)));
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray report = file.readAll();
        // One row per parameter and element, and the header row when it has a label.
        const int headerRows = tree->headerItem()->text(0).isEmpty() ? 0 : 1;
        QCOMPARE(report.count("<tr style=\"height: 18px;\">"), treeRows(tree).size() + headerRows);
    }
};

QTEST_MAIN(BenchCustomList)
#include "bench_customlist.moc"
