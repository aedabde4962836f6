#include "TestSupport.h"

#include "AxisCompareView.h"
#include "ParameterCustomList.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListRepositoryHost.h"
#include "ParameterCustomListRepositoryView.h"
#include "ParameterCustomListWidget.h"
#include "SelectDeviceWidget.h"

#include "DeviceDescription.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "HelpSystem.h"
#include "HelpWidget.h"
#include "LanguageManager.h"
#include "ParameterPropertyList.h"
#include "System.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <functional>
#include <memory>

using TextReader = std::function<QString()>;
Q_DECLARE_METATYPE(TextReader)

namespace {

// Two invented controller types; "B20" exists only on the first, so a list
// over one axis of each shows a cell without the parameter.
const char* const description = R"({"format": "KxDeviceDescription", "version": 1, "types": [{
  "name": "KXL-5 Lader", "descriptor": "Lader 5 kW", "maxAxes": 2, "parameters": [
    {"coordinate": "A10", "name": {"de": "Hubgeschwindigkeit", "en": "Lifting speed"}, "unit": "mm/s", "max": 900, "default": 120},
    {"coordinate": "B20", "name": {"de": "Greiferkraft", "en": "Gripper force"}, "unit": "N", "max": 400, "default": 80}]
 }, {
  "name": "KXM-1 Mischer", "descriptor": "Mischer 1 kW", "maxAxes": 1, "parameters": [
    {"coordinate": "A10", "name": {"de": "Hubgeschwindigkeit", "en": "Lifting speed"}, "unit": "mm/s", "max": 300, "default": 60}]
 }], "controllers": [
  {"name": "Beladung", "type": "KXL-5 Lader", "axes": [{"number": 1, "name": "Greifer"}]},
  {"name": "Mischwerk", "type": "KXM-1 Mischer", "axes": [{"number": 1, "name": "Rührer"}]}
]})";

class Host : public ParameterCustomListRepositoryHost
{
public:
    Host()
    {
        QString error;
        m_controllers = DeviceDescription::controllersFromBytes(description, this, &error);
        if (!error.isEmpty())
            QTest::qFail(qPrintable(error), __FILE__, __LINE__);
    }
    QList<DriveController*> driveControllers() override { return m_controllers; }

private:
    QList<DriveController*> m_controllers;
};

// Language changes reach the windows as posted events.
void switchTo(int language)
{
    LanguageManager::instance()->setActiveLanguage(language);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

QStringList actionTexts(const QMenu* menu)
{
    QStringList texts;
    if (!menu)
        return texts;
    const QList<QAction*> actions = menu->actions();
    for (const QAction* action : actions) {
        if (!action->isSeparator())
            texts.append(action->text());
    }
    return texts;
}

QString translated(const char* context, const char* source, const QString& argument)
{
    const QString text = QCoreApplication::translate(context, source);
    return argument.isNull() ? text : text.arg(argument);
}

} // namespace

class tst_Retranslate : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QWidget> mainWindow;
    QPointer<Host> host;
    QPointer<ParameterCustomList> list;
    QPointer<ParameterCustomListWidget> listWindow;
    std::unique_ptr<AxisCompareView> compareView;
    QPointer<SelectDeviceWidget> deviceSelection;
    QPointer<HelpWidget> help;

