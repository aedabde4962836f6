// The variable parameter lists inside the running application: the lists
// travel with the project file, the list view is reachable from the main
// window, and lists cope with controllers leaving the project.
#include "AppTestSupport.h"
#include "TestSupport.h"

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
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>

using KxTest::whenModal;

namespace {

const QString left = QStringLiteral("Prüfstand links");
const QString right = QStringLiteral("Prüfstand rechts");

// An axis as the list tree captions its column.
QString axis(const QString& controller, const char* name)
{
    return controller + QLatin1Char('\n') + QString::fromUtf8(name);
}

ParameterCustomListRepository& repository()
{
    return ParameterCustomListRepository::instance();
}

// The row of a list in the list view, shown from the main window.
QTreeWidgetItem* listRow(MainWindow& window, const QString& identifier)
{
    window.findChild<QAction*>(QStringLiteral("actionParameterCustomLists"))->trigger();
    for (QTreeWidgetItem* row : KxTest::treeRows(ParameterCustomListRepositoryView::instance().findChild<QTreeWidget*>())) {
        if (row->data(0, Qt::UserRole).toString() == identifier)
            return row;
    }
    return nullptr;
}

// Opens a list's window from the list view as a user does. A list without
// axes asks for them at once; @p axes are checked in that dialog.
QWidget* openListWindow(MainWindow& window, const QString& identifier, const QStringList& axes = {})
{
    QTreeWidgetItem* row = listRow(window, identifier);
    if (!row)
        return nullptr;
    whenModal<QDialog>([axes](QDialog* dialog) {
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
            if (each->isVisible() && each->windowTitle().endsWith(repository().list(identifier)->name()))
                opened = each;
        }
        return opened && (axes.isEmpty() || AppTest::axisCaptions(opened) == axes);
    });
    return shown ? opened : nullptr;
}

// Exported entries in one line, element numbers sorted: their order is not defined.
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

} // namespace

class CustomListsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        KxTest::initTestEnvironment();
        AppTest::ignoreOffscreenPlatformLimits();
        QVERIFY(m_types.isValid() && m_work.isValid());
        m_description = AppTest::writeTypesAndDescription(QDir(m_types.path()), QDir(m_work.path()));
    }
    void cleanup() { KxTest::cancelModalHandlers(); }

    void listSurvivesSaveNewProjectAndReopen();
    void listChangesAskBeforeClosing_data();
    void listChangesAskBeforeClosing();
    void axesLeavingTheProjectLeaveTheList_data();
    void axesLeavingTheProjectLeaveTheList();
    void unreadableStoredListIsReported();

private:
    // The test description (left: Hubwerk = 1, Drehtisch = 3) and a second controller (right: axes 1 and 2).
    std::unique_ptr<MainWindow> openTwoControllers() { return AppTest::openWindow(m_types.path(), m_description, {right}); }
    QString save(MainWindow& window, const char* name)
    {
        const QString path = QDir(m_work.path()).filePath(QLatin1String(name));
        if (!window.saveFile(path))
            QTest::qFail(qPrintable(QStringLiteral("cannot save ") + path), __FILE__, __LINE__);
        return path;
    }

    QTemporaryDir m_types;
    QTemporaryDir m_work;
    QString m_description;
};

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
    const QStringList axes{axis(left, "Drehtisch"), axis(right, "Achse 2")};
    QWidget* listWindow = openListWindow(*window, identifier, axes);
    QVERIFY(listWindow);
    for (const char* parameter : {"A10", "A12[3]", "A12[1]", "B21"})
        list->addEntry(QLatin1String(parameter));
    auto* addField = listWindow->findChild<QLineEdit*>(QStringLiteral("parameterAddLineEdit"));
    QTest::keyClicks(addField, QStringLiteral("c30[5]"));
    QTest::keyClick(addField, Qt::Key_Return);
    const QString expected = QStringLiteral("A10 A12[1/3] B21 C30[5]");
    QTRY_COMPARE(entries(list), expected);
    listWindow->findChild<QAbstractButton*>(QStringLiteral("bottomButton"))->setChecked(true);
    listWindow->resize(911, 577);
    listWindow->close();
    // (saved once before with a second list, deleted since)
    ParameterCustomListInformation* deleted = repository().createList();
    save(*window, "lists.kxproj");
    repository().deleteList(deleted);

    // WHEN the project is saved again, replaced by a new one and opened again
    const QString file = save(*window, "lists.kxproj");
    window->project()->newProject();
    QVERIFY(repository().content().isEmpty());
    QVERIFY(window->openFile(file));

    // THEN the list, and only it, is back with its name, entries, element selections and axes
    QCOMPARE(repository().content().size(), 1);
    QVERIFY(repository().list(identifier));
    QCOMPARE(repository().list(identifier)->name(), name);
    QCOMPARE(entries(repository().list(identifier)), expected);
    QWidget* reopened = openListWindow(*window, identifier);
    QVERIFY(reopened);
    QCOMPARE(AppTest::axisCaptions(reopened), axes);
    // AND its window as it was left, without the project counting as changed
    QCOMPARE(reopened->size(), QSize(911, 577));
    QTRY_VERIFY(reopened->findChild<QWidget*>(QStringLiteral("bottomWidget"))->isVisible());
    QVERIFY(!window->isWindowModified());
    // AND closing the window and then the application asks nothing
    reopened->close();
    window->setInteractive(true);
    bool asked = false;
    whenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Cancel)->click(); }, &asked);
    QVERIFY(window->close());
    QVERIFY(!asked);
}

