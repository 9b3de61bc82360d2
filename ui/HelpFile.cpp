#include "ui/HelpFile.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace lumivane {

QString helpFilePath() {
    const QFileInfo local(QDir::current().absoluteFilePath(QStringLiteral("Lumivane.hlp")));
    if (local.isFile())
        return local.absoluteFilePath();

    const QString manual = QStringLiteral("doc/lumivane/manual.html");
    QStringList candidates;
    if (QCoreApplication::instance() != nullptr)
        candidates << QCoreApplication::applicationDirPath() + QStringLiteral("/../share/") +
                          manual;
    for (const QString& folder :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        candidates << folder + '/' + manual;
    for (const QString& candidate : candidates) {
        const QFileInfo file(candidate);
        if (file.isFile())
            return file.canonicalFilePath();
    }
    return {};
}

void openHelpFile() {
    const QString path = helpFilePath();
    if (!path.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace lumivane
