#include "mail/RicevutaPec.h"

#include "mail/MessaggioMime.h"

#include <QXmlStreamReader>

namespace {

void segna(QString* difetto, const QString& testo)
{
    if (difetto)
        *difetto = testo;
}

// The data of a daticert.xml: the text of each element it knows, by name.
void leggiElemento(QXmlStreamReader& xml, DatiCert& d, QString& giorno, QString& ora)
{
    const QStringView nome = xml.name();
    const auto testo = [&] { return xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed(); };
    if (nome == u"mittente")
        d.mittente = testo();
    else if (nome == u"destinatari")
        d.destinatari.append(testo());
    else if (nome == u"oggetto")
        d.oggetto = testo();
    else if (nome == u"gestore-emittente")
        d.gestore = testo();
    else if (nome == u"giorno")
        giorno = testo();
    else if (nome == u"ora")
        ora = testo();
    else if (nome == u"identificativo")
        d.identificativo = testo();
    else if (nome == u"msgid")
        d.msgid = MessageIdNormale(testo());
    else if (nome == u"consegna")
        d.consegna = testo();
    else if (nome == u"errore-esteso")
        d.erroreEsteso = testo();
}

// A part called daticert.xml anywhere in the tree of parts, decoded.
std::optional<QByteArray> trovaDatiCert(const QByteArray& parte, int profondita)
{
    if (profondita > 8)
        return std::nullopt;
    const ParteMime p = DividiParte(parte);
    const QByteArray tipo = ValoreIntestazione(p.intestazioni, "Content-Type").value_or(QByteArray());
    if (tipo.trimmed().toLower().startsWith("multipart/")) {
        for (const QByteArray& figlia : PartiMultiparte(p.corpo, ParametroIntestazione(tipo, "boundary")))
            if (auto trovato = trovaDatiCert(figlia, profondita + 1))
                return trovato;
        return std::nullopt;
    }
    const QByteArray disposizione = ValoreIntestazione(p.intestazioni, "Content-Disposition").value_or(QByteArray());
    for (const QByteArray& nome : {ParametroIntestazione(tipo, "name"), ParametroIntestazione(disposizione, "filename")})
        if (nome.compare("daticert.xml", Qt::CaseInsensitive) == 0)
            return DecodificaCorpo(p.corpo, ValoreIntestazione(p.intestazioni, "Content-Transfer-Encoding").value_or(""));
    return std::nullopt;
}

} // namespace

QString MessageIdNormale(const QString& testo)
{
    // Whatever blanks a header's folding left inside, the same as the XML's.
    QString id = testo.simplified();
    if (id.isEmpty())
        return id;
    if (!id.startsWith(QLatin1Char('<')))
        id.prepend(QLatin1Char('<'));
    if (!id.endsWith(QLatin1Char('>')))
        id.append(QLatin1Char('>'));
    return id;
}

std::optional<IntestazioniRicevuta> LeggiIntestazioniRicevuta(const QByteArray& intestazioni)
{
    const auto tipo = ValoreIntestazione(intestazioni, "X-Ricevuta");
    const auto riferimento = ValoreIntestazione(intestazioni, "X-Riferimento-Message-ID");
    if (!tipo || !riferimento || tipo->isEmpty() || riferimento->isEmpty())
        return std::nullopt;
    // One line each, whatever control characters the sender put in.
    const auto testo = [](const QByteArray& valore) { return QString::fromUtf8(valore).simplified(); };
    return IntestazioniRicevuta{testo(*tipo).toLower(), MessageIdNormale(testo(*riferimento)),
                                MessageIdNormale(testo(ValoreIntestazione(intestazioni, "Message-ID").value_or("")))};
}

