// Build-time tool: writes the window's icon as a PNG of the given size, for the icon theme.

#include "mainwindow/windowicon.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SIZE FILE.png\n", argv[0]);
        return 2;
    }
    const int size = std::atoi(argv[1]);
    return size > 0 && windowIconImage(size).save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
}
