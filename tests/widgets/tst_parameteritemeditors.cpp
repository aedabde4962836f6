#include "DeviceDescription.h"
#include "DriveController.h"
#include "LanguageManager.h"
#include "ParameterItemComboBox.h"
#include "ParameterItemEdit.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "OffscreenMessages.h"
#include "TestSupport.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

const char description[] = R"({
  "format": "KxDeviceDescription", "version": 1,
  "types": [{
    "name": "KXT-2 Prüfantrieb", "maxAxes": 2,
    "parameters": [
      {"coordinate": "A10", "name": {"de": "Drehzahlgrenze", "en": "Speed limit"},
       "unit": "1/min", "min": 0, "max": 6000, "default": 3000},
      {"coordinate": "A11", "name": {"de": "Hochlaufzeit", "en": "Ramp-up time"},
       "unit": "s", "min": 0, "max": 10, "decimals": 2, "default": 0.5},
      {"coordinate": "A20", "name": {"de": "Regelart", "en": "Control mode"}, "kind": "choice",
       "choices": [{"value": 0, "de": "Drehzahl", "en": "Speed"},
                   {"value": 1, "de": "Lage", "en": "Position"},
                   {"value": 4, "de": "Moment", "en": "Torque"}],
       "default": 1},
      {"coordinate": "A21", "name": {"de": "Bremse lüften", "en": "Release brake"}, "kind": "switch"},
      {"coordinate": "B30", "name": {"de": "Anlagenname", "en": "Plant name"}, "scope": "device",
       "kind": "text", "max": 12, "default": "Linie"},
      {"coordinate": "B40", "name": {"de": "Netzspannung", "en": "Mains voltage"}, "unit": "V",
       "min": 0, "max": 800, "default": 400, "writable": false},
      {"coordinate": "C50", "name": {"de": "Geberauflösung", "en": "Encoder resolution"},
       "definedIn": [1], "min": 16, "max": 65536, "default": 4096}
    ]
  }],
  "controllers": [{"name": "Prüfstand", "type": "KXT-2 Prüfantrieb",
                   "axes": [{"number": 1, "name": "Hubwerk"}, {"number": 2, "name": "Fahrwerk"}]}]
})";

} // namespace

class TestParameterItemEditors : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void initializeShowsTheRawValueSelected();
    void enterWritesAValidValue_data();
    void enterWritesAValidValue();
    void refusedValueKeepsTheEditorOpen_data();
    void refusedValueKeepsTheEditorOpen();
    void escapeWritesNothing();
    void focusLossEndsTheEditOnce_data();
    void focusLossEndsTheEditOnce();
    void enterFollowedByFocusLossEndsOnce();
    void withoutValueAnyKeyEnds_data();
    void withoutValueAnyKeyEnds();
    void destroyedSetupIsNotTouched();

    void comboListsTheChoicesInTheActiveLanguage_data();
    void comboListsTheChoicesInTheActiveLanguage();
    void comboWritesThePickedEntry_data();
    void comboWritesThePickedEntry();
    void comboCancelWritesNothing_data();
    void comboCancelWritesNothing();
    void comboWithoutValueAnyKeyEnds();

private:
    ParameterSetup* setup(const char* coordinate) const;
    void showWithNeighbour(QWidget* editor);

    DriveController* m_controller = nullptr;
    QWidget* m_window = nullptr;
    QLineEdit* m_neighbour = nullptr;
};

void TestParameterItemEditors::initTestCase()
{
    KxTest::initTestEnvironment();
    KxWidgetTest::ignoreOffscreenPlatformLimits();
}

void TestParameterItemEditors::init()
{
    QString error;
    const QList<DriveController*> controllers =
        DeviceDescription::controllersFromBytes(QByteArray(description), nullptr, &error);
    QVERIFY2(controllers.size() == 1, qPrintable(error));
    m_controller = controllers.first();
    LanguageManager::instance()->setActiveLanguage(LanguageManager::German);
}

