// Timings and memory of the list tree, the axis comparison and the stored
// lists, each against a floor built in the same process and run: a plain
// QTreeWidget with the same rows, or raw SQLite with the same bytes.
//
//   kx-bench [-silent] [S1 ... S6 M]     the cases (QtTest functions)
//   kx-bench --repetitions 9             runs per case and size (default 7, at least 5 count)
//   kx-bench --markdown table.md         the table as Markdown as well
//   kx-bench --full-burst                S3 always writes the whole burst
//   kx-bench --memory-child ...          internal: one side of case M

#include "FloorTree.h"
#include "Measurement.h"

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
#include "FileStorageView.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "ProjectFile.h"

#include <QCheckBox>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <memory>

using namespace KxTest;
using namespace KxBench;

namespace {

// N of every case; 2N doubles entries, parameters and lists.
constexpr int ListEntries = 2000;
constexpr int ListArrayEvery = 4;     // a quarter of the entries are arrays ...
constexpr int ListArrayLength = 8;    // ... of 8 elements, shown as element rows
constexpr int ListControllers = 2;
constexpr int ListAxesPerController = 4;
constexpr int CompareParameters = 3000;
constexpr int DifferingEvery = 10;    // one parameter in ten differs between the sides
constexpr int StoredLists = 100;
constexpr int StoredEntries = 200;
constexpr int StoredAxes = 4;

// A tree that ran a full refresh for every value-change signal took minutes
// for a burst of 2,000. Beyond this projected time per burst, S3 is timed on
// a shorter burst and scaled up, and says so.
constexpr double BurstBudgetMs = 4000;
constexpr double ShortBurstMs = 3000;

constexpr double TargetOpen = 1.5;
constexpr double TargetRefresh = 0.5;
constexpr double TargetBurst = 1.0;
constexpr double TargetCompare = 2.0;
constexpr double TargetDifferencesOnly = 0.3;
constexpr double TargetStorage = 3.0;
constexpr double TargetGrowth = 2.2;
constexpr double TargetMemory = 1.3;

struct Options
{
    int repetitions = 7;
    QString markdown;
    bool fullBurst = false;
};

struct Size
{
    const char* name;
    int factor;
};
const Size Sizes[] = {{"N", 1}, {"2N", 2}};

QString sizeText(const Size& size, int count, const char* what)
{
    return QStringLiteral("%1 (%2 %3)").arg(QLatin1String(size.name)).arg(count * size.factor).arg(QLatin1String(what));
}

int expectedListRows(int entries)
{
    const int arrays = (entries + ListArrayEvery - 1) / ListArrayEvery;
    return entries + arrays * ListArrayLength;
}

// "Until the rows are shown": one delivery is enough for code that fills
// synchronously; code that defers work to a timer is waited for, in the
// timed region, as a user would wait.
void deliverUntil(const std::function<bool()>& shown, int timeoutMs = 60000)
{
    deliver();
    QElapsedTimer clock;
    clock.start();
    while (!shown() && clock.elapsed() < timeoutMs) {
        QThread::usleep(200);
        deliver();
    }
}

void repaint(QTreeWidget* tree)
{
    tree->viewport()->repaint();
}

std::unique_ptr<QTreeWidget> shownTree(const QSize& size)
{
    std::unique_ptr<QTreeWidget> tree(new QTreeWidget);
    tree->resize(size);
    tree->show();
    if (!QTest::qWaitForWindowExposed(tree.get()))
        QTest::qFail("floor tree not exposed", __FILE__, __LINE__);
    deliver();
    return tree;
}

QTreeWidgetItem* lastRow(QTreeWidget* tree)
{
    if (tree->topLevelItemCount() == 0)
        return nullptr;
    QTreeWidgetItem* row = tree->topLevelItem(tree->topLevelItemCount() - 1);
    return row->childCount() > 0 ? row->child(row->childCount() - 1) : row;
}

// The rows of `entries` entries are there and the last cell of the last row
// has its text: enough to tell that the tree is filled.
bool listFilled(QTreeWidget* tree, int entries)
{
    if (tree->topLevelItemCount() != entries)
        return false;
    QTreeWidgetItem* row = lastRow(tree);
    return row && !row->text(tree->columnCount() - 1).isEmpty();
}

// --- writes of S3 --------------------------------------------------------------

// One value of a listed parameter on one of the list's axes, written back and
// forth between two accepted texts so that every write is a change.
struct ValueWrite
{
    ParameterCustomListEntry* entry = nullptr;
    int axisIndex = 0;
    ParameterSetup* setup = nullptr;
    eLivingSpace space = LivingSpaceNone;
    quint16 element = 0;
    QString texts[2];
    int current = 0;

