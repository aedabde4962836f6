// Saves the crash test's generations one after another into one project
// file until it is killed: "<file> <first generation> [fresh]". After each
// save that went through it prints the generation's number. With "fresh" it
// removes the file before each save, so that every save is a first one.
#include "ProjectFile.h"
#include "SaveGenerations.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s <project file> <first generation> [fresh]\n", argv[0]);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const bool fresh = argc == 4 && QByteArray(argv[3]) == "fresh";
    for (int generation = QByteArray(argv[2]).toInt();; ++generation) {
        FileStorageView root;
        SaveGenerations::build(&root, generation);
        if (fresh)
            QFile::remove(path);
        QString message;
        if (!ProjectFile::write(path, root, &message)) {
            std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
            return 1;
        }
        std::printf("%d\n", generation);
        std::fflush(stdout);
    }
}
