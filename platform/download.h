#pragma once
// Synchronous downloads of an address into a file, with bounded time.

#include <QList>
#include <QString>
#include <utility>

namespace zelk {

class Downloader
{
public:
    virtual ~Downloader() = default;
    // Fetches `url` into `target`. The body goes to a temporary file beside
    // the target, which replaces it only on a 2xx answer: a failed download
    // leaves the target exactly as it was. Returns whether it was replaced.
    virtual bool download(const QString& url, const QString& target) = 0;
    // Several downloads at once; returns when all have finished or timed out.
    virtual void downloadAll(const QList<std::pair<QString, QString>>& urlAndTarget) = 0;
    // Makes sure the next downloads are not served from any cache.
    virtual void clearUrlCache() = 0;
};

} // namespace zelk
