// Uses the library only as the application does: through the shared library
// and the headers it installs.
#include "ListTestSupport.h"
#include "TestSupport.h"

#include "ParameterCustomListInformation.h"
#include "ParameterCustomListRepository.h"

#include "FileStorageView.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

class TestRepositoryPublicApi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        KxTest::initTestEnvironment();
    }

    void stateIconsRegisteredWithTheLibrary()
    {
        for (const char* name : {"standard.png", "changed.png", "locked.png", "changed locked.png"})
            QVERIFY2(QFile::exists(QStringLiteral(":/Resources/") + QLatin1String(name)), name);
    }

    void applicationRoad()
    {
        // GIVEN the application's host handed to the singleton
        KxTest::Host host;
        ParameterCustomListRepository& repository = ParameterCustomListRepository::instance();
        QCOMPARE(&repository, &ParameterCustomListRepository::instance());
        repository.initialize(&host);
        QCOMPARE(repository.driveControllerAxes().size(), 4);
        QCOMPARE(repository.driveControllerAxis(repository.driveControllerAxisSaveIdentifier(host.axis(1, 1))),
                 host.axis(1, 1));

        // WHEN a list is edited through its public face and the project is saved and loaded
        QSignalSpy contentChanged(&repository, SIGNAL(repositoryContentChanged()));
        ParameterCustomListInformation* list = repository.createList();
        QCOMPARE(contentChanged.count(), 1);
        QSignalSpy entriesChanged(list, SIGNAL(listEntriesChanged()));
        list->addEntry(QStringLiteral("B20"));
        list->importText("A10\r\nA12[3]\r\n");
        QTRY_COMPARE(entriesChanged.count(), 2);
        const QString identifier = list->identifier();
        const QByteArray exported = list->exportText();
        FileStorageView storage;
        repository.save(&storage);
        repository.load(&storage);

        // THEN the same list is back
        QCOMPARE(repository.content().size(), 1);
        ParameterCustomListInformation* loaded = repository.list(identifier);
        QVERIFY(loaded);
        QCOMPARE(loaded->exportText(), exported);
        QCOMPARE(repository.unreadableListCount(), 0);
        repository.clear();
        QVERIFY(repository.content().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRepositoryPublicApi)
#include "tst_repositorypublicapi.moc"
