#include "components/DocumentoReport.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace {

constexpr double unitaPerMm = DocumentoReport::UnitaPerPollice / 25.4;
constexpr int righeTitoloMassime = 3;
const QColor grigioBanda(225, 230, 238);
const QColor grigioRiga(244, 246, 249);
const QColor grigioLinea(120, 120, 120);

QFont Carattere(double punti, bool grassetto)
{
    QFont carattere;
    carattere.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                           QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")});
    carattere.setPixelSize(qRound(punti * DocumentoReport::UnitaPerPollice / 72));
    carattere.setBold(grassetto);
    // Measured once and painted at any scale: hinting would make the two differ.
    carattere.setHintingPreference(QFont::PreferNoHinting);
    return carattere;
}

// Where a line may break after this character (blanks, and the marks that
// split addresses and file names).
bool PuntoDiRottura(QChar c)
{
    return c.isSpace() || c == QLatin1Char('@') || c == QLatin1Char('.') || c == QLatin1Char('-')
        || c == QLatin1Char('_') || c == QLatin1Char('/') || c == QLatin1Char(',') || c == QLatin1Char(';');
}

// `testo` cut into lines no wider than `larghezza`, at most `massimo`; the
// last one ends in "…" when the text goes on.
QStringList Linee(const QString& testo, const QFontMetricsF& misure, double larghezza, int massimo)
{
    if (misure.horizontalAdvance(testo) <= larghezza && !testo.contains(QLatin1Char('\n')))
        return {testo};
    QStringList linee;
    QString resto = testo.simplified();
    while (!resto.isEmpty()) {
        if (linee.size() == massimo - 1) {
            linee.append(misure.elidedText(resto, Qt::ElideRight, larghezza));
            break;
        }
        // The longest beginning that fits.
        qsizetype basso = 0, alto = resto.size();
        while (basso < alto) {
            const qsizetype medio = (basso + alto + 1) / 2;
            if (misure.horizontalAdvance(resto.left(medio)) <= larghezza)
                basso = medio;
            else
                alto = medio - 1;
        }
        if (basso == resto.size()) {
            linee.append(resto);
            break;
        }
        qsizetype taglio = basso;
        while (taglio > 0 && !PuntoDiRottura(resto[taglio - 1]) && !resto[taglio].isSpace())
            --taglio;
        if (taglio == 0)
            taglio = qMax<qsizetype>(basso, 1);
        linee.append(resto.left(taglio).trimmed());
        resto = resto.mid(taglio).trimmed();
    }
    return linee;
}

double Mm(double millimetri)
{
    return millimetri * unitaPerMm;
}

} // namespace

DocumentoReport::DocumentoReport(const LayoutReport& layout, DatiReport dati,
                                 const QHash<QString, QString>& parametri, const QDateTime& stampato)
    : layout_(layout), dati_(std::move(dati)), parametri_(parametri), stampato_(stampato),
      carattere_(Carattere(layout.carattere, false)), grassetto_(Carattere(layout.carattere, true)),
      caratteriTitolo_(Carattere(layout.carattere + 4, true))
{
    riga_ = QFontMetricsF(carattere_).lineSpacing();
    titolo_ = SostituisciSegnaposti(layout_.titolo, [this](const QString& nome) { return Parametro(nome, 0); });
    Impagina();
}

QSizeF DocumentoReport::DimensionePagina() const
{
    return {Mm(layout_.larghezzaPagina), Mm(layout_.altezzaPagina)};
}

QString DocumentoReport::Parametro(const QString& nome, int pagina) const
{
    const QString chiave = nome.toUpper();
    if (chiave == QLatin1String("PAGINA"))
        return QString::number(pagina + 1);
    if (chiave == QLatin1String("PAGINE"))
        return QString::number(pagine_.size());
    if (chiave == QLatin1String("DATA"))
        return stampato_.toString(QStringLiteral("dd/MM/yyyy HH:mm"));
    return parametri_.value(chiave);
}

bool DocumentoReport::BandaGruppo(qsizetype riga, qsizetype primaDellaPagina) const
{
    return !layout_.campoGruppo.isEmpty()
        && (riga == primaDellaPagina || dati_.gruppi[riga] != dati_.gruppi[riga - 1]);
}

