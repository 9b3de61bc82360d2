#include "ViewTestSupport.h"

#include "view/HelpFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lumivane::test {
namespace {

// "Lumivane.hlp" in the current folder wins; without it the manual is found
// (here the source tree's, as for a program run from its build folder).
TEST(HelpFile, PrefersLumivaneHlpHereAndFallsBackToTheManual) {
    testApplication();
    QTemporaryDir folder;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    const QString manual = helpFilePath();
    EXPECT_TRUE(manual.endsWith(QStringLiteral("/manual.html"))) << manual.toStdString();
    QFile hlp(folder.filePath(QStringLiteral("Lumivane.hlp")));
    ASSERT_TRUE(hlp.open(QIODevice::WriteOnly));
    hlp.close();
    EXPECT_EQ(QFileInfo(helpFilePath()).fileName(), QStringLiteral("Lumivane.hlp"));
    QDir::setCurrent(previous);
}

} // namespace
} // namespace lumivane::test
