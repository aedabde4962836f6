#include "FileStorageView.h"
#include "ModbusTestSupport.h"
#include "ProjectFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace KxModbusTest;

namespace {

const QString Example = QStringLiteral(KX_SOURCE_DIR "/examples/modbus/tannberg-td2.json");
const QString Sample = QStringLiteral(KX_DATA_DIR "/sample-project.json");

QStringList args(std::initializer_list<const char*> list)
{
    QStringList result;
    for (const char* item : list)
        result.append(QString::fromLatin1(item));
    return result;
}

// "Portal Y/Z  1.C10[0]  unit -  register 3887  count 2  int32  scale 0.1" of --print-map.
struct MapLine
{
    int address = -1;
    int count = 0;
    QString type;
    double scale = 1;
};

MapLine mapLine(const QString& description, const QString& controller, const QString& value)
{
    QProcess print;
    print.start(driveSimulator(), {QStringLiteral("--print-map"), description});
    print.waitForFinished(20000);
    MapLine result;
    const QRegularExpression line(QStringLiteral("^%1\\t%2\\tunit \\S+\\tregister (\\d+)\\tcount (\\d+)\\t(\\w+)\\tscale (\\S+)")
                                      .arg(QRegularExpression::escape(controller), QRegularExpression::escape(value)),
        QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(QString::fromUtf8(print.readAllStandardOutput()));
    if (match.hasMatch()) {
        result.address = match.captured(1).toInt();
        result.count = match.captured(2).toInt();
        result.type = match.captured(3);
        result.scale = match.captured(4).toDouble();
    }
    return result;
}

QString text(const QVector<double>& registers)
{
    QByteArray bytes;
    for (double r : registers) {
        bytes.append(char(int(r) >> 8));
        bytes.append(char(int(r) & 0xFF));
    }
    return QString::fromUtf8(bytes.left(bytes.indexOf('\0') < 0 ? bytes.size() : bytes.indexOf('\0')));
}

} // namespace

class TestDriveSimulator : public QObject
{
    Q_OBJECT

private slots:
    void servesThePublishedMap()
    {
        ServerProcess sim;
        QVERIFY2(sim.start(driveSimulator(), {QStringLiteral("--port"), QString::number(freePort()), Example}, 1), qPrintable(sim.errorText()));
        const int port = sim.port();
        // Axis 1's setpoint of 37.5 Hz in 0.01 Hz; axis 2 still at its default of 50 Hz.
        QCOMPARE(mbpollRead(port, args({"-r", "1000", "-c", "1"})), QVector<double>{3750});
        QCOMPARE(mbpollRead(port, args({"-r", "2000", "-c", "1"})), QVector<double>{5000});
        // 12.5 s in 0.1 s as a 32-bit value, low word first (mbpoll's own word order).
        QCOMPARE(mbpollRead(port, args({"-r", "2002", "-t", "4:int"})), QVector<double>{125});
        QCOMPARE(mbpollRead(port, args({"-r", "1010", "-c", "3"})), (QVector<double>{100, 200, 300}));
        QCOMPARE(text(mbpollRead(port, args({"-r", "0", "-c", "8"}))), QStringLiteral("TD-2"));
    }

    void servesTheDefaultMapOfASampleProject()
    {
        ServerProcess sim;
        QVERIFY2(sim.start(driveSimulator(), {QStringLiteral("--port"), QString::number(freePort()), Sample}, 3), qPrintable(sim.errorText()));
        // The description gives axis 1 of "Portal Y/Z" C10 = 180 and A01 = "Portal PZ-3".
        const MapLine c10 = mapLine(Sample, QStringLiteral("Portal Y/Z"), QStringLiteral("1.C10[0]"));
        QCOMPARE(c10.type, QStringLiteral("int32"));
        const QVector<double> value = mbpollRead(sim.port(0), {QStringLiteral("-r"), QString::number(c10.address), QStringLiteral("-t"), QStringLiteral("4:int"), QStringLiteral("-B")});
        QCOMPARE(value.size(), 1);
        QCOMPARE(value.first() * c10.scale, 180.0);
        const MapLine a01 = mapLine(Sample, QStringLiteral("Portal Y/Z"), QStringLiteral("0.A01[0]"));
        QCOMPARE(a01.type, QStringLiteral("string"));
        QCOMPARE(text(mbpollRead(sim.port(0), {QStringLiteral("-r"), QString::number(a01.address), QStringLiteral("-c"), QString::number(a01.count)})),
            QStringLiteral("Portal PZ-3"));
        QVERIFY(sim.port(1) != sim.port(0));
    }