void DocumentoReport::Impagina()
{
    const QFontMetricsF misure(carattere_);
    const double margineCella = riga_ * 0.3;
    lineeTitolo_ = Linee(titolo_, QFontMetricsF(caratteriTitolo_), Mm(layout_.LarghezzaUtile()),
                         righeTitoloMassime);
    const QFontMetricsF misureGrassetto(grassetto_);
    for (const auto& colonna : layout_.colonne)
        intestazioni_.append(misureGrassetto.elidedText(colonna.intestazione, Qt::ElideRight,
                                                        Mm(colonna.larghezza) - 2 * margineCella));

    righe_.reserve(dati_.righe.size());
    for (const QStringList& celle : std::as_const(dati_.righe)) {
        Riga riga;
        int linee = 1;
        for (qsizetype c = 0; c < celle.size(); ++c) {
            const auto& colonna = layout_.colonne[c];
            riga.linee.append(Linee(celle[c], misure, Mm(colonna.larghezza) - 2 * margineCella,
                                    colonna.righeMassime));
            linee = qMax(linee, int(riga.linee.last().size()));
        }
        riga.altezza = linee * riga_ + margineCella;
        righe_.append(riga);
    }

    const double altezzaTitolo = (lineeTitolo_.size() + 0.5) * QFontMetricsF(caratteriTitolo_).lineSpacing();
    const double corpo = Mm(layout_.AltezzaUtile()) - altezzaTitolo - 1.5 * riga_ /* headers */
        - 2 * riga_ /* footer */;
    qsizetype i = 0;
    while (i < righe_.size()) {
        pagine_.append(i);
        const qsizetype prima = i;
        double y = 0;
        while (i < righe_.size()) {
            const double altezza = righe_[i].altezza + (BandaGruppo(i, prima) ? 1.5 * riga_ : 0);
            // A row taller than a page still gets a page of its own.
            if (i > prima && y + altezza > corpo)
                break;
            y += altezza;
            ++i;
        }
    }
}

