#!/usr/bin/env python3
"""Stand-in for the vendor's services, for tests and the demo: one HTTPS server on loopback.

It serves
  POST /dravoServer/config/getAppConfig   the configuration service
  GET  /end-user-agreement/               the agreement page
and whatever the routes registered in ROUTES add. Tests steer it through /_standin/:
  POST /_standin/reply     {"path", "status", "body" | "body_b64", "headers", "hang", "chunked",
                            "repeat"}
                           answers every later request for that path with this reply
                           (chunked: the body goes out in chunks, without a Content-Length;
                           repeat: the body is sent that many times over, as one body)
  POST /_standin/reset     forgets every reply set and every request recorded
  GET  /_standin/requests  the requests received so far (control requests excluded):
                           [{"method", "path", "client_port", "headers": [[name, value], ...], "body"}]
                           bodies as Latin-1 text, so every byte survives the JSON.
With --extra-listen it also answers on further ports with other certificates (one from a CA
nobody trusts, one for another host name), so tests can show those being refused.
Only loopback addresses are accepted for --host. A hanging reply gives up after --hang-limit
seconds, so nothing the server does lasts for ever.
"""

import argparse
import base64
import http.server
import ipaddress
import json
import os
import signal
import socketserver
import ssl
import sys
import threading
import time

import download_host  # the download host's routes and its --setup-file option

CONFIG_PATH = "/dravoServer/config/getAppConfig"
AGREEMENT_PATH = "/end-user-agreement/"

# Extra routes: path -> function(handler, method) that answers the request.
ROUTES = {}


class Reply:
    def __init__(self, status=200, body=b"", headers=None, hang=False, chunked=False, repeat=1):
        self.status = status
        self.body = body
        self.headers = headers or {}
        self.hang = hang
        self.chunked = chunked
        self.repeat = repeat

    @classmethod
    def from_json(cls, spec):
        if "body_b64" in spec:
            body = base64.b64decode(spec["body_b64"])
        else:
            body = spec.get("body", "").encode("utf-8")
        return cls(int(spec.get("status", 200)), body, spec.get("headers", {}), bool(spec.get("hang")),
                   bool(spec.get("chunked")), int(spec.get("repeat", 1)))


