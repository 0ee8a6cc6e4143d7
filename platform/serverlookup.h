#pragma once
// Finds the hosts that offer a service, asynchronously.

#include <QHostAddress>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class QDnsLookup;

namespace zelk {

class ServerLookup
{
public:
    // The host names found, in the order the answer gave them; empty when
    // the lookup failed or found none.
    using Done = std::function<void(const QStringList& hosts)>;

    virtual ~ServerLookup() = default;
    // `done` runs once on the calling thread, later, never inside lookup().
    // A lookup started while another runs replaces it: only the newer one's
    // `done` runs.
    virtual void lookup(Done done) = 0;
};

// The targets of a DNS SRV record, bounded in time.
class SrvServerLookup final : public QObject, public ServerLookup
{
public:
    explicit SrvServerLookup(QString record, int timeoutMs = 5000, QObject* parent = nullptr);
    ~SrvServerLookup() override;

    // Asks this name server instead of the system's.
    void setNameserver(const QHostAddress& address) { m_nameserver = address; }
    void lookup(Done done) override;

private:
    void end(const QStringList& hosts);

    QString m_record;
    int m_timeoutMs;
    QHostAddress m_nameserver;
    QDnsLookup* m_running = nullptr;
    Done m_done;
};

} // namespace zelk
