// The variable parameter lists inside the running application: the lists
// travel with the project file, the list view is reachable from the main
// window, and lists cope with controllers leaving the project.
#include "AppTestSupport.h"
#include "TestSupport.h"

#include "DriveController.h"
#include "FileStorageView.h"
#include "MainWindow.h"
#include "ParameterCustomListInformation.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListRepositoryView.h"
#include "Project.h"
#include "ProjectCustomLists.h"
#include "ProjectFile.h"
#include "ProjectHost.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

using AppTest::whenModalOpens;

namespace {

using AxisName = QPair<QString, QString>; // controller name, axis name

const QString leftName = QStringLiteral("Prüfstand links");
const QString rightName = QStringLiteral("Prüfstand rechts");

ParameterCustomListRepository& repository()
{
    return ParameterCustomListRepository::instance();
}

QTreeWidget* repositoryRows()
{
    return ParameterCustomListRepositoryView::instance().findChild<QTreeWidget*>();
}

QWidget* listWindow(const MainWindow& window, const QString& identifier)
{
    for (QWidget* child : window.findChildren<QWidget*>(QStringLiteral("ParameterCustomListWidget"))) {
        QTreeWidget* tree = child->findChild<QTreeWidget*>(QStringLiteral("parameterTreeWidget"));
        if (child->isVisible() && tree && child->windowTitle().endsWith(repository().list(identifier)->name()))
            return child;
    }
    return nullptr;
}

// Column captions of a list window's tree: one "controller\naxis" per axis.
QStringList axisCaptions(QWidget* listWindow)
{
    QStringList captions;
    auto* tree = listWindow->findChild<QTreeWidget*>(QStringLiteral("parameterTreeWidget"));
    for (int column = 1; column < tree->columnCount(); ++column)
        captions << tree->headerItem()->text(column);
    return captions;
}

QStringList captionsOf(const QList<AxisName>& axes)
{
    QStringList captions;
    for (const AxisName& axis : axes)
        captions << axis.first + QLatin1Char('\n') + axis.second;
    return captions;
}

QTreeWidgetItem* listRow(const QString& identifier)
{
    QTreeWidget* rows = repositoryRows();
    for (int i = 0; i < rows->topLevelItemCount(); ++i) {
        if (rows->topLevelItem(i)->data(0, Qt::UserRole).toString() == identifier)
            return rows->topLevelItem(i);
    }
    return nullptr;
}

void renameInListView(MainWindow& window, const QString& identifier, const QString& name)
{
    window.findChild<QAction*>(QStringLiteral("actionParameterCustomLists"))->trigger();
    if (QTreeWidgetItem* row = listRow(identifier))
        row->setText(0, name);
}

// Opens the window of a list from the list view, the way a user does. A list
// without axes asks for them at once; @p axes are then checked in that dialog.
QWidget* openListWindow(MainWindow& window, const QString& identifier, const QList<AxisName>& axes = {})
{
    window.findChild<QAction*>(QStringLiteral("actionParameterCustomLists"))->trigger();
    QTreeWidget* rows = repositoryRows();
    QTreeWidgetItem* row = listRow(identifier);
    if (!row)
        return nullptr;
    const auto selection = whenModalOpens<QDialog>([axes](QDialog* dialog) {
        auto* devices = dialog->findChild<QTreeWidget*>();
        for (int c = 0; devices && c < devices->topLevelItemCount(); ++c) {
            QTreeWidgetItem* controller = devices->topLevelItem(c);
            for (int a = 0; a < controller->childCount(); ++a) {
                QTreeWidgetItem* axis = controller->child(a);
                const bool wanted = axes.contains({controller->text(0).section(QStringLiteral(" ("), 0, 0), axis->text(0)});
                axis->setCheckState(0, wanted ? Qt::Checked : Qt::Unchecked);
            }
        }
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    rows->setCurrentItem(row);
    QTest::keyClick(rows, Qt::Key_Return);
    QWidget* opened = nullptr;
    if (!QTest::qWaitFor([&] { return (opened = listWindow(window, identifier)) != nullptr; }))
        return nullptr;
    if (!axes.isEmpty()
        && !QTest::qWaitFor([&] { return selection->handled() && axisCaptions(opened).size() == axes.size(); }))
        return nullptr;
    return opened;
}

// Entry text -> its elements, "*" for the whole parameter; order-free.
QMap<QString, QSet<QString>> entries(const QByteArray& exported)
{
    QMap<QString, QSet<QString>> result;
    for (const QByteArray& line : exported.split('\n')) {
        const QString text = QString::fromUtf8(line.trimmed());
        if (text.isEmpty())
            continue;
        const QString coordinate = text.section(QLatin1Char('['), 0, 0);
        const QString elements = text.section(QLatin1Char('['), 1).chopped(text.contains(QLatin1Char('[')) ? 1 : 0);
        const QStringList parts = elements.isEmpty() ? QStringList{QStringLiteral("*")} : elements.split(QLatin1Char('/'));
        result[coordinate] = QSet<QString>(parts.begin(), parts.end());
    }
    return result;
}

} // namespace

class CustomListsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void listSurvivesSaveNewProjectAndReopen();
    void deletedListsStayDeletedAfterSaving();
    void listChangesMarkTheProjectModified_data();
    void listChangesMarkTheProjectModified();
    void listViewIsShownFromMenuAndToolBar_data();
    void listViewIsShownFromMenuAndToolBar();
    void axesLeavingTheProjectLeaveTheList_data();
    void axesLeavingTheProjectLeaveTheList();
    void unreadableStoredListIsReportedAndKept();

private:
    // A window with the test description open and a second controller with
    // axes 1 and 2 added, not modified.
    std::unique_ptr<MainWindow> openTwoControllers();
    QString save(MainWindow& window, const QString& name);

    QTemporaryDir m_types;
    QTemporaryDir m_work;
    QString m_description;
};

void CustomListsTest::initTestCase()
{
    KxTest::initTestEnvironment();
    AppTest::ignoreOffscreenPlatformLimits();
    QVERIFY(m_types.isValid() && m_work.isValid());
    m_description = AppTest::writeTypesAndDescription(QDir(m_types.path()), QDir(m_work.path()));
}

std::unique_ptr<MainWindow> CustomListsTest::openTwoControllers()
{
    auto window = std::make_unique<MainWindow>(m_types.path());
    window->setInteractive(false);
    if (!window->openFile(m_description)
        || !window->project()->addController(AppTest::testTypeName(), rightName, 2)) {
        QTest::qFail("cannot open the test project", __FILE__, __LINE__);
        return nullptr;
    }
    return window;
}

QString CustomListsTest::save(MainWindow& window, const QString& name)
{
    const QString path = QDir(m_work.path()).filePath(name);
    if (!window.saveFile(path))
        QTest::qFail(qPrintable(QStringLiteral("cannot save ") + path), __FILE__, __LINE__);
    return path;
}

void CustomListsTest::listSurvivesSaveNewProjectAndReopen()
{
    // GIVEN a list made in the application: two axes of two controllers, whole
    // parameters and single elements, its window resized with the bottom area shown
    auto window = openTwoControllers();
    QVERIFY(window);
    ParameterCustomListInformation* list = repository().createList();
    const QString identifier = list->identifier();
    const QString name = QStringLiteral("Abgleich Hubwerk & Tisch");
    renameInListView(*window, identifier, name);
    QTRY_COMPARE(list->name(), name);
    const QList<AxisName> axes{{leftName, QStringLiteral("Drehtisch")}, {rightName, QStringLiteral("Achse 2")}};
    QWidget* listView = openListWindow(*window, identifier, axes);
    QVERIFY(listView);
    QCOMPARE(axisCaptions(listView), captionsOf(axes));
    for (const char* parameter : {"A10", "A12[1]", "A12[3]", "B21"})
        list->addEntry(QLatin1String(parameter));
    auto* addField = listView->findChild<QLineEdit*>(QStringLiteral("parameterAddLineEdit"));
    QVERIFY(addField);
    QTest::keyClicks(addField, QStringLiteral("c30[5]"));
    QTest::keyClick(addField, Qt::Key_Return);
    listView->findChild<QAbstractButton*>(QStringLiteral("bottomButton"))->setChecked(true);
    listView->resize(911, 577);
    const QMap<QString, QSet<QString>> expected{{QStringLiteral("A10"), {QStringLiteral("*")}},
                                                {QStringLiteral("A12"), {QStringLiteral("1"), QStringLiteral("3")}},
                                                {QStringLiteral("B21"), {QStringLiteral("*")}},
                                                {QStringLiteral("C30"), {QStringLiteral("5")}}};
    QTRY_COMPARE(entries(list->exportText()), expected);
    listView->close();

    // WHEN the project is saved, replaced by a new one and opened again
    const QString file = save(*window, QStringLiteral("lists.kxproj"));
    window->project()->newProject();
    QVERIFY(repository().content().isEmpty());
    QVERIFY(window->openFile(file));

    // THEN the list is back with its name, entries, element selections and axes
    QCOMPARE(repository().content().size(), 1);
    ParameterCustomListInformation* loaded = repository().list(identifier);
    QVERIFY(loaded);
    QCOMPARE(loaded->name(), name);
    QCOMPARE(entries(loaded->exportText()), expected);
    QVERIFY(!window->isWindowModified());
    QWidget* reopened = openListWindow(*window, identifier);
    QVERIFY(reopened);
    QCOMPARE(axisCaptions(reopened), captionsOf(axes));
    // AND its window comes back as it was left
    QCOMPARE(reopened->size(), QSize(911, 577));
    QTRY_VERIFY(reopened->findChild<QWidget*>(QStringLiteral("bottomWidget"))->isVisible());
    QVERIFY(!window->isWindowModified());
}

void CustomListsTest::deletedListsStayDeletedAfterSaving()
{
    // GIVEN a project saved with three lists
    auto window = openTwoControllers();
    QVERIFY(window);
    QStringList identifiers;
    for (const char* parameter : {"A10", "A11", "B20"}) {
        ParameterCustomListInformation* list = repository().createList();
        list->addEntry(QLatin1String(parameter));
        identifiers << list->identifier();
    }
    const QString file = save(*window, QStringLiteral("three.kxproj"));

    // WHEN the first two are deleted and the project is saved into the same file and reopened
    repository().deleteList(repository().list(identifiers.at(0)));
    repository().deleteList(repository().list(identifiers.at(1)));
    save(*window, QStringLiteral("three.kxproj"));
    window->project()->newProject();
    QVERIFY(window->openFile(file));

    // THEN only the third list is back, and the file holds one item for it
    QCOMPARE(repository().content().size(), 1);
    QVERIFY(repository().list(identifiers.at(2)));
    FileStorageView stored;
    QVERIFY(ProjectFile::read(file, &stored, nullptr));
    QCOMPARE(stored.subStorage(ProjectCustomLists::storageName())->itemNames(), QStringList{QStringLiteral("List0")});
}

void CustomListsTest::listChangesMarkTheProjectModified_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("list created") << QStringLiteral("create");
    QTest::newRow("parameter added") << QStringLiteral("add");
    QTest::newRow("parameter removed") << QStringLiteral("remove");
    QTest::newRow("text imported") << QStringLiteral("import");
    QTest::newRow("list deleted") << QStringLiteral("delete");
}

