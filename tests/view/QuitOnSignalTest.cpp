#include "ViewTestSupport.h"

#include "view/QuitOnSignal.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>

namespace lumivane {
namespace {

TEST(QuitOnSignal, EachTerminationSignalEndsTheEventLoopWithStatusZero) {
    test::testApplication();
    ASSERT_TRUE(quitOnTerminationSignals());
    ASSERT_TRUE(quitOnTerminationSignals()); // a second call changes nothing
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        QTimer giveUp;
        giveUp.setSingleShot(true);
        QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        giveUp.start(2000);
        QTimer::singleShot(0, [signal] { std::raise(signal); });
        EXPECT_EQ(QCoreApplication::exec(), 0) << "signal " << signal;
    }
}

} // namespace
} // namespace lumivane
