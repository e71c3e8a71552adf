#include "mainwindow/tastaturdesign.h"

#include "effects/effectpatterns.h"
#include "effects/keyblinking.h"
#include "keycontrol/propertybag.h"
#include "keycontrol/speedslider.h"
#include "keycontrol/taste.h"
#include "mainwindow/windowicon.h"
#include "platform/intervaltimer.h"

#include <QFile>
#include <QJsonDocument>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>

namespace {

constexpr QSize ClientArea{466, 218};
constexpr QRect PanelPlace{8, 8, 449, 201};
constexpr QSize KeySize{73, 68};

// The dialog font the design was drawn with has no Linux twin; these sans faces come nearest.
QFont dialogFont() {
    QFont font;
    font.setFamilies({"Liberation Sans", "Arimo", "Arial", "DejaVu Sans"});
    font.setPointSizeF(8.25);
    font.setBold(false); // explicit, so that a bold panel caption does not pass on to contents
    return font;
}

QFont boldFont() {
    QFont font = dialogFont();
    font.setBold(true);
    return font;
}

template <typename Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, QRect place,
              bool bold = false, Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop) {
    auto* l = named(new QLabel(text, parent), name);
    l->setGeometry(place);
    l->setAlignment(align);
    if (bold)
        l->setFont(boldFont());
    return l;
}

QGroupBox* panel(QWidget* parent, const char* name, const QString& caption) {
    auto* p = named(new QGroupBox(caption, parent), name);
    p->setGeometry(PanelPlace);
    p->setFont(boldFont());
    label(p, "credit", QStringLiteral("Tintaro"), {352, 176, 89, 16}, false, Qt::AlignRight);
    return p;
}

// The stored properties of the window's key controls, by control name.
QJsonObject storedProperties() {
    QFile file(QStringLiteral(":/tastatur.json"));
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll()).object();
}

Taste* keyControl(QWidget* parent, const char* name, QPoint place, const QJsonObject& stored) {
    auto* k = named(new Taste(parent), name);
    k->UserControl_ReadProperties(PropertyBag(stored[k->objectName()].toObject()));
    k->setGeometry(QRect(place, KeySize));
    return k;
}

QPushButton* pushButton(QWidget* parent, const char* name, const QString& caption, QRect place) {
    auto* b = named(new QPushButton(caption, parent), name);
    b->setGeometry(place);
    return b;
}

SpeedSlider* perKeySlider(QWidget* parent, const char* name, int x) {
    auto* s = named(new SpeedSlider(Qt::Vertical, BlinkSpeedFastest, BlinkSpeedSlowest,
                                    DefaultBlinkSpeed, parent),
                    name);
    s->setGeometry(x, 104, 17, 76);
    return s;
}

// The word SPEED written downwards, one bold letter a line, 16 pixels apart.
std::array<QLabel*, 5> speedCaption(QWidget* parent, const char* name, int x,
                                    std::array<const char*, 5> letterNames) {
    auto* box = named(new QWidget(parent), name);
    box->setGeometry(x, 104, 17, 81);
    std::array<QLabel*, 5> letters{};
    const char* word = "SPEED";
    for (int i = 0; i < 5; ++i)
        letters[i] = label(box, letterNames[i], QString(QChar(word[i])), {3, i * 16, 12, 16}, true);
    return letters;
}

IntervalTimer* intervalTimer(QObject* owner, Clock& clock, const char* name, int interval = 0,
                             bool enabled = false, Timing timing = Timing::Exact) {
    auto* t = named(new IntervalTimer(clock, owner, timing), name);
    t->setInterval(interval);
    t->setEnabled(enabled);
    return t;
}

} // namespace

