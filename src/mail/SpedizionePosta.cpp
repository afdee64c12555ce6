#include "mail/SpedizionePosta.h"

#include "common/CartellaProgramma.h"
#include "import/ElencoCartella.h"
#include "mail/ComposizionePosta.h"
#include "mail/ElencoMail.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const QString inviato = QStringLiteral("Inviato");
const QString illeggibile = QStringLiteral("documento illeggibile");

const QString prefissoNonInviato = QStringLiteral("Non inviato: ");
const QString prefissoIgnoto = QStringLiteral("Esito non noto: ");

QString nonInviato(const QString& causa)
{
    return prefissoNonInviato + causa;
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

// A document as the dispatch takes it: why it cannot go, or its size and,
// once read, its bytes.
struct Documento
{
    QString causa;
    qint64 dimensione = 0;
    QByteArray dati;
};

Documento rifiutato(const QString& causa)
{
    return {causa, 0, {}};
}

// Only a document of the documents' folder is mailed, by the same rule as
// the import: a link that leads out of the folder (to ~/.pgpass, say), a
// device, a FIFO or a folder is never attached. The file is opened without
// following a link at the last step and checked once open, so that a file
// swapped in after the check is never read.
Documento apriDocumento(const QString& percorso, const QString& cartellaPdf, bool leggi)
{
    const QFileInfo info(percorso);
    QString cartella = cartellaPdf, nome = info.fileName();
    if (cartella.isEmpty())
        cartella = info.path();
    else if (const QString prefisso = UnisciPercorso(cartella, {}); percorso.startsWith(prefisso))
        nome = percorso.mid(prefisso.size());
    else
        nome.clear();
    QString file;
    const TipoVoce tipo = nome.isEmpty() || nome.contains(QLatin1Char('/')) || nome.contains(QLatin1Char('\\'))
        ? TipoVoce::Esterno
        : TipoNellaCartella(cartella, QFile::encodeName(nome), &file);
    switch (tipo) {
    case TipoVoce::Mancante:
        return rifiutato(QStringLiteral("documento non trovato"));
    case TipoVoce::Esterno:
        return rifiutato(QStringLiteral("il documento non è un file della cartella dei documenti"));
    case TipoVoce::Altro:
        return rifiutato(QStringLiteral("il documento non è un file (cartella, dispositivo o FIFO)"));
    case TipoVoce::Documento:
        break;
    }
    QFile documento;
#ifdef Q_OS_UNIX
    const int descrittore = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    struct stat stato {};
    if (descrittore < 0 || ::fstat(descrittore, &stato) != 0 || !S_ISREG(stato.st_mode)) {
        if (descrittore >= 0)
            ::close(descrittore);
        return rifiutato(descrittore < 0 && errno != ELOOP ? illeggibile : QStringLiteral("il documento è cambiato durante l'invio"));
    }
    if (!documento.open(descrittore, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descrittore);
        return rifiutato(illeggibile);
    }
#else
    documento.setFileName(file);
    if (!documento.open(QIODevice::ReadOnly))
        return rifiutato(illeggibile);
#endif
    Documento letto{{}, documento.size(), {}};
    if (leggi) {
        letto.dati = documento.readAll();
        if (documento.error() != QFileDevice::NoError)
            return rifiutato(illeggibile);
    }
    return letto;
}

// Why this document cannot go, before any server is asked.
QString difettoDocumento(const QString& percorso, const QString& destinatario)
{
    if (destinatario.trimmed().isEmpty())
        return QStringLiteral("destinatario mancante");
    if (!IndirizzoValido(destinatario))
        return QStringLiteral("indirizzo del destinatario non valido");
    if (ConCaratteriDiControllo(percorso))
        return QStringLiteral("nome del documento con caratteri di controllo");
    return {};
}

QString conteggio(int n, const char* uno, const char* molti)
{
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? uno : molti));
}