    void writtenValuesAreKept()
    {
        ServerProcess sim;
        QVERIFY2(sim.start(driveSimulator(), {QStringLiteral("--port"), QString::number(freePort()), Example}, 1), qPrintable(sim.errorText()));
        QString output;
        QCOMPARE(mbpoll(sim.port(), args({"-r", "2000", "127.0.0.1", "4012"}), &output), 0);
        QCOMPARE(mbpoll(sim.port(), args({"-r", "1002", "-t", "4:int", "127.0.0.1", "36000"}), &output), 0);
        QCOMPARE(mbpoll(sim.port(), args({"-r", "2010", "127.0.0.1", "0xFE11", "495"}), &output), 0);
        QCOMPARE(mbpollRead(sim.port(), args({"-r", "2000", "-c", "1"})), QVector<double>{4012});
        QCOMPARE(mbpollRead(sim.port(), args({"-r", "1002", "-c", "2"})), (QVector<double>{36000 & 0xFFFF, 36000 >> 16}));
        QCOMPARE(mbpollRead(sim.port(), args({"-r", "2010", "-c", "3"})), (QVector<double>{65536 - 495, 495, 300}));
        // Axis 1 keeps its own value.
        QCOMPARE(mbpollRead(sim.port(), args({"-r", "1010", "-c", "1"})), QVector<double>{100});
    }

    void refusedWritesGiveExceptionCodes_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("write");
        QTest::addColumn<QString>("message");
        QTest::newRow("above the maximum") << QStringList() << args({"-r", "1000", "127.0.0.1", "40001"}) << "Illegal data value";
        QTest::newRow("not a choice") << QStringList() << args({"-r", "1006", "127.0.0.1", "3"}) << "Illegal data value";
        QTest::newRow("read-only value") << QStringList() << args({"-r", "1004", "-t", "4:float", "127.0.0.1", "1.5"}) << "Illegal function";
        QTest::newRow("half of a 32-bit value") << QStringList() << args({"-r", "1003", "127.0.0.1", "1"}) << "Illegal data address";
        QTest::newRow("no value there") << QStringList() << args({"-r", "1500", "127.0.0.1", "1"}) << "Illegal data address";
        QTest::newRow("one bad value of several") << QStringList() << args({"-r", "1010", "127.0.0.1", "10", "600"}) << "Illegal data value";
        QTest::newRow("writes refused") << args({"--refuse-writes", "6"}) << args({"-r", "1000", "127.0.0.1", "100"}) << "busy";
    }

    void refusedWritesGiveExceptionCodes()
    {
        QFETCH(QStringList, options);
        QFETCH(QStringList, write);
        QFETCH(QString, message);
        ServerProcess sim;
        QVERIFY2(sim.start(driveSimulator(), options + QStringList{QStringLiteral("--port"), QString::number(freePort()), Example}, 1),
            qPrintable(sim.errorText()));
        QString output;
        QVERIFY(mbpoll(sim.port(), write, &output) != 0);
        QVERIFY2(output.contains(message), qPrintable(output));
        // Nothing of a refused write is kept.
        QCOMPARE(mbpollRead(sim.port(), args({"-r", "1010", "-c", "1"})), QVector<double>{100});
        QCOMPARE(mbpollRead(sim.port(), args({"-r", "1000", "-c", "1"})), QVector<double>{3750});
    }

