#include "app/frontend.h"

#include "app/headunit.h"
#include "screens/Unit1.h"
#include "screens/Unit2.h"
#include "screens/Unit3.h"
#include "screens/Unit5.h"

#include "screens/keyboard.h"
#include "screens/shellviews.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace zelk {

namespace {

void bindText(TextValue& value, std::initializer_list<QLabel*> labels)
{
    for (QLabel* label : labels) {
        label->setText(value.text());
        QObject::connect(&value, &TextValue::changed, label, &QLabel::setText);
    }
}

void bindVisible(FlagValue& value, std::initializer_list<QWidget*> widgets, bool shownWhen = true)
{
    for (QWidget* w : widgets) {
        w->setVisible(value.on() == shownWhen);
        QObject::connect(&value, &FlagValue::changed, w,
                         [w, shownWhen](bool on) { w->setVisible(on == shownWhen); });
    }
}

void bindLevel(IntValue& value, Gauge* gauge)
{
    gauge->setValue(value.value());
    QObject::connect(&value, &IntValue::changed, gauge, &Gauge::setValue);
}

template <class Fn> void bindFlag(FlagValue& value, QObject* context, Fn apply)
{
    apply(value.on());
    QObject::connect(&value, &FlagValue::changed, context, apply);
}

// The controls of the settings screen and the live settings they hold, both
// ways. A control is set only when its content differs from the value, so
// that typing is never disturbed: the cursor and the selection stay.
void bindEdit(TextValue& value, QLineEdit* edit)
{
    edit->setText(value.text());
    edit->setCursorPosition(0);
    QObject::connect(&value, &TextValue::changed, edit, [edit](const QString& text) {
        if (edit->text() == text)
            return;
        edit->setText(text);
        // A field nobody types into shows the start of an address.
        if (!edit->hasFocus())
            edit->setCursorPosition(0);
    });
    QObject::connect(edit, &QLineEdit::textEdited, &value, [&value](const QString& text) {
        if (value.text() != text)
            value.set(text);
    });
}

void bindCombo(TextValue& value, QComboBox* combo)
{
    combo->setCurrentText(value.text());
    QObject::connect(&value, &TextValue::changed, combo, [combo](const QString& text) {
        if (combo->currentText() != text)
            combo->setCurrentText(text);
    });
    QObject::connect(combo, &QComboBox::currentTextChanged, &value, [&value](const QString& text) {
        if (value.text() != text)
            value.set(text);
    });
}

void bindCheck(FlagValue& value, QAbstractButton* box)
{
    box->setChecked(value.on());
    QObject::connect(&value, &FlagValue::changed, box, [box](bool on) {
        if (box->isChecked() != on)
            box->setChecked(on);
    });
    QObject::connect(box, &QAbstractButton::toggled, &value, [&value](bool on) {
        if (value.on() != on)
            value.set(on);
    });
}

// What the box would read on losing the focus: a number brought into the
// range, and the lower bound for a text that is no number.
int readSpinText(const QSpinBox* spin)
{
    bool ok = false;
    const qlonglong typed = spin->cleanText().toLongLong(&ok);
    if (!ok)
        return spin->minimum();
    return static_cast<int>(std::clamp<qlonglong>(typed, spin->minimum(), spin->maximum()));
}

void bindSpin(IntValue& value, QSpinBox* spin)
{
    spin->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    spin->setValue(value.value());
    auto typing = std::make_shared<bool>(false);
    QObject::connect(&value, &IntValue::changed, spin, [spin, typing](int v) {
        if (!*typing && spin->value() != v)
            spin->setValue(v);
    });
    QObject::connect(spin, &QSpinBox::valueChanged, &value, [&value](int v) {
        if (value.value() != v)
            value.set(v);
    });
    // A typed size counts at once: the save button takes no focus, so a tap
    // on it leaves the focus, and the text not yet read, in the box. The
    // text itself is left alone while it is being typed.
    QObject::connect(spin, &QSpinBox::textChanged, &value, [&value, spin, typing] {
        *typing = true;
        value.set(readSpinText(spin));
        *typing = false;
    });
    QObject::connect(spin, &QSpinBox::editingFinished, spin,
                     [&value, spin] { spin->setValue(value.value()); });
}

} // namespace

