#pragma once
// The web view: a web page inside the head-unit frame.

#include "screens/screen.h"

namespace zelk {

class TForm3 : public Screen
{
    Q_OBJECT
public:
    explicit TForm3(HeadUnit& unit);

    void butback_click();

    // Shows `url` in the browser view.
    void load(const QUrl& url);
    // The browser view (a web engine view from the web view module). It is
    // made when the first page is loaded, not with the screen: a view made
    // at start holds about 125 MiB more from then on (program and engine
    // helpers), also for a user who never opens a page, and the first page
    // still shows within 0.2 s of the tap (0.07 s when made at start).
    // Measured by bench/bench_webview. Null when the module is missing.
    QWidget* browser();
    QWidget* Chromium1 = nullptr;

    ArtWidget* Image1;
    ClickLabel* butback;
    ClickLabel* aktSender;
    ClickLabel* lblUhrzeit;
    Gauge* ProgressBar1;
    QWidget* volbar;
    Gauge* volumebar;
};

} // namespace zelk
