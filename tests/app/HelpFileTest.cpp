#include "TestFolders.h"

#include "ui/HelpFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lumivane::testing {
namespace {

// "Lumivane.hlp" in the current folder wins; without it the manual is found
// (here the build folder's copy, as for a program run from there).
TEST(HelpFile, PrefersLumivaneHlpHereAndFallsBackToTheManual) {
    ensureGuiApplication();
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
} // namespace lumivane::testing
