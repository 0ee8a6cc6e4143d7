#pragma once
// The radio screen: the six presets, the station name and text, the
// transport of music mode, the volume overlay and the update panel.

#include "screens/screen.h"

#include <array>

class QProgressBar;

namespace zelk {

struct PresetLook;

class TForm1 : public Screen
{
    Q_OBJECT
public:
    explicit TForm1(HeadUnit& unit);

    // Handlers of the screen's elements.
    void Button1();
    void Button2();
    void Button3();
    void Button4();
    void Button5();
    void Button6();
    void but_goto_menu();
    void mute();
    void unmute();
    void Lauter1();
    void Leiser1();
    void lab_cancel_click();
    void lab_update_click();
    void but_play_click();
    void but_pause_click();
    void stop();
    void skip_minus();
    void skip_plus();

    // What the head unit shows here.
    void showPresets(const PresetLook& look);
    void showBootImage(bool shown);
    void showStarted(bool started);
    void showUpdatePanel(bool shown);
    void showUpdateTop(int designTop);
    void showInstalling(bool installing);

    ArtWidget* Image1;
    ClickLabel* lblUhrzeit;
    ClickLabel* Label1;
    std::array<ArtWidget*, 6> but_1; // selected look, but1_1 .. but6_1
    std::array<ArtWidget*, 6> but_0; // unselected look, but1_0 .. but6_0
    std::array<ClickLabel*, 6> prog;
    ClickLabel* speicher;
    ClickLabel* sendername;
    ArtWidget* ton1;
    ArtWidget* ton0;
    ArtWidget* bootscreen;
    ArtWidget* goto_menu;
    ClickLabel* rdsText;
    ClickLabel* version;
    ClickLabel* vol_plus;
    ClickLabel* vol_minus;
    QWidget* refreshscr;
    ArtWidget* but_play;
    ArtWidget* but_pause;
    ArtWidget* but_stop;
    ArtWidget* but_skipmin;
    ArtWidget* but_skipplus;
    ClickLabel* timecount;
    QWidget* volbar;
    Gauge* volumebar;
    QWidget* update_panel; // the element `update`
    ArtWidget* bg_nobut;
    ArtWidget* bg_but;
    ClickLabel* lab_warning;
    ClickLabel* lab_cancel;
    ClickLabel* lab_update;
    QProgressBar* update_progress;
    Gauge* ProgressBar1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_bootPainted = false;
};

} // namespace zelk
