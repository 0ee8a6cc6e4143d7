#pragma once
// The web view: a web page inside the head-unit frame. The logic only says
// which address to load; the screen's browser view does the rest.

#include <QObject>
#include <QUrl>

namespace zelk {

class HeadUnit;

class WebView : public QObject
{
    Q_OBJECT
public:
    explicit WebView(HeadUnit& unit);

    // Loads an address as it stands: a web address, or the absolute path of
    // a local file. An empty address loads nothing.
    void load(const QString& address);
    // Back to the main menu; the page gives way to the blank page.
    void butback_click();

    // The address asked for last.
    QUrl requested() const { return m_requested; }

Q_SIGNALS:
    void loadRequested(const QUrl& url);

private:
    HeadUnit& m_unit;
    QUrl m_requested;
};

} // namespace zelk
