#include "DeviceDescription.h"
#include "DriveController.h"
#include "LanguageManager.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "TestSupport.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

class TestModelValues : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }
    void init();
    void cleanup();

    void setValueText_data();
    void setValueText();
    void readOnlyDeviceRefusesEveryWrite();
    void globalParameterSharesOneValueForEveryAxis();
    void writingTheSameValueAgainEmitsNothing();
    void displayTexts_data();
    void displayTexts();
    void languageSwitch();
    void defaultsReferencesAndChangedState();
    void livingSpacesFollowAxesAndDefinedIn();
    void observationIsCounted();

private:
    ParameterSetup* setup(const char* coordinate) const
    {
        return m_controller->parameterProvider()->parameterSetup(ParameterCoordinate(QString::fromLatin1(coordinate))).data();
    }

    std::unique_ptr<KxTest::Devices> m_devices;
    DriveController* m_controller = nullptr;
};

void TestModelValues::init()
{
    m_devices.reset(new KxTest::Devices(KxTest::project("bench")));
    const QList<DriveController*> controllers = m_devices->controllers();
    QCOMPARE(controllers.size(), 2);
    m_controller = controllers.first();
}

void TestModelValues::cleanup()
{
    m_devices.reset();
    LanguageManager::instance()->setActiveLanguage(LanguageManager::German);
}

void TestModelValues::setValueText_data()
{
    QTest::addColumn<QString>("coordinate");
    QTest::addColumn<int>("livingSpace");
    QTest::addColumn<int>("element");
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("expected");   // raw value when accepted, part of the reason when refused

    QTest::newRow("number within limits") << "A10" << 1 << 0 << "4500" << true << "4500";
    QTest::newRow("decimal comma and unit") << "A11" << 1 << 0 << "3,5 A" << true << "3.50";
    QTest::newRow("too many decimals") << "A11" << 1 << 0 << "1.255" << false << "Nachkommastelle";
    QTest::newRow("above maximum") << "A10" << 1 << 0 << "6001" << false << "zwischen 0 und 6000 1/min";
    QTest::newRow("not a number") << "A10" << 1 << 0 << "schnell" << false << "keine Zahl";
    QTest::newRow("choice by English name") << "A100" << 1 << 0 << "position" << true << "1";
    QTest::newRow("choice value not in list") << "A100" << 1 << 0 << "2" << false << "nicht in der Auswahlliste";
    QTest::newRow("switch On in English") << "B05" << 2 << 0 << "on" << true << "1";
    QTest::newRow("switch invalid state") << "B05" << 1 << 0 << "2" << false << "Schaltzustand";
    QTest::newRow("text too long") << "B06" << 1 << 0 << "ABCDEFGHIJKLM" << false << "zu lang";
    QTest::newRow("read-only element") << "B07" << 1 << 0 << "10" << false << "schreibgesch";
    QTest::newRow("element without value") << "C13" << 1 << 0 << "1" << false << "keinen Wert";
    QTest::newRow("unknown element") << "A10" << 1 << 3 << "1" << false << "kein Element 3";
    QTest::newRow("array element") << "C12" << 1 << 2 << "500 ms" << true << "500";
    QTest::newRow("sparse record element") << "C13" << 2 << 5 << "2,5 s" << true << "2.500";
    QTest::newRow("axis the controller does not have") << "A10" << 3 << 0 << "100" << false << "nicht vorhanden";
    QTest::newRow("axis outside definedIn") << "D01" << 1 << 0 << "1" << false << "nicht vorhanden";
    QTest::newRow("global parameter through no living space") << "A20" << int(LivingSpaceNone) << 0 << "47" << true << "47.0";
}

void TestModelValues::setValueText()
{
    QFETCH(QString, coordinate);
    QFETCH(int, livingSpace);
    QFETCH(int, element);
    QFETCH(QString, input);
    QFETCH(bool, accepted);
    QFETCH(QString, expected);

    // GIVEN a set-up of the controller and its current raw value
    ParameterSetup* s = setup(qPrintable(coordinate));
    QVERIFY(s);
    const QString before = s->valueText(livingSpace, quint16(element), false);
    QSignalSpy changed(m_controller->parameterProvider(), &ParameterProvider::parameterValueChanged);

    // WHEN the text is checked and written
    const QString checkResult = s->checkValueText(livingSpace, quint16(element), input);
    QString refusal;
    const bool result = s->setValueText(livingSpace, quint16(element), input, &refusal);

    // THEN check and write agree; an accepted text is stored in raw form, a
    // refused one leaves the value alone and says why in German
    QCOMPARE(result, accepted);
    QCOMPARE(checkResult, refusal);
    if (accepted) {
        QVERIFY2(refusal.isEmpty(), qPrintable(refusal));
        QCOMPARE(s->valueText(livingSpace, quint16(element), false), expected);
        QCOMPARE(changed.count(), before == expected ? 0 : 1);
        if (!changed.isEmpty())
            QCOMPARE(changed.first().first().value<ParameterAddress>(), s->address(livingSpace, quint16(element)));
    } else {
        QVERIFY2(refusal.contains(expected), qPrintable(refusal));
        QCOMPARE(s->valueText(livingSpace, quint16(element), false), before);
        QCOMPARE(changed.count(), 0);
        QVERIFY(!m_controller->needSave());
    }
}