    void theDriveChangesChosenValues()
    {
        ServerProcess sim;
        QVERIFY2(sim.start(driveSimulator(), {QStringLiteral("--vary"), QStringLiteral("F50"), QStringLiteral("--vary-interval"), QStringLiteral("10"),
                              QStringLiteral("--port"), QString::number(freePort()), Example}, 1),
            qPrintable(sim.errorText()));
        const QVector<double> first = mbpollRead(sim.port(), args({"-r", "1020", "-c", "2"}));
        QCOMPARE(first.size(), 2);
        QTRY_VERIFY(mbpollRead(sim.port(), args({"-r", "1020", "-c", "2"})) != first);
    }

    void endsCleanlyOnSigterm()
    {
        ServerProcess sim;
        QVERIFY2(sim.start(driveSimulator(), {QStringLiteral("--port"), QString::number(freePort()), Example}, 1), qPrintable(sim.errorText()));
        QCOMPARE(sim.terminate(), 0);
    }

    void servesTheControllersOfAProjectFile()
    {
        // A project as the application stores it: the controllers' JSON in "Project/Controllers".
        const QJsonObject controller{{QStringLiteral("type"), QStringLiteral("Tannberg TD-2")}, {QStringLiteral("typeFile"), Example},
            {QStringLiteral("name"), QStringLiteral("Band")},
            {QStringLiteral("axes"), QJsonArray{QJsonObject{{QStringLiteral("number"), 2}, {QStringLiteral("name"), QStringLiteral("B")}}}},
            {QStringLiteral("values"), QJsonArray{QJsonObject{{QStringLiteral("coordinate"), QStringLiteral("F10")}, {QStringLiteral("livingSpace"), 2},
                                                      {QStringLiteral("element"), 0}, {QStringLiteral("value"), QStringLiteral("12.34")}},
                                           QJsonObject{{QStringLiteral("coordinate"), QStringLiteral("P02")}, {QStringLiteral("livingSpace"), 0},
                                               {QStringLiteral("element"), 0}, {QStringLiteral("value"), QStringLiteral("230")}}}}};
        FileStorageView root;
        root.storage(QStringLiteral("Project"))->writeItem(QStringLiteral("Controllers"),
            QJsonDocument(QJsonObject{{QStringLiteral("format"), QStringLiteral("KxSuiteProject")}, {QStringLiteral("version"), 1},
                              {QStringLiteral("controllers"), QJsonArray{controller}}}).toJson());
        QTemporaryDir dir;
        const QString project = dir.filePath(QStringLiteral("band.kxproj"));
        QString error;
        QVERIFY2(ProjectFile::write(project, root, &error), qPrintable(error));

        ServerProcess sim;
        QVERIFY2(sim.start(driveSimulator(), {QStringLiteral("--port"), QString::number(freePort()), project}, 1), qPrintable(sim.errorText()));
        QCOMPARE(mbpollRead(sim.port(), args({"-r", "2000", "-c", "1"})), QVector<double>{1234});
        QCOMPARE(mbpollRead(sim.port(), args({"-r", "8", "-c", "1"})), QVector<double>{230});
        // Axis 1 is not part of this controller.
        QString output;
        QVERIFY(mbpoll(sim.port(), args({"-r", "1000", "127.0.0.1", "1"}), &output) != 0);
        QVERIFY2(output.contains(QLatin1String("Illegal data address")), qPrintable(output));
    }

    void refusesWhatItCannotServe()
    {
        QProcess broken;
        broken.start(driveSimulator(), {QStringLiteral(KX_SOURCE_DIR "/no-such-description.json")});
        QVERIFY(broken.waitForFinished(20000));
        QVERIFY(broken.exitCode() != 0);
        QVERIFY(broken.readAllStandardError().contains("no-such-description.json"));
    }
};

QTEST_GUILESS_MAIN(TestDriveSimulator)
#include "tst_drivesim.moc"