    bool write()
    {
        current = 1 - current;
        return setup->setValueText(space, element, texts[current]);
    }
};

QStringList twoAcceptedTexts(ParameterSetup* setup, eLivingSpace space, quint16 element)
{
    QStringList texts;
    QStringList candidates{QString::number(setup->minimum(element)), QString::number(setup->maximum(element))};
    for (const ParameterChoice& choice : setup->choices(element))
        candidates << QString::number(choice.value);
    for (const QString& text : qAsConst(candidates)) {
        if (texts.size() < 2 && !texts.contains(text) && setup->checkValueText(space, element, text).isEmpty())
            texts << text;
    }
    return texts.size() == 2 ? texts : QStringList();
}

// Spread over the entries: one value of each entry on a rotating axis, then
// another round on the next axes until there are `count`.
QVector<ValueWrite> chooseWrites(ParameterCustomList* list, int count)
{
    const QList<QPointer<DriveControllerAxis>> axes = list->axes();
    const QList<ParameterCustomListEntry*> entries = list->entries().values();
    QVector<ValueWrite> writes;
    QSet<QString> taken;
    for (int round = 0; round < axes.size() && writes.size() < count; ++round) {
        for (int i = 0; i < entries.size() && writes.size() < count; ++i) {
            ParameterCustomListEntry* entry = entries.at(i);
            const int axisIndex = (i + round) % axes.size();
            ParameterSetup* setup = entry->parameterSetup(axisIndex);
            if (!setup || !axes.at(axisIndex))
                continue;
            const eLivingSpace space = eLivingSpace(axes.at(axisIndex)->axisNumber());
            QList<quint16> elements = setup->valueElementIndices().values();
            std::sort(elements.begin(), elements.end());
            for (quint16 element : qAsConst(elements)) {
                // A global value is one value, whichever axis writes it.
                const QString key = QStringLiteral("%1/%2/%3").arg(quintptr(setup)).arg(setup->isGlobal() ? 0 : int(space)).arg(element);
                if (taken.contains(key) || !setup->isWritable(space, element))
                    continue;
                const QStringList texts = twoAcceptedTexts(setup, space, element);
                if (texts.isEmpty())
                    continue;
                ValueWrite write;
                write.entry = entry;
                write.axisIndex = axisIndex;
                write.setup = setup;
                write.space = space;
                write.element = element;
                write.texts[0] = texts.at(0);
                write.texts[1] = texts.at(1);
                writes.append(write);
                taken.insert(key);
                break;
            }
        }
    }
    return writes;
}

// The row of the entry (rows are sorted by coordinate) or of its element.
QTreeWidgetItem* rowOf(ParameterCustomListTreeWidget* tree, const ValueWrite& write)
{
    const ParameterCoordinate coordinate = write.entry->coordinate();
    int low = 0;
    int high = tree->topLevelItemCount() - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        QTreeWidgetItem* row = tree->topLevelItem(middle);
        ParameterCustomListEntry* entry = tree->entryOf(row);
        if (!entry)
            return nullptr;
        if (entry->coordinate() < coordinate) {
            low = middle + 1;
        } else if (coordinate < entry->coordinate()) {
            high = middle - 1;
        } else {
            if (row->childCount() == 0)
                return row;
            for (int i = 0; i < row->childCount(); ++i) {
                if (tree->elementIndexOf(row->child(i)) == write.element)
                    return row->child(i);
            }
            return nullptr;
        }
    }
    return nullptr;
}

bool shows(ParameterCustomListTreeWidget* tree, const ValueWrite& write)
{
    QTreeWidgetItem* row = rowOf(tree, write);
    return row && row->text(write.axisIndex + 1) == write.setup->valueText(write.space, write.element, true);
}

// --- the comparison of S4, S5 and M ---------------------------------------------

// Two controllers of a synthetic catalogue; axis 1 of the first against axis 2
// of the second, with one parameter in ten written to differ on side B.
struct CompareSides
{
    std::unique_ptr<Devices> devices;
    int parameters = 0;
    int changed = 0;

    explicit CompareSides(int parameterCount)
        : devices(new Devices(syntheticDeviceDescription(parameterCount, 2, 2, 11)))
        , parameters(parameterCount)
    {
        DriveController* a = devices->controller(0);
        DriveController* b = devices->controller(1);
        const QList<ParameterCoordinate> coordinates = b->parameterProvider()->parameterCoordinates(2);
        for (int i = 0; i < coordinates.size(); ++i) {
            if (i % DifferingEvery == DifferingEvery / 2 && makeDiffer(a->parameterProvider()->parameterSetup(coordinates.at(i)),
                                                                      b->parameterProvider()->parameterSetup(coordinates.at(i))))
                ++changed;
        }
    }

    // The first writable value of B gets a text that A does not show.
    static bool makeDiffer(ParameterSetup* a, ParameterSetup* b)
    {
        if (!b)
            return false;
        QList<quint16> elements = b->valueElementIndices().values();
        std::sort(elements.begin(), elements.end());
        for (quint16 element : qAsConst(elements)) {
            if (!b->isWritable(2, element))
                continue;
            const QString shownOnA = a && a->isDefinedIn(1) ? a->valueText(1, element, true) : QString();
            for (const QString& text : twoAcceptedTexts(b, 2, element)) {
                if (b->setValueText(2, element, text) && b->valueText(2, element, true) != shownOnA)
                    return true;
            }
        }
        return false;
    }

