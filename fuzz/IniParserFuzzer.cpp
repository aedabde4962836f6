// Feeds arbitrary bytes to the INI parser. Besides crashes it catches texts
// that do not settle: whatever the parser made of the input must come back
// unchanged after one more write and read.
#include "IniParser.h"

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

bool sameContent(const RnIniParser::IniParser& a, const RnIniParser::IniParser& b)
{
    if (a.sectionNames() != b.sectionNames())
        return false;
    for (const QByteArray& name : a.sectionNames()) {
        const RnIniParser::IniSection* left = a.section(name);
        const RnIniParser::IniSection* right = b.section(name);
        if (!right || left->keys() != right->keys())
            return false;
        for (const QByteArray& key : left->keys())
            if (left->value(key) != right->value(key))
                return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    RnIniParser::IniParser first;
    first.setIniText(QByteArray(reinterpret_cast<const char*>(data), int(size)));
    const QByteArray text = first.getIniText();

    RnIniParser::IniParser second;
    second.setIniText(text);
    if (!sameContent(first, second) || second.getIniText() != text) {
        std::fprintf(stderr, "INI text does not survive a round trip\n");
        std::abort();
    }
    return 0;
}

#ifdef KX_FUZZ_STANDALONE
// Without libFuzzer: runs every file named on the command line (directories
// are walked one level deep), as the regression run over the kept corpus.
#include <QDir>
#include <QFile>
#include <QFileInfo>

int main(int argc, char** argv)
{
    int runs = 0;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        QStringList files;
        if (QFileInfo(argument).isDir()) {
            const QDir directory(argument);
            for (const QString& name : directory.entryList(QDir::Files, QDir::Name))
                files.append(directory.filePath(name));
        } else {
            files.append(argument);
        }
        for (const QString& path : files) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
                return 2;
            }
            const QByteArray bytes = file.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
            ++runs;
        }
    }
    std::printf("%d inputs, no failure\n", runs);
    return runs > 0 ? 0 : 1;
}
#endif
