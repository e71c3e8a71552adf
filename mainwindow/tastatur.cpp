#include "mainwindow/tastatur.h"

#include "effects/controlstates.h"
#include "effects/effectcontrol.h"
#include "effects/keyblinking.h"
#include "game/memorygame.h"
#include "keycontrol/speedslider.h"
#include "keycontrol/taste.h"
#include "lockkeys/lockreset.h"
#include "mainwindow/lockdisplay.h"
#include "mainwindow/modes.h"
#include "mainwindow/modmenu.h"
#include "platform/intervaltimer.h"
#include "platform/lockkeyevents.h"
#include "platform/programidentity.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>

#include <cstdio>

#include <utility>

tastatur::tastatur(Keyboard& keyboard, Clock& clock, Launcher& launcher, QWidget* parent)
    : QMainWindow(parent) {
    ui.setupUi(this, clock);
    m_reset = std::make_unique<LockReset>(keyboard, *ui.resetime);
    m_display =
        std::make_unique<LockDisplay>(keyboard, *ui.Timer1, ui.effectKeys(), *ui.LockNotice);
    m_game = std::make_unique<MemoryGame>(keyboard, *m_reset,
                                          GamePanel{ui.gameKeys(), ui.Start_Game, ui.Stopgame,
                                                    ui.Gamestate, ui.level, ui.Score, ui.Highscore,
                                                    ui.Gametime2, ui.Gametime, ui.NextGametime});
    m_controlStates = std::make_unique<ControlStates>(
        *ui.Combo1, *ui.StartEff, *ui.NumSpeed, *ui.CapsSpeed, *ui.ScrollSpeed, *ui.EffectSpeed);
    m_blinking = std::make_unique<KeyBlinking>(
        keyboard, *m_controlStates, std::array{ui.NumSpeed, ui.CapsSpeed, ui.ScrollSpeed},
        std::array{ui.NUMtime, ui.CAPStime, ui.SCROLLtime});
    m_effects = std::make_unique<EffectControl>(
        keyboard, EffectPanel{ui.Combo1, ui.EffectSpeed, ui.StartEff, ui.Stop, ui.effectTimers()},
        *m_reset, *m_controlStates, *m_blinking);
    m_modes = std::make_unique<Modes>(ui, *m_game, *m_effects, launcher);
    connect(ui.mClose, &QAction::triggered, this, &tastatur::mClose_Click);
    // Lock keys do nothing in the window but on a focused key control, which reports every key.
    m_lockKeyEvents = std::make_unique<LockKeyEvents>(keyControlHasFocus);
    QCoreApplication::instance()->installNativeEventFilter(m_lockKeyEvents.get());
    Form_Load();
}

tastatur::~tastatur() = default;

void tastatur::Form_Load() {
    setWindowTitle(windowTitle() +
                   QStringLiteral("   Version: %1").arg(QLatin1String(ProgramVersion)));
    ui.Label5->setText(
        "I accept no liability for damages arising from the direct or indirect use of this "
        "program.\n"
        "The user takes over full responsibility of this program.\n"
        "By using this program or modification, documentation or publishing of this program, "
        "terms of use are accepted.");
    ui.Label6->setText("Info:\nUse Tintaro to test your keyboard  LED's or something else...  "
                       ":-)   No description is required, it is easy to handle.");
    ui.Stopgame->setEnabled(false);
    ui.Timer1->setEnabled(true);
    ui.Combo1->setCurrentIndex(0);
    m_game->disGame();
    m_game->setStepInterval(1000);
    ui.EffectSpeed->setValue(150);
    modMenu::AddMinimizeBox(this);
}

void tastatur::showNotice(const QString& notice) {
    if (notice.isEmpty())
        return;
    std::fprintf(stderr, "tintaro: %s\n", qPrintable(notice));
    auto* box = new QMessageBox(QMessageBox::Warning, "Tintaro", notice, QMessageBox::Ok, this);
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

void tastatur::mClose_Click() {
    close();
}

void tastatur::closeEvent(QCloseEvent* event) {
    event->accept();
    // The window goes with the first request; one more on top (a signal while closing) must not
    // toggle again what the keyboard may not yet show turned off.
    if (std::exchange(m_closed, true))
        return;
    Form_QueryUnload();
    Form_Unload();
    // The window goes with all its timers: nothing armed or running may tick after this.
    for (IntervalTimer* timer : findChildren<IntervalTimer*>())
        timer->setEnabled(false);
}

void tastatur::Form_QueryUnload() {
    m_reset->Reset();
}

void tastatur::Form_Unload() {
    m_reset->turnOffLitLocks();
}
