#!/usr/bin/python3
"""Reads every NNNN.eml of a folder with Python's MIME parser and prints, as
JSON, what a mail program would show of each: headers (subject decoded), the
text body and each attachment's name, type, size and SHA-256."""

import email
import email.policy
import hashlib
import json
import os
import sys


def leggi(percorso):
    with open(percorso, "rb") as f:
        m = email.message_from_binary_file(f, policy=email.policy.default)
    corpo = None
    allegati = []
    for parte in m.walk():
        if parte.is_multipart():
            continue
        if parte.get_content_disposition() == "attachment":
            dati = parte.get_payload(decode=True)
            allegati.append({"nome": parte.get_filename(), "tipo": parte.get_content_type(),
                             "dimensione": len(dati), "sha256": hashlib.sha256(dati).hexdigest()})
        elif corpo is None and parte.get_content_type() == "text/plain":
            corpo = parte.get_content()
    return {"file": os.path.basename(percorso), "from": str(m["From"]), "to": str(m["To"]),
            "subject": str(m["Subject"]), "date": str(m["Date"]), "messageId": str(m["Message-ID"]),
            "tipo": m.get_content_type(), "difetti": len(m.defects), "corpo": corpo,
            "allegati": allegati}


cartella = sys.argv[1]
nomi = sorted(n for n in os.listdir(cartella) if n.endswith(".eml")) if os.path.isdir(cartella) else []
json.dump([leggi(os.path.join(cartella, n)) for n in nomi], sys.stdout)
