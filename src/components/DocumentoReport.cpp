#include "components/DocumentoReport.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <array>

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

// Where a line may break after this character: blanks, and the marks that
// split addresses and file names (not dots, which would leave "it" or "pdf"
// alone on a line).
bool PuntoDiRottura(QChar c)
{
    return c.isSpace() || c == QLatin1Char('@') || c == QLatin1Char('-')
        || c == QLatin1Char('_') || c == QLatin1Char('/') || c == QLatin1Char(',') || c == QLatin1Char(';');
}

} // namespace

// Widths of texts in one font, quickly: the advances of the first 256
// characters are kept, and a text made of them only is measured by adding
// them up. Kerning only ever brings letters closer, so the sum never makes a
// text look narrower than it prints.
class DocumentoReport::Misura
{
public:
    explicit Misura(const QFont& carattere) : misure_(carattere)
    {
        for (int c = 0; c < 256; ++c)
            avanzamenti_[c] = misure_.horizontalAdvance(QChar(c));
    }

    const QFontMetricsF& Metriche() const { return misure_; }

    double Larghezza(QStringView testo) const
    {
        double larghezza = 0;
        for (const QChar c : testo) {
            if (c.unicode() >= 256)
                return misure_.horizontalAdvance(testo.toString());
            larghezza += avanzamenti_[c.unicode()];
        }
        return larghezza;
    }

    // How many characters from the start of `testo` fit in `larghezza`.
    qsizetype QuantiStanno(QStringView testo, double larghezza) const
    {
        qsizetype basso = 0, alto = testo.size();
        while (basso < alto) {
            const qsizetype medio = (basso + alto + 1) / 2;
            if (Larghezza(testo.left(medio)) <= larghezza)
                basso = medio;
            else
                alto = medio - 1;
        }
        return basso;
    }

private:
    QFontMetricsF misure_;
    std::array<double, 256> avanzamenti_{};
};

