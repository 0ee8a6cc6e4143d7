#include "stations/stations.h"

#include "audio/radio.h"
#include "settings/config.h"
#include "settings/settings.h"
#include "stations/logo.h"

#include <QFileInfo>

namespace zelk {

Stations::Stations(Settings& settings, Radio& radio, StationDirectory& directory, QString dataDir)
    : m_settings(settings), m_radio(radio), m_directory(directory), m_dataDir(std::move(dataDir))
{
    connect(&m_directory, &StationDirectory::logoFetched, this,
            [this](const QString& address, const QByteArray& image) {
                // Stored only while a preset still plays that address.
                for (int n = 1; n <= 6; ++n) {
                    if (m_settings.config.line(cfg::StationUrl1 - 1 + n) == address) {
                        Q_EMIT logoToStore(logoPath(n), image);
                        return;
                    }
                }
            });
}

void Stations::storeInPreset(int n, const Station& station)
{
    if (n < 1 || n > 6 || !isOfferableAddress(station.url))
        return;
    const QString name = plainLine(station.name, stationlimits::NameLength);
    const QString url = station.url.trimmed();
    LineList& config = m_settings.config;
    config.setLine(cfg::StationName1 - 1 + n, name);
    config.setLine(cfg::StationUrl1 - 1 + n, url);
    config.setLine(cfg::RdsUrl1 - 1 + n, QString());
    m_settings.saveConfig();
    LiveSettings& live = m_settings.live;
    live.rname[n - 1].set(name);
    live.rurl[n - 1].set(url);
    live.rdsurl[n - 1].set(QString());
}

void Stations::choose(int n, const Station& station, bool tune)
{
    if (n < 1 || n > 6 || !isOfferableAddress(station.url))
        return;
    storeInPreset(n, station);
    m_directory.countPlay(station);
    m_directory.fetchLogo(station);
    if (tune && m_radio.radiomode.on())
        m_radio.ButtonN(n);
}

QString Stations::logoPath(int n) const
{
    const QString address = m_settings.config.line(cfg::StationUrl1 - 1 + n);
    if (n < 1 || n > 6 || address.trimmed().isEmpty())
        return {};
    return m_dataDir + logoFileName(address);
}

QString Stations::existingLogo(int n) const
{
    const QString path = logoPath(n);
    return !path.isEmpty() && QFileInfo(path).isFile() ? path : QString();
}

void Stations::logoStored()
{
    QStringList used;
    for (int n = 1; n <= 6; ++n)
        used << m_settings.config.line(cfg::StationUrl1 - 1 + n);
    deleteUnusedLogos(m_dataDir, used);
    Q_EMIT logosChanged();
}

} // namespace zelk
