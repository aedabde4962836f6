// Writes a synthetic device description, e.g. for benchmarks and for trying
// the application with large catalogues.

#include "DeviceDescription.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <limits>

namespace {

int intOption(const QCommandLineParser& parser, const QString& name, int minimum, int maximum, bool* ok)
{
    bool valid = false;
    const int value = parser.value(name).toInt(&valid);
    if (!valid || value < minimum || value > maximum) {
        QTextStream(stderr) << QStringLiteral("--%1 must be a number from %2 to %3\n").arg(name).arg(minimum).arg(maximum);
        *ok = false;
    }
    return value;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kx-generate-description"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes a synthetic device description (JSON)."));
    parser.addHelpOption();
    parser.addOptions({
        {{QStringLiteral("n"), QStringLiteral("parameters")}, QStringLiteral("Number of parameters (0..26000)."), QStringLiteral("count"), QStringLiteral("5000")},
        {{QStringLiteral("c"), QStringLiteral("controllers")}, QStringLiteral("Number of controllers."), QStringLiteral("count"), QStringLiteral("2")},
        {{QStringLiteral("a"), QStringLiteral("axes")}, QStringLiteral("Axes per controller (0..16)."), QStringLiteral("count"), QStringLiteral("2")},
        {{QStringLiteral("s"), QStringLiteral("seed")}, QStringLiteral("Seed; the same seed gives the same description."), QStringLiteral("number"), QStringLiteral("1")},
        {QStringLiteral("arrays-every"), QStringLiteral("Every n-th parameter (the first included) an array, all others single values; 0: the usual mix."), QStringLiteral("n"), QStringLiteral("0")},
        {QStringLiteral("array-length"), QStringLiteral("Elements of those arrays (2..64)."), QStringLiteral("count"), QStringLiteral("8")},
        {{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("Output file instead of standard output."), QStringLiteral("file")},
    });
    parser.process(app);

    bool ok = true;
    const int parameters = intOption(parser, QStringLiteral("parameters"), 0, 26000, &ok);
    const int controllers = intOption(parser, QStringLiteral("controllers"), 0, 1000, &ok);
    const int axes = intOption(parser, QStringLiteral("axes"), 0, 16, &ok);
    SyntheticShape shape;
    shape.arrayEvery = intOption(parser, QStringLiteral("arrays-every"), 0, 26000, &ok);
    shape.arrayLength = intOption(parser, QStringLiteral("array-length"), 2, 64, &ok);
    bool seedOk = false;
    const uint seed = parser.value(QStringLiteral("seed")).toUInt(&seedOk);
    if (!seedOk)
        QTextStream(stderr) << QStringLiteral("--seed must be a number from 0 to %1\n").arg(std::numeric_limits<quint32>::max());
    if (!ok || !seedOk) {
        QTextStream(stderr) << QStringLiteral("invalid arguments; see --help\n");
        return 2;
    }

    const QByteArray json = syntheticDeviceDescription(parameters, controllers, axes, seed, shape);
    QFile output;
    const QString path = parser.value(QStringLiteral("output"));
    const bool opened = path.isEmpty() ? output.open(stdout, QIODevice::WriteOnly) : (output.setFileName(path), output.open(QIODevice::WriteOnly));
    if (!opened || output.write(json) != json.size()) {
        QTextStream(stderr) << QStringLiteral("cannot write %1: %2\n").arg(path.isEmpty() ? QStringLiteral("output") : path, output.errorString());
        return 1;
    }
    return 0;
}