    void compare(AxisCompareView* view) const
    {
        view->setAxisA(devices->controller(0), 1);
        view->setAxisB(devices->controller(1), 2);
        view->compare();
    }

    int expectedTopLevelRows() const
    {
        QSet<quint16> both;
        for (const ParameterCoordinate& c : devices->controller(0)->parameterProvider()->parameterCoordinates(1))
            both.insert(c.toNumber());
        for (const ParameterCoordinate& c : devices->controller(1)->parameterProvider()->parameterCoordinates(2))
            both.insert(c.toNumber());
        return both.size();
    }
};

QTreeWidget* treeOf(AxisCompareView* view)
{
    return view->findChild<QTreeWidget*>();
}

int differingRows(QTreeWidget* tree)
{
    int n = 0;
    for (QTreeWidgetItem* row : treeRows(tree))
        n += AxisCompareReport::valuesDiffer(row) ? 1 : 0;
    return n;
}

// --- memory of M ----------------------------------------------------------------

qint64 residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Fonts, style and platform set-up come with the first painted tree; neither
// side should count them.
void warmUp()
{
    QTreeWidget tree;
    tree.setColumnCount(3);
    auto* item = new QTreeWidgetItem(&tree, {QStringLiteral("A10"), QStringLiteral("1500 1/min"), QStringLiteral("3000 1/min")});
    item->setIcon(1, tree.style()->standardIcon(QStyle::SP_FileIcon));
    item->setBackground(2, QBrush(Qt::yellow));
    tree.show();
    if (!QTest::qWaitForWindowExposed(&tree))
        std::fprintf(stderr, "warm-up tree not exposed\n");
    deliver();
    repaint(&tree);
    tree.hide();
    deliver();
}

// The child side of M: builds one thing and reports how much RSS it added.
//   compare <parameters>   the comparison of S4
//   floor <file>           the plain tree with the rows in the file
int memoryChild(const QStringList& arguments)
{
    qputenv("KX_ALLOW_WARNINGS", "1");   // no QtTest function runs here that a warning could fail
    initTestEnvironment();
    MainWindow mainWindow;
    const QString what = arguments.value(0);
    qint64 before = 0;
    int rows = 0;
    std::unique_ptr<CompareSides> sides;
    std::unique_ptr<AxisCompareView> view;
    FloorRows floorRows;
    std::unique_ptr<QTreeWidget> floorTree;

    if (what == QLatin1String("compare")) {
        sides.reset(new CompareSides(arguments.value(1).toInt()));
        warmUp();
        before = residentKb();
        view.reset(AxisCompareView::createAxisCompareView());
        view->show();
        sides->compare(view.get());
        deliver();
        repaint(treeOf(view.get()));
        deliver();
        rows = treeRows(treeOf(view.get())).size();
    } else if (what == QLatin1String("floor")) {
        if (!readRows(arguments.value(1), &floorRows)) {
            std::fprintf(stderr, "cannot read the floor rows from %s\n", qPrintable(arguments.value(1)));
            return 2;
        }
        warmUp();
        before = residentKb();
        floorTree.reset(new QTreeWidget);
        floorTree->resize(floorRows.treeSize);
        floorTree->show();
        fill(floorTree.get(), floorRows);
        deliver();
        repaint(floorTree.get());
        deliver();
        rows = treeRows(floorTree.get()).size();
    } else {
        std::fprintf(stderr, "unknown memory child \"%s\"\n", qPrintable(what));
        return 2;
    }
    const qint64 after = residentKb();
    if (before < 0 || after < 0)
        return 3;
    std::printf("growth-kb %lld rows %d\n", after - before, rows);
    std::fflush(stdout);
    return 0;
}

struct ChildResult
{
    double megabytes = 0;
    int rows = 0;
};

ChildResult runMemoryChild(const QStringList& arguments)
{
    QProcess child;
    child.setProgram(QCoreApplication::applicationFilePath());
    child.setArguments(QStringList{QStringLiteral("--memory-child")} + arguments);
    child.start();
    ChildResult result;
    if (!child.waitForFinished(300000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        std::fprintf(stderr, "%s", child.readAllStandardError().constData());
        QTest::qFail(qPrintable(QStringLiteral("memory child %1 failed (exit %2)").arg(arguments.join(QLatin1Char(' '))).arg(child.exitCode())),
                     __FILE__, __LINE__);
        return result;
    }
    const QRegularExpressionMatch match
        = QRegularExpression(QStringLiteral("growth-kb (-?\\d+) rows (\\d+)")).match(QString::fromLatin1(child.readAllStandardOutput()));
    if (!match.hasMatch()) {
        QTest::qFail("memory child printed no result", __FILE__, __LINE__);
        return result;
    }
    result.megabytes = match.captured(1).toDouble() / 1024;
    result.rows = match.captured(2).toInt();
    return result;
}

} // namespace

