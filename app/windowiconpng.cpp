// Build-time tool: writes the window's icon as a PNG of the given size, for the icon theme; given
// the locks that are on ("n", "c", "s" in any order, "-" for none), the lock-state icon instead.

#include "mainwindow/windowicon.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char* argv[]) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s SIZE FILE.png [LOCKS]\n", argv[0]);
        return 2;
    }
    const int size = std::atoi(argv[1]);
    if (size <= 0)
        return 1;
    const char* locks = argc == 4 ? argv[3] : nullptr;
    const QImage image = locks ? lockStateImage(size, {std::strchr(locks, 'n') != nullptr,
                                                       std::strchr(locks, 'c') != nullptr,
                                                       std::strchr(locks, 's') != nullptr})
                               : windowIconImage(size);
    return image.save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
}
