#include "FuzzSupport.h"

#include <QApplication>
#include <QDir>
#include <QSet>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace KxFuzz {

namespace {

int pendingInputs = 0;
QSet<QString> pendingSeen;

QStringList pendingAllowed()
{
    static const QStringList names
        = QString::fromLocal8Bit(qgetenv("KX_FUZZ_PENDING")).split(QLatin1Char(','), Qt::SkipEmptyParts);
    return names;
}

} // namespace

void fail(const char* property, const QString& detail)
{
    std::fprintf(stderr, "property broken: %s\n", property);
    if (!detail.isEmpty())
        std::fprintf(stderr, "%s\n", detail.toLocal8Bit().constData());
    std::fflush(stderr);
    std::abort();
}

bool pending(const char* defect, const QString& detail)
{
    const QString name = QString::fromLatin1(defect);
    if (!pendingAllowed().contains(name))
        fail(defect, detail);
    ++pendingInputs;
    pendingSeen.insert(name);
    return true;
}

int pendingCount()
{
    return pendingInputs;
}

QString pendingNames()
{
    QStringList names = pendingSeen.values();
    names.sort();
    return names.join(QStringLiteral(", "));
}

void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings and help pages must not reach the user's home.
    static QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + QStringLiteral("/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path() + QStringLiteral("/data")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(home.path() + QStringLiteral("/cache")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));
    static int argc = 1;
    static char name[] = "kx-fuzz";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
}

} // namespace KxFuzz
