// A machine that dies during a save: a child process saves project after
// project into one file and is killed at random moments. Whatever the
// moment, the file must hold one complete save, and the save after the kill
// must leave nothing of the killed one behind.
#include "FileStorageView.h"
#include "ProjectFile.h"
#include "SaveGenerations.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QStringList directoryEntries(const QString& path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QStringList generation(int number)
{
    FileStorageView root;
    SaveGenerations::build(&root, number);
    return SaveGenerations::flatten(root);
}

} // namespace

class CrashSaveTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }

    void killedSavesLeaveTheLastOrTheNewContent()
    {
        // The seed makes the kill moments reproducible as far as the machine's timing allows.
        QRandomGenerator random(20261206);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString file = dir.filePath(QStringLiteral("Absturz.kxproj"));
        constexpr int rounds = 60;
        int next = 1;              // the generation the next child starts with
        int held = 0;              // the generation the file holds; 0: no file
        int keptPrevious = 0, tookNew = 0, noFile = 0, leftTemporary = 0, leftJournal = 0, completedSaves = 0;

        for (int round = 0; round < rounds; ++round) {
            // Every third child removes the file before each save, so that kills hit first saves, which
            // go through a temporary file, as often as saves over an existing file.
            const bool fresh = round % 3 == 2;

            // GIVEN a child saving generation after generation
            QProcess child;
            child.setProcessChannelMode(QProcess::SeparateChannels);
            QStringList arguments{file, QString::number(next)};
            if (fresh)
                arguments << QStringLiteral("fresh");
            child.start(QStringLiteral(KX_CRASH_SAVE_CHILD), arguments);
            QTRY_VERIFY(child.state() == QProcess::Running);
            // WHEN it is killed at a random moment
            QTest::qWait(int(random.bounded(5, 120)));
            child.kill();
            QTRY_VERIFY_WITH_TIMEOUT(child.state() == QProcess::NotRunning, 10000);
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);
            QVERIFY2(child.readAllStandardError().isEmpty(), "the child's saves failed");
            const QList<QByteArray> printed = child.readAllStandardOutput().split('\n');
            int last = held;
            for (const QByteArray& line : printed) {
                if (!line.isEmpty())
                    last = line.toInt();
            }
            completedSaves += last == held ? 0 : last - next + 1;
            const QStringList entries = directoryEntries(dir.path());
            leftTemporary += entries.filter(QRegularExpression(QStringLiteral("^\\.Absturz\\.kxproj\\..{6}$"))).size();
            leftJournal += entries.contains(QStringLiteral("Absturz.kxproj-journal")) ? 1 : 0;

            // THEN the file opens without a word and holds the last save the child reported or the one
            // it was writing; without a reported save, what it held before or the first one. Only a
            // child that removes the file may leave none.
            const int previous = last;
            const int candidate = last == held ? next : last + 1;
            if (!QFileInfo::exists(file)) {
                QVERIFY(fresh);
                held = 0;
            } else {
                FileStorageView read;
                QString message;
                QStringList warnings;
                QVERIFY2(ProjectFile::read(file, &read, &message, &warnings), qPrintable(message));
                QCOMPARE(warnings, QStringList());
                const QStringList content = SaveGenerations::flatten(read);
                if (previous != 0 && content == generation(previous)) {
                    held = previous;
                    ++keptPrevious;
                } else {
                    QVERIFY2(content == generation(candidate),
                             qPrintable(QStringLiteral("round %1: neither generation %2 nor %3").arg(round).arg(previous).arg(candidate)));
                    held = candidate;
                    ++tookNew;
                }
            }
            if (held == 0)
                ++noFile;

            // AND the next save leaves the project file alone in the directory
            next = std::max(held, last) + 1;
            FileStorageView root;
            SaveGenerations::build(&root, next);
            QString message;
            QVERIFY2(ProjectFile::write(file, root, &message), qPrintable(message));
            QCOMPARE(directoryEntries(dir.path()), QStringList{QStringLiteral("Absturz.kxproj")});
            held = next++;
        }
        qInfo("%d kills: the file held the previous content %d times, the new one %d times, was removed %d times; "
              "%d saves completed between kills; left behind by kills: %d temporary files, %d journals",
              rounds, keptPrevious, tookNew, noFile, completedSaves, leftTemporary, leftJournal);
    }
};

QTEST_GUILESS_MAIN(CrashSaveTest)
#include "tst_crashsave.moc"
