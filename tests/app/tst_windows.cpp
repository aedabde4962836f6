// Windows the application opens beside the project: variable parameter lists
// travel with the project file and cope with controllers leaving it;
// "Achsen vergleichen ..." picks two sides, also from another project file,
// and its window lives no longer than they do.
#include "AppTestSupport.h"
#include "TestSupport.h"

#include "AxisCompareView.h"
#include "ChangeJournal.h"
#include "CompareAxesDialog.h"
#include "DriveController.h"
#include "FileStorageView.h"
#include "MainWindow.h"
#include "ParameterCustomListInformation.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListRepositoryView.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "Project.h"
#include "ProjectCustomLists.h"
#include "ProjectFile.h"
#include "ProjectHost.h"
#include "ProjectTreeWidget.h"
#include "System.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QUndoStack>
#include <QUrl>

#include <algorithm>

using KxTest::whenModal;

namespace {

const QString left = QStringLiteral("Prüfstand links");
const QString right = QStringLiteral("Prüfstand rechts");
const QString middle = QStringLiteral("Prüfstand Mitte");


ParameterCustomListRepository& repository()
{
    return ParameterCustomListRepository::instance();
}

// Picks a side given as "controller\naxis name", as a user reads it in the dialog.
void chooseInDialog(CompareAxesDialog* dialog, const QString& suffix, const QString& side)
{
    auto* controllers = dialog->findChild<QComboBox*>(QStringLiteral("controllerComboBox") + suffix);
    controllers->setCurrentIndex(controllers->findText(side.section(QLatin1Char('\n'), 0, 0) + QStringLiteral(" ("),
                                                       Qt::MatchStartsWith));
    auto* axes = dialog->findChild<QComboBox*>(QStringLiteral("axisComboBox") + suffix);
    axes->setCurrentIndex(axes->findText(QStringLiteral(": ") + side.section(QLatin1Char('\n'), 1), Qt::MatchEndsWith));
}

} // namespace

// Stands in for the desktop's browser.
class BrowserStandIn : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.append(url); }
};

class WindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        KxTest::initTestEnvironment();
        QVERIFY(m_types.isValid() && m_work.isValid());
        m_description = AppTest::writeTypesAndDescription(QDir(m_types.path()), QDir(m_work.path()));
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_browser, "open");
    }
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    void cleanup() { KxTest::cancelModalHandlers(); }

    void listSurvivesSaveNewProjectAndReopen()
    {
        // GIVEN a list renamed in the list view, on axes of two controllers, with whole
        // parameters and single elements, its window resized with the bottom area shown
        auto window = openWindow({right});
        QVERIFY(window);
        ParameterCustomListInformation* list = repository().createList();
        const QString identifier = list->identifier();
        const QString name = QStringLiteral("Abgleich Hubwerk & Tisch");
        AppTest::listRow(*window, identifier)->setText(0, name);
        QTRY_COMPARE(list->name(), name);
        const QStringList axes{AppTest::axisCaption(left, "Drehtisch"), AppTest::axisCaption(right, "Achse 2")};
        QWidget* listWindow = AppTest::openListWindow(*window, identifier, axes);
        QVERIFY(listWindow);
        for (const char* parameter : {"A10", "A12[3]", "A12[1]", "B21"})
            list->addEntry(QLatin1String(parameter));
        auto* addField = listWindow->findChild<QLineEdit*>(QStringLiteral("parameterAddLineEdit"));
        QTest::keyClicks(addField, QStringLiteral("c30[5]"));
        QTest::keyClick(addField, Qt::Key_Return);
        const QString expected = QStringLiteral("A10 A12[1/3] B21 C30[5]");
        QTRY_COMPARE(AppTest::entries(list), expected);
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
        QCOMPARE(AppTest::entries(repository().list(identifier)), expected);
        QWidget* reopened = AppTest::openListWindow(*window, identifier);
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

    void listChangesAskBeforeClosing_data()
    {
        QTest::addColumn<QString>("change");
        for (const char* change : {"list created", "list renamed", "parameter removed", "text imported", "axes chosen",
                                   "list window resized", "list deleted"})
            QTest::newRow(change) << QString::fromLatin1(change);
    }
    void listChangesAskBeforeClosing()
    {
        QFETCH(QString, change);

        // GIVEN a project with a list without axes and one whose window was shown, just saved
        auto window = openWindow({right});
        QVERIFY(window);
        ParameterCustomListInformation* list = repository().createList();
        list->addEntry(QStringLiteral("A10"));
        QWidget* shownWindow = AppTest::openListWindow(*window, repository().createList()->identifier(), {AppTest::axisCaption(left, "Hubwerk")});
        QVERIFY(shownWindow);
        shownWindow->close();
        QCoreApplication::processEvents(); // the lists' queued change signals
        save(*window, "modified.kxproj");
        QVERIFY(!window->project()->isModified());

        // WHEN the lists change
        if (change == QLatin1String("list created"))
            repository().createList();
        else if (change == QLatin1String("list renamed"))
            AppTest::listRow(*window, list->identifier())->setText(0, QStringLiteral("Umbenannt"));
        else if (change == QLatin1String("parameter removed"))
            list->removeEntry(QStringLiteral("A10"));
        else if (change == QLatin1String("text imported"))
            list->importText("B20\r\n");
        else if (change == QLatin1String("axes chosen"))
            QVERIFY(AppTest::openListWindow(*window, list->identifier(), {AppTest::axisCaption(right, "Achse 1")}));
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

    void axesLeavingTheProjectLeaveTheList_data()
    {
        QTest::addColumn<int>("controller");
        QTest::addColumn<int>("axisNumber"); // 0: the whole controller
        QTest::addColumn<QStringList>("remaining");
        QTest::newRow("first controller removed: the later one moves up") << 0 << 0 << QStringList{AppTest::axisCaption(right, "Achse 2")};
        QTest::newRow("last controller removed") << 1 << 0 << QStringList{AppTest::axisCaption(left, "Hubwerk"), AppTest::axisCaption(left, "Drehtisch")};
        QTest::newRow("one axis removed") << 0 << 1 << QStringList{AppTest::axisCaption(left, "Drehtisch"), AppTest::axisCaption(right, "Achse 2")};
    }
    void axesLeavingTheProjectLeaveTheList()
    {
        QFETCH(int, controller);
        QFETCH(int, axisNumber);
        QFETCH(QStringList, remaining);

        // GIVEN a list on three axes of two controllers, its window open
        auto window = openWindow({right});
        QVERIFY(window);
        ParameterCustomListInformation* list = repository().createList();
        const QString identifier = list->identifier();
        QWidget* listWindow = AppTest::openListWindow(*window, identifier, {AppTest::axisCaption(left, "Hubwerk"), AppTest::axisCaption(left, "Drehtisch"), AppTest::axisCaption(right, "Achse 2")});
        QVERIFY(listWindow);
        list->importText("A12[2]\r\nB20\r\n");
        QTRY_COMPARE(AppTest::entries(list), QStringLiteral("A12[2] B20"));

        // WHEN a controller or an axis leaves the project
        DriveController* leaving = window->project()->host()->driveControllers().value(controller);
        QVERIFY(axisNumber ? window->project()->removeAxis(leaving, axisNumber) : window->project()->removeController(leaving));

        // THEN the open window shows the remaining axes, and the list keeps its entries
        QTRY_COMPARE(AppTest::axisCaptions(listWindow), remaining);
        QCOMPARE(AppTest::entries(list), QStringLiteral("A12[2] B20"));

        // AND the same axes come back from the saved project, named by their new positions
        const QString file = save(*window, "leaving.kxproj");
        window->project()->newProject();
        QVERIFY(window->openFile(file));
        QWidget* reopened = AppTest::openListWindow(*window, identifier);
        QVERIFY(reopened);
        QCOMPARE(AppTest::axisCaptions(reopened), remaining);
    }

    void unreadableStoredListIsReportedAndKept()
    {
        // GIVEN a project file with one good list, one damaged list item and a part this application does not know
        auto window = openWindow({right});
        QVERIFY(window);
        const QString good = repository().createList()->identifier();
        const QString file = save(*window, "damaged.kxproj");
        const QByteArray damaged("[List]\nName=kaputt\n"), foreign("\x00\x01\xff", 3);
        FileStorageView stored;
        QVERIFY(ProjectFile::read(file, &stored, nullptr));
        stored.storage(ProjectCustomLists::storageName())->writeItem(QStringLiteral("List1"), damaged);
        stored.storage(QStringLiteral("Fremd"))->writeItem(QStringLiteral("Teil"), foreign);
        QVERIFY(ProjectFile::write(file, stored, nullptr));

        // WHEN it is opened and saved again
        QSignalSpy problems(window.get(), &MainWindow::problemReported);
        QVERIFY(window->openFile(file));
        QCOMPARE(repository().content().size(), 1);
        QVERIFY(repository().list(good));
        save(*window, "damaged.kxproj");

        // THEN the damaged list was reported once, naming the file, and it and the unknown part are still in the file
        QCOMPARE(problems.count(), 1);
        QVERIFY(problems.first().first().toString().contains(QStringLiteral("damaged.kxproj")));
        FileStorageView saved;
        QVERIFY(ProjectFile::read(file, &saved, nullptr));
        QCOMPARE(saved.storage(ProjectCustomLists::storageName())->readItem(QStringLiteral("List1")), damaged);
        QCOMPARE(saved.storage(QStringLiteral("Fremd"))->readItem(QStringLiteral("Teil")), foreign);
    }

    void changedListIsReportedSetAsideAndKept()
    {
        // GIVEN a saved project of three lists, in whose file a byte of the second list changed
        auto window = openWindow({right});
        QVERIFY(window);
        for (const char* entry : {"C01", "D02", "E03"})
            repository().createList()->importText(entry);
        const QString file = save(*window, "changed.kxproj");
        QByteArray bytes = KxTest::readFile(file);
        const int at = bytes.indexOf("=D02");
        QVERIFY(at > 0 && bytes.indexOf("=D02", at + 1) < 0);
        bytes[at + 3] = '7';
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(bytes) == bytes.size());
        out.close();

        // WHEN it is opened
        QSignalSpy problems(window.get(), &MainWindow::problemReported);
        QVERIFY(window->openFile(file));

        // THEN one report names project, storage and item; the other two lists are there
        QCOMPARE(problems.count(), 1);
        const QString report = problems.first().first().toString();
        QVERIFY2(report.contains(QStringLiteral("„changed.kxproj“")) && report.contains(QStringLiteral("„%1“").arg(ProjectCustomLists::storageName()))
                 && report.contains(QStringLiteral("„List1“")), qPrintable(report));
        QStringList entries;
        for (ParameterCustomListInformation* list : repository().content())
            entries << QString::fromLatin1(list->exportText());
        QCOMPARE(entries, (QStringList{QStringLiteral("C01\r\n"), QStringLiteral("E03\r\n")}));

        // AND saving keeps the changed bytes, set aside where no part reads them
        const QString copy = save(*window, "changed-copy.kxproj");
        FileStorageView saved;
        QStringList warnings;
        QVERIFY(ProjectFile::read(copy, &saved, nullptr, &warnings));
        QCOMPARE(warnings, QStringList());
        const QByteArray kept = saved.storage(ProjectFile::damagedItemsStorageName())
                                    ->readItem(ProjectCustomLists::storageName() + QStringLiteral("/List1"));
        QVERIFY(kept.contains("=D07"));
        QCOMPARE(saved.storage(ProjectCustomLists::storageName())->itemNames().size(), 2);
    }

    void dialogComparesTheChosenAxes_data()
    {
        QTest::addColumn<QString>("sideA");
        QTest::addColumn<QString>("sideB");
        QTest::addColumn<int>("verdict"); // 1 equal, 0 different, -1 cancelled
        QTest::newRow("two axes of one controller, values differ") << AppTest::axisCaption(left, "Hubwerk") << AppTest::axisCaption(left, "Drehtisch") << 0;
        QTest::newRow("axes of two controllers, defaults only") << AppTest::axisCaption(right, "Achse 2") << AppTest::axisCaption(middle, "Achse 2") << 1;
        QTest::newRow("one axis on both sides") << AppTest::axisCaption(left, "Drehtisch") << AppTest::axisCaption(left, "Drehtisch") << 1;
        QTest::newRow("cancelled") << AppTest::axisCaption(left, "Hubwerk") << AppTest::axisCaption(right, "Achse 1") << -1;
    }
    void dialogComparesTheChosenAxes()
    {
        QFETCH(QString, sideA);
        QFETCH(QString, sideB);
        QFETCH(int, verdict);

        // GIVEN the application with three controllers, the last axis of the first one shown
        auto window = openWindow({right, middle});
        QVERIFY(window);
        window->projectTree()->selectAxis(m_controllers.at(0), 3);

        // WHEN the user opens the dialog, picks the two sides and compares (or cancels)
        QStringList offered;
        bool picked = false;
        whenModal<CompareAxesDialog>([&](CompareAxesDialog* dialog) {
            for (auto side : {CompareAxesDialog::SideA, CompareAxesDialog::SideB})
                offered << dialog->controller(side)->name() + QLatin1Char('\n') + dialog->controller(side)->axisName(dialog->axisNumber(side));
            chooseInDialog(dialog, QStringLiteral("A"), sideA);
            chooseInDialog(dialog, QStringLiteral("B"), sideB);
            dialog->findChild<QDialogButtonBox*>()->button(verdict < 0 ? QDialogButtonBox::Cancel : QDialogButtonBox::Ok)->click();
        }, &picked);
        window->findChild<QAction*>(QStringLiteral("actionCompareAxes"))->trigger();

        // THEN the dialog offered the shown axis and the next one of the project
        QVERIFY(picked);
        QCOMPARE(offered, (QStringList{AppTest::axisCaption(left, "Drehtisch"), AppTest::axisCaption(right, "Achse 1")}));
        // AND one comparison window over the main window compares exactly the chosen axes
        const QList<AxisCompareView*> views = window->findChildren<AxisCompareView*>();
        QCOMPARE(views.size(), verdict < 0 ? 0 : 1);
        if (verdict < 0)
            return;
        AxisCompareView* view = views.first();
        QVERIFY(view->isWindow() && view->isVisible() && view->testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(view->axesAreEqual(), verdict == 1);
        QCOMPARE(view->findChild<QLabel*>(QStringLiteral("axisAreEqual"))->isVisible(), sideA == sideB);
        if (sideA != sideB)
            QCOMPARE(AppTest::axisCaptions(view), (QStringList{sideA, sideB}));
    }

    void comparisonClosesWhenASideLeavesTheProject_data()
    {
        QTest::addColumn<QString>("leaving");
        QTest::newRow("controller of side B removed") << QStringLiteral("controller B");
        QTest::newRow("axis of side A removed") << QStringLiteral("axis A");
        QTest::newRow("other project opened") << QStringLiteral("project");
    }
    void comparisonClosesWhenASideLeavesTheProject()
    {
        QFETCH(QString, leaving);

        // GIVEN an open comparison of an axis of the first and one of the second controller, and one within the third
        auto window = openWindow({right, middle});
        QVERIFY(window);
        QPointer<AxisCompareView> view = window->compareAxes(m_controllers.at(0), 3, m_controllers.at(1), 1);
        QPointer<AxisCompareView> unrelated = window->compareAxes(m_controllers.at(2), 1, m_controllers.at(2), 2);
        QVERIFY(view && view->isVisible() && unrelated);

        // WHEN one of its sides leaves the project
        if (leaving == QLatin1String("controller B"))
            QVERIFY(window->project()->removeController(m_controllers.at(1)));
        else if (leaving == QLatin1String("axis A"))
            QVERIFY(window->project()->removeAxis(m_controllers.at(0), 3));
        else
            window->project()->newProject();

        // THEN that comparison window goes, and comparisons of other axes stay unless their project went
        QTRY_VERIFY(view.isNull());
        if (leaving == QLatin1String("project"))
            QTRY_VERIFY(unrelated.isNull());
        else
            QVERIFY(unrelated && unrelated->isVisible());
    }

    void axisOfAnotherProjectFileIsComparedReadOnly_data()
    {
        QTest::addColumn<bool>("readable");
        QTest::newRow("project file with the axis changed") << true;
        QTest::newRow("file that is no project") << false;
    }
    void axisOfAnotherProjectFileIsComparedReadOnly()
    {
        QFETCH(bool, readable);

        // GIVEN another project file in which the Drehtisch axis has speed 2222 (1234.5 here), or a file that is none
        const QString otherFile = workFile("anderer.kxproj");
        if (readable) {
            Project other(m_types.path());
            QVERIFY(other.open(m_description).opened);
            KxTest::writeValue(other.host()->driveControllers().first(), 3, QStringLiteral("A10=2222"));
            QVERIFY(other.save(otherFile));
        } else {
            AppTest::writeFile(QDir(m_work.path()), QStringLiteral("anderer.kxproj"), "keine Projektdatei\n");
        }
        // AND a saved, interactive main project
        auto window = openWindow({right, middle});
        QVERIFY(window && window->saveFile(workFile("haupt.kxproj")));
        window->setInteractive(true);
        window->projectTree()->selectAxis(m_controllers.at(0), 3);
        const QStringList before = AppTest::snapshot(m_controllers);
        QSignalSpy problems(window.get(), &MainWindow::problemReported);

        // WHEN side B asks for another project file, gets it, and the comparison starts with its axis 3
        KxTest::FileDialogRun run;
        QStringList offeredB;
        std::weak_ptr<Project> other;
        QPointer<DriveController> otherController;
        bool compared = false;
        whenModal<CompareAxesDialog>([&](CompareAxesDialog* dialog) {
            auto* controllers = dialog->findChild<QComboBox*>(QStringLiteral("controllerComboBoxB"));
            KxTest::answerFileDialog(&run, otherFile);
            controllers->setCurrentIndex(controllers->count() - 1);
            QVERIFY(QTest::qWaitFor([&] { return run.dialogSeen; }));
            for (int i = 0; i < controllers->count(); ++i)
                offeredB << controllers->itemText(i);
            other = dialog->otherProject(CompareAxesDialog::SideB);
            otherController = dialog->controller(CompareAxesDialog::SideB);
            dialog->select(CompareAxesDialog::SideB, otherController, 3);
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        }, &compared);
        window->findChild<QAction*>(QStringLiteral("actionCompareAxes"))->trigger();

        // THEN a file that cannot be read is reported, and the dialog still compares within the project
        QVERIFY(compared);
        const QString otherEntry = left + QStringLiteral(" (anderer.kxproj)");
        QCOMPARE(offeredB.contains(otherEntry), readable);
        QVERIFY(offeredB.last().startsWith(QStringLiteral("Andere Projektdatei")));
        QCOMPARE(run.messageSeen, !readable);
        QCOMPARE(problems.count(), readable ? 0 : 1);
        QPointer<AxisCompareView> view = window->findChild<AxisCompareView*>();
        QVERIFY(view);
        if (!readable) {
            QVERIFY(run.messageText.contains(QStringLiteral("anderer.kxproj")));
            QCOMPARE(otherController.data(), m_controllers.at(1));
            return;
        }
        // AND otherwise the window compares with the other file's read-only axis, naming both sides
        QVERIFY(!other.expired() && otherController && otherController->parameterProvider()->isReadOnly());
        QVERIFY(window->project()->host()->indexOf(otherController) < 0);
        QVERIFY(window->statusBar()->currentMessage().contains(view->windowTitle()));
        QVERIFY2(window->statusBar()->currentMessage().contains(view->summaryText()) && !view->summaryText().isEmpty(),
                 qPrintable(window->statusBar()->currentMessage()));
        // AND side B's column names the file it comes from
        QVERIFY(view->findChild<QTreeWidget*>(QStringLiteral("parameterTreeWidget"))->headerItem()->text(2)
                    .endsWith(QStringLiteral("\nanderer.kxproj")));
        QVERIFY2(view->windowTitle().contains(QStringLiteral("A: ") + left) && view->windowTitle().contains(QStringLiteral("B: ") + otherEntry),
                 qPrintable(view->windowTitle()));
        QVERIFY(!view->axesAreEqual());
        const QList<QTreeWidgetItem*> rows = KxTest::treeRows(view->findChild<QTreeWidget*>(QStringLiteral("parameterTreeWidget")));
        QVERIFY(std::any_of(rows.begin(), rows.end(), [](QTreeWidgetItem* row) {
            return row->text(1).contains(QStringLiteral("1234")) && row->text(2).contains(QStringLiteral("2222"));
        }));
        // AND the open project is neither changed nor modified
        QCOMPARE(AppTest::snapshot(window->project()->host()->driveControllers()), before);
        QVERIFY(!window->isWindowModified());

        // WHEN the comparison window closes THEN the other project goes with it
        view->close();
        QTRY_VERIFY(view.isNull() && other.expired() && otherController.isNull());
    }

    void writtenReportCanBeOpenedInTheBrowser_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("report written") << workFile("vergleich.html");
        QTest::newRow("file dialog cancelled") << QString();
    }
    void writtenReportCanBeOpenedInTheBrowser()
    {
        QFETCH(QString, path);
        m_browser.opened.clear();

        // GIVEN a comparison window of an interactive application
        auto window = openWindow({right, middle});
        QVERIFY(window);
        window->setInteractive(true);
        AxisCompareView* view = window->compareAxes(m_controllers.at(0), 1, m_controllers.at(0), 3);
        QVERIFY(view);

        // WHEN the report is exported and the offer to open it is taken
        bool asked = false, offered = false;
        whenModal<QFileDialog>([&](QFileDialog* dialog) {
            if (path.isEmpty())
                return;
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
            QMetaObject::invokeMethod(dialog, "accept");
        }, &asked);
        whenModal<QMessageBox>([](QMessageBox* box) {
            for (QAbstractButton* button : box->buttons()) {
                if (button->text().remove(QLatin1Char('&')) == QStringLiteral("Im Browser öffnen"))
                    button->click();
            }
        }, &offered);
        view->findChild<QPushButton*>(QStringLiteral("exportToHtml"))->click();

        // THEN only a report that was written is offered, and the browser gets that file
        QVERIFY(asked);
        QCOMPARE(offered, !path.isEmpty());
        QCOMPARE(QFile::exists(path), !path.isEmpty());
        QCOMPARE(m_browser.opened, path.isEmpty() ? QList<QUrl>() : QList<QUrl>{QUrl::fromLocalFile(path)});
        QCOMPARE(window->statusBar()->currentMessage().contains(QStringLiteral("vergleich.html")), !path.isEmpty());
    }

    void levelChangesRefreshEveryListOnce()
    {
        // GIVEN a list window of A10 (level 0, changed on Drehtisch) and D40 (level 1, changed on
        // Hubwerk) at access level 0, where no change is marked, and a second controller
        auto window = openWindow({right});
        QVERIFY(window);
        auto* levels = window->findChild<QComboBox*>(QStringLiteral("accessLevelComboBox"));
        // As the user chooses: by keys on the box.
        auto choose = [levels](int level) {
            const int target = levels->findData(level);
            while (levels->currentIndex() != target)
                QTest::keyClick(levels, levels->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
        };
        choose(0);
        ParameterCustomListInformation* list = repository().createList();
        list->addEntry(QStringLiteral("A10"));
        list->addEntry(QStringLiteral("D40"));
        QWidget* listWindow = AppTest::openListWindow(*window, list->identifier(), {AppTest::axisCaption(left, "Hubwerk"), AppTest::axisCaption(left, "Drehtisch")});
        QVERIFY(listWindow);
        QVERIFY(m_controllers.at(0)->parameterProvider()->parameterSetup(ParameterCoordinate(QStringLiteral("D40")))
                    ->setValueText(1, 0, QStringLiteral("75")));
        auto* tree = listWindow->findChild<QTreeWidget*>(QStringLiteral("parameterTreeWidget"));
        QVERIFY(tree);
        const QImage changed = QIcon(QStringLiteral(":/Resources/changed.png")).pixmap(16, 16).toImage();
        auto marked = [&](const char* coordinate, int column) {
            for (QTreeWidgetItem* row : KxTest::treeRows(tree)) {
                if (row->text(0).startsWith(QLatin1String(coordinate)))
                    return row->icon(column).pixmap(16, 16).toImage() == changed;
            }
            return false;
        };
        QTRY_VERIFY(!marked("A10", 2) && !marked("D40", 1));
        // Who began and ended an access-level update, in order.
        QStringList updates;
        for (DriveController* controller : qAsConst(m_controllers)) {
            ParameterProvider* provider = controller->parameterProvider();
            connect(provider, &ParameterProvider::accessLevelUpdateStarted, this, [&updates] { updates << QStringLiteral("begin"); });
            connect(provider, &ParameterProvider::accessLevelUpdateFinished, this, [&updates] { updates << QStringLiteral("end"); });
        }

        // WHEN the user chooses level 1, then 2, then 1 again
        const QList<QPair<int, QPair<bool, bool>>> steps{{1, {true, false}}, {2, {true, true}}, {1, {true, false}}};
        for (const auto& step : steps) {
            updates.clear();
            choose(step.first);
            // THEN every provider runs one access-level update around the change, all begun before any ends
            QStringList expected;
            for (int i = 0; i < m_controllers.size(); ++i)
                expected.prepend(QStringLiteral("begin")), expected.append(QStringLiteral("end"));
            QCOMPARE(updates, expected);
            QCOMPARE(System::instance().currentLevel(), unsigned(step.first));
            // AND the list's marks follow the level at once
            QCOMPARE(marked("A10", 2), step.second.first);
            QCOMPARE(marked("D40", 1), step.second.second);
        }
        // AND a level set from elsewhere is shown by the box without running another update
        updates.clear();
        System::instance().setCurrentLevel(3);
        QCOMPARE(levels->currentData().toInt(), 3);
        QVERIFY(updates.isEmpty());
        System::instance().setCurrentLevel(0);
    }

    void copiesAreJournalledAndUndoneAsOneStep()
    {
        // GIVEN a list window of A10 on the three axes of two controllers; A10 is 1234.5 on
        // Drehtisch and the default 100 elsewhere
        auto window = openWindow({right});
        QVERIFY(window);
        ChangeJournal* journal = window->changeJournal();
        QUndoStack* undo = window->undoStack();
        const int entriesBefore = journal->entries().size();
        ParameterCustomListInformation* list = repository().createList();
        list->addEntry(QStringLiteral("A10"));
        QWidget* listWindow = AppTest::openListWindow(*window, list->identifier(),
                                             {AppTest::axisCaption(left, "Hubwerk"), AppTest::axisCaption(left, "Drehtisch"), AppTest::axisCaption(right, "Achse 1")});
        QVERIFY(listWindow);
        KxTest::deliver();
        const int listSteps = undo->count();   // making the list
        DriveController* other = m_controllers.at(1);
        auto a10 = [](DriveController* controller, int number) {
            return controller->parameterProvider()->parameterSetup(ParameterCoordinate(QStringLiteral("A10")))->valueText(number, 0, false);
        };
        QCOMPARE(a10(m_controllers.at(0), 3), QStringLiteral("1234.5"));
        const QString before = a10(other, 1);
        const QString hubwerkBefore = a10(m_controllers.at(0), 1);

        // WHEN the user copies Drehtisch's value to every axis with Ctrl+0
        auto* tree = listWindow->findChild<QTreeWidget*>(QStringLiteral("parameterTreeWidget"));
        listWindow->activateWindow();
        tree->setFocus();
        tree->setCurrentItem(tree->topLevelItem(0), 2);
        QTest::keyClick(tree, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(a10(m_controllers.at(0), 1), QStringLiteral("1234.5"));
        QCOMPARE(a10(other, 1), QStringLiteral("1234.5"));

        // THEN the journal holds both writes, from the list, written, with old and new value
        QCOMPARE(journal->entries().size(), entriesBefore + 2);
        for (int i = entriesBefore; i < journal->entries().size(); ++i) {
            const ChangeJournalEntry& entry = journal->entries().at(i);
            QCOMPARE(entry.address, QStringLiteral("A10"));
            QCOMPARE(entry.outcome, ChangeJournalEntry::Written);
            QCOMPARE(entry.source, QStringLiteral("Liste „%1“").arg(list->name()));
            QVERIFY(entry.newValue.startsWith(QStringLiteral("1234.5")));
            QVERIFY(entry.oldValue != entry.newValue);
        }
        // AND the two writes are one step, named after what it did
        QTRY_COMPARE(undo->count(), listSteps + 1);
        QCOMPARE(undo->undoText(), QStringLiteral("A10 auf 2 Achsen"));
        QCOMPARE(window->findChild<QAction*>(QStringLiteral("actionUndo"))->text(), QStringLiteral("&Rückgängig: A10 auf 2 Achsen"));

        // WHEN the step is undone with Ctrl+Z in the list window (of a shown application)
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        listWindow->raise();
        QApplication::setActiveWindow(listWindow);
        QTest::keyClick(tree, Qt::Key_Z, Qt::ControlModifier);
        // THEN both values are back, and the journal says it was an undo
        QCOMPARE(a10(m_controllers.at(0), 1), hubwerkBefore);
        QCOMPARE(a10(other, 1), before);
        QCOMPARE(journal->entries().last().source, QStringLiteral("Rückgängig"));
        // AND redo writes them again
        undo->redo();
        QCOMPARE(a10(other, 1), QStringLiteral("1234.5"));

        // WHEN the drive changed one of the values since, and the step is undone
        QCOMPARE(undo->count(), listSteps + 1);
        other->setOnline(true);
        QTRY_VERIFY(other->isOnline());
        QVERIFY(other->parameterProvider()->simulateDriveValue(ParameterAddress(ParameterCoordinate(QStringLiteral("A10")), 0, 1),
                                                                QStringLiteral("888")));
        other->parameterProvider()->parameterNeedsOnlineConsistenceOnce(ParameterAddress(ParameterCoordinate(QStringLiteral("A10")), 0, 1));
        const QString changedByDrive = a10(other, 1);
        QVERIFY(changedByDrive.startsWith(QStringLiteral("888")));
        QCOMPARE(undo->count(), listSteps + 1);
        undo->undo();
        // THEN that value is left alone and the user is told, the other is undone
        QCOMPARE(a10(other, 1), changedByDrive);
        QCOMPARE(a10(m_controllers.at(0), 1), hubwerkBefore);
        QVERIFY2(window->statusBar()->currentMessage().contains(QStringLiteral("Seither geändert")), qPrintable(window->statusBar()->currentMessage()));

        // WHEN a write is refused by the checks THEN it is journalled as refused and is no step
        const int steps = undo->count();
        QVERIFY(!other->parameterProvider()->parameterSetup(ParameterCoordinate(QStringLiteral("A10")))->setValueText(1, 0, QStringLiteral("99999")));
        QCOMPARE(journal->entries().last().outcome, ChangeJournalEntry::Refused);
        QVERIFY(!journal->entries().last().reason.isEmpty());
        QCoreApplication::processEvents();
        QCOMPARE(undo->count(), steps);
    }

private:
    // The test description (left: Hubwerk = 1 and Drehtisch = 3, values changed
    // on Drehtisch) and controllers of the same type with two axes and defaults only.
    std::unique_ptr<MainWindow> openWindow(const QStringList& more)
    {
        auto window = AppTest::openWindow(m_types.path(), m_description, more);
        if (window)
            m_controllers = window->project()->host()->driveControllers();
        return window;
    }
    QString workFile(const char* name) const { return QDir(m_work.path()).filePath(QLatin1String(name)); }
    QString save(MainWindow& window, const char* name)
    {
        if (!window.saveFile(workFile(name)))
            QTest::qFail(qPrintable(QStringLiteral("cannot save ") + workFile(name)), __FILE__, __LINE__);
        return workFile(name);
    }

    QTemporaryDir m_types;
    QTemporaryDir m_work;
    QString m_description;
    BrowserStandIn m_browser;
    QList<DriveController*> m_controllers; // in project order
};

QTEST_MAIN(WindowsTest)
#include "tst_windows.moc"
