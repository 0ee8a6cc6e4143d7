#include "app/desktopservices.h"

#include "platform/browserlookup.h"
#include "platform/mpvplayer.h"
#include "platform/netdownloader.h"
#include "screens/messagebox.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QProcess>
#include <QUrl>

namespace zelk {

namespace {

class DesktopShell : public Shell
{
public:
    bool open(const QString& pathOrUrl) override
    {
        const QUrl url = QUrl::fromUserInput(pathOrUrl);
        return url.isValid() && QDesktopServices::openUrl(url);
    }
    QString findDefaultBrowser() override { return zelk::findDefaultBrowser(); }
    bool startProgram(const QString& program, const QStringList& arguments) override
    {
        // No working folder of its own: the program's start folder.
        return QProcess::startDetached(program, arguments);
    }
    QString clipboardText() override { return QGuiApplication::clipboard()->text(); }
};

} // namespace

void WidgetDialogs::information(const QString& text)
{
    HeadUnitMessage::run(text, parent());
}

void WidgetDialogs::error(const QString& text)
{
    HeadUnitMessage::run(text, parent());
}

Services desktopServices(std::shared_ptr<WidgetDialogs> dialogs)
{
    Services s;
    s.makePlayer = [] { return createMpvPlayer(MpvOptions{}); };
    s.downloader = std::make_shared<NetDownloader>();
    s.dialogs = std::move(dialogs);
    s.shell = std::make_shared<DesktopShell>();
    s.quit = [] { QCoreApplication::quit(); };
    return s;
}

} // namespace zelk
