#include "memorygame.h"

#include "lockreset.h"
#include "taste.h"

MemoryGame::MemoryGame(std::array<Taste*, 3> keys, LockReset& reset, QObject* parent)
    : QObject(parent), m_keys(keys), m_reset(reset) {}

void MemoryGame::disGame() {
    m_reset.Reset();
    for (Taste* key : m_keys)
        key->setEnabled(false);
}
