#include "ParameterCustomListImport.h"

#include <QDir>
#include <QMessageBox>
#include <QTextCodec>

#include <cstring>

namespace {

bool isUtf8(const char* data, int length)
{
    static QTextCodec* const codec = QTextCodec::codecForName("UTF-8");
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    codec->toUnicode(data, length, &state);
    return state.invalidChars == 0 && state.remainingChars == 0;
}

} // namespace

int ParameterCustomListImport::lineLimit()
{
    return 10000;
}

QString ParameterCustomListImport::doubt(const QByteArray& text)
{
    if (text.contains('\0'))
        return tr("sie enthält Null-Bytes, ist also keine Textdatei");
    const int lines = text.count('\n') + (text.isEmpty() || text.endsWith('\n') ? 0 : 1);
    if (lines > lineLimit())
        return tr("sie hat %1 Zeilen, mehr als %2").arg(lines).arg(lineLimit());
    int filled = 0;
    int invalid = 0;
    const char* const end = text.constData() + text.size();
    for (const char* line = text.constData(); line < end;) {
        const char* next = static_cast<const char*>(std::memchr(line, '\n', size_t(end - line)));
        if (!next)
            next = end;
        if (next - line > 1 || (next - line == 1 && *line != '\r')) {
            ++filled;
            if (!isUtf8(line, int(next - line)))
                ++invalid;
        }
        line = next + 1;
    }
    if (invalid * 2 > filled)
        return tr("%1 ihrer %2 Zeilen sind kein gültiger UTF-8-Text").arg(invalid).arg(filled);
    return {};
}

bool ParameterCustomListImport::confirm(QWidget* parent, const QString& title, const QString& fileName,
                                        const QByteArray& text)
{
    const QString reason = doubt(text);
    if (reason.isEmpty())
        return true;
    const int lines = text.count('\n') + (text.isEmpty() || text.endsWith('\n') ? 0 : 1);
    const QString question =
        tr("Die Datei %1 sieht nicht nach einer Parameterzusammenstellung aus: %2.\n\n"
           "Der Import macht aus jeder Zeile, die mit einem Parameternamen beginnt, einen Eintrag der Liste; "
           "die Datei hat %3 Zeilen, es können also bis zu %3 Einträge entstehen.\n\nTrotzdem importieren?")
            .arg(QDir::toNativeSeparators(fileName), reason)
            .arg(lines);
    return QMessageBox::question(parent, title, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}
