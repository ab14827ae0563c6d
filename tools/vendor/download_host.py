"""The vendor's download host, as part of the vendor stand-in (vendor_server.py).

It answers HEAD and GET, always with a Content-Length unless a case says otherwise, for
  /download/dravo_com_installer.exe    the address the configuration service hands out
  /dravo_com_install.exe               the installer's fallback address
with the setup program given by --setup-file, or, without one, a generated body of a few MiB.

Misbehaviour is chosen by path: /download/<case>/dravo_com_installer.exe, where <case> is
  generated         the generated body of GENERATED_SIZE bytes, whatever --setup-file says
  large             a generated body of LARGE_SIZE bytes (over 200 MiB), streamed block by block
  large-<n>         a generated body of exactly n MiB, streamed block by block, for n in
                    SIZED_MIB (the benchmarks' files)
  404, 500          an error page with its length
  redirect          302 to the "generated" case
  redirect-http     302 to the "generated" case over plain http://
  redirect-loop     302 to itself, for ever
  chunked           chunked answers without any length, to HEAD and GET alike
  short             announces the generated body, sends half of it, closes cleanly
  drop              announces the generated body, sends half of it, resets the connection
  drip              announces the generated body, sends a few bytes for a few seconds, then
                    stalls until DRIP_STALL_LIMIT (or the server's --hang-limit) has passed
  empty             200 with a zero-byte body
  long              announces the generated body and sends EXTRA_BYTES more after it
  longer-than-head  HEAD announces the generated body; GET sends EXTRA_BYTES more, chunked
  shorter-than-head HEAD announces the generated body; GET announces and sends half of it
Every case ends by itself.

The generated body is made of BLOCK-byte blocks: block k is k as an 8-byte little-endian number
followed by bytes 8.. of BASE_BLOCK, where byte j of BASE_BLOCK is (131 j + 17 (j >> 9) + 0x5A)
mod 256. The last block is cut to the body's length. Tests rebuild it from this rule.
"""

import os
import socket
import struct
import time

SETUP_NAME = "dravo_com_installer.exe"
DOWNLOAD_PATH = "/download/" + SETUP_NAME
FALLBACK_PATH = "/dravo_com_install.exe"

BLOCK = 65536
BASE_BLOCK = bytes((131 * j + 17 * (j >> 9) + 0x5A) & 0xFF for j in range(BLOCK))
GENERATED_SIZE = 3 * 1024 * 1024 + 12345
LARGE_SIZE = 200 * 1024 * 1024 + 4321
SIZED_MIB = (16, 256)
EXTRA_BYTES = 4096
DRIP_SECONDS = 3.0
DRIP_STALL_LIMIT = 60.0

# Set by register(): the setup program to serve, or None.
_setup_file = None


