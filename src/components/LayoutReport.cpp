#include "components/LayoutReport.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <array>

namespace {

// A report file is a few lines long; anything far larger is not one.
constexpr qint64 dimensioneMassima = 256 * 1024;
const QString firma = QStringLiteral("velmira-report 1");

struct FormatoCarta
{
    const char* nome;
    double larghezza;
    double altezza;
};
constexpr FormatoCarta formati[] = {{"A4", 210, 297}, {"A3", 297, 420}, {"A5", 148, 210},
                                    {"Letter", 215.9, 279.4}, {"Legal", 215.9, 355.6}};

std::optional<double> numero(const QString& testo, double minimo, double massimo)
{
    bool ok = false;
    const double valore = testo.trimmed().toDouble(&ok);
    // Written so that "nan", which toDouble takes, fails too.
    if (!ok || !(valore >= minimo && valore <= massimo))
        return std::nullopt;
    return valore;
}

// Why a line or the whole layout cannot be used, in a few words that the
// message naming the file and the line completes.
Errore rifiuto(const QString& motivo)
{
    return {CodiceErrore::Report, motivo};
}

class Lettore
{
public:
    explicit Lettore(LayoutReport& layout) : l_(layout) {}

    // The reason a line is refused; none when it is taken.
    Errore Leggi(const QString& chiave, const QString& valore)
    {
        const QStringList parti = valore.split(QLatin1Char('|'));
        QStringList campi;
        for (const QString& parte : parti)
            campi.append(parte.trimmed());
        if (chiave == QLatin1String("pagina"))
            return Pagina(campi.value(0).split(QLatin1Char(' '), Qt::SkipEmptyParts));
        if (chiave == QLatin1String("margini"))
            return Margini(campi.value(0).split(QLatin1Char(' '), Qt::SkipEmptyParts));
        if (chiave == QLatin1String("carattere")) {
            const auto punti = numero(campi.value(0), 4, 36);
            if (!punti)
                return rifiuto(QStringLiteral("dimensione del carattere non valida (da 4 a 36 punti)"));
            l_.carattere = *punti;
        } else if (chiave == QLatin1String("dati")) {
            const QStringList nomi = campi.value(0).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (nomi.size() != 2)
                return rifiuto(QStringLiteral("attesi il nome del data set e l'alias del database"));
            l_.dataset = nomi[0];
            l_.alias = nomi[1];
        } else if (chiave == QLatin1String("titolo")) {
            l_.titolo = valore.trimmed();
        } else if (chiave == QLatin1String("gruppo")) {
            if (campi.size() != 2 || campi[0].isEmpty())
                return rifiuto(QStringLiteral("attesi il campo del gruppo e il suo testo"));
            l_.campoGruppo = campi[0];
            l_.testoGruppo = campi[1];
        } else if (chiave == QLatin1String("colonna")) {
            return Colonna(campi);
        } else if (chiave == QLatin1String("piede")) {
            if (campi.size() > 2)
                return rifiuto(QStringLiteral("il piede ha al massimo un testo a sinistra e uno a destra"));
            l_.piedeSinistra = campi.value(0);
            l_.piedeDestra = campi.value(1);
        } else {
            return rifiuto(QStringLiteral("voce sconosciuta \"") + chiave + QLatin1Char('"'));
        }
        return {};
    }

private:
    Errore Pagina(const QStringList& parole)
    {
        if (parole.size() != 2)
            return rifiuto(QStringLiteral("attesi il formato della carta e l'orientamento"));
        for (const auto& formato : formati) {
            if (parole[0].compare(QLatin1String(formato.nome), Qt::CaseInsensitive) != 0)
                continue;
            if (parole[1] == QLatin1String("verticale")) {
                l_.larghezzaPagina = formato.larghezza;
                l_.altezzaPagina = formato.altezza;
            } else if (parole[1] == QLatin1String("orizzontale")) {
                l_.larghezzaPagina = formato.altezza;
                l_.altezzaPagina = formato.larghezza;
            } else {
                return rifiuto(QStringLiteral("orientamento sconosciuto (verticale o orizzontale)"));
            }
            return {};
        }
        return rifiuto(QStringLiteral("formato della carta sconosciuto (A3, A4, A5, Letter, Legal)"));
    }

    Errore Margini(const QStringList& parole)
    {
        std::array<double, 4> margini{};
        for (int i = 0; i < 4; ++i) {
            const auto valore = numero(parole.value(i), 0, 100);
            if (parole.size() != 4 || !valore)
                return rifiuto(QStringLiteral("attesi quattro margini da 0 a 100 mm"));
            margini[i] = *valore;
        }
        l_.margineSinistro = margini[0];
        l_.margineAlto = margini[1];
        l_.margineDestro = margini[2];
        l_.margineBasso = margini[3];
        return {};
    }

