#pragma once
// Fakes of the platform services, for tests about the logic above them.

#include "platform/download.h"
#include "platform/mediaplayer.h"
#include "platform/services.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace zelktest {

// The one QApplication of a test program (offscreen by the test runner).
void ensureApp();

struct PlayerLog
{
    QStringList urls;  // every setUrl
    int plays = 0;
    int stops = 0;
    int pauses = 0;
    QList<int> volumes; // every setVolume, as given
    int created = 0;
};

class FakePlayer : public zelk::MediaPlayer
{
public:
    explicit FakePlayer(std::shared_ptr<PlayerLog> log) : m_log(std::move(log)) {}
    void setUrl(const QString& url) override { m_url = url; m_log->urls << url; }
    QString url() const override { return m_url; }
    void play() override { ++m_log->plays; }
    void stop() override { ++m_log->stops; }
    void pause() override { ++m_log->pauses; }
    void next() override {}
    void previous() override {}
    QString currentItemName() const override { return {}; }
    QString currentPositionString() const override { return QStringLiteral("00:00"); }
    double currentPosition() const override { return 0; }
    double currentMediaDuration() const override { return 0; }
    void setVolume(int v) override { m_log->volumes << v; m_volume = std::clamp(v, 0, 100); }
    int volume() const override { return m_volume; }

private:
    std::shared_ptr<PlayerLog> m_log;
    QString m_url;
    int m_volume = 100;
};

// Serves addresses from a table: an address in `files` writes that content,
// every other address fails and leaves the target as it was.
class FakeDownloader : public zelk::Downloader
{
public:
    QHash<QString, QByteArray> files;
    QStringList requested;
    int cacheClears = 0;

    bool download(const QString& url, const QString& target) override;
    void downloadAll(const QList<std::pair<QString, QString>>& urlAndTarget) override;
    void clearUrlCache() override { ++cacheClears; }
};

class FakeDialogs : public zelk::Dialogs
{
public:
    QStringList infos;
    QStringList errors;
    // Runs while a box "is open", as the nested event loop would run timers.
    std::function<void()> whileOpen;

    void information(QWidget*, const QString& text) override
    {
        infos << text;
        if (whileOpen)
            whileOpen();
    }
    void error(QWidget*, const QString& text) override { errors << text; }
};

class FakeSleeper : public zelk::Sleeper
{
public:
    QList<int> sleeps;
    void sleep(int ms) override { sleeps << ms; }
};

class FakeShell : public zelk::Shell
{
public:
    QStringList opened;
    bool open(const QString& path) override
    {
        opened << path;
        return true;
    }
};

struct FakeServices
{
    std::shared_ptr<PlayerLog> player = std::make_shared<PlayerLog>();
    std::shared_ptr<FakeDownloader> downloader = std::make_shared<FakeDownloader>();
    std::shared_ptr<FakeDialogs> dialogs = std::make_shared<FakeDialogs>();
    std::shared_ptr<FakeSleeper> sleeper = std::make_shared<FakeSleeper>();
    std::shared_ptr<FakeShell> shell = std::make_shared<FakeShell>();
    int quits = 0;

    // Services backed by these fakes (the downloader may be replaced by a
    // real one).
    zelk::Services services(std::shared_ptr<zelk::Downloader> realDownloader = nullptr);
};

} // namespace zelktest
