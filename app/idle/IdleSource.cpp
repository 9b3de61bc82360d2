#include "app/idle/IdleSource.h"

#include "app/idle/MutterIdleSource.h"
#include "app/idle/WaylandIdleSources.h"
#include "app/idle/X11IdleSource.h"

#include <QStringList>

namespace lumivane {

std::unique_ptr<IdleSource> openIdleSource(QString& problem) {
    QStringList tried;
    QString why;
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        if (std::unique_ptr<IdleSource> source = openWaylandIdleSource(why))
            return source;
        tried << why;
    }
    if (std::unique_ptr<IdleSource> source = MutterIdleSource::open(why))
        return source;
    tried << why;
    if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
        if (std::unique_ptr<IdleSource> source = X11IdleSource::open(why))
            return source;
        tried << why;
    } else {
        tried << QStringLiteral("no X display ($DISPLAY is not set)");
    }
    problem = tried.join(QStringLiteral("; "));
    return nullptr;
}

} // namespace lumivane
