#include "app/webview.h"

#include "app/headunit.h"

namespace zelk {

WebView::WebView(HeadUnit& unit) : m_unit(unit) {}

void WebView::butback_click()
{
    m_unit.screens.switchScreen(ScreenId::Form3, ScreenId::Form2, ScreenManager::Order::HideFirst);
    m_unit.screens.but_refresh(ScreenId::Form2);
}

} // namespace zelk