private slots:
    void initTestCase()
    {
        KxTest::initTestEnvironment();
        mainWindow.reset(new QWidget);
        System::instance().setMainWindow(mainWindow.get());
        host = new Host;
        host->setParent(mainWindow.get());
        ParameterCustomListRepository::instance().initialize(host);
        const QList<DriveController*> controllers = host->driveControllers();
        QCOMPARE(controllers.size(), 2);

        list = qobject_cast<ParameterCustomList*>(ParameterCustomListRepository::instance().createList());
        QVERIFY(list);
        list->setName(QStringLiteral("Beladung prüfen"));
        list->setAxes({controllers.at(0)->axis(1), controllers.at(1)->axis(1)});
        list->addEntry(QStringLiteral("A10"));
        list->addEntry(QStringLiteral("B20"));
        listWindow = new ParameterCustomListWidget;
        listWindow->setParameterCustomList(list);
        listWindow->show();

        ParameterCustomListRepositoryView::instance().show();

        compareView.reset(AxisCompareView::createAxisCompareView());
        compareView->setAxisA(controllers.at(0), 1);
        compareView->setAxisB(controllers.at(1), 1);
        compareView->compare();
        compareView->show();

        deviceSelection = new SelectDeviceWidget(mainWindow.get());
        deviceSelection->fillDevices();
        auto* deviceTree = deviceSelection->findChild<QTreeWidget*>(QStringLiteral("deviceTree"));
        QVERIFY(deviceTree);
        // Builds the selection's context menu, which is made on first use.
        emit deviceTree->customContextMenuRequested(QPoint());
        QMenu* deviceMenu = deviceSelection->findChild<QMenu*>();
        QVERIFY(deviceMenu);
        deviceMenu->close();

        help = new HelpWidget(mainWindow.get());
        help->initialize(System::instance().helpSystem(QStringLiteral("i18n-test")));
        help->showHelpForId(QStringLiteral("kx.unbekannt"));

        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

    void cleanup()
    {
        switchTo(LanguageManager::German);
    }

    void cleanupTestCase()
    {
        compareView.reset();
        delete listWindow;
        mainWindow.reset();
    }

    void textsFollowTheLanguage_data()
    {
        QTest::addColumn<TextReader>("read");
        QTest::addColumn<QByteArray>("context");
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QString>("argument");

        const auto window = [this] { return listWindow.data(); };
        QTest::newRow("list window title")
            << TextReader([=] { return window()->windowTitle(); })
            << QByteArray("ParameterCustomListWidget") << QByteArray("Variable Pararameterliste - %1")
            << QStringLiteral("Beladung prüfen");
        QTest::newRow("list window label of the add field")
            << TextReader([=] { return window()->findChild<QLabel*>(QStringLiteral("parameterAddLabel"))->text(); })
            << QByteArray("ParameterCustomListWidget") << QByteArray("Parameter hinzufügen") << QString();
        QTest::newRow("list window hint in the add field")
            << TextReader([=] {
                   return window()->findChild<QLineEdit*>(QStringLiteral("parameterAddLineEdit"))->placeholderText();
               })
            << QByteArray("ParameterCustomListWidget") << QByteArray("Koordinate eingeben") << QString();
        QTest::newRow("list window menu")
            << TextReader([=] { return actionTexts(window()->findChild<QMenu*>()).value(1); })
            << QByteArray("ParameterCustomListWidget") << QByteArray("Liste leeren") << QString();
        QTest::newRow("list tree cell of an axis without the parameter")
            << TextReader([=] {
                   auto* tree = window()->findChild<QTreeWidget*>(QStringLiteral("parameterTreeWidget"));
                   QTreeWidgetItem* row = tree->topLevelItem(1);
                   return row ? row->text(2) : QString();
               })
            << QByteArray("ParameterCustomListEntryItem") << QByteArray("<nicht vorhanden>") << QString();
        QTest::newRow("suite's property list in the list window")
            << TextReader([=] { return window()->findChild<ParameterPropertyList*>()->treeWidget()->headerItem()->text(0); })
            << QByteArray("ParameterPropertyList") << QByteArray("Eigenschaft") << QString();
        QTest::newRow("repository view title")
            << TextReader([] { return ParameterCustomListRepositoryView::instance().windowTitle(); })
            << QByteArray("ParameterCustomListRepositoryView") << QByteArray("Variable Parameterlisten") << QString();
        QTest::newRow("repository view row for a new list")
            << TextReader([] {
                   auto* tree = ParameterCustomListRepositoryView::instance().findChild<QTreeWidget*>(QStringLiteral("listTree"));
                   for (int i = 0; i < tree->topLevelItemCount(); ++i) {
                       if (tree->topLevelItem(i)->data(0, Qt::UserRole).toString().isEmpty())
                           return tree->topLevelItem(i)->text(0);
                   }
                   return QString();
               })
            << QByteArray("ParameterCustomListRepositoryView") << QByteArray("<neue Liste>") << QString();
        QTest::newRow("comparison filter check box")
            << TextReader([this] { return compareView->findChild<QCheckBox*>(QStringLiteral("differencesOnly"))->text(); })
            << QByteArray("AxisCompareView") << QByteArray("Nur Unterschiede anzeigen") << QString();
        QTest::newRow("comparison report button")
            << TextReader([this] { return compareView->findChild<QPushButton*>(QStringLiteral("exportToHtml"))->text(); })
            << QByteArray("AxisCompareView") << QByteArray("Als Bericht exportieren") << QString();
        QTest::newRow("device selection menu")
            << TextReader([this] { return actionTexts(deviceSelection->findChild<QMenu*>()).value(0); })
            << QByteArray("SelectDeviceWidget") << QByteArray("Alle auswählen") << QString();
        QTest::newRow("help note on a missing page")
            << TextReader([this] { return help->plainText(); })
            << QByteArray("HelpWidget") << QByteArray("Keine Hilfe zu „%1“ vorhanden.") << QStringLiteral("kx.unbekannt");
    }

    // GIVEN an open window in German
    // WHEN the language is switched to English and back
    // THEN the text shows the English catalogue's translation, then the
    //      German original again.
    void textsFollowTheLanguage()
    {
        QFETCH(TextReader, read);
        QFETCH(QByteArray, context);
        QFETCH(QByteArray, source);
        QFETCH(QString, argument);

        const QString german = translated(context.constData(), source.constData(), argument);
        QCOMPARE(read(), german);

        switchTo(LanguageManager::English);
        const QString english = translated(context.constData(), source.constData(), argument);
        QVERIFY2(english != german, "the English catalogue does not know the text");
        QCOMPARE(read(), english);

        switchTo(LanguageManager::German);
        QCOMPARE(read(), german);
    }

    // GIVEN open windows with texts that do not come from the catalogues
    // WHEN the language is switched to English and back
    // THEN what the user typed and the title the application gave stay, the
    //      parameter names follow the device data, and exactly the catalogues
    //      of the loaded libraries were installed and removed again.
    void switchingKeepsWhatIsNotCatalogueText()
    {
        auto* addField = listWindow->findChild<QLineEdit*>(QStringLiteral("parameterAddLineEdit"));
        auto* tree = listWindow->findChild<QTreeWidget*>(QStringLiteral("parameterTreeWidget"));
        addField->setText(QStringLiteral("B2"));
        compareView->setWindowTitle(QStringLiteral("Beladung gegen Mischwerk"));
        QVERIFY(tree->topLevelItem(0)->text(0).contains(QStringLiteral("Hubgeschwindigkeit")));

        switchTo(LanguageManager::English);
        QCOMPARE(addField->text(), QStringLiteral("B2"));
        QCOMPARE(compareView->windowTitle(), QStringLiteral("Beladung gegen Mischwerk"));
        QVERIFY2(tree->topLevelItem(0)->text(0).contains(QStringLiteral("Lifting speed")),
                 qPrintable(tree->topLevelItem(0)->text(0)));
        QStringList installed = LanguageManager::instance()->installedCatalogues();
        installed.sort();
        QCOMPARE(installed, QStringList({QStringLiteral(":/translations/kxparametercustomlist_en.qm"),
                                         QStringLiteral(":/translations/kxsuite_en.qm")}));

        switchTo(LanguageManager::German);
        QCOMPARE(addField->text(), QStringLiteral("B2"));
        QCOMPARE(compareView->windowTitle(), QStringLiteral("Beladung gegen Mischwerk"));
        QVERIFY(tree->topLevelItem(0)->text(0).contains(QStringLiteral("Hubgeschwindigkeit")));
        QVERIFY(LanguageManager::instance()->installedCatalogues().isEmpty());
    }
};

QTEST_MAIN(tst_Retranslate)
#include "tst_retranslate.moc"
