#!/usr/bin/python3
"""A private IMAP server (Debian's dovecot) on loopback for the tests of the
receipts reader and for the demo: TLS from the first byte, one user.

    server_imap.py --cartella DIR [--utente U --password P]

DIR gets the server's configuration, its certificate (cert.pem, for the
client's CA file) and the mailbox DIR/Maildir; a message is delivered by
writing a file into DIR/Maildir/new. Once the server listens this prints
"porta N" on its own line and runs until it is terminated, then stops the
server. The system's own dovecot service is never touched.
"""

import argparse
import os
import pwd
import signal
import stat
import imaplib
import socket
import ssl
import subprocess
import sys
import time

CONFIGURAZIONE = """\
base_dir = {d}/run
state_dir = {d}/run
listen = 127.0.0.1
protocols = imap
ssl = required
ssl_cert = <{d}/cert.pem
ssl_key = <{d}/key.pem
log_path = {d}/dovecot.log
default_internal_user = dovecot
default_internal_group = dovecot
default_login_user = dovenull
mail_location = maildir:{d}/Maildir
mail_uid = dovecot
mail_gid = dovecot
first_valid_uid = 1
first_valid_gid = 1
passdb {{
  driver = passwd-file
  args = scheme=PLAIN username_format=%u {d}/passwd
}}
userdb {{
  driver = static
  args = uid=dovecot gid=dovecot home={d}
}}
service imap-login {{
  inet_listener imap {{
    port = 0
  }}
  inet_listener imaps {{
    address = 127.0.0.1
    port = {porta}
  }}
  chroot =
}}
service anvil {{
  chroot =
}}
"""


def porta_libera():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def pronto(porta, utente, password):
    """Listening is not enough: the login must work (dovecot's own
    authentication process starts after the listener)."""
    try:
        contesto = ssl.create_default_context()
        contesto.check_hostname = False
        contesto.verify_mode = ssl.CERT_NONE
        with imaplib.IMAP4_SSL("127.0.0.1", porta, ssl_context=contesto, timeout=2) as prova:
            prova.login(utente, password)
            prova.logout()
        return True
    except (OSError, imaplib.IMAP4.error):
        return False


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--cartella", required=True)
    p.add_argument("--utente", default="ufficio")
    p.add_argument("--password", default="segreta")
    a = p.parse_args()
    d = os.path.abspath(a.cartella)
    dovecot = pwd.getpwnam("dovecot")
    for sotto in ("run", "Maildir/new", "Maildir/cur", "Maildir/tmp"):
        os.makedirs(os.path.join(d, sotto), exist_ok=True)
    for radice, cartelle, _ in os.walk(os.path.join(d, "Maildir")):
        os.chown(radice, dovecot.pw_uid, dovecot.pw_gid)
    # dovecot's processes run as its own user and must reach the folder: a
    # private temporary folder above it is opened to passing through (never to reading).
    os.chmod(d, 0o755)
    sopra = os.path.dirname(d)
    while sopra != os.path.dirname(sopra):
        modo = os.stat(sopra).st_mode
        if not modo & stat.S_IXOTH:
            os.chmod(sopra, stat.S_IMODE(modo) | stat.S_IXOTH)
        sopra = os.path.dirname(sopra)
    if not os.path.exists(os.path.join(d, "cert.pem")):
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "30",
                        "-subj", "/CN=localhost", "-addext", "subjectAltName=DNS:localhost,IP:127.0.0.1",
                        "-keyout", os.path.join(d, "key.pem"), "-out", os.path.join(d, "cert.pem")],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with open(os.path.join(d, "passwd"), "w") as f:
        f.write("%s:{PLAIN}%s::::::\n" % (a.utente, a.password))
    for tentativo in range(5):
        porta = porta_libera()
        with open(os.path.join(d, "dovecot.conf"), "w") as f:
            f.write(CONFIGURAZIONE.format(d=d, porta=porta))
        subprocess.run(["dovecot", "-c", os.path.join(d, "dovecot.conf")], check=True,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            if pronto(porta, a.utente, a.password):
                break
            time.sleep(0.05)
        else:
            ferma(d)
            continue
        break
    else:
        print("dovecot non si avvia: vedere %s/dovecot.log" % d, file=sys.stderr)
        return 1
    print("porta %d" % porta, flush=True)
    fine = []
    for segnale in (signal.SIGTERM, signal.SIGINT):
        signal.signal(segnale, lambda *_: fine.append(True))
    while not fine:
        signal.pause()
    ferma(d)
    return 0


def ferma(d):
    try:
        with open(os.path.join(d, "run", "master.pid")) as f:
            os.kill(int(f.read().strip()), signal.SIGTERM)
    except (OSError, ValueError):
        pass


if __name__ == "__main__":
    sys.exit(main())
