#pragma once

#include "archive/ErroreArchivio.h"

#include <QList>
#include <QString>

class QSqlDatabase;
class QSqlError;
class QSqlQuery;
enum class TipoCampo;

// What a field of a result is, as the archive declares it.
struct DescrizioneCampo
{
    QString nome;
    TipoCampo tipo;
    int dimensione = 0;
};

// One database engine behind the archive layer. The windows and the import
// only ever see Connessione, Comando and Recordset; an engine knows how to
// open its file or server, how to say Jet statements in its own dialect and
// how to put its errors in the user's words.
class MotoreArchivio
{
public:
    virtual ~MotoreArchivio() = default;

    virtual ErroreArchivio Apri(QSqlDatabase& db, const QString& nomeConnessione,
                                const QString& percorso) const = 0;
    virtual QString Traduci(const QString& istruzioneJet) const = 0;
    virtual QString InizioTransazioneScrittura() const = 0;
    // False once the engine has dropped the transaction begun on `db` by
    // itself (some engines do on a full disk): what was written in it is gone.
    virtual bool TransazioneAttiva(const QSqlDatabase& db) const = 0;
    virtual void ImpostaAttesaBlocco(QSqlDatabase& db, int millisecondi) const = 0;
    virtual void AggiornaStatistiche(QSqlDatabase& db) const = 0;
    virtual ErroreArchivio Errore(const QSqlError& errore) const = 0;
    // The fields of an executed statement, with their declared kinds and sizes.
    virtual QList<DescrizioneCampo> Campi(const QSqlQuery& query) const = 0;
};
