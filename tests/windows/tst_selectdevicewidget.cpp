#include "SelectDeviceWidget.h"

#include "ParameterCustomListRepository.h"
#include "WindowsTestSupport.h"

#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "TestSupport.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <memory>

using namespace WindowsTest;

using AxisList = QList<QPointer<DriveControllerAxis>>;

class TestSelectDeviceWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void fillDevicesShowsOneCheckableRowPerAxisUnderItsController();
    void fillDevicesOfAnEmptyProjectLeavesTheTreeEmpty();
    void setSelectedAxesChecksExactlyTheGivenAxes_data();
    void setSelectedAxesChecksExactlyTheGivenAxes();
    void contextMenuChecksAndUnchecksAllAxisRows();
    void selectedAxesFollowTreeOrderNotCheckOrder();
    void execRunsTheModalDialog_data();
    void execRunsTheModalDialog();
    void execWithoutAxesAcceptsAnEmptySelection();
    void axisDestroyedWhileTheDialogRunsIsNotSelected();

private:
    QTreeWidget* treeOf(SelectDeviceWidget& widget) const { return widget.findChild<QTreeWidget*>(); }
    static QStringList axisRowTexts(QTreeWidget* tree, Qt::CheckState state);

    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<Host> m_host;
};

QStringList TestSelectDeviceWidget::axisRowTexts(QTreeWidget* tree, Qt::CheckState state)
{
    QStringList texts;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* controllerRow = tree->topLevelItem(i);
        for (int j = 0; j < controllerRow->childCount(); ++j) {
            if (controllerRow->child(j)->checkState(0) == state)
                texts << controllerRow->child(j)->text(0);
        }
    }
    return texts;
}

void TestSelectDeviceWidget::initTestCase()
{
    KxTest::initTestEnvironment();
}

void TestSelectDeviceWidget::init()
{
    m_mainWindow = std::make_unique<MainWindow>();
    m_host = std::make_unique<Host>();
    ParameterCustomListRepository::instance().initialize(m_host.get());
}

void TestSelectDeviceWidget::cleanup()
{
    cancelModalHandlers();
    m_host.reset();
    m_mainWindow.reset();
}

void TestSelectDeviceWidget::fillDevicesShowsOneCheckableRowPerAxisUnderItsController()
{
    // GIVEN a project with a two-axis and a one-axis controller
    SelectDeviceWidget widget;
    // WHEN the selection fills itself
    widget.fillDevices();
    QTreeWidget* tree = treeOf(widget);
    QVERIFY(tree);

    // THEN each controller is an expanded row without check box, named with
    // its descriptive text, and each axis an unchecked row below it
    QVERIFY(tree->isHeaderHidden());
    QVERIFY(tree->rootIsDecorated());
    QCOMPARE(tree->topLevelItemCount(), 2);
    const QStringList controllerTexts = {QStringLiteral("Achsmodul (Regler 3 kW)"), QStringLiteral("Pumpe (Umrichter Pumpe)")};
    const QList<QStringList> axisTexts = {{QStringLiteral("Hubachse"), QStringLiteral("Fahrachse")}, {QStringLiteral("Pumpenantrieb")}};
    for (int i = 0; i < 2; ++i) {
        QTreeWidgetItem* controllerRow = tree->topLevelItem(i);
        QCOMPARE(controllerRow->text(0), controllerTexts.at(i));
        QVERIFY(controllerRow->isExpanded());
        QVERIFY(!(controllerRow->flags() & Qt::ItemIsUserCheckable));
        QVERIFY(!controllerRow->data(0, Qt::CheckStateRole).isValid());
        QCOMPARE(controllerRow->childCount(), axisTexts.at(i).size());
        for (int j = 0; j < controllerRow->childCount(); ++j) {
            QTreeWidgetItem* axisRow = controllerRow->child(j);
            QCOMPARE(axisRow->text(0), axisTexts.at(i).at(j));
            QCOMPARE(axisRow->checkState(0), Qt::Unchecked);
            QVERIFY(axisRow->flags() & Qt::ItemIsUserCheckable);
        }
    }
    QVERIFY(widget.selectedAxes().isEmpty());
}

void TestSelectDeviceWidget::fillDevicesOfAnEmptyProjectLeavesTheTreeEmpty()
{
    // GIVEN a project whose controllers are gone
    m_host->removeAllControllers();
    SelectDeviceWidget widget;
    // WHEN the selection fills itself
    widget.fillDevices();
    // THEN there is nothing to choose
    QCOMPARE(treeOf(widget)->topLevelItemCount(), 0);
    QVERIFY(widget.selectedAxes().isEmpty());
}