namespace {

// `testo` cut into lines no wider than `larghezza`, at most `massimo`; the
// last one ends in "…" when the text goes on.
QStringList Linee(const QString& testo, const DocumentoReport::Misura& misura, double larghezza, int massimo)
{
    if (misura.Larghezza(testo) <= larghezza && !testo.contains(QLatin1Char('\n')))
        return {testo};
    QStringList linee;
    QString resto = testo.simplified();
    while (!resto.isEmpty()) {
        if (linee.size() == massimo - 1) {
            linee.append(misura.Metriche().elidedText(resto, Qt::ElideRight, larghezza));
            break;
        }
        const qsizetype basso = misura.QuantiStanno(resto, larghezza);
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
      caratteriTitolo_(Carattere(layout.carattere + 4, true)), misura_(std::make_unique<Misura>(carattere_)),
      misuraGrassetto_(std::make_unique<Misura>(grassetto_)), misuraTitolo_(std::make_unique<Misura>(caratteriTitolo_))
{
    riga_ = misura_->Metriche().lineSpacing();
    titolo_ = SostituisciSegnaposti(layout_.titolo, [this](const QString& nome) { return Parametro(nome, 0); });
    Impagina();
}

DocumentoReport::~DocumentoReport() = default;

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
    const double margineCella = riga_ * 0.3;
    lineeTitolo_ = Linee(titolo_, *misuraTitolo_, Mm(layout_.LarghezzaUtile()), righeTitoloMassime);
    for (const auto& colonna : layout_.colonne)
        intestazioni_.append({misuraGrassetto_->Metriche().elidedText(colonna.intestazione, Qt::ElideRight,
                                                                      Mm(colonna.larghezza) - 2 * margineCella)});

    // Dates, types and outcomes repeat from row to row: each text is cut
    // into lines once per column.
    std::vector<QHash<QString, QStringList>> giaTagliati(layout_.colonne.size());
    righe_.reserve(dati_.righe.size());
    for (const QStringList& celle : std::as_const(dati_.righe)) {
        Riga riga;
        int linee = 1;
        for (qsizetype c = 0; c < celle.size(); ++c) {
            auto trovato = giaTagliati[c].constFind(celle[c]);
            if (trovato == giaTagliati[c].cend()) {
                const auto& colonna = layout_.colonne[c];
                trovato = giaTagliati[c].insert(celle[c], Linee(celle[c], *misura_, Mm(colonna.larghezza) - 2 * margineCella,
                                                                colonna.righeMassime));
            }
            riga.linee.append(*trovato);
            linee = qMax(linee, int(trovato->size()));
        }
        riga.altezza = linee * riga_ + margineCella;
        righe_.append(riga);
    }

    const double altezzaTitolo = (lineeTitolo_.size() + 0.5) * misuraTitolo_->Metriche().lineSpacing();
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

void DocumentoReport::Scrivi(QPainter& p, const Misura& misura, const QRectF& area, const QString& testo,
                             bool aDestra) const
{
    const QFontMetricsF& m = misura.Metriche();
    const double x = aDestra ? area.right() - misura.Larghezza(testo) : area.left();
    p.drawText(QPointF(x, area.top() + (area.height() - m.ascent() - m.descent()) / 2 + m.ascent()), testo);
}

void DocumentoReport::DisegnaCelle(QPainter& p, const Misura& misura, double y, double altezzaLinea,
                                   const QList<QStringList>& linee) const
{
    double x = Mm(layout_.margineSinistro) + riga_ * 0.3;
    for (qsizetype c = 0; c < layout_.colonne.size(); ++c) {
        const double w = Mm(layout_.colonne[c].larghezza);
        for (qsizetype l = 0; l < linee[c].size(); ++l)
            Scrivi(p, misura, QRectF(x, y + l * altezzaLinea, w, altezzaLinea), linee[c][l]);
        x += w;
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
    // Title.
    p.setPen(Qt::black);
    p.setFont(caratteriTitolo_);
    const double rigaTitolo = misuraTitolo_->Metriche().lineSpacing();
    double y = Mm(layout_.margineAlto);
    for (const QString& linea : lineeTitolo_) {
        Scrivi(p, *misuraTitolo_, QRectF(sinistra, y, larghezza, rigaTitolo), linea);
        y += rigaTitolo;
    }
    y += rigaTitolo / 2;

    // Column headers.
    p.setFont(grassetto_);
    DisegnaCelle(p, *misuraGrassetto_, y, 1.5 * riga_, intestazioni_);
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
            const double spazioBanda = larghezza - 2 * margineCella;
            Scrivi(p, *misuraGrassetto_, QRectF(sinistra + margineCella, y + 0.2 * riga_, spazioBanda, 1.2 * riga_),
                   misuraGrassetto_->Metriche().elidedText(banda, Qt::ElideRight, spazioBanda));
            y += 1.5 * riga_;
        }
        const Riga& riga = righe_[i];
        if (i % 2)
            p.fillRect(QRectF(sinistra, y, larghezza, riga.altezza), grigioRiga);
        p.setPen(Qt::black);
        p.setFont(carattere_);
        DisegnaCelle(p, *misura_, y + margineCella / 2, riga_, riga.linee);
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
    Scrivi(p, *misura_, areaPiede, piede(layout_.piedeSinistra));
    Scrivi(p, *misura_, areaPiede, piede(layout_.piedeDestra), true);
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
    // Written aside and put in place only when whole: a full disk leaves no
    // half PDF, and an older file of that name stays as it was.
    QSaveFile file(percorso);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QPdfWriter pdf(&file);
    pdf.setTitle(titoloDocumento);
    pdf.setCreator(QStringLiteral("ClientVelmira"));
    pdf.setResolution(600);
    if (!DisegnaPagine(pdf, pdf.resolution(), 0, NumeroPagine() - 1))
        return false;
    return file.commit();
}
