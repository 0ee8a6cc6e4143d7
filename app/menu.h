#pragma once
// The main menu: the hub between the head unit's functions.

#include <QObject>

namespace zelk {

class HeadUnit;

class Menu : public QObject
{
    Q_OBJECT
public:
    explicit Menu(HeadUnit& unit);

    void takemeback();
    void sw2Setup();

private:
    HeadUnit& m_unit;
};

} // namespace zelk