void DocumentoReport::DisegnaPagina(QPainter& p, int pagina) const
{
    if (pagina < 0 || pagina >= pagine_.size())
        return;
    const double margineCella = riga_ * 0.3;
    const double sinistra = Mm(layout_.margineSinistro);
    const double larghezza = Mm(layout_.LarghezzaUtile());
    const double fondo = Mm(layout_.altezzaPagina - layout_.margineBasso);
    const auto testo = [&](const QRectF& area, const QString& t, int allineamento = Qt::AlignLeft) {
        p.drawText(area, allineamento | Qt::AlignVCenter | Qt::TextSingleLine, t);
    };
    const auto celle = [&](double y, double altezza, const auto& testoColonna) {
        double x = sinistra;
        for (qsizetype c = 0; c < layout_.colonne.size(); ++c) {
            const double w = Mm(layout_.colonne[c].larghezza);
            const QStringList linee = testoColonna(c);
            for (qsizetype l = 0; l < linee.size(); ++l)
                testo(QRectF(x + margineCella, y + margineCella / 2 + l * riga_, w - 2 * margineCella,
                             qMin(riga_, altezza)),
                      linee[l]);
            x += w;
        }
    };

    // Title.
    p.setPen(Qt::black);
    p.setFont(caratteriTitolo_);
    const double rigaTitolo = QFontMetricsF(caratteriTitolo_).lineSpacing();
    double y = Mm(layout_.margineAlto);
    for (const QString& linea : lineeTitolo_) {
        testo(QRectF(sinistra, y, larghezza, rigaTitolo), linea);
        y += rigaTitolo;
    }
    y += rigaTitolo / 2;

    // Column headers.
    p.setFont(grassetto_);
    celle(y, 1.5 * riga_, [this](qsizetype c) { return QStringList{intestazioni_[c]}; });
    y += 1.5 * riga_;
    p.setPen(QPen(grigioLinea, 0));
    p.drawLine(QPointF(sinistra, y), QPointF(sinistra + larghezza, y));

    // Rows.
    const qsizetype prima = pagine_[pagina];
    const qsizetype dopo = pagina + 1 < pagine_.size() ? pagine_[pagina + 1] : righe_.size();
    for (qsizetype i = prima; i < dopo; ++i) {
        if (BandaGruppo(i, prima)) {
            p.fillRect(QRectF(sinistra, y + 0.2 * riga_, larghezza, 1.2 * riga_), grigioBanda);
            p.setPen(Qt::black);
            p.setFont(grassetto_);
            QString banda = SostituisciSegnaposti(layout_.testoGruppo, [&](const QString& nome) {
                return nome.compare(layout_.campoGruppo, Qt::CaseInsensitive) == 0 ? dati_.gruppi[i]
                                                                                   : Parametro(nome, pagina);
            });
            if (i > 0 && dati_.gruppi[i] == dati_.gruppi[i - 1])
                banda += QStringLiteral(" (segue)");
            testo(QRectF(sinistra + margineCella, y + 0.2 * riga_, larghezza - 2 * margineCella, 1.2 * riga_),
                  QFontMetricsF(grassetto_).elidedText(banda, Qt::ElideRight, larghezza - 2 * margineCella));
            y += 1.5 * riga_;
        }
        const Riga& riga = righe_[i];
        if (i % 2)
            p.fillRect(QRectF(sinistra, y, larghezza, riga.altezza), grigioRiga);
        p.setPen(Qt::black);
        p.setFont(carattere_);
        celle(y, riga.altezza, [&riga](qsizetype c) { return riga.linee[c]; });
        y += riga.altezza;
    }

    // Footer.
    p.setPen(QPen(grigioLinea, 0));
    p.drawLine(QPointF(sinistra, fondo - 1.5 * riga_), QPointF(sinistra + larghezza, fondo - 1.5 * riga_));
    p.setPen(Qt::black);
    p.setFont(carattere_);
    const auto piede = [&](const QString& t) {
        return SostituisciSegnaposti(t, [&](const QString& nome) { return Parametro(nome, pagina); });
    };
    const QRectF areaPiede(sinistra, fondo - riga_, larghezza, riga_);
    testo(areaPiede, piede(layout_.piedeSinistra));
    testo(areaPiede, piede(layout_.piedeDestra), Qt::AlignRight);
}

bool DocumentoReport::DisegnaPagine(QPagedPaintDevice& dispositivo, int risoluzione, int prima, int ultima) const
{
    dispositivo.setPageLayout(QPageLayout(QPageSize(QSizeF(layout_.larghezzaPagina, layout_.altezzaPagina),
                                                    QPageSize::Millimeter),
                                          QPageLayout::Portrait, QMarginsF()));
    QPainter pittore;
    if (!pittore.begin(&dispositivo))
        return false;
    pittore.setRenderHint(QPainter::TextAntialiasing);
    const double scala = risoluzione / UnitaPerPollice;
    for (int pagina = prima; pagina <= ultima; ++pagina) {
        if (pagina > prima)
            dispositivo.newPage();
        pittore.save();
        pittore.scale(scala, scala);
        DisegnaPagina(pittore, pagina);
        pittore.restore();
    }
    return pittore.end();
}

bool DocumentoReport::Stampa(QPrinter& stampante) const
{
    stampante.setFullPage(true);
    int prima = 0, ultima = NumeroPagine() - 1;
    if (stampante.printRange() == QPrinter::PageRange && stampante.fromPage() > 0) {
        prima = qMax(prima, stampante.fromPage() - 1);
        ultima = qMin(ultima, stampante.toPage() - 1);
    }
    return prima <= ultima && DisegnaPagine(stampante, stampante.resolution(), prima, ultima);
}

bool DocumentoReport::EsportaPdf(const QString& percorso, const QString& titoloDocumento) const
{
    QPdfWriter pdf(percorso);
    pdf.setTitle(titoloDocumento);
    pdf.setCreator(QStringLiteral("ClientVelmira"));
    pdf.setResolution(600);
    return DisegnaPagine(pdf, pdf.resolution(), 0, NumeroPagine() - 1);
}
