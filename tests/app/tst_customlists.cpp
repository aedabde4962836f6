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
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>

using AppTest::whenModalOpens;

namespace {

const QString left = QStringLiteral("Prüfstand links");
const QString right = QStringLiteral("Prüfstand rechts");

// An axis as the list tree captions its column.
QString axis(const QString& controller, const QString& name)
{
    return controller + QLatin1Char('\n') + name;
}

ParameterCustomListRepository& repository()
{
    return ParameterCustomListRepository::instance();
}

// The row of a list in the list view, shown from the main window.
QTreeWidgetItem* listRow(MainWindow& window, const QString& identifier)
{
    window.findChild<QAction*>(QStringLiteral("actionParameterCustomLists"))->trigger();
    auto* rows = ParameterCustomListRepositoryView::instance().findChild<QTreeWidget*>();
    for (int i = 0; i < rows->topLevelItemCount(); ++i) {
        if (rows->topLevelItem(i)->data(0, Qt::UserRole).toString() == identifier)
            return rows->topLevelItem(i);
    }
    return nullptr;
}

QStringList axisCaptions(QWidget* listWindow)
{
    auto* tree = listWindow->findChild<QTreeWidget*>(QStringLiteral("parameterTreeWidget"));
    QStringList captions;
    for (int column = 1; column < tree->columnCount(); ++column)
        captions << tree->headerItem()->text(column);
    return captions;
}

// Opens a list's window from the list view as a user does. A list without
// axes asks for them at once; @p axes are checked in that dialog.
QWidget* openListWindow(MainWindow& window, const QString& identifier, const QStringList& axes = {})
{
    QTreeWidgetItem* row = listRow(window, identifier);
    if (!row)
        return nullptr;
    const auto selection = whenModalOpens<QDialog>([axes](QDialog* dialog) {
        auto* devices = dialog->findChild<QTreeWidget*>();
        for (int c = 0; c < devices->topLevelItemCount(); ++c) {
            const QString controller = devices->topLevelItem(c)->text(0).section(QStringLiteral(" ("), 0, 0);
            for (int a = 0; a < devices->topLevelItem(c)->childCount(); ++a) {
                QTreeWidgetItem* item = devices->topLevelItem(c)->child(a);
                item->setCheckState(0, axes.contains(axis(controller, item->text(0))) ? Qt::Checked : Qt::Unchecked);
            }
        }
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    row->treeWidget()->setCurrentItem(row);
    QTest::keyClick(row->treeWidget(), Qt::Key_Return);
    QWidget* opened = nullptr;
    const bool shown = QTest::qWaitFor([&] {
        for (QWidget* each : window.findChildren<QWidget*>(QStringLiteral("ParameterCustomListWidget"))) {
            if (each->isVisible() && each->windowTitle().endsWith(repository().list(identifier)->name()))
                opened = each;
        }
        return opened && (axes.isEmpty() || (selection->handled && axisCaptions(opened) == axes));
    });
    return shown ? opened : nullptr;
}

// Exported lines with the element numbers sorted: their order is not defined.
QStringList entries(const QByteArray& exported)
{
    QStringList lines;
    for (const QByteArray& line : exported.split('\n')) {
        QString text = QString::fromUtf8(line.trimmed());
        if (text.contains(QLatin1Char('['))) {
            QStringList elements = text.section(QLatin1Char('['), 1).chopped(1).split(QLatin1Char('/'));
            std::sort(elements.begin(), elements.end());
            text = text.section(QLatin1Char('['), 0, 0) + QLatin1Char('[') + elements.join(QLatin1Char('/')) + QLatin1Char(']');
        }
        if (!text.isEmpty())
            lines << text;
    }
    return lines;
}

} // namespace

class CustomListsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void listSurvivesSaveNewProjectAndReopen();
    void listChangesAskBeforeClosing_data();
    void listChangesAskBeforeClosing();
    void axesLeavingTheProjectLeaveTheList_data();
    void axesLeavingTheProjectLeaveTheList();
    void unreadableStoredListIsReported();

private:
    // The test description (left: Hubwerk = 1, Drehtisch = 3) and a second
    // controller (right: axes 1 and 2), not interactive.
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
    if (!window->openFile(m_description) || !window->project()->addController(AppTest::testTypeName(), right, 2)) {
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
    // GIVEN a list renamed in the list view, on axes of two controllers, with whole
    // parameters and single elements, its window resized with the bottom area shown
    auto window = openTwoControllers();
    QVERIFY(window);
    ParameterCustomListInformation* list = repository().createList();
    const QString identifier = list->identifier();
    const QString name = QStringLiteral("Abgleich Hubwerk & Tisch");
    listRow(*window, identifier)->setText(0, name);
    QTRY_COMPARE(list->name(), name);
    const QStringList axes{axis(left, QStringLiteral("Drehtisch")), axis(right, QStringLiteral("Achse 2"))};
    QWidget* listWindow = openListWindow(*window, identifier, axes);
    QVERIFY(listWindow);
    for (const char* parameter : {"A10", "A12[3]", "A12[1]", "B21"})
        list->addEntry(QLatin1String(parameter));
    auto* addField = listWindow->findChild<QLineEdit*>(QStringLiteral("parameterAddLineEdit"));
    QTest::keyClicks(addField, QStringLiteral("c30[5]"));
    QTest::keyClick(addField, Qt::Key_Return);
    const QStringList expected{QStringLiteral("A10"), QStringLiteral("A12[1/3]"), QStringLiteral("B21"),
                               QStringLiteral("C30[5]")};
    QTRY_COMPARE(entries(list->exportText()), expected);
    listWindow->findChild<QAbstractButton*>(QStringLiteral("bottomButton"))->setChecked(true);
    listWindow->resize(911, 577);
    listWindow->close();
    // (saved once before with a second list, deleted since)
    ParameterCustomListInformation* deleted = repository().createList();
    save(*window, QStringLiteral("lists.kxproj"));
    repository().deleteList(deleted);

    // WHEN the project is saved again, replaced by a new one and opened again
    const QString file = save(*window, QStringLiteral("lists.kxproj"));
    window->project()->newProject();
    QVERIFY(repository().content().isEmpty());
    QVERIFY(window->openFile(file));

    // THEN the list, and only it, is back with its name, entries, element selections and axes
    QCOMPARE(repository().content().size(), 1);
    ParameterCustomListInformation* loaded = repository().list(identifier);
    QVERIFY(loaded);
    QCOMPARE(loaded->name(), name);
    QCOMPARE(entries(loaded->exportText()), expected);
    QWidget* reopened = openListWindow(*window, identifier);
    QVERIFY(reopened);
    QCOMPARE(axisCaptions(reopened), axes);
    // AND its window as it was left, without the project counting as changed
    QCOMPARE(reopened->size(), QSize(911, 577));
    QTRY_VERIFY(reopened->findChild<QWidget*>(QStringLiteral("bottomWidget"))->isVisible());
    QVERIFY(!window->isWindowModified());
    // AND closing the window and then the application asks nothing
    reopened->close();
    window->setInteractive(true);
    const auto asked = whenModalOpens<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Cancel)->click(); });
    QVERIFY(window->close());
    QVERIFY(!asked->handled);
}

