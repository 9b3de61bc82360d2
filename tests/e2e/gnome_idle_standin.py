#!/usr/bin/python3
"""Stand-ins for the GNOME session services the idle watcher asks, on the bus in
$DBUS_SESSION_BUS_ADDRESS: org.gnome.Mutter.IdleMonitor with idle watches that
fire the way GNOME's do, org.gnome.SessionManager's IsInhibited, and
org.freedesktop.login1 with the LockedHint of one session (the test points the
system bus at the same bus). The test acts through org.lumivane.Test on
/org/lumivane/Test: Input(), SetInhibited(b), SetLocked(b). Prints "ready"
once every name is owned."""
import sys
import time

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

MONITOR = "org.gnome.Mutter.IdleMonitor"
SESSION = "org.gnome.SessionManager"
LOGIN_MANAGER = "org.freedesktop.login1.Manager"
LOGIN_SESSION = "org.freedesktop.login1.Session"
PROPERTIES = "org.freedesktop.DBus.Properties"
TEST = "org.lumivane.Test"
SESSION_PATH = "/org/freedesktop/login1/session/c1"
INHIBIT_IDLE = 8


def now_ms():
    return int(time.monotonic() * 1000)


class IdleMonitor(dbus.service.Object):
    """Idle watches fire each time the idle time passes their interval (at once
    when it already has); user-active watches fire once, on the next input."""

    def __init__(self, bus):
        super().__init__(bus, "/org/gnome/Mutter/IdleMonitor/Core")
        self.last_input = now_ms()
        self.next_id = 1
        self.idle_watches = {}  # id -> [interval, GLib source or None]
        self.active_watches = set()

    def _arm(self, watch_id):
        interval, source = self.idle_watches[watch_id]
        if source is not None:
            GLib.source_remove(source)
        delay = max(0, self.last_input + interval - now_ms())
        self.idle_watches[watch_id][1] = GLib.timeout_add(delay, self._fire, watch_id)

    def _fire(self, watch_id):
        if watch_id in self.idle_watches:
            self.idle_watches[watch_id][1] = None
            self.WatchFired(dbus.UInt32(watch_id))
        return False

    def input(self):
        self.last_input = now_ms()
        for watch_id in list(self.active_watches):
            self.active_watches.discard(watch_id)
            self.WatchFired(dbus.UInt32(watch_id))
        for watch_id in self.idle_watches:
            self._arm(watch_id)

    @dbus.service.method(MONITOR, out_signature="t")
    def GetIdletime(self):
        return dbus.UInt64(now_ms() - self.last_input)

    @dbus.service.method(MONITOR, in_signature="t", out_signature="u")
    def AddIdleWatch(self, interval):
        watch_id = self.next_id
        self.next_id += 1
        self.idle_watches[watch_id] = [int(interval), None]
        self._arm(watch_id)
        return dbus.UInt32(watch_id)

    @dbus.service.method(MONITOR, out_signature="u")
    def AddUserActiveWatch(self):
        watch_id = self.next_id
        self.next_id += 1
        self.active_watches.add(watch_id)
        return dbus.UInt32(watch_id)

    @dbus.service.method(MONITOR, in_signature="u")
    def RemoveWatch(self, watch_id):
        watch = self.idle_watches.pop(int(watch_id), None)
        if watch is not None and watch[1] is not None:
            GLib.source_remove(watch[1])
        self.active_watches.discard(int(watch_id))

    @dbus.service.signal(MONITOR, signature="u")
    def WatchFired(self, watch_id):
        pass


class SessionManager(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, "/org/gnome/SessionManager")
        self.inhibited = False

    @dbus.service.method(SESSION, in_signature="u", out_signature="b")
    def IsInhibited(self, flags):
        return self.inhibited and bool(flags & INHIBIT_IDLE)

    @dbus.service.signal(SESSION, signature="o")
    def InhibitorAdded(self, path):
        pass

    @dbus.service.signal(SESSION, signature="o")
    def InhibitorRemoved(self, path):
        pass


class LoginManager(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, "/org/freedesktop/login1")

    @dbus.service.method(LOGIN_MANAGER, in_signature="s", out_signature="o")
    def GetSession(self, session_id):
        return dbus.ObjectPath(SESSION_PATH)


class LoginSession(dbus.service.Object):
    """The same session under its own path and under .../session/auto."""

    def __init__(self, bus, path):
        super().__init__(bus, path)
        self.locked = False

    @dbus.service.method(PROPERTIES, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        if interface == LOGIN_SESSION and name == "LockedHint":
            return dbus.Boolean(self.locked)
        raise dbus.exceptions.DBusException(
            "no such property", name="org.freedesktop.DBus.Error.UnknownProperty")


class Test(dbus.service.Object):
    def __init__(self, bus, monitor, session, logins):
        super().__init__(bus, "/org/lumivane/Test")
        self.monitor, self.session, self.logins = monitor, session, logins

    @dbus.service.method(TEST)
    def Input(self):
        self.monitor.input()

    @dbus.service.method(TEST, in_signature="b")
    def SetInhibited(self, on):
        path = dbus.ObjectPath("/org/gnome/SessionManager/Inhibitor1")
        self.session.inhibited = bool(on)
        if on:
            self.session.InhibitorAdded(path)
        else:
            self.session.InhibitorRemoved(path)

    @dbus.service.method(TEST, in_signature="b")
    def SetLocked(self, on):
        for login in self.logins:
            login.locked = bool(on)


def main():
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    monitor = IdleMonitor(bus)
    session = SessionManager(bus)
    LoginManager(bus)
    logins = [LoginSession(bus, SESSION_PATH),
              LoginSession(bus, "/org/freedesktop/login1/session/auto")]
    Test(bus, monitor, session, logins)
    names = [dbus.service.BusName(name, bus) for name in
             (MONITOR, SESSION, "org.freedesktop.login1", TEST)]
    loop = GLib.MainLoop()
    GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, 15, loop.quit)
    bus.call_on_disconnection(lambda _: loop.quit())
    print("ready", flush=True)
    loop.run()
    del names


if __name__ == "__main__":
    sys.exit(main())