QString messaggioConclusivo(const QList<VoceElencoMail>& voci, const QString& cartella, const Errore& erroreElenco)
{
    int inviati = 0, ignoti = 0;
    const VoceElencoMail* primoMancato = nullptr;
    for (const VoceElencoMail& v : voci) {
        if (v.esito == inviato)
            ++inviati;
        else if (v.esito.startsWith(prefissoIgnoto))
            ++ignoti;
        else if (!primoMancato)
            primoMancato = &v;
    }
    const int mancati = int(voci.size()) - inviati - ignoti;
    QStringList parti;
    if (inviati > 0 || mancati == 0)
        parti.append(conteggio(inviati, "documento inviato", "documenti inviati"));
    if (mancati > 0)
        parti.append(conteggio(mancati, inviati ? "non inviato" : "documento non inviato",
                               inviati ? "non inviati" : "documenti non inviati"));
    if (ignoti > 0)
        parti.append(conteggio(ignoti, "con esito non noto (il server non ha confermato la ricezione)",
                               "con esito non noto (il server non ha confermato la ricezione)"));
    QString testo = (inviati == 0 && mancati > 0 ? QStringLiteral("Invio non riuscito: ") : QStringLiteral("Invio terminato: "))
        + parti.join(QStringLiteral(", ")) + QLatin1Char('.');
    if (primoMancato)
        testo += QStringLiteral("\nPrimo documento non inviato: %1 (%2).")
                     .arg(QFileInfo(primoMancato->percorso).fileName(),
                          primoMancato->esito.mid(prefissoNonInviato.size()));
    if (erroreElenco.presente())
        testo += QLatin1Char('\n') + AvvisoElencoNonScritto(cartella, erroreElenco);
    return testo;
}

} // namespace

EsitoSpedizione EseguiSpedizione(const RichiestaPosta& r, CanaleSmtp& canale, const Orologio& adesso,
                                 const AvanzamentoSpedizione& avanzamento)
{
    const TabellaInvio& t = r.tabella;
    const int totale = int(t.percorsi.size());
    QList<VoceElencoMail> voci;
    int decisi = 0;
    const auto decidi = [&](int colonna, const QString& esito) {
        voci[colonna].quando = adesso();
        voci[colonna].esito = esito;
        avanzamento(++decisi, totale, colonna, RigaElencoMail(voci[colonna]));
    };

    const QString account = difettoAccount(r);
    QList<DocumentoDaInviare> pronti;
    for (int k = 0; k < totale; ++k) {
        voci.append({{}, r.Mittente.trimmed(), t.destinatari[k].trimmed(), {}, t.percorsi[k]});
        QString difetto = difettoDocumento(t.percorsi[k], t.destinatari[k]);
        const Documento documento = difetto.isEmpty() ? apriDocumento(t.percorsi[k], r.CartellaPDF, false) : Documento{};
        if (difetto.isEmpty())
            difetto = documento.causa;
        if (!difetto.isEmpty() || !account.isEmpty())
            decidi(k, nonInviato(difetto.isEmpty() ? account : difetto));
        else
            pronti.append({k, t.destinatari[k], documento.dimensione});
    }

    QString guastoServer; // once the server or the account fails, nothing else is tried
    for (const MessaggioDaInviare& m : RaggruppaMessaggi(pronti, limiteAllegati)) {
        BustaPosta busta{adesso(), NuovoMessageId(r.Mittente), r.Mittente.trimmed(), m.destinatario,
                         r.OggettoMail, TestoConRitorniCarrello(r.TestoMail), {}};
        QList<int> allegate;
        for (const int k : m.colonne) {
            if (!guastoServer.isEmpty()) {
                decidi(k, nonInviato(guastoServer));
                continue;
            }
            Documento documento = apriDocumento(t.percorsi[k], r.CartellaPDF, true);
            if (!documento.causa.isEmpty()) {
                decidi(k, nonInviato(documento.causa));
            } else {
                busta.allegati.append({QFileInfo(t.percorsi[k]).fileName(), std::move(documento.dati)});
                allegate.append(k);
            }
        }
        if (!allegate.isEmpty()) {
            const EsitoBusta esito = canale.Invia(busta);
            if (esito.perTutti)
                guastoServer = esito.ignoto ? QStringLiteral("il server non risponde") : esito.causa;
            for (const int k : allegate) {
                // A message whose fate is unknown may still be delivered: its receipts will say.
                if (esito.inviata || esito.ignoto) {
                    voci[k].messageId = busta.messageId;
                    voci[k].risposta = esito.risposta;
                }
                decidi(k, esito.inviata ? inviato : (esito.ignoto ? prefissoIgnoto : prefissoNonInviato) + esito.causa);
            }
        }
    }

    if (voci.isEmpty())
        return {false, QStringLiteral("Nessun documento da inviare."), true};
    QStringList righe;
    for (const VoceElencoMail& v : voci)
        righe.append(RigaElencoMail(v));
    const Risultato<QString> elenco = ScriviElencoMail(r.CartellaProgramma, righe, adesso());
    bool tutti = bool(elenco);
    for (const VoceElencoMail& v : voci)
        tutti = tutti && v.esito == inviato;
    return {tutti, messaggioConclusivo(voci, r.CartellaProgramma, elenco.errore()), bool(elenco)};
}
