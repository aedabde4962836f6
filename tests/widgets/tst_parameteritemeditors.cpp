#include "DriveController.h"
#include "LanguageManager.h"
#include "LineEdit.h"
#include "ParameterItemComboBox.h"
#include "ParameterItemEdit.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "TestSupport.h"

#include <QAbstractItemView>
#include <QIntValidator>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

class TestParameterItemEditors : public QObject
{
    Q_OBJECT

    DriveController* m_controller = nullptr;
    std::unique_ptr<KxTest::Devices> m_devices;
    QWidget* m_window = nullptr;
    QLineEdit* m_neighbour = nullptr;

    // The editor sits in a window next to a line edit that can take the focus.
    template<typename Editor>
    Editor* createEditor(const QString& coordinate, int livingSpace, bool show)
    {
        auto* editor = new Editor;
        editor->setParameterSetup(coordinate.isEmpty() ? nullptr : KxTest::setupOf(m_controller, coordinate));
        editor->setLivingSpace(eLivingSpace(livingSpace));
        editor->setElementIndex(0);
        m_window = new QWidget;
        auto* layout = new QVBoxLayout(m_window);
        m_neighbour = new QLineEdit(m_window);
        layout->addWidget(m_neighbour);
        layout->addWidget(editor);
        if (show && !KxTest::showActive(m_window))
            QTest::qFail("window not active", __FILE__, __LINE__);
        editor->initialize();
        return editor;
    }

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }
    void init()
    {
        m_devices.reset(new KxTest::Devices(KxTest::project("testbed")));
        QVERIFY((m_controller = m_devices->controller(0)));
    }
    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
        m_devices.reset();
        LanguageManager::instance()->setActiveLanguage(LanguageManager::German);
    }

    void lineEditCommitsOnConfirmingKeys_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("commits");
        QTest::newRow("Return") << "Achse 1" << int(Qt::Key_Return) << true;
        QTest::newRow("Enter on the keypad") << "Achse 1" << int(Qt::Key_Enter) << true;
        QTest::newRow("not Escape") << "Achse 1" << int(Qt::Key_Escape) << false;
        // The receiver wants to explain a bad input, so it must hear of it.
        QTest::newRow("intermediate input for the validator") << "-" << int(Qt::Key_Return) << true;
    }

    void lineEditCommitsOnConfirmingKeys()
    {
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(bool, commits);
        LineEdit edit;
        edit.setValidator(typed == QLatin1String("-") ? new QIntValidator(-100, 100, &edit) : nullptr);
        QSignalSpy committed(&edit, &LineEdit::textCommited);
        QTest::keyClicks(&edit, typed);
        QTest::keyClick(&edit, Qt::Key(key));
        QCOMPARE(committed.count(), commits ? 1 : 0);
        if (commits)
            QCOMPARE(committed.first().first().toString(), typed);
    }

    void lineEditEndings_data()
    {
        QTest::addColumn<QString>("coordinate");
        QTest::addColumn<int>("livingSpace");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("ending");
        QTest::addColumn<int>("readLivingSpace");
        QTest::addColumn<QString>("expectedRaw");
        QTest::addColumn<bool>("refused");

        QTest::newRow("Enter takes a decimal comma") << "A11" << 1 << "2,5" << "enter" << 1 << "2.50" << false;
        QTest::newRow("device-wide text through an axis, cut at max length")
            << "B30" << 2 << "Montagelinie Nord" << "enter" << 0 << "Montagelinie" << false;
        QTest::newRow("Enter refuses a number above the maximum") << "A10" << 1 << "7000" << "enter" << 1 << "3000" << true;
        QTest::newRow("Escape writes nothing") << "A10" << 1 << "1200" << "escape" << 1 << "3000" << false;
        QTest::newRow("focus loss writes a valid text") << "A10" << 2 << "750" << "focus" << 2 << "750" << false;
        QTest::newRow("focus loss drops a refused text") << "A10" << 2 << "9999" << "focus" << 2 << "3000" << false;
    }

    void lineEditEndings()
    {
        QFETCH(QString, coordinate);
        QFETCH(int, livingSpace);
        QFETCH(QString, typed);
        QFETCH(QString, ending);
        QFETCH(int, readLivingSpace);
        QFETCH(QString, expectedRaw);
        QFETCH(bool, refused);

        // GIVEN an initialized editor: raw value, all selected, with the focus
        ParameterSetup* parameter = KxTest::setupOf(m_controller, coordinate);
        const QString before = parameter->valueText(readLivingSpace, 0, false);
        auto* edit = createEditor<ParameterItemEdit>(coordinate, livingSpace, true);
        QCOMPARE(edit->text(), parameter->valueText(livingSpace, 0, false));
        QCOMPARE(edit->selectedText(), edit->text());
        QTRY_VERIFY(edit->hasFocus());
        QSignalSpy deleteMe(edit, &ParameterItemEdit::deleteMe);
        QSignalSpy refusal(edit, &ParameterItemEdit::valueRefused);
        QSignalSpy changed(m_controller->parameterProvider(), &ParameterProvider::parameterValueChanged);

        // WHEN a text replaces the value and the edit is ended
        QTest::keyClicks(edit, typed);
        if (ending == QLatin1String("focus"))
            m_neighbour->setFocus(Qt::MouseFocusReason);
        else
            QTest::keyClick(edit, ending == QLatin1String("enter") ? Qt::Key_Return : Qt::Key_Escape);

        // THEN the set-up holds the expected value, written at most once
        QCOMPARE(parameter->valueText(readLivingSpace, 0, false), expectedRaw);
        QCOMPARE(changed.count(), expectedRaw == before ? 0 : 1);
        QCOMPARE(refusal.count(), refused ? 1 : 0);
        if (refused) {
            // AND a refusal keeps the editor open, selected, with the set-up's reason
            QCOMPARE(refusal.first().first().toString(), parameter->checkValueText(livingSpace, 0, typed));
            QVERIFY(!refusal.first().first().toString().isEmpty());
            QCOMPARE(deleteMe.count(), 0);
            QCOMPARE(edit->selectedText(), typed);
            QTest::keyClick(edit, Qt::Key_Escape);
        }
        QCOMPARE(deleteMe.count(), 1);

        // WHEN the ended editor gets keys and focus changes again THEN it stays silent
        edit->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(edit, Qt::Key_Return);
        m_neighbour->setFocus(Qt::MouseFocusReason);
        QCOMPARE(deleteMe.count(), 1);
        QCOMPARE(parameter->valueText(readLivingSpace, 0, false), expectedRaw);
    }

    void withoutValueAnyKeyEnds_data()
    {
        QTest::addColumn<bool>("combo");
        QTest::addColumn<QString>("coordinate");
        QTest::addColumn<int>("livingSpace");
        QTest::newRow("line edit without set-up") << false << QString() << 1;
        QTest::newRow("line edit in an axis the parameter is not defined in") << false << "C50" << 2;
        QTest::newRow("selection box on a read-only device") << true << "A20" << 1;
    }

    void withoutValueAnyKeyEnds()
    {
        QFETCH(bool, combo);
        QFETCH(QString, coordinate);
        QFETCH(int, livingSpace);

        // GIVEN an editor on something that cannot be written
        m_controller->parameterProvider()->setReadOnly(combo);
        QSignalSpy changed(m_controller->parameterProvider(), &ParameterProvider::parameterValueChanged);
        QWidget* editor = nullptr;
        if (combo) {
            auto* box = createEditor<ParameterItemComboBox>(coordinate, livingSpace, false);
            QVERIFY(!box->isEditable());
            box->showPopup();
            QVERIFY(!box->view()->isVisible());
            editor = box;
        } else {
            auto* edit = createEditor<ParameterItemEdit>(coordinate, livingSpace, false);
            QVERIFY(!edit->isEditable() && edit->isReadOnly());
            editor = edit;
        }
        QSignalSpy deleteMe(editor, SIGNAL(deleteMe()));

        // WHEN a modifier alone and then a key are pressed THEN only the key ends the edit, writing nothing
        QTest::keyClick(editor, Qt::Key_Shift);
        QCOMPARE(deleteMe.count(), 0);
        QTest::keyClick(editor, Qt::Key_Down);
        QCOMPARE(deleteMe.count(), 1);
        QCOMPARE(changed.count(), 0);
    }

    void destroyedSetupIsNotWritten()
    {
        // GIVEN an editor whose parameter disappears from the device while editing
        auto* edit = createEditor<ParameterItemEdit>(QStringLiteral("A10"), 1, true);
        QTest::keyClicks(edit, QStringLiteral("100"));
        QSignalSpy deleteMe(edit, &ParameterItemEdit::deleteMe);
        QVERIFY(m_controller->parameterProvider()->removeParameter(ParameterCoordinate(QStringLiteral("A10"))));

        // WHEN the text is confirmed THEN the editor just ends
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(!edit->parameterSetup());
        QCOMPARE(deleteMe.count(), 1);
    }

    void comboEndings_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("expectedRaw");

        QTest::newRow("entry picked in the open list") << "pick-open" << "4";
        QTest::newRow("arrow and Enter on the closed box") << "enter-closed" << "4";
        QTest::newRow("Escape in the open list") << "escape-open" << "1";
        QTest::newRow("Escape on the closed box") << "escape-closed" << "1";
        QTest::newRow("focus loss after moving the selection") << "focus" << "1";
    }

    void comboEndings()
    {
        QFETCH(QString, way);
        QFETCH(QString, expectedRaw);

        // GIVEN a box in axis 2 on the control mode "Position" (1), listing the choices in the active language
        LanguageManager::instance()->setActiveLanguage(LanguageManager::English);
        ParameterSetup* mode = KxTest::setupOf(m_controller, QStringLiteral("A20"));
        auto* combo = createEditor<ParameterItemComboBox>(QStringLiteral("A20"), 2, true);
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i)
            texts.append(combo->itemText(i));
        QCOMPARE(texts, (QStringList{"Speed", "Position", "Torque"}));
        QCOMPARE(combo->currentIndex(), 1);
        QTRY_VERIFY(combo->hasFocus());
        QSignalSpy deleteMe(combo, &ParameterItemComboBox::deleteMe);
        QSignalSpy changed(m_controller->parameterProvider(), &ParameterProvider::parameterValueChanged);

        // WHEN the selection moves to "Torque" (4) and the edit is ended
        if (way.endsWith(QLatin1String("-open"))) {
            combo->showPopup();
            QTRY_VERIFY(combo->view()->isVisible());
            QTest::keyClick(combo->view(), Qt::Key_Down);
            QTest::keyClick(combo->view(), way.startsWith(QLatin1String("pick")) ? Qt::Key_Return : Qt::Key_Escape);
        } else {
            QTest::keyClick(combo, Qt::Key_Down);
            QCOMPARE(changed.count(), 0); // moving through the closed box alone writes nothing
            if (way == QLatin1String("focus"))
                m_neighbour->setFocus(Qt::MouseFocusReason);
            else
                QTest::keyClick(combo, way.startsWith(QLatin1String("enter")) ? Qt::Key_Return : Qt::Key_Escape);
        }

        // THEN only a pick is written, in the box's axis only, and the box ended once
        QCOMPARE(mode->valueText(2, 0, false), expectedRaw);
        QCOMPARE(mode->valueText(1, 0, false), QStringLiteral("1"));
        QCOMPARE(changed.count(), expectedRaw == QLatin1String("1") ? 0 : 1);
        QCOMPARE(deleteMe.count(), 1);
    }
};

QTEST_MAIN(TestParameterItemEditors)
#include "tst_parameteritemeditors.moc"