class BenchCustomList : public QObject
{
    Q_OBJECT

public:
    explicit BenchCustomList(const Options& options)
        : m_options(options)
    {
    }

private:
    Options m_options;
    Table m_table;
    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<Host> m_host;
    QTemporaryDir m_files;

    ParameterCustomListRepository& repository() { return ParameterCustomListRepository::instance(); }

    // A list of the first `entries` parameters of the catalogue on all eight axes.
    ParameterCustomList* makeList(int entries)
    {
        auto* list = qobject_cast<ParameterCustomList*>(repository().createList());
        list->setAxes(m_host->allAxes());
        list->setCoordinates(m_host->controller(0)->parameterProvider()->allCoordinates().mid(0, entries));
        deliver();
        return list;
    }

    std::unique_ptr<ParameterCustomListWidget> listWindow(ParameterCustomList* list)
    {
        std::unique_ptr<ParameterCustomListWidget> window(new ParameterCustomListWidget);
        window->resize(1200, 800);
        if (list)
            window->setParameterCustomList(list);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            QTest::qFail("list window not exposed", __FILE__, __LINE__);
        deliver();
        return window;
    }

    static ParameterCustomListTreeWidget* treeOf(ParameterCustomListWidget* window)
    {
        return window->findChild<ParameterCustomListTreeWidget*>();
    }

    void verifyListRows(ParameterCustomListTreeWidget* tree, int entries)
    {
        QCOMPARE(tree->topLevelItemCount(), entries);
        QCOMPARE(tree->columnCount(), ListControllers * ListAxesPerController + 1);
        QCOMPARE(treeRows(tree).size(), expectedListRows(entries));
        QVERIFY2(listFilled(tree, entries), "the last cell of the last row is empty");
        // A sample of cells shows what the entries say: fast placeholders would not.
        for (int i = 0; i < entries; i += 97) {
            QTreeWidgetItem* row = tree->topLevelItem(i);
            ParameterCustomListEntry* entry = tree->entryOf(row);
            QVERIFY(entry);
            for (int axis = 0; axis + 1 < tree->columnCount(); ++axis) {
                if (row->childCount() == 0) {
                    if (entry->isAvailable(axis))
                        QCOMPARE(row->text(axis + 1), entry->valueText(axis));
                    continue;
                }
                QTreeWidgetItem* element = row->child(i % row->childCount());
                if (entry->isAvailable(axis, tree->elementIndexOf(element)))
                    QCOMPARE(element->text(axis + 1), entry->valueText(axis, tree->elementIndexOf(element)));
            }
        }
    }

    // The floor of the list cases: a plain tree as big as our tree, filled.
    static Step listFloor(const FloorRows& rows)
    {
        auto tree = std::make_shared<std::unique_ptr<QTreeWidget>>();
        Step floor;
        floor.prepare = [tree, &rows] { *tree = shownTree(rows.treeSize); };
        floor.run = [tree, &rows] {
            fill(tree->get(), rows);
            deliver();
            repaint(tree->get());
        };
        floor.finish = [tree, &rows] {
            QCOMPARE(treeRows(tree->get()).size(), rows.count());
            tree->reset();
            deliver();
        };
        return floor;
    }

    // The floor of the comparison cases: a plain tree, shown and filled.
    static Step compareFloor(const FloorRows& rows)
    {
        auto tree = std::make_shared<std::unique_ptr<QTreeWidget>>();
        Step floor;
        floor.run = [tree, &rows] {
            tree->reset(new QTreeWidget);
            (*tree)->resize(rows.treeSize);
            (*tree)->show();
            fill(tree->get(), rows);
            deliver();
            repaint(tree->get());
        };
        floor.finish = [tree, &rows] {
            QCOMPARE(treeRows(tree->get()).size(), rows.count());
            tree->reset();
            deliver();
        };
        return floor;
    }

    // S7 for a case measured at both sizes.
    void growth(const char* name, const double (&medians)[2], const QString& unit)
    {
        if (medians[0] > 0 && medians[1] > 0)
            m_table.add(QStringLiteral("S7"), QStringLiteral("%1: 2N / N").arg(QLatin1String(name)), medians[1], medians[0], unit, TargetGrowth);
    }

    bool enoughRepetitions() const { return m_options.repetitions >= 5; }

private slots:
    void initTestCase()
    {
        initTestEnvironment();
        QVERIFY(m_files.isValid());
        m_mainWindow.reset(new MainWindow);
        // One catalogue for both sizes: lists take its first N or 2N parameters.
        m_host.reset(new Host(syntheticDeviceDescription(2 * ListEntries, ListControllers, ListAxesPerController, 7,
                                                         SyntheticShape{ListArrayEvery, ListArrayLength})));
        repository().initialize(m_host.get());
        QCOMPARE(m_host->allAxes().size(), ListControllers * ListAxesPerController);
        if (!enoughRepetitions())
            std::fprintf(stderr, "kx-bench: %d repetitions are too few for reportable numbers\n", m_options.repetitions);
        m_table.printHeader();
    }

