#include "effects/controlstates.h"

#include <QWidget>

namespace {

// A cell of the lock table: the control is enabled, disabled, or left as it is (_).
enum Cell { _, on, off };
using Row = std::array<Cell, 6>;

// Columns: Combo1, StartEff, NumSpeed, CapsSpeed, ScrollSpeed, EffectSpeed.
constexpr Row DisableRow{off, off, _, _, _, _};
constexpr Row EnableRow{on, on, on, on, on, on};
constexpr Row EnableSpeedsRow{_, _, on, on, on, off};
constexpr Row DisableSpeedsRow{_, _, off, off, off, on};

// From left to right, as the columns stand.
void setRow(const Row& row, const std::array<QWidget*, 6>& columns) {
    for (std::size_t column = 0; column < row.size(); ++column)
        if (row[column] != _)
            columns[column]->setEnabled(row[column] == on);
}

} // namespace

ControlStates::ControlStates(QWidget& Combo1, QWidget& StartEff, QWidget& NumSpeed,
                             QWidget& CapsSpeed, QWidget& ScrollSpeed, QWidget& EffectSpeed)
    : m_columns{&Combo1, &StartEff, &NumSpeed, &CapsSpeed, &ScrollSpeed, &EffectSpeed} {}

void ControlStates::Disable() {
    setRow(DisableRow, m_columns);
}

void ControlStates::Enable() {
    setRow(EnableRow, m_columns);
}

void ControlStates::EnableSpeeds() {
    setRow(EnableSpeedsRow, m_columns);
}

void ControlStates::DisableSpeeds() {
    setRow(DisableSpeedsRow, m_columns);
}
