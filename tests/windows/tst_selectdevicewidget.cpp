#include "SelectDeviceWidget.h"

#include "ParameterCustomListRepository.h"
#include "ListTestSupport.h"

#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "TestSupport.h"

#include <QDialog>
#include <QAction>
#include <QDialogButtonBox>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <memory>

using namespace KxTest;
using AxisList = QList<QPointer<DriveControllerAxis>>;

class TestSelectDeviceWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }
    void init();
    void cleanup();

    void rowsShowControllersAndTheirAxes();
    void preselectionAndSelectionFollowTheTree();
    void contextMenuChecksAndUnchecksAllAxes();
    void execRunsTheModalDialog_data();
    void execRunsTheModalDialog();

private:
    QTreeWidgetItem* row(const QString& text) const
    {
        return m_widget->findChild<QTreeWidget*>()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive).value(0);
    }

    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<Host> m_host;
    QWidget m_owner;
    SelectDeviceWidget* m_widget = nullptr;
};

void TestSelectDeviceWidget::init()
{
    m_mainWindow = std::make_unique<MainWindow>();
    m_host = std::make_unique<Host>(project("lift"));
    ParameterCustomListRepository::instance().initialize(m_host.get());
    m_widget = new SelectDeviceWidget(&m_owner);
    m_widget->fillDevices();
}

void TestSelectDeviceWidget::cleanup()
{
    cancelModalHandlers();
    delete m_widget;
    m_host.reset();
    m_mainWindow.reset();
}

void TestSelectDeviceWidget::rowsShowControllersAndTheirAxes()
{
    // GIVEN a selection filled from a two-axis and a one-axis controller
    // THEN each controller is an expanded row without check box over its unchecked axis rows
    auto* tree = m_widget->findChild<QTreeWidget*>();
    QCOMPARE(tree->topLevelItemCount(), 2);
    QTreeWidgetItem* controllerRow = tree->topLevelItem(0);
    QCOMPARE(controllerRow->text(0), QStringLiteral("Achsmodul (Regler 3 kW)"));
    QCOMPARE(tree->topLevelItem(1)->text(0), QStringLiteral("Pumpe (Umrichter Pumpe)"));
    QVERIFY(controllerRow->isExpanded());
    QVERIFY(!(controllerRow->flags() & Qt::ItemIsUserCheckable));
    QCOMPARE(controllerRow->childCount(), 2);
    QCOMPARE(controllerRow->child(1)->text(0), QStringLiteral("Fahrachse"));
    QCOMPARE(controllerRow->child(1)->checkState(0), Qt::Unchecked);

    // AND a project without controllers leaves nothing to choose
    m_host->removeAllControllers();
    SelectDeviceWidget empty;
    empty.fillDevices();
    QCOMPARE(empty.findChild<QTreeWidget*>()->topLevelItemCount(), 0);
}

void TestSelectDeviceWidget::preselectionAndSelectionFollowTheTree()
{
    // GIVEN rows checked by the user, an axis of another project and a destroyed axis
    row(QStringLiteral("Hubachse"))->setCheckState(0, Qt::Checked);
    Host otherProject(project("lift"));
    QPointer<DriveControllerAxis> destroyed = otherProject.axis(0, 2);
    otherProject.controller(0)->removeAxis(2);

    // WHEN the list's axes are pre-checked
    m_widget->setSelectedAxes({destroyed, m_host->axis(1, 1), otherProject.axis(0, 1), m_host->axis(0, 2)});

    // THEN exactly the project's given axes are checked, reported in tree order
    QCOMPARE(row(QStringLiteral("Hubachse"))->checkState(0), Qt::Unchecked);
    QCOMPARE(m_widget->selectedAxes(), (AxisList{m_host->axis(0, 2), m_host->axis(1, 1)}));

    // WHEN one of them goes away
    m_host->controller(0)->removeAxis(2);

    // THEN its row goes with it and the selection holds only living axes
    QVERIFY(!row(QStringLiteral("Fahrachse")));
    QCOMPARE(m_widget->selectedAxes(), AxisList{m_host->axis(1, 1)});
}

void TestSelectDeviceWidget::contextMenuChecksAndUnchecksAllAxes()
{
    // GIVEN a shown selection
    m_widget->show();
    auto* tree = m_widget->findChild<QTreeWidget*>();

    // WHEN the user opens the context menu and chooses "Alle auswählen"
    emit tree->customContextMenuRequested(QPoint(5, 5));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    const QList<QAction*> actions = menu->actions();
    QCOMPARE(actions.size(), 2);
    QCOMPARE(actions.at(0)->text(), QStringLiteral("Alle auswählen"));
    QCOMPARE(actions.at(1)->text(), QStringLiteral("Alle abwählen"));
    actions.at(0)->trigger();
    menu->close();

    // THEN every axis is selected and the controller rows still have no check box
    QCOMPARE(m_widget->selectedAxes(), (AxisList{m_host->axis(0, 1), m_host->axis(0, 2), m_host->axis(1, 1)}));
    QVERIFY(!tree->topLevelItem(0)->data(0, Qt::CheckStateRole).isValid());

    // WHEN the menu is asked for again and "Alle abwählen" chosen
    emit tree->customContextMenuRequested(QPoint(5, 5));
    QCOMPARE(QApplication::activePopupWidget(), menu);
    actions.at(1)->trigger();
    menu->close();

    // THEN nothing is selected
    QVERIFY(m_widget->selectedAxes().isEmpty());
}

void TestSelectDeviceWidget::execRunsTheModalDialog_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("OK") << QStringLiteral("ok") << true;
    QTest::newRow("closed") << QStringLiteral("close") << false;
}

void TestSelectDeviceWidget::execRunsTheModalDialog()
{
    QFETCH(QString, how);
    QFETCH(bool, accepted);

    // GIVEN a selection with the first axis pre-checked
    m_widget->setSelectedAxes({m_host->axis(0, 1)});

    // WHEN the dialog runs, the user checks the pump's axis and leaves the dialog
    bool seen = false;
    whenModal<QDialog>([&](QDialog* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Antriebsregler auswählen"));
        QCOMPARE(dialog->parentWidget(), m_mainWindow->widget());
        QCOMPARE(dialog->size(), QSize(300, 400));
        QCOMPARE(m_widget->parentWidget(), dialog);
        row(QStringLiteral("Pumpenantrieb"))->setCheckState(0, Qt::Checked);
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        if (how == QLatin1String("close"))
            dialog->close();
        else
            buttons->button(how == QLatin1String("ok") ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
    }, &seen);
    const bool result = m_widget->exec();

    // THEN the result says how it ended, the widget is back with its owner and
    // still tells its selection, and the dialog is gone
    QVERIFY(seen);
    QCOMPARE(result, accepted);
    QCOMPARE(m_widget->parentWidget(), &m_owner);
    QCOMPARE(m_widget->selectedAxes(), (AxisList{m_host->axis(0, 1), m_host->axis(1, 1)}));
    QVERIFY(m_mainWindow->widget()->findChildren<QDialog*>().isEmpty());
}

QTEST_MAIN(TestSelectDeviceWidget)
#include "tst_selectdevicewidget.moc"
