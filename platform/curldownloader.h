#pragma once

#include "platform/download.h"

namespace zelk {

struct DownloadLimits
{
    int connectTimeoutMs = 1500;
    // A server that accepts and then stays silent is caught only by this.
    // The station texts are fetched every 5 s on the UI thread, so this
    // bounds how long a refresh can hold the screen.
    int totalTimeoutMs = 3000;
    // The program fetches small text files; a larger answer is refused.
    qint64 maxBytes = 1024 * 1024;
};

// Downloads with libcurl, http and https only.
class CurlDownloader : public Downloader
{
public:
    explicit CurlDownloader(DownloadLimits limits = {});
    bool download(const QString& url, const QString& target) override;
    void downloadAll(const QList<std::pair<QString, QString>>& urlAndTarget) override;
    void clearUrlCache() override;

    const DownloadLimits& limits() const { return m_limits; }

private:
    DownloadLimits m_limits;
    bool m_bypassCaches = false;
};

} // namespace zelk
