// The Debian package built from this build tree with cpack: its control
// fields name the runtime packages of every library the program links, it
// holds the stripped program and its desktop files, and the program unpacked
// from it boots and fetches the station texts.

#include "platform/rtflines.h"
#include "settings/config.h"
#include "support/httpserver.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace zelk;
using zelktest::HttpServer;
using zelktest::Route;

namespace {

const QString kAppId = QStringLiteral(ZELK_APP_ID);

struct ToolResult
{
    bool finished = false;
    int exitCode = -1;
    QString out;
    QString err;
    bool ok() const { return finished && exitCode == 0; }
};

ToolResult run(const QString& program, const QStringList& args, int timeoutMs = 60000)
{
    QProcess process;
    process.start(program, args);
    ToolResult result;
    result.finished =
        process.waitForFinished(timeoutMs) && process.exitStatus() == QProcess::NormalExit;
    if (!result.finished)
        process.kill();
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

// "Key: value" lines of dpkg-deb -f; continuation lines (the long
// description) are left out.
QMap<QString, QString> controlFields(const QString& text)
{
    QMap<QString, QString> fields;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon > 0 && !line.front().isSpace())
            fields.insert(line.left(colon), line.mid(colon + 1).trimmed());
    }
    return fields;
}

// Package names of a Depends field, alternatives included, versions dropped.
QSet<QString> dependedPackages(const QString& depends)
{
    QSet<QString> names;
    static const QRegularExpression separator(QStringLiteral("[,|]"));
    for (const QString& entry : depends.split(separator, Qt::SkipEmptyParts))
        names.insert(entry.trimmed().section(QLatin1Char(' '), 0, 0));
    return names;
}

QStringList neededLibraries(const QString& binary)
{
    const ToolResult dyn = run(QStringLiteral("readelf"), {QStringLiteral("-d"), binary});
    QStringList libraries;
    static const QRegularExpression needed(QStringLiteral(R"(\(NEEDED\).*\[(.+)\])"));
    for (auto it = needed.globalMatch(dyn.out); it.hasNext();)
        libraries << it.next().captured(1);
    return libraries;
}

// The installed packages holding a shared library of that name.
QSet<QString> owningPackages(const QString& soname)
{
    const ToolResult owners =
        run(QStringLiteral("dpkg-query"), {QStringLiteral("-S"), QStringLiteral("*/") + soname});
    QSet<QString> packages;
    for (const QString& line : owners.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const qsizetype sep = line.indexOf(QStringLiteral(": /"));
        if (sep > 0)
            for (const QString& p : line.left(sep).split(QStringLiteral(", ")))
                packages.insert(p.section(QLatin1Char(':'), 0, 0));
    }
    return packages;
}

class DebPackage : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_scratch.isValid());
        const ToolResult cpack =
            run(QStringLiteral(ZELK_CPACK),
                {QStringLiteral("--config"), QStringLiteral(ZELK_BUILD_DIR "/CPackConfig.cmake"),
                 QStringLiteral("-B"), m_scratch.path()},
                90000);
        ASSERT_TRUE(cpack.ok()) << cpack.out.toStdString() << cpack.err.toStdString();
        const QStringList debs = QDir(m_scratch.path()).entryList({QStringLiteral("*.deb")});
        ASSERT_EQ(debs.size(), 1) << debs.join(QLatin1Char(' ')).toStdString();
        m_deb = m_scratch.filePath(debs.front());
    }

    // Unpacks the package into a fresh root, as dpkg would install it.
    QString unpack()
    {
        const QString root = m_scratch.filePath(QStringLiteral("root"));
        const ToolResult x = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), m_deb, root});
        EXPECT_TRUE(x.ok()) << x.err.toStdString();
        return root;
    }

    QTemporaryDir m_scratch;
    QString m_deb;
};

