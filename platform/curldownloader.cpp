#include "platform/curldownloader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <curl/curl.h>

#include <cstdio>
#include <memory>
#include <mutex>

namespace zelk {

namespace {

void initCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// One transfer: the body goes to a temporary file beside the target.
struct Transfer
{
    QString target;
    std::unique_ptr<QTemporaryFile> file;
    qint64 written = 0;
    qint64 maxBytes = 0;
    bool failed = false;
    CURL* easy = nullptr;
    curl_slist* headers = nullptr;

    ~Transfer()
    {
        if (easy)
            curl_easy_cleanup(easy);
        curl_slist_free_all(headers);
    }
};

size_t writeBody(char* data, size_t size, size_t count, void* userData)
{
    auto* t = static_cast<Transfer*>(userData);
    const qint64 n = static_cast<qint64>(size * count);
    if (t->written + n > t->maxBytes || t->file->write(data, n) != n) {
        t->failed = true;
        return 0; // makes curl abort the transfer
    }
    t->written += n;
    return static_cast<size_t>(n);
}

std::unique_ptr<Transfer> prepare(const QString& url, const QString& target,
                                  const DownloadLimits& limits, bool bypassCaches)
{
    if (url.trimmed().isEmpty() || target.isEmpty())
        return nullptr;
    auto t = std::make_unique<Transfer>();
    t->target = target;
    t->maxBytes = limits.maxBytes;
    t->file = std::make_unique<QTemporaryFile>(
        QFileInfo(target).absolutePath() + QStringLiteral("/.download-XXXXXX"));
    if (!t->file->open())
        return nullptr;
    t->easy = curl_easy_init();
    if (!t->easy)
        return nullptr;
    const QByteArray address = url.trimmed().toUtf8();
    CURL* e = t->easy;
    curl_easy_setopt(e, CURLOPT_URL, address.constData());
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(e, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connectTimeoutMs));
    curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.totalTimeoutMs));
    curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBytes));
    curl_easy_setopt(e, CURLOPT_USERAGENT, "ZelkRadio/1.2.0");
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, writeBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, t.get());
    if (bypassCaches) {
        t->headers = curl_slist_append(t->headers, "Cache-Control: no-cache");
        t->headers = curl_slist_append(t->headers, "Pragma: no-cache");
        curl_easy_setopt(e, CURLOPT_HTTPHEADER, t->headers);
    }
    return t;
}

// Puts the body in place of the target when the answer was a complete 2xx.
bool finish(Transfer& t, CURLcode result)
{
    long status = 0;
    curl_easy_getinfo(t.easy, CURLINFO_RESPONSE_CODE, &status);
    if (result != CURLE_OK || t.failed || status < 200 || status > 299)
        return false;
    if (!t.file->flush())
        return false;
    t.file->setAutoRemove(false);
    const QString temp = t.file->fileName();
    t.file->close();
    // rename(2) replaces the target in one step; QFile::rename refuses to.
    if (std::rename(QFile::encodeName(temp).constData(),
                    QFile::encodeName(t.target).constData()) != 0) {
        QFile::remove(temp);
        return false;
    }
    QFile::setPermissions(t.target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                        | QFile::ReadOther);
    return true;
}

} // namespace

CurlDownloader::CurlDownloader(DownloadLimits limits) : m_limits(limits) { initCurlOnce(); }

bool CurlDownloader::download(const QString& url, const QString& target)
{
    auto t = prepare(url, target, m_limits, m_bypassCaches);
    if (!t)
        return false;
    return finish(*t, curl_easy_perform(t->easy));
}

void CurlDownloader::downloadAll(const QList<std::pair<QString, QString>>& urlAndTarget)
{
    std::vector<std::unique_ptr<Transfer>> transfers;
    CURLM* multi = curl_multi_init();
    if (!multi)
        return;
    for (const auto& [url, target] : urlAndTarget) {
        if (auto t = prepare(url, target, m_limits, m_bypassCaches)) {
            curl_multi_add_handle(multi, t->easy);
            transfers.push_back(std::move(t));
        }
    }
    // Every transfer carries its own total timeout, so this loop ends within
    // that bound even when every server hangs.
    int running = 0;
    do {
        if (curl_multi_perform(multi, &running) != CURLM_OK)
            break;
        if (running)
            curl_multi_poll(multi, nullptr, 0, 100, nullptr);
    } while (running);

    while (CURLMsg* msg = [&] {
        int left = 0;
        return curl_multi_info_read(multi, &left);
    }()) {
        if (msg->msg != CURLMSG_DONE)
            continue;
        for (auto& t : transfers)
            if (t->easy == msg->easy_handle)
                finish(*t, msg->data.result);
    }
    for (auto& t : transfers)
        curl_multi_remove_handle(multi, t->easy);
    curl_multi_cleanup(multi);
}

void CurlDownloader::clearUrlCache()
{
    // libcurl keeps no cache of its own; what could still answer from a
    // cache is a proxy on the way. From now on every request asks for a
    // fresh copy. Nothing on disk is deleted.
    m_bypassCaches = true;
}

} // namespace zelk
