#include "ParameterCustomListHeaderView.h"
#include "ParameterCustomListRepositoryView.h"
#include "ParameterCustomListWidget.h"

#include "ParameterCustomList.h"
#include "ParameterCustomListEntry.h"
#include "ParameterCustomListRepository.h"
#include "ListTestSupport.h"
#include "ListWindows.h"

#include "DefaultPathSetting.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "LanguageManager.h"
#include "LineEdit.h"
#include "ParameterCustomListHost.h"
#include "ParameterView.h"
#include "System.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QScopeGuard>
#include <QAction>
#include <QCompleter>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMimeData>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <memory>

using namespace KxTest;
using AxisList = QList<QPointer<DriveControllerAxis>>;

namespace {

template<typename T>
T* child(QWidget* window, const char* name) { return window->findChild<T*>(QLatin1String(name)); }

// The widget Qt hands a drop at `position` to: the one under it that accepts
// drops, or its nearest parent that does.
QWidget* dropReceiver(QWidget* window, const QPoint& position)
{
    QWidget* widget = window->childAt(position);
    while (widget && !widget->acceptDrops())
        widget = widget->parentWidget();
    return widget;
}

// Enter, move and drop at `position` of `target`; whether the drop was taken.
bool dragAndDrop(QWidget* target, const QPoint& position, const QMimeData* data)
{
    QDragEnterEvent enter(position, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDragMoveEvent move(position, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &move);
    if (!move.isAccepted())
        return false;
    QDropEvent drop(position, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

} // namespace

// Finding and adding parameters in a list window, and what the windows show
// and say: on the "lift" project ("Achsmodul": "Hubachse", "Fahrachse" with
// A10 Maximaldrehzahl, A12 Sollwertspeicher, C05 Bremszeit; "Pumpe":
// "Pumpenantrieb" with C05 Auslaufzeit), under a main window with a status bar.
class TestFinding : public QObject
{
    Q_OBJECT

    std::unique_ptr<QMainWindow> m_mainWindow;
    std::unique_ptr<Host> m_host;
    std::unique_ptr<QTemporaryDir> m_dir;

    ParameterCustomListRepository& repository() const { return ParameterCustomListRepository::instance(); }

    ParameterCustomList* createList(const QString& name, const AxisList& axes) { return createNamedList(name, axes); }
    ParameterCustomListWidget* open(ParameterCustomList* list, bool show = true) { return openListWindow(list, show); }
    QAction* menuAction(ParameterCustomListWidget* window, const QString& text) const { return listMenuAction(window, text); }

    QString statusMessage() const { return m_mainWindow->statusBar()->currentMessage(); }

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }

    void init()
    {
        m_mainWindow = std::make_unique<QMainWindow>();
        m_mainWindow->resize(800, 600);
        System::instance().setMainWindow(m_mainWindow.get());
        m_host = std::make_unique<Host>(project("lift"));
        repository().initialize(m_host.get());
        m_dir = std::make_unique<QTemporaryDir>();
    }

    void cleanup()
    {
        cancelModalHandlers();
        LanguageManager::instance()->setActiveLanguage(LanguageManager::German);
        repository().clear();
        QTRY_VERIFY(m_mainWindow->findChildren<ParameterCustomListWidget*>().isEmpty());
        m_host.reset();
        m_mainWindow.reset();
        m_dir.reset();
    }

    void completionOffersTheParametersOfTheListsAxes()
    {
        ParameterCustomList* list = createList(QStringLiteral("Hub"), {m_host->axis(0, 1), m_host->axis(1, 1)});
        ParameterCustomListWidget* window = open(list);
        QCompleter* completer = child<LineEdit>(window, "parameterAddLineEdit")->completer();
        QVERIFY(completer);
        auto entries = [completer]() {
            QStringList texts;
            for (int row = 0; row < completer->model()->rowCount(); ++row)
                texts << completer->model()->index(row, 0).data().toString();
            return texts;
        };
        // THEN each parameter of the axes is offered once, with its name, in coordinate order
        QCOMPARE(entries(), (QStringList{"A10 Maximaldrehzahl", "A12 Sollwertspeicher", "C05 Bremszeit"}));
        // WHEN the list changes its axes THEN the offer follows
        list->setAxes({m_host->axis(1, 1)});
        QTRY_COMPARE(entries(), QStringList{"C05 Auslaufzeit"});
        // AND names come in the active language, from a catalogue that has them
        Devices gantry(project("gantry"));
        list->setAxes({gantry.axis(0, 1)});
        QTRY_VERIFY(entries().contains(QStringLiteral("A12 Stromgrenzen")));
        LanguageManager::instance()->setActiveLanguage(LanguageManager::English);
        QTRY_VERIFY(entries().contains(QStringLiteral("A12 Current limits")));
        list->setAxes({});
        QTRY_VERIFY(entries().isEmpty());
    }

    void choosingByNameAddsTheParameter()
    {
        ParameterCustomList* list = createList(QStringLiteral("Hub"), {m_host->axis(0, 1), m_host->axis(1, 1)});
        ParameterCustomListWidget* window = open(list);
        auto* edit = child<LineEdit>(window, "parameterAddLineEdit");
        auto* notice = child<QLabel>(window, "addNoticeLabel");
        window->activateWindow();
        edit->setFocus();
        QAbstractItemView* popup = edit->completer()->popup();

        // WHEN the user types part of a name, in any case, and picks the suggestion
        QTest::keyClicks(edit, QStringLiteral("SPEICH"));
        QTRY_VERIFY(popup->isVisible());
        QCOMPARE(edit->completer()->completionCount(), 1);
        QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Return);
        // THEN that parameter is added, once, and the field shows what was chosen
        QCOMPARE(describe(*list), QStringLiteral("A12"));
        QCOMPARE(edit->text(), QStringLiteral("A12 Sollwertspeicher"));
        QVERIFY(notice->isHidden());

        // WHEN a name fits one parameter only and the user just presses Return THEN it is added too
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("bremsz"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(describe(*list), QStringLiteral("A12 C05"));

        // WHEN the text fits several parameters THEN nothing is added and the window says why
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("a1"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(describe(*list), QStringLiteral("A12 C05"));
        QVERIFY(notice->isVisible());
        QVERIFY(notice->text().contains(QLatin1String("\"a1\"")));

        // WHEN the user types on THEN the notice goes
        QTest::keyClick(edit, Qt::Key_0);
        QVERIFY(notice->isHidden());
    }

    void typedCoordinatesAreAddedKnownOrNot_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("entries");
        QTest::addColumn<bool>("notice");
        QTest::newRow("known, lower case") << "c05" << "C05" << false;
        QTest::newRow("an element of a known parameter") << "a12[3]" << "A12[3]" << false;
        QTest::newRow("known to no axis: added, with a notice") << "Z99" << "Z99" << true;
        QTest::newRow("neither coordinate nor name: nothing") << "A1234" << "" << true;
    }

    void typedCoordinatesAreAddedKnownOrNot()
    {
        QFETCH(QString, typed);
        QFETCH(QString, entries);
        QFETCH(bool, notice);
        ParameterCustomList* list = createList(QStringLiteral("Hub"), {m_host->axis(0, 1)});
        ParameterCustomListWidget* window = open(list);
        auto* edit = child<LineEdit>(window, "parameterAddLineEdit");
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(describe(*list), entries);
        auto* label = child<QLabel>(window, "addNoticeLabel");
        QCOMPARE(label->isVisible(), notice);
        if (notice && !entries.isEmpty())
            QVERIFY(label->text().contains(entries));
    }

    void draggedRowsJoinAListWindow()
    {
        ParameterCustomList* list = createList(QStringLiteral("Hub"), {m_host->axis(0, 1)});
        ParameterCustomListWidget* window = open(list);
        ParameterView view;
        view.setAxis(m_host->axis(0, 1));
        QTreeWidget* source = view.treeWidget();
        auto dragOf = [source](QTreeWidgetItem* item) {
            QAbstractItemModel* model = source->model();
            const QModelIndex index = item->parent()
                ? model->index(item->parent()->indexOfChild(item), 0,
                               model->index(source->indexOfTopLevelItem(item->parent()), 0))
                : model->index(source->indexOfTopLevelItem(item), 0);
            return std::unique_ptr<QMimeData>(model->mimeData({index}));
        };

        // GIVEN a point over the list's rows THEN the window takes what is dropped there
        auto* tree = child<QTreeWidget>(window, "parameterTreeWidget");
        const QPoint overRows = tree->viewport()->mapTo(window, tree->viewport()->rect().center());
        QCOMPARE(dropReceiver(window, overRows), window);

        // WHEN a whole parameter and a single element are dropped
        QVERIFY(dragAndDrop(window, overRows, dragOf(view.item(ParameterCoordinate(QStringLiteral("A10")))).get()));
        QVERIFY(dragAndDrop(window, overRows, dragOf(view.item(ParameterCoordinate(QStringLiteral("A12")), 3)).get()));
        // THEN both are in the list, the element alone
        QCOMPARE(describe(*list), QStringLiteral("A10 A12[3]"));
        QTRY_COMPARE(tree->topLevelItemCount(), 2);

        // WHEN plain text is dragged in THEN the window does not take it
        QMimeData text;
        text.setText(QStringLiteral("C05"));
        QVERIFY(!dragAndDrop(window, overRows, &text));
        QCOMPARE(describe(*list), QStringLiteral("A10 A12[3]"));
    }

    void draggedRowsJoinAListOfTheRepositoryView()
    {
        ParameterCustomList* list = createList(QStringLiteral("Wartung"), {m_host->axis(0, 1)});
        ParameterCustomListRepositoryView& repositoryView = ParameterCustomListRepositoryView::instance();
        repositoryView.show();
        QVERIFY(QTest::qWaitForWindowExposed(&repositoryView));
        auto* rows = repositoryView.findChild<QTreeWidget*>();
        QTreeWidgetItem* listRow = nullptr;
        QTreeWidgetItem* placeholder = nullptr;
        for (int i = 0; i < rows->topLevelItemCount(); ++i) {
            QTreeWidgetItem* item = rows->topLevelItem(i);
            (item->data(0, Qt::UserRole).toString() == list->identifier() ? listRow : placeholder) = item;
        }
        QVERIFY(listRow && placeholder);
        QMimeData data;
        data.setData(ParameterCustomListHost::parameterMimeType(), "C05\r\nA12[2]\r\n");

        // WHEN parameters are dropped on "<neue Liste>" THEN nothing happens
        QVERIFY(!dragAndDrop(rows->viewport(), rows->visualItemRect(placeholder).center(), &data));
        // WHEN they are dropped on the list's row THEN the list has them
        QVERIFY(dragAndDrop(rows->viewport(), rows->visualItemRect(listRow).center(), &data));
        QCOMPARE(describe(*list), QStringLiteral("A12[2] C05"));
    }

    void deviceSelectionFitsNamesAndKeepsTheUsersSize()
    {
        m_host->controller(0)->setName(QStringLiteral("Achsmodul Hubwerk Halle 3 Nordseite, Baujahr 2019"));
        ParameterCustomList* list = createList(QStringLiteral("Achsen"), {m_host->axis(0, 1)});
        ParameterCustomListWidget* window = open(list);
        // WHEN the selection opens THEN every name fits without scrolling sideways
        const QSize enlargement(97, 53);
        QSize given;
        bool seen = false;
        whenModal<QDialog>([&given, enlargement](QDialog* dialog) {
            auto* tree = dialog->findChild<QTreeWidget*>(QStringLiteral("deviceTree"));
            QVERIFY(tree);
            tree->resizeColumnToContents(0);
            QVERIFY2(tree->columnWidth(0) <= tree->viewport()->width(),
                     qPrintable(QStringLiteral("%1 > %2").arg(tree->columnWidth(0)).arg(tree->viewport()->width())));
            // AND the user makes it larger before closing it
            given = dialog->size() + enlargement;
            dialog->resize(given);
            dialog->reject();
        }, &seen);
        menuAction(window, QStringLiteral("Antriebsregler auswählen ..."))->trigger();
        QVERIFY(seen);
        // WHEN it opens again THEN it has the size the user gave it
        QSize reopened;
        whenModal<QDialog>([&reopened](QDialog* dialog) {
            reopened = dialog->size();
            dialog->reject();
        }, &seen);
        menuAction(window, QStringLiteral("Antriebsregler auswählen ..."))->trigger();
        QVERIFY(seen);
        QCOMPARE(reopened, given);
    }

    void columnsFitUntilTheUserSizesThem()
    {
        m_host->controller(0)->setName(QStringLiteral("Achsmodul Hubwerk Halle 3"));
        ParameterCustomList* list = createList(QStringLiteral("Breiten"), {m_host->axis(0, 1), m_host->axis(0, 2)});
        ParameterCustomListWidget* window = open(list);
        auto* tree = child<QTreeWidget>(window, "parameterTreeWidget");
        // GIVEN parameters added to the list after its window showed
        list->addEntry(QStringLiteral("A10"));
        list->addEntry(QStringLiteral("A12"));
        auto* header = qobject_cast<ParameterCustomListHeaderView*>(tree->header());
        QVERIFY(header);
        // Wide enough for the caption and for the text of every row.
        auto fits = [tree, header](int column) {
            int content = header->sectionSizeHint(column);
            for (int row = 0; row < tree->topLevelItemCount(); ++row)
                content = qMax(content, tree->fontMetrics().horizontalAdvance(tree->topLevelItem(row)->text(column)));
            return header->sectionSize(column) >= content;
        };
        // THEN every column is as wide as its content and its caption
        QTRY_COMPARE(tree->topLevelItemCount(), 2);
        QTRY_VERIFY(fits(0) && fits(1) && fits(2));
        QVERIFY(!header->displayedCaption(1).contains(QChar(0x2026)));

        // WHEN the user narrows an axis column THEN its caption is elided in the middle, line by line
        header->resizeSection(1, 120);
        const QStringList lines = header->displayedCaption(1).split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines.at(0).startsWith(QLatin1Char('A')) && lines.at(0).endsWith(QLatin1Char('3'))
                     && lines.at(0).contains(QChar(0x2026)), qPrintable(lines.at(0)));
        // AND a language switch leaves the user's width alone
        LanguageManager::instance()->setActiveLanguage(LanguageManager::English);
        QTest::qWait(20);
        QCOMPARE(header->sectionSize(1), 120);
        // AND so does the next window of the same list
        window->close();
        window = open(list);
        tree = child<QTreeWidget>(window, "parameterTreeWidget");
        QTest::qWait(20);
        QCOMPARE(tree->header()->sectionSize(1), 120);
    }

    void lightMarkingColoursGetAnOutline()
    {
        const QColor headerBackground = QApplication::palette().color(QPalette::Button);
        QVERIFY(ParameterCustomListHeaderView::outlineFor(Qt::white, headerBackground).isValid());
        QVERIFY(!ParameterCustomListHeaderView::outlineFor(QColor(0x30, 0x60, 0xc0), headerBackground).isValid());
        // WHEN an axis is marked white THEN its bar in the header has a darker rim
        m_host->controller(0)->setMarkingColor(1, Qt::white);
        ParameterCustomList* list = createList(QStringLiteral("Weiß"), {m_host->axis(0, 1)});
        ParameterCustomListWidget* window = open(list);
        QHeaderView* header = child<QTreeWidget>(window, "parameterTreeWidget")->header();
        const QImage image = header->grab().toImage();
        const qreal ratio = image.devicePixelRatio();
        const int left = header->sectionViewportPosition(1);
        const int middle = int((left + header->sectionSize(1) / 2) * ratio);
        int darkest = 255;
        for (int y = int((header->height() - 4) * ratio); y < image.height(); ++y)
            darkest = qMin(darkest, QColor(image.pixel(middle, y)).lightness());
        QVERIFY2(darkest < headerBackground.lightness() - 60, qPrintable(QString::number(darkest)));
    }

    void exportImportAndRereadSayWhatTheyDid()
    {
        // GIVEN no remembered folder (its directory is gone) and a documents folder yet to be made
        const QByteArray home = qgetenv("HOME");
        qputenv("HOME", m_dir->filePath(QStringLiteral("home")).toLocal8Bit());
        auto restoreHome = qScopeGuard([home]() { qputenv("HOME", home); });
        std::unique_ptr<DefaultPathSetting>(DefaultPathSetting::create(DefaultPathSetting::ParameterSelectionFiles))
            ->rememberPath(m_dir->filePath(QStringLiteral("weg/alt.txt")));
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QVERIFY(documents.startsWith(m_dir->path()));

        // (a name that looks like a placeholder must come out as it is)
        ParameterCustomList* list = createList(QStringLiteral("Bericht %2"), {m_host->axis(0, 1)});
        list->addEntry(QStringLiteral("A10"));
        list->addEntry(QStringLiteral("C05"));
        ParameterCustomListWidget* window = open(list);
        const QString file = m_dir->filePath(QStringLiteral("bericht.txt"));
        QString proposed;
        auto pick = [&proposed, file](QFileDialog* dialog) {
            proposed = dialog->directory().absolutePath();
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(file);
            QMetaObject::invokeMethod(dialog, "accept");
        };

        // WHEN the list is exported THEN the dialog opens in the documents folder and the status bar names the file
        whenModal<QFileDialog>(pick);
        menuAction(window, QStringLiteral("Exportieren ..."))->trigger();
        QCOMPARE(proposed, QFileInfo(documents).absoluteFilePath());
        QVERIFY2(statusMessage().contains(QDir::toNativeSeparators(file)) && statusMessage().contains(list->name()),
                 qPrintable(statusMessage()));

        // WHEN it is imported into an emptied list THEN the status bar says so
        list->clearEntries();
        m_mainWindow->statusBar()->clearMessage();
        whenModal<QFileDialog>(pick);
        menuAction(window, QStringLiteral("Importieren ..."))->trigger();
        QCOMPARE(describe(*list), QStringLiteral("A10 C05"));
        QVERIFY2(statusMessage().contains(QDir::toNativeSeparators(file)) && statusMessage().contains(list->name()),
                 qPrintable(statusMessage()));

        // WHEN R is pressed on a value of an offline axis, then of an online one THEN each says what it read
        auto* tree = child<QTreeWidget>(window, "parameterTreeWidget");
        QTRY_COMPARE(tree->topLevelItemCount(), 2);
        tree->setCurrentItem(tree->topLevelItem(0), 1);
        QTest::keyClick(tree, Qt::Key_R);
        const QString offline = statusMessage();
        QVERIFY2(offline.contains(QLatin1String("A10")) && offline.contains(QLatin1String("Hubachse")), qPrintable(offline));
        m_host->controller(0)->setOnline(true);
        QTest::keyClick(tree, Qt::Key_R);
        QVERIFY(!statusMessage().isEmpty());
        QVERIFY(statusMessage() != offline);
    }
};

QTEST_MAIN(TestFinding)
#include "tst_finding.moc"
