#include "support/httpserver.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace zelktest {

namespace {

bool sendAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

const char* reason(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 206:
        return "Partial Content";
    case 302:
        return "Found";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

} // namespace

HttpServer::HttpServer()
{
    m_listenFd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (m_listenFd < 0)
        throw std::runtime_error("socket failed");
    int one = 1;
    ::setsockopt(m_listenFd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    if (::bind(m_listenFd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(m_listenFd, 64) != 0)
        throw std::runtime_error("bind/listen failed");
    socklen_t len = sizeof addr;
    ::getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&addr), &len);
    m_port = ntohs(addr.sin_port);
    m_acceptThread = std::thread([this] { acceptLoop(); });
}

HttpServer::~HttpServer()
{
    stop();
}

std::string HttpServer::url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

void HttpServer::setRoute(const std::string& path, Route route)
{
    std::lock_guard lock(m_mutex);
    m_routes[path] = std::move(route);
}

void HttpServer::removeRoute(const std::string& path)
{
    std::lock_guard lock(m_mutex);
    m_routes.erase(path);
}

void HttpServer::setFile(const std::string& path, const std::string& fileOnDisk,
                         const std::string& contentType)
{
    std::ifstream in(fileOnDisk, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + fileOnDisk);
    std::ostringstream ss;
    ss << in.rdbuf();
    setRoute(path, Route{200, ss.str(), contentType});
}

void HttpServer::setIcyTitle(const std::string& path, const std::string& title)
{
    std::lock_guard lock(m_mutex);
    m_routes[path].icyTitle = title;
}

void HttpServer::setFallback(Route route)
{
    std::lock_guard lock(m_mutex);
    m_fallback = std::move(route);
}

std::vector<std::string> HttpServer::requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

std::vector<std::string> HttpServer::rawRequests() const
{
    std::lock_guard lock(m_mutex);
    return m_rawRequests;
}

int HttpServer::requestCount(const std::string& path) const
{
    std::lock_guard lock(m_mutex);
    return static_cast<int>(std::count(m_requests.begin(), m_requests.end(), path));
}

bool HttpServer::waitForRequest(const std::string& path, int count, int timeoutMs) const
{
    std::unique_lock lock(m_mutex);
    return m_requested.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        return std::count(m_requests.begin(), m_requests.end(), path) >= count;
    });
}

void HttpServer::stop()
{
    if (m_stopping.exchange(true))
        return;
    ::shutdown(m_listenFd, SHUT_RDWR);
    ::close(m_listenFd);
    if (m_acceptThread.joinable())
        m_acceptThread.join();
    {
        std::lock_guard lock(m_mutex);
        for (int fd : m_openFds)
            ::shutdown(fd, SHUT_RDWR);
    }
    for (auto& t : m_workers)
        if (t.joinable())
            t.join();
}

void HttpServer::acceptLoop()
{
    while (!m_stopping) {
        pollfd p{m_listenFd, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0)
            continue;
        int fd = ::accept(m_listenFd, nullptr, nullptr);
        if (fd < 0)
            continue;
        std::lock_guard lock(m_mutex);
        m_openFds.push_back(fd);
        m_workers.emplace_back([this, fd] { serve(fd); });
    }
}

