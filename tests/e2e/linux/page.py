#!/usr/bin/env python3
"""Runs a script in the page shown by the panel's browser view, through the
browser engine's remote debugging port on the loopback address, and prints
the result: page.py PORT EXPRESSION. Stands in for the online handwriting
pad, which writes recognised text into the page's field."""
import base64
import json
import os
import socket
import struct
import sys
import urllib.request


def page_socket_url(port):
    with urllib.request.urlopen(f"http://127.0.0.1:{port}/json", timeout=5) as reply:
        targets = json.load(reply)
    for t in targets:
        if t.get("type") == "page" and t.get("url", "").endswith("s1.html"):
            return t["webSocketDebuggerUrl"]
    raise SystemExit("no page s1.html among " + ", ".join(t.get("url", "") for t in targets))


def recv_exact(sock, n):
    data = b""
    while len(data) < n:
        chunk = sock.recv(n - len(data))
        if not chunk:
            raise SystemExit("connection closed")
        data += chunk
    return data


def send_text(sock, text):
    payload = text.encode()
    mask = os.urandom(4)
    header = bytes([0x81])
    n = len(payload)
    if n < 126:
        header += bytes([0x80 | n])
    elif n < 65536:
        header += bytes([0x80 | 126]) + struct.pack(">H", n)
    else:
        header += bytes([0x80 | 127]) + struct.pack(">Q", n)
    sock.sendall(header + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(payload)))


def recv_text(sock):
    first, second = recv_exact(sock, 2)
    n = second & 0x7F
    if n == 126:
        n = struct.unpack(">H", recv_exact(sock, 2))[0]
    elif n == 127:
        n = struct.unpack(">Q", recv_exact(sock, 8))[0]
    return recv_exact(sock, n).decode()


def evaluate(port, expression):
    url = page_socket_url(port)
    rest = url.split("://", 1)[1]
    hostport, path = rest.split("/", 1)
    host, p = hostport.split(":")
    sock = socket.create_connection((host, int(p)), timeout=5)
    key = base64.b64encode(os.urandom(16)).decode()
    sock.sendall((f"GET /{path} HTTP/1.1\r\nHost: {hostport}\r\nUpgrade: websocket\r\n"
                  f"Connection: Upgrade\r\nSec-WebSocket-Key: {key}\r\nSec-WebSocket-Version: 13\r\n\r\n").encode())
    response = b""
    while b"\r\n\r\n" not in response:
        response += sock.recv(1)
    if b" 101 " not in response.split(b"\r\n", 1)[0]:
        raise SystemExit("no websocket: " + response.decode(errors="replace"))
    send_text(sock, json.dumps({"id": 1, "method": "Runtime.evaluate",
                                "params": {"expression": expression, "returnByValue": True}}))
    while True:
        message = json.loads(recv_text(sock))
        if message.get("id") == 1:
            sock.close()
            return message["result"]["result"].get("value")


if __name__ == "__main__":
    print(json.dumps(evaluate(int(sys.argv[1]), sys.argv[2]), ensure_ascii=False))