void TestSelectDeviceWidget::setSelectedAxesChecksExactlyTheGivenAxes_data()
{
    QTest::addColumn<QStringList>("checkedBefore");
    QTest::addColumn<bool>("withForeignAxis");
    QTest::addColumn<bool>("withDestroyedAxis");
    QTest::addColumn<QStringList>("expectedChecked");

    QTest::newRow("second axis of the first controller")
        << QStringList() << false << false << QStringList{QStringLiteral("Fahrachse")};
    QTest::newRow("earlier checks are cleared")
        << QStringList{QStringLiteral("Hubachse"), QStringLiteral("Pumpenantrieb")} << false << false
        << QStringList{QStringLiteral("Fahrachse")};
    QTest::newRow("axis of another project is ignored")
        << QStringList() << true << false << QStringList{QStringLiteral("Fahrachse")};
    QTest::newRow("destroyed axis is skipped")
        << QStringList() << false << true << QStringList{QStringLiteral("Fahrachse")};
}

void TestSelectDeviceWidget::setSelectedAxesChecksExactlyTheGivenAxes()
{
    QFETCH(QStringList, checkedBefore);
    QFETCH(bool, withForeignAxis);
    QFETCH(bool, withDestroyedAxis);
    QFETCH(QStringList, expectedChecked);

    // GIVEN a filled selection, possibly with some rows checked already
    SelectDeviceWidget widget;
    widget.fillDevices();
    QTreeWidget* tree = treeOf(widget);
    for (const QString& text : qAsConst(checkedBefore)) {
        const QList<QTreeWidgetItem*> rows = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(rows.size(), 1);
        rows.first()->setCheckState(0, Qt::Checked);
    }

    AxisList axes{m_host->axis(0, 2)};
    Host foreignProject;
    if (withForeignAxis)
        axes.append(foreignProject.axis(0, 1));
    if (withDestroyedAxis) {
        QPointer<DriveControllerAxis> doomed = foreignProject.axis(1, 1);
        foreignProject.controller(1)->removeAxis(1);
        QVERIFY(!doomed);
        axes.prepend(doomed);
    }

    // WHEN the axes are pre-checked
    widget.setSelectedAxes(axes);

    // THEN exactly the project's given axes are checked
    QCOMPARE(axisRowTexts(tree, Qt::Checked), expectedChecked);
    QCOMPARE(widget.selectedAxes(), AxisList{m_host->axis(0, 2)});
}

void TestSelectDeviceWidget::contextMenuChecksAndUnchecksAllAxisRows()
{
    // GIVEN a shown selection
    SelectDeviceWidget widget;
    widget.fillDevices();
    widget.show();
    QTreeWidget* tree = treeOf(widget);

    // WHEN the user asks for the context menu
    expectPopupWarnings();
    emit tree->customContextMenuRequested(QPoint(5, 5));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    const QList<QAction*> actions = menu->actions();
    QCOMPARE(actions.size(), 2);
    QCOMPARE(actions.at(0)->text(), QStringLiteral("Alle auswählen"));
    QCOMPARE(actions.at(1)->text(), QStringLiteral("Alle abwählen"));
    QVERIFY(actions.at(0)->shortcut().isEmpty());
    QVERIFY(actions.at(1)->shortcut().isEmpty());

    // THEN "Alle auswählen" checks every axis row and leaves the controller rows without check box
    actions.at(0)->trigger();
    QCOMPARE(axisRowTexts(tree, Qt::Checked).size(), 3);
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        QVERIFY(!tree->topLevelItem(i)->data(0, Qt::CheckStateRole).isValid());
    QCOMPARE(widget.selectedAxes(), (AxisList{m_host->axis(0, 1), m_host->axis(0, 2), m_host->axis(1, 1)}));

    // AND "Alle abwählen" clears them again
    actions.at(1)->trigger();
    QCOMPARE(axisRowTexts(tree, Qt::Unchecked).size(), 3);
    QVERIFY(widget.selectedAxes().isEmpty());
    menu->close();

    // AND a second request shows the same menu again
    expectPopupWarnings();
    emit tree->customContextMenuRequested(QPoint(5, 5));
    QCOMPARE(QApplication::activePopupWidget(), menu);
    menu->close();
}

