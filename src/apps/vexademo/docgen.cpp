// Renders the demo's licence and privacy documents into a share folder at build time.

#include "legaldocs.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <share folder>\n", argv[0]);
        return 2;
    }
    return vexademo::writeLegalDocuments(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
