#include "archive/ArchivioServer.h"

#include "archive/Archivio.h"
#include "archive/Connessione.h"
#include "archive/MotorePostgres.h"
#include "archive/SchemaArchivio.h"

#include <QFile>
#include <QFileInfo>
#include <QDir>

namespace {

// Rows sent to the server in one statement: one round trip for many rows.
constexpr int righePerInvio = 500;

Risultato<qint64> conta(Connessione& c, const QString& istruzione)
{
    const auto comando = c.Prepara(istruzione);
    if (!comando)
        return comando.errore();
    if (const Errore errore = (*comando)->Esegui(); errore.presente())
        return errore;
    const Risultato<bool> riga = (*comando)->Successiva();
    if (!riga)
        return riga.errore();
    return *riga ? (*comando)->Valore(0).toLongLong() : 0;
}

// The tables a transfer copies: the documents and the sent e-mails.
QList<const TabellaSchema*> tabelleTrasferite()
{
    QList<const TabellaSchema*> tabelle;
    for (const TabellaSchema& t : TabelleArchivio())
        if (t.trasferita)
            tabelle.append(&t);
    return tabelle;
}

Errore copiaTabella(Connessione& da, Connessione& a, const TabellaSchema& t, qint64& copiate, qint64 totale,
                            const std::function<void(qint64, qint64)>& avanzamento)
{
    QStringList nomi;
    for (const ColonnaSchema& c : t.colonne)
        nomi.append(c.nome);
    const QString colonne = nomi.join(QStringLiteral(", "));
    const int numero = int(nomi.size());
    const auto leggi = da.Prepara(QStringLiteral("select %1 from %2 order by Id").arg(colonne, t.nome));
    if (!leggi)
        return leggi.errore();
    const QString riga = QLatin1Char('(') + QStringList(numero, QStringLiteral("?")).join(QLatin1Char(',')) + QLatin1Char(')');
    const auto inserimento = [&](int righe) {
        return a.Prepara(QStringLiteral("insert into %1 (%2) values %3")
                             .arg(t.nome, colonne, QStringList(righe, riga).join(QLatin1Char(','))));
    };
    const auto pieno = inserimento(righePerInvio);
    if (!pieno)
        return pieno.errore();
    Errore errore = (*leggi)->Esegui();
    if (errore.presente())
        return errore;
    QVariantList valori;
    const auto invia = [&](Comando& comando) {
        errore = comando.Esegui(valori);
        copiate += valori.size() / numero;
        valori.clear();
        if (avanzamento)
            avanzamento(copiate, totale);
        return !errore.presente();
    };
    Risultato<bool> letta = (*leggi)->Successiva();
    for (; letta && *letta; letta = (*leggi)->Successiva()) {
        for (int i = 0; i < numero; ++i)
            valori.append((*leggi)->Valore(i));
        if (valori.size() == righePerInvio * numero && !invia(**pieno))
            return errore;
    }
    if (!letta)
        return letta.errore();
    if (!valori.isEmpty()) {
        const auto resto = inserimento(int(valori.size() / numero));
        if (!resto)
            return resto.errore();
        if (!invia(**resto))
            return errore;
    }
    // New rows continue after the keys brought over.
    return a.EseguiNativa(QStringLiteral("select setval(pg_get_serial_sequence('%1', 'id'), "
                                   "coalesce(max(id), 0) + 1, false) from %1")
                        .arg(t.nome.toLower()));
}

} // namespace

Errore CreaArchivioServer(const QString& percorso, const QString& parametri)
{
    if (const Errore errore = ControllaNuovoArchivio(percorso); errore.presente())
        return errore;
    const auto coppie = ControllaParametri(parametri);
    if (!coppie)
        return coppie.errore();

    // Written under a temporary name and renamed once the tables are there,
    // so that no workstation ever finds a connection file without an archive.
    const QString provvisorio = percorso + QStringLiteral(".creazione");
    QFile file(provvisorio);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {CodiceErrore::PercorsoNonValido, QStringLiteral("Impossibile scrivere il file '%1'.").arg(provvisorio)};
    file.write(IntestazioneCollegamento + OpzioniCollegamento(*coppie).toUtf8() + '\n');
    file.close();

    Errore errore;
    {
        Connessione c;
        errore = c.Apri(StringaConnessione(provvisorio));
        const auto esistenti = errore.presente()
            ? Risultato<qint64>(errore)
            : conta(c, QStringLiteral("select count(*) from pg_class where relname in "
                                      "('posta', 'emailinviate', 'qryemail') and pg_table_is_visible(oid)"));
        errore = esistenti.errore();
        if (!errore.presente() && *esistenti > 0)
            errore = {CodiceErrore::TabelleEsistenti, QStringLiteral("Il database indicato contiene già le tabelle dell'archivio: non è "
                                           "stato modificato.")};
        if (!errore.presente())
            errore = c.Esegui(QStringLiteral("BEGIN"));
        for (const QString& istruzione : SchemaServer() + IndiciConfrontoTesti()) {
            if (errore.presente())
                break;
            errore = c.EseguiNativa(istruzione);
        }
        if (!errore.presente())
            errore = c.Conferma();
        else
            c.Annulla();
    }
    if (!errore.presente() && !QFile::rename(provvisorio, percorso))
        errore = {CodiceErrore::FileEsistente, QStringLiteral("Impossibile creare il file '%1'.").arg(percorso)};
    if (errore.presente())
        QFile::remove(provvisorio);
    return errore;
}

Errore TrasferisciArchivio(const QString& origine, const QString& destinazione,
                                   const std::function<void(qint64, qint64)>& avanzamento)
{
    if (RiconosciFormato(destinazione) != FormatoArchivio::PostgreSQL)
        return {CodiceErrore::ArchivioNonValido, QStringLiteral("'%1' non è un file di collegamento a un archivio sul server.")
                          .arg(destinazione)};
    Connessione da;
    Connessione a;
    Errore errore = da.Apri(StringaConnessione(origine));
    if (!errore.presente())
        errore = a.Apri(StringaConnessione(destinazione));
    if (errore.presente())
        return errore;

    qint64 totale = 0;
    const QList<const TabellaSchema*> tabelle = tabelleTrasferite();
    for (const TabellaSchema* t : tabelle) {
        const auto giaPresenti = conta(a, QStringLiteral("select count(*) from %1").arg(t->nome));
        if (!giaPresenti)
            return giaPresenti.errore();
        if (*giaPresenti > 0)
            return {CodiceErrore::TabelleEsistenti, QStringLiteral("L'archivio sul server contiene già %1 righe nella tabella %2: il "
                                         "trasferimento non è stato eseguito, per non mescolare due archivi.")
                              .arg(*giaPresenti).arg(t->nome)};
        const auto righe = conta(da, QStringLiteral("select count(*) from %1").arg(t->nome));
        if (!righe)
            return righe.errore();
        totale += *righe;
    }
    // Nobody writes to the new archive until the copy is complete.
    if ((errore = a.IniziaTransazione()).presente())
        return errore;
    qint64 copiate = 0;
    for (const TabellaSchema* t : tabelle) {
        if ((errore = copiaTabella(da, a, *t, copiate, totale, avanzamento)).presente()) {
            a.Annulla();
            return errore;
        }
    }
    if ((errore = a.Conferma()).presente())
        return errore;
    a.AggiornaStatistiche();
    return {};
}