void tastaturDesign::setupUi(QMainWindow* window, Clock& clock) {
    window->setObjectName("tastatur");
    window->setWindowTitle("Tintaro");
    // A fixed window with a caption and a close box; Form_Load adds the minimise box.
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    window->setWindowIcon(windowIcon());
    window->setFont(dialogFont());

    auto* client = new QWidget(window);
    client->setFixedSize(ClientArea);
    window->setCentralWidget(client);
    window->layout()->setSizeConstraint(QLayout::SetFixedSize);

    Modeeff = panel(client, "Modeeff", "Effect Mode");
    Modegame = panel(client, "Modegame", "Game Mode");
    Terms = panel(client, "Terms", "Terms of use");
    Modegame->hide();
    Terms->hide();

    // Effect panel: the lock keys, their speed sliders, and the effect controls.
    const QJsonObject stored = storedProperties();
    Taste1 = keyControl(Modeeff, "Taste1", {16, 24}, stored);
    Taste2 = keyControl(Modeeff, "Taste2", {96, 24}, stored);
    Taste3 = keyControl(Modeeff, "Taste3", {176, 24}, stored);
    // Under the sliders, shown only when a lock cannot be shown on this desktop.
    LockNotice = label(Modeeff, "LockNotice", {}, {16, 184, 330, 16});
    LockNotice->hide();
    NumSpeed = perKeySlider(Modeeff, "NumSpeed", 40);
    CapsSpeed = perKeySlider(Modeeff, "CapsSpeed", 120);
    ScrollSpeed = perKeySlider(Modeeff, "ScrollSpeed", 200);
    const char* maxNames[] = {"Label20", "Label8", "Label12"};
    const char* minNames[] = {"Label1", "Label11", "Label13"};
    for (int i = 0; i < 3; ++i) {
        const int right = 40 + 80 * i + 17;
        label(Modeeff, maxNames[i], "max.", {right + 1, 104, 26, 13}, false, Qt::AlignRight);
        label(Modeeff, minNames[i], "min.", {right + 1, 167, 26, 13}, false, Qt::AlignRight);
    }
    Label24 = speedCaption(Modeeff, "Picture4", 24,
                           {"Label24", "Label25", "Label26", "Label27", "Label29"})[0];
    speedCaption(Modeeff, "Picture6", 104, {"Label38", "Label37", "Label36", "Label35", "Label34"});
    speedCaption(Modeeff, "Picture5", 184, {"Label33", "Label32", "Label31", "Label30", "Label28"});

    label(Modeeff, "Label23", "Effect:", {272, 28, 45, 16}, true);
    Combo1 = named(new QComboBox(Modeeff), "Combo1");
    Combo1->setGeometry(320, 24, 113, 21);
    for (const char* name : EffectNames)
        Combo1->addItem(QString::fromLatin1(name));
    label(Modeeff, "Label17", "Speed", {272, 57, 45, 16}, true);
    EffectSpeed = named(new SpeedSlider(Qt::Horizontal, EffectSpeedSlowest, EffectSpeedFastest,
                                        EffectSpeedFastest, Modeeff),
                        "EffectSpeed");
    EffectSpeed->setGeometry(320, 56, 113, 17);
    label(Modeeff, "Label15", "min.", {320, 75, 30, 13});
    label(Modeeff, "Label16", "max.", {403, 75, 30, 13}, false, Qt::AlignRight);
    StartEff = pushButton(Modeeff, "StartEff", "Start Effect", {272, 104, 161, 25});
    Stop = pushButton(Modeeff, "Stop", "Stop all (RESET)", {272, 136, 161, 25});

    // Game panel.
    label(Modegame, "Label2", "Remember the LED's", {8, 24, 433, 16}, true, Qt::AlignHCenter);
    Start_Game = pushButton(Modegame, "Start_Game", "Start Game", {16, 48, 137, 25});
    Stopgame = pushButton(Modegame, "Stopgame", "End Game", {16, 80, 137, 25});
    G1 = keyControl(Modegame, "G1", {176, 48}, stored);
    G2 = keyControl(Modegame, "G2", {256, 48}, stored);
    G3 = keyControl(Modegame, "G3", {336, 48}, stored);
    Gamestate = label(Modegame, "Gamestate", "", {176, 120, 233, 16}, true, Qt::AlignHCenter);
    label(Modegame, "Level2", "Level:", {16, 128, 72, 16}, true);
    level = label(Modegame, "level", "", {88, 128, 64, 16}, true);
    label(Modegame, "Label3", "Score:", {16, 144, 72, 16}, true);
    Score = label(Modegame, "Score", "", {88, 144, 64, 16}, true);
    label(Modegame, "Label4", "Highscore:", {16, 168, 72, 16}, true);
    Highscore = label(Modegame, "Highscore", "", {88, 168, 64, 16}, true);

    // Terms panel.
    Label5 = label(Terms, "Label5", "", {16, 24, 417, 73});
    Label5->setWordWrap(true);
    Line1 = named(new QFrame(Terms), "Line1");
    Line1->setFrameShape(QFrame::HLine);
    Line1->setGeometry(16, 103, 417, 3);
    Label6 = label(Terms, "Label6", "", {16, 112, 417, 49});
    Label6->setWordWrap(true);

    // Menu bar.
    QMenuBar* bar = window->menuBar();
    mMore = named(bar->addMenu("More..."), "mMore");
    mStuff = named(mMore->addAction("More Stuff..."), "mStuff");
    // Shows one ampersand and has no access key, like every item of the design.
    mInfo = named(mMore->addAction("Terms of use  &&  Info"), "mInfo");
    named(mMore->addSeparator(), "m1");
    mClose = named(mMore->addAction("close"), "mClose");
    mMode = named(bar->addMenu("Mode"), "mMode");
    mEffect = named(mMode->addAction("Effect Mode"), "mEffect");
    mGame = named(mMode->addAction("Game Mode"), "mGame");

    // Only the panel captions are bold; contents without a font of their own use the plain one.
    for (QGroupBox* p : {Modeeff, Modegame, Terms})
        for (QWidget* child : p->findChildren<QWidget*>())
            if (!child->testAttribute(Qt::WA_SetFont))
                child->setFont(dialogFont());

    // "Start Effect" comes first in the tab order and holds the focus at start.
    QWidget* const tabOrder[] = {StartEff,  Stop,        Combo1, EffectSpeed, NumSpeed,
                                 CapsSpeed, ScrollSpeed, Taste1, Taste2,      Taste3};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
    StartEff->setFocus();

    // The display poll: no one sees it a millisecond late.
    Timer1 = intervalTimer(window, clock, "Timer1", 50, true, Timing::Loose);
    resetime = intervalTimer(window, clock, "resetime");
    NUMtime = intervalTimer(window, clock, "NUMtime");
    CAPStime = intervalTimer(window, clock, "CAPStime");
    SCROLLtime = intervalTimer(window, clock, "SCROLLtime");
    Alltime = intervalTimer(window, clock, "Alltime");
    Knighttime = intervalTimer(window, clock, "Knighttime");
    Landingtime = intervalTimer(window, clock, "Landingtime");
    Rockyoutime = intervalTimer(window, clock, "Rockyoutime");
    Runtime = intervalTimer(window, clock, "Runtime");
    Speeduptime = intervalTimer(window, clock, "Speeduptime");
    Traffictime = intervalTimer(window, clock, "Traffictime");
    Walktime = intervalTimer(window, clock, "Walktime");
    Gametime = intervalTimer(window, clock, "Gametime");
    Gametime2 = intervalTimer(window, clock, "Gametime2");
    NextGametime = intervalTimer(window, clock, "NextGametime");
}
