#include "platform/netdownloader.h"

#include "platform/log.h"

#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
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
};

struct NetDownloader::Running
{
    Done done;
    QList<bool> replaced;
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

bool isWebAddress(const QUrl& url)
{
    const QString scheme = url.scheme();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

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

} // namespace

NetDownloader::NetDownloader(QObject* parent)
    : QObject(parent), m_network(new QNetworkAccessManager(this))
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
    r.replaced = QList<bool>(jobs.size(), false);
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

        QNetworkRequest request(url);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::UserVerifiedRedirectPolicy);
        request.setMaximumRedirectsAllowed(5);
        request.setTransferTimeout(limits.idleTimeoutMs);
        request.setHeader(QNetworkRequest::UserAgentHeader, QByteArray("ZelkRadio/1.2.0"));
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

        // A redirect may lead to http or https only, never to a local file.
        connect(reply, &QNetworkReply::redirected, reply, [reply](const QUrl& to) {
            if (isWebAddress(to)) {
                Q_EMIT reply->redirectAllowed();
            } else {
                qCInfo(lcDownload).noquote() << "refused a redirect to" << to.toString();
                reply->abort();
            }
        });
        connect(reply, &QNetworkReply::readyRead, this, [this, id, i] {
            auto it = m_running.find(id);
            if (it == m_running.end())
                return;
            Transfer& tr = it->second->transfers[static_cast<size_t>(i)];
            const QByteArray data = tr.reply->readAll();
            if (tr.written + data.size() > it->second->maxBytes ||
                tr.file->write(data) != data.size()) {
                tr.failed = true;
                tr.reply->abort();
                return;
            }
            tr.written += data.size();
        });
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
        const bool ok =
            !t.failed && reply->error() == QNetworkReply::NoError && status >= 200 && status <= 299;
        r.replaced[index] = ok && replaceTarget(*t.file, t.target);
        if (!r.replaced[index]) {
            QString why = t.why;
            if (why.isEmpty() && reply->error() != QNetworkReply::NoError)
                why = reply->errorString();
            if (why.isEmpty() && (status < 200 || status > 299))
                why = QStringLiteral("answer %1").arg(status);
            if (why.isEmpty())
                why = QStringLiteral("cannot write %1").arg(t.target);
            qCInfo(lcDownload).noquote() << "download failed:" << t.url << "-" << why;
        }
        reply->deleteLater();
    }
    t.file.reset();
    if (--r.open == 0)
        complete(batch);
}

void NetDownloader::timeOut(Batch batch)
{
    auto it = m_running.find(batch);
    if (it == m_running.end())
        return;
    QList<QPointer<QNetworkReply>> replies;
    for (Transfer& t : it->second->transfers) {
        if (!t.ended && t.reply) {
            t.why = QStringLiteral("no complete answer in time");
            replies.append(t.reply);
        }
    }
    // abort() finishes each transfer at once, and the last one ends the batch.
    for (const QPointer<QNetworkReply>& reply : replies)
        if (reply && m_running.count(batch))
            reply->abort();
}

void NetDownloader::complete(Batch batch)
{
    auto it = m_running.find(batch);
    if (it == m_running.end())
        return;
    std::unique_ptr<Running> r = std::move(it->second);
    m_running.erase(it);
    if (r->done)
        r->done(r->replaced);
}

void NetDownloader::cancel(Batch batch)
{
    auto it = m_running.find(batch);
    if (it == m_running.end())
        return;
    std::unique_ptr<Running> r = std::move(it->second);
    m_running.erase(it);
    for (Transfer& t : r->transfers) {
        if (QNetworkReply* reply = t.reply) {
            disconnect(reply, nullptr, this, nullptr);
            reply->abort();
            reply->deleteLater();
        }
    }
}

} // namespace zelk
