#include "stations/directory.h"

#include "platform/httpget.h"
#include "platform/log.h"
#include "platform/serverlookup.h"
#include "stations/logo.h"

#include <QPointer>
#include <QRandomGenerator>
#include <QUrl>
#include <QUrlQuery>

namespace zelk {

namespace {

HttpLimits smallLimits()
{
    return {4000, 8000, 64 * 1024};
}

HttpLimits logoLimits()
{
    return {4000, 8000, kMaxLogoBytes};
}

QString baseOf(const QString& address)
{
    QString base = address.trimmed();
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

} // namespace

StationDirectory::StationDirectory(HttpGetter& http, ServerLookup& servers,
                                   std::function<quint32()> random)
    : m_http(http), m_lookup(servers), m_random(std::move(random))
{
    if (!m_random)
        m_random = [] { return QRandomGenerator::system()->generate(); };
}

StationDirectory::~StationDirectory()
{
    if (m_request)
        m_http.cancel(m_request);
}

void StationDirectory::setServer(const QString& baseAddress)
{
    m_fixed = baseOf(baseAddress);
    m_servers = m_fixed.isEmpty() ? QStringList() : QStringList{m_fixed};
    m_current = 0;
}

QString StationDirectory::server() const
{
    return m_servers.isEmpty() ? QString() : m_servers.at(m_current % m_servers.size());
}

void StationDirectory::setState(State state)
{
    m_state = state;
    Q_EMIT stateChanged(state);
}

void StationDirectory::cancel()
{
    ++m_generation;
    if (m_request)
        m_http.cancel(m_request);
    m_request = 0;
    if (m_state == State::Searching)
        setState(State::Idle);
}

void StationDirectory::search(const QString& name)
{
    const QString wanted = plainLine(name, stationlimits::NameLength);
    if (wanted.isEmpty())
        return;
    ++m_generation;
    if (m_request)
        m_http.cancel(m_request);
    m_request = 0;
    m_searched = wanted;
    setState(State::Searching);
    const quint64 generation = m_generation;
    if (!m_servers.isEmpty()) {
        ask(generation, static_cast<int>(m_servers.size()));
        return;
    }
    // A failed lookup is not kept: the next search looks again.
    QPointer<StationDirectory> self(this);
    m_lookup.lookup([self, generation](const QStringList& hosts) {
        if (self)
            self->resolved(generation, hosts);
    });
}

void StationDirectory::resolved(quint64 generation, const QStringList& hosts)
{
    if (generation != m_generation || !m_servers.isEmpty())
        return;
    QStringList servers;
    for (QString host : hosts) {
        while (host.endsWith(QLatin1Char('.')))
            host.chop(1);
        // A name that makes no host of an address is of no use.
        const QUrl url(QStringLiteral("https://") + host, QUrl::StrictMode);
        const QString base = QStringLiteral("https://") + url.host();
        if (url.isValid() && !url.host().isEmpty() && url.host() == host.toLower() &&
            !servers.contains(base))
            servers << base;
    }
    if (servers.isEmpty()) {
        setState(State::Unreachable);
        return;
    }
    // The directory asks its clients to spread the load over its servers.
    for (qsizetype i = servers.size() - 1; i > 0; --i)
        servers.swapItemsAt(i, static_cast<qsizetype>(m_random() % quint32(i + 1)));
    m_servers = servers;
    m_current = 0;
    ask(generation, static_cast<int>(m_servers.size()));
}

void StationDirectory::ask(quint64 generation, int attemptsLeft)
{
    QUrl url(server() + QStringLiteral("/json/stations/search"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("name"),
                       QString::fromLatin1(QUrl::toPercentEncoding(m_searched)));
    query.addQueryItem(QStringLiteral("limit"), QString::number(stationlimits::Results));
    query.addQueryItem(QStringLiteral("hidebroken"), QStringLiteral("true"));
    query.addQueryItem(QStringLiteral("order"), QStringLiteral("clickcount"));
    query.addQueryItem(QStringLiteral("reverse"), QStringLiteral("true"));
    url.setQuery(query);
    m_request =
        m_http.get(url.toString(QUrl::FullyEncoded), m_searchLimits,
                   [this, generation, attemptsLeft](const HttpAnswer& answer) {
                       if (generation != m_generation)
                           return;
                       m_request = 0;
                       std::optional<QList<Station>> stations;
                       if (answer.ok)
                           stations = parseStations(answer.body);
                       if (stations) {
                           m_results = *stations;
                           setState(m_results.isEmpty() ? State::NothingFound : State::Results);
                           return;
                       }
                       if (answer.ok)
                           qCInfo(lcDownload).noquote() << "the station directory" << server()
                                                        << "answered no list of stations";
                       // The next server is kept for the rest of the run.
                       if (!m_servers.isEmpty())
                           m_current = (m_current + 1) % static_cast<int>(m_servers.size());
                       if (attemptsLeft > 1)
                           ask(generation, attemptsLeft - 1);
                       else
                           setState(State::Unreachable);
                   });
}

void StationDirectory::countPlay(const Station& station)
{
    if (station.uuid.isEmpty() || m_servers.isEmpty())
        return;
    m_http.get(server() + QStringLiteral("/json/url/") + station.uuid, smallLimits(),
               [](const HttpAnswer&) {});
}

void StationDirectory::fetchLogo(const Station& station)
{
    if (station.favicon.isEmpty())
        return;
    QPointer<StationDirectory> self(this);
    const QString address = station.url;
    m_http.get(station.favicon, logoLimits(), [self, address](const HttpAnswer& answer) {
        if (!self || !answer.ok)
            return;
        if (logoKind(answer.body) == LogoKind::None) {
            qCInfo(lcDownload).noquote() << "a station logo is no picture:" << address;
            return;
        }
        Q_EMIT self->logoFetched(address, answer.body);
    });
}

} // namespace zelk