void CustomListsTest::listChangesAskBeforeClosing_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("list created") << QStringLiteral("create");
    QTest::newRow("list renamed") << QStringLiteral("rename");
    QTest::newRow("parameter removed") << QStringLiteral("remove");
    QTest::newRow("text imported") << QStringLiteral("import");
    QTest::newRow("axes chosen") << QStringLiteral("axes");
    QTest::newRow("list window resized") << QStringLiteral("window");
    QTest::newRow("list deleted") << QStringLiteral("delete");
}

void CustomListsTest::listChangesAskBeforeClosing()
{
    QFETCH(QString, change);

    // GIVEN a project with a list without axes and one whose window was shown, just saved
    auto window = openTwoControllers();
    QVERIFY(window);
    ParameterCustomListInformation* list = repository().createList();
    list->addEntry(QStringLiteral("A10"));
    const QString shown = repository().createList()->identifier();
    QWidget* shownWindow = openListWindow(*window, shown, {axis(left, QStringLiteral("Hubwerk"))});
    QVERIFY(shownWindow);
    shownWindow->close();
    QCoreApplication::processEvents(); // the lists' queued change signals
    save(*window, QStringLiteral("modified.kxproj"));
    QVERIFY(!window->project()->isModified());

    // WHEN the lists change
    if (change == QLatin1String("create"))
        repository().createList();
    else if (change == QLatin1String("rename"))
        listRow(*window, list->identifier())->setText(0, QStringLiteral("Umbenannt"));
    else if (change == QLatin1String("remove"))
        list->removeEntry(QStringLiteral("A10"));
    else if (change == QLatin1String("import"))
        list->importText("B20\r\n");
    else if (change == QLatin1String("axes"))
        QVERIFY(openListWindow(*window, list->identifier(), {axis(right, QStringLiteral("Achse 1"))}));
    else if (change == QLatin1String("window")) {
        shownWindow->show();
        shownWindow->resize(shownWindow->size() + QSize(37, 23));
        shownWindow->close();
    } else
        repository().deleteList(list);

    // THEN closing the application asks first, and "Abbrechen" keeps it open and the project modified
    QCoreApplication::processEvents();
    window->setInteractive(true);
    window->show();
    const auto asked = whenModalOpens<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Cancel)->click(); });
    QVERIFY(!window->close());
    QVERIFY(asked->handled);
    QVERIFY(window->isVisible() && window->isWindowModified());
}

