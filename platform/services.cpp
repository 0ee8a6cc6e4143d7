#include "platform/services.h"

#include "platform/curldownloader.h"
#include "platform/mpvplayer.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QThread>
#include <QUrl>

namespace zelk {

namespace {

class MessageBoxDialogs : public Dialogs
{
public:
    void information(QWidget* parent, const QString& text) override
    {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("ZelkRadio"), text, QMessageBox::Ok,
                        parent);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
    void error(QWidget* parent, const QString& text) override
    {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("ZelkRadio"), text,
                        QMessageBox::Ok, parent);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
};

class ThreadSleeper : public Sleeper
{
public:
    void sleep(int milliseconds) override { QThread::msleep(static_cast<unsigned long>(milliseconds)); }
};

class DesktopShell : public Shell
{
public:
    bool open(const QString& pathOrUrl) override
    {
        const QUrl url = QUrl::fromUserInput(pathOrUrl);
        return url.isValid() && QDesktopServices::openUrl(url);
    }
};

} // namespace

Services realServices()
{
    Services s;
    s.makePlayer = [] { return createMpvPlayer(MpvOptions{}); };
    s.downloader = std::make_shared<CurlDownloader>();
    s.installerDownloader = std::make_shared<CurlDownloader>(
        DownloadLimits{5000, 120000, qint64(512) * 1024 * 1024});
    s.dialogs = std::make_shared<MessageBoxDialogs>();
    s.sleeper = std::make_shared<ThreadSleeper>();
    s.shell = std::make_shared<DesktopShell>();
    s.quit = [] { QCoreApplication::quit(); };
    return s;
}

} // namespace zelk