std::optional<DatiCert> LeggiDatiCert(const QByteArray& testo, QString* difetto)
{
    QXmlStreamReader xml(testo);
    DatiCert d;
    QString giorno, ora;
    bool radice = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (!radice) {
            if (xml.name() != u"postacert") {
                segna(difetto, QStringLiteral("daticert.xml non inizia con postacert"));
                return std::nullopt;
            }
            radice = true;
            d.tipo = xml.attributes().value(QLatin1String("tipo")).toString().simplified().toLower();
            d.errore = xml.attributes().value(QLatin1String("errore")).toString().trimmed();
            continue;
        }
        leggiElemento(xml, d, giorno, ora);
    }
    if (xml.hasError()) {
        segna(difetto, QStringLiteral("daticert.xml non leggibile (riga %1)").arg(xml.lineNumber()));
        return std::nullopt;
    }
    d.data = QDateTime(QDate::fromString(giorno, QStringLiteral("dd/MM/yyyy")), QTime::fromString(ora, QStringLiteral("HH:mm:ss")));
    if (!radice || d.tipo.isEmpty() || d.msgid.isEmpty() || !d.data.isValid()) {
        segna(difetto, QStringLiteral("daticert.xml senza tipo, data o msgid"));
        return std::nullopt;
    }
    return d;
}

std::optional<MessaggioRicevuta> LeggiMessaggioRicevuta(const QByteArray& messaggio, QString* difetto)
{
    const ParteMime m = DividiParte(messaggio);
    MessaggioRicevuta r;
    if (const auto intestazioni = LeggiIntestazioniRicevuta(m.intestazioni))
        r.intestazioni = *intestazioni;
    else {
        segna(difetto, QStringLiteral("non è una ricevuta"));
        return std::nullopt;
    }
    const QByteArray tipo = ValoreIntestazione(m.intestazioni, "Content-Type").value_or(QByteArray());
    QByteArray contenuto = messaggio;
    if (tipo.trimmed().toLower().startsWith("multipart/signed")) {
        const QList<QByteArray> parti = PartiMultiparte(m.corpo, ParametroIntestazione(tipo, "boundary"));
        if (parti.size() == 2) {
            const ParteMime firma = DividiParte(parti[1]);
            r.parteFirmata = parti[0];
            r.firma = DecodificaCorpo(firma.corpo, ValoreIntestazione(firma.intestazioni, "Content-Transfer-Encoding").value_or(""));
            contenuto = parti[0];
        }
    }
    const auto xml = trovaDatiCert(contenuto, 0);
    if (!xml) {
        segna(difetto, QStringLiteral("daticert.xml mancante"));
        return std::nullopt;
    }
    const auto dati = LeggiDatiCert(*xml, difetto);
    if (!dati)
        return std::nullopt;
    if (dati->tipo != r.intestazioni.tipo || dati->msgid != r.intestazioni.riferimento) {
        segna(difetto, QStringLiteral("daticert.xml non corrisponde alle intestazioni"));
        return std::nullopt;
    }
    r.dati = *dati;
    return r;
}

int PesoRicevuta(const QString& tipo)
{
    if (tipo == u"accettazione" || tipo == u"non-accettazione")
        return 1;
    if (tipo == u"preavviso-errore-consegna")
        return 2;
    if (tipo == u"avvenuta-consegna" || tipo == u"errore-consegna" || tipo == u"rilevazione-virus")
        return 3;
    return 0;
}

std::optional<EffettoRicevuta> EffettoDi(const DatiCert& d)
{
    const int peso = PesoRicevuta(d.tipo);
    if (peso == 0)
        return std::nullopt;
    QString motivo = d.erroreEsteso;
    if (motivo.isEmpty() && d.errore.compare(u"nessuno", Qt::CaseInsensitive) != 0)
        motivo = d.errore;
    const auto conMotivo = [&](const char* testo) {
        return QString::fromUtf8(testo) + (motivo.isEmpty() ? QString() : QStringLiteral(": ") + motivo);
    };
    if (d.tipo == u"accettazione")
        return EffettoRicevuta{QStringLiteral("accettato"), peso, {}, {}};
    if (d.tipo == u"non-accettazione")
        return EffettoRicevuta{QStringLiteral("non accettato"), peso, {}, motivo};
    if (d.tipo == u"avvenuta-consegna")
        return EffettoRicevuta{QStringLiteral("consegnato"), peso, d.consegna, {}};
    if (d.tipo == u"preavviso-errore-consegna")
        return EffettoRicevuta{QStringLiteral("non consegnato"), peso, d.consegna, conMotivo("preavviso di mancata consegna")};
    if (d.tipo == u"rilevazione-virus")
        return EffettoRicevuta{QStringLiteral("non consegnato"), peso, d.consegna, conMotivo("virus rilevato")};
    return EffettoRicevuta{QStringLiteral("non consegnato"), peso, d.consegna, motivo};
}