void TestParameterItemEditors::cleanup()
{
    delete m_window;
    m_window = nullptr;
    m_neighbour = nullptr;
    delete m_controller;
    m_controller = nullptr;
    LanguageManager::instance()->setActiveLanguage(LanguageManager::German);
}

ParameterSetup* TestParameterItemEditors::setup(const char* coordinate) const
{
    return m_controller->parameterProvider()->parameterSetup(ParameterCoordinate(QString::fromLatin1(coordinate)));
}

// Focus only moves between widgets of an active window.
void TestParameterItemEditors::showWithNeighbour(QWidget* editor)
{
    m_window = new QWidget;
    auto* layout = new QVBoxLayout(m_window);
    m_neighbour = new QLineEdit(m_window);
    layout->addWidget(m_neighbour);
    editor->setParent(m_window);
    layout->addWidget(editor);
    m_window->show();
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
}

void TestParameterItemEditors::initializeShowsTheRawValueSelected()
{
    // GIVEN a decimal value that differs from the default
    ParameterSetup* rampTime = setup("A11");
    QVERIFY(rampTime->setValueText(2, 0, QStringLiteral("1.75")));
    auto* edit = new ParameterItemEdit;
    edit->setParameterSetup(rampTime);
    edit->setLivingSpace(2);
    edit->setElementIndex(0);
    showWithNeighbour(edit);

    // WHEN the editor is initialized
    edit->initialize();

    // THEN it shows the raw text (no unit), all of it selected, and has the focus
    QCOMPARE(edit->text(), rampTime->valueText(2, 0, false));
    QVERIFY(!edit->text().contains(QLatin1Char('s')));
    QCOMPARE(edit->selectedText(), edit->text());
    QVERIFY(!edit->isReadOnly());
    QTRY_VERIFY(edit->hasFocus());
}

void TestParameterItemEditors::enterWritesAValidValue_data()
{
    QTest::addColumn<QString>("coordinate");
    QTest::addColumn<int>("livingSpace");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("readLivingSpace");
    QTest::addColumn<QString>("expectedRaw");

    QTest::newRow("integer within the limits") << "A10" << 1 << "4500" << 1 << "4500";
    QTest::newRow("upper limit itself") << "A10" << 2 << "6000" << 2 << "6000";
    QTest::newRow("decimal comma") << "A11" << 1 << "2,5" << 1 << "2.50";
    QTest::newRow("free text") << "B30" << 0 << "Halle 7" << 0 << "Halle 7";
    QTest::newRow("device-wide value through an axis") << "B30" << 2 << "Presse" << 0 << "Presse";
    QTest::newRow("text typed beyond the maximum length is cut") << "B30" << 0 << "Montagelinie Nord" << 0
                                                                 << "Montagelinie";
}

void TestParameterItemEditors::enterWritesAValidValue()
{
    QFETCH(QString, coordinate);
    QFETCH(int, livingSpace);
    QFETCH(QString, typed);
    QFETCH(int, readLivingSpace);
    QFETCH(QString, expectedRaw);

    // GIVEN an initialized editor on the value
    ParameterSetup* parameter = setup(qPrintable(coordinate));
    ParameterItemEdit edit;
    edit.setParameterSetup(parameter);
    edit.setLivingSpace(livingSpace);
    edit.setElementIndex(0);
    edit.initialize();
    QSignalSpy deleteMe(&edit, &ParameterItemEdit::deleteMe);
    QSignalSpy refused(&edit, &ParameterItemEdit::valueRefused);
    QSignalSpy changed(m_controller->parameterProvider(), &ParameterProvider::parameterValueChanged);

    // WHEN a valid text replaces the selected value and Enter is pressed
    QTest::keyClicks(&edit, typed);
    QTest::keyClick(&edit, Qt::Key_Return);

    // THEN the set-up holds the value and the editor has ended once
    QCOMPARE(parameter->valueText(readLivingSpace, 0, false), expectedRaw);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(refused.count(), 0);
    QCOMPARE(deleteMe.count(), 1);
}

