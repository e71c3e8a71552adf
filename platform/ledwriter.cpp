#include "platform/ledwriter.h"

#include "platform/ledclass.h"
#include "platform/logindledwriter.h"
#include "platform/sysfsledwriter.h"

std::unique_ptr<LedWriter> openLedWriter(const LedClass& leds) {
    QStringList entries;
    for (const QString led : {"numlock", "capslock", "scrolllock"})
        entries += leds.entries(led);
    if (entries.isEmpty())
        return nullptr;
    const QString& probe = entries.first();
    const bool lit = leds.isLit(probe);
    std::unique_ptr<LedWriter> writers[] = {std::make_unique<LogindLedWriter>(),
                                            std::make_unique<SysfsLedWriter>(leds.folder())};
    for (auto& writer : writers)
        if (writer->setLed(probe, lit))
            return std::move(writer);
    return nullptr;
}
