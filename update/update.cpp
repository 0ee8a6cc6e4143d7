#include "update/update.h"

#include "app/headunit.h"
#include "platform/download.h"
#include "platform/errors.h"
#include "platform/rtflines.h"
#include "settings/setup.h"

#include <QFile>

#include <cstdio>

namespace zelk {

namespace {
const QString kVersionPath = QStringLiteral("/ZelkCANBUS/Quen/version.txt");
const QString kInstallerPath = QStringLiteral("/ZelkCANBUS/Quen/Update.exe");

const UiText kNotDownloaded{
    "Die Aktualisierung konnte nicht heruntergeladen werden. Bitte versuchen Sie es später "
    "erneut.",
    "The update could not be downloaded. Please try again later."};
// %1: where the release can be had instead.
const UiText kNotSafe{
    "Die Aktualisierung kann von diesem Server nicht sicher installiert werden: Er liefert sie "
    "nicht über eine geprüfte HTTPS-Verbindung. Sie erhalten sie unter %1.",
    "The update cannot be installed safely from this server: it does not deliver it over a "
    "verified HTTPS connection. You can get it from %1."};
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

QString Update::unverifiedInstallerPath() const
{
    return m_unit.filePath(QStringLiteral("Update.exe.download"));
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
        [this, target, then = std::move(then)](const QList<Fetched>&) {
            m_batch = 0;
            m_unit.seq.release([this, target, then] {
                // A copy left from an earlier run decides when this one failed.
                std::optional<QStringList> lines;
                try {
                    lines = readLineFile(target);
                } catch (const OperationError& e) {
                    // Reported, and then the boot goes on as without a copy:
                    // it must never stay on the boot image.
                    m_unit.services.dialogs->error(e.message());
                    if (!m_unit.boot.isEnabled())
                        return; // the program was closed while the box was open
                }
                if (lines) {
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
            // Fetched beside the installer, which it replaces only once its
            // origin is known: an unverified program never bears its name.
            m_batch = m_unit.services.downloader->fetch(
                {{server + kInstallerPath, unverifiedInstallerPath()}}, DownloadLimits::installer(),
                [this](const QList<Fetched>& results) {
                    m_batch = 0;
                    const Fetched fetched = results.value(0);
                    m_unit.seq.release([this, fetched] { installerFetched(fetched); });
                });
        },
        Sequencer::Input::Dropped);
}

void Update::installerFetched(const Fetched& fetched)
{
    // Never start an installer that this run did not fetch (an old one would
    // install the wrong release, or nothing at all), nor one that anybody
    // between here and the server could have put in its place.
    QString refusal;
    if (!fetched.replaced) {
        refusal = m_unit.settings.text(kNotDownloaded);
    } else if (!fetched.verified) {
        QFile::remove(unverifiedInstallerPath());
        refusal = m_unit.settings.text(kNotSafe).arg(kProjectPage);
    } else if (std::rename(QFile::encodeName(unverifiedInstallerPath()).constData(),
                           QFile::encodeName(installerPath()).constData()) != 0) {
        QFile::remove(unverifiedInstallerPath());
        refusal = m_unit.settings.text(kNotDownloaded);
    }
    if (!refusal.isEmpty()) {
        m_unit.services.dialogs->information(refusal);
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