    void cleanupTestCase()
    {
        repository().clear();
        deliver();
        if (!m_options.markdown.isEmpty() && !m_table.writeMarkdown(m_options.markdown))
            std::fprintf(stderr, "kx-bench: cannot write %s\n", qPrintable(m_options.markdown));
    }

    void cleanup()
    {
        repository().clear();
        deliver();
    }

    // Open a list: attach it to a shown list window until its rows are shown.
    void S1()
    {
        double medians[2] = {};
        for (const Size& size : Sizes) {
            const int entries = ListEntries * size.factor;
            ParameterCustomList* list = makeList(entries);
            FloorRows rows;
            std::unique_ptr<ParameterCustomListWidget> window;

            Step open;
            open.prepare = [&] { window = listWindow(nullptr); };
            open.run = [&] {
                window->setParameterCustomList(list);
                ParameterCustomListTreeWidget* tree = treeOf(window.get());
                deliverUntil([&] { return listFilled(tree, entries); });
                repaint(tree);
            };
            open.finish = [&] {
                ParameterCustomListTreeWidget* tree = treeOf(window.get());
                verifyListRows(tree, entries);
                if (rows.rows.isEmpty())
                    rows = copyRows(tree, FloorColour::Foreground, true);
                window.reset();
                deliver();
            };
            const Medians result = interleave(m_options.repetitions, open, listFloor(rows));
            if (!result.complete)
                return m_table.addFailure(QStringLiteral("S1"), sizeText(size, ListEntries, "entries"), QStringLiteral("a check failed, see above"));
            m_table.add(QStringLiteral("S1"), sizeText(size, ListEntries, "entries"), result.measured, result.floor,
                        QStringLiteral("ms"), TargetOpen, size.factor == 1 ? QStringLiteral("%1 rows on %2 axes").arg(rows.count()).arg(rows.header.size() - 1) : QString());
            medians[size.factor - 1] = result.measured;
            repository().deleteList(list);
            deliver();
        }
        growth("S1", medians, QStringLiteral("ms"));
    }

    // Refresh with nothing changed: the tree's full refresh.
    void S2()
    {
        double medians[2] = {};
        for (const Size& size : Sizes) {
            const int entries = ListEntries * size.factor;
            ParameterCustomList* list = makeList(entries);
            std::unique_ptr<ParameterCustomListWidget> window = listWindow(list);
            ParameterCustomListTreeWidget* tree = treeOf(window.get());
            verifyListRows(tree, entries);
            if (QTest::currentTestFailed())
                return;
            const FloorRows rows = copyRows(tree, FloorColour::Foreground, true);

            Step refresh;
            refresh.run = [&] {
                tree->onContentChanged();
                deliver();
                repaint(tree);
            };
            refresh.finish = [&] {
                verifyListRows(tree, entries);
                // Nothing changed, so nothing may look different.
                QCOMPARE(lastRow(tree)->text(tree->columnCount() - 1), rows.rows.last().children.isEmpty()
                             ? rows.rows.last().cells.last().text : rows.rows.last().children.last().cells.last().text);
            };
            const Medians result = interleave(m_options.repetitions, refresh, listFloor(rows));
            if (!result.complete)
                return m_table.addFailure(QStringLiteral("S2"), sizeText(size, ListEntries, "entries"), QStringLiteral("a check failed, see above"));
            m_table.add(QStringLiteral("S2"), sizeText(size, ListEntries, "entries"), result.measured, result.floor, QStringLiteral("ms"),
                        TargetRefresh);
            medians[size.factor - 1] = result.measured;
            window.reset();
            repository().deleteList(list);
            deliver();
        }
        growth("S2", medians, QStringLiteral("ms"));
    }

