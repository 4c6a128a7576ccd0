"""A real FTP server for the tests, on a free loopback port.

Prints "PORT <number>" once it listens, then serves until it is stopped.
  ftpserver.py --root DIR --user U --password P [--perm elradfmwMT]
               [--cert-dir DIR]   (explicit FTPS with a certificate made there)
               [--reset-data]     (each data connection is reset at once)
  ftpserver.py --make-certificate DIR
               (only writes DIR/cert.pem and DIR/key.pem, for another server)
"""
import argparse
import os
import socket
import struct
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, TLS_DTPHandler, TLS_FTPHandler
from pyftpdlib.servers import FTPServer


def make_certificate(folder):
    """A self-signed certificate for 127.0.0.1, its own authority."""
    from OpenSSL import crypto
    key = crypto.PKey()
    key.generate_key(crypto.TYPE_RSA, 2048)
    cert = crypto.X509()
    cert.get_subject().CN = "127.0.0.1"
    cert.set_serial_number(1)
    cert.gmtime_adj_notBefore(-3600)
    cert.gmtime_adj_notAfter(24 * 3600)
    cert.set_issuer(cert.get_subject())
    cert.set_pubkey(key)
    cert.add_extensions([
        crypto.X509Extension(b"basicConstraints", True, b"CA:TRUE"),
        crypto.X509Extension(b"subjectAltName", False, b"IP:127.0.0.1"),
    ])
    cert.sign(key, "sha256")
    certfile = os.path.join(folder, "cert.pem")
    keyfile = os.path.join(folder, "key.pem")
    with open(certfile, "wb") as out:
        out.write(crypto.dump_certificate(crypto.FILETYPE_PEM, cert))
    with open(keyfile, "wb") as out:
        out.write(crypto.dump_privatekey(crypto.FILETYPE_PEM, key))
    return certfile, keyfile


class DataChannel(TLS_DTPHandler):
    """Reads the TLS handshake that a client starts on the data connection
    before the transfer command (libcurl does); pyftpdlib 1.5.7 closes the
    connection instead."""

    def readable(self):
        return self._ssl_accepting or super().readable()


class ResetDataChannel(DataChannel):
    """A data channel that a broken network or firewall resets as soon as the
    client connects: the control connection goes on."""

    def __init__(self, sock, cmd_channel):
        # Closed, the connection is reset rather than ended.
        sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        super().__init__(sock, cmd_channel)

    def _do_ssl_handshake(self):
        self.close()


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--make-certificate":
        make_certificate(sys.argv[2])
        return 0
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--perm", default="elradfmwMT")
    parser.add_argument("--cert-dir")
    parser.add_argument("--reset-data", action="store_true")
    args = parser.parse_args()

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm=args.perm)
    handler = FTPHandler
    if args.cert_dir:
        handler = TLS_FTPHandler
        handler.dtp_handler = ResetDataChannel if args.reset_data else DataChannel
        handler.certfile, handler.keyfile = make_certificate(args.cert_dir)
        handler.tls_control_required = True
        handler.tls_data_required = True
    handler.authorizer = authorizer
    handler.auth_failed_timeout = 0.1  # a refused login answers at once
    server = FTPServer(("127.0.0.1", 0), handler)
    print("PORT", server.address[1], flush=True)
    # The test holds the other end of stdin: when it ends, even by a crash,
    # the server ends too.
    threading.Thread(target=lambda: (sys.stdin.read(), os._exit(0)), daemon=True).start()
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
