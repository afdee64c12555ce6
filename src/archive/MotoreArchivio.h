#pragma once

#include "archive/FraseCercata.h"
#include "common/Errore.h"

#include <QList>
#include <QString>
#include <QStringList>

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

    virtual Errore Apri(QSqlDatabase& db, const QString& nomeConnessione,
                                const QString& percorso) const = 0;
    virtual QString Traduci(const QString& istruzioneJet) const = 0;
    // Statements that open a write transaction holding the archive's write
    // lock, so that two workstations never both see a document as missing.
    virtual QStringList IstruzioniInizioScrittura() const = 0;
    // True where a failed statement spoils the whole transaction: each
    // statement inside one then runs behind a savepoint of its own, so that
    // one refused row does not take its batch with it.
    virtual bool ErroreAnnullaTransazione() const { return false; }
    // Whether the rows of a prepared statement are best read one at a time.
    // Where that keeps the whole connection busy until the last row, they
    // are fetched at once instead.
    virtual bool RigheUnaAllaVolta() const { return true; }
    // False once the engine has dropped the transaction begun on `db` by
    // itself (some engines do on a full disk): what was written in it is gone.
    virtual bool TransazioneAttiva(const QSqlDatabase& db) const = 0;
    virtual void ImpostaAttesaBlocco(QSqlDatabase& db, int millisecondi) const = 0;
    virtual void AggiornaStatistiche(QSqlDatabase& db) const = 0;
    virtual Errore ErroreDa(const QSqlError& errore) const = 0;
    // The fields of an executed statement, with their declared kinds and sizes.
    virtual QList<DescrizioneCampo> Campi(const QSqlQuery& query) const = 0;
    // The statements that give an archive made before them the tables added
    // since, where missing.
    virtual QStringList SchemaAggiunto() const = 0;
    // A condition, to stand in a statement on Posta, that holds for the
    // documents whose indexed text holds every one of `frasi`.
    virtual QString CondizioneParole(const QList<FraseCercata>& frasi) const = 0;
};
