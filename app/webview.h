#pragma once
// The web view: a web page inside the head-unit frame.

#include <QObject>

namespace zelk {

class HeadUnit;

class WebView : public QObject
{
    Q_OBJECT
public:
    explicit WebView(HeadUnit& unit);

    // Back to the main menu.
    void butback_click();

private:
    HeadUnit& m_unit;
};

} // namespace zelk
