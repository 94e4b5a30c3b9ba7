# A sound server's socket that takes every connection and never answers, as a frozen server
# or a socket-activated one that never starts would: silent_server.py PATH...
import os
import select
import socket
import sys

listeners = []
for path in sys.argv[1:]:
    os.makedirs(os.path.dirname(path), exist_ok=True)
    if os.path.exists(path):
        os.unlink(path)
    listener = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    listener.bind(path)
    listener.listen(128)
    listeners.append(listener)
held = []
while True:
    ready, _, _ = select.select(listeners, [], [])
    for listener in ready:
        connection, _ = listener.accept()
        held.append(connection)