    // A burst of value changes of listed parameters, written through the set-ups.
    void S3()
    {
        double medians[2] = {};
        for (const Size& size : Sizes) {
            const int entries = ListEntries * size.factor;
            const int burst = ListEntries * size.factor;
            ParameterCustomList* list = makeList(entries);
            QVector<ValueWrite> writes = chooseWrites(list, burst);
            QCOMPARE(writes.size(), burst);
            // Every value starts on its first text, before any window listens.
            for (ValueWrite& write : writes) {
                write.current = 1;
                QVERIFY(write.write());
            }
            deliver();
            std::unique_ptr<ParameterCustomListWidget> window = listWindow(list);
            ParameterCustomListTreeWidget* tree = treeOf(window.get());
            verifyListRows(tree, entries);
            if (QTest::currentTestFailed())
                return;
            const FloorRows rows = copyRows(tree, FloorColour::Foreground, true);

            auto writeBurst = [&](int count) {
                for (int i = 0; i < count; ++i) {
                    if (!writes[i].write())
                        QTest::qFail(qPrintable(QStringLiteral("write %1 refused").arg(i)), __FILE__, __LINE__);
                }
                deliverUntil([&] { return shows(tree, writes.at(count - 1)); });
                repaint(tree);
            };
            auto timedBurst = [&](int count) {
                QElapsedTimer clock;
                clock.start();
                writeBurst(count);
                return double(clock.nsecsElapsed()) / 1e6;
            };

            // The guard: two short bursts tell the cost per signal.
            int count = burst;
            QString note;
            if (!m_options.fullBurst) {
                const double four = timedBurst(4);
                const double sixteen = timedBurst(16);
                const double perSignal = std::max(0.0, (sixteen - four) / 12);
                const double projected = four + perSignal * (burst - 4);
                if (projected > BurstBudgetMs) {
                    count = qBound(4, int(ShortBurstMs / std::max(perSignal, 0.001)), burst);
                    note = QStringLiteral("S3 %1: about %2 ms per signal, a whole burst would take about %3 s per run; "
                                          "timed on bursts of %4 signals and scaled to %5 (kx-bench --full-burst times the whole burst)")
                               .arg(QLatin1String(size.name)).arg(perSignal, 0, 'f', 1).arg(projected / 1000, 0, 'f', 0).arg(count).arg(burst);
                }
            }

            Step changes;
            changes.run = [&] { writeBurst(count); };
            changes.finish = [&] {
                QVERIFY2(shows(tree, writes.first()), qPrintable(writes.first().entry->coordinate().toText()));
                QVERIFY2(shows(tree, writes.at(count - 1)), qPrintable(writes.at(count - 1).entry->coordinate().toText()));
                QCOMPARE(treeRows(tree).size(), expectedListRows(entries));
            };
            const Medians result = interleave(m_options.repetitions, changes, listFloor(rows));
            if (!result.complete)
                return m_table.addFailure(QStringLiteral("S3"), sizeText(size, ListEntries, "signals"), QStringLiteral("a check failed, see above"));
            const double measured = result.measured * burst / count;
            m_table.add(QStringLiteral("S3"), sizeText(size, ListEntries, "signals"), measured, result.floor, QStringLiteral("ms"), TargetBurst,
                        note);
            medians[size.factor - 1] = measured;
            window.reset();
            repository().deleteList(list);
            deliver();
        }
        growth("S3", medians, QStringLiteral("ms"));
    }

    // Compare two axes: the view made, shown and filled.
    void S4()
    {
        double medians[2] = {};
        for (const Size& size : Sizes) {
            const CompareSides sides(CompareParameters * size.factor);
            const int expected = sides.expectedTopLevelRows();
            FloorRows rows;
            std::unique_ptr<AxisCompareView> view;
            QString differing;

            Step compare;
            compare.run = [&] {
                view.reset(AxisCompareView::createAxisCompareView());
                view->show();
                sides.compare(view.get());
                deliver();
                repaint(::treeOf(view.get()));
            };
            compare.finish = [&] {
                QTreeWidget* tree = ::treeOf(view.get());
                QCOMPARE(tree->topLevelItemCount(), expected);
                QVERIFY(!view->axesAreEqual());
                const int differ = differingRows(tree);
                QVERIFY2(differ >= sides.changed, qPrintable(QStringLiteral("%1 rows differ, %2 values were changed").arg(differ).arg(sides.changed)));
                if (rows.rows.isEmpty()) {
                    rows = copyRows(tree, FloorColour::Background, false);
                    differing = QStringLiteral("%1 of %2 parameters of side B set to differ; %3 of %4 rows differ")
                                    .arg(sides.changed).arg(expected).arg(differ).arg(rows.count());
                }
                view.reset();
                deliver();
            };
            const Medians result = interleave(m_options.repetitions, compare, compareFloor(rows));
            if (!result.complete)
                return m_table.addFailure(QStringLiteral("S4"), sizeText(size, CompareParameters, "parameters"), QStringLiteral("a check failed, see above"));
            m_table.add(QStringLiteral("S4"), sizeText(size, CompareParameters, "parameters"), result.measured, result.floor,
                        QStringLiteral("ms"), TargetCompare, size.factor == 1 ? differing : QString());
            medians[size.factor - 1] = result.measured;
        }
        growth("S4", medians, QStringLiteral("ms"));
    }

