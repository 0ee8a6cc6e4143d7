// The browser view on Qt's web engine, built as a module of its own and
// loaded at the first page (screens/browsermodule.h).

#include <QWebEnginePage>
#include <QWebEngineView>

extern "C" Q_DECL_EXPORT QWidget* zelk_create_browser(QWidget* parent)
{
    auto* view = new QWebEngineView(parent);
    // The frame is black; so is the view before and between pages.
    view->page()->setBackgroundColor(Qt::black);
    return view;
}

extern "C" Q_DECL_EXPORT void zelk_load_page(QWidget* view, const QUrl& url)
{
    if (auto* web = qobject_cast<QWebEngineView*>(view))
        web->setUrl(url);
}
