#include "desktop/lockstatetext.h"

QString lockStateText(LockKey key, bool on) {
    const std::string_view name = info(key).name;
    return QString::fromLatin1(name.data(), qsizetype(name.size())) + (on ? " on" : " off");
}
