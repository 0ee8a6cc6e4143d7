#pragma once
// A small HTTP/1.0 server on 127.0.0.1 for tests: fixed answers per path,
// byte ranges (so media served from it is seekable), servers that accept and
// never answer, and a log of the paths that were asked for.

#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zelktest {

struct Route
{
    int status = 200;
    std::string body;
    std::string contentType = "application/octet-stream";
    bool hang = false;     // accept the request, then never answer
    bool endless = false;  // stream `body` over and over until the client leaves
    std::string headers{}; // more header lines ("Location: ..."), joined by "\r\n"
    // A station that sends its title inside the stream: with icyMetaInt > 0
    // and a client that asks for it, `body` is streamed endlessly with a
    // metadata block after every icyMetaInt bytes, carrying icyTitle's bytes
    // as they are (read afresh for every block, so setIcyTitle() changes it).
    int icyMetaInt = 0;
    std::string icyTitle{};
    // The pace of an endless or ICY stream, as a station sends it (0: as
    // fast as it goes).
    int bytesPerSecond = 0;
};

class HttpServer
{
public:
    HttpServer();
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    int port() const { return m_port; }
    std::string url(const std::string& path) const;

    void setRoute(const std::string& path, Route route);
    void removeRoute(const std::string& path);
    void setIcyTitle(const std::string& path, const std::string& title);
    void setFile(const std::string& path, const std::string& fileOnDisk,
                 const std::string& contentType = "application/octet-stream");
    // Every path not routed answers like this (default: 404).
    void setFallback(Route route);

    std::vector<std::string> requests() const;
    // The whole head of every request, in order (for checking headers).
    std::vector<std::string> rawRequests() const;
    int requestCount(const std::string& path) const;
    // Waits until `path` was asked for at least `count` times or the time is up.
    bool waitForRequest(const std::string& path, int count, int timeoutMs) const;

    // Closes the listening socket and every open connection.
    void stop();

private:
    void acceptLoop();
    void serve(int fd);

    int m_listenFd = -1;
    int m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::thread m_acceptThread;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_requested;
    std::map<std::string, Route> m_routes;
    Route m_fallback{404, "not found", "text/plain"};
    std::vector<std::string> m_requests;
    std::vector<std::string> m_rawRequests;
    std::vector<std::thread> m_workers;
    std::vector<int> m_openFds;
};

} // namespace zelktest
