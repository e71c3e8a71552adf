#pragma once

#include "platform/ledwriter.h"

// systemd-logind's Session.SetBrightness on the caller's own session: lets the user of the
// active session set the LEDs of the keyboards at its seat, without privileges (systemd 243
// and later).
class LogindLedWriter final : public LedWriter {
public:
    bool setLed(const QString& entry, bool on) override;
};
