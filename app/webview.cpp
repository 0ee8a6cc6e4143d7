#include "app/webview.h"

#include "app/headunit.h"

namespace zelk {

WebView::WebView(HeadUnit& unit) : m_unit(unit) {}

void WebView::load(const QString& address)
{
    if (address.trimmed().isEmpty())
        return;
    // "ets2map.com" becomes an http address, "/home/x/map.html" a file URL.
    m_requested = QUrl::fromUserInput(address);
    Q_EMIT loadRequested(m_requested);
}

void WebView::butback_click()
{
    m_unit.screens.switchScreen(ScreenId::Form3, ScreenId::Form2, ScreenManager::Order::HideFirst);
    m_unit.screens.but_refresh(ScreenId::Form2);
    load(m_unit.filePath(QStringLiteral("blank.html")));
}

} // namespace zelk