void TestParameterItemEditors::refusedValueKeepsTheEditorOpen_data()
{
    QTest::addColumn<QString>("coordinate");
    QTest::addColumn<QString>("typed");

    QTest::newRow("above the maximum") << "A10" << "7000";
    QTest::newRow("below the minimum") << "A10" << "-1";
    QTest::newRow("not a number") << "A10" << "schnell";
    QTest::newRow("too many decimals") << "A11" << "1.234";
}

void TestParameterItemEditors::refusedValueKeepsTheEditorOpen()
{
    QFETCH(QString, coordinate);
    QFETCH(QString, typed);

    // GIVEN an editor on a value
    ParameterSetup* parameter = setup(qPrintable(coordinate));
    const QString before = parameter->valueText(1, 0, false);
    auto* edit = new ParameterItemEdit;
    edit->setParameterSetup(parameter);
    edit->setLivingSpace(1);
    edit->setElementIndex(0);
    showWithNeighbour(edit);
    edit->initialize();
    QTRY_VERIFY(edit->hasFocus());
    QSignalSpy deleteMe(edit, &ParameterItemEdit::deleteMe);
    QSignalSpy refused(edit, &ParameterItemEdit::valueRefused);

    // WHEN an invalid text is confirmed
    QTest::keyClicks(edit, typed);
    QTest::keyClick(edit, Qt::Key_Return);

    // THEN the old value stays, the reason is told and the editor stays open with its text selected
    QCOMPARE(parameter->valueText(1, 0, false), before);
    QCOMPARE(refused.count(), 1);
    const QString reason = refused.first().first().toString();
    QVERIFY(!reason.isEmpty());
    QCOMPARE(reason, parameter->checkValueText(1, 0, typed));
    QCOMPARE(deleteMe.count(), 0);
    QVERIFY(!edit->isFinished());
    QCOMPARE(edit->text(), typed);
    QCOMPARE(edit->selectedText(), typed);

    // WHEN the user gives up with Escape
    QTest::keyClick(edit, Qt::Key_Escape);

    // THEN the edit ends without a write
    QCOMPARE(deleteMe.count(), 1);
    QCOMPARE(parameter->valueText(1, 0, false), before);
}

void TestParameterItemEditors::escapeWritesNothing()
{
    // GIVEN an editor with a valid new text typed
    ParameterSetup* speed = setup("A10");
    ParameterItemEdit edit;
    edit.setParameterSetup(speed);
    edit.setLivingSpace(1);
    edit.setElementIndex(0);
    edit.initialize();
    QSignalSpy deleteMe(&edit, &ParameterItemEdit::deleteMe);
    QSignalSpy changed(m_controller->parameterProvider(), &ParameterProvider::parameterValueChanged);
    QTest::keyClicks(&edit, QStringLiteral("1200"));

    // WHEN Escape is pressed
    QTest::keyClick(&edit, Qt::Key_Escape);

    // THEN nothing is written and the editor ends once; later keys do not end it again
    QCOMPARE(speed->valueText(1, 0, false), QStringLiteral("3000"));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(deleteMe.count(), 1);
    QTest::keyClick(&edit, Qt::Key_Return);
    QCOMPARE(deleteMe.count(), 1);
    QCOMPARE(changed.count(), 0);
}

void TestParameterItemEditors::focusLossEndsTheEditOnce_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expectedRaw");

    QTest::newRow("valid text is written") << "750" << "750";
    QTest::newRow("refused text is dropped") << "9999" << "3000";
    QTest::newRow("untouched value is left alone") << "" << "3000";
}