void CustomListsTest::listChangesMarkTheProjectModified()
{
    QFETCH(QString, change);

    // GIVEN a project with one list, just saved, and its lists' posted signals delivered
    auto window = openTwoControllers();
    QVERIFY(window);
    ParameterCustomListInformation* list = repository().createList();
    list->addEntry(QStringLiteral("A10"));
    QSignalSpy listChanged(&repository(), SIGNAL(repositoryContentChanged()));
    QTRY_VERIFY(listChanged.count() > 0);
    save(*window, QStringLiteral("modified.kxproj"));
    QCoreApplication::processEvents();
    QVERIFY(!window->project()->isModified());

    // WHEN the list changes
    if (change == QLatin1String("create"))
        repository().createList();
    else if (change == QLatin1String("add"))
        list->addEntry(QStringLiteral("A12[2]"));
    else if (change == QLatin1String("remove"))
        list->removeEntry(QStringLiteral("A10"));
    else if (change == QLatin1String("import"))
        list->importText("B20\r\n");
    else
        repository().deleteList(list);

    // THEN the project must be saved again
    QTRY_VERIFY(window->project()->isModified());
    QVERIFY(window->isWindowModified());
}

void CustomListsTest::listViewIsShownFromMenuAndToolBar_data()
{
    QTest::addColumn<bool>("fromToolBar");
    QTest::newRow("menu Extras") << false;
    QTest::newRow("tool bar button") << true;
}

