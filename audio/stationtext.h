#pragma once
// The station text ("RDS" text): every 5 s in radio mode the six text
// files are fetched, and the first line of the selected preset's file is
// shown under the station name.

#include "app/values.h"
#include "platform/download.h"
#include "platform/uitimer.h"

#include <QStringList>

namespace zelk {

class HeadUnit;

class StationText : public QObject
{
    Q_OBJECT
public:
    explicit StationText(HeadUnit& unit);
    ~StationText() override;

    UiTimer RDStimer{5000, true};
    // Scratch list of one file's lines, and the current text of each preset.
    QStringList RDS_dl;
    QStringList rds_data;
    TextValue rdsText;

    // Starts a refresh: the configuration is read again and the six files
    // are fetched; the texts are shown when the fetch has ended. A refresh
    // started while another still runs takes its place.
    void reloadRDS();
    bool refreshing() const { return m_batch != 0; }

    // Called once the player exists: a preset without a text address shows
    // the title its station sends inside the stream.
    void attachPlayer();

private:
    void showTexts();
    void streamTitleChanged();
    // The title sent in the stream when the selected preset has no text
    // address of its own; empty otherwise.
    QString streamTitleInstead() const;
    HeadUnit& m_unit;
    Downloader::Batch m_batch = 0;
};

} // namespace zelk