void HttpServer::serve(int fd)
{
    std::string request;
    char buf[4096];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        pollfd p{fd, POLLIN, 0};
        if (m_stopping)
            break;
        if (::poll(&p, 1, 100) <= 0)
            continue;
        ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0)
            break;
        request.append(buf, static_cast<size_t>(n));
    }

    std::string path;
    {
        std::istringstream line(request.substr(0, request.find("\r\n")));
        std::string method;
        line >> method >> path;
    }
    long long rangeStart = -1;
    if (auto pos = request.find("\nRange: bytes="); pos != std::string::npos)
        rangeStart = std::atoll(request.c_str() + pos + 14);
    else if (auto pos2 = request.find("\nrange: bytes="); pos2 != std::string::npos)
        rangeStart = std::atoll(request.c_str() + pos2 + 14);

    Route route;
    {
        std::lock_guard lock(m_mutex);
        auto it = m_routes.find(path);
        if (it == m_routes.end())
            it = m_routes.find(path.substr(0, path.find('?')));
        route = it != m_routes.end() ? it->second : m_fallback;
        m_requests.push_back(path);
        m_rawRequests.push_back(request);
    }
    m_requested.notify_all();

    if (route.hang) {
        while (!m_stopping) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 100) > 0 && ::recv(fd, buf, sizeof buf, 0) <= 0)
                break;
        }
    } else if (route.icyMetaInt > 0 && !route.body.empty()) {
        const bool wantsTitles = request.find("Icy-MetaData: 1") != std::string::npos ||
                                 request.find("icy-metadata: 1") != std::string::npos;
        std::string head = "HTTP/1.0 200 OK\r\nContent-Type: " + route.contentType +
                           "\r\nicy-name: Loopback FM\r\n";
        if (wantsTitles)
            head += "icy-metaint: " + std::to_string(route.icyMetaInt) + "\r\n";
        head += "Connection: close\r\n\r\n";
        bool ok = sendAll(fd, head.data(), head.size());
        size_t at = 0;
        while (ok && !m_stopping) {
            std::string chunk;
            while (chunk.size() < static_cast<size_t>(route.icyMetaInt)) {
                const size_t take = std::min(route.body.size() - at,
                                             static_cast<size_t>(route.icyMetaInt) - chunk.size());
                chunk.append(route.body, at, take);
                at = (at + take) % route.body.size();
            }
            if (wantsTitles) {
                std::string title;
                {
                    std::lock_guard lock(m_mutex);
                    auto it = m_routes.find(path);
                    title = it != m_routes.end() ? it->second.icyTitle : route.icyTitle;
                }
                std::string meta = "StreamTitle='" + title + "';";
                meta.resize((meta.size() + 15) / 16 * 16, '\0');
                chunk.push_back(static_cast<char>(meta.size() / 16));
                chunk += meta;
            }
            ok = sendAll(fd, chunk.data(), chunk.size());
            if (route.bytesPerSecond > 0)
                std::this_thread::sleep_for(
                    std::chrono::milliseconds(1000LL * route.icyMetaInt / route.bytesPerSecond));
        }
    } else if (route.endless) {
        std::string head = "HTTP/1.0 200 OK\r\nContent-Type: " + route.contentType +
                           "\r\nConnection: close\r\n\r\n";
        bool ok = sendAll(fd, head.data(), head.size());
        // Paced like a station: in slices of a tenth of a second.
        const size_t slice = route.bytesPerSecond > 0 ? static_cast<size_t>(route.bytesPerSecond) / 10
                                                      : route.body.size();
        size_t at = 0;
        while (ok && !m_stopping && !route.body.empty()) {
            const size_t take = std::min(slice, route.body.size() - at);
            ok = sendAll(fd, route.body.data() + at, take);
            at = (at + take) % route.body.size();
            if (route.bytesPerSecond > 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(
                    1000LL * static_cast<long long>(take) / route.bytesPerSecond));
        }
    } else {
        int status = route.status;
        std::string body = route.body;
        std::string extra;
        if (status == 200 && rangeStart > 0) {
            long long total = static_cast<long long>(body.size());
            long long start = std::min(rangeStart, total);
            extra = "Content-Range: bytes " + std::to_string(start) + "-" +
                    std::to_string(total - 1) + "/" + std::to_string(total) + "\r\n";
            body = body.substr(static_cast<size_t>(start));
            status = 206;
        }
        std::string head = "HTTP/1.0 " + std::to_string(status) + " " + reason(status) +
                           "\r\nContent-Type: " + route.contentType +
                           "\r\nContent-Length: " + std::to_string(body.size()) +
                           "\r\nAccept-Ranges: bytes\r\n" + extra +
                           (route.headers.empty() ? "" : route.headers + "\r\n") +
                           "Connection: close\r\n\r\n";
        if (sendAll(fd, head.data(), head.size()))
            sendAll(fd, body.data(), body.size());
    }
    ::shutdown(fd, SHUT_WR);
    {
        std::lock_guard lock(m_mutex);
        m_openFds.erase(std::remove(m_openFds.begin(), m_openFds.end(), fd), m_openFds.end());
    }
    ::close(fd);
}

} // namespace zelktest