void CustomListsTest::listViewIsShownFromMenuAndToolBar()
{
    QFETCH(bool, fromToolBar);

    // GIVEN the application with one list
    auto window = openTwoControllers();
    QVERIFY(window);
    window->show();
    ParameterCustomListInformation* list = repository().createList();
    auto* action = window->findChild<QAction*>(QStringLiteral("actionParameterCustomLists"));
    QVERIFY(action);
    QVERIFY(!action->icon().isNull());
    auto* menu = window->findChild<QMenu*>(QStringLiteral("menuExtras"));
    QVERIFY(menu && menu->actions().contains(action));

    // WHEN the user asks for the variable parameter lists
    if (fromToolBar) {
        auto* button = qobject_cast<QToolButton*>(
            window->findChild<QToolBar*>(QStringLiteral("toolBarMain"))->widgetForAction(action));
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
    } else {
        action->trigger();
    }

    // THEN the list view is shown over the main window and lists that list
    ParameterCustomListRepositoryView& view = ParameterCustomListRepositoryView::instance();
    QVERIFY(view.isVisible());
    QCOMPARE(view.parentWidget(), window.get());
    QVERIFY(view.isWindow());
    QStringList names;
    QTreeWidget* rows = repositoryRows();
    for (int i = 0; i < rows->topLevelItemCount(); ++i)
        names << rows->topLevelItem(i)->text(0);
    QVERIFY2(names.contains(list->name()), qPrintable(names.join(QLatin1Char('|'))));
}

