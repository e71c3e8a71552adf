#pragma once

#include <QObject>

class EffectControl;
class Launcher;
class MemoryGame;
struct tastaturDesign;

// The window's three panels and the menu that switches them: choosing a mode first stops what
// belongs to the other one, the terms page stops nothing. The menu and a hidden "S" open the
// program's page in the browser; a click on the terms panel opens the terms in the text editor.
class Modes : public QObject {
    Q_OBJECT

public:
    Modes(const tastaturDesign& ui, MemoryGame& game, EffectControl& effects, Launcher& launcher,
          QObject* parent = nullptr);

    void mEffect_Click();
    void mGame_Click();
    void mInfo_Click();
    void mStuff_Click();
    void Terms_Click();
    void Label24_Click();
    void OpenHomePage();

private:
    const tastaturDesign& ui;
    MemoryGame& m_game;
    EffectControl& m_effects;
    Launcher& m_launcher;
};
