#pragma once
// What the two network services share about addresses and replies.

#include <QNetworkReply>
#include <QObject>
#include <QUrl>

namespace zelk {

// An http or https address with a host: the only kind the program fetches
// and the only kind a redirect may lead to.
inline bool isWebAddress(const QUrl& url)
{
    const QString scheme = url.scheme();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

// Lets go of a reply nobody waits for any more. Not aborted: the end of a
// connection that has just failed may be on its way from Qt's network
// thread, and an abort now would end the reply a second time. Left alone, it
// ends by itself within its idle bound, and with its buffer full it reads no
// further meanwhile.
inline void detachReply(QNetworkReply* reply, const QObject* owner)
{
    constexpr qint64 kDetachedBufferBytes = 64 * 1024;
    QObject::disconnect(reply, nullptr, owner, nullptr);
    if (reply->isFinished()) {
        reply->deleteLater();
        return;
    }
    reply->setReadBufferSize(kDetachedBufferBytes);
    QObject::connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
}

} // namespace zelk
