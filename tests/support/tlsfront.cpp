#include "support/tlsfront.h"

#include <QFile>
#include <QProcess>
#include <QSslConfiguration>
#include <QSslServer>
#include <QSslSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zelktest {

namespace {

bool openssl(const QString& dir, const QStringList& arguments)
{
    QProcess p;
    p.setWorkingDirectory(dir);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("openssl"), arguments);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << "openssl " << arguments.join(QLatin1Char(' ')).toStdString() << ": "
                      << p.readAll().toStdString();
        return false;
    }
    return true;
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TestCertificates make()
{
    TestCertificates c;
    QTemporaryDir tmp;
    const QString d = tmp.path();
    const QStringList ec = {
        QStringLiteral("-newkey"), QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
        QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes")};
    {
        QFile ext(d + QStringLiteral("/server.ext"));
        if (!ext.open(QIODevice::WriteOnly))
            return c;
        ext.write("subjectAltName=IP:127.0.0.1\nbasicConstraints=CA:FALSE\n"
                  "keyUsage=critical,digitalSignature\nextendedKeyUsage=serverAuth\n");
    }
    const bool ok =
        openssl(d, QStringList{QStringLiteral("req"), QStringLiteral("-x509")} + ec +
                       QStringList{QStringLiteral("-keyout"), QStringLiteral("ca.key"),
                                   QStringLiteral("-out"), QStringLiteral("ca.pem"),
                                   QStringLiteral("-days"), QStringLiteral("2"),
                                   QStringLiteral("-subj"), QStringLiteral("/CN=ZelkRadio test CA"),
                                   QStringLiteral("-addext"),
                                   QStringLiteral("basicConstraints=critical,CA:TRUE"),
                                   QStringLiteral("-addext"),
                                   QStringLiteral("keyUsage=critical,keyCertSign,cRLSign")}) &&
        openssl(d, QStringList{QStringLiteral("req")} + ec +
                       QStringList{QStringLiteral("-keyout"), QStringLiteral("server.key"),
                                   QStringLiteral("-out"), QStringLiteral("server.csr"),
                                   QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1")}) &&
        openssl(d, {QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"),
                    QStringLiteral("server.csr"), QStringLiteral("-CA"), QStringLiteral("ca.pem"),
                    QStringLiteral("-CAkey"), QStringLiteral("ca.key"),
                    QStringLiteral("-CAcreateserial"), QStringLiteral("-days"), QStringLiteral("2"),
                    QStringLiteral("-extfile"), QStringLiteral("server.ext"),
                    QStringLiteral("-out"), QStringLiteral("server.pem")}) &&
        openssl(d, QStringList{QStringLiteral("req"), QStringLiteral("-x509")} + ec +
                       QStringList{QStringLiteral("-keyout"), QStringLiteral("stranger.key"),
                                   QStringLiteral("-out"), QStringLiteral("stranger.pem"),
                                   QStringLiteral("-days"), QStringLiteral("2"),
                                   QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"),
                                   QStringLiteral("-addext"),
                                   QStringLiteral("subjectAltName=IP:127.0.0.1")});
    if (!ok)
        return c;
    c.ca = QSslCertificate(contents(d + QStringLiteral("/ca.pem")));
    c.server = QSslCertificate(contents(d + QStringLiteral("/server.pem")));
    c.serverKey = QSslKey(contents(d + QStringLiteral("/server.key")), QSsl::Ec);
    c.stranger = QSslCertificate(contents(d + QStringLiteral("/stranger.pem")));
    c.strangerKey = QSslKey(contents(d + QStringLiteral("/stranger.key")), QSsl::Ec);
    return c;
}

} // namespace

const TestCertificates& TestCertificates::get()
{
    static const TestCertificates made = make();
    return made;
}

TlsFront::TlsFront(const HttpServer& backend, const QSslCertificate& certificate,
                   const QSslKey& key)
    : m_server(new QSslServer(this)), m_backendPort(backend.port())
{
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(certificate);
    tls.setPrivateKey(key);
    tls.setPeerVerifyMode(QSslSocket::VerifyNone); // clients show no certificate
    m_server->setSslConfiguration(tls);
    // One relay per connection: what the client sends goes to the backend,
    // what the backend answers goes back, and either side's end ends both.
    connect(m_server, &QSslServer::pendingConnectionAvailable, this, [this] {
        while (QTcpSocket* next = m_server->nextPendingConnection()) {
            auto* client = static_cast<QSslSocket*>(next);
            auto* back = new QTcpSocket(client);
            connect(client, &QSslSocket::readyRead, back,
                    [client, back] { back->write(client->readAll()); });
            connect(back, &QTcpSocket::readyRead, client,
                    [client, back] { client->write(back->readAll()); });
            connect(back, &QTcpSocket::disconnected, client, [client, back] {
                client->write(back->readAll());
                client->disconnectFromHost();
            });
            connect(client, &QSslSocket::disconnected, client, [client, back] {
                back->abort();
                client->deleteLater();
            });
            back->connectToHost(QHostAddress::LocalHost, static_cast<quint16>(m_backendPort));
            if (client->bytesAvailable() > 0)
                back->write(client->readAll());
        }
    });
    EXPECT_TRUE(m_server->listen(QHostAddress::LocalHost, 0))
        << m_server->errorString().toStdString();
}

TlsFront::~TlsFront()
{
    m_server->close();
}

int TlsFront::port() const
{
    return m_server->serverPort();
}

std::string TlsFront::url(const std::string& path) const
{
    return "https://127.0.0.1:" + std::to_string(port()) + path;
}

} // namespace zelktest
