#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <optional>

// Just enough of MIME to take apart a message that arrived from outside:
// headers, the parts of a multipart body as the bytes they were sent as, and
// the transfer encodings. Lines may end in CRLF or LF alone.

struct ParteMime
{
    QByteArray intestazioni; // up to the first empty line
    QByteArray corpo;
};
ParteMime DividiParte(const QByteArray& testo);

// The first header called `nome` (without regard to case), its folded lines
// joined and blanks trimmed; nothing when there is none.
std::optional<QByteArray> ValoreIntestazione(const QByteArray& intestazioni, QByteArrayView nome);

// A parameter of a header value (`boundary`, `name`, `filename`), unquoted.
QByteArray ParametroIntestazione(const QByteArray& valore, QByteArrayView nome);

// The parts of a multipart body, each exactly as it stands between its
// delimiter lines (what a signature over the part covers). Nothing when no
// delimiter closes the body.
QList<QByteArray> PartiMultiparte(const QByteArray& corpo, const QByteArray& confine);

// A body in its Content-Transfer-Encoding (base64, quoted-printable, or as
// it is for anything else).
QByteArray DecodificaCorpo(const QByteArray& corpo, const QByteArray& codifica);
