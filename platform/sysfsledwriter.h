#pragma once

#include "platform/ledwriter.h"

// Writes the LED's brightness file in the LED class, which only root may do.
class SysfsLedWriter final : public LedWriter {
public:
    explicit SysfsLedWriter(QString folder);

    bool setLed(const QString& entry, bool on) override;

private:
    QString m_folder;
};
