#include "search/StampaDocumenti.h"

#include "common/CartellaProgramma.h"
#include "log/cLogProgramma.h"
#include "search/ServizioStampa.h"

#include <QDir>
#include <QFileInfo>

namespace {

void ScriviRistampa(const QDateTime& adesso, const QString& stampa, const QString& stampante, int copie)
{
    const QString elenco = PercorsoElencoRistampe(adesso.date());
    QDir().mkpath(QFileInfo(elenco).path());
    cLogProgramma riga;
    riga.Data = adesso.toString(QStringLiteral("dd/MM/yyyy"));
    riga.Ora = adesso.toString(QStringLiteral("HH:mm:ss"));
    riga.Procedura = QStringLiteral("Ristampa");
    riga.TipoOperazione = QStringLiteral("%1, copie %2").arg(stampante).arg(copie);
    riga.Descrizione = stampa;
    riga.ScriviInFile(elenco, true);
}

} // namespace

QList<EsitoStampa> StampaDocumenti(const Contesto& contesto, const QStringList& nomi, const QString& stampante, int copie,
                                   const std::function<bool(int, int)>& avanzamento)
{
    QList<EsitoStampa> esiti;
    const int totale = int(nomi.size());
    for (const QString& stampa : nomi) {
        if (avanzamento && !avanzamento(int(esiti.size()), totale))
            return esiti;
        const QString percorso = UnisciPercorso(contesto.strCartellaPDF, stampa);
        QString errore;
        if (!QFileInfo(percorso).isFile())
            errore = QStringLiteral("il file %1 non si trova nella cartella dei documenti").arg(percorso);
        else
            errore = ServizioStampaAttuale::Attuale().StampaFile(stampante, percorso, stampa, copie);
        if (errore.isEmpty())
            ScriviRistampa(contesto.adesso(), stampa, stampante, copie);
        esiti.append({stampa, errore});
    }
    if (avanzamento)
        avanzamento(totale, totale);
    return esiti;
}

QString PercorsoElencoRistampe(const QDate& giorno)
{
    return UnisciPercorso(UnisciPercorso(CartellaProgramma(UsoCartella::Dati), QStringLiteral("elenchi")),
                          QStringLiteral("ElencoRistampe") + giorno.toString(QStringLiteral("dd_MM_yyyy"))
                              + QStringLiteral(".txt"));
}

QString RiepilogoStampa(const QList<EsitoStampa>& esiti, qsizetype richiesti, const QString& stampante)
{
    QStringList mancati;
    for (const EsitoStampa& esito : esiti) {
        if (!esito.errore.isEmpty())
            mancati.append(QStringLiteral("%1: %2").arg(esito.stampa, esito.errore));
    }
    QString testo = QStringLiteral("Documenti stampati su %1: %2 di %3.")
                        .arg(stampante)
                        .arg(esiti.size() - mancati.size())
                        .arg(richiesti);
    if (esiti.size() < richiesti)
        testo += QStringLiteral("\nStampa interrotta dall'operatore: %1 documenti non inviati.")
                     .arg(richiesti - esiti.size());
    if (!mancati.isEmpty())
        testo += QStringLiteral("\nNon stampati:\n") + mancati.join(QLatin1Char('\n'));
    return testo;
}