void CustomListsTest::listChangesAskBeforeClosing_data()
{
    QTest::addColumn<QString>("change");
    for (const char* change : {"list created", "list renamed", "parameter removed", "text imported", "axes chosen",
                               "list window resized", "list deleted"})
        QTest::newRow(change) << QString::fromLatin1(change);
}

void CustomListsTest::listChangesAskBeforeClosing()
{
    QFETCH(QString, change);

    // GIVEN a project with a list without axes and one whose window was shown, just saved
    auto window = openTwoControllers();
    QVERIFY(window);
    ParameterCustomListInformation* list = repository().createList();
    list->addEntry(QStringLiteral("A10"));
    QWidget* shownWindow = openListWindow(*window, repository().createList()->identifier(), {axis(left, "Hubwerk")});
    QVERIFY(shownWindow);
    shownWindow->close();
    QCoreApplication::processEvents(); // the lists' queued change signals
    save(*window, "modified.kxproj");
    QVERIFY(!window->project()->isModified());

    // WHEN the lists change
    if (change == QLatin1String("list created"))
        repository().createList();
    else if (change == QLatin1String("list renamed"))
        listRow(*window, list->identifier())->setText(0, QStringLiteral("Umbenannt"));
    else if (change == QLatin1String("parameter removed"))
        list->removeEntry(QStringLiteral("A10"));
    else if (change == QLatin1String("text imported"))
        list->importText("B20\r\n");
    else if (change == QLatin1String("axes chosen"))
        QVERIFY(openListWindow(*window, list->identifier(), {axis(right, "Achse 1")}));
    else if (change == QLatin1String("list window resized")) {
        shownWindow->show();
        shownWindow->resize(shownWindow->size() + QSize(37, 23));
        shownWindow->close();
    } else
        repository().deleteList(list);

    // THEN closing the application asks first, and "Abbrechen" keeps it open and the project modified
    QCoreApplication::processEvents();
    window->setInteractive(true);
    window->show();
    bool asked = false;
    whenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Cancel)->click(); }, &asked);
    QVERIFY(!window->close());
    QVERIFY(asked && window->isVisible() && window->isWindowModified());
}

void CustomListsTest::axesLeavingTheProjectLeaveTheList_data()
{
    QTest::addColumn<int>("controller");
    QTest::addColumn<int>("axisNumber"); // 0: the whole controller
    QTest::addColumn<QStringList>("remaining");
    QTest::newRow("first controller removed: the later one moves up") << 0 << 0 << QStringList{axis(right, "Achse 2")};
    QTest::newRow("last controller removed") << 1 << 0 << QStringList{axis(left, "Hubwerk"), axis(left, "Drehtisch")};
    QTest::newRow("one axis removed") << 0 << 1 << QStringList{axis(left, "Drehtisch"), axis(right, "Achse 2")};
}

void CustomListsTest::axesLeavingTheProjectLeaveTheList()
{
    QFETCH(int, controller);
    QFETCH(int, axisNumber);
    QFETCH(QStringList, remaining);

    // GIVEN a list on three axes of two controllers, its window open
    auto window = openTwoControllers();
    QVERIFY(window);
    ParameterCustomListInformation* list = repository().createList();
    const QString identifier = list->identifier();
    QWidget* listWindow = openListWindow(*window, identifier, {axis(left, "Hubwerk"), axis(left, "Drehtisch"), axis(right, "Achse 2")});
    QVERIFY(listWindow);
    list->importText("A12[2]\r\nB20\r\n");
    QTRY_COMPARE(entries(list), QStringLiteral("A12[2] B20"));

    // WHEN a controller or an axis leaves the project
    DriveController* leaving = window->project()->host()->driveControllers().value(controller);
    QVERIFY(axisNumber ? window->project()->removeAxis(leaving, axisNumber) : window->project()->removeController(leaving));

    // THEN the open window shows the remaining axes, and the list keeps its entries
    QTRY_COMPARE(AppTest::axisCaptions(listWindow), remaining);
    QCOMPARE(entries(list), QStringLiteral("A12[2] B20"));

    // AND the same axes come back from the saved project, named by their new positions
    const QString file = save(*window, "leaving.kxproj");
    window->project()->newProject();
    QVERIFY(window->openFile(file));
    QWidget* reopened = openListWindow(*window, identifier);
    QVERIFY(reopened);
    QCOMPARE(AppTest::axisCaptions(reopened), remaining);
}

void CustomListsTest::unreadableStoredListIsReported()
{
    // GIVEN a project file with one good list and one damaged list item
    auto window = openTwoControllers();
    QVERIFY(window);
    const QString good = repository().createList()->identifier();
    const QString file = save(*window, "damaged.kxproj");
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
