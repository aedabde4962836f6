#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace KxTest {

namespace {

QtMessageHandler previousHandler = nullptr;
QList<QRegularExpression> expectedWarnings;

void failOnUnexpectedWarning(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg || type == QtCriticalMsg) {
        for (int i = 0; i < expectedWarnings.size(); ++i) {
            if (expectedWarnings.at(i).match(message).hasMatch()) {
                expectedWarnings.removeAt(i);
                return;
            }
        }
    }
    if (previousHandler)
        previousHandler(type, context, message);
    if (type != QtWarningMsg && type != QtCriticalMsg)
        return;
    // Messages of Qt's platform plugins say nothing about our code.
    const QByteArray category(context.category ? context.category : "");
    if (category.startsWith("qt.qpa") || message.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (!qEnvironmentVariableIsSet("KX_ALLOW_WARNINGS"))
        QTest::qFail(qPrintable(QStringLiteral("unexpected warning: ") + message), context.file ? context.file : "?", context.line);
}

} // namespace

void initTestEnvironment()
{
    static QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QDir(home.path()).filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", QDir(home.path()).filePath(QStringLiteral("data")).toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    // Test mode alone would send every test process to the same ~/.qttest
    // settings; tests run in parallel, so each gets its own.
    const QString settingsDir = QDir(home.path()).filePath(QStringLiteral("settings"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir);
    QCoreApplication::setOrganizationName(QStringLiteral("KxTest"));
    QCoreApplication::setApplicationName(QCoreApplication::applicationName() + QStringLiteral("-test"));
    previousHandler = qInstallMessageHandler(failOnUnexpectedWarning);
}

void expectWarning(const QString& pattern)
{
    expectedWarnings.append(QRegularExpression(pattern));
}

QString dataPath(const QString& relative)
{
    return QDir(QStringLiteral(KX_DATA_DIR)).filePath(relative);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        QTest::qFail(qPrintable(QStringLiteral("cannot read ") + path), __FILE__, __LINE__);
        return {};
    }
    return file.readAll();
}

} // namespace KxTest
