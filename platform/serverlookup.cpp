#include "platform/serverlookup.h"

#include "platform/log.h"

#include <QDnsLookup>
#include <QTimer>

namespace zelk {

SrvServerLookup::SrvServerLookup(QString record, int timeoutMs, QObject* parent)
    : QObject(parent), m_record(std::move(record)), m_timeoutMs(timeoutMs)
{
}

SrvServerLookup::~SrvServerLookup()
{
    m_done = nullptr;
    if (m_running) {
        m_running->disconnect(this);
        m_running->abort();
        m_running->deleteLater();
    }
}

void SrvServerLookup::lookup(Done done)
{
    if (m_running) {
        m_running->disconnect(this);
        m_running->abort();
        m_running->deleteLater();
        m_running = nullptr;
    }
    m_done = std::move(done);
    auto* dns = new QDnsLookup(QDnsLookup::SRV, m_record, this);
    if (!m_nameserver.isNull())
        dns->setNameserver(m_nameserver);
    m_running = dns;
    connect(dns, &QDnsLookup::finished, this, [this, dns] {
        if (dns != m_running)
            return;
        QStringList hosts;
        if (dns->error() == QDnsLookup::NoError) {
            for (const QDnsServiceRecord& record : dns->serviceRecords()) {
                QString host = record.target();
                while (host.endsWith(QLatin1Char('.')))
                    host.chop(1);
                if (!host.isEmpty() && !hosts.contains(host))
                    hosts << host;
            }
        } else {
            qCInfo(lcDownload).noquote()
                << "server lookup of" << m_record << "failed:" << dns->errorString();
        }
        end(hosts);
    });
    // The resolver's own retries can take far longer than a finder may wait.
    QTimer::singleShot(m_timeoutMs, dns, [this, dns] {
        if (dns != m_running)
            return;
        qCInfo(lcDownload).noquote() << "server lookup of" << m_record << "took too long";
        end({});
    });
    dns->lookup();
}

void SrvServerLookup::end(const QStringList& hosts)
{
    if (m_running) {
        m_running->disconnect(this);
        m_running->abort();
        m_running->deleteLater();
        m_running = nullptr;
    }
    Done done = std::move(m_done);
    m_done = nullptr;
    if (done)
        done(hosts);
}

} // namespace zelk
