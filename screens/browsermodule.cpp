#include "screens/browsermodule.h"

#include "platform/log.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

namespace zelk {

const BrowserModule& browserModule()
{
    static const BrowserModule module = [] {
        BrowserModule m;
        // Beside the program in the build tree, in the library folder of an
        // installed program, or where the build put it (for the tests).
        const QString programDir = QCoreApplication::applicationDirPath();
        const QString candidates[] = {
            programDir + QStringLiteral("/zelk_webview.so"),
            programDir + QStringLiteral("/" ZELK_WEBVIEW_RELATIVE "/zelk_webview.so"),
            QStringLiteral(ZELK_WEBVIEW_BUILT),
        };
        for (const QString& path : candidates) {
            if (!QFileInfo::exists(path))
                continue;
            QLibrary library(path);
            if (!library.load()) {
                qCWarning(lcDesktop).noquote()
                    << "cannot load the web view:" << library.errorString();
                continue;
            }
            m.create = reinterpret_cast<CreateBrowserFn>(library.resolve(kCreateBrowser));
            m.load = reinterpret_cast<LoadPageFn>(library.resolve(kLoadPage));
            if (m.create && m.load)
                return m;
            m = {};
        }
        qCWarning(lcDesktop) << "no web view module: the navigation and dashboard pages stay empty";
        return m;
    }();
    return module;
}

} // namespace zelk
