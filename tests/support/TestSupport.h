#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace KxTest {

// Call first in initTestCase(): routes QSettings and QStandardPaths into a
// private temporary location so tests never touch the user's settings, and
// makes every qWarning/qCritical that the test did not announce with
// expectWarning() fail the running test function.
void initTestEnvironment();

// Announces one warning (matched as a regular expression) that the code under
// test is expected to print; it is swallowed instead of failing the test.
void expectWarning(const QString& pattern);

// Absolute path of a file below the repository's data/ directory.
QString dataPath(const QString& relative);

// Reads a whole file; fails the running test when it cannot be read.
QByteArray readFile(const QString& path);

} // namespace KxTest
