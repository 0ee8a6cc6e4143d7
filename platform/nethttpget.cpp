#include "platform/nethttpget.h"

#include "platform/log.h"
#include "platform/netreply.h"
#include "platform/version.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>

namespace zelk {

struct NetHttpGetter::Running
{
    QObject* owner = nullptr;
    QPointer<QNetworkReply> reply;
    QString url;
    Done done;
    QByteArray body;
    qint64 maxBytes = 0;
    bool tooLarge = false;
    // Freed with deleteLater(): the request may end inside its own timeout.
    QTimer* deadline = nullptr;

    ~Running()
    {
        if (deadline) {
            deadline->stop();
            deadline->deleteLater();
        }
        if (reply)
            detachReply(reply, owner);
    }
};

NetHttpGetter::NetHttpGetter(QObject* parent)
    : QObject(parent), m_network(new QNetworkAccessManager(this))
{
}

NetHttpGetter::~NetHttpGetter()
{
    // Running's destructor lets each reply go without its done.
    m_running.clear();
}

HttpGetter::Request NetHttpGetter::get(const QString& address, const HttpLimits& limits, Done done)
{
    const Request id = ++m_last;
    auto running = std::make_unique<Running>();
    Running& r = *running;
    r.owner = this;
    r.done = std::move(done);
    r.maxBytes = limits.maxBytes;
    r.url = address;
    m_running.emplace(id, std::move(running));

    const QUrl url(address, QUrl::StrictMode);
    if (!isWebAddress(url)) {
        // The answer still comes later, never now.
        QTimer::singleShot(0, this, [this, id] { finish(id, QStringLiteral("no web address")); });
        return id;
    }

    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(5);
    request.setTransferTimeout(limits.idleTimeoutMs);
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent());
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    QNetworkReply* reply = m_network->get(request);
    r.reply = reply;

    connect(reply, &QNetworkReply::redirected, reply, [reply](const QUrl& to) {
        if (isWebAddress(to)) {
            Q_EMIT reply->redirectAllowed();
        } else {
            qCInfo(lcDownload).noquote() << "refused a redirect to" << to.toString();
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::readyRead, this, [this, id] {
        auto it = m_running.find(id);
        if (it == m_running.end() || !it->second->reply)
            return;
        Running& run = *it->second;
        const QByteArray data = run.reply->readAll();
        if (run.body.size() + data.size() > run.maxBytes) {
            run.tooLarge = true;
            run.body.clear();
            finish(id, QStringLiteral("answer larger than %1 bytes").arg(run.maxBytes));
            return;
        }
        run.body += data;
    });
    connect(reply, &QNetworkReply::finished, this, [this, id] { finish(id); });

    r.deadline = new QTimer(this);
    r.deadline->setSingleShot(true);
    connect(r.deadline, &QTimer::timeout, this,
            [this, id] { finish(id, QStringLiteral("no complete answer in time")); });
    r.deadline->start(limits.totalTimeoutMs);
    return id;
}

void NetHttpGetter::finish(Request request, QString why)
{
    auto it = m_running.find(request);
    if (it == m_running.end())
        return;
    std::unique_ptr<Running> r = std::move(it->second);
    m_running.erase(it);

    HttpAnswer answer;
    if (QNetworkReply* reply = r->reply) {
        answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (why.isEmpty()) {
            if (reply->isRunning())
                why = QStringLiteral("not finished");
            else if (reply->bytesAvailable() > 0)
                r->body += reply->readAll();
        }
        if (why.isEmpty() && r->body.size() > r->maxBytes)
            why = QStringLiteral("answer larger than %1 bytes").arg(r->maxBytes);
        if (why.isEmpty() && reply->error() != QNetworkReply::NoError)
            why = reply->errorString();
        if (why.isEmpty() && (answer.status < 200 || answer.status > 299))
            why = QStringLiteral("answer %1").arg(answer.status);
    }
    answer.ok = why.isEmpty();
    if (answer.ok)
        answer.body = std::move(r->body);
    else
        qCInfo(lcDownload).noquote() << "request failed:" << r->url << "-" << why;
    answer.error = why;
    Done done = std::move(r->done);
    // The reply is let go of before the continuation runs, which may
    // start the next request at once.
    r.reset();
    if (done)
        done(answer);
}

void NetHttpGetter::cancel(Request request)
{
    m_running.erase(request);
}

} // namespace zelk
