// Uses the library only as the application does: through the shared library
// and its installed headers.
#include "ModelTestSupport.h"
#include "TestSupport.h"

#include "ParameterCustomListInformation.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListRepositoryHost.h"

#include "DriveControllerAxis.h"
#include "FileStorageView.h"
#include "ProjectFile.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
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

    void projectRoundTrip()
    {
        // GIVEN an application host and two lists edited through the public faces
        ModelTest::Host host;
        ParameterCustomListRepository& repository = ParameterCustomListRepository::instance();
        QCOMPARE(&repository, &ParameterCustomListRepository::instance());
        repository.initialize(&host);
        QCOMPARE(repository.driveControllerAxes().size(), 4);

        QSignalSpy contentChanged(&repository, SIGNAL(repositoryContentChanged()));
        ParameterCustomListInformation* first = repository.createList();
        ParameterCustomListInformation* second = repository.createList();
        QCOMPARE(contentChanged.count(), 2);
        QSignalSpy entriesChanged(first, SIGNAL(listEntriesChanged()));
        first->addEntry(QStringLiteral("B20"));
        first->importText("A10\r\nA12[3]\r\n");
        second->addEntry(QStringLiteral("G01"));
        QTRY_COMPARE(entriesChanged.count(), 2);
        QCOMPARE(repository.list(second->identifier()), second);

        // WHEN the project is saved to a file and opened again
        QTemporaryDir directory;
        const QString path = directory.filePath(QStringLiteral("anlage.kxp"));
        const QStringList identifiers{first->identifier(), second->identifier()};
        const QByteArray firstText = first->exportText();
        FileStorageView saved;
        repository.save(&saved);
        QString error;
        QVERIFY2(ProjectFile::write(path, saved, &error), qPrintable(error));
        FileStorageView read;
        QVERIFY2(ProjectFile::read(path, &read, &error), qPrintable(error));
        repository.load(&read);

        // THEN the same lists are back; without axes, selections of single elements are empty
        const QList<ParameterCustomListInformation*> content = repository.content();
        QCOMPARE(content.size(), 2);
        QCOMPARE(content.at(0)->identifier(), identifiers.at(0));
        QCOMPARE(content.at(1)->identifier(), identifiers.at(1));
        QCOMPARE(content.at(0)->exportText(), firstText);
        QCOMPARE(content.at(1)->exportText(), QByteArray("G01\r\n"));
        QCOMPARE(content.at(0)->name(), QStringLiteral("neue Parameterliste"));
        QCOMPARE(repository.unreadableListCount(), 0);

        QCOMPARE(repository.driveControllerAxisSaveIdentifier(host.axis(1, 1)), QByteArray("1:1"));
        QCOMPARE(repository.driveControllerAxis("1:1"), host.axis(1, 1));

        repository.deleteList(content.at(0));
        QCOMPARE(repository.content().size(), 1);
        repository.clear();
        QVERIFY(repository.content().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRepositoryPublicApi)
#include "tst_repositorypublicapi.moc"