void CustomListsTest::axesLeavingTheProjectLeaveTheList_data()
{
    QTest::addColumn<QString>("leaving");
    QTest::addColumn<QList<AxisName>>("remaining");
    QTest::newRow("first controller removed: later controllers move up")
        << leftName << QList<AxisName>{{rightName, QStringLiteral("Achse 2")}};
    QTest::newRow("last controller removed")
        << rightName << QList<AxisName>{{leftName, QStringLiteral("Hubwerk")}, {leftName, QStringLiteral("Drehtisch")}};
    QTest::newRow("one axis removed")
        << leftName + QStringLiteral("/1")
        << QList<AxisName>{{leftName, QStringLiteral("Drehtisch")}, {rightName, QStringLiteral("Achse 2")}};
}

void CustomListsTest::axesLeavingTheProjectLeaveTheList()
{
    QFETCH(QString, leaving);
    QFETCH(QList<AxisName>, remaining);

    // GIVEN a list on three axes of two controllers, its window open
    auto window = openTwoControllers();
    QVERIFY(window);
    ParameterCustomListInformation* list = repository().createList();
    list->addEntry(QStringLiteral("A12[2]"));
    list->addEntry(QStringLiteral("B20"));
    const QString identifier = list->identifier();
    QWidget* listView = openListWindow(*window, identifier,
                                       {{leftName, QStringLiteral("Hubwerk")},
                                        {leftName, QStringLiteral("Drehtisch")},
                                        {rightName, QStringLiteral("Achse 2")}});
    QVERIFY(listView);
    QCOMPARE(axisCaptions(listView).size(), 3);
    const QByteArray exported = list->exportText();

    // WHEN a controller or an axis leaves the project
    DriveController* controller = nullptr;
    for (DriveController* each : window->project()->host()->driveControllers()) {
        if (each->name() == leaving.section(QLatin1Char('/'), 0, 0))
            controller = each;
    }
    QVERIFY(controller);
    if (leaving.contains(QLatin1Char('/')))
        QVERIFY(window->project()->removeAxis(controller, leaving.section(QLatin1Char('/'), 1).toInt()));
    else
        QVERIFY(window->project()->removeController(controller));

    // THEN the open window shows only the remaining axes and the list keeps its entries
    QTRY_COMPARE(axisCaptions(listView), captionsOf(remaining));
    QCOMPARE(list->exportText(), exported);

    // AND the same axes come back from the saved project, named by their new positions
    const QString file = save(*window, QStringLiteral("leaving.kxproj"));
    window->project()->newProject();
    QVERIFY(window->openFile(file));
    QWidget* reopened = openListWindow(*window, identifier);
    QVERIFY(reopened);
    QCOMPARE(axisCaptions(reopened), captionsOf(remaining));
    QCOMPARE(repository().list(identifier)->exportText(), exported);
}

void CustomListsTest::unreadableStoredListIsReportedAndKept()
{
    // GIVEN a project file whose lists are one good list and one damaged item
    auto window = openTwoControllers();
    QVERIFY(window);
    ParameterCustomListInformation* list = repository().createList();
    list->addEntry(QStringLiteral("A11"));
    const QString identifier = list->identifier();
    const QString file = save(*window, QStringLiteral("damaged.kxproj"));
    FileStorageView stored;
    QVERIFY(ProjectFile::read(file, &stored, nullptr));
    const QByteArray damaged("[List]\nName=kaputt\n");
    stored.storage(ProjectCustomLists::storageName())->writeItem(QStringLiteral("List1"), damaged);
    QVERIFY(ProjectFile::write(file, stored, nullptr));

    // WHEN it is opened
    window->project()->newProject();
    QSignalSpy problems(window.get(), &MainWindow::problemReported);
    QVERIFY(window->openFile(file));

    // THEN the good list is there, the damaged one is reported once
    QCOMPARE(repository().content().size(), 1);
    QVERIFY(repository().list(identifier));
    QCOMPARE(problems.count(), 1);
    QVERIFY2(problems.first().first().toString().contains(QStringLiteral("damaged.kxproj")),
             qPrintable(problems.first().first().toString()));

    // AND saving writes the damaged item back unchanged beside the good list
    save(*window, QStringLiteral("damaged.kxproj"));
    FileStorageView again;
    QVERIFY(ProjectFile::read(file, &again, nullptr));
    const FileStorageView* lists = again.subStorage(ProjectCustomLists::storageName());
    QVERIFY(lists);
    QCOMPARE(lists->itemNames().size(), 2);
    QStringList items;
    for (const QString& name : lists->itemNames())
        items << QString::fromUtf8(lists->readItem(name));
    QVERIFY(items.contains(QString::fromUtf8(damaged)));
}

QTEST_MAIN(CustomListsTest)
#include "tst_customlists.moc"
