// Uses the shared library only through its exported classes, as the
// application does.
#include "ParameterCustomListInformation.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListRepositoryView.h"
#include "WindowsTestSupport.h"

#include "TestSupport.h"

#include <QTest>
#include <QTreeWidget>

#include <memory>

using namespace WindowsTest;

class TestRepositoryViewApi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void applicationShowsTheViewOfItsLists();
};

void TestRepositoryViewApi::initTestCase()
{
    KxTest::initTestEnvironment();
}

void TestRepositoryViewApi::applicationShowsTheViewOfItsLists()
{
    // GIVEN an application with its main window and its host
    auto mainWindow = std::make_unique<MainWindow>();
    Host host;
    ParameterCustomListRepository& repository = ParameterCustomListRepository::instance();
    repository.initialize(&host);

    // WHEN it takes the view and shows it
    ParameterCustomListRepositoryView& view = ParameterCustomListRepositoryView::instance();
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    // THEN the view is the main window's dialog and lists what the repository holds
    QCOMPARE(&ParameterCustomListRepositoryView::instance(), &view);
    QCOMPARE(view.parentWidget(), mainWindow->widget());
    auto* tree = view.findChild<QTreeWidget*>();
    QVERIFY(tree);
    QCOMPARE(tree->topLevelItemCount(), 1);
    ParameterCustomListInformation* list = repository.createList();
    QCOMPARE(tree->topLevelItemCount(), 2);
    QVERIFY(!tree->findItems(list->name(), Qt::MatchExactly).isEmpty());
    view.update();
    QCOMPARE(tree->topLevelItemCount(), 2);
    repository.deleteList(list);
    QCOMPARE(tree->topLevelItemCount(), 1);

    // WHEN the main window goes, the view goes with it, and the next call makes a new one
    QPointer<ParameterCustomListRepositoryView> gone = &view;
    mainWindow = std::make_unique<MainWindow>();
    QVERIFY(!gone);
    QCOMPARE(ParameterCustomListRepositoryView::instance().parentWidget(), mainWindow->widget());
}

QTEST_MAIN(TestRepositoryViewApi)
#include "tst_repositoryview_api.moc"
