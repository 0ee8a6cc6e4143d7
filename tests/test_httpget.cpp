// Small answers into memory against a loopback server: what counts as an
// answer, the bounds, redirects, and that the caller never waits.

#include "platform/nethttpget.h"
#include "support/fakes.h"
#include "support/httpserver.h"

#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

using namespace zelk;
using zelktest::HttpServer;
using zelktest::Route;

namespace {

struct GetCase
{
    const char* name;
    Route route;
    bool ok;
    std::string body = "";
    const char* path = "/x"; // asked for; "" asks for `address` instead
    const char* address = "";
};

} // namespace

TEST(HttpGet, EachKindOfAnswerEndsOnceLaterAndWithinItsBounds)
{
    zelktest::ensureCoreApp();
    HttpServer server;
    HttpServer target;
    target.setRoute("/there", Route{200, "moved here", "text/plain"});
    const std::string toTarget = "Location: " + target.url("/there");
    const GetCase cases[] = {
        {"an answer", Route{200, "hello", "text/plain"}, true, "hello"},
        {"an empty answer", Route{204, "", "text/plain"}, true, ""},
        {"not found", Route{404, "missing", "text/plain"}, false},
        {"a server error", Route{500, "oops", "text/plain"}, false},
        {"too large", Route{200, std::string(2048, 'x'), "text/plain"}, false},
        {"exactly the cap", Route{200, std::string(1024, 'x'), "text/plain"}, true,
         std::string(1024, 'x')},
        {"endless", Route{200, "xyz", "text/plain", false, true}, false},
        {"hangs", Route{200, "", "text/plain", true}, false},
        {"redirect to http", Route{302, "", "text/plain", false, false, toTarget}, true,
         "moved here"},
        {"redirect to a file",
         Route{302, "", "text/plain", false, false, "Location: file:///etc/passwd"}, false},
        {"no web address", Route{}, false, "", "", "file:///etc/passwd"},
        {"not an address", Route{}, false, "", "", "::nothing"},
        {"refused", Route{}, false, "", "", "http://127.0.0.1:1/x"},
    };
    NetHttpGetter http;
    const HttpLimits limits{400, 1000, 1024};
    for (const GetCase& c : cases) {
        SCOPED_TRACE(c.name);
        server.setRoute("/x", c.route);
        const QString address =
            *c.path ? QString::fromStdString(server.url(c.path)) : QString::fromUtf8(c.address);
        int calls = 0;
        std::optional<HttpAnswer> answer;
        QElapsedTimer clock;
        clock.start();
        http.get(address, limits, [&](const HttpAnswer& a) {
            ++calls;
            answer = a;
        });
        EXPECT_EQ(calls, 0) << "never inside get()";
        ASSERT_TRUE(QTest::qWaitFor([&] { return answer.has_value(); }, 5000));
        EXPECT_LT(clock.elapsed(), 2500);
        EXPECT_EQ(answer->ok, c.ok) << answer->error.toStdString();
        if (c.ok) {
            EXPECT_EQ(answer->body.toStdString(), c.body);
        } else {
            EXPECT_TRUE(answer->body.isEmpty());
            EXPECT_FALSE(answer->error.isEmpty());
        }
        QTest::qWait(20);
        EXPECT_EQ(calls, 1);
    }
}

TEST(HttpGet, ACancelledRequestNeverAnswers)
{
    zelktest::ensureCoreApp();
    HttpServer server;
    server.setRoute("/slow", Route{200, "", "text/plain", true});
    server.setRoute("/fast", Route{200, "fast", "text/plain"});
    NetHttpGetter http;
    int calls = 0;
    const auto slow =
        http.get(QString::fromStdString(server.url("/slow")), {}, [&](auto&) { ++calls; });
    const auto local = http.get(QStringLiteral("ftp://127.0.0.1/"), {}, [&](auto&) { ++calls; });
    http.cancel(slow);
    http.cancel(local);
    std::optional<HttpAnswer> fast;
    http.get(QString::fromStdString(server.url("/fast")), {},
             [&](const HttpAnswer& a) { fast = a; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return fast.has_value(); }, 5000));
    EXPECT_EQ(fast->body, QByteArray("fast"));
    QTest::qWait(50);
    EXPECT_EQ(calls, 0);
}
