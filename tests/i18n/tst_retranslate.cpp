#include "ListTestSupport.h"

#include "AxisCompareView.h"
#include "ParameterCustomList.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListRepositoryView.h"
#include "ParameterCustomListWidget.h"
#include "SelectDeviceWidget.h"

#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "HelpWidget.h"
#include "LanguageManager.h"
#include "ParameterPropertyList.h"
#include "System.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTreeWidget>

#include <functional>
#include <memory>

using TextReader = std::function<QString()>;
Q_DECLARE_METATYPE(TextReader)

namespace {

// Language changes reach the windows as posted events.
void switchTo(int language)
{
    LanguageManager::instance()->setActiveLanguage(language);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

} // namespace

class tst_Retranslate : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QWidget> mainWindow;
    std::unique_ptr<KxTest::Host> host;
    std::unique_ptr<ParameterCustomListWidget> listWindow;
    std::unique_ptr<AxisCompareView> compareView;
    QPointer<SelectDeviceWidget> deviceSelection;
    QPointer<HelpWidget> help;

private slots:
    void initTestCase()
    {
        KxTest::initTestEnvironment();
        mainWindow.reset(new QWidget);
        System::instance().setMainWindow(mainWindow.get());
        host.reset(new KxTest::Host(KxTest::project("bench")));
        ParameterCustomListRepository::instance().initialize(host.get());

        // "D01" exists on the second axis only, so the list shows a cell
        // without the parameter.
        auto* list = qobject_cast<ParameterCustomList*>(ParameterCustomListRepository::instance().createList());
        QVERIFY(list);
        list->setName(QStringLiteral("Prüfstand"));
        list->setAxes({host->axis(0, 1), host->axis(0, 2)});
        list->addEntry(QStringLiteral("A10"));
        list->addEntry(QStringLiteral("D01"));
        listWindow.reset(new ParameterCustomListWidget);
        listWindow->setParameterCustomList(list);
        listWindow->show();

        ParameterCustomListRepositoryView::instance().show();

        compareView.reset(AxisCompareView::createAxisCompareView());
        compareView->setAxisA(host->controller(0), 1);
        compareView->setAxisB(host->controller(1), 1);
        compareView->compare();
        compareView->show();

        deviceSelection = new SelectDeviceWidget(mainWindow.get());
        deviceSelection->fillDevices();
        auto* deviceTree = deviceSelection->findChild<QTreeWidget*>(QStringLiteral("deviceTree"));
        QVERIFY(deviceTree);
        // The selection's context menu is made on first use.
        emit deviceTree->customContextMenuRequested(QPoint());
        QVERIFY(deviceSelection->findChild<QMenu*>());
        deviceSelection->findChild<QMenu*>()->close();

        help = new HelpWidget(mainWindow.get());
        help->initialize(System::instance().helpSystem(QStringLiteral("i18n-test")));
        help->showHelpForId(QStringLiteral("kx.unbekannt"));
        switchTo(LanguageManager::German);
    }

    void cleanup() { switchTo(LanguageManager::German); }

    void cleanupTestCase()
    {
        compareView.reset();
        listWindow.reset();
        mainWindow.reset();
    }

    void textsFollowTheLanguage_data()
    {
        QTest::addColumn<TextReader>("read");
        QTest::addColumn<QByteArray>("context");
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QString>("argument");

        QTest::newRow("list window title")
            << TextReader([this] { return listWindow->windowTitle(); })
            << QByteArray("ParameterCustomListWidget") << QByteArray("Variable Pararameterliste - %1")
            << QStringLiteral("Prüfstand");
        QTest::newRow("list cell of an axis without the parameter")
            << TextReader([this] {
                   QTreeWidgetItem* row = listWindow->findChild<QTreeWidget*>(QStringLiteral("parameterTreeWidget"))->topLevelItem(1);
                   return row ? row->text(1) : QString();
               })
            << QByteArray("ParameterCustomListEntryItem") << QByteArray("<nicht vorhanden>") << QString();
        QTest::newRow("suite's property list in the list window")
            << TextReader([this] { return listWindow->findChild<ParameterPropertyList*>()->treeWidget()->headerItem()->text(0); })
            << QByteArray("ParameterPropertyList") << QByteArray("Eigenschaft") << QString();
        QTest::newRow("repository view title")
            << TextReader([] { return ParameterCustomListRepositoryView::instance().windowTitle(); })
            << QByteArray("ParameterCustomListRepositoryView") << QByteArray("Variable Parameterlisten") << QString();
        QTest::newRow("comparison filter check box")
            << TextReader([this] { return compareView->findChild<QCheckBox*>(QStringLiteral("differencesOnly"))->text(); })
            << QByteArray("AxisCompareView") << QByteArray("Nur Unterschiede anzeigen") << QString();
        QTest::newRow("device selection menu")
            << TextReader([this] { return deviceSelection->findChild<QMenu*>()->actions().value(0)->text(); })
            << QByteArray("SelectDeviceWidget") << QByteArray("Alle auswählen") << QString();
        QTest::newRow("help note on a missing page")
            << TextReader([this] { return help->plainText(); })
            << QByteArray("HelpWidget") << QByteArray("Keine Hilfe zu „%1“ vorhanden.") << QStringLiteral("kx.unbekannt");
    }

    // An open window shows the English catalogue's text after a switch and
    // its German original after switching back.
    void textsFollowTheLanguage()
    {
        QFETCH(TextReader, read);
        QFETCH(QByteArray, context);
        QFETCH(QByteArray, source);
        QFETCH(QString, argument);
        const auto translated = [&] {
            const QString text = QCoreApplication::translate(context.constData(), source.constData());
            return argument.isNull() ? text : text.arg(argument);
        };

        const QString german = translated();
        QCOMPARE(read(), german);
        switchTo(LanguageManager::English);
        QVERIFY2(translated() != german, "the English catalogue does not know the text");
        QCOMPARE(read(), translated());
        switchTo(LanguageManager::German);
        QCOMPARE(read(), german);
    }

    // What the user typed and the title the application gave stay, parameter
    // names follow the device data, and exactly the loaded libraries'
    // catalogues come and go.
    void switchingKeepsWhatIsNotCatalogueText()
    {
        auto* addField = listWindow->findChild<QLineEdit*>(QStringLiteral("parameterAddLineEdit"));
        QTreeWidgetItem* row = listWindow->findChild<QTreeWidget*>(QStringLiteral("parameterTreeWidget"))->topLevelItem(0);
        addField->setText(QStringLiteral("B2"));
        compareView->setWindowTitle(QStringLiteral("Prüfstand gegen Labor"));
        QVERIFY(row->text(0).contains(QStringLiteral("Nenndrehzahl")));

        switchTo(LanguageManager::English);
        QCOMPARE(addField->text(), QStringLiteral("B2"));
        QCOMPARE(compareView->windowTitle(), QStringLiteral("Prüfstand gegen Labor"));
        QVERIFY2(row->text(0).contains(QStringLiteral("Rated speed")), qPrintable(row->text(0)));
        QStringList installed = LanguageManager::instance()->installedCatalogues();
        installed.sort();
        QCOMPARE(installed, QStringList({QStringLiteral(":/translations/kxparametercustomlist_en.qm"),
                                         QStringLiteral(":/translations/kxsuite_en.qm")}));

        switchTo(LanguageManager::German);
        QVERIFY(row->text(0).contains(QStringLiteral("Nenndrehzahl")));
        QVERIFY(LanguageManager::instance()->installedCatalogues().isEmpty());
    }
};

QTEST_MAIN(tst_Retranslate)
#include "tst_retranslate.moc"
