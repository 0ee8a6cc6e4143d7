#include "audio/stationtext.h"

#include "app/headunit.h"
#include "platform/rtflines.h"
#include "settings/config.h"

namespace zelk {

StationText::StationText(HeadUnit& unit)
    : RDS_dl(6, QStringLiteral("Laden...")), rds_data(6, QStringLiteral("Laden...")), m_unit(unit)
{
    unit.seq.bindTimer(RDStimer, [this] { reloadRDS(); });
}

StationText::~StationText()
{
    if (m_batch)
        m_unit.services.downloader->cancel(m_batch);
}

static QString textFile(const HeadUnit& unit, int n)
{
    return unit.filePath(QStringLiteral("RDS%1.ini").arg(n));
}

void StationText::reloadRDS()
{
    if (!m_unit.radio.radiomode.on())
        return;
    m_unit.settings.loadConfig();
    m_unit.update.clearUrlCache();
    QList<DownloadJob> jobs;
    for (int n = 1; n <= 6; ++n)
        jobs.append({m_unit.settings.config.line(cfg::RdsUrl1 - 1 + n), textFile(m_unit, n)});
    Downloader& downloader = *m_unit.services.downloader;
    if (m_batch)
        downloader.cancel(m_batch);
    // All six at once, off the UI thread's back: the screen answers while
    // the broadcasters' servers take their time.
    m_batch = downloader.fetch(jobs, DownloadLimits::textFile(), [this](const QList<Fetched>&) {
        m_batch = 0;
        m_unit.seq.post([this] { showTexts(); });
    });
}

void StationText::showTexts()
{
    // Music mode began while the files were on their way: it has put the
    // playlist in the text's place, as it would have after a finished refresh.
    if (!m_unit.radio.radiomode.on())
        return;
    for (int n = 1; n <= 6; ++n) {
        if (auto lines = readLineFile(textFile(m_unit, n))) {
            RDS_dl = *lines;
            rds_data[n - 1] = RDS_dl.value(0).left(LineList::kMaxReadLength);
        } else {
            rds_data[n - 1].clear();
        }
    }
    const QString active = m_unit.settings.config.line(cfg::ActiveStation);
    for (int n = 1; n <= 6; ++n)
        if (active == QString::number(n))
            rdsText.set(rds_data[n - 1]);
    const QString fromStream = streamTitleInstead();
    if (!fromStream.isEmpty())
        rdsText.set(fromStream);
}

void StationText::attachPlayer()
{
    m_unit.player->setStreamTitleHandler(
        [this] { m_unit.seq.post([this] { streamTitleChanged(); }); });
}

QString StationText::streamTitleInstead() const
{
    if (!m_unit.player)
        return {};
    const LineList& config = m_unit.settings.config;
    const QString active = config.line(cfg::ActiveStation);
    for (int n = 1; n <= 6; ++n)
        if (active == QString::number(n) && config.line(cfg::RdsUrl1 - 1 + n).isEmpty())
            return m_unit.player->streamTitle();
    return {};
}

void StationText::streamTitleChanged()
{
    if (!m_unit.radio.radiomode.on())
        return;
    const QString title = streamTitleInstead();
    if (!title.isEmpty())
        rdsText.set(title);
}

} // namespace zelk