class StandIn:
    """What the server has been told and what it has seen; shared by all handler threads."""

    def __init__(self, base_url, hang_limit):
        self.base_url = base_url
        self.hang_limit = hang_limit
        self.lock = threading.Lock()
        self.replies = {}
        self.requests = []

    def default_config(self):
        answer = {
            "code": 200,
            "message": "success",
            "data": [
                {"configKey": "download_url",
                 "configValue": self.base_url + "/download/dravo_com_installer.exe"},
            ],
        }
        return Reply(200, json.dumps(answer).encode(), {"Content-Type": "application/json"})


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "VendorStandIn/1.0"

    def log_message(self, fmt, *args):
        if self.server.verbose:
            sys.stderr.write("[vendor] %s %s\n" % (self.address_string(), fmt % args))

    @property
    def standin(self):
        return self.server.standin

    def read_body(self):
        length = int(self.headers.get("Content-Length") or 0)
        return self.rfile.read(length) if length > 0 else b""

    def send(self, reply, method):
        if reply.hang:
            # Accept the request and say nothing until the client gives up or the limit ends.
            time.sleep(self.standin.hang_limit)
            self.close_connection = True
            return
        self.send_response(reply.status)
        if reply.chunked:
            headers = {"Transfer-Encoding": "chunked"}
        else:
            headers = {"Content-Length": str(len(reply.body) * reply.repeat)}
        headers.update(reply.headers)
        for name, value in headers.items():
            if value is not None:
                self.send_header(name, value)
        self.end_headers()
        if method == "HEAD":
            return
        try:
            for _ in range(reply.repeat):
                if not reply.chunked:
                    self.wfile.write(reply.body)
                    continue
                for start in range(0, len(reply.body), 65536):
                    piece = reply.body[start:start + 65536]
                    self.wfile.write(b"%x\r\n%s\r\n" % (len(piece), piece))
            if reply.chunked:
                self.wfile.write(b"0\r\n\r\n")
        except OSError:
            self.close_connection = True  # the client stopped reading

    def control(self, method, path, body):
        st = self.standin
        if method == "POST" and path == "/_standin/reply":
            spec = json.loads(body)
            with st.lock:
                st.replies[spec["path"]] = Reply.from_json(spec)
            return self.send(Reply(200, b"ok"), method)
        if method == "POST" and path == "/_standin/reset":
            with st.lock:
                st.replies.clear()
                st.requests.clear()
            return self.send(Reply(200, b"ok"), method)
        if method == "GET" and path == "/_standin/requests":
            with st.lock:
                text = json.dumps(st.requests)
            return self.send(Reply(200, text.encode(), {"Content-Type": "application/json"}), method)
        return self.send(Reply(404, b"no such control"), method)

    def dispatch(self, method):
        path = self.path.split("?", 1)[0]
        body = self.read_body() if method in ("POST", "PUT") else b""
        if path.startswith("/_standin/"):
            return self.control(method, path, body)

        st = self.standin
        with st.lock:
            st.requests.append({
                "method": method,
                "path": self.path,
                "client_port": self.client_address[1],
                "headers": [[k, v] for k, v in self.headers.items()],
                "body": body.decode("latin-1"),
            })
            reply = st.replies.get(path)
        if reply is not None:
            return self.send(reply, method)
        if path == CONFIG_PATH and method == "POST":
            return self.send(st.default_config(), method)
        if path == AGREEMENT_PATH:
            page = "<html><head><meta charset='utf-8'><title>用户协议</title></head>" \
                   "<body><h1>德拉沃归档助手 用户协议</h1></body></html>"
            return self.send(Reply(200, page.encode(), {"Content-Type": "text/html; charset=utf-8"}),
                             method)
        route = ROUTES.get(path)
        if route is not None:
            return route(self, method)
        return self.send(Reply(404, b"<html><body>404 Not Found</body></html>",
                               {"Content-Type": "text/html"}), method)

    def do_GET(self):
        self.dispatch("GET")

    def do_POST(self):
        self.dispatch("POST")

    def do_HEAD(self):
        self.dispatch("HEAD")


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def make_server(host, port, certs, cert_name, standin, verbose):
    server = Server((host, port), Handler)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(os.path.join(certs, cert_name + ".pem"), os.path.join(certs, cert_name + ".key"))
    # The handshake happens on the first read, in the connection's own thread, so one slow
    # client cannot hold up the others.
    server.socket = context.wrap_socket(server.socket, server_side=True, do_handshake_on_connect=False)
    server.verbose = verbose
    server.standin = standin
    return server


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--host", default="127.0.0.1")
    ap.add_argument("--port", type=int, required=True)
    ap.add_argument("--certs", required=True, help="folder with the certificates of make-certs.sh")
    ap.add_argument("--extra-listen", action="append", default=[], metavar="PORT:CERT",
                    help="also serve on PORT with CERT.pem (forged, wronghost), sharing all state")
    ap.add_argument("--ready-file", help="written once the server listens")
    ap.add_argument("--hang-limit", type=float, default=120.0)
    ap.add_argument("--verbose", action="store_true")
    download_host.add_arguments(ap)
    args = ap.parse_args()

    if not ipaddress.ip_address(args.host).is_loopback:
        ap.error("the stand-in listens on loopback only")

    download_host.register(ROUTES, args)
    standin = StandIn("https://localhost:%d" % args.port, args.hang_limit)
    servers = [make_server(args.host, args.port, args.certs, "server", standin, args.verbose)]
    for extra in args.extra_listen:
        port, cert = extra.split(":", 1)
        servers.append(make_server(args.host, int(port), args.certs, cert, standin, args.verbose))
    for extra in servers[1:]:
        threading.Thread(target=extra.serve_forever, daemon=True).start()

    def stop(*_):
        for server in servers:
            threading.Thread(target=server.shutdown).start()
    signal.signal(signal.SIGTERM, stop)

    if args.ready_file:
        with open(args.ready_file, "w") as f:
            f.write(str(os.getpid()))
    try:
        servers[0].serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        for server in servers:
            server.server_close()


if __name__ == "__main__":
    main()