TEST_F(DebPackage, ControlFieldsDescribeTheProgramAndItsRuntimeLibraries)
{
    const ToolResult info = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), m_deb});
    ASSERT_TRUE(info.ok()) << info.err.toStdString();
    const QMap<QString, QString> fields = controlFields(info.out);
    EXPECT_EQ(fields.value(QStringLiteral("Package")), QStringLiteral("zelkradio"));
    EXPECT_EQ(fields.value(QStringLiteral("Version")), QStringLiteral(ZELK_VERSION));
    EXPECT_EQ(fields.value(QStringLiteral("Section")), QStringLiteral("sound"));
    EXPECT_TRUE(fields.value(QStringLiteral("Maintainer")).contains(QLatin1Char('@')));
    EXPECT_FALSE(fields.value(QStringLiteral("Description")).isEmpty());

    const QSet<QString> depends = dependedPackages(fields.value(QStringLiteral("Depends")));
    for (const char* package : {"libqt6core6", "libqt6widgets6", "libmpv2"})
        EXPECT_TRUE(depends.contains(QLatin1String(package)))
            << package << " missing in: " << fields.value(QStringLiteral("Depends")).toStdString();

    // Every library the program links, the web engine's as soon as it does,
    // must come with a package that holds it.
    const QStringList needed =
        neededLibraries(unpack() + QStringLiteral("/usr/bin/zelkradio")) +
        neededLibraries(unpack() +
                        QStringLiteral("/usr/bin/" ZELK_WEBVIEW_RELATIVE "/zelk_webview.so"));
    ASSERT_TRUE(needed.contains(QStringLiteral("libmpv.so.2")))
        << needed.join(QLatin1Char(' ')).toStdString();
    ASSERT_TRUE(needed.contains(QStringLiteral("libQt6WebEngineWidgets.so.6")))
        << needed.join(QLatin1Char(' ')).toStdString();
    for (const QString& library : needed) {
        const QSet<QString> owners = owningPackages(library);
        EXPECT_TRUE(owners.intersects(depends))
            << library.toStdString() << " (in "
            << owners.values().join(QLatin1Char(' ')).toStdString()
            << ") missing in: " << fields.value(QStringLiteral("Depends")).toStdString();
    }
}

TEST_F(DebPackage, HoldsTheStrippedProgramAndItsDesktopFiles)
{
    const QString usr = unpack() + QStringLiteral("/usr/");
    const QFileInfo program(usr + QStringLiteral("bin/zelkradio"));
    EXPECT_TRUE(program.isFile() && program.isExecutable());
    // Where the program looks for its browser view, beside its own folder.
    EXPECT_TRUE(
        QFileInfo::exists(usr + QStringLiteral("bin/" ZELK_WEBVIEW_RELATIVE "/zelk_webview.so")));
    for (const QString& file : {QStringLiteral("share/applications/%1.desktop"),
                                QStringLiteral("share/metainfo/%1.metainfo.xml"),
                                QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg")})
        EXPECT_TRUE(QFileInfo::exists(usr + file.arg(kAppId))) << file.arg(kAppId).toStdString();

    const ToolResult sections =
        run(QStringLiteral("readelf"),
            {QStringLiteral("-S"), QStringLiteral("-W"), program.filePath()});
    ASSERT_TRUE(sections.ok()) << sections.err.toStdString();
    EXPECT_TRUE(sections.out.contains(QStringLiteral(".text")));
    EXPECT_FALSE(sections.out.contains(QStringLiteral(".debug_"))) << "the program is not stripped";
    EXPECT_FALSE(sections.out.contains(QStringLiteral(".symtab"))) << "the program is not stripped";
}

TEST_F(DebPackage, InstalledProgramBootsAndFetchesStationTexts)
{
    const QString program = unpack() + QStringLiteral("/usr/bin/zelkradio");
    QTemporaryDir appdata;
    const QString dataDir = appdata.path() + QStringLiteral("/Tovemark/Zelk_Quen/");
    ASSERT_TRUE(QDir().mkpath(dataDir));

    HttpServer server;
    QStringList config = defaultConfigLines();
    config[cfg::Fullscreen] = QStringLiteral("true");
    for (int n = 1; n <= 6; ++n) {
        const std::string path = "/rds" + std::to_string(n) + ".txt";
        server.setRoute(path, Route{200, "Text " + std::to_string(n), "text/plain"});
        // No streams: nothing leaves the machine.
        config[cfg::StationUrl1 - 1 + n] = QString();
        config[cfg::RdsUrl1 - 1 + n] = QString::fromStdString(server.url(path));
    }
    writeLineFile(dataDir + QStringLiteral("Radio.ini"), config);
    // The release is current: no update offer holds the boot.
    writeLineFile(dataDir + QStringLiteral("version.txt"), {QStringLiteral(ZELK_VERSION)});

    QProcess unit;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("appdata"), appdata.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), appdata.path());
    if (geteuid() == 0)
        env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    unit.setProcessEnvironment(env);
    unit.setProcessChannelMode(QProcess::MergedChannels);
    unit.start(program, {});
    ASSERT_TRUE(unit.waitForStarted(10000));

    // The station texts are fetched after the boot step, 3 s after start.
    for (int n = 1; n <= 6; ++n)
        EXPECT_TRUE(server.waitForRequest("/rds" + std::to_string(n) + ".txt", 1, 30000)) << n;
    EXPECT_EQ(unit.state(), QProcess::Running) << unit.readAll().toStdString();

    unit.terminate();
    ASSERT_TRUE(unit.waitForFinished(15000)) << unit.readAll().toStdString();
    EXPECT_EQ(unit.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(unit.exitCode(), 0) << unit.readAll().toStdString();
}

} // namespace
