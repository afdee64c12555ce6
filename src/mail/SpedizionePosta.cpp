#include "mail/SpedizionePosta.h"

#include "mail/ComposizionePosta.h"
#include "mail/ElencoMail.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString inviato = QStringLiteral("Inviato");
const QString illeggibile = QStringLiteral("documento illeggibile");

QString nonInviato(const QString& causa)
{
    return QStringLiteral("Non inviato: ") + causa;
}

// Why no document can go, whatever the document: the account itself is wrong.
QString difettoAccount(const RichiestaPosta& r)
{
    if (r.ServerSmtp.trimmed().isEmpty())
        return QStringLiteral("server SMTP non indicato nelle impostazioni");
    if (r.PortaSmtp < 0 || r.PortaSmtp > 65535)
        return QStringLiteral("porta del server SMTP non valida");
    if (!IndirizzoValido(r.Mittente))
        return QStringLiteral("indirizzo del mittente non valido");
    return {};
}

// Why this document cannot go, before any server is asked.
QString difettoDocumento(const QString& percorso, const QString& destinatario)
{
    if (destinatario.trimmed().isEmpty())
        return QStringLiteral("destinatario mancante");
    if (!IndirizzoValido(destinatario))
        return QStringLiteral("indirizzo del destinatario non valido");
    const QFileInfo file(percorso);
    if (!file.exists())
        return QStringLiteral("documento non trovato");
    if (!file.isFile() || !file.isReadable())
        return illeggibile;
    return {};
}

QString conteggio(int n, const char* uno, const char* molti)
{
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? uno : molti));
}

QString messaggioConclusivo(const QList<VoceElencoMail>& voci, const QString& cartella, const QString& erroreElenco)
{
    int inviati = 0;
    const VoceElencoMail* primoMancato = nullptr;
    for (const VoceElencoMail& v : voci) {
        if (v.esito == inviato)
            ++inviati;
        else if (!primoMancato)
            primoMancato = &v;
    }
    const int mancati = int(voci.size()) - inviati;
    QString testo;
    if (mancati == 0)
        testo = QStringLiteral("Invio terminato: %1.").arg(conteggio(inviati, "documento inviato", "documenti inviati"));
    else if (inviati == 0)
        testo = QStringLiteral("Invio non riuscito: %1.").arg(conteggio(mancati, "documento non inviato", "documenti non inviati"));
    else
        testo = QStringLiteral("Invio terminato: %1, %2.")
                    .arg(conteggio(inviati, "documento inviato", "documenti inviati"),
                         conteggio(mancati, "non inviato", "non inviati"));
    if (primoMancato)
        testo += QStringLiteral("\nPrimo documento non inviato: %1 (%2).")
                     .arg(QFileInfo(primoMancato->percorso).fileName(),
                          primoMancato->esito.mid(nonInviato({}).size()));
    if (!erroreElenco.isEmpty())
        testo += QLatin1Char('\n') + AvvisoElencoNonScritto(cartella, erroreElenco);
    return testo;
}

} // namespace

EsitoSpedizione EseguiSpedizione(const RichiestaPosta& r, CanaleSmtp& canale,
                                 const AvanzamentoSpedizione& avanzamento)
{
    const TabellaInvio& t = r.tabella;
    const int totale = int(t.percorsi.size());
    QList<VoceElencoMail> voci;
    int decisi = 0;
    const auto decidi = [&](int colonna, const QString& esito) {
        voci[colonna].quando = QDateTime::currentDateTime();
        voci[colonna].esito = esito;
        avanzamento(++decisi, totale, colonna, RigaElencoMail(voci[colonna]));
    };

    const QString account = difettoAccount(r);
    QList<DocumentoDaInviare> pronti;
    for (int k = 0; k < totale; ++k) {
        voci.append({{}, r.Mittente.trimmed(), t.destinatari[k].trimmed(), {}, t.percorsi[k]});
        const QString difetto = difettoDocumento(t.percorsi[k], t.destinatari[k]);
        if (!difetto.isEmpty() || !account.isEmpty())
            decidi(k, nonInviato(difetto.isEmpty() ? account : difetto));
        else
            pronti.append({k, t.destinatari[k], QFileInfo(t.percorsi[k]).size()});
    }

    QString guastoServer; // once the server or the account fails, nothing else is tried
    for (const MessaggioDaInviare& m : RaggruppaMessaggi(pronti, limiteAllegati)) {
        BustaPosta busta{r.Mittente.trimmed(), m.destinatario, r.OggettoMail, TestoConRitorniCarrello(r.TestoMail), {}};
        QList<int> allegate;
        for (const int k : m.colonne) {
            QFile file(t.percorsi[k]);
            if (!guastoServer.isEmpty()) {
                decidi(k, nonInviato(guastoServer));
            } else if (!file.open(QIODevice::ReadOnly)) {
                decidi(k, nonInviato(illeggibile));
            } else {
                busta.allegati.append({QFileInfo(file).fileName(), file.readAll()});
                if (file.error() != QFileDevice::NoError) {
                    busta.allegati.removeLast();
                    decidi(k, nonInviato(illeggibile));
                } else {
                    allegate.append(k);
                }
            }
        }
        if (!allegate.isEmpty()) {
            const EsitoBusta esito = canale.Invia(busta);
            if (esito.perTutti)
                guastoServer = esito.causa;
            for (const int k : allegate)
                decidi(k, esito.inviata ? inviato : nonInviato(esito.causa));
        }
    }

    if (voci.isEmpty())
        return {false, QStringLiteral("Nessun documento da inviare.")};
    QStringList righe;
    for (const VoceElencoMail& v : voci)
        righe.append(RigaElencoMail(v));
    const EsitoElencoMail elenco = ScriviElencoMail(r.CartellaProgramma, righe);
    bool tutti = elenco.errore.isEmpty();
    for (const VoceElencoMail& v : voci)
        tutti = tutti && v.esito == inviato;
    return {tutti, messaggioConclusivo(voci, r.CartellaProgramma, elenco.errore)};
}