void CustomListsTest::axesLeavingTheProjectLeaveTheList_data()
{
    QTest::addColumn<QString>("leaving");
    QTest::addColumn<QStringList>("remaining");
    QTest::newRow("first controller removed: the later one moves up")
        << left << QStringList{axis(right, QStringLiteral("Achse 2"))};
    QTest::newRow("last controller removed")
        << right << QStringList{axis(left, QStringLiteral("Hubwerk")), axis(left, QStringLiteral("Drehtisch"))};
    QTest::newRow("one axis removed")
        << left + QStringLiteral("/1")
        << QStringList{axis(left, QStringLiteral("Drehtisch")), axis(right, QStringLiteral("Achse 2"))};
}

void CustomListsTest::axesLeavingTheProjectLeaveTheList()
{
    QFETCH(QString, leaving);
    QFETCH(QStringList, remaining);

    // GIVEN a list on three axes of two controllers, its window open
    auto window = openTwoControllers();
    QVERIFY(window);
    ParameterCustomListInformation* list = repository().createList();
    const QString identifier = list->identifier();
    QWidget* listWindow = openListWindow(*window, identifier,
                                         {axis(left, QStringLiteral("Hubwerk")), axis(left, QStringLiteral("Drehtisch")),
                                          axis(right, QStringLiteral("Achse 2"))});
    QVERIFY(listWindow);
    list->importText("A12[2]\r\nB20\r\n");
    QTRY_COMPARE(entries(list->exportText()), (QStringList{QStringLiteral("A12[2]"), QStringLiteral("B20")}));

    // WHEN a controller or an axis leaves the project
    const QString controllerName = leaving.section(QLatin1Char('/'), 0, 0);
    DriveController* controller = window->project()->host()->driveControllers().value(controllerName == left ? 0 : 1);
    if (leaving.contains(QLatin1Char('/')))
        QVERIFY(window->project()->removeAxis(controller, leaving.section(QLatin1Char('/'), 1).toInt()));
    else
        QVERIFY(window->project()->removeController(controller));

    // THEN the open window shows the remaining axes, and the list keeps its entries
    QTRY_COMPARE(axisCaptions(listWindow), remaining);
    QCOMPARE(entries(list->exportText()), (QStringList{QStringLiteral("A12[2]"), QStringLiteral("B20")}));

    // AND the same axes come back from the saved project, named by their new positions
    const QString file = save(*window, QStringLiteral("leaving.kxproj"));
    window->project()->newProject();
    QVERIFY(window->openFile(file));
    QWidget* reopened = openListWindow(*window, identifier);
    QVERIFY(reopened);
    QCOMPARE(axisCaptions(reopened), remaining);
}

void CustomListsTest::unreadableStoredListIsReported()
{
    // GIVEN a project file with one good list and one damaged list item
    auto window = openTwoControllers();
    QVERIFY(window);
    const QString good = repository().createList()->identifier();
    const QString file = save(*window, QStringLiteral("damaged.kxproj"));
    FileStorageView stored;
    QVERIFY(ProjectFile::read(file, &stored, nullptr));
    stored.storage(ProjectCustomLists::storageName())->writeItem(QStringLiteral("List1"), "[List]\nName=kaputt\n");
    QVERIFY(ProjectFile::write(file, stored, nullptr));

    // WHEN it is opened
    QSignalSpy problems(window.get(), &MainWindow::problemReported);
    QVERIFY(window->openFile(file));

    // THEN the good list is there, and the damaged one is reported once, naming the file
    QCOMPARE(repository().content().size(), 1);
    QVERIFY(repository().list(good));
    QCOMPARE(problems.count(), 1);
    QVERIFY(problems.first().first().toString().contains(QStringLiteral("damaged.kxproj")));
}

QTEST_MAIN(CustomListsTest)
#include "tst_customlists.moc"
