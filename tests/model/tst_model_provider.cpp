#include "DeviceDescription.h"
#include "DeviceType.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "LanguageManager.h"
#include "ParameterDefinition.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "TestSupport.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

const ParameterCoordinate A10(QStringLiteral("A10"));
const ParameterCoordinate A20(QStringLiteral("A20"));
const ParameterCoordinate B06(QStringLiteral("B06"));
const ParameterCoordinate C12(QStringLiteral("C12"));
const ParameterCoordinate Z10(QStringLiteral("Z10"));

QStringList texts(const QList<ParameterCoordinate>& coordinates)
{
    QStringList result;
    for (const ParameterCoordinate& c : coordinates)
        result.append(c.toText());
    return result;
}

QStringList addresses(const QSignalSpy& spy)
{
    QStringList result;
    for (const QList<QVariant>& arguments : spy)
        result.append(arguments.first().value<ParameterAddress>().toText());
    return result;
}

ParameterDescription simpleNumber(const ParameterCoordinate& coordinate, double maximum)
{
    ParameterDescription description;
    description.coordinate = coordinate;
    description.text = ParameterText(QStringLiteral("Zusatz"), QStringLiteral("Extra"));
    ParameterElementDescription element;
    element.maximum = maximum;
    description.elements.append(element);
    return description;
}

// A record numbered with gaps and listed out of order, whose texts are not
// in raw form: 9 a number, 2 a switch, 40 free text, 5 a header without value.
ParameterDescription handMadeRecord(const ParameterCoordinate& coordinate)
{
    ParameterDescription description;
    description.coordinate = coordinate;
    description.structure = ParameterDescription::Record;
    description.text = ParameterText(QStringLiteral("Handgemacht"));
    ParameterElementDescription number;
    number.index = 9;
    number.unit = QStringLiteral("A");
    number.maximum = 10;
    number.decimals = 2;
    number.defaultValue = QStringLiteral(" 3,5 A");
    number.referenceValue = QStringLiteral("20");   // outside the limits: the default is the reference
    ParameterElementDescription brake;
    brake.index = 2;
    brake.kind = ValueKindSwitch;
    brake.defaultValue = QStringLiteral("");        // no switch state: off
    brake.referenceValue = QStringLiteral("ein");
    ParameterElementDescription label;
    label.index = 40;
    label.kind = ValueKindText;
    label.maximum = 8;
    label.referenceValue = QStringLiteral("Band");
    ParameterElementDescription header;
    header.index = 5;
    header.hasValue = false;
    description.elements = {number, brake, label, header};
    return description;
}

// The default and reference texts of every value element, raw and shown, null marked.
QStringList canonicalTexts(const ParameterSetup* setup, eLivingSpace space)
{
    QList<quint16> elements = setup->valueElementIndices().values();
    std::sort(elements.begin(), elements.end());
    QStringList result;
    for (quint16 e : qAsConst(elements)) {
        for (const QString& text : {setup->defaultValueText(e, false), setup->defaultValueText(e, true),
                                    setup->referenceValueText(space, e, false), setup->referenceValueText(space, e, true)})
            result.append(text.isNull() ? QStringLiteral("<null>") : text);
    }
    return result;
}

} // namespace

// The drive model on the test bench: "Prüfstand" (offline, axes 1 and 2) and "Labor" (online, read-only).
class TestModelProvider : public QObject
{
    Q_OBJECT

    std::unique_ptr<KxTest::Devices> m_devices;
    DriveController* m_controller = nullptr;
    DriveController* m_online = nullptr;
    ParameterProvider* m_provider = nullptr;

