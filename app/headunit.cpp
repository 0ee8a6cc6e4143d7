#include "app/headunit.h"

#include "app/clock.h"
#include "platform/nethttpget.h"
#include "platform/serverlookup.h"
#include "settings/config.h"

#include <QScopeGuard>
#include <QTime>

namespace zelk {

namespace {

Services withDefaults(Services s)
{
    if (!s.http)
        s.http = std::make_shared<NetHttpGetter>();
    if (!s.stationServers)
        s.stationServers = std::make_shared<SrvServerLookup>(StationDirectory::kServerRecord);
    return s;
}

} // namespace

HeadUnit::HeadUnit(Services s, QString dir)
    : services(withDefaults(std::move(s))), dataDir(std::move(dir)), seq(services.dialogs), settings(*this),
      player(services.makePlayer), volume(*this), radio(*this), stationText(*this), music(*this),
      update(*this), menu(*this), web(*this), setup(*this),
      directory(*services.http, *services.stationServers),
      stations(settings, radio, directory, dataDir),
      joysticks(services.makeJoysticks ? services.makeJoysticks() : nullptr),
      wheel(seq, joysticks.get(), dataDir + QStringLiteral("Buttons.ini"), wheelOperations())
{
    seq.bindTimer(preboot, [this] { preboot_tick(); });
    seq.bindTimer(boot, [this] { boot_tick(); });
    seq.bindTimer(restartOnce, [this] { restartOnce_tick(); });
    seq.bindTimer(time, [this] { time_tick(); });
    clock.set(clockText(QTime::currentTime()));
}

HeadUnit::~HeadUnit()
{
    stopanytimer();
}

void HeadUnit::preboot_tick()
{
    screens.hide(ScreenId::Form2);
    screens.hide(ScreenId::Form3);
    screens.hide(ScreenId::Form5);
    preboot.setEnabled(false);
}

void HeadUnit::boot_tick()
{
    // The step waits for the version file and may show a message box whose
    // nested event loop runs this timer again: it must not start twice.
    if (m_booting)
        return;
    m_booting = true;
    settingsVersion.set(kProgramVersion);
    try {
        update.fetchVersion([this] { finishBoot(); });
    } catch (...) {
        m_booting = false;
        throw;
    }
}

void HeadUnit::finishBoot()
{
    const auto done = qScopeGuard([this] { m_booting = false; });
    if (settings.configExists()) {
        settings.loadConfig();
        settings.load_Settings();
    } else {
        services.dialogs->information(settings.MUI.line(38));
        if (!boot.isEnabled())
            return; // the program was closed while the box was open
        settings.saveConfig();
    }
    busyCursor.set(false);
    if (update.offersUpdate())
        update.showUpdatePanel();
    else
        radio.startRadio();
}

void HeadUnit::restartOnce_tick()
{
    // A level that is not a whole number leaves the volume as it is.
    if (const auto stored = strictInt(settings.config.line(cfg::Volume)))
        volume.volume = std::clamp(*stored, 0, 100);
    for (int n = 1; n <= 6; ++n)
        if (settings.config.line(cfg::ActiveStation) == QString::number(n))
            radio.ButtonN(n);
    // Back to music mode, seeking the song that played last.
    if (settings.config.line(cfg::RadioMode) == QLatin1String("false") &&
        settings.live.auto_changemode.on()) {
        volume.mute();
        menu.but_music();
        if (radio.radiomode.on()) {
            // No playlist to go back to (moved, or on a drive not mounted
            // yet): the restored station plays aloud and nothing is sought.
            volume.unmute();
        } else {
            music.lastSong = settings.config.line(cfg::LastSong);
            music.startSearch();
        }
    }
    restartOnce.setEnabled(false);
}

void HeadUnit::time_tick()
{
    clock.set(clockText(QTime::currentTime()));
}

void HeadUnit::stopanytimer()
{
    for (UiTimer* t :
         {&music.skip2last, &music.check_PlaylistItem, &music.pause, &music.MusicID3Check, &preboot,
          &restartOnce, &stationText.RDStimer, &boot, &time, &volume.form1.voltimer,
          &volume.form2.voltimer, &volume.form3.voltimer})
        t->setEnabled(false);
}

void HeadUnit::but_goto_menu()
{
    screens.switchScreen(ScreenId::Form1, ScreenId::Form2);
    screens.but_refresh(ScreenId::Form2);
}

void HeadUnit::chgWin()
{
    screens.chgWin();
}

void HeadUnit::tunePreset(int n)
{
    if (!player || n < 1 || n > 6)
        return;
    if (radio.radiomode.on())
        radio.ButtonN(n);
    else
        menu.switchToRadio({}, [this, n] { radio.ButtonN(n); });
}

void HeadUnit::stepPreset(int delta)
{
    const int n = settings.config.line(cfg::ActiveStation).toInt();
    if (n < 1 || n > 6)
        tunePreset(delta > 0 ? 1 : 6);
    else
        tunePreset((n - 1 + delta + 6) % 6 + 1);
}

void HeadUnit::play()
{
    if (!radio.radiomode.on())
        music.but_play_click();
    else if (player)
        player->play();
}

void HeadUnit::pause()
{
    if (!radio.radiomode.on())
        music.but_pause_click();
    else if (player)
        player->pause();
}

void HeadUnit::playPause()
{
    if (player && player->state() == MediaPlayer::State::Playing)
        pause();
    else
        play();
}

WheelButtons::Operations HeadUnit::wheelOperations()
{
    // The same operations as the hot keys and the media control; the
    // volume steps show their overlay on the screen that is shown.
    auto key = [this](int k) {
        return [this, k] {
            if (const auto op = hotKey(screens.current(), k, false))
                op();
        };
    };
    return {
        [this] { stepPreset(+1); },
        [this] { stepPreset(-1); },
        [this] { tunePreset(1); },
        [this] { tunePreset(2); },
        [this] { tunePreset(3); },
        [this] { tunePreset(4); },
        [this] { tunePreset(5); },
        [this] { tunePreset(6); },
        key(Qt::Key_F12),
        key(Qt::Key_F11),
        key(Qt::Key_F10),
        key(Qt::Key_F1),
        key(Qt::Key_F3),
        key(Qt::Key_F2),
        [this] { playPause(); },
    };
}

std::function<void()> HeadUnit::hotKey(ScreenId shown, int key, bool autoRepeat,
                                       Qt::KeyboardModifiers modifiers)
{
    HeadUnit* self = this;
    // Ctrl+F5, Alt+F10 and the like belong to the desktop or the game.
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::MetaModifier))
        return {};
    // Steps repeat while the key is held; toggles and switches act once.
    const bool repeats =
        key == Qt::Key_F2 || key == Qt::Key_F3 || key == Qt::Key_F11 || key == Qt::Key_F12;
    if (autoRepeat && !repeats)
        return {};
    // The main menu and the web view bind F11 and F12 themselves.
    if (shown == ScreenId::Form2 || shown == ScreenId::Form3) {
        VolumeOverlay* own = shown == ScreenId::Form2 ? &self->volume.form2 : &self->volume.form3;
        if (key == Qt::Key_F11)
            return [own] { own->Leiser1(); };
        if (key == Qt::Key_F12)
            return [own] { own->Lauter1(); };
    }
    switch (key) {
    case Qt::Key_F1:
        return [self] { self->but_goto_menu(); };
    // Previous and next title, in music mode only.
    case Qt::Key_F2:
        return [self] {
            if (!self->radio.radiomode.on())
                self->music.skip_minus();
        };
    case Qt::Key_F3:
        return [self] {
            if (!self->radio.radiomode.on())
                self->music.skip_plus();
        };
    case Qt::Key_F5:
        return [self] { self->chgWin(); };
    case Qt::Key_F10:
        return [self] { self->volume.Mute1(); };
    case Qt::Key_F11:
        return [self] { self->volume.Leiser1(); };
    case Qt::Key_F12:
        return [self] { self->volume.Lauter1(); };
    default:
        return {};
    }
}

void HeadUnit::closeScreen(ScreenId)
{
    stopanytimer();
    services.quit();
}

TextValue* HeadUnit::sharedText(ScreenId screen, const QString& element)
{
    struct Shared
    {
        ScreenId screen;
        const char* element;
        TextValue* value;
    };
    const Shared shared[] = {
        {ScreenId::Form1, "Label1", &radio.Label1},
        {ScreenId::Form1, "sendername", &radio.sendername},
        {ScreenId::Form2, "aktSender", &radio.menuAktSender},
        {ScreenId::Form1, "lab_warning", &update.lab_warning},
        {ScreenId::Form1, "lab_cancel", &update.lab_cancel},
        {ScreenId::Form1, "lab_update", &update.lab_update},
    };
    for (const Shared& s : shared)
        if (s.screen == screen && element == QLatin1String(s.element))
            return s.value;
    return nullptr;
}

} // namespace zelk
