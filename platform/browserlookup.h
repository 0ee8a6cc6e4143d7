#pragma once
// The program the desktop opens web pages with, found the freedesktop way:
// the default handler of http addresses (else of HTML files) in the
// mimeapps.list files, its desktop entry, and the program of its Exec line.

#include <QProcessEnvironment>
#include <QString>

namespace zelk {

// Full path of the default browser's program, or empty when there is none.
// Reads a few small files; starts nothing.
QString
findDefaultBrowser(const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment());

} // namespace zelk
