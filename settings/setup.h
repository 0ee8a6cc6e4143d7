#pragma once
// The settings screen's operations.

#include <QObject>

namespace zelk {

class HeadUnit;

class Setup : public QObject
{
    Q_OBJECT
public:
    explicit Setup(HeadUnit& unit);

    // Back to the main menu: playback resumes, and the configuration is read
    // again and the radio reloaded from it.
    void but_back();
    // Ends the program a second after the timers were stopped.
    void exit_click();

private:
    HeadUnit& m_unit;
};

} // namespace zelk
