#pragma once

#include "lockkeys/lockkey.h"

#include <QString>

// How a lock state reads to the user: "Caps Lock on".
QString lockStateText(LockKey key, bool on);