void TestSelectDeviceWidget::selectedAxesFollowTreeOrderNotCheckOrder()
{
    // GIVEN a filled selection
    SelectDeviceWidget widget;
    widget.fillDevices();
    QTreeWidget* tree = treeOf(widget);

    // WHEN the second controller's axis is checked before the first controller's
    tree->findItems(QStringLiteral("Pumpenantrieb"), Qt::MatchExactly | Qt::MatchRecursive).first()->setCheckState(0, Qt::Checked);
    tree->findItems(QStringLiteral("Hubachse"), Qt::MatchExactly | Qt::MatchRecursive).first()->setCheckState(0, Qt::Checked);

    // THEN the selection lists them in tree order
    QCOMPARE(widget.selectedAxes(), (AxisList{m_host->axis(0, 1), m_host->axis(1, 1)}));
}

void TestSelectDeviceWidget::execRunsTheModalDialog_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("expectedResult");

    QTest::newRow("OK accepts") << QStringLiteral("ok") << true;
    QTest::newRow("Cancel rejects") << QStringLiteral("cancel") << false;
    QTest::newRow("closing the dialog rejects") << QStringLiteral("close") << false;
}

void TestSelectDeviceWidget::execRunsTheModalDialog()
{
    QFETCH(QString, how);
    QFETCH(bool, expectedResult);

    // GIVEN a selection owned by some window, with one axis pre-checked
    QWidget owner;
    auto* widget = new SelectDeviceWidget(&owner);
    widget->fillDevices();
    widget->setSelectedAxes({m_host->axis(0, 1)});

    // WHEN the dialog runs and the user checks another axis and leaves it as the row says
    bool seen = false;
    whenModal<QDialog>([&](QDialog* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Antriebsregler auswählen"));
        QCOMPARE(dialog->parentWidget(), m_mainWindow->widget());
        QCOMPARE(dialog->size(), QSize(300, 400));
        QCOMPARE(widget->parentWidget(), dialog);
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        QVERIFY(buttons);
        QCOMPARE(buttons->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        treeOf(*widget)->findItems(QStringLiteral("Pumpenantrieb"), Qt::MatchExactly | Qt::MatchRecursive)
            .first()->setCheckState(0, Qt::Checked);
        if (how == QLatin1String("ok"))
            buttons->button(QDialogButtonBox::Ok)->click();
        else if (how == QLatin1String("cancel"))
            buttons->button(QDialogButtonBox::Cancel)->click();
        else
            dialog->close();
    }, &seen);
    const bool result = widget->exec();

    // THEN the result tells how it ended, and the widget is back with its owner with its checks
    QVERIFY(seen);
    QCOMPARE(result, expectedResult);
    QCOMPARE(widget->parentWidget(), &owner);
    QVERIFY(!widget->isVisible());
    QCOMPARE(widget->selectedAxes(), (AxisList{m_host->axis(0, 1), m_host->axis(1, 1)}));
    QTRY_VERIFY(m_mainWindow->widget()->findChildren<QDialog*>().isEmpty());
}

void TestSelectDeviceWidget::execWithoutAxesAcceptsAnEmptySelection()
{
    // GIVEN a project without controllers
    m_host->removeAllControllers();
    SelectDeviceWidget widget;
    widget.fillDevices();

    // WHEN the user presses OK
    whenModal<QDialog>([](QDialog* dialog) {
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });

    // THEN the dialog is accepted with nothing selected
    QVERIFY(widget.exec());
    QVERIFY(widget.selectedAxes().isEmpty());
}

void TestSelectDeviceWidget::axisDestroyedWhileTheDialogRunsIsNotSelected()
{
    // GIVEN a selection with every axis checked
    SelectDeviceWidget widget;
    widget.fillDevices();
    widget.setSelectedAxes({m_host->axis(0, 1), m_host->axis(0, 2), m_host->axis(1, 1)});

    // WHEN an axis goes away while the dialog is open and the user accepts
    whenModal<QDialog>([this](QDialog* dialog) {
        m_host->controller(0)->removeAxis(2);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    QVERIFY(widget.exec());

    // THEN its row is gone and the selection holds only living axes
    QCOMPARE(axisRowTexts(treeOf(widget), Qt::Checked), (QStringList{QStringLiteral("Hubachse"), QStringLiteral("Pumpenantrieb")}));
    QCOMPARE(widget.selectedAxes(), (AxisList{m_host->axis(0, 1), m_host->axis(1, 1)}));
}

QTEST_MAIN(TestSelectDeviceWidget)
#include "tst_selectdevicewidget.moc"
