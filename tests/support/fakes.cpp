#include "support/fakes.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

namespace zelktest {

void ensureCoreApp()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "zelk-tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    Q_UNUSED(app);
}

void settle()
{
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool loopUntil(const std::function<bool()>& done, int timeoutMs, int pollMs)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    poll.start(pollMs);
    loop.exec();
    return done();
}

zelk::Downloader::Batch FakeDownloader::fetch(const QList<zelk::DownloadJob>& jobs,
                                              const zelk::DownloadLimits& l, Done done)
{
    const Batch id = ++m_last;
    for (const auto& job : jobs) {
        requested << job.url;
        fresh << m_bypass;
    }
    limits << l;
    m_pending.append({id, jobs, std::move(done)});
    if (autoFinish)
        QTimer::singleShot(0, &m_alive, [this, id] { complete(id); });
    return id;
}

void FakeDownloader::cancel(Batch batch)
{
    for (int i = 0; i < m_pending.size(); ++i) {
        if (m_pending[i].id == batch) {
            m_pending.removeAt(i);
            cancelled << batch;
            return;
        }
    }
}

void FakeDownloader::finish()
{
    while (!m_pending.isEmpty())
        complete(m_pending.first().id);
}

void FakeDownloader::complete(Batch id)
{
    for (int i = 0; i < m_pending.size(); ++i) {
        if (m_pending[i].id != id)
            continue;
        Pending p = m_pending.takeAt(i);
        QList<zelk::Fetched> results;
        for (const auto& job : p.jobs) {
            auto it = files.constFind(job.url);
            bool ok = false;
            if (it != files.constEnd() && !job.url.isEmpty()) {
                QFile f(job.target);
                ok = f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                     f.write(*it) == it->size();
            }
            results.append({ok, ok && job.url.startsWith(QLatin1String("https://"))});
        }
        p.done(results);
        return;
    }
}

zelk::Services FakeServices::services(std::shared_ptr<zelk::Downloader> realDownloader)
{
    zelk::Services s;
    auto log = player;
    s.makePlayer = [log] {
        if (log->failing.contains(QStringLiteral("create")))
            throw zelk::OperationError(QStringLiteral("The media player could not be created."));
        ++log->created;
        return std::make_unique<FakePlayer>(log);
    };
    s.downloader = realDownloader ? realDownloader : downloader;
    // No test asks a name server outside: without a directory server set,
    // the directory cannot be reached.
    s.stationServers = stationServers;
    s.dialogs = dialogs;
    s.shell = shell;
    s.makeJoysticks = makeJoysticks;
    s.quit = [this] { ++quits; };
    return s;
}

} // namespace zelktest

namespace zelktest {

void FakeServerLookup::lookup(Done done)
{
    ++lookups;
    QTimer::singleShot(0, &m_alive, [found = hosts, done = std::move(done)] { done(found); });
}

} // namespace zelktest
