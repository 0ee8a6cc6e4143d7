#pragma once
// The radio screen: the program's main window and the owner of its named
// operations, the configuration and language lists, the player and the
// volume level.

#include "platform/services.h"
#include "screens/screen.h"
#include "screens/uitimer.h"
#include "settings/linelist.h"

#include <QStringList>
#include <array>
#include <memory>

class QProgressBar;

namespace zelk {

class MediaPlayer;
class TForm2;
class TForm3;
class TForm5;

inline const QString kProgramVersion = QStringLiteral("1.2.0");

class TForm1 : public Screen
{
    Q_OBJECT
public:
    TForm1(Services services, QString dataDir, QWidget* parent = nullptr);
    ~TForm1() override;
    // The other screens, created after this one.
    void attach(TForm2* form2, TForm3* form3, TForm5* form5);

    // --- Start-up and shutdown
    void preboot_tick();
    void boot_tick();
    void restartOnce_tick();
    void stopanytimer();
    void load_Settings();

    // --- Screens, window mode, clock
    void but_goto_menu();
    void chgWin();
    void time_tick();

    // --- Configuration and language
    void loadConfig();
    void saveConfig();
    void loadlang();

    // --- Radio
    void startRadio();
    void Button1() { ButtonN(1); }
    void Button2() { ButtonN(2); }
    void Button3() { ButtonN(3); }
    void Button4() { ButtonN(4); }
    void Button5() { ButtonN(5); }
    void Button6() { ButtonN(6); }
    void ButtonN(int n);
    void makeButWhite();
    void reloadRadio();
    void sw2_radio();
    void reloadRDS();

    // --- Volume and mute
    void setvol();
    void Lauter1();
    void Leiser1();
    void Mute1();
    void mute();
    void unmute();
    // The main menu's and the web view's own steps: only the level and that
    // screen's overlay change; icons and the stored level stay as they are.
    void stepOwnVolume(VolumeOverlay& overlay, int delta);

    // --- Update panel
    void showUpdatePanel();
    void lab_cancel_click();
    void lab_update_click();

    // Hot keys F1..F12 that this screen binds; false when it binds none.
    bool hotKey(int key);

    Services services;
    QString dataDir;
    // Base address of the update server (scheme and host), fixed at build time.
    QString updateServer = QStringLiteral(ZELK_UPDATE_SERVER);

    LineList config;
    LineList MUI;
    QString languageCode;
    QStringList ver_dl{QStringLiteral("version")};
    QStringList RDS_dl{6, QStringLiteral("Laden...")};
    QStringList rds_data{6, QStringLiteral("Laden...")};
    bool radiomode = true;
    bool music_started = false;
    QString lastSong;
    int volume = 0;
    int savedVolume = 0;
    std::unique_ptr<MediaPlayer> player;

    UiTimer* preboot;
    UiTimer* boot;
    UiTimer* restartOnce;
    UiTimer* time;
    UiTimer* RDStimer;
    UiTimer* voltimer;
    UiTimer* MusicID3Check;
    UiTimer* pause;
    UiTimer* check_PlaylistItem;
    UiTimer* skip2last;

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

    TForm2* Form2 = nullptr;
    TForm3* Form3 = nullptr;
    TForm5* Form5 = nullptr;

private:
    void buildElements();
    void volumeStep(int delta);
    void setMuteIcons(bool muted);
    bool muted() const;
    QString filePath(const char* name) const { return dataDir + QLatin1String(name); }

    bool m_booting = false;
    bool m_versionKnown = false;
};

} // namespace zelk
