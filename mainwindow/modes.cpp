#include "mainwindow/modes.h"

#include "effects/effectcontrol.h"
#include "game/memorygame.h"
#include "mainwindow/clickwatch.h"
#include "mainwindow/tastaturdesign.h"
#include "platform/launcher.h"
#include "platform/programfiles.h"

#include <QUrl>

namespace {
// The program's page, shipped with it, so that the link works offline.
const QString HomePage = QStringLiteral("tintaro.html");
const QString TermsOfUse = QStringLiteral("Terms of use.txt");
} // namespace

Modes::Modes(const tastaturDesign& ui, MemoryGame& game, EffectControl& effects, Launcher& launcher,
             QObject* parent)
    : QObject(parent), ui(ui), m_game(game), m_effects(effects), m_launcher(launcher) {
    connect(ui.mEffect, &QAction::triggered, this, &Modes::mEffect_Click);
    connect(ui.mGame, &QAction::triggered, this, &Modes::mGame_Click);
    connect(ui.mInfo, &QAction::triggered, this, &Modes::mInfo_Click);
    connect(ui.mStuff, &QAction::triggered, this, &Modes::mStuff_Click);
    connect(new ClickWatch(ui.Terms), &ClickWatch::clicked, this, &Modes::Terms_Click);
    connect(new ClickWatch(ui.Label24), &ClickWatch::clicked, this, &Modes::Label24_Click);
    // A click on the texts of the terms panel is no click on the panel.
    for (QLabel* text : ui.Terms->findChildren<QLabel*>())
        text->setAttribute(Qt::WA_NoMousePropagation);
}

void Modes::mEffect_Click() {
    m_game.Stopgame_Click();
    ui.Gamestate->clear();
    ui.Modegame->hide();
    ui.Modeeff->show();
    ui.Terms->hide();
}

void Modes::mGame_Click() {
    m_effects.Stop_Click();
    ui.Modegame->show();
    ui.Modeeff->hide();
    ui.Terms->hide();
}

// Nothing stops: whatever runs in the other panels goes on unseen.
void Modes::mInfo_Click() {
    ui.Terms->show();
    ui.Modeeff->hide();
    ui.Modegame->hide();
}

void Modes::mStuff_Click() {
    OpenHomePage();
}

void Modes::Terms_Click() {
    m_launcher.openInTextEditor(programDataFile(TermsOfUse));
}

void Modes::Label24_Click() {
    OpenHomePage();
}

void Modes::OpenHomePage() {
    m_launcher.openWebPage(QUrl::fromLocalFile(programDataFile(HomePage)));
}