    ParameterSetup* setup(const QString& coordinate) const { return KxTest::setupOf(m_controller, coordinate); }

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }
    void init()
    {
        m_devices.reset(new KxTest::Devices(KxTest::project("bench")));
        QCOMPARE(m_devices->controllers().size(), 2);
        m_controller = m_devices->controller(0);
        m_online = m_devices->controller(1);
        m_provider = m_controller->parameterProvider();
    }
    void cleanup()
    {
        m_devices.reset();
        LanguageManager::instance()->setActiveLanguage(LanguageManager::German);
    }

    void setValueText_data()
    {
        QTest::addColumn<QString>("coordinate");
        QTest::addColumn<int>("livingSpace");
        QTest::addColumn<int>("element");
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("expected");   // raw value when accepted, part of the reason when refused

        QTest::newRow("number within limits") << "A10" << 1 << 0 << "4500" << true << "4500";
        QTest::newRow("decimal comma and unit") << "A11" << 1 << 0 << "3,5 A" << true << "3.50";
        QTest::newRow("same value in another form") << "A10" << 1 << 0 << "3000 1/min" << true << "3000";
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
        QTest::newRow("sparse record element") << "C13" << 2 << 5 << "2,5 s" << true << "2.500";
        QTest::newRow("axis outside definedIn") << "D01" << 1 << 0 << "1" << false << "nicht vorhanden";
        QTest::newRow("global parameter through no living space") << "A20" << int(LivingSpaceNone) << 0 << "47" << true << "47.0";
        QTest::newRow("read-only device") << "A10" << -1 << 0 << "100" << false << "Gerät ist schreibgeschützt";
    }

    void setValueText()
    {
        QFETCH(QString, coordinate);
        QFETCH(int, livingSpace);
        QFETCH(int, element);
        QFETCH(QString, input);
        QFETCH(bool, accepted);
        QFETCH(QString, expected);

        // GIVEN a set-up and its current raw value (-1: axis 1 of the read-only controller)
        DriveController* controller = livingSpace == -1 ? m_online : m_controller;
        livingSpace = livingSpace == -1 ? 1 : livingSpace;
        ParameterSetup* s = KxTest::setupOf(controller, coordinate);
        const quint16 e = quint16(element);
        const QString before = s->valueText(livingSpace, e, false);
        QSignalSpy changed(controller->parameterProvider(), &ParameterProvider::parameterValueChanged);
        QSignalSpy needSave(controller, &DriveController::needSaveChanged);

        // WHEN the text is checked and written THEN check and write agree
        const QString checkResult = s->checkValueText(livingSpace, e, input);
        QString refusal;
        QCOMPARE(s->setValueText(livingSpace, e, input, &refusal), accepted);
        QCOMPARE(checkResult, refusal);
        if (accepted) {
            // AND an accepted text is stored raw; only a real change is signalled, with its address
            QVERIFY2(refusal.isEmpty(), qPrintable(refusal));
            QCOMPARE(s->valueText(livingSpace, e, false), expected);
            QCOMPARE(addresses(changed), before == expected ? QStringList() : QStringList{s->address(livingSpace, e).toText()});
            QCOMPARE(needSave.count(), changed.count());
        } else {
            // AND a refused one leaves the value alone and says why in German
            QVERIFY2(refusal.contains(expected), qPrintable(refusal));
            QCOMPARE(s->valueText(livingSpace, e, false), before);
            QCOMPARE(changed.count() + needSave.count(), 0);
        }
    }

    void displayTexts_data()
    {
        QTest::addColumn<QString>("coordinate");
        QTest::addColumn<int>("element");
        QTest::addColumn<QString>("raw");   // written first unless empty
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("display");

        const int de = LanguageManager::German, en = LanguageManager::English;
        QTest::newRow("number with decimals and unit") << "A11" << 0 << "1.5" << de << "1.50 A";
        QTest::newRow("choice in English") << "A100" << 0 << "1" << en << "Position";
        QTest::newRow("choice without English falls back to German") << "A100" << 0 << "5" << en << "Moment";
        QTest::newRow("switch off in English") << "B05" << 0 << "" << en << "Off";
        QTest::newRow("array default") << "C12" << 1 << "" << de << "20 ms";
    }

    void displayTexts()
    {
        QFETCH(QString, coordinate);
        QFETCH(int, element);
        QFETCH(QString, raw);
        QFETCH(int, language);
        QFETCH(QString, display);

        ParameterSetup* s = setup(coordinate);
        const eLivingSpace space = s->isDefinedIn(2) ? 2 : 0;
        const quint16 e = quint16(element);
        if (!raw.isEmpty())
            QVERIFY(s->setValueText(space, e, raw));
        LanguageManager::instance()->setActiveLanguage(language);
        QCOMPARE(s->valueText(space, e, true), display);
        // The display text is accepted as input and means the same value.
        const QString before = s->valueText(space, e, false);
        QVERIFY(s->setValueText(space, e, display));
        QCOMPARE(s->valueText(space, e, false), before);
    }

    void languageSwitch()
    {
        // Only a change to a known language is announced; names follow, falling back to German.
        LanguageManager* languages = LanguageManager::instance();
        QSignalSpy spy(languages, &LanguageManager::activeLanguageChanged);
        for (int language : {int(LanguageManager::English), int(LanguageManager::English), 7})
            languages->setActiveLanguage(language);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(languages->activeLanguage(), int(LanguageManager::English));
        QCOMPARE(setup(QStringLiteral("A10"))->parameterText().longText(), QStringLiteral("Rated speed"));
        QCOMPARE(setup(QStringLiteral("B05"))->parameterText().longText(), QStringLiteral("Haltebremse"));
    }

    void defaultsReferencesAndState()
    {
        ParameterSetup* a11 = setup(QStringLiteral("A11"));
        QCOMPARE(a11->defaultValueText(0, true), QStringLiteral("1.50 A"));
        QCOMPARE(a11->referenceValueText(1, 0, false), QStringLiteral("2.00"));
        // Writing the default back makes a value unchanged again; initial values of the description count as changed.
        QVERIFY(a11->setValueText(1, 0, QStringLiteral("3")));
        QVERIFY(a11->isChangedFromDefault(1, 0));
        QVERIFY(a11->setValueText(1, 0, QStringLiteral("1.5")));
        QVERIFY(!a11->isChangedFromDefault(1, 0));
        QVERIFY(setup(QStringLiteral("A10"))->isChangedFromDefault(1, 0));

        // Per-element defaults and activity of arrays; a record header carries no value.
        ParameterSetup* c12 = setup(QStringLiteral("C12"));
        QCOMPARE(c12->valueText(2, 3, false), QStringLiteral("99"));
        QCOMPARE(c12->valueText(1, 3, false), QStringLiteral("40"));
        QVERIFY(!c12->isActive(1, 2));
        ParameterSetup* c13 = setup(QStringLiteral("C13"));
        QCOMPARE(c13->valueElementIndices(), (QSet<quint16>{1, 5}));
        QVERIFY(c13->valueText(1, 0, false).isEmpty());
        QCOMPARE(c13->helpIdentifier(5), QStringLiteral("<description>=<p>Zeit</p>"));
        QCOMPARE(setup(QStringLiteral("B07"))->elementLevel(0), 2u);

        // A global parameter has one value for every axis, signalled for the device.
        ParameterSetup* a20 = setup(QStringLiteral("A20"));
        QCOMPARE(a20->valueText(1, 0, false), QStringLiteral("60.0"));
        QSignalSpy changed(m_provider, &ParameterProvider::parameterValueChanged);
        QVERIFY(a20->setValueText(2, 0, QStringLiteral("55")));
        for (eLivingSpace space : {0, 1, 2, 7, int(LivingSpaceNone)})
            QCOMPARE(a20->valueText(space, 0, true), QStringLiteral("55.0 Hz"));
        QCOMPARE(addresses(changed), QStringList{QStringLiteral("0.A20[0]")});
        QCOMPARE(a20->livingSpaces(), QList<eLivingSpace>{LivingSpaceDevice});

        // Observation is counted per living space and element, never below zero.
        c12->setObserved(1, 2, true);
        c12->setObserved(2, 2, true);
        for (int i = 0; i < 3; ++i)
            c12->setObserved(1, 2, false);
        c12->setObserved(1, 2, true);
        QCOMPARE(c12->observedCount(1, 2), 1);
        QCOMPARE(c12->observedCount(2, 2), 1);
    }

    void defaultsAndReferencesAgreeAcrossControllersOfADescription()
    {
        // GIVEN two controllers of one synthetic description, and a third of a type made
        // by hand from copies of its parameters
        KxTest::Devices devices(syntheticDeviceDescription(300, 2, 2, 11));
        DriveController* first = devices.controller(0);
        DriveController* second = devices.controller(1);
        QCOMPARE(first->type(), second->type());
        auto copied = QSharedPointer<DeviceType>::create(*first->type());
        for (auto& parameter : copied->parameters) {
            auto copy = QSharedPointer<ParameterDescription>::create(*parameter);
            copy->elements.detach();
            parameter = copy;
        }
        DriveController third(copied, QStringLiteral("Nachbau"));
        for (int axis : first->axisNumbers())
            QVERIFY(third.addAxis(axis, QStringLiteral("Achse")));

        // THEN every parameter's defaults and references are the same on all three
        int compared = 0;
        for (const ParameterCoordinate& coordinate : first->parameterProvider()->allCoordinates()) {
            const ParameterSetup* a = first->parameterProvider()->parameterSetup(coordinate);
            const ParameterSetup* b = second->parameterProvider()->parameterSetup(coordinate);
            const ParameterSetup* c = third.parameterProvider()->parameterSetup(coordinate);
            QVERIFY(a && b && c);
            QCOMPARE(&a->description(), &b->description());
            const eLivingSpace space = a->livingSpaces().first();
            const QStringList expected = canonicalTexts(c, space);
            QCOMPARE(canonicalTexts(a, space), expected);
            QCOMPARE(canonicalTexts(b, space), expected);
            QCOMPARE(a->valueElementIndices(), c->valueElementIndices());
            compared += expected.size();
        }
        QVERIFY(compared > 1000);

        // WHEN values leave their default on one controller and are reset
        const ParameterSetup* watched = second->parameterProvider()->parameterSetup(second->parameterProvider()->allCoordinates().first());
        const QStringList before = canonicalTexts(watched, watched->livingSpaces().first());
        int written = 0;
        for (const ParameterCoordinate& coordinate : first->parameterProvider()->allCoordinates()) {
            ParameterSetup* a = first->parameterProvider()->parameterSetup(coordinate);
            ParameterSetup* b = second->parameterProvider()->parameterSetup(coordinate);
            const eLivingSpace space = a->livingSpaces().first();
            for (quint16 e : a->valueElementIndices()) {
                const QString reference = a->referenceValueText(space, e, false);
                const QString initial = a->defaultValueText(e, false);
                const QString other = b->valueText(space, e, false);
                if (!a->isWritable(space, e) || reference == initial)
                    continue;
                QVERIFY(a->setValueText(space, e, reference));
                QVERIFY(a->isChangedFromDefault(space, e));
                // THEN neither the default, the reference nor the other controller move
                QCOMPARE(a->defaultValueText(e, false), initial);
                QCOMPARE(b->referenceValueText(space, e, false), reference);
                QCOMPARE(b->valueText(space, e, false), other);
                QVERIFY(a->setValueText(space, e, a->defaultValueText(e, true)));
                QVERIFY(!a->isChangedFromDefault(space, e));
                QCOMPARE(a->valueText(space, e, false), initial);
                ++written;
            }
        }
        QVERIFY(written > 10);
        QCOMPARE(canonicalTexts(watched, watched->livingSpaces().first()), before);
    }

    void handMadeDescriptionWithGapsOutOfOrder()
    {
        // GIVEN the record added to a controller, and a type made of it for another
        m_provider->addParameter(handMadeRecord(Z10));
        ParameterSetup* added = m_provider->parameterSetup(Z10);
        auto type = QSharedPointer<DeviceType>::create();
        type->name = QStringLiteral("Handgemacht");
        type->parameters.append(QSharedPointer<const ParameterDescription>::create(handMadeRecord(Z10)));
        DriveController own(type, QStringLiteral("Eigenbau"));
        QVERIFY(own.addAxis(1, QStringLiteral("Achse")));
        ParameterSetup* typed = own.parameterProvider()->parameterSetup(Z10);

        for (ParameterSetup* s : {added, typed}) {
            // THEN both know the same elements, defaults and references in raw form
            QCOMPARE(s->valueElementIndices(), (QSet<quint16>{2, 9, 40}));
            QCOMPARE(canonicalTexts(s, 1),
                     (QStringList{"0", "Aus", "1", "Ein", "3.50", "3.50 A", "3.50", "3.50 A", "<null>", "<null>", "Band", "Band"}));
            QCOMPARE(s->valueText(1, 9, false), QStringLiteral("3.50"));
            QVERIFY(s->valueText(1, 5, false).isEmpty() && s->valueText(1, 3, false).isEmpty());
            QVERIFY(s->referenceValueText(1, 5, false).isEmpty() && s->defaultValueText(3, false).isEmpty());
            // AND a written value counts as changed until the default is written back in any form
            QVERIFY(s->setValueText(1, 9, QStringLiteral("4")));
            QVERIFY(s->setValueText(1, 40, QStringLiteral("Hub")));
            QVERIFY(s->isChangedFromDefault(1, 9) && s->isChangedFromDefault(1, 40));
            QVERIFY(s->setValueText(1, 9, QStringLiteral("3,50")));
            QVERIFY(s->setValueText(1, 40, QString()));
            QVERIFY(!s->isChangedFromDefault(1, 9) && !s->isChangedFromDefault(1, 40));
            QCOMPARE(s->defaultValueText(9, false), QStringLiteral("3.50"));
        }

        // WHEN the parameter is redefined from a copy with another default
        ParameterDescription redefined = added->description();
        redefined.elements[0].defaultValue = QStringLiteral("7");
        m_provider->addParameter(redefined);
        // THEN the new set-up takes it, also as its reference, and the other controller keeps its own
        ParameterSetup* again = m_provider->parameterSetup(Z10);
        QCOMPARE(again->defaultValueText(9, true), QStringLiteral("7.00 A"));
        QCOMPARE(again->referenceValueText(1, 9, false), QStringLiteral("7.00"));
        QCOMPARE(again->valueText(1, 9, false), QStringLiteral("7.00"));
        QCOMPARE(typed->defaultValueText(9, false), QStringLiteral("3.50"));
        // AND so does a controller of a type holding the copy
        auto rebuiltType = QSharedPointer<DeviceType>::create(*type);
        rebuiltType->parameters = {QSharedPointer<const ParameterDescription>::create(redefined)};
        DriveController rebuilt(rebuiltType, QStringLiteral("Umbau"));
        QVERIFY(rebuilt.addAxis(1, QStringLiteral("Achse")));
        QCOMPARE(canonicalTexts(rebuilt.parameterProvider()->parameterSetup(Z10), 1), canonicalTexts(again, 1));
    }

    void observationCounts()
    {
        // GIVEN a per-axis array observed out of order, also through living spaces without values,
        // and a global parameter observed through two living spaces
        ParameterSetup* c12 = setup(QStringLiteral("C12"));
        ParameterSetup* a20 = setup(QStringLiteral("A20"));
        const QList<QPair<eLivingSpace, quint16>> places{{2, 3}, {1, 3}, {1, 0}, {LivingSpaceNone, 3}, {2, 0}, {0, 3}};
        for (const auto& place : places)
            c12->setObserved(place.first, place.second, true);
        c12->setObserved(2, 3, true);
        for (eLivingSpace space : {1, 1, 0})
            a20->setObserved(space, 0, true);
        QCOMPARE(c12->observedCount(2, 3), 2);
        for (const auto& place : places.mid(1))
            QCOMPARE(c12->observedCount(place.first, place.second), 1);
        QCOMPARE(c12->observedCount(1, 1) + c12->observedCount(3, 3) + c12->observedCount(2, 2), 0);
        // Counted per living space as passed, although they share one value.
        QCOMPARE(QList<int>({a20->observedCount(1, 0), a20->observedCount(0, 0), a20->observedCount(2, 0)}), QList<int>({2, 1, 0}));

        // WHEN counts go down further than up THEN they stop at zero, the others stay,
        // and observing again starts from one
        for (int i = 0; i < 3; ++i) {
            c12->setObserved(1, 3, false);
            a20->setObserved(2, 0, false);
        }
        c12->setObserved(2, 3, false);
        QCOMPARE(c12->observedCount(1, 3) + a20->observedCount(2, 0), 0);
        QCOMPARE(c12->observedCount(2, 3), 1);
        QCOMPARE(c12->observedCount(LivingSpaceNone, 3) + c12->observedCount(1, 0) + c12->observedCount(0, 3), 3);
        QCOMPARE(a20->observedCount(1, 0), 2);
        c12->setObserved(1, 3, true);
        QCOMPARE(c12->observedCount(1, 3), 1);
        // AND releasing every place leaves nothing observed
        for (const auto& place : places)
            c12->setObserved(place.first, place.second, false);
        for (const auto& place : places)
            QCOMPARE(c12->observedCount(place.first, place.second), 0);
    }

    void livingSpacesFollowAxesAndDefinedIn()
    {
        ParameterSetup* a10 = setup(QStringLiteral("A10"));
        QCOMPARE(a10->livingSpaces(), (QList<eLivingSpace>{1, 2}));
        QCOMPARE(setup(QStringLiteral("D01"))->livingSpaces(), QList<eLivingSpace>{2});
        QCOMPARE(texts(m_provider->allCoordinates()),
                 (QStringList{"A10", "A11", "A20", "A100", "B05", "B06", "B07", "C12", "C13", "D01"}));
        QCOMPARE(texts(m_provider->parameterCoordinates(0)), QStringList{"A20"});
        QVERIFY(!texts(m_provider->parameterCoordinates(1)).contains(QStringLiteral("D01")));
        QVERIFY(texts(m_provider->parameterCoordinates(2)).contains(QStringLiteral("D01")));
        QCOMPARE(texts(m_provider->parameterCoordinates(4)), QStringList{"A20"});   // an axis the controller lacks

        // WHEN an axis is added THEN per-axis parameters have values there, with defaults
        QVERIFY(a10->valueText(3, 0, false).isEmpty());
        QVERIFY(!a10->isDefinedIn(3));
        QVERIFY(m_controller->addAxis(3, QStringLiteral("Neu")));
        QVERIFY(a10->isDefinedIn(3));
        QCOMPARE(a10->livingSpaces(), (QList<eLivingSpace>{1, 2, 3}));
        QCOMPARE(a10->valueText(3, 0, false), QStringLiteral("1500"));
        QVERIFY(a10->isWritable(3, 0));
        QVERIFY(!setup(QStringLiteral("D01"))->isDefinedIn(3));

        // WHEN it is removed again THEN the living space has no values any more
        QVERIFY(m_controller->removeAxis(3));
        QVERIFY(!a10->isDefinedIn(3));
        QVERIFY(a10->valueText(3, 0, true).isEmpty());
        QVERIFY(!a10->isActive(3, 0));

        // An axis deleted by someone else takes its living space along at once.
        QVERIFY(m_controller->addAxis(3, QStringLiteral("Neu")));
        QVERIFY(a10->isDefinedIn(3));
        delete m_controller->axis(3);
        QVERIFY(!a10->isDefinedIn(3));
        QVERIFY(a10->valueText(3, 0, true).isEmpty());
    }

    void signalsNeedSaveAndOnlineState()
    {
        QSignalSpy changed(m_provider, &ParameterProvider::parameterValueChanged);
        QSignalSpy needSave(m_controller, &DriveController::needSaveChanged);
        QVERIFY(setup(QStringLiteral("C12"))->setValueText(2, 1, QStringLiteral("77")));
        QVERIFY(setup(QStringLiteral("A10"))->setValueText(1, 0, QStringLiteral("10")));
        QCOMPARE(addresses(changed), (QStringList{"2.C12[1]", "1.A10[0]"}));
        QCOMPARE(needSave.count(), 1);
        QVERIFY(m_controller->needSave());
        m_controller->markSaved();
        m_controller->markSaved();
        QCOMPARE(needSave.count(), 2);
        QVERIFY(!m_controller->needSave());

        // The address travels through queued connections.
        QList<ParameterAddress> received;
        QObject receiver;
        connect(m_provider, &ParameterProvider::parameterValueChanged, &receiver,
                [&received](ParameterAddress address) { received.append(address); }, Qt::QueuedConnection);
        QVERIFY(setup(QStringLiteral("A20"))->setValueText(1, 0, QStringLiteral("48")));
        QVERIFY(received.isEmpty());
        QTRY_COMPARE(received.size(), 1);
        QCOMPARE(received.first().toText(), QStringLiteral("0.A20[0]"));

        // Going online and offline passes through connecting; a repeated state is not announced.
        QSignalSpy states(m_controller, &DriveController::onlineStateChanged);
        QSignalSpy online(m_provider, &ParameterProvider::onlineChanged);
        for (bool on : {true, true, false})
            m_controller->setOnline(on);
        QList<eOnlineState> sequence;
        for (const QList<QVariant>& arguments : qAsConst(states))
            sequence.append(arguments.first().value<eOnlineState>());
        QCOMPARE(sequence, (QList<eOnlineState>{OnlineStateConnecting, OnlineStateOnline, OnlineStateOffline}));
        QCOMPARE(online.count(), 2);
        QVERIFY(!m_provider->isOnline());
        QCOMPARE(m_online->onlineState(), OnlineStateOnline);
    }

    void addReplaceAndRemoveParameters()
    {
        QStringList events;
        connect(m_provider, &ParameterProvider::parameterAdded, this, [&events](ParameterCoordinate c) { events << "added " + c.toText(); });
        connect(m_provider, &ParameterProvider::parameterRemoved, this, [&events](ParameterCoordinate c) { events << "removed " + c.toText(); });

        // GIVEN a new parameter WHEN added THEN it is known, last in the catalogue
        m_provider->addParameter(simpleNumber(Z10, 5));
        QCOMPARE(events, QStringList{"added Z10"});
        QCOMPARE(m_provider->allCoordinates().last(), Z10);

        // WHEN an existing coordinate is added again THEN it is replaced in its old place, with new objects and defaults
        QVERIFY(setup(QStringLiteral("A10"))->setValueText(1, 0, QStringLiteral("10")));
        const QPointer<ParameterSetup> oldSetup = m_provider->parameterSetup(A10);
        const QPointer<ParameterDefinition> oldDefinition = m_provider->parameterDefinition(A10);
        const int position = m_provider->allCoordinates().indexOf(A10);
        m_provider->addParameter(simpleNumber(A10, 100));
        QCOMPARE(events, (QStringList{"added Z10", "removed A10", "added A10"}));
        QVERIFY(oldSetup.isNull() && oldDefinition.isNull());
        QCOMPARE(m_provider->allCoordinates().indexOf(A10), position);
        QCOMPARE(setup(QStringLiteral("A10"))->valueText(1, 0, false), QStringLiteral("0"));
        QCOMPARE(setup(QStringLiteral("A10"))->maximum(0), 100.0);

        // WHEN removed THEN its objects are gone, a second removal reports false
        const QPointer<ParameterSetup> z10 = m_provider->parameterSetup(Z10);
        QVERIFY(m_provider->removeParameter(Z10));
        QVERIFY(!m_provider->removeParameter(Z10));
        QVERIFY(z10.isNull());
        QCOMPARE(events.last(), QStringLiteral("removed Z10"));
        QVERIFY(!m_provider->allCoordinates().contains(Z10));
    }

    void driveChangeInvisibleUntilConsistenceRequest()
    {
        // GIVEN an online controller whose drive changes a value by itself THEN the software keeps its own
        m_controller->setOnline(true);
        ParameterSetup* a10 = setup(QStringLiteral("A10"));
        const ParameterAddress address(A10, 0, 1);
        QVERIFY(m_provider->simulateDriveValue(address, QStringLiteral("5000")));
        QSignalSpy changed(m_provider, &ParameterProvider::parameterValueChanged);
        QCOMPARE(a10->valueText(1, 0, false), QStringLiteral("3000"));
        QCOMPARE(m_provider->driveValueText(address), QStringLiteral("5000"));

        // WHEN a consistence request is queued by name THEN once processed the drive's value shows, signalled
        QVERIFY(QMetaObject::invokeMethod(m_provider, "parameterNeedsOnlineConsistenceOnce", Qt::QueuedConnection,
                                          Q_ARG(ParameterAddress, address)));
        QCOMPARE(a10->valueText(1, 0, false), QStringLiteral("3000"));
        QTRY_COMPARE(a10->valueText(1, 0, false), QStringLiteral("5000"));
        QCOMPARE(m_provider->consistenceRequestCount(), 1);
        QCOMPARE(addresses(changed), QStringList{address.toText()});

        // A second request finds nothing new; an online write reaches both sides.
        m_provider->parameterNeedsOnlineConsistenceOnce(address);
        QCOMPARE(m_provider->consistenceRequestCount(), 2);
        QVERIFY(a10->setValueText(1, 0, QStringLiteral("2500")));
        QCOMPARE(m_provider->driveValueText(address), QStringLiteral("2500"));
        m_provider->parameterNeedsOnlineConsistenceOnce(address);
        QCOMPARE(changed.count(), 2);
    }

    void goingOnlineSynchronises()
    {
        // GIVEN drive-side changes while offline, one back to the default, and an edit of the user's
        ParameterSetup* a10 = setup(QStringLiteral("A10"));
        QVERIFY(m_provider->simulateDriveValue(ParameterAddress(C12, 3, 2), QStringLiteral("40")));
        QVERIFY(m_provider->simulateDriveValue(ParameterAddress(B06, 0, 2), QStringLiteral("Fahr")));
        QVERIFY(m_provider->simulateDriveValue(ParameterAddress(A20, 0, LivingSpaceDevice), QStringLiteral("50")));
        QVERIFY(a10->setValueText(2, 0, QStringLiteral("2000")));
        QCOMPARE(m_provider->driveValueText(ParameterAddress(A10, 0, 2)), QStringLiteral("1500"));
        // Offline a consistence request is only counted.
        QSignalSpy changed(m_provider, &ParameterProvider::parameterValueChanged);
        m_provider->parameterNeedsOnlineConsistenceOnce(ParameterAddress(C12, 3, 2));
        QCOMPARE(m_provider->consistenceRequestCount(), 1);
        QCOMPARE(changed.count(), 0);

        // Invalid drive values are refused and change nothing.
        for (const char* refused : {"1.A10[0]=7000", "1.Z10[0]=1", "3.A10[0]=1", "1.D01[0]=1", "1.C13[0]=1"}) {
            const ParameterAddress at(QString::fromLatin1(refused).section(QLatin1Char('='), 0, 0), false);
            const QString before = m_provider->driveValueText(at);
            QVERIFY2(!m_provider->simulateDriveValue(at, QString::fromLatin1(refused).section(QLatin1Char('='), 1)), refused);
            QCOMPARE(m_provider->driveValueText(at), before);
        }

        // WHEN the controller goes online THEN every differing drive value is read and signalled once,
        // and the user's edit is downloaded
        m_controller->setOnline(true);
        QStringList read = addresses(changed);
        read.sort();
        QCOMPARE(read, (QStringList{"0.A20[0]", "2.B06[0]", "2.C12[3]"}));
        QCOMPARE(setup(QStringLiteral("C12"))->valueText(2, 3, false), QStringLiteral("40"));
        QCOMPARE(setup(QStringLiteral("B06"))->valueText(1, 0, false), QStringLiteral("Hub"));
        QVERIFY(!setup(QStringLiteral("A20"))->isChangedFromDefault(0, 0));
        QCOMPARE(a10->valueText(2, 0, false), QStringLiteral("2000"));
        QCOMPARE(m_provider->driveValueText(ParameterAddress(A10, 0, 2)), QStringLiteral("2000"));
    }

    void destroyedObjects()
    {
        // GIVEN a set-up and a definition destroyed THEN the provider hands out null for them and works around them
        QPointer<ParameterSetup> c12 = m_provider->parameterSetup(C12);
        QPointer<ParameterDefinition> b06 = m_provider->parameterDefinition(B06);
        QVERIFY(c12 && b06);
        delete c12.data();
        delete b06.data();
        QVERIFY(!m_provider->parameterSetup(C12));
        QVERIFY(m_provider->parameterDefinition(C12));
        QVERIFY(!m_provider->parameterDefinition(B06));
        QVERIFY(!m_provider->allCoordinates().contains(B06));
        m_controller->setOnline(true);
        m_provider->parameterNeedsOnlineConsistenceOnce(ParameterAddress(C12, 0, 1));
        QCOMPARE(m_provider->consistenceRequestCount(), 1);
        QVERIFY(setup(QStringLiteral("A10"))->setValueText(1, 0, QStringLiteral("20")));

        // GIVEN the controller destroyed THEN its axes, provider and set-ups go; another of its type stays
        QPointer<DriveControllerAxis> axis = m_controller->axis(1);
        QPointer<ParameterProvider> provider = m_provider;
        QPointer<ParameterSetup> a10 = m_provider->parameterSetup(A10);
        QCOMPARE(axis->driveController(), m_controller);
        delete m_controller;
        QVERIFY(axis.isNull() && provider.isNull() && a10.isNull());
        QCOMPARE(KxTest::setupOf(m_online, QStringLiteral("A10"))->valueText(1, 0, false), QStringLiteral("1500"));
    }

    void axesFaultsAndColours()
    {
        QSignalSpy axes(m_controller, &DriveController::axesChanged);
        QSignalSpy state(m_controller, &DriveController::deviceStateChanged);
        QSignalSpy colour(m_controller, &DriveController::markingColorChanged);

        // Axes from the description, with colours and faults.
        QCOMPARE(m_controller->markingColor(1), QColor(QStringLiteral("#ff0000")));
        QVERIFY(!m_controller->markingColor(2).isValid());
        QVERIFY(m_controller->hasAxisFault(2));
        QCOMPARE(m_online->descriptor()->text(), QStringLiteral("KXT-2 im Labor"));

        // Numbers outside 1..maxAxes and duplicates are refused.
        QVERIFY(!m_controller->addAxis(0, QStringLiteral("x")));
        QVERIFY(!m_controller->addAxis(5, QStringLiteral("x")));
        QVERIFY(!m_controller->addAxis(2, QStringLiteral("x")));
        QCOMPARE(axes.count(), 0);
        QPointer<DriveControllerAxis> added = m_controller->addAxis(4, QStringLiteral("Vier"));
        QVERIFY(added);
        QCOMPARE(axes.count(), 1);

        // Clearing the last fault changes the device state.
        m_controller->setAxisFault(2, false);
        QCOMPARE(state.count(), 1);
        QCOMPARE(state.last().first().toInt(), 0);
        m_controller->setAxisFault(4, true);
        QCOMPARE(state.last().first().toInt(), 1);

        m_controller->setMarkingColor(4, Qt::green);
        m_controller->setMarkingColor(4, Qt::green);
        QCOMPARE(colour.count(), 1);

        // Removing the faulty axis destroys it and clears its fault.
        QVERIFY(m_controller->removeAxis(4));
        QVERIFY(added.isNull());
        QCOMPARE(axes.count(), 2);
        QCOMPARE(state.last().first().toInt(), 0);
        QVERIFY(!m_controller->removeAxis(4));

        // An axis deleted by someone else leaves the controller as well.
        delete m_controller->axis(2);
        QCOMPARE(m_controller->axisNumbers(), QList<int>{1});
        QCOMPARE(axes.count(), 3);
    }
};

QTEST_GUILESS_MAIN(TestModelProvider)
#include "tst_model_provider.moc"
