#pragma once
// The settings screen: five page icons on an arc, the five settings pages
// sharing one place, the on-screen keyboard, the about panel and the
// playlist chooser.

#include "screens/screen.h"

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace zelk {

class OnScreenKeyboard;
class ShellViews;

class TForm5 : public Screen
{
    Q_OBJECT
public:
    explicit TForm5(HeadUnit& unit);

    // Handlers of the screen's elements.
    void Image2_click();
    void Image3_click();
    void Image12_click();
    void Image4_click();
    void Image5_click();
    void Button2_click();
    void Button1_click();
    void Button3_click();
    void Button4_click();
    void Button7_click();
    void Button9_click();
    void Button5_click();
    void Button6_click();
    void Button10_click();
    void Button11_click();
    void but_about_click();
    void but_save_music_click();
    void Button8_click();
    void but_playlist_click();
    void Button15_click();
    void ShellListView1_change(const QString& selectedPath);
    void Button14_click();
    void Button12_click();
    void Button13_click();
    void lab_visit_click();
    void lab_close_click();
    void but_show_keys();
    void but_hide_keys();
    void but_back();
    void exit_click();

    // The about panel covers the screen when shown and is parked below it
    // otherwise.
    void showAbout(bool shown);

    ArtWidget* Image1;
    ArtWidget* Image2;
    ArtWidget* Image3;
    ArtWidget* Image12;
    ArtWidget* Image4;
    ArtWidget* Image5;
    ClickLabel* butback;
    ClickLabel* Label2;
    ClickLabel* aktSender;
    ClickLabel* version;
    QWidget* refreshscr;
    ArtWidget* close_keyboard;
    OnScreenKeyboard* Keyboard;

    QGroupBox* GB_Navi;
    QLineEdit* URL;
    QPushButton* Button2;
    QPushButton* Button1;
    QPushButton* Button3;
    QPushButton* Button4;
    QPushButton* Button9;
    QPushButton* Button7;

    QGroupBox* GB_Radio;
    std::array<QLineEdit*, 6> rname;
    std::array<QLineEdit*, 6> rurl;
    std::array<QLineEdit*, 6> rdsurl;
    QPushButton* Button6;
    QPushButton* Button5;

    QGroupBox* GB_Allgemein;
    QComboBox* lang;
    QRadioButton* fullscreen_true;
    QRadioButton* fullscreen_false;
    QCheckBox* show_music_in_title;
    QCheckBox* auto_changemode;
    QCheckBox* mute_Settings;
    QSpinBox* aufl_x;
    QSpinBox* aufl_y;
    QCheckBox* CB_aufl_chgbl;
    QPushButton* but_about;
    QPushButton* Button11;
    QPushButton* Button10;

    QGroupBox* GB_Music;
    ClickLabel* filename;
    QPushButton* but_playlist;
    QCheckBox* autoplay_last;
    QCheckBox* onlyatreboot;
    QCheckBox* also_visible;
    QPushButton* Button8;
    QPushButton* but_save_music;
    QWidget* choosePlaylist;
    QPushButton* Button15;
    ShellViews* shell;

    QGroupBox* GB_Dash;
    QLineEdit* DashURL;
    QPushButton* Button14;
    QPushButton* Button13;
    QPushButton* Button12;

    QWidget* about;
    QWidget* Panel1;
    ClickLabel* programmedby;
    ClickLabel* lab_visit;
    ClickLabel* lab_close;

protected:
    // A click into the navigation address or a station field opens the
    // on-screen keyboard.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QLineEdit*> m_keyboardFields;
};

} // namespace zelk
