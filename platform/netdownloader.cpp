#include "platform/netdownloader.h"

#include "platform/log.h"
#include "platform/netreply.h"
#include "platform/version.h"

#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QSslError>
#include <QTemporaryFile>
#include <QTimer>

#include <cstdio>
#include <vector>

namespace zelk {

struct NetDownloader::Transfer
{
    QPointer<QNetworkReply> reply;
    QString url;
    QString why; // set when the program itself ends the transfer
    std::unique_ptr<QTemporaryFile> file;
    QString target;
    qint64 written = 0;
    bool failed = false;
    bool ended = false;
    // Some hop went out as plain http, or a server's certificate was refused.
    bool plainHop = false;
    bool tlsRefused = false;
};

struct NetDownloader::Running
{
    Done done;
    QList<Fetched> results;
    std::vector<Transfer> transfers;
    int open = 0;
    qint64 maxBytes = 0;
    // Freed with deleteLater(): the batch may end inside its own timeout.
    QTimer* deadline = nullptr;

    ~Running()
    {
        if (deadline) {
            deadline->stop();
            deadline->deleteLater();
        }
    }
};

namespace {

// Puts a complete body in place of the target in one step: rename(2)
// replaces an existing file, QFile::rename refuses to.
bool replaceTarget(QTemporaryFile& file, const QString& target)
{
    if (!file.flush())
        return false;
    file.setAutoRemove(false);
    const QString temp = file.fileName();
    file.close();
    if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) !=
        0) {
        QFile::remove(temp);
        return false;
    }
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                      QFile::ReadOther);
    return true;
}

QSslConfiguration verifyingConfiguration(const QList<QSslCertificate>& extraRoots)
{
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    if (!extraRoots.isEmpty())
        // Adding to the list would end the loading of the system's roots on
        // demand: name them all.
        tls.setCaCertificates(QSslConfiguration::systemCaCertificates() + extraRoots);
    tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
    return tls;
}

} // namespace

NetDownloader::NetDownloader(QObject* parent) : NetDownloader(QList<QSslCertificate>(), parent) {}

NetDownloader::NetDownloader(const QList<QSslCertificate>& extraRoots, QObject* parent)
    : QObject(parent), m_network(new QNetworkAccessManager(this)),
      m_tls(verifyingConfiguration(extraRoots))
{
}

NetDownloader::~NetDownloader()
{
    while (!m_running.empty())
        cancel(m_running.begin()->first);
}

Downloader::Batch NetDownloader::fetch(const QList<DownloadJob>& jobs, const DownloadLimits& limits,
                                       Done done)
{
    const Batch id = ++m_lastBatch;
    auto running = std::make_unique<Running>();
    Running& r = *running;
    r.done = std::move(done);
    r.results = QList<Fetched>(jobs.size());
    r.transfers.resize(static_cast<size_t>(jobs.size()));
    r.maxBytes = limits.maxBytes;
    m_running.emplace(id, std::move(running));

    for (int i = 0; i < jobs.size(); ++i) {
        Transfer& t = r.transfers[static_cast<size_t>(i)];
        t.ended = true;
        const QUrl url(jobs[i].url.trimmed(), QUrl::StrictMode);
        if (!isWebAddress(url) || jobs[i].target.isEmpty()) {
            if (!jobs[i].url.trimmed().isEmpty())
                qCInfo(lcDownload).noquote() << "not fetched, no web address:" << jobs[i].url;
            continue;
        }
        t.target = jobs[i].target;
        t.url = url.toString();
        t.file = std::make_unique<QTemporaryFile>(QFileInfo(t.target).absolutePath() +
                                                  QStringLiteral("/.download-XXXXXX"));
        if (!t.file->open())
            continue;

        t.plainHop = url.scheme() != QLatin1String("https");

        QNetworkRequest request(url);
        request.setSslConfiguration(m_tls);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::UserVerifiedRedirectPolicy);
        request.setMaximumRedirectsAllowed(5);
        request.setTransferTimeout(limits.idleTimeoutMs);
        request.setHeader(QNetworkRequest::UserAgentHeader, userAgent());
        if (m_bypassCaches) {
            request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                                 QNetworkRequest::AlwaysNetwork);
            request.setRawHeader("Cache-Control", "no-cache");
            request.setRawHeader("Pragma", "no-cache");
        }
        QNetworkReply* reply = m_network->get(request);
        t.reply = reply;
        t.ended = false;
        ++r.open;

        const auto transfer = [this, id, i]() -> Transfer* {
            auto it = m_running.find(id);
            return it == m_running.end() ? nullptr : &it->second->transfers[static_cast<size_t>(i)];
        };
        // A redirect may lead to http or https only, never to a local file.
        connect(reply, &QNetworkReply::redirected, this, [this, id, i, transfer](const QUrl& to) {
            Transfer* tr = transfer();
            if (!tr || tr->ended)
                return;
            if (!isWebAddress(to)) {
                endReply(id, i, QStringLiteral("refused a redirect to ") + to.toString());
                return;
            }
            if (to.scheme() != QLatin1String("https"))
                tr->plainHop = true;
            Q_EMIT tr->reply->redirectAllowed();
        });
        // Never ignored: the transfer fails with the handshake.
        connect(reply, &QNetworkReply::sslErrors, this, [transfer](const QList<QSslError>& errors) {
            Transfer* tr = transfer();
            if (!tr)
                return;
            tr->tlsRefused = true;
            for (const QSslError& e : errors)
                qCInfo(lcDownload).noquote()
                    << "certificate refused:" << tr->url << "-" << e.errorString();
        });
        connect(reply, &QNetworkReply::readyRead, this, [this, id, i, transfer] {
            Transfer* tr = transfer();
            if (!tr || tr->ended)
                return;
            auto& r = *m_running.at(id);
            const QByteArray data = tr->reply->readAll();
            if (tr->written + data.size() > r.maxBytes || tr->file->write(data) != data.size()) {
                tr->failed = true;
                endReply(id, i, QString());
                return;
            }
            tr->written += data.size();
        });
        // A reply that reports an error has ended, whether or not its
        // finished() follows at once: it must not be ended a second time.
        connect(reply, &QNetworkReply::errorOccurred, this,
                [this, id, i] { finishTransfer(id, i); });
        connect(reply, &QNetworkReply::finished, this, [this, id, i] { finishTransfer(id, i); });
    }

    r.deadline = new QTimer(this);
    r.deadline->setSingleShot(true);
    connect(r.deadline, &QTimer::timeout, this, [this, id] { timeOut(id); });
    if (r.open == 0)
        // Nothing went out: the continuation still runs later, never now.
        QTimer::singleShot(0, this, [this, id] { complete(id); });
    else
        r.deadline->start(limits.totalTimeoutMs);
    return id;
}

