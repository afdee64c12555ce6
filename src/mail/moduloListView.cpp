#include "mail/moduloListView.h"

#include "archive/Recordset.h"
#include "archive/TipiAdo.h"
#include "common/Testo.h"

#include <QFontMetricsF>
#include <QHash>
#include <QHeaderView>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {

constexpr double twipPerPollice = 1440.0;
constexpr int margineTwip = 200;

enum class Allineamento { Sinistra, Destra };

// Numbers and dates to the right, texts to the left; nothing for bytes.
std::optional<Allineamento> AllineamentoDi(TipoDatoAdo tipo)
{
    switch (tipo) {
    case TipoDatoAdo::Intero:
    case TipoDatoAdo::Doppio:
    case TipoDatoAdo::Data:
        return Allineamento::Destra;
    case TipoDatoAdo::Testo:
    case TipoDatoAdo::TestoLungo:
        return Allineamento::Sinistra;
    case TipoDatoAdo::BinarioLungo:
        break;
    }
    return std::nullopt;
}

double DpiLogici(const QTreeWidget* lista)
{
    return lista->logicalDpiX() > 0 ? lista->logicalDpiX() : 96.0;
}

void ImpostaLarghezza(QTreeWidget* lista, int colonna, int twip)
{
    lista->headerItem()->setData(colonna, Qt::UserRole, twip);
    lista->setColumnWidth(colonna, int(std::lround(twip * DpiLogici(lista) / twipPerPollice)));
}

} // namespace

void MostraRecordset(Recordset& recordset, QTreeWidget* lista)
{
    RiempiListView(lista, recordset, 0);
    AdattaColonne(lista, true);
}

void RiempiListView(QTreeWidget* lista, Recordset& recordset, int limite)
{
    lista->clear();
    lista->setColumnCount(0);

    QStringList intestazioni;
    QList<int> larghezze;
    QList<Qt::Alignment> allineamenti;
    for (int campo = 0; campo < recordset.NumeroCampi(); ++campo) {
        const TipoDatoAdo tipo = TipoAdo(recordset, campo);
        const auto allineamento = AllineamentoDi(tipo);
        if (!allineamento)
            continue;
        const qint64 larghezza = tipo == TipoDatoAdo::TestoLungo ? 20000 : qint64(DimensioneDefinita(recordset, campo)) * 200;
        if (larghezza > std::numeric_limits<int>::max())
            continue; // too wide to reckon: the field is left out, as a failed step
        const bool destra = !intestazioni.isEmpty() && *allineamento == Allineamento::Destra;
        intestazioni.append(recordset.NomeCampo(campo));
        larghezze.append(int(larghezza));
        allineamenti.append((destra ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    if (intestazioni.isEmpty())
        return;
    lista->setColumnCount(int(intestazioni.size()));
    lista->setHeaderLabels(intestazioni);
    for (int colonna = 0; colonna < intestazioni.size(); ++colonna) {
        lista->headerItem()->setTextAlignment(colonna, allineamenti.at(colonna));
        ImpostaLarghezza(lista, colonna, larghezze.at(colonna));
    }

    // Each column shows the field of its own name.
    QList<int> campi;
    for (const QString& intestazione : std::as_const(intestazioni))
        campi.append(recordset.IndiceCampo(intestazione));
    if (recordset.MoveFirst().presente())
        return;
    QList<QTreeWidgetItem*> righe;
    while (!recordset.FineFile()) {
        QStringList testi;
        testi.reserve(campi.size());
        for (const int campo : std::as_const(campi))
            testi.append(TestoDelCampo(recordset.Valore(campo), QStringLiteral("dd/MM/yyyy HH:mm:ss")));
        auto* riga = new QTreeWidgetItem(testi);
        for (int colonna = 1; colonna < allineamenti.size(); ++colonna)
            riga->setTextAlignment(colonna, allineamenti.at(colonna));
        righe.append(riga);
        if (righe.size() == limite || recordset.MoveNext().presente())
            break;
    }
    lista->addTopLevelItems(righe);
}

void AdattaColonne(QTreeWidget* lista, bool intestazioni)
{
    const int righe = lista->topLevelItemCount();
    if (righe == 0)
        return;
    const QFontMetricsF metrica(lista->font(), lista);
    const double twipPerPunto = twipPerPollice / DpiLogici(lista);
    // Shaping every text of a long list takes long. The sum of a text's
    // character advances is quick and, as kerning only draws letters closer,
    // not less than its shaped width; so the texts are measured in full from
    // the longest sum down, until the next sum cannot beat the widest text
    // measured by more than a dot.
    QHash<QChar, qreal> avanzamenti;
    const auto stima = [&](const QString& testo) {
        qreal somma = 0;
        for (const QChar carattere : testo) {
            auto trovato = avanzamenti.constFind(carattere);
            if (trovato == avanzamenti.cend())
                trovato = avanzamenti.insert(carattere, metrica.horizontalAdvance(carattere));
            somma += *trovato;
        }
        return somma;
    };
    for (int colonna = 0; colonna < lista->columnCount(); ++colonna) {
        QHash<QString, qreal> stime;
        if (intestazioni)
            stime.insert(lista->headerItem()->text(colonna), 0);
        for (int riga = 0; riga < righe; ++riga)
            stime.insert(lista->topLevelItem(riga)->text(colonna), 0);
        QList<std::pair<qreal, QString>> candidati;
        candidati.reserve(stime.size());
        for (auto it = stime.cbegin(); it != stime.cend(); ++it)
            candidati.append({stima(it.key()), it.key()});
        std::sort(candidati.begin(), candidati.end(),
                  [](const auto& a, const auto& b) { return a.first > b.first; });
        qreal larghezza = 0;
        for (const auto& [somma, testo] : std::as_const(candidati)) {
            if (somma <= larghezza + 1)
                break;
            larghezza = std::max(larghezza, metrica.horizontalAdvance(testo));
        }
        ImpostaLarghezza(lista, colonna, int(std::ceil(larghezza * twipPerPunto)) + margineTwip);
    }
}

int LarghezzaTwip(const QTreeWidget* lista, int colonna)
{
    return lista->headerItem()->data(colonna, Qt::UserRole).toInt();
}