void TestParameterItemEditors::focusLossEndsTheEditOnce()
{
    QFETCH(QString, typed);
    QFETCH(QString, expectedRaw);

    // GIVEN an editor with the focus and some text typed
    ParameterSetup* speed = setup("A10");
    auto* edit = new ParameterItemEdit;
    edit->setParameterSetup(speed);
    edit->setLivingSpace(2);
    edit->setElementIndex(0);
    showWithNeighbour(edit);
    edit->initialize();
    QTRY_VERIFY(edit->hasFocus());
    QSignalSpy deleteMe(edit, &ParameterItemEdit::deleteMe);
    QSignalSpy refused(edit, &ParameterItemEdit::valueRefused);
    QSignalSpy changed(m_controller->parameterProvider(), &ParameterProvider::parameterValueChanged);
    if (!typed.isEmpty())
        QTest::keyClicks(edit, typed);

    // WHEN the focus moves to another widget
    m_neighbour->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(m_neighbour->hasFocus());

    // THEN the edit ended exactly once, having written only a valid change
    QCOMPARE(deleteMe.count(), 1);
    QCOMPARE(speed->valueText(2, 0, false), expectedRaw);
    QCOMPARE(changed.count(), expectedRaw == QLatin1String("3000") ? 0 : 1);
    QCOMPARE(refused.count(), 0);

    // WHEN the focus comes back and goes again
    edit->setFocus(Qt::MouseFocusReason);
    m_neighbour->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(m_neighbour->hasFocus());

    // THEN the ended editor stays silent
    QCOMPARE(deleteMe.count(), 1);
}

void TestParameterItemEditors::enterFollowedByFocusLossEndsOnce()
{
    // GIVEN an editor in a window
    ParameterSetup* speed = setup("A10");
    auto* edit = new ParameterItemEdit;
    edit->setParameterSetup(speed);
    edit->setLivingSpace(1);
    edit->setElementIndex(0);
    showWithNeighbour(edit);
    edit->initialize();
    QTRY_VERIFY(edit->hasFocus());
    QSignalSpy deleteMe(edit, &ParameterItemEdit::deleteMe);
    // Owners remove the editor when told; this one just disappears from the focus chain.
    connect(edit, &ParameterItemEdit::deleteMe, edit, &QWidget::hide);

    // WHEN a value is confirmed and the removal takes the focus away
    QTest::keyClicks(edit, QStringLiteral("2500"));
    QTest::keyClick(edit, Qt::Key_Enter);
    QTRY_VERIFY(!edit->hasFocus());

    // THEN the value is written once and deleteMe came once
    QCOMPARE(speed->valueText(1, 0, false), QStringLiteral("2500"));
    QCOMPARE(deleteMe.count(), 1);
}

void TestParameterItemEditors::withoutValueAnyKeyEnds_data()
{
    QTest::addColumn<QString>("coordinate");
    QTest::addColumn<int>("livingSpace");
    QTest::addColumn<bool>("readOnlyDevice");

    QTest::newRow("no set-up") << QString() << 1 << false;
    QTest::newRow("axis the parameter is not defined in") << "C50" << 2 << false;
    QTest::newRow("element that is not writable") << "B40" << 1 << false;
    QTest::newRow("read-only device") << "A10" << 1 << true;
}

void TestParameterItemEditors::withoutValueAnyKeyEnds()
{
    QFETCH(QString, coordinate);
    QFETCH(int, livingSpace);
    QFETCH(bool, readOnlyDevice);

    // GIVEN an editor on something that cannot be edited
    ParameterSetup* parameter = coordinate.isEmpty() ? nullptr : setup(qPrintable(coordinate));
    m_controller->parameterProvider()->setReadOnly(readOnlyDevice);
    const QString before = parameter ? parameter->valueText(livingSpace, 0, false) : QString();
    ParameterItemEdit edit;
    edit.setParameterSetup(parameter);
    edit.setLivingSpace(livingSpace);
    edit.setElementIndex(0);
    edit.initialize();
    QSignalSpy deleteMe(&edit, &ParameterItemEdit::deleteMe);
    QSignalSpy changed(m_controller->parameterProvider(), &ParameterProvider::parameterValueChanged);

    // THEN it is read-only
    QVERIFY(edit.isReadOnly());
    QVERIFY(!edit.isEditable());

    // WHEN any key is pressed
    QTest::keyClick(&edit, Qt::Key_5);

    // THEN the edit ends without writing
    QCOMPARE(deleteMe.count(), 1);
    QCOMPARE(changed.count(), 0);
    if (parameter)
        QCOMPARE(parameter->valueText(livingSpace, 0, false), before);
}

