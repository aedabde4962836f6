#include "DeviceDescription.h"
#include "DriveController.h"
#include "LanguageManager.h"
#include "ModelFixture.h"
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
    void observationIsCountedPerLivingSpaceAndElement();

private:
    ParameterSetup* setup(const char* coordinate) const
    {
        return m_controller->parameterProvider()->parameterSetup(ParameterCoordinate(QString::fromLatin1(coordinate))).data();
    }

    std::unique_ptr<QObject> m_owner;
    DriveController* m_controller = nullptr;
};

void TestModelValues::init()
{
    m_owner.reset(new QObject);
    QString error;
    const QList<DriveController*> controllers = DeviceDescription::controllersFromBytes(ModelFixture::description(), m_owner.get(), &error);
    QVERIFY2(controllers.size() == 2, qPrintable(error));
    m_controller = controllers.first();
}

void TestModelValues::cleanup()
{
    m_owner.reset();
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
    QTest::newRow("number with unit") << "A10" << 1 << 0 << "4500 1/min" << true << "4500";
    QTest::newRow("number at maximum") << "A10" << 2 << 0 << "6000" << true << "6000";
    QTest::newRow("decimal comma") << "A11" << 1 << 0 << "1,25" << true << "1.25";
    QTest::newRow("decimal comma and unit") << "A11" << 1 << 0 << "3,5 A" << true << "3.50";
    QTest::newRow("too many decimals") << "A11" << 1 << 0 << "1.255" << false << "Nachkommastelle";
    QTest::newRow("fraction for whole numbers") << "A10" << 1 << 0 << "1500.5" << false << "ganze Zahlen";
    QTest::newRow("above maximum") << "A10" << 1 << 0 << "6001" << false << "zwischen 0 und 6000 1/min";
    QTest::newRow("below minimum") << "A20" << 0 << 0 << "44.9" << false << "zwischen 45.0 und 65.0 Hz";
    QTest::newRow("not a number") << "A10" << 1 << 0 << "schnell" << false << "keine Zahl";
    QTest::newRow("number with garbage") << "A10" << 1 << 0 << "12x" << false << "keine Zahl";
    QTest::newRow("wrong unit") << "A11" << 1 << 0 << "2 V" << false << "keine Zahl";
    QTest::newRow("choice by value") << "A100" << 1 << 0 << "5" << true << "5";
    QTest::newRow("choice by German name") << "A100" << 1 << 0 << "Lage" << true << "1";
    QTest::newRow("choice by English name") << "A100" << 1 << 0 << "position" << true << "1";
    QTest::newRow("choice value not in list") << "A100" << 1 << 0 << "2" << false << "nicht in der Auswahlliste";
    QTest::newRow("choice name not in list") << "A100" << 1 << 0 << "Schnell" << false << "nicht in der Auswahlliste";
    QTest::newRow("switch Ein") << "B05" << 1 << 0 << "Ein" << true << "1";
    QTest::newRow("switch On in English") << "B05" << 2 << 0 << "on" << true << "1";
    QTest::newRow("switch by value") << "B05" << 1 << 0 << "1" << true << "1";
    QTest::newRow("switch invalid state") << "B05" << 1 << 0 << "2" << false << "Schaltzustand";
    QTest::newRow("text at maximum length") << "B06" << 1 << 0 << "ABCDEFGHIJKL" << true << "ABCDEFGHIJKL";
    QTest::newRow("text too long") << "B06" << 1 << 0 << "ABCDEFGHIJKLM" << false << "zu lang";
    QTest::newRow("text kept with blanks") << "B06" << 1 << 0 << " Hub 2 " << true << " Hub 2 ";
    QTest::newRow("read-only element") << "B07" << 1 << 0 << "10" << false << "schreibgesch";
    QTest::newRow("element without value") << "C13" << 1 << 0 << "1" << false << "keinen Wert";
    QTest::newRow("unknown element") << "A10" << 1 << 3 << "1" << false << "kein Element 3";
    QTest::newRow("array element") << "C12" << 1 << 2 << "500 ms" << true << "500";
    QTest::newRow("sparse record element") << "C13" << 2 << 5 << "2,5 s" << true << "2.500";
    QTest::newRow("per-axis parameter in living space 0") << "A10" << 0 << 0 << "100" << false << "nicht vorhanden";
    QTest::newRow("axis the controller does not have") << "A10" << 3 << 0 << "100" << false << "nicht vorhanden";
    QTest::newRow("axis outside definedIn") << "D01" << 1 << 0 << "1" << false << "nicht vorhanden";
    QTest::newRow("axis inside definedIn") << "D01" << 2 << 0 << "2" << true << "2";
    QTest::newRow("global parameter through axis 2") << "A20" << 2 << 0 << "60,5" << true << "60.5";
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
    // GIVEN a read-only provider
    ParameterSetup* s = setup("A10");
    m_controller->parameterProvider()->setReadOnly(true);
    QSignalSpy changed(m_controller->parameterProvider(), &ParameterProvider::parameterValueChanged);

    // WHEN a valid value is written
    QString refusal;
    QVERIFY(!s->setValueText(1, 0, QStringLiteral("100"), &refusal));

    // THEN nothing changes and nothing counts as writable
    QVERIFY2(refusal.contains(QStringLiteral("Ger\u00E4t ist schreibgesch\u00FCtzt")), qPrintable(refusal));
    QCOMPARE(s->valueText(1, 0, false), QStringLiteral("3000"));
    QVERIFY(!s->isWritable(1, 0));
    QCOMPARE(changed.count(), 0);

    m_controller->parameterProvider()->setReadOnly(false);
    QVERIFY(s->isWritable(1, 0));
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
    QTest::newRow("number uses a decimal point in English too") << "A11" << 0 << "7" << en << "7.00 A";
    QTest::newRow("number without unit") << "D01" << 0 << "3" << de << "3";
    QTest::newRow("record element with three decimals") << "C13" << 5 << "0.25" << de << "0.250 s";
    QTest::newRow("choice in German") << "A100" << 0 << "1" << de << "Lage";
    QTest::newRow("choice in English") << "A100" << 0 << "1" << en << "Position";
    QTest::newRow("choice without English falls back to German") << "A100" << 0 << "5" << en << "Moment";
    QTest::newRow("switch on in German") << "B05" << 0 << "1" << de << "Ein";
    QTest::newRow("switch off in German") << "B05" << 0 << "" << de << "Aus";
    QTest::newRow("switch on in English") << "B05" << 0 << "1" << en << "On";
    QTest::newRow("switch off in English") << "B05" << 0 << "" << en << "Off";
    QTest::newRow("text as is") << "B06" << 0 << "Hub 2" << en << "Hub 2";
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
    QCOMPARE(spy.first().first().toInt(), int(LanguageManager::English));
    QCOMPARE(languages->activeLanguage(), int(LanguageManager::English));
    QCOMPARE(setup("A10")->parameterText().longText(), QStringLiteral("Rated speed"));
    QCOMPARE(setup("B05")->parameterText().longText(), QStringLiteral("Haltebremse"));
    QCOMPARE(setup("C13")->elementText(1).longText(LanguageManager::German), QStringLiteral("Modus"));
    QCOMPARE(languages->languageName(LanguageManager::German), QStringLiteral("Deutsch"));
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
    QVERIFY(!a11->isChangedFromDefault(2, 0));
    QVERIFY(a11->setValueText(1, 0, QStringLiteral("1.5")));
    QVERIFY(!a11->isChangedFromDefault(1, 0));

    // Initial values of the description count as changed; per-element defaults and activity of arrays.
    QVERIFY(setup("A10")->isChangedFromDefault(1, 0));
    ParameterSetup* c12 = setup("C12");
    QCOMPARE(c12->valueText(2, 3, false), QStringLiteral("99"));
    QCOMPARE(c12->valueText(1, 3, false), QStringLiteral("40"));
    QVERIFY(c12->isActive(1, 1));
    QVERIFY(!c12->isActive(1, 2));
    QCOMPARE(c12->elementIndexList(), (QList<quint16>{0, 1, 2, 3}));

    // A record header carries no value and is left out of the value elements.
    ParameterSetup* c13 = setup("C13");
    QCOMPARE(c13->valueElementIndices(), (QSet<quint16>{1, 5}));
    QVERIFY(c13->valueText(1, 0, false).isEmpty());
    QCOMPARE(c13->helpIdentifier(5), QStringLiteral("<description>=<p>Zeit</p>"));
    QCOMPARE(c13->helpIdentifier(1), QString());
    QCOMPARE(setup("A10")->helpIdentifier(0), QStringLiteral("kxt.overview"));
    QCOMPARE(c13->choices(1).size(), 2);
    QCOMPARE(setup("B05")->choices(0).size(), 2);
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

void TestModelValues::observationIsCountedPerLivingSpaceAndElement()
{
    ParameterSetup* s = setup("C12");
    s->setObserved(1, 2, true);
    s->setObserved(1, 2, true);
    s->setObserved(2, 2, true);
    QCOMPARE(s->observedCount(1, 2), 2);
    QCOMPARE(s->observedCount(2, 2), 1);
    QCOMPARE(s->observedCount(1, 3), 0);

    s->setObserved(1, 2, false);
    s->setObserved(1, 2, false);
    s->setObserved(1, 2, false);   // never below zero
    QCOMPARE(s->observedCount(1, 2), 0);
    s->setObserved(1, 2, true);
    QCOMPARE(s->observedCount(1, 2), 1);
}

QTEST_GUILESS_MAIN(TestModelValues)
#include "tst_model_values.moc"
