#pragma once
// The client of the open community station directory: which server to ask,
// the search by name, the play count of a chosen station and the fetch of
// its logo. All asynchronous: every call returns at once, and the answers
// arrive as signals on the same thread.

#include "platform/httpget.h"
#include "stations/station.h"

#include <QObject>

#include <functional>

namespace zelk {

class ServerLookup;

class StationDirectory : public QObject
{
    Q_OBJECT
public:
    enum class State {
        Idle,         // nothing asked yet, or the search was cancelled
        Searching,    // a search runs
        Results,      // results() holds the stations found
        NothingFound, // the directory answered, with no station
        Unreachable,  // no server could be found, or none answered usably
    };
    Q_ENUM(State)

    // The DNS SRV record that lists the directory's servers.
    static inline const QString kServerRecord = QStringLiteral("_api._tcp.radio-browser.info");

    // `random` gives the order in which the servers found are tried; by
    // default the system's random source.
    StationDirectory(HttpGetter& http, ServerLookup& servers, std::function<quint32()> random = {});
    ~StationDirectory() override;

    // Asks only this server (http or https base address, no path) from now
    // on, without any lookup; an empty text goes back to the lookup.
    void setServer(const QString& baseAddress);
    // The server in use: the one set, or the one kept from the lookup;
    // empty before the first lookup has found any.
    QString server() const;

    // Starts a search for stations whose name contains `name` (blanks
    // around it do not count; an empty name is not searched). A search that
    // runs is dropped for it. The state becomes Searching at once.
    void search(const QString& name);
    // Drops a running search; the state goes back to Idle.
    void cancel();

    State state() const { return m_state; }
    // The bounds of one search request; each server tried gets them anew.
    void setSearchLimits(const HttpLimits& limits) { m_searchLimits = limits; }

    // The stations of the last search that found any.
    const QList<Station>& results() const { return m_results; }
    // The name of the search that set the state.
    const QString& searched() const { return m_searched; }

    // A station was chosen: tells the directory (it counts plays), and
    // fetches the station's logo. Neither answer changes anything but the
    // logoFetched signal; a failure goes to the log only.
    void countPlay(const Station& station);
    void fetchLogo(const Station& station);

Q_SIGNALS:
    void stateChanged(zelk::StationDirectory::State state);
    // A logo that passed the checks (kind, size), for the station with this
    // stream address.
    void logoFetched(const QString& streamAddress, const QByteArray& image);

private:
    void resolved(quint64 generation, const QStringList& hosts);
    void ask(quint64 generation, int attemptsLeft);
    void setState(State state);

    HttpGetter& m_http;
    ServerLookup& m_lookup;
    std::function<quint32()> m_random;
    QString m_fixed;
    HttpLimits m_searchLimits{4000, 8000, 4 * 1024 * 1024};
    QStringList m_servers; // base addresses, in the order they are tried
    int m_current = 0;
    State m_state = State::Idle;
    QList<Station> m_results;
    QString m_searched;
    quint64 m_generation = 0; // of the running search; answers of others are dropped
    quint64 m_request = 0;    // the running search request, 0 when none
};

} // namespace zelk
