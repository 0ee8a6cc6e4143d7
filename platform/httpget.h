#pragma once
// Small answers fetched into memory (directory answers, station logos),
// without ever blocking the calling thread: the answer arrives later on the
// same thread, from its event loop.

#include <QByteArray>
#include <QString>

#include <functional>

namespace zelk {

struct HttpLimits
{
    // A transfer that receives no byte for this long is given up; this also
    // bounds a server that accepts the connection and never answers.
    int idleTimeoutMs = 4000;
    // The transfer ends after this, finished or not.
    int totalTimeoutMs = 8000;
    // A longer body is refused as a whole, never cut.
    qint64 maxBytes = 4 * 1024 * 1024;
};

struct HttpAnswer
{
    // A complete 2xx answer within the limits.
    bool ok = false;
    // The HTTP status; 0 when none arrived.
    int status = 0;
    // The body of a complete answer; empty otherwise.
    QByteArray body;
    // Why it failed, for the log.
    QString error;
};

class HttpGetter
{
public:
    using Request = quint64;
    using Done = std::function<void(const HttpAnswer&)>;

    virtual ~HttpGetter() = default;

    // Only http and https addresses are fetched, and redirects are followed
    // only to such addresses. `done` runs exactly once on the calling thread,
    // never inside get() itself, unless the request is cancelled first.
    virtual Request get(const QString& url, const HttpLimits& limits, Done done) = 0;
    // Aborts a request that has not ended; its `done` never runs.
    virtual void cancel(Request request) = 0;
};

} // namespace zelk
