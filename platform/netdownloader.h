#pragma once
// The Downloader on Qt's network access manager: asynchronous by nature,
// its transfers finish on the thread that started them.

#include "platform/download.h"

#include <QObject>
#include <QSslConfiguration>

#include <map>
#include <memory>

class QNetworkAccessManager;

namespace zelk {

class NetDownloader final : public QObject, public Downloader
{
public:
    explicit NetDownloader(QObject* parent = nullptr);
    // Also trusts `extraRoots` besides the system's store: for tests, whose
    // loopback servers carry certificates of a CA made for the test.
    explicit NetDownloader(const QList<QSslCertificate>& extraRoots, QObject* parent = nullptr);
    ~NetDownloader() override;

    Batch fetch(const QList<DownloadJob>& jobs, const DownloadLimits& limits, Done done) override;
    void cancel(Batch batch) override;
    void clearUrlCache() override { m_bypassCaches = true; }

private:
    struct Transfer;
    struct Running;
    void finishTransfer(Batch batch, int index);
    void endReply(Batch batch, int index, const QString& why);
    void timeOut(Batch batch);
    void complete(Batch batch);

    QNetworkAccessManager* m_network;
    // Every request carries this; its peer verification is always on.
    QSslConfiguration m_tls;
    std::map<Batch, std::unique_ptr<Running>> m_running;
    Batch m_lastBatch = 0;
    bool m_bypassCaches = false;
};

} // namespace zelk
