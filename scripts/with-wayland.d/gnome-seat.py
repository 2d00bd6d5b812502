#!/usr/bin/python3
# The test bed's keyboard and pointer on gnome-shell: one org.gnome.Mutter.RemoteDesktop session,
# held by this process for the whole run (mutter ends a session when its creator leaves the bus),
# serving the same one-line requests as seat.c:
#
#   click X Y | move X Y | key NAME | press NAME | release NAME   -> "ok" or "error ..."
#
#   gnome-seat.py SEAT_HELPER REQUEST_FIFO REPLY_FIFO
#
# Absolute pointer motion needs a screen-cast stream; relative motion is not accelerated, so the
# pointer is moved by the difference to where the shell says it is, and checked there.
import os
import subprocess
import sys
import time

from gi.repository import Gio, GLib

BTN_LEFT = 0x110
KEY_LEFTSHIFT = 42


def main():
    seat_helper, request_path, reply_path = sys.argv[1:4]
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)

    def call(name, path, interface, method, args=None, reply=None):
        return bus.call_sync(name, path, interface, method, args,
                             GLib.VariantType(reply) if reply else None,
                             Gio.DBusCallFlags.NONE, 5000, None)

    (session_path,) = call("org.gnome.Mutter.RemoteDesktop", "/org/gnome/Mutter/RemoteDesktop",
                           "org.gnome.Mutter.RemoteDesktop", "CreateSession", None, "(o)").unpack()

    def session(method, signature=None, *args):
        call("org.gnome.Mutter.RemoteDesktop", session_path, "org.gnome.Mutter.RemoteDesktop.Session",
             method, GLib.Variant(signature, args) if signature else None)

    def shell_eval(code):
        ok, result = call("org.gnome.Shell", "/org/gnome/Shell", "org.gnome.Shell", "Eval",
                          GLib.Variant("(s)", (code,)), "(bs)").unpack()
        if not ok:
            raise RuntimeError("gnome-shell refused Eval: " + result)
        return result

    def pointer():
        x, y = shell_eval("global.get_pointer().slice(0, 2).join(' ')").strip('"').split()
        return int(x), int(y)

    session("Start")
    # The session's keyboard appears with its first key, and keys sent before were lost.
    session("NotifyKeyboardKeycode", "(ub)", KEY_LEFTSHIFT, True)
    session("NotifyKeyboardKeycode", "(ub)", KEY_LEFTSHIFT, False)

    def move(x, y):
        for _ in range(5):
            cx, cy = pointer()
            if (cx, cy) == (x, y):
                return
            session("NotifyPointerMotionRelative", "(dd)", float(x - cx), float(y - cy))
            # Motion is handled in mutter's input thread: the next difference is taken only
            # once the shell has seen this one, or a busy machine would make it overshoot.
            for _ in range(100):
                if pointer() != (cx, cy):
                    break
                time.sleep(0.01)
        raise RuntimeError("the pointer did not reach %d %d (it is at %d %d)" % ((x, y) + pointer()))

    def lookup(name):
        out = subprocess.run([seat_helper, "lookup", name], capture_output=True, text=True)
        if out.returncode != 0:
            raise RuntimeError(out.stderr.strip().removeprefix("seat: "))
        code, shift = out.stdout.split()
        return int(code), shift == "1"

    def handle(line):
        words = line.split()
        if not words:
            raise RuntimeError("empty request")
        verb = words[0]
        if verb in ("click", "move") and len(words) == 3:
            move(int(words[1]), int(words[2]))
            if verb == "click":
                session("NotifyPointerButton", "(ib)", BTN_LEFT, True)
                session("NotifyPointerButton", "(ib)", BTN_LEFT, False)
        elif verb in ("key", "press", "release") and len(words) == 2:
            code, shift = lookup(words[1])
            down, up = verb != "release", verb != "press"
            if shift and down:
                session("NotifyKeyboardKeycode", "(ub)", KEY_LEFTSHIFT, True)
            if down:
                session("NotifyKeyboardKeycode", "(ub)", code, True)
            if up:
                session("NotifyKeyboardKeycode", "(ub)", code, False)
            if shift and up:
                session("NotifyKeyboardKeycode", "(ub)", KEY_LEFTSHIFT, False)
        else:
            raise RuntimeError("unknown request (click X Y, move X Y, key|press|release NAME)")
        # The shell has handled what came before once it answers.
        shell_eval("1")

    print("ready", flush=True)
    with open(request_path, "r+b", buffering=0) as requests:
        pending = b""
        while True:
            chunk = os.read(requests.fileno(), 512)
            pending += chunk
            while b"\n" in pending:
                line, pending = pending.split(b"\n", 1)
                try:
                    handle(line.decode())
                    reply = "ok"
                except (RuntimeError, ValueError, GLib.Error) as error:
                    reply = "error " + str(error)
                with open(reply_path, "w") as out:
                    out.write(reply + "\n")


if __name__ == "__main__":
    main()
