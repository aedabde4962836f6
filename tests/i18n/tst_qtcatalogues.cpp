#include "LanguageManager.h"
#include "TestSupport.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

// Qt's own dialogs speak the language of the interface: German from the
// start, English after a switch, German again after switching back.
class TestQtCatalogues : public QObject
{
    Q_OBJECT

    static QStringList buttonTexts()
    {
        QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QMessageBox question(QMessageBox::Question, QStringLiteral("Löschen"), QStringLiteral("?"),
                             QMessageBox::Yes | QMessageBox::No);
        return {buttons.button(QDialogButtonBox::Cancel)->text(), question.button(QMessageBox::Yes)->text(),
                question.button(QMessageBox::No)->text()};
    }

    // The label in front of the directory box of Qt's own file dialog.
    static QString fileDialogLookIn()
    {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        auto* label = dialog.findChild<QLabel*>(QStringLiteral("lookInLabel"));
        return label ? label->text() : QString();
    }

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }

    void standardDialogsFollowTheLanguage()
    {
        LanguageManager* manager = LanguageManager::instance();
        QCOMPARE(manager->activeLanguage(), int(LanguageManager::German));
        // GIVEN the German interface THEN Qt's catalogue of German is installed and used
        QCOMPARE(manager->installedQtCatalogues().size(), 1);
        QVERIFY(manager->installedQtCatalogues().constFirst().endsWith(QLatin1String("qtbase_de.qm")));
        const QStringList german{QStringLiteral("Abbrechen"), QStringLiteral("&Ja"), QStringLiteral("&Nein")};
        QCOMPARE(buttonTexts(), german);
        QCOMPARE(fileDialogLookIn(), QStringLiteral("Suchen in:"));

        // WHEN the user switches to English THEN Qt speaks its own English again
        manager->setActiveLanguage(LanguageManager::English);
        QVERIFY(manager->installedQtCatalogues().isEmpty());
        QCOMPARE(buttonTexts(), (QStringList{QStringLiteral("Cancel"), QStringLiteral("&Yes"), QStringLiteral("&No")}));
        QCOMPARE(fileDialogLookIn(), QStringLiteral("Look in:"));

        // WHEN back to German THEN German once more, with one catalogue, not two
        manager->setActiveLanguage(LanguageManager::German);
        QCOMPARE(manager->installedQtCatalogues().size(), 1);
        QCOMPARE(buttonTexts(), german);
    }
};

QTEST_MAIN(TestQtCatalogues)
#include "tst_qtcatalogues.moc"