Frontend::Frontend(HeadUnit& unit, const QString& display) : m_unit(unit)
{
    Screen::setPreferredDisplay(display);
    // The radio screen is created and shown first, the others hidden after it.
    Form1 = new TForm1(unit);
    Form1->show();
    Form2 = new TForm2(unit);
    Form3 = new TForm3(unit);
    Form5 = new TForm5(unit);

    setupScreenConnections();
    setupClockConnections();
    setupVolumeConnections();
    setupRadioConnections();
    setupMusicConnections();
    setupMenuConnections();
    setupUpdateConnections();
    setupLanguageConnections();
    setupSettingsConnections();
    qApp->installEventFilter(this);
}

Frontend::~Frontend()
{
    qApp->removeEventFilter(this);
    delete Form5;
    delete Form3;
    delete Form2;
    delete Form1;
}

Screen* Frontend::screen(ScreenId id) const
{
    switch (id) {
    case ScreenId::Form1:
        return Form1;
    case ScreenId::Form2:
        return Form2;
    case ScreenId::Form3:
        return Form3;
    case ScreenId::Form5:
        return Form5;
    }
    return Form1;
}

QWidget* Frontend::activeScreen() const
{
    for (ScreenId id : {ScreenId::Form5, ScreenId::Form3, ScreenId::Form2, ScreenId::Form1})
        if (screen(id)->isVisible())
            return screen(id);
    return Form1;
}

void Frontend::setupScreenConnections()
{
    ScreenManager& screens = m_unit.screens;
    connect(&screens, &ScreenManager::shown, this, [this](ScreenId id) { screen(id)->show(); });
    connect(&screens, &ScreenManager::hidden, this, [this](ScreenId id) { screen(id)->hide(); });
    connect(&screens, &ScreenManager::geometryHandedOver, this, [this](ScreenId from, ScreenId to) {
        screen(to)->takePlaceOf(*screen(from));
    });
    connect(&screens, &ScreenManager::repaint, this,
            [this](ScreenId id) { screen(id)->but_refresh(); });
    connect(&screens, &ScreenManager::windowModeEntered, this, [this] {
        for (ScreenId id : kAllScreens)
            screen(id)->enterWindowMode();
    });
    screens.setSizeSource([this](ScreenId id) { return screen(id)->frameGeometry().size(); });
    connect(&screens, &ScreenManager::raiseRequested, this, [this] {
        Screen* front = qobject_cast<Screen*>(activeScreen());
        if (front != Form1) {
            Form1->show();
            front->hide();
            Form1->takePlaceOf(*front);
        }
        Form1->raise();
        Form1->activateWindow();
    });
    connect(&screens, &ScreenManager::outerResized, this,
            [this](ScreenId id, QSize outer) { screen(id)->resizeOuter(outer); });
    connect(&screens, &ScreenManager::framesChanged, this, [this](bool sizeable) {
        for (ScreenId id : kAllScreens)
            screen(id)->setSizeable(sizeable);
    });

    bindFlag(m_unit.bootImage, Form1, [this](bool on) { Form1->showBootImage(on); });
    bindFlag(m_unit.busyCursor, Form1,
             [this](bool busy) { Form1->setCursor(busy ? Qt::BusyCursor : Qt::ArrowCursor); });
    bindText(m_unit.settingsVersion, {Form5->version});
}

void Frontend::setupClockConnections()
{
    bindText(m_unit.clock, {Form1->lblUhrzeit, Form2->lblUhrzeit, Form3->lblUhrzeit});
}

