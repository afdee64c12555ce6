#include "mail/StatoInvii.h"

#include "archive/Connessione.h"
#include "components/CampiDerivati.h"
#include "mail/RicevutaPec.h"

#include <QHash>
#include <QSqlDatabase>

#include <functional>

namespace {

struct Ricevuta
{
    QString destinatario;
    QString tipo;
    QString stato;
    QDateTime quando;
    QString motivo;
    QString verifica;
};

// The engines hand a date with its time as a date or as its stored text.
QDateTime dataOra(const QVariant& valore)
{
    if (valore.typeId() == QMetaType::QDateTime)
        return valore.toDateTime();
    return QDateTime::fromString(valore.toString().left(19).replace(QLatin1Char('T'), QLatin1Char(' ')),
                                 QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// Runs `istruzione` with `valori` and hands each row to `riga`.
Errore perOgniRiga(Connessione& c, const QString& istruzione, const QVariantList& valori,
                   const std::function<void(const Comando&)>& riga)
{
    const auto leggi = c.Prepara(istruzione);
    if (!leggi)
        return leggi.errore();
    if (const Errore errore = (*leggi)->Esegui(valori); errore.presente())
        return errore;
    Risultato<bool> letta = (*leggi)->Successiva();
    for (; letta && *letta; letta = (*leggi)->Successiva())
        riga(**leggi);
    return letta.errore();
}

Risultato<QHash<QString, QList<Ricevuta>>> leggiRicevute(Connessione& c)
{
    QHash<QString, QList<Ricevuta>> ricevute;
    const Errore errore = perOgniRiga(
        c, QStringLiteral("select MessageID, Destinatario, Tipo, Stato, Quando, Motivo, Verifica from RicevutePosta"), {},
        [&ricevute](const Comando& r) {
            ricevute[r.Valore(0).toString()].append({r.Valore(1).toString(), r.Valore(2).toString(), r.Valore(3).toString(),
                                                     dataOra(r.Valore(4)), r.Valore(5).toString(), r.Valore(6).toString()});
        });
    if (errore.presente())
        return errore;
    return ricevute;
}

// The strongest genuine receipt, the latest at equal weight; a forged one
// only where no genuine one came.
void applica(StatoInvio& s, const QList<Ricevuta>& ricevute)
{
    const Ricevuta* scelta = nullptr;
    const Ricevuta* falsa = nullptr;
    for (const Ricevuta& r : ricevute) {
        if (!r.destinatario.isEmpty() && r.destinatario.compare(s.destinatario, Qt::CaseInsensitive) != 0)
            continue;
        if (r.verifica == QLatin1String("non valida")) {
            if (!falsa || r.quando > falsa->quando)
                falsa = &r;
            continue;
        }
        const int peso = PesoRicevuta(r.tipo);
        if (!scelta || peso > PesoRicevuta(scelta->tipo) || (peso == PesoRicevuta(scelta->tipo) && r.quando >= scelta->quando))
            scelta = &r;
    }
    if (!scelta)
        scelta = falsa;
    if (!scelta)
        return;
    s.stato = scelta->stato;
    s.quando = scelta->quando;
    s.motivo = scelta->motivo;
    s.verificato = scelta->verifica != QLatin1String("non verificata");
}

QString chiaveInvio(const QString& stampa, const QString& destinatario, const QDateTime& inviato)
{
    return stampa.toLower() + QLatin1Char('\n') + destinatario.toLower() + QLatin1Char('\n')
        + inviato.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace

Risultato<QList<StatoInvio>> StatiInvii(Connessione& c, const QString& stampa)
{
    const QStringList tabelle = c.Database().tables();
    if (!tabelle.contains(QStringLiteral("ProveInvio"), Qt::CaseInsensitive)
        || !tabelle.contains(QStringLiteral("RicevutePosta"), Qt::CaseInsensitive))
        return QList<StatoInvio>();
    const Risultato<QHash<QString, QList<Ricevuta>>> ricevute = leggiRicevute(c);
    if (!ricevute)
        return ricevute.errore();
    QList<StatoInvio> stati;
    const Errore errore = perOgniRiga(
        c,
        QStringLiteral("select Stampa, EmailDest, MessageID, dtinvio from ProveInvio%1 order by dtinvio, Stampa, EmailDest")
            .arg(stampa.isEmpty() ? QString() : QStringLiteral(" where Stampa = ?")),
        stampa.isEmpty() ? QVariantList() : QVariantList{stampa},
        [&](const Comando& prova) {
            StatoInvio s;
            s.stampa = prova.Valore(0).toString();
            s.destinatario = prova.Valore(1).toString();
            s.messageId = prova.Valore(2).toString();
            s.inviato = s.quando = dataOra(prova.Valore(3));
            applica(s, ricevute->value(s.messageId));
            stati.append(s);
        });
    if (errore.presente())
        return errore;
    return stati;
}

QString RigaStato(const StatoInvio& s)
{
    QString motivo = s.motivo;
    if (!s.verificato)
        motivo += (motivo.isEmpty() ? QString() : QStringLiteral("; ")) + QStringLiteral("ricevuta non verificata");
    QStringList campi{s.stampa, s.destinatario, s.messageId, s.stato, s.quando.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")),
                      motivo};
    // A tabulation or a line break inside a field would shift the others.
    for (QString& campo : campi)
        campo = campo.simplified();
    return campi.join(QLatin1Char('\t'));
}

QString TestoStato(const StatoInvio& s)
{
    QString testo = s.stato + QStringLiteral(" il ") + s.quando.toString(QStringLiteral("dd/MM/yyyy HH:mm"));
    if (!s.motivo.isEmpty())
        testo += QStringLiteral(": ") + s.motivo;
    if (!s.verificato)
        testo += QStringLiteral(" (ricevuta non verificata)");
    return testo;
}

void RegistraStatoConsegna()
{
    RegistraCampoDerivato(QStringLiteral("StatoConsegna"), [](const QString& stringaConnessione) -> Risultato<CampoDerivato> {
        Connessione c;
        if (const Errore errore = c.Apri(stringaConnessione); errore.presente())
            return errore;
        const Risultato<QList<StatoInvio>> stati = StatiInvii(c);
        if (!stati)
            return stati.errore();
        QHash<QString, QString> testi;
        for (const StatoInvio& s : *stati)
            testi.insert(chiaveInvio(s.stampa, s.destinatario, s.inviato), TestoStato(s));
        return CampoDerivato([testi](const ValoreRiga& riga) {
            return testi.value(chiaveInvio(riga(QStringLiteral("Stampa")).toString(), riga(QStringLiteral("EmailDest")).toString(),
                                           dataOra(riga(QStringLiteral("dtInvio")))));
        });
    });
}