void TestModelValues::readOnlyDeviceRefusesEveryWrite()
{
    ParameterSetup* s = setup("A10");
    m_controller->parameterProvider()->setReadOnly(true);
    QSignalSpy changed(m_controller->parameterProvider(), &ParameterProvider::parameterValueChanged);

    QString refusal;
    QVERIFY(!s->setValueText(1, 0, QStringLiteral("100"), &refusal));

    QVERIFY2(refusal.contains(QStringLiteral("Ger\u00E4t ist schreibgesch\u00FCtzt")), qPrintable(refusal));
    QCOMPARE(s->valueText(1, 0, false), QStringLiteral("3000"));
    QVERIFY(!s->isWritable(1, 0));
    QCOMPARE(changed.count(), 0);

    m_controller->parameterProvider()->setReadOnly(false);
    QVERIFY(s->setValueText(1, 0, QStringLiteral("100")));
}

void TestModelValues::globalParameterSharesOneValueForEveryAxis()
{
    ParameterSetup* s = setup("A20");
    QCOMPARE(s->valueText(1, 0, false), QStringLiteral("60.0"));   // initial value of the description

    QSignalSpy changed(m_controller->parameterProvider(), &ParameterProvider::parameterValueChanged);
    QVERIFY(s->setValueText(2, 0, QStringLiteral("55")));

    for (eLivingSpace space : {0, 1, 2, 7, int(LivingSpaceNone)})
        QCOMPARE(s->valueText(space, 0, true), QStringLiteral("55.0 Hz"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().first().value<ParameterAddress>().livingSpace(), LivingSpaceDevice);
    QCOMPARE(s->livingSpaces(), QList<eLivingSpace>{LivingSpaceDevice});
}

void TestModelValues::writingTheSameValueAgainEmitsNothing()
{
    ParameterSetup* s = setup("A11");
    QSignalSpy changed(m_controller->parameterProvider(), &ParameterProvider::parameterValueChanged);
    QSignalSpy needSave(m_controller, &DriveController::needSaveChanged);

    QVERIFY(s->setValueText(1, 0, QStringLiteral("2.5")));
    QVERIFY(s->setValueText(1, 0, QStringLiteral("2,50 A")));   // same value in another form
    QVERIFY(s->setValueText(1, 0, QStringLiteral("2.50")));

    QCOMPARE(changed.count(), 1);
    QCOMPARE(needSave.count(), 1);
    QCOMPARE(needSave.first().first().toBool(), true);
}

void TestModelValues::displayTexts_data()
{
    QTest::addColumn<QString>("coordinate");
    QTest::addColumn<int>("element");
    QTest::addColumn<QString>("raw");          // written first unless empty
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("display");

    const int de = LanguageManager::German;
    const int en = LanguageManager::English;
    QTest::newRow("number with decimals and unit") << "A11" << 0 << "1.5" << de << "1.50 A";
    QTest::newRow("record element with three decimals") << "C13" << 5 << "0.25" << de << "0.250 s";
    QTest::newRow("choice in English") << "A100" << 0 << "1" << en << "Position";
    QTest::newRow("choice without English falls back to German") << "A100" << 0 << "5" << en << "Moment";
    QTest::newRow("switch on in German") << "B05" << 0 << "1" << de << "Ein";
    QTest::newRow("switch off in English") << "B05" << 0 << "" << en << "Off";
    QTest::newRow("array default") << "C12" << 1 << "" << de << "20 ms";
}

void TestModelValues::displayTexts()
{
    QFETCH(QString, coordinate);
    QFETCH(int, element);
    QFETCH(QString, raw);
    QFETCH(int, language);
    QFETCH(QString, display);

    ParameterSetup* s = setup(qPrintable(coordinate));
    const eLivingSpace space = s->isDefinedIn(2) ? 2 : 0;
    if (!raw.isEmpty())
        QVERIFY(s->setValueText(space, quint16(element), raw));
    LanguageManager::instance()->setActiveLanguage(language);

    QCOMPARE(s->valueText(space, quint16(element), true), display);
    // The display text is accepted as input and means the same value.
    const QString before = s->valueText(space, quint16(element), false);
    QVERIFY(s->setValueText(space, quint16(element), display));
    QCOMPARE(s->valueText(space, quint16(element), false), before);
}

void TestModelValues::languageSwitch()
{
    LanguageManager* languages = LanguageManager::instance();
    QSignalSpy spy(languages, &LanguageManager::activeLanguageChanged);

    languages->setActiveLanguage(LanguageManager::English);
    languages->setActiveLanguage(LanguageManager::English);
    languages->setActiveLanguage(7);

    QCOMPARE(spy.count(), 1);
    QCOMPARE(languages->activeLanguage(), int(LanguageManager::English));
    QCOMPARE(setup("A10")->parameterText().longText(), QStringLiteral("Rated speed"));
    QCOMPARE(setup("B05")->parameterText().longText(), QStringLiteral("Haltebremse"));
}

void TestModelValues::defaultsReferencesAndChangedState()
{
    ParameterSetup* a11 = setup("A11");
    QCOMPARE(a11->defaultValueText(0, true), QStringLiteral("1.50 A"));
    QCOMPARE(a11->referenceValueText(1, 0, false), QStringLiteral("2.00"));
    QVERIFY(!a11->isChangedFromDefault(1, 0));

    // GIVEN a changed value WHEN the default is written back THEN it is unchanged again
    QVERIFY(a11->setValueText(1, 0, QStringLiteral("3")));
    QVERIFY(a11->isChangedFromDefault(1, 0));
    QVERIFY(a11->setValueText(1, 0, QStringLiteral("1.5")));
    QVERIFY(!a11->isChangedFromDefault(1, 0));

    // Initial values of the description count as changed; per-element defaults and activity of arrays.
    QVERIFY(setup("A10")->isChangedFromDefault(1, 0));
    ParameterSetup* c12 = setup("C12");
    QCOMPARE(c12->valueText(2, 3, false), QStringLiteral("99"));
    QCOMPARE(c12->valueText(1, 3, false), QStringLiteral("40"));
    QVERIFY(!c12->isActive(1, 2));

    // A record header carries no value and is left out of the value elements.
    ParameterSetup* c13 = setup("C13");
    QCOMPARE(c13->valueElementIndices(), (QSet<quint16>{1, 5}));
    QVERIFY(c13->valueText(1, 0, false).isEmpty());
    QCOMPARE(c13->helpIdentifier(5), QStringLiteral("<description>=<p>Zeit</p>"));
    QCOMPARE(setup("B07")->elementLevel(0), 2u);
}

void TestModelValues::livingSpacesFollowAxesAndDefinedIn()
{
    ParameterSetup* a10 = setup("A10");
    QCOMPARE(a10->livingSpaces(), (QList<eLivingSpace>{1, 2}));
    QCOMPARE(setup("D01")->livingSpaces(), QList<eLivingSpace>{2});
    QVERIFY(a10->valueText(3, 0, false).isEmpty());

    // WHEN an axis is added THEN per-axis parameters have values there, with defaults
    QVERIFY(m_controller->addAxis(3, QStringLiteral("Neu")));
    QCOMPARE(a10->livingSpaces(), (QList<eLivingSpace>{1, 2, 3}));
    QCOMPARE(a10->valueText(3, 0, false), QStringLiteral("1500"));
    QVERIFY(a10->isWritable(3, 0));
    QVERIFY(!setup("D01")->isDefinedIn(3));

    // WHEN it is removed again THEN the living space has no values any more
    QVERIFY(m_controller->removeAxis(3));
    QVERIFY(a10->valueText(3, 0, true).isEmpty());
    QVERIFY(!a10->isActive(3, 0));
}

void TestModelValues::observationIsCounted()
{
    // Counted per living space and element, never below zero.
    ParameterSetup* s = setup("C12");
    s->setObserved(1, 2, true);
    s->setObserved(1, 2, true);
    s->setObserved(2, 2, true);
    QCOMPARE(s->observedCount(1, 2), 2);
    QCOMPARE(s->observedCount(2, 2), 1);
    for (int i = 0; i < 3; ++i)
        s->setObserved(1, 2, false);
    s->setObserved(1, 2, true);
    QCOMPARE(s->observedCount(1, 2), 1);
}

QTEST_GUILESS_MAIN(TestModelValues)
#include "tst_model_values.moc"
