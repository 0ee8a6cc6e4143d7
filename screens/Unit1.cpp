#include "screens/Unit1.h"

#include "app/clock.h"
#include "platform/download.h"
#include "platform/errors.h"
#include "platform/mediaplayer.h"
#include "platform/rtflines.h"
#include "screens/Unit2.h"
#include "screens/Unit3.h"
#include "screens/Unit5.h"
#include "settings/config.h"
#include "settings/language.h"

#include <QFile>
#include <QGuiApplication>
#include <QProgressBar>
#include <QScopeGuard>
#include <QTime>

namespace zelk {

namespace {

const QString kVersionPath = QStringLiteral("/ZelkCANBUS/Quen/version.txt");
const QString kInstallerPath = QStringLiteral("/ZelkCANBUS/Quen/Update.exe");
const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kSelectedGrey(0x80, 0x80, 0x80);

// Top-left corners of the preset discs and of their number labels.
constexpr QPoint kDiscAt[6] = {{201, 408}, {296, 264}, {455, 156},
                               {742, 156}, {898, 264}, {991, 408}};
constexpr QPoint kDigitAt[6] = {{233, 424}, {329, 280}, {488, 172},
                                {775, 172}, {931, 280}, {1024, 424}};
const char* const kDiscOn[6] = {"but1_1", "but2_1", "but3_1", "but4_1", "but5_1", "but6_1"};
const char* const kDiscOff[6] = {"but1_0", "but2_0", "but3_0", "but4_0", "but5_0", "but6_0"};
const char* const kDigit[6] = {"prog1", "prog2", "prog3", "prog4", "prog5", "prog6"};

// The radio screen, from the bottom up: each element is drawn over the ones
// before it.
QList<Element> radioScreenElements()
{
    QList<Element> e;
    e.append({"Image1", Kind::Image, {0, 0, 1280, 720}, AnchorAll, artLook("radio_bg"), {}});
    e.append({"lblUhrzeit", Kind::Label, {880, 8, 392, 73}, AnchorTop | AnchorRight,
              textLook(64, Qt::AlignRight | Qt::AlignVCenter), QStringLiteral("00:00"), false});
    e.append({"Label1", Kind::Label, {296, 629, 689, 70}, AnchorNone, textLook(48),
              QStringLiteral("Radio")});
    for (int i = 0; i < 6; ++i)
        e.append({kDiscOn[i], Kind::Image, {kDiscAt[i], QSize(97, 89)}, AnchorNone,
                  artLook("preset_on"), {}});
    for (int i = 0; i < 6; ++i)
        e.append({kDiscOff[i], Kind::Image, {kDiscAt[i], QSize(97, 89)}, AnchorNone,
                  artLook("preset_off", true), {}, i != 0});
    for (int i = 0; i < 6; ++i) {
        Look digit = clickable(textLook(48, Qt::AlignCenter, i == 0 ? Qt::white : Qt::black));
        if (i != 0)
            digit.background = Qt::white;
        e.append({kDigit[i], Kind::Label, {kDigitAt[i], QSize(24, 59)}, AnchorNone, digit,
                  QString::number(i + 1)});
    }
    e.append({"speicher", Kind::Label, {392, 334, 500, 59}, AnchorNone, textLook(35),
              QStringLiteral("FM: 1")});
    e.append({"sendername", Kind::Label, {343, 393, 602, 83}, AnchorNone,
              bold(wrapped(textLook(37))), QStringLiteral("Suchen...")});
    e.append({"ton1", Kind::Image, {24, 18, 105, 105}, AnchorTopLeft, artLook("speaker_on", true), {}});
    e.append({"ton0", Kind::Image, {24, 18, 105, 105}, AnchorTopLeft, artLook("speaker_off", true),
              {}, false});
    e.append({"bootscreen", Kind::Image, {0, 1000, 1280, 720}, AnchorAll, artLook("boot"), {}});
    e.append({"goto_menu", Kind::Image, {956, 598, 316, 114}, AnchorNone, clickable(Look{}), {}});
    Look station = wrapped(textLook(29));
    station.greyed = true;
    e.append({"rdsText", Kind::Label, {296, 482, 689, 70}, AnchorNone, station, {}});
    e.append({"version", Kind::Label, {1197, 629, 75, 53}, AnchorRight | AnchorBottom,
              textLook(27, Qt::AlignCenter, kSilver), kProgramVersion});
    e.append({"vol_plus", Kind::Label, {135, 8, 24, 59}, AnchorTopLeft, clickable(textLook(48)),
              QStringLiteral("+"), false});
    e.append({"vol_minus", Kind::Label, {135, 44, 24, 37}, AnchorTopLeft, clickable(textLook(48)),
              QStringLiteral("-"), false});
    e.append({"refreshscr", Kind::Panel, {0, 0, 65, 65}, AnchorTopLeft, filled(Qt::black), {},
              false});
    const std::pair<const char*, QRect> transport[] = {
        {"but_play", {600, 125, 97, 89}},   {"but_pause", {359, 202, 97, 89}},
        {"but_stop", {828, 202, 97, 89}},   {"but_skipmin", {240, 337, 97, 89}},
        {"but_skipplus", {956, 337, 97, 89}}};
    const char* const transportArt[] = {"play", "pause", "stop", "skip_prev", "skip_next"};
    for (int i = 0; i < 5; ++i)
        e.append({transport[i].first, Kind::Image, transport[i].second, AnchorNone,
                  artLook(transportArt[i], true), {}, false});
    e.append({"timecount", Kind::Label, {462, 269, 360, 35}, AnchorNone, bold(textLook(37)), {}});
    // Panels drawn over everything else.
    e.append({"volbar", Kind::Panel, {0, 598, 1280, 122}, AnchorLeft | AnchorRight,
              filled(Qt::black), {}, false});
    e.append({"Image3", Kind::Image, {181, 10, 915, 113}, AnchorTopLeft, artLook("volume_bar"), {},
              true, "volbar"});
    e.append({"volumebar", Kind::Gauge, {453, 41, 567, 36}, AnchorTopLeft, Look{}, {}, true,
              "volbar"});
    e.append({"ProgressBar1", Kind::Bar, {0, 584, 1280, 8}, AnchorLeft | AnchorRight,
              textLook(0, Qt::AlignLeft, QColor(0xCE, 0x11, 0x11)), {}, false});
    e.append({"update", Kind::Panel, {0, 3000, 1280, 720}, AnchorAll, filled(Qt::black), {},
              false});
    e.append({"Panel1", Kind::Panel, {381, 165, 544, 359}, AnchorNone, Look{}, {}, true,
              "update"});
    e.append({"bg_nobut", Kind::Image, {0, 0, 537, 353}, AnchorTopLeft, artLook("dialog_plain"), {},
              true, "Panel1"});
    e.append({"bg_but", Kind::Image, {0, 0, 537, 353}, AnchorTopLeft, artLook("dialog_buttons"), {},
              true, "Panel1"});
    e.append({"lab_warning", Kind::Label, {8, 116, 512, 123}, AnchorTopLeft, wrapped(textLook(27)),
              QStringLiteral("Es steht eine Softwareaktualisierung zur Verfügung. "
                             "Möchten Sie diese jetzt installieren?"),
              true, "Panel1"});
    e.append({"lab_cancel", Kind::Label, {25, 277, 208, 50}, AnchorTopLeft,
              clickable(wrapped(textLook(33, Qt::AlignCenter, Qt::black))),
              QStringLiteral("Abbrechen"), true, "Panel1"});
    e.append({"lab_update", Kind::Label, {297, 279, 208, 50}, AnchorTopLeft,
              clickable(wrapped(textLook(33, Qt::AlignCenter, Qt::black))),
              QStringLiteral("Installieren"), true, "Panel1"});
    e.append({"update_progress", Kind::Busy, {25, 181, 480, 34}, AnchorTopLeft, Look{}, {}, false,
              "Panel1"});
    return e;
}

} // namespace

TForm1::TForm1(Services s, QString dir, QWidget* parent)
    : Screen(QStringLiteral("ZelkRadio"), false, parent), services(std::move(s)),
      dataDir(std::move(dir)), config(defaultConfigLines()), MUI(builtinLanguageLines())
{
    setErrorReporter(services.dialogs);
    buildElements();

    preboot = new UiTimer(500, true, this);
    boot = new UiTimer(3000, true, this);
    restartOnce = new UiTimer(1000, false, this);
    time = new UiTimer(1000, true, this);
    RDStimer = new UiTimer(5000, true, this);
    voltimer = new UiTimer(3000, false, this);
    MusicID3Check = new UiTimer(500, false, this);
    pause = new UiTimer(500, false, this);
    check_PlaylistItem = new UiTimer(3000, false, this);
    skip2last = new UiTimer(500, false, this);

    auto handle = [this](UiTimer* t, void (TForm1::*op)()) {
        t->setHandler([this, op] { guarded([this, op] { (this->*op)(); }); });
    };
    handle(preboot, &TForm1::preboot_tick);
    handle(boot, &TForm1::boot_tick);
    handle(restartOnce, &TForm1::restartOnce_tick);
    handle(time, &TForm1::time_tick);
    handle(RDStimer, &TForm1::reloadRDS);
    voltimer->setHandler([this] { VolumeOverlay{volbar, volumebar, voltimer}.hide(); });

    // Creation step.
    elements().setDesignTop(bootscreen, 0);
    placeFullScreen();
    lblUhrzeit->setText(clockText(QTime::currentTime()));
    rdsText->clear();
    setCursor(Qt::BusyCursor);
}

TForm1::~TForm1() = default;

void TForm1::buildElements()
{
    const QList<Element> list = radioScreenElements();
    elements().build(list);
    ElementSet& el = elements();
    Image1 = el.image("Image1");
    lblUhrzeit = el.label("lblUhrzeit");
    Label1 = el.label("Label1");
    for (int i = 0; i < 6; ++i) {
        but_1[i] = el.image(kDiscOn[i]);
        but_0[i] = el.image(kDiscOff[i]);
        prog[i] = el.label(kDigit[i]);
        onClick(but_0[i], [this, i] { ButtonN(i + 1); });
        onClick(prog[i], [this, i] { ButtonN(i + 1); });
    }
    speicher = el.label("speicher");
    sendername = el.label("sendername");
    ton1 = el.image("ton1");
    ton0 = el.image("ton0");
    bootscreen = el.image("bootscreen");
    goto_menu = el.image("goto_menu");
    rdsText = el.label("rdsText");
    version = el.label("version");
    vol_plus = el.label("vol_plus");
    vol_minus = el.label("vol_minus");
    refreshscr = el.widget("refreshscr");
    but_play = el.image("but_play");
    but_pause = el.image("but_pause");
    but_stop = el.image("but_stop");
    but_skipmin = el.image("but_skipmin");
    but_skipplus = el.image("but_skipplus");
    timecount = el.label("timecount");
    volbar = el.widget("volbar");
    volumebar = el.gauge("volumebar");
    ProgressBar1 = el.gauge("ProgressBar1");
    update_panel = el.widget("update");
    bg_nobut = el.image("bg_nobut");
    bg_but = el.image("bg_but");
    lab_warning = el.label("lab_warning");
    lab_cancel = el.label("lab_cancel");
    lab_update = el.label("lab_update");
    update_progress = qobject_cast<QProgressBar*>(el.widget("update_progress"));

    onClick(goto_menu, [this] { but_goto_menu(); });
    onClick(ton1, [this] { mute(); });
    onClick(ton0, [this] { unmute(); });
    onClick(vol_plus, [this] { Lauter1(); });
    onClick(vol_minus, [this] { Leiser1(); });
    onClick(lab_cancel, [this] { lab_cancel_click(); });
    onClick(lab_update, [this] { lab_update_click(); });
}

void TForm1::attach(TForm2* form2, TForm3* form3, TForm5* form5)
{
    Form2 = form2;
    Form3 = form3;
    Form5 = form5;
}

// ---------------------------------------------------------------- start-up

void TForm1::preboot_tick()
{
    for (QWidget* w : {static_cast<QWidget*>(Form2), static_cast<QWidget*>(Form3),
                       static_cast<QWidget*>(Form5)})
        w->hide();
    preboot->setEnabled(false);
}

void TForm1::boot_tick()
{
    // The message box below runs a nested event loop in which this timer
    // keeps ticking: the step must not start again meanwhile.
    if (m_booting)
        return;
    m_booting = true;
    const auto done = qScopeGuard([this] { m_booting = false; });

    Form5->version->setText(version->text());

    services.downloader->clearUrlCache();
    services.downloader->download(updateServer + kVersionPath, filePath("version.txt"));
    if (auto lines = readLineFile(filePath("version.txt"))) {
        ver_dl = *lines;
        m_versionKnown = true;
    }

    if (QFile::exists(filePath(kConfigFileName))) {
        loadConfig();
        load_Settings();
    } else {
        services.dialogs->information(this, MUI.line(38));
        if (!boot->isEnabled())
            return; // the program was closed while the box was open
        saveConfig();
    }
    setCursor(Qt::ArrowCursor);

    // Without any version file no release is known, so there is nothing to
    // offer; an empty or blank first line counts the same.
    const QString latest = ver_dl.value(0);
    if (m_versionKnown && !latest.trimmed().isEmpty() && latest != version->text())
        showUpdatePanel();
    else
        startRadio();
}

void TForm1::load_Settings()
{
    languageCode = config.line(cfg::Language);
    loadlang();
    if (config.line(cfg::Fullscreen) == QLatin1String("false"))
        chgWin();
}

void TForm1::restartOnce_tick()
{
    bool ok = false;
    const int stored = config.line(cfg::Volume).trimmed().toInt(&ok);
    // A level that is not a whole number leaves the volume as it is.
    if (ok)
        volume = std::clamp(stored, 0, 100);
    for (int n = 1; n <= 6; ++n)
        if (config.line(cfg::ActiveStation) == QString::number(n))
            ButtonN(n);
    restartOnce->setEnabled(false);
}

void TForm1::stopanytimer()
{
    for (UiTimer* t : {skip2last, check_PlaylistItem, pause, MusicID3Check, preboot, restartOnce,
                       RDStimer, boot, time, voltimer})
        t->setEnabled(false);
    if (Form2)
        Form2->voltimer->setEnabled(false);
    if (Form3)
        Form3->voltimer->setEnabled(false);
}

// ---------------------------------------------------------------- screens

void TForm1::but_goto_menu()
{
    switchScreen(this, Form2, false);
    Form2->but_refresh();
}

void TForm1::chgWin()
{
    for (Screen* s : {static_cast<Screen*>(this), static_cast<Screen*>(Form2),
                      static_cast<Screen*>(Form3), static_cast<Screen*>(Form5)})
        s->enterWindowMode();
}

void TForm1::time_tick()
{
    const QString now = clockText(QTime::currentTime());
    lblUhrzeit->setText(now);
    Form2->lblUhrzeit->setText(now);
    Form3->lblUhrzeit->setText(now);
}

bool TForm1::hotKey(int key)
{
    switch (key) {
    case Qt::Key_F1: but_goto_menu(); return true;
    case Qt::Key_F5: chgWin(); return true;
    case Qt::Key_F10: Mute1(); return true;
    case Qt::Key_F11: Leiser1(); return true;
    case Qt::Key_F12: Lauter1(); return true;
    default: return false;
    }
}

// ---------------------------------------------------------------- settings

void TForm1::loadConfig()
{
    loadConfigFile(config, filePath(kConfigFileName));
}

void TForm1::saveConfig()
{
    saveConfigFile(config, filePath(kConfigFileName));
}

void TForm1::loadlang()
{
    loadLanguageFile(MUI, dataDir, languageCode);
    struct Target
    {
        int line;
        QWidget* screen;
        const char* element;
    };
    const Target targets[] = {
        {1, this, "Label1"},       {2, this, "sendername"},     {6, Form5, "aktSender"},
        {7, Form2, "butback"},     {7, Form3, "butback"},       {7, Form5, "butback"},
        {8, this, "lab_cancel"},   {18, Form5, "Label2"},       {22, this, "lab_warning"},
        {23, this, "lab_update"},  {26, Form2, "aktSender"},
    };
    for (const Target& t : targets) {
        auto* screen = static_cast<Screen*>(t.screen);
        if (auto* label = qobject_cast<QLabel*>(screen->elements().find(t.element)))
            label->setText(MUI.line(t.line));
    }
}

// ---------------------------------------------------------------- radio

void TForm1::startRadio()
{
    if (player)
        return; // the one player exists already: the radio has started
    bootscreen->hide();
    elements().setDesignTop(bootscreen, 1000);
    sendername->setText(config.line(cfg::StationName1));
    {
        QGuiApplication::setOverrideCursor(Qt::BlankCursor);
        const auto restore = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
        player = services.makePlayer();
        player->setUrl(config.line(cfg::StationUrl1));
        player->play();
        restartOnce->setEnabled(true);
    }
    version->hide();
    lblUhrzeit->show();
    reloadRDS();
    boot->setEnabled(false);
    vol_plus->show();
    vol_minus->show();
    reloadRadio();
}

void TForm1::makeButWhite()
{
    for (int i = 0; i < 6; ++i) {
        but_1[i]->hide();
        but_0[i]->show();
        setLabelColors(prog[i], Qt::black, Qt::white, true);
    }
}

void TForm1::ButtonN(int n)
{
    if (n < 1 || n > 6)
        return;
    makeButWhite();
    but_0[n - 1]->hide();
    but_1[n - 1]->show();
    setLabelColors(prog[n - 1], Qt::white, kSelectedGrey, true);
    speicher->setText(QStringLiteral("FM: %1").arg(n));
    sendername->setText(config.line(cfg::StationName1 - 1 + n));
    if (player)
        player->setUrl(config.line(cfg::StationUrl1 - 1 + n));
    config.setLine(cfg::ActiveStation, QString::number(n));
    saveConfig();
    reloadRadio();
}

void TForm1::reloadRadio()
{
    if (player)
        player->play();
    rdsText->clear();
    ton1->show();
    ton0->hide();
    const QString line = QStringLiteral("Radio: ") + sendername->text();
    Form2->aktSender->setText(line);
    Form3->aktSender->setText(line);
    if (radiomode) {
        RDStimer->setEnabled(true);
        reloadRDS();
    }
}

void TForm1::sw2_radio()
{
    if (player)
        player->stop();
    MusicID3Check->setEnabled(false);
    speicher->setText(QStringLiteral("FM: 1"));
    sendername->setText(QStringLiteral("Laden..."));
    timecount->clear();
    rdsText->clear();
    RDStimer->setEnabled(true);
    for (int i = 0; i < 6; ++i) {
        but_0[i]->show();
        but_1[i]->show();
        prog[i]->show();
    }
    for (QWidget* w : {but_play, but_pause, but_stop, but_skipmin, but_skipplus})
        w->hide();
    check_PlaylistItem->setEnabled(false);
    Label1->setText(QStringLiteral("Radio"));
    reloadRadio();
    services.sleeper->sleep(1000);
    Button1();
    if (player)
        player->setVolume(savedVolume);
    ProgressBar1->hide();
    Form2->ProgressBar1->hide();
    Form3->ProgressBar1->hide();
}

void TForm1::reloadRDS()
{
    if (!radiomode)
        return;
    loadConfig();
    services.downloader->clearUrlCache();
    QList<std::pair<QString, QString>> downloads;
    for (int n = 1; n <= 6; ++n)
        downloads.append({config.line(cfg::RdsUrl1 - 1 + n),
                          dataDir + QStringLiteral("RDS%1.ini").arg(n)});
    // All six at once: one refresh holds the screen no longer than one
    // download's timeout, even when every server hangs.
    services.downloader->downloadAll(downloads);
    for (int n = 1; n <= 6; ++n) {
        if (auto lines = readLineFile(downloads[n - 1].second)) {
            RDS_dl = *lines;
            rds_data[n - 1] = RDS_dl.value(0).left(LineList::kMaxReadLength);
        } else {
            rds_data[n - 1].clear();
        }
    }
    for (int n = 1; n <= 6; ++n)
        if (config.line(cfg::ActiveStation) == QString::number(n))
            rdsText->setText(rds_data[n - 1]);
}

// ---------------------------------------------------------------- volume

bool TForm1::muted() const
{
    return !ton0->isHidden();
}

void TForm1::setMuteIcons(bool mutedLook)
{
    for (auto [on, off] : {std::pair{ton1, ton0}, std::pair{Form2->ton1, Form2->ton0}}) {
        on->setVisible(!mutedLook);
        off->setVisible(mutedLook);
    }
}

void TForm1::setvol()
{
    player->setVolume(volume);
    volumebar->setValue(volume);
    Form2->overlay.volumebar->setValue(volume);
    voltimer->setEnabled(true);
    Form2->voltimer->setEnabled(true);
    volbar->show();
    Form2->overlay.volbar->show();
    config.setLine(cfg::Volume, QString::number(volume));
    saveConfig();
}

void TForm1::volumeStep(int delta)
{
    volume += delta;
    player->setVolume(volume);
    VolumeOverlay{volbar, volumebar, voltimer}.showLevel(volume);
    Form2->overlay.showLevel(volume);
}

void TForm1::stepOwnVolume(VolumeOverlay& overlay, int delta)
{
    if (!player)
        return; // nothing to change before the radio has started
    if ((delta > 0 && volume >= 100) || (delta < 0 && volume <= 0))
        return;
    volume += delta;
    player->setVolume(volume);
    overlay.showLevel(volume);
}

void TForm1::Lauter1()
{
    if (!player)
        return; // nothing to turn up before the radio has started
    if (muted()) {
        setMuteIcons(false);
        volume = savedVolume;
        setvol();
    }
    if (volume < 100)
        volumeStep(+5);
    config.setLine(cfg::Volume, QString::number(volume));
    saveConfig();
}

void TForm1::Leiser1()
{
    if (!player)
        return;
    if (volume > 0)
        volumeStep(-5);
    if (volume == 0)
        unmute();
    config.setLine(cfg::Volume, QString::number(volume));
    saveConfig();
}

void TForm1::Mute1()
{
    mute();
}

void TForm1::mute()
{
    if (!player)
        return;
    if (!ton1->isHidden()) {
        setMuteIcons(true);
        savedVolume = volume;
        volume = 0;
    } else {
        setMuteIcons(false);
        volume = savedVolume;
    }
    setvol();
}

void TForm1::unmute()
{
    if (!player)
        return;
    if (muted()) {
        setMuteIcons(false);
        volume = savedVolume;
    } else {
        setMuteIcons(true);
        savedVolume = volume;
        volume = 0;
    }
    setvol();
}

// ---------------------------------------------------------------- update

void TForm1::showUpdatePanel()
{
    update_panel->show();
    update_panel->raise();
    elements().setDesignTop(update_panel, 100);
    boot->setEnabled(false);
}

void TForm1::lab_cancel_click()
{
    update_panel->hide();
    startRadio();
}

void TForm1::lab_update_click()
{
    bg_nobut->show();
    bg_but->hide();
    update_progress->show();
    lab_update->hide();
    lab_cancel->hide();
    lab_warning->setText(QStringLiteral("Bitte warten..."));
    services.dialogs->information(this, MUI.line(24) + QLatin1Char(' ') + ver_dl.value(0)
                                            + QLatin1Char(' ') + MUI.line(25));
    services.sleeper->sleep(1000);
    services.downloader->clearUrlCache();
    const QString installer = filePath("Update.exe");
    if (!services.installerDownloader->download(updateServer + kInstallerPath, installer)) {
        // Never start an installer that this run did not fetch: an old one
        // would install the wrong release, or nothing at all.
        services.dialogs->information(
            this, QStringLiteral("The update could not be downloaded. Please try again later."));
        update_panel->hide();
        startRadio();
        return;
    }
    services.sleeper->sleep(5000);
    services.shell->open(installer);
    services.quit();
}

} // namespace zelk
