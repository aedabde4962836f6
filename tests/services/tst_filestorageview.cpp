#include "FileStorageView.h"
#include "TestSupport.h"

#include <QtTest>

class FileStorageViewTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }
    void itemsKeepTheOrderOfFirstWrite();
    void subStoragesAreCreatedOnceAndCleared();
};

void FileStorageViewTest::itemsKeepTheOrderOfFirstWrite()
{
    // GIVEN three items WHEN the middle one is rewritten and the first removed
    FileStorageView view;
    view.writeItem(QStringLiteral("List0"), "a");
    view.writeItem(QStringLiteral("List1"), "b");
    view.writeItem(QStringLiteral("List2"), QByteArray("\0c", 2));
    view.writeItem(QStringLiteral("List1"), "neu");
    view.removeItem(QStringLiteral("List0"));
    view.removeItem(QStringLiteral("fehlt"));

    // THEN the rewritten item kept its place and took its new bytes
    QCOMPARE(view.itemNames(), (QStringList{QStringLiteral("List1"), QStringLiteral("List2")}));
    QCOMPARE(view.readItem(QStringLiteral("List1")), QByteArray("neu"));
    QCOMPARE(view.readItem(QStringLiteral("List2")), QByteArray("\0c", 2));
    QVERIFY(!view.hasItem(QStringLiteral("List0")));
}

void FileStorageViewTest::subStoragesAreCreatedOnceAndCleared()
{
    // GIVEN sub-storages asked for, one of them twice
    FileStorageView view;
    const FileStorageView& constView = view;
    QVERIFY(!constView.subStorage(QStringLiteral("Listen")));
    FileStorageView* lists = view.storage(QStringLiteral("Listen"));
    view.storage(QStringLiteral("a/b"));
    lists->writeItem(QStringLiteral("x"), "1");

    // THEN the same object comes back and names with "/" are plain names
    QCOMPARE(view.storage(QStringLiteral("Listen")), lists);
    QCOMPARE(constView.subStorage(QStringLiteral("Listen")), lists);
    QCOMPARE(view.storageNames(), (QStringList{QStringLiteral("Listen"), QStringLiteral("a/b")}));
    QVERIFY(!view.hasStorage(QStringLiteral("a")));
    view.removeStorage(QStringLiteral("Listen"));
    QVERIFY(view.storage(QStringLiteral("Listen"))->isEmpty());

    // WHEN cleared THEN nothing is left, and sub-storages start empty again
    view.writeItem(QStringLiteral("i"), "1");
    view.storage(QStringLiteral("s"))->storage(QStringLiteral("t"));
    view.clear();
    QVERIFY(view.isEmpty());
    QVERIFY(view.itemNames().isEmpty() && view.storageNames().isEmpty());
    QVERIFY(view.storage(QStringLiteral("s"))->storageNames().isEmpty());
}

QTEST_GUILESS_MAIN(FileStorageViewTest)
#include "tst_filestorageview.moc"
