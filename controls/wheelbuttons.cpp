#include "controls/wheelbuttons.h"

#include "app/sequencer.h"
#include "platform/log.h"

#include <QFileInfo>
#include <QSettings>

#include <utility>

namespace zelk {

namespace {

const char* const kActionKeys[kWheelActionCount] = {
    "next_preset", "previous_preset", "preset_1",  "preset_2",       "preset_3",
    "preset_4",    "preset_5",        "preset_6",  "volume_up",      "volume_down",
    "mute",        "main_menu",       "next_title", "previous_title", "play_pause",
};

struct HatName
{
    int bit;
    const char* key;
    const char* de;
    const char* en;
};
const HatName kHatNames[] = {{ControlId::Up, "up", "oben", "up"},
                             {ControlId::Right, "right", "rechts", "right"},
                             {ControlId::Down, "down", "unten", "down"},
                             {ControlId::Left, "left", "links", "left"}};

const HatName* hatName(int bit)
{
    for (const HatName& h : kHatNames)
        if (h.bit == bit)
            return &h;
    return nullptr;
}

// A device name or GUID as read back from the file: one line, bounded.
bool plausible(const QString& text, int maxLength)
{
    if (text.size() > maxLength)
        return false;
    for (QChar ch : text)
        if (ch.category() == QChar::Other_Control)
            return false;
    return true;
}

} // namespace

QString wheelActionKey(WheelAction action)
{
    return QLatin1String(kActionKeys[static_cast<int>(action)]);
}

bool wheelActionRepeats(WheelAction action)
{
    switch (action) {
    case WheelAction::VolumeUp:
    case WheelAction::VolumeDown:
    case WheelAction::NextTitle:
    case WheelAction::PreviousTitle:
        return true;
    default:
        return false;
    }
}

WheelButtons::WheelButtons(Sequencer& seq, JoystickSource* source, QString iniPath,
                           Operations operations)
    : m_seq(seq), m_iniPath(std::move(iniPath)), m_operations(std::move(operations))
{
    m_captureTimeout.setSingleShot(true);
    m_captureTimeout.setInterval(kCaptureMs);
    connect(&m_captureTimeout, &QTimer::timeout, this, &WheelButtons::cancelCapture);
    connect(&m_repeat, &QTimer::timeout, this, [this] {
        m_repeat.setInterval(kRepeatIntervalMs);
        if (m_heldAction >= 0)
            m_seq.input(m_operations[m_heldAction]);
    });
    if (source) {
        connect(source, &JoystickSource::pressed, this, &WheelButtons::onPressed);
        connect(source, &JoystickSource::released, this, &WheelButtons::onReleased);
        connect(source, &JoystickSource::devicesChanged, this, [this, source] {
            // A device unplugged while a step was held lets the step go.
            if (!m_held)
                return;
            for (const JoystickDevice& dev : source->devices())
                if (dev.guid == m_held->guid && dev.name == m_held->name &&
                    dev.order == m_held->order)
                    return;
            onReleased(*m_held);
        });
    }
    load();
}

std::optional<ControlId> WheelButtons::binding(WheelAction action) const
{
    return m_bindings[static_cast<int>(action)];
}

QString WheelButtons::bindingText(WheelAction action, bool german) const
{
    const std::optional<ControlId>& c = m_bindings[static_cast<int>(action)];
    if (!c)
        return {};
    QString device = c->name.isEmpty() ? (german ? QStringLiteral("Gerät") : QStringLiteral("Device"))
                                       : c->name;
    if (c->order > 0)
        device += QStringLiteral(" (%1)").arg(c->order + 1);
    if (c->kind == ControlId::Kind::Button)
        return QStringLiteral("%1: %2 %3")
            .arg(device, german ? QStringLiteral("Taste") : QStringLiteral("Button"))
            .arg(c->index + 1);
    const HatName* h = hatName(c->direction);
    return QStringLiteral("%1: %2 %3 %4")
        .arg(device, german ? QStringLiteral("Kreuz") : QStringLiteral("Hat"))
        .arg(c->index + 1)
        .arg(QLatin1String(h ? (german ? h->de : h->en) : "?"));
}

void WheelButtons::beginCapture(WheelAction action)
{
    capturedAction.set(static_cast<int>(action));
    capturing.set(true);
    m_captureTimeout.start();
}

void WheelButtons::cancelCapture()
{
    endCapture();
}

void WheelButtons::endCapture()
{
    m_captureTimeout.stop();
    if (!capturing.on())
        return;
    capturedAction.set(-1);
    capturing.set(false);
}

void WheelButtons::clear(WheelAction action)
{
    auto& slot = m_bindings[static_cast<int>(action)];
    if (!slot)
        return;
    slot.reset();
    save();
    Q_EMIT bindingsChanged();
}

void WheelButtons::onPressed(const ControlId& control)
{
    if (capturing.on()) {
        const int action = capturedAction.value();
        // A button has one action: bound here, it leaves the one it had.
        for (auto& slot : m_bindings)
            if (slot && *slot == control)
                slot.reset();
        if (action >= 0 && action < kWheelActionCount)
            m_bindings[action] = control;
        endCapture();
        save();
        Q_EMIT bindingsChanged();
        return;
    }
    for (int a = 0; a < kWheelActionCount; ++a) {
        if (!m_bindings[a] || !(*m_bindings[a] == control))
            continue;
        m_seq.input(m_operations[a]);
        if (wheelActionRepeats(static_cast<WheelAction>(a))) {
            m_held = control;
            m_heldAction = a;
            m_repeat.start(kRepeatDelayMs);
        }
        return;
    }
}

void WheelButtons::onReleased(const ControlId& control)
{
    if (m_held && *m_held == control) {
        m_repeat.stop();
        m_held.reset();
        m_heldAction = -1;
    }
}

void WheelButtons::load()
{
    if (!QFileInfo::exists(m_iniPath))
        return;
    QSettings ini(m_iniPath, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError) {
        qCInfo(lcInput).noquote() << "cannot read" << m_iniPath << "- no buttons are bound";
        return;
    }
    int skipped = 0;
    for (int a = 0; a < kWheelActionCount; ++a) {
        const QString key = QLatin1String(kActionKeys[a]);
        if (!ini.childGroups().contains(key))
            continue;
        ini.beginGroup(key);
        ControlId c;
        c.guid = ini.value(QStringLiteral("guid")).toString();
        c.name = ini.value(QStringLiteral("name")).toString();
        bool orderOk = false, indexOk = false;
        c.order = ini.value(QStringLiteral("order")).toInt(&orderOk);
        c.index = ini.value(QStringLiteral("index")).toInt(&indexOk);
        const QString kind = ini.value(QStringLiteral("kind")).toString();
        const QString direction = ini.value(QStringLiteral("direction")).toString();
        ini.endGroup();
        bool ok = orderOk && indexOk && c.order >= 0 && c.order < 64 && c.index >= 0 &&
                  c.index < 1024 && !c.guid.isEmpty() && plausible(c.guid, 64) &&
                  plausible(c.name, 200);
        if (kind == QLatin1String("hat")) {
            c.kind = ControlId::Kind::Hat;
            c.direction = 0;
            for (const HatName& h : kHatNames)
                if (direction == QLatin1String(h.key))
                    c.direction = h.bit;
            ok = ok && c.direction != 0;
        } else {
            ok = ok && kind == QLatin1String("button");
        }
        if (!ok) {
            ++skipped;
            continue;
        }
        // Two actions naming one button: the first keeps it.
        bool taken = false;
        for (const auto& slot : m_bindings)
            taken = taken || (slot && *slot == c);
        if (!taken)
            m_bindings[a] = c;
    }
    if (skipped)
        qCInfo(lcInput).noquote() << m_iniPath << "has" << skipped
                                  << "unreadable bindings; they are left out";
    Q_EMIT bindingsChanged();
}

void WheelButtons::save()
{
    // QSettings writes a whole new file and renames it over the old one.
    QSettings ini(m_iniPath, QSettings::IniFormat);
    ini.setAtomicSyncRequired(true);
    ini.clear();
    for (int a = 0; a < kWheelActionCount; ++a) {
        const std::optional<ControlId>& c = m_bindings[a];
        if (!c)
            continue;
        ini.beginGroup(QLatin1String(kActionKeys[a]));
        ini.setValue(QStringLiteral("guid"), c->guid);
        ini.setValue(QStringLiteral("name"), c->name);
        ini.setValue(QStringLiteral("order"), c->order);
        ini.setValue(QStringLiteral("kind"), c->kind == ControlId::Kind::Hat ? QStringLiteral("hat")
                                                                         : QStringLiteral("button"));
        ini.setValue(QStringLiteral("index"), c->index);
        if (c->kind == ControlId::Kind::Hat) {
            const HatName* h = hatName(c->direction);
            ini.setValue(QStringLiteral("direction"), QLatin1String(h ? h->key : ""));
        }
        ini.endGroup();
    }
    ini.sync();
    if (ini.status() != QSettings::NoError)
        qCWarning(lcInput).noquote() << "cannot write" << m_iniPath;
}

} // namespace zelk
