#pragma once
// Buttons of wheels, button boxes and game pads: what the program hears of
// them, whichever window has the keyboard focus. The device library stays
// behind this interface.

#include <QList>
#include <QObject>
#include <QString>

namespace zelk {

// One button or one direction of a hat switch on one device. A device is
// known by its GUID and name, which survive a re-plug into another port;
// `order` tells identical devices apart (0 for the first of them).
struct ControlId
{
    enum class Kind { Button, Hat };
    // The directions of a hat, as bits.
    enum HatDirection { Up = 1, Right = 2, Down = 4, Left = 8 };

    QString guid;
    QString name;
    int order = 0;
    Kind kind = Kind::Button;
    int index = 0;     // button or hat number on the device
    int direction = 0; // for a hat: one HatDirection bit

    bool operator==(const ControlId& o) const
    {
        return guid == o.guid && name == o.name && order == o.order && kind == o.kind &&
               index == o.index && direction == o.direction;
    }
    bool isValid() const { return !guid.isEmpty() && index >= 0; }
};

struct JoystickDevice
{
    QString guid;
    QString name;
    int order = 0;
};

class JoystickSource : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~JoystickSource() override = default;

    // The devices attached now.
    virtual QList<JoystickDevice> devices() const = 0;

Q_SIGNALS:
    // A button went down or up; a hat moved into or out of a direction.
    // Axes are never reported.
    void pressed(const zelk::ControlId& control);
    void released(const zelk::ControlId& control);
    void devicesChanged();
};

} // namespace zelk
