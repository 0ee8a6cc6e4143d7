#pragma once
// Downloads of addresses into files, without ever blocking the calling
// thread: a batch is started, and its continuation runs later on the same
// thread, from its event loop.

#include <QList>
#include <QString>

#include <functional>

namespace zelk {

struct DownloadLimits
{
    // A transfer that receives no byte for this long is given up; this also
    // bounds a server that accepts the connection and never answers.
    int idleTimeoutMs = 1500;
    // The whole batch ends after this, finished or not.
    int totalTimeoutMs = 3000;
    // The program fetches small text files; a larger answer is refused.
    qint64 maxBytes = 1024 * 1024;

    // Version file and station texts.
    static DownloadLimits textFile() { return {}; }
    // The installer: larger, and allowed to take its time.
    static DownloadLimits installer() { return {15000, 120000, qint64(512) * 1024 * 1024}; }
};

struct DownloadJob
{
    QString url;
    QString target;
};

// What became of one job.
struct Fetched
{
    // The target now holds the body of this transfer.
    bool replaced = false;
    // Every hop of the transfer (the request and each redirect) went over
    // https, and each server's certificate was verified against the trusted
    // roots. Only then can a body be trusted to come from the server asked.
    bool verified = false;

    bool operator==(const Fetched&) const = default;
};

class Downloader
{
public:
    using Batch = quint64;
    // One result per job, in the order of the jobs.
    using Done = std::function<void(const QList<Fetched>& results)>;

    virtual ~Downloader() = default;

    // Starts every job at once. Only http and https addresses are fetched;
    // https is always verified, and a server that fails verification fails
    // its job.
    // Each body goes to a temporary file beside its target, which replaces
    // the target only on a complete 2xx answer within the limits; a failed
    // job leaves its target exactly as it was. `done` runs on the calling
    // thread once every job has ended, and never inside fetch() itself.
    virtual Batch fetch(const QList<DownloadJob>& jobs, const DownloadLimits& limits,
                        Done done) = 0;
    // Aborts a batch that has not ended; its `done` never runs.
    virtual void cancel(Batch batch) = 0;
    // From now on every request asks for a fresh copy, past any cache.
    virtual void clearUrlCache() = 0;
};

} // namespace zelk
