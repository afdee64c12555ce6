#include "mail/RegistraInvii.h"

#include "archive/Archivio.h"
#include "archive/Connessione.h"
#include "archive/Recordset.h"
#include "common/CartellaProgramma.h"
#include "settings/Impostazioni.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace {

const QString separatore = QStringLiteral(" - ");

QString TrovaElenco()
{
    const QFileInfoList file = QDir(CartellaProgramma()).entryInfoList(QDir::Files, QDir::Unsorted);
    for (const QFileInfo& info : file)
        if (info.fileName().contains(QLatin1String("ElencoMail"), Qt::CaseSensitive))
            return info.filePath();
    return {};
}

// The file-name part of a path written with either separator.
QString NomeFile(const QString& percorso)
{
    return percorso.mid(qMax(percorso.lastIndexOf(QLatin1Char('/')), percorso.lastIndexOf(QLatin1Char('\\'))) + 1);
}

ErroreArchivio RegistraRiga(Recordset& tabella, const QStringList& campi)
{
    // A path may itself hold " - ": everything from the fifth field on is the path.
    const QString percorso = campi.mid(4).join(separatore);
    tabella.AddNew();
    for (const auto& [nome, valore] : {std::pair{QStringLiteral("Stampa"), NomeFile(percorso)},
                                       std::pair{QStringLiteral("dtinvio"), campi.at(0)},
                                       std::pair{QStringLiteral("EmailDest"), campi.at(2)},
                                       std::pair{QStringLiteral("Esito"), campi.at(3)}}) {
        const ErroreArchivio errore = tabella.ImpostaValore(nome, valore);
        if (errore.presente()) {
            tabella.CancelUpdate();
            return errore;
        }
    }
    return tabella.Update();
}

// Stores the lines; returns those not stored.
QStringList Registra(const QStringList& righe, EsitoRegistrazione& esito)
{
    Connessione connessione;
    ErroreArchivio errore = connessione.Apri(StringaConnessione(Modulo::strDatabase, u";"));
    Recordset tabella;
    // One transaction for the whole list: a thousand rows in one write.
    if (!errore.presente())
        errore = connessione.IniziaTransazione();
    if (!errore.presente())
        errore = tabella.ApriTabella(connessione, QStringLiteral("EmailInviate"));
    if (errore.presente()) {
        esito.errore = errore.testo();
        return righe;
    }
    QStringList rimaste;
    for (const QString& riga : righe) {
        const QStringList campi = riga.split(separatore);
        if (campi.size() < 5) {
            ++esito.incomplete;
            rimaste.append(riga);
            continue;
        }
        const ErroreArchivio erroreRiga = RegistraRiga(tabella, campi);
        if (erroreRiga.presente()) {
            if (esito.errore.isEmpty())
                esito.errore = erroreRiga.testo();
            ++esito.rifiutate;
            rimaste.append(riga);
        } else {
            ++esito.registrate;
        }
    }
    tabella.Chiudi();
    errore = connessione.Conferma();
    if (errore.presente()) {
        connessione.Annulla();
        const QString file = esito.file;
        esito = EsitoRegistrazione();
        esito.file = file;
        esito.errore = errore.testo();
        return righe;
    }
    return rimaste;
}

} // namespace

EsitoRegistrazione RegistraInvii()
{
    EsitoRegistrazione esito;
    esito.file = TrovaElenco();
    if (esito.file.isEmpty())
        return esito;
    QFile file(esito.file);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        esito.errore = file.errorString();
        esito.conservato = true;
        return esito;
    }
    QStringList righe;
    for (const QString& riga : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n')))
        if (!riga.trimmed().isEmpty())
            righe.append(riga.endsWith(QLatin1Char('\r')) ? riga.chopped(1) : riga);
    file.close();

    const QStringList rimaste = Registra(righe, esito);
    if (rimaste.isEmpty()) {
        if (!QFile::remove(esito.file)) {
            // Stored but still there: a later run would store it twice.
            esito.errore = QStringLiteral("il file non può essere eliminato");
            esito.conservato = true;
        }
        return esito;
    }
    esito.conservato = true;
    if (rimaste.size() == righe.size())
        return esito;
    QSaveFile riscritto(esito.file);
    if (riscritto.open(QIODevice::WriteOnly)) {
        riscritto.write((rimaste.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
        if (riscritto.commit())
            return esito;
    }
    // The whole list stays as it was: better twice in the archive than lost.
    esito.errore = QStringLiteral("le righe registrate non possono essere tolte dal file (%1)")
                       .arg(riscritto.errorString());
    return esito;
}

QString NotaRegistrazione(const EsitoRegistrazione& esito)
{
    if (!esito.conservato)
        return {};
    QStringList nota;
    if (esito.incomplete > 0)
        nota.append(QStringLiteral("Righe incomplete nell'elenco degli invii, non registrate: %1.")
                        .arg(esito.incomplete));
    if (esito.rifiutate > 0)
        nota.append(QStringLiteral("Righe non accettate dall'archivio: %1.").arg(esito.rifiutate));
    if (!esito.errore.isEmpty())
        nota.append(QStringLiteral("Registrazione degli invii non riuscita: %1.").arg(esito.errore));
    nota.append(QStringLiteral("L'elenco degli invii %1 è stato conservato e sarà letto di nuovo "
                               "al prossimo invio.")
                    .arg(QDir::toNativeSeparators(esito.file)));
    return nota.join(QLatin1Char('\n'));
}