void NetDownloader::finishTransfer(Batch batch, int index)
{
    auto it = m_running.find(batch);
    if (it == m_running.end())
        return;
    Running& r = *it->second;
    Transfer& t = r.transfers[static_cast<size_t>(index)];
    if (t.ended)
        return;
    t.ended = true;
    QNetworkReply* reply = t.reply;
    if (reply) {
        if (!t.failed && reply->bytesAvailable() > 0) {
            const QByteArray rest = reply->readAll();
            t.failed = t.written + rest.size() > r.maxBytes || t.file->write(rest) != rest.size();
        }
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const bool ok = !t.failed && reply->isFinished() &&
                        reply->error() == QNetworkReply::NoError && status >= 200 && status <= 299;
        Fetched& result = r.results[index];
        result.replaced = ok && replaceTarget(*t.file, t.target);
        // No ignoreSslErrors() anywhere: an https answer that arrived passed
        // verification; the certificate is asked for all the same.
        result.verified = result.replaced && !t.plainHop && !t.tlsRefused &&
                          reply->url().scheme() == QLatin1String("https") &&
                          !reply->sslConfiguration().peerCertificate().isNull();
        if (!result.replaced) {
            QString why = t.why;
            if (why.isEmpty() && reply->error() != QNetworkReply::NoError)
                why = reply->errorString();
            if (why.isEmpty() && (status < 200 || status > 299))
                why = QStringLiteral("answer %1").arg(status);
            if (why.isEmpty())
                why = QStringLiteral("cannot write %1").arg(t.target);
            qCInfo(lcDownload).noquote() << "download failed:" << t.url << "-" << why;
        }
        // Its own finished() may still be on its way; it goes with the reply.
        disconnect(reply, nullptr, this, nullptr);
        reply->deleteLater();
    }
    t.file.reset();
    if (--r.open == 0)
        complete(batch);
}

void NetDownloader::endReply(Batch batch, int index, const QString& why)
{
    auto it = m_running.find(batch);
    if (it == m_running.end())
        return;
    Transfer& t = it->second->transfers[static_cast<size_t>(index)];
    if (t.ended)
        return;
    if (!why.isEmpty())
        t.why = why;
    // abort() on a reply that has already reported its end reports it again
    // (Qt warns about it); such a reply is only finished here.
    QNetworkReply* reply = t.reply;
    if (reply && !reply->isFinished() && reply->error() == QNetworkReply::NoError)
        reply->abort(); // reports the end through errorOccurred at once
    finishTransfer(batch, index);
}

void NetDownloader::timeOut(Batch batch)
{
    auto it = m_running.find(batch);
    if (it == m_running.end())
        return;
    std::vector<int> open;
    for (size_t i = 0; i < it->second->transfers.size(); ++i)
        if (!it->second->transfers[i].ended)
            open.push_back(static_cast<int>(i));
    // The last one to end completes the batch.
    for (int i : open)
        endReply(batch, i, QStringLiteral("no complete answer in time"));
}

void NetDownloader::complete(Batch batch)
{
    auto it = m_running.find(batch);
    if (it == m_running.end())
        return;
    std::unique_ptr<Running> r = std::move(it->second);
    m_running.erase(it);
    if (r->done)
        r->done(r->results);
}

void NetDownloader::cancel(Batch batch)
{
    auto it = m_running.find(batch);
    if (it == m_running.end())
        return;
    std::unique_ptr<Running> r = std::move(it->second);
    m_running.erase(it);
    for (Transfer& t : r->transfers) {
        QNetworkReply* reply = t.reply;
        if (!reply || t.ended)
            continue;
        detachReply(reply, this);
    }
}

} // namespace zelk
