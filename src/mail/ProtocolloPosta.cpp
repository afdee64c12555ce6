#include "mail/ProtocolloPosta.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QByteArray riga(const QJsonObject& oggetto)
{
    return QJsonDocument(oggetto).toJson(QJsonDocument::Compact) + '\n';
}

QJsonArray arrayDiTesti(const QStringList& testi)
{
    return QJsonArray::fromStringList(testi);
}

std::optional<QStringList> testiDiArray(const QJsonValue& valore)
{
    if (!valore.isArray())
        return std::nullopt;
    QStringList testi;
    for (const QJsonValue& v : valore.toArray()) {
        if (!v.isString())
            return std::nullopt;
        testi.append(v.toString());
    }
    return testi;
}

} // namespace

QByteArray CodificaRichiesta(const RichiestaPosta& r)
{
    return QJsonDocument(QJsonObject{
                             {"Mittente", r.Mittente},
                             {"TestoMail", r.TestoMail},
                             {"OggettoMail", r.OggettoMail},
                             {"PasswordSmtp", r.PasswordSmtp},
                             {"PortaSmtp", r.PortaSmtp},
                             {"ServerSmtp", r.ServerSmtp},
                             {"Utente", r.Utente},
                             {"CertificatoCA", r.CertificatoCA},
                             {"CartellaProgramma", r.CartellaProgramma},
                             {"CartellaPDF", r.CartellaPDF},
                             {"AttesaServer", r.AttesaServer},
                             {"percorsi", arrayDiTesti(r.tabella.percorsi)},
                             {"destinatari", arrayDiTesti(r.tabella.destinatari)},
                         })
        .toJson(QJsonDocument::Compact);
}

std::optional<RichiestaPosta> DecodificaRichiesta(const QByteArray& testo)
{
    const QJsonObject o = QJsonDocument::fromJson(testo).object();
    const auto percorsi = testiDiArray(o.value("percorsi"));
    const auto destinatari = testiDiArray(o.value("destinatari"));
    if (!percorsi || !destinatari || percorsi->size() != destinatari->size() || !o.value("PortaSmtp").isDouble())
        return std::nullopt;
    RichiestaPosta r;
    r.Mittente = o.value("Mittente").toString();
    r.TestoMail = o.value("TestoMail").toString();
    r.OggettoMail = o.value("OggettoMail").toString();
    r.PasswordSmtp = o.value("PasswordSmtp").toString();
    r.PortaSmtp = o.value("PortaSmtp").toInt();
    r.ServerSmtp = o.value("ServerSmtp").toString();
    r.Utente = o.value("Utente").toString();
    r.CertificatoCA = o.value("CertificatoCA").toString();
    r.CartellaProgramma = o.value("CartellaProgramma").toString();
    r.CartellaPDF = o.value("CartellaPDF").toString();
    r.AttesaServer = qBound(1, o.value("AttesaServer").toInt(attesaServerPredefinita), attesaServerPredefinita);
    r.tabella = {*percorsi, *destinatari};
    return r;
}

QByteArray RigaAvanzamento(int fatti, int totale, int colonna, const QString& elenco)
{
    return riga({{"fatti", fatti}, {"totale", totale}, {"colonna", colonna}, {"elenco", elenco}});
}

QByteArray RigaFine(bool esito, const QString& messaggio, bool elencoScritto)
{
    return riga({{"esito", esito}, {"messaggio", messaggio}, {"elencoScritto", elencoScritto}});
}

std::optional<RigaUscitaPosta> LeggiRigaUscitaPosta(const QByteArray& testo)
{
    const QJsonObject o = QJsonDocument::fromJson(testo).object();
    if (o.value("esito").isBool())
        return RigaUscitaPosta{true, 0, 0, 0, {}, o.value("esito").toBool(), o.value("messaggio").toString(),
                               o.value("elencoScritto").toBool(true)};
    if (o.value("fatti").isDouble() && o.value("totale").isDouble() && o.value("colonna").isDouble())
        return RigaUscitaPosta{false, o.value("fatti").toInt(), o.value("totale").toInt(), o.value("colonna").toInt(),
                         o.value("elenco").toString(), false, {}, true};
    return std::nullopt;
}
