// A long life of one application window in random steps: lists are made,
// renamed, filled, imported and deleted, controllers and axes come and go,
// list windows, comparisons and editors open and close, values, language,
// access level and online state change, and the project is saved and
// loaded. After every step the project saved, loaded and saved again must
// give the same bytes.
//
// Reproducible from its seed: KX_STRESS_STEPS and KX_STRESS_SEED choose the
// run (scripts/stress sets them); a failure names the seed and the step.
#include "AppTestSupport.h"
#include "TestSupport.h"

#include "AxisCompareView.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "FileStorageView.h"
#include "LanguageManager.h"
#include "MainWindow.h"
#include "ParameterCustomListInformation.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListRepositoryView.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "Project.h"
#include "ProjectFile.h"
#include "ProjectHost.h"
#include "System.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <QMap>

#include <functional>

namespace {

ParameterCustomListRepository& repository()
{
    return ParameterCustomListRepository::instance();
}

int environmentNumber(const char* name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

// Every item of a stored tree, one line each, in storage order.
QStringList storedLines(const FileStorageView& view, const QString& path = QString())
{
    QStringList lines;
    for (const QString& name : view.itemNames())
        lines << path + QLatin1Char('/') + name + QLatin1Char('=') + QString::fromUtf8(view.readItem(name));
    for (const QString& name : view.storageNames())
        lines += storedLines(*view.subStorage(name), path + QLatin1Char('/') + name);
    return lines;
}

class Life
{
public:
    Life(MainWindow* window, const QString& directory, const QString& description, quint32 seed)
        : m_window(window)
        , m_directory(directory)
        , m_description(description)
        , m_random(seed)
    {
    }

    // One random step; its name for the failure message.
    QString step()
    {
        struct Action
        {
            const char* name;
            int weight;
            std::function<void()> run;
        };
        const QList<Action> actions{
            {"create list", 6, [this] { createList(); }},
            {"rename list", 3, [this] { renameList(); }},
            {"delete list", 2, [this] { deleteList(); }},
            {"import into list", 4, [this] { importIntoList(); }},
            {"add or remove entry", 6, [this] { changeEntry(); }},
            {"add controller", 3, [this] { addController(); }},
            {"remove controller", 1, [this] { removeController(); }},
            {"add axis", 2, [this] { addAxis(); }},
            {"remove axis", 1, [this] { removeAxis(); }},
            {"open list window", 5, [this] { openListWindow(); }},
            {"close list window", 2, [this] { closeListWindow(); }},
            {"open comparison", 3, [this] { openComparison(); }},
            {"close comparison", 2, [this] { closeComparison(); }},
            {"edit in place", 4, [this] { editInPlace(); }},
            {"change value", 6, [this] { changeValue(); }},
            {"switch language", 2, [this] { LanguageManager::instance()->setActiveLanguage(int(m_random.bounded(2))); }},
            {"change access level", 2, [this] { System::instance().setCurrentLevel(m_random.bounded(4u)); }},
            {"go online or offline", 3, [this] { toggleOnline(); }},
            {"new project", 1, [this] { m_window->project()->newProject(); }},
            {"open the description", 1, [this] { m_window->openFile(m_description); }},
        };
        int total = 0;
        for (const Action& action : actions)
            total += action.weight;
        int pick = int(m_random.bounded(total));
        for (const Action& action : actions) {
            pick -= action.weight;
            if (pick < 0) {
                action.run();
                KxTest::deliver();
                return QString::fromLatin1(action.name);
            }
        }
        return QString();
    }

    // Saves, loads what was saved and saves again; the two saves must hold
    // the same bytes. Windows open before come back, as a user would reopen
    // them.
    QString roundTrip()
    {
        const QString first = m_directory + QStringLiteral("/first.kxproj");
        const QString second = m_directory + QStringLiteral("/second.kxproj");
        QStringList openLists;
        for (QWidget* each : listWindows())
            openLists << each->property("kxStressList").toString();
        if (!m_window->saveFile(first))
            return QStringLiteral("first save failed");
        FileStorageView saved;
        QString error;
        if (!ProjectFile::read(first, &saved, &error))
            return QStringLiteral("first save does not read: ") + error;
        if (!m_window->openFile(first))
            return QStringLiteral("saved project does not open");
        KxTest::deliver();
        if (!m_window->saveFile(second))
            return QStringLiteral("second save failed");
        FileStorageView again;
        if (!ProjectFile::read(second, &again, &error))
            return QStringLiteral("second save does not read: ") + error;
        const QStringList before = storedLines(saved);
        const QStringList after = storedLines(again);
        if (before != after) {
            for (int i = 0; i < qMax(before.size(), after.size()); ++i) {
                if (before.value(i) != after.value(i))
                    return QStringLiteral("saves differ at line %1 (%4 lines, then %5):\n  %2\n  %3").arg(i).arg(before.value(i), after.value(i)).arg(before.size()).arg(after.size());
            }
        }
        for (const QString& identifier : openLists)
            openListWindow(identifier);
        return QString();
    }

private:
    template<typename T>
    T pickFrom(const QList<T>& items)
    {
        return items.isEmpty() ? T() : items.at(int(m_random.bounded(items.size())));
    }

    QList<DriveController*> controllers() const { return m_window->project()->host()->driveControllers(); }

    QList<QWidget*> listWindows() const
    {
        QList<QWidget*> windows;
        for (QWidget* each : m_window->findChildren<QWidget*>(QStringLiteral("ParameterCustomListWidget"))) {
            if (each->isVisible() && !each->property("kxStressList").toString().isEmpty())
                windows << each;
        }
        return windows;
    }

    QString someCoordinate()
    {
        static const QStringList texts{QStringLiteral("A01"), QStringLiteral("A05"), QStringLiteral("A10"),
                                       QStringLiteral("A11"), QStringLiteral("A12"), QStringLiteral("B20"),
                                       QStringLiteral("B21"), QStringLiteral("C30"), QStringLiteral("C31"),
                                       QStringLiteral("D40"), QStringLiteral("E50"), QStringLiteral("Z999")};
        QString text = pickFrom(texts);
        switch (m_random.bounded(4)) {
        case 0:
            text += QStringLiteral("[%1]").arg(m_random.bounded(6));
            break;
        case 1:
            text = text.toLower();
            break;
        default:
            break;
        }
        return text;
    }

    QTreeWidget* listView()
    {
        m_window->findChild<QAction*>(QStringLiteral("actionParameterCustomLists"))->trigger();
        KxTest::deliver();
        return ParameterCustomListRepositoryView::instance().findChild<QTreeWidget*>();
    }

    // Answers the axis selection a new list window asks for with a random choice.
    void answerAxisSelection()
    {
        const quint32 choice = m_random.generate();
        KxTest::whenModal<QDialog>([choice](QDialog* dialog) {
            quint32 bits = choice;
            for (QTreeWidgetItem* item : KxTest::treeRows(dialog->findChild<QTreeWidget*>())) {
                if (item->parent()) {
                    item->setCheckState(0, bits & 1 ? Qt::Checked : Qt::Unchecked);
                    bits >>= 1;
                }
            }
            dialog->findChild<QDialogButtonBox*>()->button(choice % 5 == 0 ? QDialogButtonBox::Cancel : QDialogButtonBox::Ok)->click();
        });
    }

    void waitForListWindow(const QString& identifier)
    {
        ParameterCustomListInformation* list = repository().list(identifier);
        if (!list)
            return;
        // The window shows first and asks for axes afterwards; the answer
        // stays armed for that question. A window that does not come (its
        // list went meanwhile) is no failure.
        const bool shown = QTest::qWaitFor([&] {
            KxTest::deliver();
            if (QApplication::activeModalWidget())
                return false;
            for (QWidget* each : m_window->findChildren<QWidget*>(QStringLiteral("ParameterCustomListWidget"))) {
                if (each->isVisible() && each->property("kxStressList").toString().isEmpty()
                    && each->windowTitle().endsWith(list->name())) {
                    each->setProperty("kxStressList", identifier);
                    return true;
                }
                if (each->property("kxStressList").toString() == identifier)
                    return true;
            }
            return false;
        }, 1000);
        Q_UNUSED(shown)
    }

    void openListWindow(const QString& identifier)
    {
        QTreeWidget* tree = listView();
        for (QTreeWidgetItem* row : KxTest::treeRows(tree)) {
            if (row->data(0, Qt::UserRole).toString() != identifier)
                continue;
            answerAxisSelection();
            tree->setCurrentItem(row);
            QTest::keyClick(tree, Qt::Key_Return);
            waitForListWindow(identifier);
            return;
        }
    }

    void createList()
    {
        QTreeWidget* tree = listView();
        for (QTreeWidgetItem* row : KxTest::treeRows(tree)) {
            if (!row->data(0, Qt::UserRole).toString().isEmpty())
                continue;
            const QStringList before = identifiers();
            answerAxisSelection();
            // As typed into the row "<neue Liste>": the list is made and its window opens.
            row->setText(0, QStringLiteral("Liste %1").arg(m_random.bounded(100)));
            for (const QString& identifier : identifiers()) {
                if (!before.contains(identifier))
                    waitForListWindow(identifier);
            }
            return;
        }
    }

    QStringList identifiers() const
    {
        QStringList result;
        for (ParameterCustomListInformation* list : repository().content())
            result << list->identifier();
        return result;
    }

    ParameterCustomListInformation* someList() { return pickFrom(repository().content()); }

    void renameList()
    {
        ParameterCustomListInformation* list = someList();
        if (!list)
            return;
        for (QTreeWidgetItem* row : KxTest::treeRows(listView())) {
            if (row->data(0, Qt::UserRole).toString() == list->identifier())
                row->setText(0, QStringLiteral("Umbenannt %1 = [x]").arg(m_random.bounded(100)));
        }
    }

    void deleteList() { repository().deleteList(someList()); }

    void importIntoList()
    {
        ParameterCustomListInformation* list = someList();
        if (!list)
            return;
        QByteArray text;
        for (int i = int(m_random.bounded(6)); i > 0; --i)
            text += someCoordinate().toUtf8() + (m_random.bounded(2) ? "\r\n" : "\n");
        text += "kein Parameter\n";
        list->importText(text);
    }

    void changeEntry()
    {
        ParameterCustomListInformation* list = someList();
        if (!list)
            return;
        if (m_random.bounded(3) == 0)
            list->removeEntry(someCoordinate());
        else
            list->addEntry(someCoordinate());
    }

    void addController()
    {
        if (controllers().size() < 5)
            m_window->project()->addController(AppTest::testTypeName(),
                                               QStringLiteral("Regler %1").arg(m_random.bounded(100)),
                                               int(m_random.bounded(4)));
    }

    void removeController() { m_window->project()->removeController(pickFrom(controllers())); }

    void addAxis()
    {
        if (DriveController* controller = pickFrom(controllers()))
            m_window->project()->addAxis(controller, QString());
    }

    void removeAxis()
    {
        if (DriveController* controller = pickFrom(controllers()))
            m_window->project()->removeAxis(controller, pickFrom(controller->axisNumbers()));
    }

    void openListWindow()
    {
        if (ParameterCustomListInformation* list = someList())
            openListWindow(list->identifier());
    }

    void closeListWindow()
    {
        if (QWidget* window = pickFrom(listWindows()))
            window->close();
    }

    void openComparison()
    {
        DriveController* a = pickFrom(controllers());
        DriveController* b = pickFrom(controllers());
        if (a && b && !a->axisNumbers().isEmpty() && !b->axisNumbers().isEmpty())
            m_window->compareAxes(a, pickFrom(a->axisNumbers()), b, pickFrom(b->axisNumbers()));
    }

    void closeComparison()
    {
        if (AxisCompareView* view = pickFrom(m_window->findChildren<AxisCompareView*>()))
            view->close();
    }

    // Opens the editor of a random cell of a list window or comparison, types
    // and either writes the value or cancels.
    void editInPlace()
    {
        QList<QWidget*> windows = listWindows();
        for (AxisCompareView* view : m_window->findChildren<AxisCompareView*>())
            windows << view;
        QWidget* window = pickFrom(windows);
        auto* tree = window ? window->findChild<QTreeWidget*>(QStringLiteral("parameterTreeWidget")) : nullptr;
        QTreeWidgetItem* row = tree ? pickFrom(KxTest::treeRows(tree)) : nullptr;
        if (!row || tree->columnCount() < 2)
            return;
        tree->setCurrentItem(row, 1 + int(m_random.bounded(tree->columnCount() - 1)));
        QTest::keyClick(tree, Qt::Key_F2);
        QWidget* editor = QApplication::focusWidget();
        if (!editor || !tree->isAncestorOf(editor))
            editor = tree->viewport()->findChild<QWidget*>();
        if (!editor)
            return;
        QTest::keyClicks(editor, QString::number(m_random.bounded(5000)));
        QTest::keyClick(editor, m_random.bounded(3) == 0 ? Qt::Key_Escape : Qt::Key_Return);
    }

    void changeValue()
    {
        DriveController* controller = pickFrom(controllers());
        if (!controller)
            return;
        ParameterProvider* provider = controller->parameterProvider();
        ParameterSetup* setup = provider->parameterSetup(pickFrom(provider->allCoordinates())).data();
        if (!setup)
            return;
        const eLivingSpace space = pickFrom(setup->livingSpaces());
        const quint16 element = pickFrom(setup->valueElementIndices().values());
        const double low = setup->minimum(element);
        const double high = setup->maximum(element);
        QString text;
        switch (m_random.bounded(3)) {
        case 0:
            text = setup->defaultValueText(element, false);
            break;
        case 1:
            text = QString::number(low + (high - low) * m_random.generateDouble(), 'f', 2);
            break;
        default:
            text = QStringLiteral("Text %1").arg(m_random.bounded(100));
            break;
        }
        setup->setValueText(space, element, text);
    }

    void toggleOnline()
    {
        if (DriveController* controller = pickFrom(controllers()))
            controller->setOnline(!controller->isOnline());
    }

    MainWindow* const m_window;
    const QString m_directory;
    const QString m_description;
    QRandomGenerator m_random;
};

QtMessageHandler previousHandler = nullptr;

// The offscreen platform says so each time a list window is raised or
// shown; over thousands of steps that would drown everything else.
void dropPlatformNotices(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support")))
        return;
    previousHandler(type, context, message);
}

} // namespace

class TestLifetime : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        KxTest::initTestEnvironment();
        previousHandler = qInstallMessageHandler(dropPlatformNotices);
    }

    void randomStepsKeepTheProjectStable()
    {
        const int steps = environmentNumber("KX_STRESS_STEPS", 80);
        const quint32 seed = quint32(environmentNumber("KX_STRESS_SEED", 20261206));
        qInfo("lifetime: %d steps, seed %u", steps, seed);

        QTemporaryDir types, work;
        const QString description = AppTest::writeTypesAndDescription(QDir(types.path()), QDir(work.path()));
        std::unique_ptr<MainWindow> window
            = AppTest::openWindow(types.path(), description, {QStringLiteral("Prüfstand rechts")});
        QVERIFY(window);
        window->show();

        Life life(window.get(), work.path(), description, seed);
        QMap<QString, int> counts;
        for (int step = 1; step <= steps; ++step) {
            const QString name = life.step();
            ++counts[name];
            if (step % 1000 == 0)
                qInfo("lifetime: step %d", step);
            const QString problem = life.roundTrip();
            if (!problem.isEmpty())
                QFAIL(qPrintable(QStringLiteral("seed %1, step %2 (%3): %4").arg(seed).arg(step).arg(name, problem)));
        }
        KxTest::cancelModalHandlers();
        QStringList done;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            done << QStringLiteral("%1 %2").arg(it.value()).arg(it.key());
        qInfo("%s", qPrintable(done.join(QStringLiteral(", "))));
        qInfo("at the end: %d lists, %d controllers, %d list windows, %d comparisons", repository().content().size(),
              window->project()->host()->driveControllers().size(),
              window->findChildren<QWidget*>(QStringLiteral("ParameterCustomListWidget")).size(),
              window->findChildren<AxisCompareView*>().size());
    }
};

QTEST_MAIN(TestLifetime)
#include "tst_lifetime.moc"
