#include "TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

QSet<QString> placeholders(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("%L?(\\d+|n)"));
    QSet<QString> result;
    for (auto it = pattern.globalMatch(text); it.hasNext();)
        result.insert(it.next().captured(1));
    return result;
}

int mnemonics(QString text)
{
    static const QRegularExpression pattern(QStringLiteral("&(?!\\s)"));
    return text.remove(QStringLiteral("&&")).count(pattern);
}

// What a user of the English interface would run into, one line per text.
QStringList problemsOf(const QString& path, int* messageCount)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {path + QStringLiteral(": ") + file.errorString()};
    QStringList problems;
    QXmlStreamReader xml(&file);
    QString context, source;
    bool numerus = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            numerus = xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            ++*messageCount;
            const auto problem = [&](const QString& what) {
                problems.append(QStringLiteral("%1: \"%2\": %3").arg(context, source, what));
            };
            // Vanished and obsolete texts are as much a loss as unfinished ones.
            if (!xml.attributes().value(QLatin1String("type")).isEmpty())
                problem(QStringLiteral("not finished"));
            QStringList forms;
            if (!numerus)
                forms.append(xml.readElementText());
            while (numerus && xml.readNextStartElement())
                forms.append(xml.readElementText());
            // English has one singular and one plural form.
            if (numerus && forms.size() != 2)
                problem(QStringLiteral("%1 plural forms instead of 2").arg(forms.size()));
            for (const QString& form : qAsConst(forms)) {
                if (form.isEmpty())
                    problem(QStringLiteral("not translated"));
                else if (placeholders(form) != placeholders(source))
                    problem(QStringLiteral("placeholders differ in \"%1\"").arg(form));
                else if (mnemonics(form) != mnemonics(source))
                    problem(QStringLiteral("keyboard mnemonics differ in \"%1\"").arg(form));
            }
        }
    }
    if (xml.hasError())
        problems.append(path + QStringLiteral(": ") + xml.errorString());
    return problems;
}

} // namespace

class tst_Catalogues : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }

    void catalogueCoversItsSources_data()
    {
        QTest::addColumn<QString>("sourceDirectory");
        QTest::addColumn<QString>("catalogue");
        QTest::newRow("library") << QStringLiteral("src") << QStringLiteral("kxparametercustomlist_en.ts");
        QTest::newRow("suite") << QStringLiteral("suite") << QStringLiteral("kxsuite_en.ts");
        QTest::newRow("application") << QStringLiteral("app") << QStringLiteral("kxsuiteapp_en.ts");
    }

    // The committed catalogue, brought up to date with the sources in a copy,
    // has every text finished, with its original's placeholders and mnemonics.
    void catalogueCoversItsSources()
    {
        QFETCH(QString, sourceDirectory);
        QFETCH(QString, catalogue);

        QTemporaryDir work;
        const QString copy = work.filePath(catalogue);
        QVERIFY(QFile::copy(QStringLiteral(KX_TRANSLATIONS_DIR "/") + catalogue, copy));
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);

        QProcess lupdate;
        lupdate.setWorkingDirectory(QStringLiteral(KX_SOURCE_DIR));
        lupdate.start(QStringLiteral(KX_LUPDATE),
                      {QStringLiteral("-silent"), QStringLiteral("-no-obsolete"), QStringLiteral("-locations"),
                       QStringLiteral("none"), QStringLiteral("-source-language"), QStringLiteral("de_DE"),
                       QStringLiteral("-target-language"), QStringLiteral("en_US"),
                       QStringLiteral(KX_SOURCE_DIR "/") + sourceDirectory, QStringLiteral("-ts"), copy});
        QVERIFY2(lupdate.waitForFinished(60000), qPrintable(lupdate.errorString()));
        // lupdate only complains where a text could not be given the context
        // it is looked up in at run time, so it would never be translated.
        const QString complaints = QString::fromLocal8Bit(lupdate.readAllStandardError()).trimmed();
        QVERIFY2(complaints.isEmpty(), qPrintable(complaints));
        QCOMPARE(lupdate.exitCode(), 0);

        int messages = 0;
        const QStringList problems = problemsOf(copy, &messages);
        QVERIFY2(messages > 0, "lupdate found no text at all");
        QVERIFY2(problems.isEmpty(), qPrintable(QStringLiteral("%1 problems among %2 texts (run the target "
            "kx-update-translations and translate them):\n").arg(problems.size()).arg(messages)
            + problems.join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(tst_Catalogues)
#include "tst_catalogues.moc"
