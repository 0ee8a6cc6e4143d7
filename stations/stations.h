#pragma once
// Stations from the directory into the presets: a chosen station is stored
// in a preset, counted, and its logo fetched for the front end to store.

#include "stations/directory.h"

#include <QObject>

namespace zelk {

class Radio;
class Settings;

class Stations : public QObject
{
    Q_OBJECT
public:
    Stations(Settings& settings, Radio& radio, StationDirectory& directory, QString dataDir);

    StationDirectory& directory() { return m_directory; }

    // Preset n (1..6) becomes the station: its name, its stream address and
    // an empty station-text address (so that the stream's own titles show),
    // then saveConfig; the Radio page's fields of that preset follow, the
    // others keep what was typed. Nothing else changes. Throws
    // OperationError when Radio.ini cannot be written; the list in memory
    // keeps the new lines then, the fields do not follow.
    void storeInPreset(int n, const Station& station);
    // The finder's choice: storeInPreset, then the play count and the logo.
    // With `tune` and in radio mode, the preset is selected and plays.
    void choose(int n, const Station& station, bool tune);

    // Where the logo of preset n (1..6) is kept: a file in the data folder
    // named after its stream address. Empty for a preset without address.
    QString logoPath(int n) const;
    // The logo file of preset n when there is one; empty otherwise.
    QString existingLogo(int n) const;
    // The front end has stored a logo (or failed to): logos of addresses no
    // preset uses are deleted, and logosChanged tells the screens.
    void logoStored();

Q_SIGNALS:
    // The checked bytes of a logo (PNG, JPEG, ICO, SVG, GIF or WebP) for the
    // front end to decode, fit into kMaxLogoEdge pixels and write as a PNG
    // to `path` (atomically); it calls logoStored() afterwards.
    void logoToStore(const QString& path, const QByteArray& image);
    void logosChanged();

private:
    Settings& m_settings;
    Radio& m_radio;
    StationDirectory& m_directory;
    QString m_dataDir;
};

} // namespace zelk