void TestParameterItemEditors::destroyedSetupIsNotTouched()
{
    // GIVEN an editor whose parameter disappears from the device while editing
    auto* edit = new ParameterItemEdit;
    edit->setParameterSetup(setup("A10"));
    edit->setLivingSpace(1);
    edit->setElementIndex(0);
    showWithNeighbour(edit);
    edit->initialize();
    QTest::keyClicks(edit, QStringLiteral("100"));
    QSignalSpy deleteMe(edit, &ParameterItemEdit::deleteMe);
    QVERIFY(m_controller->parameterProvider()->removeParameter(ParameterCoordinate(QStringLiteral("A10"))));
    QVERIFY(!edit->parameterSetup());

    // WHEN the text is confirmed
    QTest::keyClick(edit, Qt::Key_Return);

    // THEN the editor just ends
    QCOMPARE(deleteMe.count(), 1);
}

void TestParameterItemEditors::comboListsTheChoicesInTheActiveLanguage_data()
{
    QTest::addColumn<QString>("coordinate");
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("expectedTexts");
    QTest::addColumn<int>("expectedCurrent");

    QTest::newRow("selection list in German") << "A20" << int(LanguageManager::German)
        << QStringList{ "Drehzahl", "Lage", "Moment" } << 1;
    QTest::newRow("selection list in English") << "A20" << int(LanguageManager::English)
        << QStringList{ "Speed", "Position", "Torque" } << 1;
    QTest::newRow("switch") << "A21" << int(LanguageManager::German) << QStringList{ "Aus", "Ein" } << 0;
}

void TestParameterItemEditors::comboListsTheChoicesInTheActiveLanguage()
{
    QFETCH(QString, coordinate);
    QFETCH(int, language);
    QFETCH(QStringList, expectedTexts);
    QFETCH(int, expectedCurrent);

    // GIVEN the active language
    LanguageManager::instance()->setActiveLanguage(language);
    ParameterItemComboBox combo;
    combo.setParameterSetup(setup(qPrintable(coordinate)));
    combo.setLivingSpace(1);
    combo.setElementIndex(0);

    // WHEN the box is initialized
    combo.initialize();

    // THEN it lists the selection in that language with the current value selected
    QStringList texts;
    for (int i = 0; i < combo.count(); ++i)
        texts.append(combo.itemText(i));
    QCOMPARE(texts, expectedTexts);
    QCOMPARE(combo.currentIndex(), expectedCurrent);
    QVERIFY(combo.isEditable());
}

void TestParameterItemEditors::comboWritesThePickedEntry_data()
{
    QTest::addColumn<bool>("throughOpenList");

    QTest::newRow("entry picked in the open list") << true;
    QTest::newRow("arrow and Enter on the closed box") << false;
}

