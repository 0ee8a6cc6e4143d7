#pragma once
// Station logos: the checks on a fetched favicon, and the files the front
// end writes them to. A logo file is named after the stream address, so no
// configuration line names it, and a preset whose address changes has no
// logo until one is stored for the new address.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zelk {

enum class LogoKind { None, Png, Jpeg, Ico, Svg, Gif, Webp };

inline constexpr qint64 kMaxLogoBytes = 1024 * 1024;
// The edge in pixels that the front end fits a stored logo into.
inline constexpr int kMaxLogoEdge = 256;

// What kind of picture the bytes look like by their first bytes; None for
// anything else, for an empty one and for one larger than kMaxLogoBytes.
LogoKind logoKind(const QByteArray& bytes);

// "logo-" and the SHA-1 of the address in hexadecimal, ".png".
QString logoFileName(const QString& streamAddress);

// Deletes every logo file in `dataDir` whose address is none of `used`
// (the presets' stream addresses); returns how many it deleted.
int deleteUnusedLogos(const QString& dataDir, const QStringList& used);

} // namespace zelk
