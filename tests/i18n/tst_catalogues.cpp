#include "TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

struct Message
{
    QString context;
    QString source;
    bool numerus = false;
    bool unfinished = false;
    QStringList forms;   // the translation, or its plural forms
};

struct Catalogue
{
    QString language;
    QString sourceLanguage;
    QList<Message> messages;
};

QStringList readForms(QXmlStreamReader& xml, bool numerus)
{
    if (!numerus)
        return {xml.readElementText()};
    QStringList forms;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("numerusform"))
            forms.append(xml.readElementText());
        else
            xml.skipCurrentElement();
    }
    return forms;
}

Catalogue readCatalogue(const QString& path)
{
    Catalogue catalogue;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        QTest::qFail(qPrintable(path + QStringLiteral(": ") + file.errorString()), __FILE__, __LINE__);
        return catalogue;
    }
    QXmlStreamReader xml(&file);
    QString context;
    Message message;
    while (xml.readNext() != QXmlStreamReader::Invalid && !xml.atEnd()) {
        if (!xml.isStartElement())
            continue;
        const QStringRef name = xml.name();
        if (name == QLatin1String("TS")) {
            catalogue.language = xml.attributes().value(QLatin1String("language")).toString();
            catalogue.sourceLanguage = xml.attributes().value(QLatin1String("sourcelanguage")).toString();
        } else if (name == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (name == QLatin1String("message")) {
            message = Message();
            message.context = context;
            message.numerus = xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
        } else if (name == QLatin1String("source")) {
            message.source = xml.readElementText();
        } else if (name == QLatin1String("translation")) {
            // Vanished and obsolete texts are as much a loss as unfinished ones.
            message.unfinished = !xml.attributes().value(QLatin1String("type")).isEmpty();
            message.forms = readForms(xml, message.numerus);
            catalogue.messages.append(message);
        }
    }
    if (xml.hasError())
        QTest::qFail(qPrintable(path + QStringLiteral(": ") + xml.errorString()), __FILE__, __LINE__);
    return catalogue;
}

QSet<QString> placeholders(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("%L?(\\d+|n)"));
    QSet<QString> result;
    QRegularExpressionMatchIterator it = pattern.globalMatch(text);
    while (it.hasNext())
        result.insert(it.next().captured(1));
    return result;
}

int mnemonics(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("&(?!&|\\s)"));
    QString withoutEscaped = text;
    withoutEscaped.remove(QStringLiteral("&&"));
    return withoutEscaped.count(pattern);
}

// What a user of the English interface would run into, one line per text.
QStringList problemsOf(const Message& message)
{
    QStringList problems;
    const auto problem = [&](const QString& what) {
        problems.append(QStringLiteral("%1: \"%2\": %3").arg(message.context, message.source, what));
    };
    if (message.unfinished)
        problem(QStringLiteral("not finished"));
    // English has one singular and one plural form.
    if (message.numerus && message.forms.size() != 2)
        problem(QStringLiteral("%1 plural forms instead of 2").arg(message.forms.size()));
    for (const QString& form : message.forms) {
        if (form.isEmpty()) {
            problem(QStringLiteral("not translated"));
            continue;
        }
        if (placeholders(form) != placeholders(message.source))
            problem(QStringLiteral("placeholders differ in \"%1\"").arg(form));
        if (mnemonics(form) != mnemonics(message.source))
            problem(QStringLiteral("keyboard mnemonics differ in \"%1\"").arg(form));
    }
    return problems;
}

} // namespace

class tst_Catalogues : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        KxTest::initTestEnvironment();
    }

    void catalogueCoversItsSources_data()
    {
        QTest::addColumn<QString>("sourceDirectory");
        QTest::addColumn<QString>("catalogue");
        QTest::newRow("library") << QStringLiteral("src") << QStringLiteral("kxparametercustomlist_en.ts");
        QTest::newRow("suite") << QStringLiteral("suite") << QStringLiteral("kxsuite_en.ts");
        QTest::newRow("application") << QStringLiteral("app") << QStringLiteral("kxsuiteapp_en.ts");
    }

    // GIVEN the committed catalogue
    // WHEN it is brought up to date with the sources as they are now, in a copy
    // THEN every text of the sources is in it, finished, with the placeholders
    //      and mnemonics of its German original and both English plural forms.
    void catalogueCoversItsSources()
    {
        QFETCH(QString, sourceDirectory);
        QFETCH(QString, catalogue);

        QTemporaryDir work;
        QVERIFY(work.isValid());
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
        QCOMPARE(lupdate.exitStatus(), QProcess::NormalExit);
        // lupdate only complains where a text could not be given the context
        // it is looked up in at run time, so it would never be translated.
        const QString complaints = QString::fromLocal8Bit(lupdate.readAllStandardError()).trimmed();
        QVERIFY2(complaints.isEmpty(), qPrintable(complaints));
        QCOMPARE(lupdate.exitCode(), 0);

        const Catalogue result = readCatalogue(copy);
        QCOMPARE(result.sourceLanguage, QStringLiteral("de_DE"));
        QCOMPARE(result.language, QStringLiteral("en_US"));
        QVERIFY2(!result.messages.isEmpty(), "lupdate found no text at all");
        QStringList problems;
        for (const Message& message : result.messages)
            problems += problemsOf(message);
        QVERIFY2(problems.isEmpty(), qPrintable(QStringLiteral("%1 problems among %2 texts (run the target "
                                                               "kx-update-translations and translate them):\n")
                                                    .arg(problems.size())
                                                    .arg(result.messages.size())
                                                + problems.join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(tst_Catalogues)
#include "tst_catalogues.moc"
