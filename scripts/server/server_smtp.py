#!/usr/bin/python3
"""A small SMTP server on loopback for the mail helper's tests, its benchmark
and the demo. Every message received is saved as NNNN.eml in --cartella.

    server_smtp.py --cartella DIR [--modo chiaro|starttls|tls]
                   [--certificato CRT --chiave KEY] [--utente U --password P]
                   [--rifiuta ADDR]... [--interrompi ADDR]...
                   [--al-punto RISPOSTA|muto] [--muto]

The port is chosen free by the system; once listening the server prints
"porta N" on its own line (and flushes) and runs until it is terminated.
--rifiuta answers 550 to RCPT TO for that address; --interrompi drops the
connection at that RCPT TO, as a server that goes away in the middle would.
With --utente the server insists on a login with that user and password.
The final dot of a message is answered "250 2.0.0 Ok: queued as NNNN";
--al-punto answers it (the message saved all the same) with
RISPOSTA instead, or never when "muto"; --muto accepts connections and never says a
word, counting them as lines of the file "connessioni" in --cartella.
"""

import argparse
import asyncio
import os
import signal
import ssl
import sys

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


class Salvataggio:
    def __init__(self, cartella, rifiutati, interrotti, al_punto):
        self.cartella = cartella
        self.al_punto = al_punto
        self.rifiutati = rifiutati
        self.interrotti = interrotti
        # A folder kept between runs (the demo's) keeps its earlier messages.
        numeri = [int(n[:-4]) for n in os.listdir(cartella) if n.endswith(".eml") and n[:-4].isdigit()]
        self.numero = max(numeri, default=0)

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        indirizzo = address.lower()
        if indirizzo in self.interrotti:
            server.transport.abort()
            return "421 chiusura"
        if indirizzo in self.rifiutati:
            return "550 5.1.1 Destinatario sconosciuto"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.numero += 1
        nome = os.path.join(self.cartella, "%04d.eml" % self.numero)
        provvisorio = nome + ".part"
        with open(provvisorio, "wb") as f:
            f.write(envelope.original_content)
        os.rename(provvisorio, nome)
        if self.al_punto == "muto":
            await asyncio.Event().wait()
        return self.al_punto or "250 2.0.0 Ok: queued as %04d" % self.numero


class Muto(asyncio.Protocol):
    def __init__(self, conteggio):
        self.conteggio = conteggio

    def connection_made(self, transport):
        self.transport = transport  # kept open, never answered
        with open(self.conteggio, "a") as f:
            f.write("connessione\n")


def autenticatore(utente, password):
    def verifica(server, session, envelope, mechanism, auth_data):
        ok = (isinstance(auth_data, LoginPassword)
              and auth_data.login == utente.encode()
              and auth_data.password == password.encode())
        # handled=False: aiosmtpd itself answers 535 to a wrong password.
        return AuthResult(success=ok, handled=False)
    return verifica


async def principale(a):
    os.makedirs(a.cartella, exist_ok=True)
    handler = Salvataggio(a.cartella, {x.lower() for x in a.rifiuta},
                          {x.lower() for x in a.interrompi}, a.al_punto)
    contesto = None
    if a.modo != "chiaro":
        contesto = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        contesto.load_cert_chain(a.certificato, a.chiave)
    opzioni = dict(data_size_limit=0, hostname="prova.velmira.local")
    if a.modo == "starttls":
        opzioni.update(tls_context=contesto, require_starttls=True)
    if a.utente:
        # Behind implicit TLS aiosmtpd does not know the line is protected.
        opzioni.update(auth_required=True, auth_require_tls=a.modo != "tls",
                       authenticator=autenticatore(a.utente, a.password))
    loop = asyncio.get_running_loop()
    protocollo = lambda: SMTP(handler, **opzioni)
    if a.muto:
        protocollo = lambda: Muto(os.path.join(a.cartella, "connessioni"))
    server = await loop.create_server(
        protocollo, host="127.0.0.1", port=0,
        ssl=contesto if a.modo == "tls" else None)
    print("porta %d" % server.sockets[0].getsockname()[1], flush=True)
    fine = asyncio.Event()
    for segnale in (signal.SIGTERM, signal.SIGINT):
        loop.add_signal_handler(segnale, fine.set)
    await fine.wait()
    server.close()


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--cartella", required=True)
    p.add_argument("--modo", choices=["chiaro", "starttls", "tls"], default="chiaro")
    p.add_argument("--certificato")
    p.add_argument("--chiave")
    p.add_argument("--utente")
    p.add_argument("--password", default="")
    p.add_argument("--rifiuta", action="append", default=[])
    p.add_argument("--interrompi", action="append", default=[])
    p.add_argument("--al-punto")
    p.add_argument("--muto", action="store_true")
    a = p.parse_args()
    if a.modo != "chiaro" and not (a.certificato and a.chiave):
        p.error("--modo %s vuole --certificato e --chiave" % a.modo)
    asyncio.run(principale(a))
    return 0


if __name__ == "__main__":
    sys.exit(main())
