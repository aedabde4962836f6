#include "LineEdit.h"
#include "TestSupport.h"

#include <QIntValidator>
#include <QSignalSpy>
#include <QTest>

class TestLineEdit : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }

    void confirmKeysCommitTheText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("withValidator");
        QTest::addColumn<int>("expectedCommits");

        QTest::newRow("Return commits") << QStringLiteral("Achse 1") << int(Qt::Key_Return) << false << 1;
        QTest::newRow("Enter on the keypad commits") << QStringLiteral("Achse 1") << int(Qt::Key_Enter) << false << 1;
        QTest::newRow("Tab does not commit") << QStringLiteral("Achse 1") << int(Qt::Key_Tab) << false << 0;
        QTest::newRow("Escape does not commit") << QStringLiteral("Achse 1") << int(Qt::Key_Escape) << false << 0;
        // The receiver wants to explain a bad input, so it must hear of it.
        QTest::newRow("intermediate input for the validator still commits")
            << QStringLiteral("-") << int(Qt::Key_Return) << true << 1;
    }

    void confirmKeysCommitTheText()
    {
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(bool, withValidator);
        QFETCH(int, expectedCommits);

        // GIVEN a line edit with typed text
        LineEdit edit;
        if (withValidator)
            edit.setValidator(new QIntValidator(-100, 100, &edit));
        QSignalSpy committed(&edit, &LineEdit::textCommited);
        QTest::keyClicks(&edit, typed);
        QCOMPARE(committed.count(), 0);

        // WHEN the key is pressed
        QTest::keyClick(&edit, Qt::Key(key));

        // THEN the text is committed once for confirming keys only, as typed
        QCOMPARE(committed.count(), expectedCommits);
        if (expectedCommits > 0)
            QCOMPARE(committed.first().first().toString(), typed);
    }
};

QTEST_MAIN(TestLineEdit)
#include "tst_lineedit.moc"
