#include "archive/Connessione.h"

#include "archive/Archivio.h"
#include "archive/MotorePostgres.h"
#include "archive/MotoreSQLite.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>
#include <utility>

namespace {

QString nuovoNomeConnessione()
{
    static std::atomic<int> contatore{0};
    return QStringLiteral("velmira-%1").arg(++contatore);
}

Errore erroreFormato(FormatoArchivio formato, const QString& percorso)
{
    switch (formato) {
    case FormatoArchivio::Mancante:
        return {CodiceErrore::FileNonTrovato, QStringLiteral("Impossibile trovare il file '%1'.").arg(percorso)};
    case FormatoArchivio::Cartella:
        return {CodiceErrore::FileNonTrovato, QStringLiteral("'%1' è una cartella, non il file dell'archivio.").arg(percorso)};
    case FormatoArchivio::Access:
        return {CodiceErrore::DriverMancante, QStringLiteral("'%1' è un archivio Access: su questo sistema non c'è un driver "
                                     "per aprirlo. Creare un nuovo archivio con "
                                     "\"velmira crea-archivio\" e importare di nuovo i documenti.")
                          .arg(percorso)};
    case FormatoArchivio::Illeggibile:
        return {CodiceErrore::FileNonApribile, QStringLiteral("Impossibile leggere il file dell'archivio '%1': accesso negato "
                                     "o file non leggibile.").arg(percorso), NaturaErrore::Grave};
    case FormatoArchivio::Sconosciuto:
        return {CodiceErrore::ArchivioNonValido, QStringLiteral("Formato di database non riconosciuto: '%1'.").arg(percorso)};
    case FormatoArchivio::SQLite:
    case FormatoArchivio::PostgreSQL:
        break;
    }
    return {};
}

Errore archivioChiuso()
{
    return {CodiceErrore::OggettoChiuso, QStringLiteral("Operazione non consentita: l'archivio non è aperto.")};
}

} // namespace

struct Comando::Dati
{
    QSqlQuery query;
    QString istruzione;
    // Preparing a statement that writes a table waits, on some engines, for
    // another workstation's write lock: it is prepared again when it runs,
    // by then under a lock of our own.
    bool daPreparare = false;
    int righeModificate = -1;
};

Connessione::Connessione() = default;

Connessione::~Connessione()
{
    Chiudi();
}

Errore Connessione::Apri(const QString& stringaConnessione)
{
    Chiudi();
    const QString percorso = PercorsoDaConnessione(stringaConnessione);
    const FormatoArchivio formato = RiconosciFormato(percorso);
    if (formato == FormatoArchivio::SQLite) {
        motore_ = &MotoreSQLite::Istanza();
        sqliteInUso_ = SegnaSQLiteInUso(percorso);
    } else if (formato == FormatoArchivio::PostgreSQL)
        motore_ = &MotorePostgres::Istanza();
    else
        return erroreFormato(formato, percorso);
    nome_ = nuovoNomeConnessione();
    const Errore errore = motore_->Apri(db_, nome_, percorso);
    if (errore.presente())
        Chiudi();
    return errore;
}

bool Connessione::Aperta() const
{
    return db_.isOpen();
}

void Connessione::Chiudi()
{
    if (nome_.isEmpty())
        return;
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(nome_);
    nome_.clear();
    inTransazione_ = false;
    if (!sqliteInUso_.isEmpty())
        SegnaSQLiteLibero(std::exchange(sqliteInUso_, QString()));
}

void Connessione::ImpostaAttesaBlocco(int millisecondi)
{
    if (Aperta())
        motore_->ImpostaAttesaBlocco(db_, millisecondi);
}

void Connessione::AggiornaStatistiche()
{
    if (Aperta())
        motore_->AggiornaStatistiche(db_);
}

Errore Connessione::IniziaTransazione()
{
    if (!motore_)
        return Esegui({});
    for (const QString& istruzione : motore_->IstruzioniInizioScrittura()) {
        if (const Errore errore = EseguiNativa(istruzione); errore.presente()) {
            Annulla();
            return errore;
        }
    }
    inTransazione_ = true;
    return {};
}

