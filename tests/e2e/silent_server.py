# A sound server's socket that never answers, as a frozen server or a socket-activated one that
# never starts would: silent_server.py [--listen-only] PATH...
# It takes every connection, or with --listen-only only listens: connections wait in its
# backlog, never accepted.
import os
import select
import socket
import sys

paths = sys.argv[1:]
accepting = True
if paths and paths[0] == "--listen-only":
    accepting = False
    paths = paths[1:]

listeners = []
for path in paths:
    os.makedirs(os.path.dirname(path), exist_ok=True)
    if os.path.exists(path):
        os.unlink(path)
    listener = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    listener.bind(path)
    listener.listen(128)
    listeners.append(listener)
held = []
while True:
    if not accepting:
        select.select([], [], [])
    ready, _, _ = select.select(listeners, [], [])
    for listener in ready:
        connection, _ = listener.accept()
        held.append(connection)
