#include "update/update.h"

#include "app/headunit.h"
#include "platform/download.h"
#include "platform/rtflines.h"

namespace zelk {

namespace {
const QString kVersionPath = QStringLiteral("/ZelkCANBUS/Quen/version.txt");
const QString kInstallerPath = QStringLiteral("/ZelkCANBUS/Quen/Update.exe");
} // namespace

Update::Update(HeadUnit& unit) : m_unit(unit) {}

Update::~Update()
{
    if (m_batch)
        m_unit.services.downloader->cancel(m_batch);
}

QString Update::installerPath() const
{
    return m_unit.filePath(QStringLiteral("Update.exe"));
}

void Update::clearUrlCache()
{
    m_unit.services.downloader->clearUrlCache();
}

void Update::fetchVersion(std::function<void()> then)
{
    clearUrlCache();
    m_unit.seq.hold();
    const QString target = m_unit.filePath(QStringLiteral("version.txt"));
    m_batch = m_unit.services.downloader->fetch(
        {{server + kVersionPath, target}}, DownloadLimits::textFile(),
        [this, target, then = std::move(then)](const QList<bool>&) {
            m_batch = 0;
            m_unit.seq.release([this, target, then] {
                // A copy left from an earlier run decides when this one failed.
                if (auto lines = readLineFile(target)) {
                    ver_dl = *lines;
                    m_versionKnown = true;
                }
                then();
            });
        });
}

bool Update::offersUpdate() const
{
    // Without any version file no release is known, so there is nothing to
    // offer. An empty first line or a single blank counts as no update; any
    // other difference, trailing blanks included, offers it.
    const QString latest = ver_dl.value(0);
    return m_versionKnown && !latest.isEmpty() && latest != QLatin1String(" ") &&
           latest != kProgramVersion;
}

void Update::showUpdatePanel()
{
    update.set(true);
    updateTop.set(100);
    m_unit.boot.setEnabled(false);
}

void Update::lab_cancel_click()
{
    update.set(false);
    m_unit.radio.startRadio();
}

void Update::lab_update_click()
{
    installing.set(true);
    lab_warning.set(QStringLiteral("Bitte warten..."));
    const LineList& mui = m_unit.settings.MUI;
    m_unit.services.dialogs->information(mui.line(24) + QLatin1Char(' ') + ver_dl.value(0) +
                                         QLatin1Char(' ') + mui.line(25));
    // From here the program ends: input is not taken any more, and the panel
    // goes on painting while it waits.
    m_unit.seq.wait(
        1000,
        [this] {
            clearUrlCache();
            m_unit.seq.hold(Sequencer::Input::Dropped);
            m_batch = m_unit.services.downloader->fetch(
                {{server + kInstallerPath, installerPath()}}, DownloadLimits::installer(),
                [this](const QList<bool>& fetched) {
                    m_batch = 0;
                    const bool ok = fetched.value(0);
                    m_unit.seq.release([this, ok] { installerFetched(ok); });
                });
        },
        Sequencer::Input::Dropped);
}

void Update::installerFetched(bool fetched)
{
    if (!fetched) {
        // Never start an installer that this run did not fetch: an old one
        // would install the wrong release, or nothing at all.
        m_unit.services.dialogs->information(
            QStringLiteral("The update could not be downloaded. Please try again later."));
        update.set(false);
        m_unit.radio.startRadio();
        return;
    }
    m_unit.seq.wait(
        5000,
        [this] {
            m_unit.services.shell->open(installerPath());
            m_unit.services.quit();
        },
        Sequencer::Input::Dropped);
}

} // namespace zelk
