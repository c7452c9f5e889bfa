#!/usr/bin/python3
"""A mail server for the notice tests: smtp_test_server.py DIR USER PASSWORD PORT [--tls] [--reject ADDRESS]...
aiosmtpd on 127.0.0.1 (PORT 0: a free one) with TLS (STARTTLS, or TLS from the first byte with --tls) by a
self-signed certificate it makes in DIR (cert.pem, key.pem), and a required login. DIR/received.json lists
the accepted messages: the envelope recipients joined with ",", and the subject, To header and body as the
standard library's mail parser decodes them. A recipient named with --reject is answered 550. Prints "PORT n"
once it listens; ends on SIGTERM."""
import argparse
import asyncio
import email
import email.policy
import json
import logging
import os
import signal
import ssl
import subprocess
import warnings

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


class Handler:
    def __init__(self, folder, rejected):
        self.file = os.path.join(folder, "received.json")
        self.rejected = set(rejected)
        # A server started again on the same folder adds to what it received before.
        self.received = json.load(open(self.file, encoding="utf-8")) if os.path.exists(self.file) else []

    async def handle_RCPT(self, server, session, envelope, address, options):
        if address in self.rejected:
            return "550 5.1.1 No such mailbox"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        message = email.message_from_bytes(envelope.original_content, policy=email.policy.default)
        self.received.append({"rcpt": ",".join(envelope.rcpt_tos), "subject": str(message["Subject"]),
                              "to": str(message["To"]), "body": message.get_content()})
        with open(self.file + ".new", "w", encoding="utf-8") as f:
            json.dump(self.received, f, ensure_ascii=False)
        os.replace(self.file + ".new", self.file)
        return "250 Message accepted"


def main():
    p = argparse.ArgumentParser()
    p.add_argument("dir")
    p.add_argument("user")
    p.add_argument("password")
    p.add_argument("port", type=int)
    p.add_argument("--tls", action="store_true")
    p.add_argument("--reject", action="append", default=[])
    a = p.parse_args()
    # The test means to require the login over TLS from the first byte; aiosmtpd warns about it anyway.
    warnings.simplefilter("ignore")
    logging.getLogger("mail.log").setLevel(logging.ERROR)

    cert, key = os.path.join(a.dir, "cert.pem"), os.path.join(a.dir, "key.pem")
    if not os.path.exists(cert):
        subprocess.run(["openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                        "-nodes", "-keyout", key, "-out", cert, "-days", "2", "-subj", "/CN=127.0.0.1",
                        "-addext", "subjectAltName=IP:127.0.0.1"], check=True, capture_output=True)
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(cert, key)
    handler = Handler(a.dir, a.reject)

    def authenticate(server, session, envelope, mechanism, data):
        ok = isinstance(data, LoginPassword) and data.login.decode() == a.user \
            and data.password.decode() == a.password
        return AuthResult(success=ok, auth_data=data.login.decode() if ok else None)

    def protocol():
        return SMTP(handler, hostname="notice-test", authenticator=authenticate, auth_required=True,
                    auth_require_tls=not a.tls, tls_context=None if a.tls else context,
                    require_starttls=not a.tls)

    loop = asyncio.new_event_loop()
    asyncio.set_event_loop(loop)
    server = loop.run_until_complete(
        loop.create_server(protocol, "127.0.0.1", a.port, ssl=context if a.tls else None))
    print("PORT %d" % server.sockets[0].getsockname()[1], flush=True)
    loop.add_signal_handler(signal.SIGTERM, loop.stop)
    loop.run_forever()
    server.close()


if __name__ == "__main__":
    main()
