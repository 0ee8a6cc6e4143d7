#pragma once
// The HttpGetter on Qt's network access manager.

#include "platform/httpget.h"

#include <QObject>

#include <map>
#include <memory>

class QNetworkAccessManager;

namespace zelk {

class NetHttpGetter final : public QObject, public HttpGetter
{
public:
    explicit NetHttpGetter(QObject* parent = nullptr);
    ~NetHttpGetter() override;

    Request get(const QString& url, const HttpLimits& limits, Done done) override;
    void cancel(Request request) override;

private:
    struct Running;
    void finish(Request request, QString why = {});

    QNetworkAccessManager* m_network;
    std::map<Request, std::unique_ptr<Running>> m_running;
    Request m_last = 0;
};

} // namespace zelk
