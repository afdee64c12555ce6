#include "ArchivioDiProva.h"

#include "archive/Archivio.h"
#include "archive/ArchivioServer.h"
#include "archive/Connessione.h"
#include "archive/MotorePostgres.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QProcess>
#include <QSqlQuery>
#include <QRandomGenerator>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace {

QString server()
{
    return qEnvironmentVariable("VELMIRA_PG_SERVER");
}

// CTest counts exit status 77 as a skipped test.
struct ControlloServer
{
    ControlloServer()
    {
        if (ProvaSuServer() && server().isEmpty()) {
            std::fputs("SKIP: prova sul motore PostgreSQL senza server: VELMIRA_PG_SERVER non è impostata "
                       "(scripts/test avvia un server privato e la imposta).\n", stdout);
            std::exit(77);
        }
    }
} controlloServer;

} // namespace

bool ProvaSuServer()
{
    return qEnvironmentVariable("VELMIRA_MOTORE_PROVA") == QLatin1String("postgres");
}

QString NuovoDatabaseProva()
{
    // One database per archive, so that tests running at once never meet.
    const QString nome = QStringLiteral("velmira_%1_%2")
                             .arg(QCoreApplication::applicationPid())
                             .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    if (QProcess::execute(QStringLiteral("psql"), {QStringLiteral("-qc"), QStringLiteral("CREATE DATABASE ") + nome,
                                                   server() + QStringLiteral(" dbname=postgres")}) != 0)
        qFatal("server di prova: impossibile creare il database %s", qPrintable(nome));
    return server() + QStringLiteral(" dbname=") + nome;
}

Errore CreaArchivioProva(const QString& percorso)
{
    return ProvaSuServer() ? CreaArchivioServer(percorso, NuovoDatabaseProva()) : CreaArchivio(percorso);
}

void SuArchivio(const QString& database, const std::function<void(QSqlDatabase&)>& azione)
{
    Connessione connessione;
    if (const Errore errore = connessione.Apri(StringaConnessione(database)); errore.presente())
        qFatal("archivio non apribile: %s", qPrintable(errore.testo()));
    azione(connessione.Database());
}

QStringList ShellArchivio(const QString& database)
{
    if (RiconosciFormato(database) != FormatoArchivio::PostgreSQL)
        return {QStringLiteral("sqlite3"), database};
    const auto parametri = LeggiCollegamento(database);
    return {QStringLiteral("psql"), QStringLiteral("-qAt"), parametri ? *parametri : QString()};
}

bool Rifiuta(QSqlDatabase& db, const QString& evento, const QString& colonna, const QString& valore,
             const QString& messaggio)
{
    const QString riga = evento == QLatin1String("delete") ? QStringLiteral("old") : QStringLiteral("new");
    QSqlQuery q(db);
    if (!ProvaSuServer())
        return q.exec(QStringLiteral("create trigger rifiuta before %1 on Posta when %2.%3 = '%4' begin "
                                     "select raise(abort, '%5'); end")
                          .arg(evento, riga, colonna, valore, messaggio));
    return q.exec(QStringLiteral("create function rifiuta() returns trigger language plpgsql as $$ begin "
                                 "if %1.%2 = '%3' then raise exception '%4'; end if; return %1; end $$")
                      .arg(riga, colonna, valore, messaggio))
        && q.exec(QStringLiteral("create trigger rifiuta before %1 on posta for each row execute function rifiuta()")
                      .arg(evento));
}

bool Accetta(QSqlDatabase& db)
{
    return QSqlQuery(db).exec(ProvaSuServer() ? QStringLiteral("drop function rifiuta() cascade")
                                              : QStringLiteral("drop trigger rifiuta"));
}
