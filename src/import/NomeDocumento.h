#pragma once

#include "common/Errore.h"

#include <QDate>
#include <QString>
#include <optional>

// Document file names: how a PDF's name is cut into the archive key of its
// document and which row of Posta it becomes.
//
// A name is: client/supplier code (LunCodCli characters), document type
// (LunTipDoc), document number (LunNumDoc), date as yyyymmdd (8), and four
// characters that are not read (normally ".pdf").

// The three field widths of section "AS/400" of spooling.ini.
struct LunghezzeCampi
{
    qint16 LunCodCli = 0;
    qint16 LunTipDoc = 0;
    qint16 LunNumDoc = 0;

    // The length of a document file name; nothing when the sum does not fit
    // in a 16-bit signed integer.
    std::optional<qint16> LunghezzaNome() const;
    bool operator==(const LunghezzeCampi&) const = default;
};

// The widths read from a spooling.ini, or the reason they cannot be used
// (a key missing, not a whole number, zero or negative, or a total too long).
Risultato<LunghezzeCampi> LeggiLunghezzeCampi(const QString& fileIni);

// True when the name is not as long as a document file name.
bool LunghezzaNonValida(const QString& nome, const LunghezzeCampi& lunghezze);

// Why a name of the right length gives no document key.
enum class ScartoChiave { Nessuno, NomeVuoto, NumeroVuoto, DataNonValida, CarattereDiviso };

// The document key: four texts cut from the name, the date rearranged to
// dd/mm/yyyy when it came as yyyymmdd. All four are empty when the name is
// empty, the number is empty or all zeros, or the date is no date.
struct ChiaveDocumento
{
    QString Codice;
    QString Tipo;
    QString Numero;
    QString Data;
    ScartoChiave scarto = ScartoChiave::Nessuno;

    bool Vuota() const { return scarto != ScartoChiave::Nessuno; }
};
ChiaveDocumento ScomponiNomeFile(const QString& nome, const LunghezzeCampi& lunghezze);

// yyyymmdd rearranged as dd/mm/yyyy, without any check of the text.
QString ConvertiData(const QString& testo);

// A numeric code or number written as a plain whole number (000452 -> 452);
// any other text, and a number beyond the 32-bit range, stays as cut.
QString NormalizzaCampo(const QString& testo);

// The row of Posta written for a document.
struct RigaPosta
{
    QString Stampa;
    QString email;
    QDate Data;
    QString Tipo;
    QString NumDoc;
    QString Codice;
};
// Only for a key that is not empty.
RigaPosta RigaDocumento(const QString& nome, const ChiaveDocumento& chiave);

// The user's words for a name of the right length that gives no key.
QString TestoScarto(ScartoChiave scarto);