    Errore Colonna(const QStringList& campi)
    {
        if (campi.size() != 4 || campi[0].isEmpty())
            return rifiuto(QStringLiteral("attesi campo | intestazione | larghezza | righe"));
        const auto larghezza = numero(campi[2], 1, 1000);
        const auto righe = numero(campi[3], 1, 10);
        if (!larghezza || !righe || *righe != int(*righe))
            return rifiuto(QStringLiteral("larghezza (mm) o numero di righe (da 1 a 10) non valido"));
        l_.colonne.append({campi[0], campi[1], *larghezza, int(*righe)});
        return {};
    }

    LayoutReport& l_;
};

Errore Controlla(const LayoutReport& l)
{
    if (l.larghezzaPagina <= 0)
        return rifiuto(QStringLiteral("manca la voce \"pagina\""));
    if (l.dataset.isEmpty())
        return rifiuto(QStringLiteral("manca la voce \"dati\""));
    if (l.colonne.isEmpty())
        return rifiuto(QStringLiteral("nessuna colonna"));
    // A third of the page at least is left for the rows themselves.
    if (l.LarghezzaUtile() <= 0 || l.AltezzaUtile() < l.altezzaPagina / 3)
        return rifiuto(QStringLiteral("i margini non lasciano spazio alla pagina"));
    double totale = 0;
    for (const auto& colonna : l.colonne)
        totale += colonna.larghezza;
    if (totale > l.LarghezzaUtile() + 0.01)
        return rifiuto(QStringLiteral("le colonne (%1 mm) superano la larghezza utile della pagina (%2 mm)")
                           .arg(totale)
                           .arg(l.LarghezzaUtile()));
    return {};
}

} // namespace

Risultato<LayoutReport> LeggiLayoutReport(const QString& percorso)
{
    const auto errore = [&percorso](const QString& perche) {
        return Errore{CodiceErrore::Report, QStringLiteral("Il file del report ") + percorso + perche};
    };
    QFile file(percorso);
    if (!file.exists())
        return errore(QStringLiteral(" non esiste."));
    if (!file.open(QIODevice::ReadOnly) || file.size() > dimensioneMassima)
        return errore(QStringLiteral(" non si può leggere."));
    const QByteArray byte = file.readAll();
    QStringDecoder decodifica(QStringDecoder::Utf8);
    const QString testo = decodifica(byte);
    const auto danneggiato = [&](int riga, const QString& motivo) {
        return errore(QStringLiteral(" è danneggiato (riga ") + QString::number(riga) + QStringLiteral("): ") + motivo
                      + QLatin1Char('.'));
    };
    if (decodifica.hasError() || byte.contains('\0'))
        return danneggiato(0, QStringLiteral("non è un file di testo"));

    LayoutReport layout;
    Lettore lettore(layout);
    bool firmato = false;
    int numeroRiga = 0;
    for (const QString& riga : testo.split(QLatin1Char('\n'))) {
        ++numeroRiga;
        const QString pulita = riga.trimmed();
        if (pulita.isEmpty() || pulita.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype dueP = pulita.indexOf(QLatin1Char(':'));
        if (dueP <= 0)
            return danneggiato(numeroRiga, QStringLiteral("attesa una riga \"voce: valore\""));
        const QString chiave = pulita.left(dueP).trimmed();
        const QString valore = pulita.mid(dueP + 1);
        if (!firmato) {
            if (chiave != QLatin1String("formato") || valore.trimmed() != firma)
                return danneggiato(numeroRiga, QStringLiteral("manca \"formato: ") + firma + QLatin1Char('"'));
            firmato = true;
            continue;
        }
        if (const Errore motivo = lettore.Leggi(chiave, valore); motivo.presente())
            return danneggiato(numeroRiga, motivo.descrizione);
    }
    if (!firmato)
        return danneggiato(numeroRiga, QStringLiteral("file vuoto"));
    if (const Errore motivo = Controlla(layout); motivo.presente())
        return danneggiato(numeroRiga, motivo.descrizione);
    return layout;
}

QString SostituisciSegnaposti(const QString& testo, const std::function<QString(const QString&)>& valore)
{
    static const QRegularExpression segnaposto(QStringLiteral("\\{([A-Za-z_][A-Za-z0-9_]*)\\}"));
    QString risultato;
    qsizetype da = 0;
    for (auto it = segnaposto.globalMatch(testo); it.hasNext();) {
        const auto trovato = it.next();
        risultato += QStringView(testo).mid(da, trovato.capturedStart() - da);
        risultato += valore(trovato.captured(1));
        da = trovato.capturedEnd();
    }
    risultato += QStringView(testo).mid(da);
    return risultato;
}
