#include "app/idle/Autostart.h"

#include "app/ExitStatus.h"
#include "patterns/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace lumivane {
namespace {

const QString SHIPPED_ENTRY = QStringLiteral("lumivane/") + AUTOSTART_ENTRY_NAME;

// $XDG_CONFIG_HOME/autostart, or ~/.config/autostart when the variable is
// unset or not an absolute path; empty without a home.
QString autostartFolder() {
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!config.isEmpty() && QDir::isAbsolutePath(config))
        return config + QStringLiteral("/autostart");
    const QString home = qEnvironmentVariable("HOME");
    if (home.isEmpty())
        return {};
    return home + QStringLiteral("/.config/autostart");
}

// The shipped entry: in the data folders, else beside the program
// (<prefix>/bin/lumivane with <prefix>/share/lumivane, also a build folder).
QString shippedEntry() {
    const QString found =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation, SHIPPED_ENTRY);
    if (!found.isEmpty())
        return found;
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (program.isEmpty())
        return {};
    const QString beside = QDir::cleanPath(QFileInfo(program).absolutePath() +
                                           QStringLiteral("/../share/") + SHIPPED_ENTRY);
    return QFileInfo::exists(beside) ? beside : QString();
}

int turnOn(const std::string& programName, const QString& folder, std::ostream& out,
           std::ostream& err) {
    const QString source = shippedEntry();
    if (source.isEmpty()) {
        err << programName << ": cannot find " << SHIPPED_ENTRY.toStdString()
            << " in the data folders ($XDG_DATA_DIRS)\n";
        return EXIT_FAILED;
    }
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        err << programName << ": cannot read " << source.toStdString() << ": "
            << in.errorString().toStdString() << '\n';
        return EXIT_FAILED;
    }
    const QByteArray entry = in.readAll();
    const QString target = folder + QLatin1Char('/') + AUTOSTART_ENTRY_NAME;
    const auto cannotWrite = [&](const std::string& reason) {
        err << programName << ": cannot write " << target.toStdString() << ": " << reason << '\n';
        return EXIT_FAILED;
    };
    if (!QDir().mkpath(folder))
        return cannotWrite("its folder cannot be made");
    try {
        replaceFile(target.toStdString(), std::vector<std::uint8_t>(entry.begin(), entry.end()));
    } catch (const StoreFileError& error) {
        return cannotWrite(error.reason());
    }
    out << "The idle watcher starts with the next session: " << target.toStdString() << '\n';
    return EXIT_DONE;
}

int turnOff(const std::string& programName, const QString& folder, std::ostream& out,
            std::ostream& err) {
    const QString target = folder + QLatin1Char('/') + AUTOSTART_ENTRY_NAME;
    QFile entry(target);
    if (entry.exists() && !entry.remove()) {
        err << programName << ": cannot remove " << target.toStdString() << ": "
            << entry.errorString().toStdString() << '\n';
        return EXIT_FAILED;
    }
    out << "The idle watcher no longer starts with the session (" << target.toStdString()
        << " is gone)\n";
    return EXIT_DONE;
}

} // namespace

int runIdleAutostart(const std::string& programName, const std::string& value, std::ostream& out,
                     std::ostream& err) {
    if (value != "on" && value != "off") {
        err << programName << ": --idle-autostart takes on or off, not '" << value
            << "' (try --help)\n";
        return EXIT_USAGE;
    }
    const QString folder = autostartFolder();
    if (folder.isEmpty()) {
        err << programName << ": neither XDG_CONFIG_HOME nor HOME is set\n";
        return EXIT_FAILED;
    }
    return value == "on" ? turnOn(programName, folder, out, err)
                         : turnOff(programName, folder, out, err);
}

} // namespace lumivane