    // Toggle "Nur Unterschiede anzeigen" of a shown comparison.
    void S5()
    {
        double medians[2] = {};
        for (const Size& size : Sizes) {
            const CompareSides sides(CompareParameters * size.factor);
            std::unique_ptr<AxisCompareView> view(AxisCompareView::createAxisCompareView());
            view->show();
            QVERIFY(QTest::qWaitForWindowExposed(view.get()));
            sides.compare(view.get());
            deliver();
            QTreeWidget* tree = ::treeOf(view.get());
            auto* differencesOnly = view->findChild<QCheckBox*>(QStringLiteral("differencesOnly"));
            QVERIFY(differencesOnly);
            QVERIFY(!differencesOnly->isChecked());
            const FloorRows rows = copyRows(tree, FloorColour::Background, false);
            const int all = treeRows(tree).size();

            Step toggle;
            toggle.run = [&] {
                differencesOnly->toggle();
                deliver();
                repaint(tree);
            };
            toggle.finish = [&] {
                const QList<QTreeWidgetItem*> visible = treeRows(tree, true);
                if (!differencesOnly->isChecked()) {
                    QCOMPARE(visible.size(), all);
                    return;
                }
                QVERIFY(!visible.isEmpty());
                QVERIFY(visible.size() < all);
                for (QTreeWidgetItem* row : visible) {
                    if (row->parent() || row->childCount() == 0)
                        QVERIFY2(AxisCompareReport::valuesDiffer(row), qPrintable(row->text(0)));
                }
            };
            // An even number of runs: as many switched on as off.
            const Medians result = interleave(m_options.repetitions + m_options.repetitions % 2, toggle, compareFloor(rows));
            if (!result.complete)
                return m_table.addFailure(QStringLiteral("S5"), sizeText(size, CompareParameters, "parameters"), QStringLiteral("a check failed, see above"));
            m_table.add(QStringLiteral("S5"), sizeText(size, CompareParameters, "parameters"), result.measured, result.floor,
                        QStringLiteral("ms"), TargetDifferencesOnly);
            medians[size.factor - 1] = result.measured;
        }
        growth("S5", medians, QStringLiteral("ms"));
    }

    // Save and load of the repository through the project file.
    void S6()
    {
        double medians[2] = {};
        const QList<QPointer<DriveControllerAxis>> axes = m_host->allAxes();
        const QList<ParameterCoordinate> catalogue = m_host->controller(0)->parameterProvider()->allCoordinates();
        for (const Size& size : Sizes) {
            const int lists = StoredLists * size.factor;
            for (int i = 0; i < lists; ++i) {
                auto* list = qobject_cast<ParameterCustomList*>(repository().createList());
                list->setName(QStringLiteral("Liste %1").arg(i + 1));
                // Four neighbouring axes, some across both controllers.
                list->setAxes(axes.mid(i % (axes.size() - StoredAxes + 1), StoredAxes));
                list->setCoordinates(catalogue.mid((i * 131) % (catalogue.size() - StoredEntries), StoredEntries));
            }
            deliver();
            const QByteArray fingerprint = this->fingerprint();

            // The floor stores what the repository stores, item by item.
            QVector<QPair<QString, QByteArray>> items;
            {
                FileStorageView project;
                repository().save(&project);
                const FileStorageView* own = project.subStorage(QStringLiteral("CustomParameterLists"));
                QVERIFY(own);
                for (const QString& name : own->itemNames())
                    items.append({name, own->readItem(name)});
            }
            QCOMPARE(items.size(), lists);
            qint64 bytes = 0;
            for (const auto& item : qAsConst(items))
                bytes += item.second.size();

            int run = 0;
            QString path;
            Step storage;
            storage.prepare = [&] { path = m_files.filePath(QStringLiteral("s6-%1-%2.kxproj").arg(size.name).arg(++run)); };
            storage.run = [&] {
                QString error;
                FileStorageView project;
                repository().save(&project);
                QVERIFY2(ProjectFile::write(path, project, &error), qPrintable(error));
                FileStorageView opened;
                QVERIFY2(ProjectFile::read(path, &opened, &error), qPrintable(error));
                repository().load(&opened);
                deliver();
            };
            // What was read back must save as the same bytes. Looking at the
            // entries themselves here would build every list, and the next
            // run would time deleting them: that is checked once at the end.
            storage.finish = [&] {
                QCOMPARE(repository().unreadableListCount(), 0);
                QCOMPARE(repository().content().size(), lists);
                FileStorageView again;
                repository().save(&again);
                const FileStorageView* own = again.subStorage(QStringLiteral("CustomParameterLists"));
                QVERIFY(own);
                QVector<QPair<QString, QByteArray>> saved;
                for (const QString& name : own->itemNames())
                    saved.append({name, own->readItem(name)});
                QVERIFY2(saved == items, "the lists read back save other bytes than those saved");
            };

            QVector<QPair<QString, QByteArray>> readBack;
            Step floor;
            floor.prepare = [&] { path = m_files.filePath(QStringLiteral("floor-%1-%2.sqlite").arg(size.name).arg(++run)); };
            floor.run = [&] { readBack = rawSqlite(path, items); };
            floor.finish = [&] { QVERIFY(readBack == items); };

            const Medians result = interleave(m_options.repetitions, storage, floor);
            QVERIFY2(this->fingerprint() == fingerprint, "the lists read back differ from those saved");
            if (!result.complete)
                return m_table.addFailure(QStringLiteral("S6"), sizeText(size, StoredLists, "lists"), QStringLiteral("a check failed, see above"));
            m_table.add(QStringLiteral("S6"), sizeText(size, StoredLists, "lists"), result.measured, result.floor, QStringLiteral("ms"),
                        TargetStorage,
                        size.factor == 1 ? QStringLiteral("%1 lists x %2 entries x %3 axes, %4 KB of items").arg(lists).arg(StoredEntries).arg(StoredAxes).arg(bytes / 1024)
                                         : QString());
            medians[size.factor - 1] = result.measured;
            repository().clear();
            deliver();
        }
        growth("S6", medians, QStringLiteral("ms"));
    }

