#include "FileStorageView.h"
#include "TestSupport.h"

#include <QtTest>

class FileStorageViewTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void itemsKeepTheOrderOfFirstWrite();
    void subStoragesAreCreatedOnceAndKeptInOrder();
    void clearDropsEverything();
};

void FileStorageViewTest::initTestCase()
{
    KxTest::initTestEnvironment();
}

void FileStorageViewTest::itemsKeepTheOrderOfFirstWrite()
{
    // GIVEN three items
    FileStorageView view;
    view.writeItem(QStringLiteral("List0"), "a");
    view.writeItem(QStringLiteral("List1"), "b");
    view.writeItem(QStringLiteral("List2"), QByteArray("\0c", 2));

    // WHEN the middle one is rewritten and the first removed
    view.writeItem(QStringLiteral("List1"), "neu");
    view.removeItem(QStringLiteral("List0"));
    view.removeItem(QStringLiteral("fehlt"));

    // THEN the rewritten item kept its place and its new bytes
    QCOMPARE(view.itemNames(), (QStringList{QStringLiteral("List1"), QStringLiteral("List2")}));
    QCOMPARE(view.readItem(QStringLiteral("List1")), QByteArray("neu"));
    QCOMPARE(view.readItem(QStringLiteral("List2")), QByteArray("\0c", 2));
    QVERIFY(!view.hasItem(QStringLiteral("List0")));
    QVERIFY(view.readItem(QStringLiteral("List0")).isEmpty());
}

void FileStorageViewTest::subStoragesAreCreatedOnceAndKeptInOrder()
{
    // GIVEN a view WHEN sub-storages are asked for, one of them twice
    FileStorageView view;
    const FileStorageView& constView = view;
    QVERIFY(!constView.subStorage(QStringLiteral("Listen")));
    FileStorageView* lists = view.storage(QStringLiteral("Listen"));
    FileStorageView* slashed = view.storage(QStringLiteral("a/b"));
    lists->writeItem(QStringLiteral("x"), "1");

    // THEN the same object comes back, names with "/" are plain names, and
    // asking created nothing else
    QCOMPARE(view.storage(QStringLiteral("Listen")), lists);
    QCOMPARE(constView.subStorage(QStringLiteral("Listen")), lists);
    QCOMPARE(view.storageNames(), (QStringList{QStringLiteral("Listen"), QStringLiteral("a/b")}));
    QVERIFY(view.hasStorage(QStringLiteral("a/b")));
    QVERIFY(!view.hasStorage(QStringLiteral("a")));
    QVERIFY(slashed->isEmpty());
    QCOMPARE(view.storage(QStringLiteral("Listen"))->readItem(QStringLiteral("x")), QByteArray("1"));
    QVERIFY(view.itemNames().isEmpty());

    view.removeStorage(QStringLiteral("Listen"));
    QCOMPARE(view.storageNames(), QStringList{QStringLiteral("a/b")});
    QVERIFY(view.storage(QStringLiteral("Listen"))->isEmpty());
}

void FileStorageViewTest::clearDropsEverything()
{
    // GIVEN items and nested sub-storages
    FileStorageView view;
    view.writeItem(QStringLiteral("i"), "1");
    view.storage(QStringLiteral("s"))->storage(QStringLiteral("t"))->writeItem(QStringLiteral("j"), "2");

    // WHEN cleared
    view.clear();

    // THEN nothing is left, and a sub-storage asked for again starts empty
    QVERIFY(view.isEmpty());
    QVERIFY(view.itemNames().isEmpty());
    QVERIFY(view.storageNames().isEmpty());
    QVERIFY(view.storage(QStringLiteral("s"))->storageNames().isEmpty());
}

QTEST_GUILESS_MAIN(FileStorageViewTest)
#include "tst_filestorageview.moc"
