// Without libFuzzer: runs every file named on the command line (directories
// are walked one level deep), as the regression run over the kept corpus.
#include "FuzzSupport.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);

int main(int argc, char** argv)
{
    LLVMFuzzerInitialize(&argc, &argv);
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
            const int pendingBefore = KxFuzz::pendingCount();
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
            if (KxFuzz::pendingCount() != pendingBefore)
                std::printf("let through, known defect pending its fix: %s\n", qPrintable(path));
            ++runs;
        }
    }
    std::printf("%d inputs, no failure", runs);
    if (KxFuzz::pendingCount() > 0)
        std::printf("; %d let through as known defects pending their fix (%s)", KxFuzz::pendingCount(),
                    qPrintable(KxFuzz::pendingNames()));
    std::printf("\n");
    return runs > 0 ? 0 : 1;
}
