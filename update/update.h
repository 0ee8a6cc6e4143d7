#pragma once
// The version check of the boot step, the update panel, and the installer.

#include "app/values.h"
#include "platform/version.h"

#include <QStringList>

#include <functional>

namespace zelk {

class HeadUnit;
struct Fetched;

class Update : public QObject
{
    Q_OBJECT
public:
    explicit Update(HeadUnit& unit);
    ~Update() override;

    // Base address of the update server (scheme and host), fixed at build time.
    QString server = QStringLiteral(ZELK_UPDATE_SERVER);
    QStringList ver_dl{QStringLiteral("version")};

    // The update panel: shown, its top in the 1280x720 design (parked at
    // 3000), and the waiting look of the install.
    FlagValue update;
    IntValue updateTop{3000};
    FlagValue installing;
    TextValue lab_warning{QStringLiteral("Es steht eine Softwareaktualisierung zur Verfügung. "
                                         "Möchten Sie diese jetzt installieren?")};
    TextValue lab_cancel{QStringLiteral("Abbrechen")};
    TextValue lab_update{QStringLiteral("Installieren")};

    void clearUrlCache();
    // Fetches the version file and reads it into ver_dl; `then` runs when the
    // download has ended. Input waits for it, as it waited for the blocking
    // download of old.
    void fetchVersion(std::function<void()> then);
    // Whether the boot step offers the update instead of starting the radio.
    bool offersUpdate() const;

    void showUpdatePanel();
    void lab_cancel_click();
    void lab_update_click();

private:
    void installerFetched(const Fetched& fetched);
    QString installerPath() const;
    QString unverifiedInstallerPath() const;
    HeadUnit& m_unit;
    bool m_versionKnown = false;
    // The download under way, if any.
    quint64 m_batch = 0;
};

} // namespace zelk