void TestParameterItemEditors::comboWritesThePickedEntry()
{
    QFETCH(bool, throughOpenList);

    // GIVEN a box on the control mode "Lage" (1)
    ParameterSetup* mode = setup("A20");
    auto* combo = new ParameterItemComboBox;
    combo->setParameterSetup(mode);
    combo->setLivingSpace(2);
    combo->setElementIndex(0);
    showWithNeighbour(combo);
    combo->initialize();
    QSignalSpy deleteMe(combo, &ParameterItemComboBox::deleteMe);
    QSignalSpy changed(m_controller->parameterProvider(), &ParameterProvider::parameterValueChanged);

    // WHEN the next entry, "Moment" (4), is picked
    if (throughOpenList) {
        combo->showPopup();
        QTRY_VERIFY(combo->view()->isVisible());
        QTest::keyClick(combo->view(), Qt::Key_Down);
        QTest::keyClick(combo->view(), Qt::Key_Return);
    } else {
        QTest::keyClick(combo, Qt::Key_Down);
        // moving through the closed box alone writes nothing
        QCOMPARE(changed.count(), 0);
        QCOMPARE(deleteMe.count(), 0);
        QTest::keyClick(combo, Qt::Key_Return);
    }

    // THEN its value is written and the box ends once
    QCOMPARE(mode->valueText(2, 0, false), QStringLiteral("4"));
    QCOMPARE(mode->valueText(1, 0, false), QStringLiteral("1"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(deleteMe.count(), 1);
}

void TestParameterItemEditors::comboCancelWritesNothing_data()
{
    QTest::addColumn<QString>("way");

    QTest::newRow("Escape in the open list") << "escape-open";
    QTest::newRow("Escape on the closed box") << "escape-closed";
    QTest::newRow("focus loss after moving the selection") << "focus";
}

void TestParameterItemEditors::comboCancelWritesNothing()
{
    QFETCH(QString, way);

    // GIVEN a box on the control mode
    ParameterSetup* mode = setup("A20");
    auto* combo = new ParameterItemComboBox;
    combo->setParameterSetup(mode);
    combo->setLivingSpace(1);
    combo->setElementIndex(0);
    showWithNeighbour(combo);
    combo->initialize();
    QTRY_VERIFY(combo->hasFocus());
    QSignalSpy deleteMe(combo, &ParameterItemComboBox::deleteMe);
    QSignalSpy changed(m_controller->parameterProvider(), &ParameterProvider::parameterValueChanged);

    // WHEN the edit is abandoned
    if (way == QLatin1String("escape-open")) {
        combo->showPopup();
        QTRY_VERIFY(combo->view()->isVisible());
        QTest::keyClick(combo->view(), Qt::Key_Down);
        QTest::keyClick(combo->view(), Qt::Key_Escape);
        QTRY_VERIFY(!combo->view()->isVisible());
    } else if (way == QLatin1String("escape-closed")) {
        QTest::keyClick(combo, Qt::Key_Up);
        QTest::keyClick(combo, Qt::Key_Escape);
    } else {
        QTest::keyClick(combo, Qt::Key_Down);
        m_neighbour->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(m_neighbour->hasFocus());
    }

    // THEN nothing is written and the box ended once
    QCOMPARE(mode->valueText(1, 0, false), QStringLiteral("1"));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(deleteMe.count(), 1);
}

void TestParameterItemEditors::comboWithoutValueAnyKeyEnds()
{
    // GIVEN a box on a read-only device
    m_controller->parameterProvider()->setReadOnly(true);
    ParameterSetup* mode = setup("A20");
    ParameterItemComboBox combo;
    combo.setParameterSetup(mode);
    combo.setLivingSpace(1);
    combo.setElementIndex(0);
    combo.initialize();
    QSignalSpy deleteMe(&combo, &ParameterItemComboBox::deleteMe);

    // THEN it shows the current value only and does not open a list
    QVERIFY(!combo.isEditable());
    QCOMPARE(combo.count(), 1);
    QCOMPARE(combo.currentText(), mode->valueText(1, 0, true));
    combo.showPopup();
    QVERIFY(!combo.view()->isVisible());

    // WHEN a key is pressed THEN the edit ends
    QTest::keyClick(&combo, Qt::Key_Down);
    QCOMPARE(deleteMe.count(), 1);
    QCOMPARE(mode->valueText(1, 0, false), QStringLiteral("1"));
}

QTEST_MAIN(TestParameterItemEditors)
#include "tst_parameteritemeditors.moc"