def generated_chunks(size, blocks_per_chunk=4):
    """The generated body of size bytes, a few blocks at a time."""
    offset = 0
    while offset < size:
        parts = []
        for _ in range(blocks_per_chunk):
            if offset >= size:
                break
            block = (offset // BLOCK).to_bytes(8, "little") + BASE_BLOCK[8:]
            parts.append(block[: size - offset])
            offset += len(parts[-1])
        yield b"".join(parts)


def generated(size):
    return b"".join(generated_chunks(size))


def setup_body():
    """The setup program's bytes, read at each request so that a rebuilt one is served."""
    if _setup_file and os.path.isfile(_setup_file):
        with open(_setup_file, "rb") as f:
            return f.read()
    return generated(GENERATED_SIZE)


def start(handler, status, headers, length=None):
    handler.send_response(status)
    if length is not None:
        handler.send_header("Content-Length", str(length))
    for name, value in headers:
        handler.send_header(name, value)
    handler.end_headers()


def answer(handler, method, status, body, headers=()):
    start(handler, status, [("Content-Type", "application/octet-stream")] + list(headers), len(body))
    if method == "GET":
        handler.wfile.write(body)


def close_cleanly(handler):
    """Sends the TLS close and closes, so that the client sees an orderly end of the stream."""
    handler.close_connection = True
    conn = handler.connection
    try:
        conn.settimeout(2.0)
        plain = conn.unwrap()
        plain.shutdown(socket.SHUT_RDWR)
    except OSError:
        pass


def reset(handler):
    """Drops the connection at once, without TLS close: the client sees a reset."""
    handler.close_connection = True
    conn = handler.connection
    try:
        conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        conn.close()
    except OSError:
        pass


def url_of(handler, case, scheme="https"):
    base = handler.server.standin.base_url
    if scheme != "https":
        base = scheme + base[len("https"):]
    return "%s/download/%s/%s" % (base, case, SETUP_NAME)


def serve_setup(handler, method):
    answer(handler, method, 200, setup_body())


def case_generated(handler, method):
    answer(handler, method, 200, generated(GENERATED_SIZE))


def case_large(handler, method):
    start(handler, 200, [("Content-Type", "application/octet-stream")], LARGE_SIZE)
    if method == "GET":
        for chunk in generated_chunks(LARGE_SIZE):
            handler.wfile.write(chunk)


def sized_case(size):
    """The generated body of size bytes, streamed like the "large" case."""
    def serve(handler, method):
        start(handler, 200, [("Content-Type", "application/octet-stream")], size)
        if method == "GET":
            for chunk in generated_chunks(size):
                handler.wfile.write(chunk)
    return serve


def error_case(status):
    def serve(handler, method):
        page = ("<html><body><h1>%d</h1>the download host could not serve this file</body></html>"
                % status).encode()
        start(handler, status, [("Content-Type", "text/html")], len(page))
        if method == "GET":
            handler.wfile.write(page)
    return serve


def redirect_case(target_case, scheme="https"):
    def serve(handler, method):
        body = b"<html><body>moved</body></html>"
        start(handler, 302, [("Location", url_of(handler, target_case, scheme)),
                             ("Content-Type", "text/html")], len(body))
        if method == "GET":
            handler.wfile.write(body)
    return serve


def case_chunked(handler, method):
    start(handler, 200, [("Content-Type", "application/octet-stream"),
                         ("Transfer-Encoding", "chunked")])
    if method == "GET":
        for chunk in generated_chunks(GENERATED_SIZE):
            handler.wfile.write(b"%x\r\n%s\r\n" % (len(chunk), chunk))
        handler.wfile.write(b"0\r\n\r\n")


def case_short(handler, method):
    body = generated(GENERATED_SIZE)
    start(handler, 200, [("Content-Type", "application/octet-stream")], len(body))
    if method == "GET":
        handler.wfile.write(body[: len(body) // 2])
        close_cleanly(handler)


def case_drop(handler, method):
    body = generated(GENERATED_SIZE)
    start(handler, 200, [("Content-Type", "application/octet-stream")], len(body))
    if method == "GET":
        handler.wfile.write(body[: len(body) // 2])
        reset(handler)


def case_drip(handler, method):
    body = generated(GENERATED_SIZE)
    start(handler, 200, [("Content-Type", "application/octet-stream")], len(body))
    if method != "GET":
        return
    handler.close_connection = True
    sent = 0
    began = time.monotonic()
    try:
        while time.monotonic() - began < DRIP_SECONDS:
            handler.wfile.write(body[sent: sent + 16])
            sent += 16
            time.sleep(0.25)
        # Stall: the client has to give up by itself; the stall ends anyway.
        time.sleep(min(DRIP_STALL_LIMIT, handler.server.standin.hang_limit))
    except OSError:
        pass


def case_empty(handler, method):
    answer(handler, method, 200, b"")


def case_long(handler, method):
    body = generated(GENERATED_SIZE)
    start(handler, 200, [("Content-Type", "application/octet-stream")], len(body))
    if method == "GET":
        handler.close_connection = True
        handler.wfile.write(body + generated(EXTRA_BYTES))


def case_longer_than_head(handler, method):
    body = generated(GENERATED_SIZE)
    if method == "HEAD":
        start(handler, 200, [("Content-Type", "application/octet-stream")], len(body))
        return
    start(handler, 200, [("Content-Type", "application/octet-stream"),
                         ("Transfer-Encoding", "chunked")])
    for chunk in generated_chunks(GENERATED_SIZE + EXTRA_BYTES):
        handler.wfile.write(b"%x\r\n%s\r\n" % (len(chunk), chunk))
    handler.wfile.write(b"0\r\n\r\n")


def case_shorter_than_head(handler, method):
    body = generated(GENERATED_SIZE)
    if method == "HEAD":
        start(handler, 200, [("Content-Type", "application/octet-stream")], len(body))
        return
    answer(handler, method, 200, body[: len(body) // 2])


CASES = {
    "generated": case_generated,
    "large": case_large,
    "404": error_case(404),
    "500": error_case(500),
    "redirect": redirect_case("generated"),
    "redirect-http": redirect_case("generated", "http"),
    "redirect-loop": redirect_case("redirect-loop"),
    "chunked": case_chunked,
    "short": case_short,
    "drop": case_drop,
    "drip": case_drip,
    "empty": case_empty,
    "long": case_long,
    "longer-than-head": case_longer_than_head,
    "shorter-than-head": case_shorter_than_head,
}
CASES.update(("large-%d" % mib, sized_case(mib * 1024 * 1024)) for mib in SIZED_MIB)


def only_head_and_get(serve):
    def route(handler, method):
        if method not in ("HEAD", "GET"):
            body = b"only HEAD and GET"
            start(handler, 405, [("Allow", "HEAD, GET")], len(body))
            handler.wfile.write(body)
            return
        serve(handler, method)
    return route


def add_arguments(parser):
    parser.add_argument("--setup-file", help="the setup program the download host serves "
                        "(default: a generated body of %d bytes)" % GENERATED_SIZE)


def register(routes, args):
    """Adds the download host's paths to the stand-in's routes."""
    global _setup_file
    _setup_file = args.setup_file
    routes[DOWNLOAD_PATH] = only_head_and_get(serve_setup)
    routes[FALLBACK_PATH] = only_head_and_get(serve_setup)
    for case, serve in CASES.items():
        routes["/download/%s/%s" % (case, SETUP_NAME)] = only_head_and_get(serve)
