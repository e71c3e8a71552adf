#include "controlstates.h"

#include <QWidget>

ControlStates::ControlStates(QWidget& Combo1, QWidget& StartEff, QWidget& NumSpeed,
                             QWidget& CapsSpeed, QWidget& ScrollSpeed, QWidget& EffectSpeed)
    : m_columns{&Combo1, &StartEff, &NumSpeed, &CapsSpeed, &ScrollSpeed, &EffectSpeed}
{
}

// The rows of the lock table. Columns: Combo1, StartEff, NumSpeed, CapsSpeed, ScrollSpeed,
// EffectSpeed; each row is applied from left to right.
void ControlStates::Disable()
{
    constexpr Cell _ = Cell::Untouched, off = Cell::Disabled;
    apply({off, off, _, _, _, _});
}

void ControlStates::Enable()
{
    constexpr Cell on = Cell::Enabled;
    apply({on, on, on, on, on, on});
}

void ControlStates::EnableSpeeds()
{
    constexpr Cell _ = Cell::Untouched, on = Cell::Enabled, off = Cell::Disabled;
    apply({_, _, on, on, on, off});
}

void ControlStates::DisableSpeeds()
{
    constexpr Cell _ = Cell::Untouched, on = Cell::Enabled, off = Cell::Disabled;
    apply({_, _, off, off, off, on});
}

void ControlStates::apply(const Row& row)
{
    for (std::size_t column = 0; column < row.size(); ++column)
        if (row[column] != Cell::Untouched)
            m_columns[column]->setEnabled(row[column] == Cell::Enabled);
}