void Frontend::setupVolumeConnections()
{
    Volume& volume = m_unit.volume;
    bindVisible(volume.muted, {Form1->ton0});
    bindVisible(volume.muted, {Form1->ton1}, false);
    bindVisible(volume.menuMuted, {Form2->ton0});
    bindVisible(volume.menuMuted, {Form2->ton1}, false);
    bindVisible(volume.form1.volbar, {Form1->volbar});
    bindVisible(volume.form2.volbar, {Form2->volbar});
    bindVisible(volume.form3.volbar, {Form3->volbar});
    bindLevel(volume.form1.volumebar, Form1->volumebar);
    bindLevel(volume.form2.volumebar, Form2->volumebar);
    bindLevel(volume.form3.volumebar, Form3->volumebar);
}

void Frontend::setupRadioConnections()
{
    Radio& radio = m_unit.radio;
    bindText(radio.Label1, {Form1->Label1});
    bindText(radio.speicher, {Form1->speicher});
    bindText(radio.sendername, {Form1->sendername});
    bindText(radio.menuAktSender, {Form2->aktSender});
    bindText(radio.webAktSender, {Form3->aktSender});
    bindText(m_unit.stationText.rdsText, {Form1->rdsText});
    bindFlag(radio.started, Form1, [this](bool on) { Form1->showStarted(on); });
    bindVisible(radio.volumeKeysShown, {Form1->vol_plus, Form1->vol_minus});
    Form1->showPresets(radio.presets());
    connect(&radio, &Radio::presetsChanged, Form1,
            [this] { Form1->showPresets(m_unit.radio.presets()); });
}

void Frontend::setupMusicConnections()
{
    Music& music = m_unit.music;
    bindText(music.timecount, {Form1->timecount});
    bindVisible(music.transport, {Form1->but_play, Form1->but_pause, Form1->but_stop,
                                  Form1->but_skipmin, Form1->but_skipplus});
    for (Gauge* bar : {Form1->ProgressBar1, Form2->ProgressBar1, Form3->ProgressBar1}) {
        bar->setVisible(music.progressShown.on());
        connect(&music.progressShown, &FlagValue::changed, bar, &QWidget::setVisible);
        connect(&music.progressMax, &IntValue::changed, bar, &Gauge::setMaximum);
        connect(&music.progressPos, &IntValue::changed, bar, &Gauge::setValue);
    }
    // The captions keep their design text until the first tick writes one.
    for (Screen* s :
         {static_cast<Screen*>(Form1), static_cast<Screen*>(Form2), static_cast<Screen*>(Form3)})
        connect(&music.caption, &TextValue::changed, s, &QWidget::setWindowTitle);
    connect(&music.settingsCaption, &TextValue::changed, Form5, &QWidget::setWindowTitle);
}

void Frontend::setupMenuConnections()
{
    Menu& menu = m_unit.menu;
    bindText(menu.mainLabel, {Form2->mainLabel});
    bindVisible(menu.noPlaylist, {Form2->noPlaylist});
    connect(&m_unit.web, &WebView::loadRequested, Form3, &TForm3::load);
}

void Frontend::setupUpdateConnections()
{
    Update& update = m_unit.update;
    bindFlag(update.update, Form1, [this](bool on) { Form1->showUpdatePanel(on); });
    connect(&update.updateTop, &IntValue::changed, Form1, &TForm1::showUpdateTop);
    connect(&update.installing, &FlagValue::changed, Form1, &TForm1::showInstalling);
    bindText(update.lab_warning, {Form1->lab_warning});
    bindText(update.lab_cancel, {Form1->lab_cancel});
    bindText(update.lab_update, {Form1->lab_update});
}

void Frontend::setupLanguageConnections()
{
    connect(&m_unit.settings, &Settings::caption, this,
            [this](ScreenId id, const QString& element, const QString& text) {
                screen(id)->setCaption(element, text);
            });
}

