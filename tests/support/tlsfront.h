#pragma once
// https on 127.0.0.1 for tests: certificates made for the test run with the
// openssl tool, and a front that takes TLS connections and relays what they
// carry to a plain HttpServer, so every route of that server is reachable
// over https as well.

#include "support/httpserver.h"

#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QSslKey>

#include <string>

class QSslServer;

namespace zelktest {

struct TestCertificates
{
    // The root a test hands to the downloader as trusted.
    QSslCertificate ca;
    // For IP 127.0.0.1, issued by `ca`.
    QSslCertificate server;
    QSslKey serverKey;
    // For IP 127.0.0.1 as well, but self-signed: trusted by nobody.
    QSslCertificate stranger;
    QSslKey strangerKey;

    // Made once per test program; empty certificates when openssl failed.
    static const TestCertificates& get();
};

class TlsFront : public QObject
{
public:
    // Runs on the calling thread's event loop, which the test must spin.
    TlsFront(const HttpServer& backend, const QSslCertificate& certificate, const QSslKey& key);
    ~TlsFront() override;

    int port() const;
    std::string url(const std::string& path) const;

private:
    QSslServer* m_server;
    int m_backendPort;
};

} // namespace zelktest
