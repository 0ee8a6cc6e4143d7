#pragma once
// The browser view lives in a module of its own (zelk_webview), loaded when
// the first page is shown: until then the program carries none of the web
// engine's libraries (about 23 MiB resident, and their loading at start).

#include <QUrl>

class QWidget;

namespace zelk {

// The module's two entry points, looked up by these names.
using CreateBrowserFn = QWidget* (*)(QWidget* parent);
using LoadPageFn = void (*)(QWidget* view, const QUrl& url);
inline constexpr const char* kCreateBrowser = "zelk_create_browser";
inline constexpr const char* kLoadPage = "zelk_load_page";

struct BrowserModule
{
    CreateBrowserFn create = nullptr;
    LoadPageFn load = nullptr;
};

// Loads the module once; null entry points when it cannot be found or
// loaded (the log says why).
const BrowserModule& browserModule();

} // namespace zelk
