#pragma once

#include "archive/MotoreArchivio.h"

#include <QHash>

// The archive on a PostgreSQL server, for offices where several workstations
// work on one archive. dati.mdb is then a connection file: its first line is
// IntestazioneCollegamento, the rest names the server and the database in
// libpq's terms (host=... port=... dbname=... user=...). The password is
// never in that shared file: libpq reads it from the user's ~/.pgpass.
class MotorePostgres : public MotoreArchivio
{
public:
    Errore Apri(QSqlDatabase& db, const QString& nomeConnessione,
                        const QString& percorso) const override;
    QString Traduci(const QString& istruzioneJet) const override;
    QStringList IstruzioniInizioScrittura() const override;
    bool TransazioneAttiva(const QSqlDatabase& db) const override;
    bool ErroreAnnullaTransazione() const override { return true; }
    bool RigheUnaAllaVolta() const override { return false; }
    void ImpostaAttesaBlocco(QSqlDatabase& db, int millisecondi) const override;
    void AggiornaStatistiche(QSqlDatabase& db) const override;
    Errore ErroreDa(const QSqlError& errore) const override;
    QList<DescrizioneCampo> Campi(const QSqlQuery& query) const override;
    QStringList SchemaAggiunto() const override;
    QString CondizioneParole(const QList<FraseCercata>& frasi) const override;

    static const MotorePostgres& Istanza();
};

struct ParametroCollegamento
{
    QString nome;
    QString valore;
};

// The parameters a connection file or a user gives ("host=srv dbname=velmira"),
// read as libpq reads them, or why they cannot be used: malformed, or holding
// a password, or a character Qt's driver would change before libpq sees it,
// or asking for a link over the network that is not encrypted. Over the
// network without an sslmode, sslmode=require is added.
Risultato<QList<ParametroCollegamento>> ControllaParametri(const QString& parametri);
// The pairs written again for libpq, each value quoted.
QString OpzioniCollegamento(const QList<ParametroCollegamento>& coppie);
// The checked parameters of a connection file, as OpzioniCollegamento writes
// them, or an error when the file cannot be read, is too long for one, or
// fails ControllaParametri (naming the line, never repeating its text).
Risultato<QString> LeggiCollegamento(const QString& percorso);
// The parameters as keyword and value, for messages ("host", "dbname"...).
QHash<QString, QString> ParametriCollegamento(const QString& parametri);

// The indexes on the expressions by which the searches compare text (see
// ConfrontoTesti). An archive made before them gets them the first time its
// owner opens it.
QStringList IndiciConfrontoTesti();
