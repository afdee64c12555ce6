#!/usr/bin/python3
"""A private IMAP server (Debian's dovecot) on loopback for the demo and the
tests of the receipts reader: TLS from the first byte, one user, the system's
own service never touched.

    server_imap.py --cartella DIR [--utente U --password P] [--porta N]

DIR gets the configuration, the certificate (cert.pem, the client's CA file)
and the mailbox DIR/Maildir, where a file written into new/ is a message
delivered. Once a login works this prints "porta N" and runs until it is
terminated, then stops dovecot. The port is N when it is free (a client
keeps its place in a mailbox per server and port), otherwise any free one.
Started by root, dovecot's processes run as its own users; started by anyone
else, all of them run as that user.
"""

import argparse
import grp
import imaplib
import os
import pwd
import shutil
import signal
import socket
import ssl
import stat
import subprocess
import sys
import time


def pronto(porta, utente, password):
    # dovecot's authentication starts after its listener.
    contesto = ssl.create_default_context()
    contesto.check_hostname = False
    contesto.verify_mode = ssl.CERT_NONE
    try:
        with imaplib.IMAP4_SSL("127.0.0.1", porta, ssl_context=contesto, timeout=2) as prova:
            prova.login(utente, password)
        return True
    except (OSError, imaplib.IMAP4.error):
        return False


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--cartella", required=True)
    p.add_argument("--utente", default="ufficio")
    p.add_argument("--password", default="segreta")
    p.add_argument("--porta", type=int, default=0)
    a = p.parse_args()
    d = os.path.abspath(a.cartella)
    for sotto in ("run", "Maildir/new", "Maildir/cur", "Maildir/tmp"):
        os.makedirs(os.path.join(d, sotto), exist_ok=True)
    if os.geteuid() == 0:
        utenti = dict(interno="dovecot", gruppo="dovecot", accesso="dovenull")
        apri_a_dovecot(d)
    else:
        io = pwd.getpwuid(os.geteuid()).pw_name
        utenti = dict(interno=io, gruppo=grp.getgrgid(os.getegid()).gr_name, accesso=io)
    if not os.path.exists(os.path.join(d, "cert.pem")):
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "30", "-subj", "/CN=localhost",
                        "-addext", "subjectAltName=DNS:localhost,IP:127.0.0.1", "-keyout", os.path.join(d, "key.pem"),
                        "-out", os.path.join(d, "cert.pem")], check=True, capture_output=True)
    with open(os.path.join(d, "passwd"), "w") as f:
        f.write("%s:{PLAIN}%s::::::\n" % (a.utente, a.password))
    with socket.socket() as s:
        try:
            s.bind(("127.0.0.1", a.porta))
        except OSError:
            s.bind(("127.0.0.1", 0))
        porta = s.getsockname()[1]
    with open(os.path.join(os.path.dirname(__file__), "dovecot.conf.in")) as modello, \
            open(os.path.join(d, "dovecot.conf"), "w") as f:
        f.write(modello.read().format(d=d, porta=porta, **utenti))
    # It goes to the background: nothing of ours may stay open in it. An
    # ordinary user's PATH often leaves out /usr/sbin, where it lives.
    dovecot = shutil.which("dovecot", path=os.environ.get("PATH", "") + os.pathsep + "/usr/sbin")
    subprocess.run([dovecot or "dovecot", "-c", os.path.join(d, "dovecot.conf")], check=True, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for _ in range(100):
        if pronto(porta, a.utente, a.password):
            break
        time.sleep(0.05)
    else:
        ferma(d)
        print("dovecot non risponde: vedere %s/dovecot.log" % d, file=sys.stderr)
        return 1
    print("porta %d" % porta, flush=True)
    fine = []
    for segnale in (signal.SIGTERM, signal.SIGINT):
        signal.signal(segnale, lambda *_: fine.append(True))
    while not fine:
        signal.pause()
    ferma(d)
    return 0


def apri_a_dovecot(d):
    dovecot = pwd.getpwnam("dovecot")
    for radice, _, _ in os.walk(os.path.join(d, "Maildir")):
        os.chown(radice, dovecot.pw_uid, dovecot.pw_gid)
    # dovecot's processes run as its own user: a private temporary folder
    # above is opened to passing through, never to reading.
    os.chmod(d, 0o755)
    sopra = os.path.dirname(d)
    while sopra != os.path.dirname(sopra):
        os.chmod(sopra, stat.S_IMODE(os.stat(sopra).st_mode) | stat.S_IXOTH)
        sopra = os.path.dirname(sopra)


def ferma(d):
    try:
        with open(os.path.join(d, "run", "master.pid")) as f:
            os.kill(int(f.read().strip()), signal.SIGTERM)
    except (OSError, ValueError):
        pass


if __name__ == "__main__":
    sys.exit(main())