Errore Connessione::Conferma()
{
    const Errore errore = Esegui(QStringLiteral("COMMIT"));
    inTransazione_ = false;
    return errore;
}

void Connessione::Annulla()
{
    inTransazione_ = false;
    if (Aperta())
        QSqlQuery(db_).exec(QStringLiteral("ROLLBACK"));
}

bool Connessione::Protetto(const std::function<bool()>& esegui)
{
    if (!inTransazione_ || !Motore().ErroreAnnullaTransazione())
        return esegui();
    QSqlQuery punto(db_);
    punto.exec(QStringLiteral("SAVEPOINT velmira_istruzione"));
    const bool riuscito = esegui();
    punto.exec(riuscito ? QStringLiteral("RELEASE SAVEPOINT velmira_istruzione")
                        : QStringLiteral("ROLLBACK TO SAVEPOINT velmira_istruzione"));
    return riuscito;
}

bool Connessione::TransazioneAttiva() const
{
    return Aperta() && motore_->TransazioneAttiva(db_);
}

Errore Connessione::Esegui(const QString& istruzione)
{
    return EseguiNativa(motore_ ? motore_->Traduci(istruzione) : istruzione);
}

Errore Connessione::EseguiNativa(const QString& istruzione)
{
    if (!Aperta())
        return archivioChiuso();
    QSqlQuery query(db_);
    if (!query.exec(istruzione))
        return ErroreDa(query.lastError());
    return {};
}

Risultato<std::unique_ptr<Comando>> Connessione::Prepara(const QString& istruzione)
{
    if (!Aperta())
        return archivioChiuso();
    auto comando = std::make_unique<Comando>(*this, motore_->Traduci(istruzione));
    if (comando->d_->query.lastError().isValid()) {
        const Errore errore = ErroreDa(comando->d_->query.lastError());
        if (!errore.bloccato())
            return errore;
        comando->d_->daPreparare = true;
    }
    return comando;
}

QSqlDatabase& Connessione::Database()
{
    return db_;
}

const MotoreArchivio& Connessione::Motore() const
{
    return motore_ ? *motore_ : static_cast<const MotoreArchivio&>(MotoreSQLite::Istanza());
}

Errore Connessione::ErroreDa(const QSqlError& errore) const
{
    return Motore().ErroreDa(errore);
}

Comando::Comando(Connessione& connessione, const QString& istruzioneTradotta)
    : connessione_(connessione), d_(std::make_unique<Dati>(Dati{QSqlQuery(connessione.Database()), istruzioneTradotta}))
{
    d_->query.setForwardOnly(connessione.Motore().RigheUnaAllaVolta());
    d_->query.prepare(istruzioneTradotta);
}

Comando::~Comando() = default;

Errore Comando::Esegui(const QVariantList& valori)
{
    if (d_->daPreparare) {
        if (!d_->query.prepare(d_->istruzione))
            return connessione_.ErroreDa(d_->query.lastError());
        d_->daPreparare = false;
    }
    for (int i = 0; i < valori.size(); ++i)
        d_->query.bindValue(i, ValorePerArchivio(valori.at(i)));
    // A statement that returns no rows is done with at once, so that the
    // next one on the connection finds nothing pending.
    const auto esegui = [this] {
        const bool riuscito = d_->query.exec();
        d_->righeModificate = d_->query.numRowsAffected();
        if (riuscito && !d_->query.isSelect())
            d_->query.finish();
        return riuscito;
    };
    if (!connessione_.Protetto(esegui))
        return connessione_.ErroreDa(d_->query.lastError());
    return {};
}

Risultato<bool> Comando::Successiva()
{
    if (d_->query.next())
        return true;
    if (d_->query.lastError().isValid())
        return connessione_.ErroreDa(d_->query.lastError());
    return false;
}

QVariant Comando::Valore(int colonna) const
{
    return d_->query.value(colonna);
}

int Comando::RigheModificate() const
{
    return d_->righeModificate;
}