    // Memory of S4: RSS growth of a child that builds the comparison against
    // one that builds its floor tree.
    void M()
    {
        double medians[2] = {};
        for (const Size& size : Sizes) {
            const int parameters = CompareParameters * size.factor;
            const QString rowsFile = m_files.filePath(QStringLiteral("floor-rows-%1").arg(parameters));
            int expectedRows = 0;
            {
                const CompareSides sides(parameters);
                std::unique_ptr<AxisCompareView> view(AxisCompareView::createAxisCompareView());
                view->show();
                QVERIFY(QTest::qWaitForWindowExposed(view.get()));
                sides.compare(view.get());
                deliver();
                const FloorRows rows = copyRows(::treeOf(view.get()), FloorColour::Background, false);
                expectedRows = rows.count();
                QVERIFY(writeRows(rowsFile, rows));
            }
            deliver();

            QVector<double> measured;
            QVector<double> floor;
            for (int i = 0; i < m_options.repetitions; ++i) {
                const ChildResult comparison = runMemoryChild({QStringLiteral("compare"), QString::number(parameters)});
                const ChildResult plain = runMemoryChild({QStringLiteral("floor"), rowsFile});
                if (QTest::currentTestFailed())
                    return m_table.addFailure(QStringLiteral("M"), sizeText(size, CompareParameters, "parameters"), QStringLiteral("a child failed, see above"));
                QCOMPARE(comparison.rows, expectedRows);
                QCOMPARE(plain.rows, expectedRows);
                measured.append(comparison.megabytes);
                floor.append(plain.megabytes);
            }
            m_table.add(QStringLiteral("M"), sizeText(size, CompareParameters, "parameters"), median(measured), median(floor),
                        QStringLiteral("MB"), TargetMemory);
            medians[size.factor - 1] = median(measured);
        }
        growth("M", medians, QStringLiteral("MB"));
    }

private:
    // Names, axes and entries of every list, in repository order.
    QByteArray fingerprint()
    {
        QCryptographicHash hash(QCryptographicHash::Sha1);
        for (ParameterCustomListInformation* information : repository().content()) {
            auto* list = qobject_cast<ParameterCustomList*>(information);
            hash.addData(list->name().toUtf8());
            for (const QPointer<DriveControllerAxis>& axis : list->axes())
                hash.addData(repository().driveControllerAxisSaveIdentifier(axis));
            hash.addData(list->exportText());
        }
        return hash.result();
    }

    // What a minimal program does to store and read back the items with
    // SQLite: one table, one transaction, a prepared insert; one query to read.
    static QVector<QPair<QString, QByteArray>> rawSqlite(const QString& path, const QVector<QPair<QString, QByteArray>>& items)
    {
        const QString connection = QStringLiteral("kx-bench-floor");
        QVector<QPair<QString, QByteArray>> read;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
            db.setDatabaseName(path);
            if (!db.open()) {
                QTest::qFail(qPrintable(db.lastError().text()), __FILE__, __LINE__);
                return read;
            }
            QSqlQuery query(db);
            query.exec(QStringLiteral("CREATE TABLE items (name TEXT NOT NULL, data BLOB NOT NULL)"));
            db.transaction();
            query.prepare(QStringLiteral("INSERT INTO items (name, data) VALUES (?, ?)"));
            for (const auto& item : items) {
                query.addBindValue(item.first);
                query.addBindValue(item.second);
                query.exec();
            }
            if (!db.commit())
                QTest::qFail(qPrintable(db.lastError().text()), __FILE__, __LINE__);
            db.close();
        }
        QSqlDatabase::removeDatabase(connection);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
            db.setDatabaseName(path);
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
            if (db.open()) {
                QSqlQuery query(QStringLiteral("SELECT name, data FROM items ORDER BY rowid"), db);
                while (query.next())
                    read.append({query.value(0).toString(), query.value(1).toByteArray()});
                db.close();
            }
        }
        QSqlDatabase::removeDatabase(connection);
        return read;
    }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    QStringList arguments = app.arguments();
    if (arguments.value(1) == QLatin1String("--memory-child"))
        return memoryChild(arguments.mid(2));

    Options options;
    QStringList testArguments{arguments.value(0)};
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--repetitions") && i + 1 < arguments.size())
            options.repetitions = std::max(1, arguments.at(++i).toInt());
        else if (argument == QLatin1String("--markdown") && i + 1 < arguments.size())
            options.markdown = arguments.at(++i);
        else if (argument == QLatin1String("--full-burst"))
            options.fullBurst = true;
        else if (argument != QLatin1String("S7"))   // S7 comes with every case
            testArguments.append(argument);
    }
    // QtTest ends a test function after five minutes; a case at both sizes
    // on a busy machine may take longer.
    qputenv("QTEST_FUNCTION_TIMEOUT", "3600000");
    BenchCustomList bench(options);
    return QTest::qExec(&bench, testArguments);
}

#include "bench_customlist.moc"