void Frontend::setupSettingsConnections()
{
    Setup& setup = m_unit.setup;
    LiveSettings& live = m_unit.settings.live;

    const std::pair<Setup::Page, QWidget*> pages[] = {{Setup::Page::Navi, Form5->GB_Navi},
                                                      {Setup::Page::Radio, Form5->GB_Radio},
                                                      {Setup::Page::General, Form5->GB_Allgemein},
                                                      {Setup::Page::Music, Form5->GB_Music},
                                                      {Setup::Page::Dash, Form5->GB_Dash}};
    for (auto [page, box] : pages) {
        const int shownAt = static_cast<int>(page);
        box->setVisible(setup.page.value() == shownAt);
        connect(&setup.page, &IntValue::changed, box,
                [box, shownAt](int shown) { box->setVisible(shown == shownAt); });
    }
    bindVisible(setup.keyboardShown, {Form5->Keyboard, Form5->close_keyboard});
    bindFlag(setup.aboutShown, Form5, [this](bool on) { Form5->showAbout(on); });
    // The chooser opens where the current playlist lies, the first time.
    bindFlag(setup.chooserShown, Form5, [this](bool on) {
        Form5->choosePlaylist->setVisible(on);
        if (on)
            Form5->shell->openAt(m_unit.settings.live.filename.text());
    });

    bindEdit(live.URL, Form5->URL);
    bindEdit(live.DashURL, Form5->DashURL);
    for (int i = 0; i < 6; ++i) {
        bindEdit(live.rname[i], Form5->rname[i]);
        bindEdit(live.rurl[i], Form5->rurl[i]);
        bindEdit(live.rdsurl[i], Form5->rdsurl[i]);
    }
    bindCombo(live.lang, Form5->lang);
    bindFlag(live.fullscreen_false, Form5, [this](bool windowed) {
        (windowed ? Form5->fullscreen_false : Form5->fullscreen_true)->setChecked(true);
    });
    for (auto [button, full] :
         {std::pair{Form5->fullscreen_true, true}, std::pair{Form5->fullscreen_false, false}}) {
        connect(button, &QAbstractButton::clicked, this, [this, full = full] {
            m_unit.seq.input([this, full] { m_unit.settings.live.selectFullscreen(full); });
        });
    }
    const std::pair<FlagValue*, QCheckBox*> boxes[] = {
        {&live.show_music_in_title, Form5->show_music_in_title},
        {&live.auto_changemode, Form5->auto_changemode},
        {&live.mute_Settings, Form5->mute_Settings},
        {&live.CB_aufl_chgbl, Form5->CB_aufl_chgbl},
        {&live.autoplay_last, Form5->autoplay_last},
        {&live.onlyatreboot, Form5->onlyatreboot},
        {&live.also_visible, Form5->also_visible}};
    for (auto [value, box] : boxes)
        bindCheck(*value, box);
    bindSpin(live.aufl_x, Form5->aufl_x);
    bindSpin(live.aufl_y, Form5->aufl_y);
    bindFlag(live.windowSizeEnabled, Form5, [this](bool on) {
        for (QWidget* w :
             {static_cast<QWidget*>(Form5->aufl_x), static_cast<QWidget*>(Form5->aufl_y),
              static_cast<QWidget*>(Form5->CB_aufl_chgbl)})
            w->setEnabled(on);
    });
    bindText(live.filename, {Form5->filename});
}

bool Frontend::routeHotKey(Screen* window, int key, bool autoRepeat,
                           Qt::KeyboardModifiers modifiers)
{
    std::function<void()> op = m_unit.hotKey(window->id(), key, autoRepeat, modifiers);
    if (!op)
        return false;
    m_unit.seq.input(std::move(op));
    return true;
}

bool Frontend::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() < Qt::Key_F1 || key->key() > Qt::Key_F12)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return false;
    auto* window = qobject_cast<Screen*>(widget->window());
    if (!window || (window != Form1 && window != Form2 && window != Form3 && window != Form5))
        return false;
    return routeHotKey(window, key->key(), key->isAutoRepeat(), key->modifiers());
}

} // namespace zelk
